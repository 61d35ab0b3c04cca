#pragma once

#include <cstdint>
#include <memory>

#include "processing/EffectSettings.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// Percent values; the dialog offers 0 to 200. `lock` is a flag (any non-zero value locks).
struct VolumeSettings {
    int leftVolume = 100;
    int rightVolume = 100;
    int lock = 1;
};

inline constexpr char kVolumeSection[] = "WAVEVOLUME";
// A missing "LOCKLR" in a private file reads 100, which still means locked.
inline constexpr IntKey<VolumeSettings> kVolumeKeys[] = {
    {"LEFTVOLUME", &VolumeSettings::leftVolume, 100},
    {"RIGHTVOLUME", &VolumeSettings::rightVolume, 100},
    {"LOCKLR", &VolumeSettings::lock, 1, 100},
};

// Scales each channel of the selection by its percentage, truncating toward zero and clamping
// to 16 bits. The volumes are used as they are; keeping them in step when locked is the
// dialog's part.
class VolumeEffect {
  public:
    // `stereo`: the wave has more than one channel (batch conversion passes true).
    VolumeEffect(bool stereo, SettingsPlace place);

    void Save() const;
    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source, std::uint32_t start,
                                                      std::uint32_t length,
                                                      ProgressIndicator* progress) const;

    VolumeSettings settings;
    bool stereo;

  private:
    SettingsPlace place_;
};

}  // namespace kelvane
