#pragma once

#include <cstdint>
#include <memory>

#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

enum class PanKind : std::uint32_t { RightToLeft = 2000, LeftToRight = 2001 };

// Moves the sound across over the selection: one channel fades in while the other fades out
// (right to left: the left channel fades in).
class PanEffect {
  public:
    explicit PanEffect(PanKind kind) : kind_(kind) {}

    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source, std::uint32_t start,
                                                      std::uint32_t length,
                                                      ProgressIndicator* progress) const;
    [[nodiscard]] PanKind kind() const { return kind_; }

  private:
    PanKind kind_;
};

}  // namespace kelvane
