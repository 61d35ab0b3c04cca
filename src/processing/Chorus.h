#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "processing/EffectSettings.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

struct ChorusSettings {
    double delay = 100 * 0.001;  // seconds between voices
    double size = 700 * 0.001;   // gain of the first voice; voice k has size^k
    int number = 2;              // voices, 1 to 3
    double depth = 200 * 0.001;  // modulation depth, fraction
    double frequency = 10;       // modulation frequency, Hz

    // Slider ranges in the stored units.
    static constexpr int kDelayMinMs = 1, kDelayMaxMs = 999;
    static constexpr int kSizeMin = 1, kSizeMax = 999;
    static constexpr int kNumberMin = 1, kNumberMax = 3;
    static constexpr int kDepthMin = 1, kDepthMax = 999;
    static constexpr int kFrequencyMin = 1, kFrequencyMax = 100;
};

// The settings as stored: milliseconds, thousandths and whole hertz.
struct ChorusStored {
    int delay = 100;
    int size = 700;
    int number = 2;
    int depth = 200;
    int frequency = 10;
};

inline constexpr const char* kChorusSection = "WAVE CHORUS";
inline constexpr IntKey<ChorusStored> kChorusKeys[] = {
    {"CHORUSDELAY", &ChorusStored::delay, 100}, {"CHORUSSIZE", &ChorusStored::size, 700},
    {"NUMCHORUS", &ChorusStored::number, 2},    {"MODDEPTH", &ChorusStored::depth, 200},
    {"MODFREQ", &ChorusStored::frequency, 10},
};

[[nodiscard]] ChorusSettings ChorusFromStored(const ChorusStored& stored);
[[nodiscard]] ChorusStored StoredChorus(const ChorusSettings& settings);

inline constexpr int kChorusVoices = 3;

// Thickens the selection with up to three delayed, progressively quieter voices, each read
// at a fractional displacement drawn from the process-wide runtime sequence.
//
// Voice k of frame i is read at i - k * D + displacement_k, whatever frame the selection
// starts at: voices are delayed copies of the wave around the frame itself, so a frame gets
// the same voices whether it is chorused alone or inside a longer selection.
class ChorusEffect {
  public:
    explicit ChorusEffect(SettingsPlace place = {});

    void SaveSettings() const;

    // Writes the settings first; a new wave of the source's length, or null.
    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source, std::uint32_t start,
                                                      std::uint32_t length,
                                                      ProgressIndicator* progress) const;

    [[nodiscard]] const SettingsPlace& place() const { return place_; }

    ChorusSettings settings;

  private:
    SettingsPlace place_;
};

// The three displacements, in frames, as Process draws them: x * 2M / 32767 - M with
// M = 0.02 * depth * frequency and x the next runtime value (advances the sequence).
[[nodiscard]] std::array<double, kChorusVoices> DrawChorusDisplacements(double depth,
                                                                        double frequency);

}  // namespace kelvane
