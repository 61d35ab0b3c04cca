#pragma once

#include <cstdint>
#include <memory>

#include "processing/EffectSettings.h"
#include "processing/ProgressIndicator.h"
#include "processing/SegmentShift.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

struct ChangePitchSettings {
    double percent = 100;    // new pitch as percent of the old; 200 is an octave up
    int preserveLength = 0;  // nonzero: the segment method, else plain resampling
    double segmentTime = SegmentTimeFromStored(30);   // seconds
    double crossFadeRatio = CrossFadeFromStored(50);  // fraction of a segment

    static constexpr int kPercentMin = 50, kPercentMax = 200;
};

// The integer keys as stored; the percent is stored as text (see kChangePitchPercentKey).
struct ChangePitchStored {
    int preserveLength = 0;
    int delay = 30;           // milliseconds
    int crossFadeRatio = 50;  // percent
};

inline constexpr const char* kChangePitchSection = "WAVECHANGEPITCH";
inline constexpr const char* kChangePitchPercentKey = "CHANGEPITCH";  // "%f" text, default "100"
inline constexpr const char* kChangePitchPercentDefault = "100";
// A batch step keeps the length unless its settings say otherwise.
inline constexpr IntKey<ChangePitchStored> kChangePitchKeys[] = {
    {"PRESERVELENGTH", &ChangePitchStored::preserveLength, 0, 1},
    {"DELAY", &ChangePitchStored::delay, 30},
    {"CROSSFADERATIO", &ChangePitchStored::crossFadeRatio, 50},
};

// Raises or lowers the pitch of the selection: by resampling (the selection gets shorter or
// longer) or, with the length kept, by the segment method.
class ChangePitchEffect {
  public:
    explicit ChangePitchEffect(SettingsPlace place = {});

    void SaveSettings() const;

    // The selection comes back as it was; the caller clamps it to the new length.
    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source,
                                                      std::uint32_t& start, std::uint32_t& length,
                                                      ProgressIndicator* progress) const;

    [[nodiscard]] const SettingsPlace& place() const { return place_; }

    ChangePitchSettings settings;

  private:
    [[nodiscard]] std::unique_ptr<WaveObject> KeepLength(const WaveObject& source,
                                                         std::uint32_t start, std::uint32_t length,
                                                         ProgressIndicator* progress) const;
    [[nodiscard]] std::unique_ptr<WaveObject> Resample(const WaveObject& source,
                                                       std::uint32_t start, std::uint32_t length,
                                                       ProgressIndicator* progress) const;

    SettingsPlace place_;
};

}  // namespace kelvane
