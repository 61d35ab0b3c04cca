#pragma once

#include <cstdint>
#include <memory>

#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

enum class FadeKind : std::uint32_t { In = 1000, Out = 1001 };

// Linear fade over the selection: the gain runs from 0 at the first frame up to
// (len - 1) / len at the last (fade in), or from (len - 1) / len down to 0 (fade out).
class FadeEffect {
  public:
    explicit FadeEffect(FadeKind kind) : kind_(kind) {}

    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source, std::uint32_t start,
                                                      std::uint32_t length,
                                                      ProgressIndicator* progress) const;
    [[nodiscard]] FadeKind kind() const { return kind_; }

  private:
    FadeKind kind_;
};

// Each sample of the frame times its own k, divided by len, in floating point (multiplication
// first) and truncated toward zero; both lanes in one two-lane multiply and divide, which are
// lane for lane the scalar IEEE operations. The product is exact in a double and the quotient is
// never close enough to an integer to round across it, so this is the exact integer quotient.
[[nodiscard]] inline FrameValue RampFrame(FrameValue frame, double kLeft, double kRight,
                                          double len) {
    using Double2 = double __attribute__((vector_size(16)));
    using Int2 = std::int32_t __attribute__((vector_size(8)));
    const Double2 samples = {static_cast<double>(LeftOf(frame)),
                             static_cast<double>(RightOf(frame))};
    const Double2 k = {kLeft, kRight};
    const Int2 result = __builtin_convertvector(samples * k / len, Int2);
    return PackFrame(result[0], result[1]);
}

}  // namespace kelvane
