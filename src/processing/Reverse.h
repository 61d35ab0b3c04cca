#pragma once

#include <cstdint>
#include <memory>

#include "processing/EffectSettings.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// Plays the selection backwards; the frames around it stay in place.
class ReverseEffect {
  public:
    explicit ReverseEffect(SettingsPlace place = {}) : place_(std::move(place)) {}

    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source, std::uint32_t start,
                                                      std::uint32_t length,
                                                      ProgressIndicator* progress) const;

  private:
    SettingsPlace place_;  // kept like every effect's, though it has no settings
};

}  // namespace kelvane
