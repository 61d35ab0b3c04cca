#pragma once

// Helpers for comparing an effect's fast path with a plain reference written from the
// described arithmetic through GetFrame/SetFrame, on random sounds and random selections.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string_view>
#include <vector>

#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane::test {

inline constexpr FrameLayout kAllLayouts[] = {LayoutMono8, LayoutStereo8, LayoutMono16,
                                              LayoutStereo16};

[[nodiscard]] WaveFormat FormatOfLayout(FrameLayout layout, std::uint32_t rate = 22050);

// Keeps every position it is given, so a test can compare the reports of two paths.
class RecordingProgress : public ProgressIndicator {
  public:
    bool Create(void*) override { return true; }
    void SetText(std::string_view) override {}
    int SetPos(int position) override;
    void SetRange(int, int) override {}

    std::vector<int> positions;
};

// One random input: a sound, the selection a document would pass, and a generator the check
// may use for the effect's own parameters. Lengths cross the 16384- and 32768-frame progress
// boundaries; sounds vary from full-scale noise to quiet, offset, silent and extreme values,
// and carry an INFO text so that copying the tags is checked too.
struct RandomCase {
    FrameLayout layout = LayoutNone;
    std::unique_ptr<WaveObject> wave;
    std::uint32_t start = 0;
    std::uint32_t length = 0;  // 0: nothing selected
    std::mt19937* rng = nullptr;
};

// A resident sound of `frames` random frames of one of the kinds above.
[[nodiscard]] std::unique_ptr<WaveObject> RandomSound(FrameLayout layout, std::uint32_t rate,
                                                      std::uint32_t frames, std::mt19937& rng);

// Runs `check` on `count` cases per layout (the first ones: an empty wave, one frame, a whole
// wave with nothing selected), from a fixed seed. Each failure names its layout and case.
void ForEachRandomCase(std::uint32_t seed, int count, std::uint32_t maxFrames,
                       const std::function<void(RandomCase&)>& check);

// A resident in-memory copy (format, bytes, INFO texts): where a reference path starts.
[[nodiscard]] std::unique_ptr<WaveObject> CopyOf(const WaveObject& wave);
// A resident wave of `format` and `frames` frames, filled with 0x5A so unwritten bytes show.
[[nodiscard]] std::unique_ptr<WaveObject> BlankWave(const WaveFormat& format, std::uint32_t frames);

// The plain per-frame loop of a range effect, written as described rather than as the fast
// path runs: the processed range is the selection, or the whole wave when nothing is selected;
// before frame i, when (i & 0x3FFF) == 0, the position i / length * 100.0 (truncated) is
// reported; every frame goes through GetFrame/SetFrame, frames of the range through
// fn(frame, kIn, kOut, len), the others unchanged; then the INFO texts are copied.
using RangeFrameFn = std::function<FrameValue(FrameValue frame, std::uint32_t kIn,
                                              std::uint32_t kOut, std::uint32_t len)>;
[[nodiscard]] std::unique_ptr<WaveObject> ReferenceRangeLoop(const WaveObject& source,
                                                             std::uint32_t start,
                                                             std::uint32_t length,
                                                             RecordingProgress& progress,
                                                             const RangeFrameFn& fn);

// Same format record, same frame count, identical bytes and identical INFO texts.
[[nodiscard]] ::testing::AssertionResult SameWave(const WaveObject& expected,
                                                  const WaveObject* actual);

}  // namespace kelvane::test
