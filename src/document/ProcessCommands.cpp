#include "document/ProcessCommands.h"

#include <span>

#include "document/OrvaneDoc.h"
#include "processing/CenterSignals.h"
#include "processing/Fade.h"
#include "processing/Mute.h"
#include "processing/Normalize.h"
#include "processing/Pan.h"
#include "processing/Reverse.h"
#include "processing/SwapChannels.h"
#include "resources/Strings.h"
#include "ui/DialogHost.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kProcessingText = 103;

// A command over the selection without a dialog.
template <typename Effect>
void RunRange(COrvaneDoc& doc, const Effect& effect) {
    const std::uint32_t start = doc.m_nSelStart;
    const std::uint32_t length = doc.m_nSelLength;
    ApplyProcess(doc, kProcessingText, [&](const WaveObject& wave, ProgressIndicator* progress) {
        return effect.Process(wave, start, length, progress);
    });
}

struct ProcessCommand {
    std::uint32_t id;
    void (*run)(COrvaneDoc& doc);
};

constexpr ProcessCommand kProcessCommands[] = {
    {32813, [](COrvaneDoc& d) { RunRange(d, FadeEffect(FadeKind::In)); }},
    {32812, [](COrvaneDoc& d) { RunRange(d, FadeEffect(FadeKind::Out)); }},
    {32816, [](COrvaneDoc& d) { RunRange(d, PanEffect(PanKind::LeftToRight)); }},
    {32815, [](COrvaneDoc& d) { RunRange(d, PanEffect(PanKind::RightToLeft)); }},
    {32817, [](COrvaneDoc& d) { RunRange(d, MuteEffect(SettingsPlace{})); }},
    {32819, [](COrvaneDoc& d) { RunRange(d, SwapChannelsEffect()); }},
    {32821, [](COrvaneDoc& d) { RunRange(d, ReverseEffect()); }},
    {32822, [](COrvaneDoc& d) { RunRange(d, NormalizeEffect()); }},
    {32831,
     [](COrvaneDoc& d) {
         ApplyProcess(d, kProcessingText, [](const WaveObject& wave, ProgressIndicator* progress) {
             return CenterSignalsEffect().Process(wave, progress);
         });
     }},
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
    std::unique_ptr<WaveObject> result;
    {
        DocumentView* view = doc.GetView();
        if (view) {
            view->BeginProgress();
            view->SetProgressText(LoadString(textId));
        }
        result = process(*doc.m_pWave, view ? view->Progress() : nullptr);
        if (view) view->EndProgress();
    }
    if (!result) {
        MessageBox(1003);
        return false;
    }
    doc.ReplaceWave(std::move(result));
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews(HINT_WAVE_CHANGED);
    return true;
}

}  // namespace kelvane
