#pragma once

namespace kelvane {

class COrvaneDoc;
class DocumentView;

// The clipboard commands of a document window. They work on the document's selection and on
// the application's one clipboard sound (App().clipboardWave), never on the system clipboard.
// Each change builds a new sound and installs it with ReplaceWave, so Undo takes it back in one
// step. The progress window is the document's first view's; `view` is the window that ran the
// command, rebuilt afterwards (null: the first view). All return whether they did their work;
// a failure has already shown message 1003 and left the document as it was.

// Whether Paste and Mix have something to add.
[[nodiscard]] bool ClipboardHasData();

bool EditCopy(COrvaneDoc& doc);
// Stops after a failed Copy: what could not be kept is not deleted.
bool EditCut(COrvaneDoc& doc, DocumentView* view = nullptr);
// Replaces the selection by the clipboard sound (inserts it when nothing is selected) and
// selects the pasted frames.
bool EditPaste(COrvaneDoc& doc, DocumentView* view = nullptr);
bool EditDelete(COrvaneDoc& doc, DocumentView* view = nullptr);
// Keeps only the selection.
bool EditTrim(COrvaneDoc& doc, DocumentView* view = nullptr);
// Adds the clipboard sound from the selection start, clamped to 16 bits, lengthening the sound
// when it reaches past the end.
bool EditMix(COrvaneDoc& doc, DocumentView* view = nullptr);

}  // namespace kelvane
