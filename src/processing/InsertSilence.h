#pragma once

#include <cstdint>
#include <memory>

#include "processing/EffectSettings.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// The length is kept in hundredths of a second.
struct SilenceSettings {
    int hundredths = 1;
};

inline constexpr char kSilenceSection[] = "WAVE SILENCE";
inline constexpr IntKey<SilenceSettings> kSilenceKeys[] = {
    {"SILENCE", &SilenceSettings::hundredths, 1},
};

// The lengths the dialog accepts, in seconds.
inline constexpr double kMinSilenceSeconds = 0.001;
inline constexpr double kMaxSilenceSeconds = 60.0;

// Inserts silence at the selection start (a selected range is kept, not replaced).
class InsertSilenceEffect {
  public:
    explicit InsertSilenceEffect(SettingsPlace place);

    // Stores trunc(seconds * 100) hundredths, so lengths below 0.01 s are stored as 0.
    void Save() const;
    // On success `start` stays and `length` becomes the number of inserted frames, so the
    // caller selects the silence.
    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source,
                                                      std::uint32_t& start, std::uint32_t& length,
                                                      ProgressIndicator* progress) const;

    double seconds;

  private:
    SettingsPlace place_;
};

}  // namespace kelvane
