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

// sample * k / len in floating point, multiplication first, truncated toward zero. The
// product is exact in a double and the quotient is never close enough to an integer to round
// across it, so this equals the exact integer quotient.
[[nodiscard]] inline std::int32_t RampSample(std::int32_t sample, double k, double len) {
    return static_cast<std::int32_t>(sample * k / len);
}

}  // namespace kelvane
