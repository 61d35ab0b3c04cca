#pragma once

#include <cstdint>
#include <memory>

#include "processing/EffectSettings.h"
#include "processing/ProgressIndicator.h"
#include "processing/SegmentShift.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

struct CompressExpandSettings {
    double percent = 100;                             // new length as percent of the old
    double segmentTime = SegmentTimeFromStored(30);   // seconds
    double crossFadeRatio = CrossFadeFromStored(50);  // fraction of a segment

    static constexpr int kPercentMin = 50, kPercentMax = 200;
};

struct CompressExpandStored {
    int percent = 100;
    int delay = 30;           // milliseconds
    int crossFadeRatio = 50;  // percent
};

inline constexpr const char* kCompressExpandSection = "WAVE COMPRESSEXPAND";
inline constexpr IntKey<CompressExpandStored> kCompressExpandKeys[] = {
    {"COMPRESSEXPAND", &CompressExpandStored::percent, 100},
    {"DELAY", &CompressExpandStored::delay, 30},
    {"CROSSFADERATIO", &CompressExpandStored::crossFadeRatio, 50},
};

// Changes the length of the selection and keeps its pitch: the segment method shifts the
// pitch by the length ratio, then resampling brings it back while changing the length.
class CompressExpandEffect {
  public:
    // `waveLength` is the length of the document's whole wave, shown beside the new length.
    explicit CompressExpandEffect(SettingsPlace place = {}, std::uint32_t waveLength = 0);

    void SaveSettings() const;

    // Writes the settings first. On success the length becomes the new range length (the
    // start stays), so the processed range is selected.
    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source,
                                                      std::uint32_t& start, std::uint32_t& length,
                                                      ProgressIndicator* progress) const;

    [[nodiscard]] const SettingsPlace& place() const { return place_; }
    [[nodiscard]] std::uint32_t waveLength() const { return waveLength_; }
    // What the dialog shows beside the originals: the whole wave's new length and tempo.
    [[nodiscard]] std::uint32_t NewWaveLength() const {
        const double frames = waveLength_ * settings.percent * 0.01;
        return frames >= 0.0 && frames < 4294967296.0 ? static_cast<std::uint32_t>(frames) : 0;
    }
    [[nodiscard]] double NewTempo(double tempo) const { return tempo / settings.percent * 100; }

    CompressExpandSettings settings;

  private:
    SettingsPlace place_;
    std::uint32_t waveLength_;
};

}  // namespace kelvane
