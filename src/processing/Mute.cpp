#include "processing/Mute.h"

#include "processing/RangeEffect.h"

namespace kelvane {

MuteEffect::MuteEffect(SettingsPlace place) : place_(std::move(place)) {
    LoadSettings<MuteSettings>(settings, kMuteKeys, place_, kMuteSection);
}

std::unique_ptr<WaveObject> MuteEffect::Process(const WaveObject& source, std::uint32_t start,
                                                std::uint32_t length,
                                                ProgressIndicator* progress) const {
    SaveSettings<MuteSettings>(MuteSettings{1}, kMuteKeys, place_, kMuteSection);
    return RunRangeEffect(source, start, length, progress,
                          [](auto layout, const std::uint8_t*, std::uint8_t* out,
                             std::uint32_t first, std::uint32_t last, FrameRange) {
                              constexpr FrameLayout L = decltype(layout)::value;
                              constexpr std::size_t kBytes = BytesPerFrame(L);
                              // A zero frame is byte 128 in 8-bit layouts and 0 in 16-bit ones.
                              constexpr int kSilence =
                                  L == LayoutMono8 || L == LayoutStereo8 ? 128 : 0;
                              std::memset(out + first * kBytes, kSilence, (last - first) * kBytes);
                          });
}

}  // namespace kelvane
