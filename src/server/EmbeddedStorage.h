#pragma once

class QIODevice;

namespace kelvane {

class COrvaneDoc;

// The document's storage inside a container: its sound as a Wave file image.
bool StoreEmbedded(COrvaneDoc& doc, QIODevice& stream);
// Replaces the sound (and drops undo and redo) with the image read from `stream`.
bool LoadEmbedded(COrvaneDoc& doc, QIODevice& stream);

}  // namespace kelvane
