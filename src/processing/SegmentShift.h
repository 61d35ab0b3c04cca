#pragma once

#include <cstdint>

#include "processing/ProgressIndicator.h"
#include "resources/TranslationMark.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// The segment method shifts pitch by a ratio while keeping the length: it reads segments of
// W frames at the ratio's speed, each starting where its output starts, and cross-fades the
// first X frames of every segment into the tail of the one before. Change pitch (with the
// length kept) and compress/expand share it.

// The entries of the "Methods" box, in order: a segment time and a cross-fade ratio each.
struct SegmentPreset {
    const char* name;
    double segmentTime;     // seconds
    double crossFadeRatio;  // fraction of the segment
};
inline constexpr SegmentPreset kSegmentPresets[] = {
    {QT_TRANSLATE_NOOP("kelvane::SegmentMethodBox", "Music 1"), 0.030, 0.20},
    {QT_TRANSLATE_NOOP("kelvane::SegmentMethodBox", "Music 2"), 0.030, 0.40},
    {QT_TRANSLATE_NOOP("kelvane::SegmentMethodBox", "Bass 1"), 0.045, 0.25},
    {QT_TRANSLATE_NOOP("kelvane::SegmentMethodBox", "Bass 2"), 0.045, 0.50},
};

// Slider ranges of the segment time (milliseconds) and the cross-fade ratio (percent).
inline constexpr int kSegmentTimeMinMs = 15, kSegmentTimeMaxMs = 60;
inline constexpr int kCrossFadeMinPercent = 5, kCrossFadeMaxPercent = 70;

// Segment time and cross-fade ratio are kept in settings as whole milliseconds and percent.
[[nodiscard]] inline double SegmentTimeFromStored(int ms) {
    return ms * 0.001;
}
[[nodiscard]] inline double CrossFadeFromStored(int percent) {
    return percent * 0.01;
}
[[nodiscard]] int StoredSegmentTime(double seconds);
[[nodiscard]] int StoredCrossFade(double ratio);

struct SegmentShape {
    std::uint32_t segment = 0;    // W frames; 0 means one segment that never ends
    std::uint32_t crossFade = 0;  // X frames, always below W
};

// W = trunc(rate * S) and X = trunc(rate * K * S) with S = T * r / |r - 1|. At r = 1, and for
// settings that give no usable segment, the segment never ends (the range is read straight);
// an X that would not leave W above it is cut to W - 1 so every segment moves on.
[[nodiscard]] SegmentShape ComputeSegmentShape(double ratio, std::uint32_t rate, double segmentTime,
                                               double crossFadeRatio);

struct SegmentJob {
    const WaveObject* source = nullptr;
    std::uint32_t readStart = 0;   // source frame read for the first output frame
    WaveObject* output = nullptr;  // same format as the source
    std::uint32_t origin = 0;      // output frame of output position 0
    std::uint32_t length = 0;      // output frames
    double ratio = 1.0;
    SegmentShape shape;
};

// Progress of the segment loop: before each step whose key is a multiple of 16384,
// SetPos(trunc((base + key) / total * 100)). The key grows by one a step; with
// followsOutput it is the output position and steps back with it at each segment end.
struct SegmentProgress {
    ProgressIndicator* progress = nullptr;
    std::uint32_t key = 0;
    bool followsOutput = false;
    double base = 0.0;
    double total = 1.0;
};

// Runs the segment method; false when the source has no frame layout.
bool RunSegmentShift(const SegmentJob& job, SegmentProgress progress);

}  // namespace kelvane
