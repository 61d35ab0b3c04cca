#include "document/ProcessCommands.h"

#include <QDialog>
#include <QWidget>

#include "document/OrvaneDoc.h"
#include "processing/CenterSignals.h"
#include "processing/Fade.h"
#include "processing/Mute.h"
#include "processing/Normalize.h"
#include "processing/Pan.h"
#include "processing/Reverse.h"
#include "processing/SwapChannels.h"
#include "processing/dialogs/ChangePitchDlg.h"
#include "processing/dialogs/ChorusDlg.h"
#include "processing/dialogs/CompressExpandDlg.h"
#include "processing/dialogs/EchoDlg.h"
#include "processing/dialogs/SilenceDlg.h"
#include "processing/dialogs/VolumeDlg.h"
#include "processing/dialogs/WaveFormatDlg.h"
#include "resources/Strings.h"
#include "ui/DialogHost.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kProcessingText = 103;
constexpr std::uint32_t kConvertingText = 165;

// A process's new sound; none when it failed or was cancelled.
struct Outcome {
    std::unique_ptr<WaveObject> wave;
    bool cancelled = false;
};

// The progress window of the document's first view around `process` on the current sound.
Outcome RunWithProgress(COrvaneDoc& doc, std::uint32_t textId, const ProcessFn& process) {
    DocumentView* view = doc.GetView();
    if (view) {
        view->BeginProgress();
        view->SetProgressText(LoadString(textId));
    }
    ProgressIndicator* progress = view ? view->Progress() : nullptr;
    Outcome outcome{process(*doc.m_pWave, progress)};
    // What a cancelled process made is unfinished: it goes, and the sound stays as it was.
    outcome.cancelled = progress && progress->Cancelled();
    if (outcome.cancelled) outcome.wave.reset();
    if (view) view->EndProgress();
    return outcome;
}

// The new sound in place of the old one, with the selection `select` when given; message 1003
// and nothing changed when there is no new sound, nothing at all after Cancel.
bool TakeResult(COrvaneDoc& doc, Outcome outcome, const FrameRange* select) {
    if (outcome.cancelled) return false;
    std::unique_ptr<WaveObject> result = std::move(outcome.wave);
    if (!result) {
        MessageBox(1003);
        return false;
    }
    doc.ReplaceWave(std::move(result));
    doc.SetModifiedFlag(true);
    if (select) doc.SetSelection(select->start, select->length);
    doc.UpdateAllViews(HINT_WAVE_CHANGED);
    return true;
}

// Dialogs open over the window of the document's view.
QWidget* DialogParent(const COrvaneDoc& doc) {
    auto* view = dynamic_cast<QWidget*>(doc.GetView());
    return view ? view->window() : nullptr;
}

bool Accepted(QDialog& dialog) {
    return RunModal(dialog) == QDialog::Accepted;
}

bool IsStereo(const COrvaneDoc& doc) {
    return doc.m_pWave->format && doc.m_pWave->format->channels > 1;
}

// A command over the selection that leaves the selection as it was.
template <typename Effect>
void RunRange(COrvaneDoc& doc, const Effect& effect) {
    const std::uint32_t start = doc.m_nSelStart;
    const std::uint32_t length = doc.m_nSelLength;
    ApplyProcess(doc, kProcessingText, [&](const WaveObject& wave, ProgressIndicator* progress) {
        return effect.Process(wave, start, length, progress);
    });
}

// A command over the selection that selects afterwards: what Process leaves in the selection
// it is given (insert silence, change pitch, compress/expand), or the selection it takes by
// value (chorus), clamped to the new sound.
template <typename Effect>
void RunSelecting(COrvaneDoc& doc, const Effect& effect) {
    ApplySelectingProcess(
        doc, kProcessingText,
        [&](const WaveObject& wave, FrameRange& selection, ProgressIndicator* progress) {
            return effect.Process(wave, selection.start, selection.length, progress);
        });
}

template <typename Dialog>
void RunRangeDialog(COrvaneDoc& doc, Dialog& dialog) {
    if (Accepted(dialog)) RunRange(doc, dialog.Effect());
}

template <typename Dialog>
void RunSelectingDialog(COrvaneDoc& doc, Dialog& dialog) {
    if (Accepted(dialog)) RunSelecting(doc, dialog.Effect());
}

