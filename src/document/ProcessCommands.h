#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "processing/EffectResult.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

class COrvaneDoc;

// The commands of the Process menu, keyed by command id.
[[nodiscard]] bool HasProcessCommand(std::uint32_t id);
void RunProcessCommand(COrvaneDoc& doc, std::uint32_t id);

// The steps every processing command shares once its settings are known: the progress window
// with `textId`, `process` on the current sound, then the new sound in place of the old one
// with HINT_WAVE_CHANGED, or message 1003 when there is none.
using ProcessFn = std::function<std::unique_ptr<WaveObject>(const WaveObject&, ProgressIndicator*)>;
bool ApplyProcess(COrvaneDoc& doc, std::uint32_t textId, const ProcessFn& process);

// The same for the commands that select afterwards: `process` gets the document's selection
// and leaves in it the one to show, which is clamped to the new sound and sent with
// HINT_SELECTION before HINT_WAVE_CHANGED. On failure the selection stays as it was.
using SelectingProcessFn =
    std::function<std::unique_ptr<WaveObject>(const WaveObject&, FrameRange&, ProgressIndicator*)>;
bool ApplySelectingProcess(COrvaneDoc& doc, std::uint32_t textId,
                           const SelectingProcessFn& process);

}  // namespace kelvane
