#include "processing/SwapChannels.h"

#include "processing/RangeEffect.h"

namespace kelvane {

std::unique_ptr<WaveObject> SwapChannelsEffect::Process(const WaveObject& source,
                                                        std::uint32_t start, std::uint32_t length,
                                                        ProgressIndicator* progress) const {
    return RunRangeEffect(source, start, length, progress,
                          [](auto layout, const std::uint8_t* in, std::uint8_t* out,
                             std::uint32_t first, std::uint32_t last, FrameRange) {
                              constexpr FrameLayout L = decltype(layout)::value;
                              for (std::uint32_t i = first; i < last; ++i) {
                                  const FrameValue v = ReadFrame<L>(in, i);
                                  WriteFrame<L>(out, i, (v << 16) | (v >> 16));
                              }
                          });
}

}  // namespace kelvane