void OnConvertFormat(COrvaneDoc& doc) {
    CWaveFormatDlg dialog({}, DialogParent(doc));
    if (!Accepted(dialog)) return;
    auto result = RunWithProgress(doc, kConvertingText,
                                  [&](const WaveObject& wave, ProgressIndicator* progress) {
                                      return dialog.Effect().Process(wave, progress);
                                  });
    // The selection goes back to the start whether or not the conversion worked.
    if (result.cancelled) return;
    doc.ClearSelection();
    doc.UpdateAllViews(HINT_SELECTION);
    TakeResult(doc, std::move(result), nullptr);
}

struct ProcessCommand {
    std::uint32_t id;
    void (*run)(COrvaneDoc& doc);
};

constexpr ProcessCommand kProcessCommands[] = {
    {32810,
     [](COrvaneDoc& d) {
         CVolumeDlg dialog(IsStereo(d), {}, DialogParent(d));
         RunRangeDialog(d, dialog);
     }},
    {32813, [](COrvaneDoc& d) { RunRange(d, FadeEffect(FadeKind::In)); }},
    {32812, [](COrvaneDoc& d) { RunRange(d, FadeEffect(FadeKind::Out)); }},
    {32816, [](COrvaneDoc& d) { RunRange(d, PanEffect(PanKind::LeftToRight)); }},
    {32815, [](COrvaneDoc& d) { RunRange(d, PanEffect(PanKind::RightToLeft)); }},
    {32817, [](COrvaneDoc& d) { RunRange(d, MuteEffect(SettingsPlace{})); }},
    {32818,
     [](COrvaneDoc& d) {
         CSilenceDlg dialog({}, DialogParent(d));
         RunSelectingDialog(d, dialog);
     }},
    {32819, [](COrvaneDoc& d) { RunRange(d, SwapChannelsEffect()); }},
    {32821, [](COrvaneDoc& d) { RunRange(d, ReverseEffect()); }},
    {32822, [](COrvaneDoc& d) { RunRange(d, NormalizeEffect()); }},
    {32831,
     [](COrvaneDoc& d) {
         ApplyProcess(d, kProcessingText, [](const WaveObject& wave, ProgressIndicator* progress) {
             return CenterSignalsEffect().Process(wave, progress);
         });
     }},
    {32825,
     [](COrvaneDoc& d) {
         CEchoDlg dialog({}, DialogParent(d));
         RunRangeDialog(d, dialog);
     }},
    {32827,
     [](COrvaneDoc& d) {
         CChorusDlg dialog({}, DialogParent(d));
         RunSelectingDialog(d, dialog);
     }},
    {32826,
     [](COrvaneDoc& d) {
         CChangePitchDlg dialog({}, DialogParent(d));
         RunSelectingDialog(d, dialog);
     }},
    {32828,
     [](COrvaneDoc& d) {
         CCompressExpandDlg dialog({}, d.Length(), DialogParent(d));
         RunSelectingDialog(d, dialog);
     }},
    {32809, OnConvertFormat},
};

const ProcessCommand* Find(std::uint32_t id) {
    for (const ProcessCommand& command : kProcessCommands)
        if (command.id == id) return &command;
    return nullptr;
}

}  // namespace

bool HasProcessCommand(std::uint32_t id) { return Find(id) != nullptr; }

void RunProcessCommand(COrvaneDoc& doc, std::uint32_t id) {
    if (const ProcessCommand* command = Find(id)) command->run(doc);
}

bool ApplyProcess(COrvaneDoc& doc, std::uint32_t textId, const ProcessFn& process) {
    return TakeResult(doc, RunWithProgress(doc, textId, process), nullptr);
}

bool ApplySelectingProcess(COrvaneDoc& doc, std::uint32_t textId,
                           const SelectingProcessFn& process) {
    FrameRange selection{doc.m_nSelStart, doc.m_nSelLength};
    auto result =
        RunWithProgress(doc, textId, [&](const WaveObject& wave, ProgressIndicator* progress) {
            return process(wave, selection, progress);
        });
    return TakeResult(doc, std::move(result), &selection);
}

}  // namespace kelvane
