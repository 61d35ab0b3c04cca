#pragma once

#include <cstdint>
#include <memory>

#include "processing/EffectSettings.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// Scales the selection so that its peak sample reaches full scale (32767).
class NormalizeEffect {
  public:
    explicit NormalizeEffect(SettingsPlace place = {}) : place_(std::move(place)) {}

    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source, std::uint32_t start,
                                                      std::uint32_t length,
                                                      ProgressIndicator* progress) const;

  private:
    SettingsPlace place_;  // kept like every effect's, though it has no settings
};

}  // namespace kelvane
