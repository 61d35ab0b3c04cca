#include "processing/Volume.h"

#include <algorithm>

#include "processing/RangeEffect.h"

namespace kelvane {

VolumeEffect::VolumeEffect(bool isStereo, SettingsPlace place)
    : stereo(isStereo), place_(std::move(place)) {
    LoadSettings<VolumeSettings>(settings, kVolumeKeys, place_, kVolumeSection);
}

void VolumeEffect::Save() const {
    SaveSettings<VolumeSettings>(settings, kVolumeKeys, place_, kVolumeSection);
}

namespace {

std::int32_t Scale(std::int32_t sample, int percent) {
    // Volumes from a private settings file are unchecked, so the quotient may not fit 32 bits.
    const std::int64_t scaled = std::int64_t{sample} * percent / 100;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(scaled, -32768, 32767));
}

}  // namespace

std::unique_ptr<WaveObject> VolumeEffect::Process(const WaveObject& source, std::uint32_t start,
                                                  std::uint32_t length,
                                                  ProgressIndicator* progress) const {
    SampleMap left;
    SampleMap right;
    if (!left.Fill([&](std::int32_t s) { return Scale(s, settings.leftVolume); })) return nullptr;
    // Locked channels, the usual case, share one table: half the set-up and the cache it takes.
    const bool same = settings.rightVolume == settings.leftVolume;
    if (!same && !right.Fill([&](std::int32_t s) { return Scale(s, settings.rightVolume); }))
        return nullptr;
    const SampleMap& rightMap = same ? left : right;
    return RunRangeEffect(source, start, length, progress,
                          [&](auto layout, const std::uint8_t* in, std::uint8_t* out,
                              std::uint32_t first, std::uint32_t last, FrameRange) {
                              constexpr FrameLayout L = decltype(layout)::value;
                              for (std::uint32_t i = first; i < last; ++i) {
                                  const FrameValue v = ReadFrame<L>(in, i);
                                  WriteFrame<L>(out, i,
                                                PackFrame(left(LeftOf(v)), rightMap(RightOf(v))));
                              }
                          });
}

}  // namespace kelvane
