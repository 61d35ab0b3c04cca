#pragma once

#include <memory>

#include "processing/EffectSettings.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// The PCM format a wave is converted to.
struct FormatConversionSettings {
    int samplingRate = 22050;
    int channels = 1;
    int sampleSize = 8;  // bits
};

inline constexpr char kFormatConversionSection[] = "WAVE FORMAT";
inline constexpr IntKey<FormatConversionSettings> kFormatConversionKeys[] = {
    {"SAMPLING RATE", &FormatConversionSettings::samplingRate, 22050},
    {"CHANNELS", &FormatConversionSettings::channels, 1},
    {"SAMPLE SIZE", &FormatConversionSettings::sampleSize, 8},
};

// The rates the dialog accepts (message 1001 otherwise). Settings read from a private file
// are not checked against them.
inline constexpr int kMinSamplingRate = 8000;
inline constexpr int kMaxSamplingRate = 48000;
[[nodiscard]] constexpr bool IsAcceptedSamplingRate(int rate) {
    return rate >= kMinSamplingRate && rate <= kMaxSamplingRate;
}

// Converts a whole wave to the PCM format of the settings. The rate changes by picking source
// frames with an accumulator (no interpolation, no filtering); channels and sample size change
// through the frame accessors.
class FormatConversionEffect {
  public:
    explicit FormatConversionEffect(SettingsPlace place);

    void Save() const;
    // `progress` may be null. Null when the result cannot be set up, and also when the source
    // has no PCM frames or rate, or the settings describe no PCM layout or a rate of 0 or less.
    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source,
                                                      ProgressIndicator* progress) const;

    FormatConversionSettings settings;

  private:
    SettingsPlace place_;
};

}  // namespace kelvane
