#include "processing/Echo.h"

#include <algorithm>
#include <cmath>

#include "processing/EffectResult.h"
#include "processing/ProgressCounter.h"
#include "processing/RangeEffect.h"

namespace kelvane {

namespace {

// trunc(result + (gain * dry) * 0.01), clamped: the product is a 32-bit integer, the
// scaling floating point.
inline std::int32_t AddEchoSample(std::int32_t wet, std::int32_t dry, std::int32_t gain) {
    const auto product = static_cast<std::int32_t>(static_cast<std::int64_t>(gain) * dry);
    return Clamp16(static_cast<std::int32_t>(wet + product * 0.01));
}

template <FrameLayout L>
void AddOneEcho(const WaveObject& source, WaveObject& result, FrameRange range,
                std::uint64_t offset, std::int32_t gain, ProgressCounter& counter) {
    const std::uint8_t* in = source.data;
    std::uint8_t* out = result.data;
    // Frames i at or beyond `landing` would fall outside the selection and are dropped.
    const std::uint32_t landing =
        offset < range.length ? range.length - static_cast<std::uint32_t>(offset) : 0;
    const auto shift = static_cast<std::uint32_t>(offset);
    counter.Run(range.length, [&](std::uint32_t first, std::uint32_t last) {
        last = std::min(last, landing);
        for (std::uint32_t i = range.start + first; i < range.start + last; ++i) {
            const FrameValue dry = ReadFrame<L>(in, i);
            const FrameValue wet = ReadFrame<L>(out, i + shift);
            const std::int32_t left = AddEchoSample(LeftOf(wet), LeftOf(dry), gain);
            if constexpr (L == LayoutMono8 || L == LayoutMono16) {
                WriteFrame<L>(out, i + shift, PackFrame(left, left));
            } else {
                const std::int32_t right = AddEchoSample(RightOf(wet), RightOf(dry), gain);
                WriteFrame<L>(out, i + shift, PackFrame(left, right));
            }
        }
    });
}

}  // namespace

EchoEffect::EchoEffect(SettingsPlace place) : place_(std::move(place)) {
    LoadSettings<EchoSettings>(settings, kEchoKeys, place_, kEchoSection);
}

void EchoEffect::SaveSettings() const {
    kelvane::SaveSettings<EchoSettings>(settings, kEchoKeys, place_, kEchoSection);
}

std::unique_ptr<WaveObject> EchoEffect::Process(const WaveObject& source, std::uint32_t start,
                                                std::uint32_t length,
                                                ProgressIndicator* progress) const {
    if (!HasReadableFrames(source)) return nullptr;
    const std::uint32_t rate = source.format->samplesPerSec;
    // The stored delay meets the rate as a 32-bit unsigned product; a negative delay from a
    // settings file therefore puts every echo beyond the selection.
    const std::uint32_t product = static_cast<std::uint32_t>(settings.delay) * rate;
    const auto frameDelay = static_cast<std::uint32_t>(product * 0.001);
    const std::uint32_t waveLength = source.FrameCount();
    const FrameRange range = ProcessedRange(start, length, waveLength);

    std::vector<KeptRun> toCopy;
    auto result = NewResultKeeping(source, waveLength, range, toCopy);
    if (!result) return nullptr;

    // The total counts one pass more than is made, so the bar ends short of 100. A negative
    // number from a settings file makes no echo but still shapes the total.
    const std::uint32_t echoes =
        settings.number > 0 ? static_cast<std::uint32_t>(settings.number) : 0;
    const std::uint32_t total =
        waveLength + (static_cast<std::uint32_t>(settings.number) + 1) * range.length;
    ProgressCounter counter(progress, static_cast<double>(static_cast<std::int32_t>(total)));
    counter.Run(waveLength, [&](std::uint32_t first, std::uint32_t last) {
        CopyUnshared(source, *result, toCopy, range, first, last);
    });

    DispatchLayout(source.frameLayout, [&](auto layout) {
        for (std::uint32_t j = 1; j <= echoes && range.length > 0; ++j) {
            const double gainFactor = std::pow(settings.size * 0.01, static_cast<int>(j));
            const std::int32_t gain = TruncToInt(100 * gainFactor);
            AddOneEcho<decltype(layout)::value>(source, *result, range,
                                                std::uint64_t{j} * frameDelay, gain, counter);
        }
    });
    result->CopyInfo(&source);
    return result;
}

}  // namespace kelvane
