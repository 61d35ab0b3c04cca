#pragma once

#include <cstdint>
#include <memory>

#include "processing/EffectSettings.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

struct EchoSettings {
    int number = 1;   // echoes
    int delay = 100;  // milliseconds between echoes
    int size = 70;    // loudness of the first echo, percent; each further echo scaled again

    static constexpr int kNumberMin = 1, kNumberMax = 10;
    static constexpr int kDelayMin = 1, kDelayMax = 1000;
    static constexpr int kSizeMin = 1, kSizeMax = 100;
};

inline constexpr const char* kEchoSection = "WAVE ECHO";
inline constexpr IntKey<EchoSettings> kEchoKeys[] = {
    {"NUMBER", &EchoSettings::number, 1},
    {"DELAY", &EchoSettings::delay, 100},
    {"SIZE", &EchoSettings::size, 70},
};

// Adds delayed, progressively quieter copies of the unprocessed selection to itself. Echoes
// never leave the selection and never feed back.
class EchoEffect {
  public:
    // Reads the settings from the application profile, or from the private file's section.
    explicit EchoEffect(SettingsPlace place = {});

    void SaveSettings() const;

    // A new wave of the source's length, or null when it cannot be set up.
    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source, std::uint32_t start,
                                                      std::uint32_t length,
                                                      ProgressIndicator* progress) const;

    [[nodiscard]] const SettingsPlace& place() const { return place_; }

    EchoSettings settings;

  private:
    SettingsPlace place_;
};

}  // namespace kelvane
