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
                              // Frame i of the range lands at start + end - 1 - i. Each piece fills
                              // its own frames of the result from the mirrored source frames: the
                              // same result and progress, but the new storage is first written in
                              // ascending order, which the kernel maps several times faster.
                              const std::uint32_t mirror = range.start + range.end() - 1;
                              for (std::uint32_t j = first; j < last; ++j)
                                  MoveFrame<L>(in, mirror - j, out, j);
                          });
}

}  // namespace kelvane
