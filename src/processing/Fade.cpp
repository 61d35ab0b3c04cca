#include "processing/Fade.h"

#include "processing/RangeEffect.h"

namespace kelvane {

std::unique_ptr<WaveObject> FadeEffect::Process(const WaveObject& source, std::uint32_t start,
                                                std::uint32_t length,
                                                ProgressIndicator* progress) const {
    const bool in = kind_ == FadeKind::In;
    return RunRangeEffect(source, start, length, progress,
                          [in](auto layout, const std::uint8_t* src, std::uint8_t* dst,
                               std::uint32_t first, std::uint32_t last, FrameRange range) {
                              constexpr FrameLayout L = decltype(layout)::value;
                              const double len = range.length;
                              // k counts up from the range's first frame (fade in) or down to its
                              // last (out).
                              const double k0 = in ? first - range.start : range.end() - 1 - first;
                              const double dk = in ? 1.0 : -1.0;
                              for (std::uint32_t i = first; i < last; ++i) {
                                  const double k = k0 + dk * (i - first);
                                  WriteFrame<L>(dst, i, RampFrame(ReadFrame<L>(src, i), k, k, len));
                              }
                          });
}

}  // namespace kelvane
