#include "processing/Chorus.h"

#include <algorithm>
#include <vector>

#include "processing/EffectResult.h"
#include "processing/FrameInterpolation.h"
#include "processing/ProgressCounter.h"
#include "processing/RangeEffect.h"
#include "processing/RuntimeRandom.h"

namespace kelvane {

namespace {

// Frame delays far beyond any 32-bit wave behave alike; saturating keeps the arithmetic
// defined for any settings file.
std::int64_t SaturatedFrames(double value) {
    constexpr double kLimit = 1099511627776.0;  // 2^40
    if (!(value > -kLimit)) return value < 0 ? -static_cast<std::int64_t>(kLimit) : 0;
    if (value >= kLimit) return static_cast<std::int64_t>(kLimit);
    return static_cast<std::int64_t>(value);
}

std::int32_t Clamp16Wide(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -32768, 32767));
}

struct Voices {
    int active = 0;                           // voices in use, 1 to 3
    std::int64_t offset[kChorusVoices] = {};  // k * D
    double displacement[kChorusVoices] = {};
    double gain[kChorusVoices] = {};
};

// The mix for frames that hear V voices: each voice's product truncated, then the sum
// clamped.
template <FrameLayout L, int V>
void MixVoices(const WaveObject& source, WaveObject& result, const Voices& voices,
               std::uint32_t first, std::uint32_t last) {
    const std::uint8_t* in = source.data;
    std::uint8_t* out = result.data;
    const std::uint32_t frames = source.FrameCount();
    constexpr bool kMono = L == LayoutMono8 || L == LayoutMono16;
    for (std::uint32_t i = first; i < last; ++i) {
        const FrameValue frame = ReadFrame<L>(in, i);
        std::int64_t left = LeftOf(frame);
        std::int64_t right = RightOf(frame);
        for (int k = 0; k < V; ++k) {
            const double at =
                static_cast<double>(std::int64_t{i} - voices.offset[k]) + voices.displacement[k];
            const FrameValue voice = InterpolateFrame<L>(in, frames, at);
            left += TruncToInt(LeftOf(voice) * voices.gain[k]);
            if constexpr (!kMono) right += TruncToInt(RightOf(voice) * voices.gain[k]);
        }
        if constexpr (kMono) {
            const std::int32_t v = Clamp16Wide(left);
            WriteFrame<L>(out, i, PackFrame(v, v));
        } else {
            WriteFrame<L>(out, i, PackFrame(Clamp16Wide(left), Clamp16Wide(right)));
        }
    }
}

template <FrameLayout L>
void MixSpan(const WaveObject& source, WaveObject& result, const Voices& voices,
             std::uint32_t first, std::uint32_t last) {
    switch (voices.active) {
        case 1:
            MixVoices<L, 1>(source, result, voices, first, last);
            break;
        case 2:
            MixVoices<L, 2>(source, result, voices, first, last);
            break;
        default:
            MixVoices<L, 3>(source, result, voices, first, last);
            break;
    }
}

}  // namespace

ChorusSettings ChorusFromStored(const ChorusStored& stored) {
    ChorusSettings s;
    s.delay = stored.delay * 0.001;
    s.size = stored.size * 0.001;
    s.number = stored.number;
    s.depth = stored.depth * 0.001;
    s.frequency = stored.frequency;
    return s;
}

ChorusStored StoredChorus(const ChorusSettings& s) {
    return {TruncToInt(s.delay * 1000), TruncToInt(s.size * 1000), s.number,
            TruncToInt(s.depth * 1000), TruncToInt(s.frequency)};
}

std::array<double, kChorusVoices> DrawChorusDisplacements(double depth, double frequency) {
    const double m = 0.02 * depth * frequency;
    std::array<double, kChorusVoices> displacement{};
    for (double& p : displacement) p = RuntimeRandom::Next() * (2 * m) / 32767 - m;
    return displacement;
}

ChorusEffect::ChorusEffect(SettingsPlace place) : place_(std::move(place)) {
    ChorusStored stored;
    LoadSettings<ChorusStored>(stored, kChorusKeys, place_, kChorusSection);
    settings = ChorusFromStored(stored);
}

void ChorusEffect::SaveSettings() const {
    kelvane::SaveSettings<ChorusStored>(StoredChorus(settings), kChorusKeys, place_,
                                        kChorusSection);
}

std::unique_ptr<WaveObject> ChorusEffect::Process(const WaveObject& source, std::uint32_t start,
                                                  std::uint32_t length,
                                                  ProgressIndicator* progress) const {
    SaveSettings();
    if (!HasReadableFrames(source)) return nullptr;
    const std::uint32_t waveLength = source.FrameCount();
    auto result = NewResultWave(source, waveLength);
    if (!result) return nullptr;
    const FrameRange range = ProcessedRange(start, length, waveLength);
    const std::int64_t delay = SaturatedFrames(source.format->samplesPerSec * settings.delay);
    const double size = settings.size;
    const double gains[kChorusVoices] = {size, size * size, size * size * size};
    const auto displacement = DrawChorusDisplacements(settings.depth, settings.frequency);
    const int voiceCount = std::clamp(settings.number, 1, kChorusVoices);

    // Frames hear a fixed set of voices between these points: the range ends and k * D.
    std::vector<std::uint32_t> points = {range.start, range.end()};
    for (int k = 1; k <= kChorusVoices; ++k) {
        const std::int64_t p = k * delay;
        if (p > range.start && p < std::int64_t{range.end()})
            points.push_back(static_cast<std::uint32_t>(p));
    }
    auto voicesAt = [&](std::uint32_t i) {
        Voices v;
        if (i < range.start || i >= range.end() || std::int64_t{i} < delay) return v;
        for (int k = 1; k <= voiceCount && std::int64_t{i} >= k * delay; ++k) {
            v.offset[v.active] = k * delay;
            v.displacement[v.active] = displacement[k - 1];
            v.gain[v.active] = gains[k - 1];
            ++v.active;
        }
        return v;
    };

    const bool known =
        waveLength == 0 || DispatchLayout(source.frameLayout, [&](auto layout) {
            constexpr FrameLayout L = decltype(layout)::value;
            ForEachProgressBlock(
                0, waveLength, waveLength, progress, [&](std::uint32_t first, std::uint32_t last) {
                    while (first < last) {
                        std::uint32_t stop = last;
                        for (std::uint32_t p : points)
                            if (p > first && p < stop) stop = p;
                        const Voices voices = voicesAt(first);
                        if (voices.active == 0)
                            CopyFrames(source, first, *result, first, stop - first);
                        else
                            MixSpan<L>(source, *result, voices, first, stop);
                        first = stop;
                    }
                });
        });
    if (!known) return nullptr;
    result->CopyInfo(&source);
    return result;
}

}  // namespace kelvane
