#include "processing/Reverse.h"

#include "processing/RangeEffect.h"

namespace kelvane {

std::unique_ptr<WaveObject> ReverseEffect::Process(const WaveObject& source, std::uint32_t start,
                                                   std::uint32_t length,
                                                   ProgressIndicator* progress) const {
    return RunRangeEffect(source, start, length, progress,
                          [](auto layout, const std::uint8_t* in, std::uint8_t* out,
                             std::uint32_t first, std::uint32_t last, FrameRange range) {
                              constexpr FrameLayout L = decltype(layout)::value;
                              // Frame i of the range lands at start + end - 1 - i.
                              const std::uint32_t mirror = range.start + range.end() - 1;
                              for (std::uint32_t i = first; i < last; ++i)
                                  MoveFrame<L>(in, i, out, mirror - i);
                          });
}

}  // namespace kelvane
