#pragma once

#include <memory>

#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// Removes a constant offset: subtracts each channel's mean over the whole wave, clamping to
// 16 bits.
class CenterSignalsEffect {
  public:
    // Null for an empty wave as for a failed set-up.
    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source,
                                                      ProgressIndicator* progress) const;
};

}  // namespace kelvane
