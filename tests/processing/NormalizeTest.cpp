#include "processing/Normalize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "processing/PropertyCheck.h"

namespace kelvane {
namespace {

using test::RecordingProgress;

// Pass 1 copies the whole wave and finds the peak of the range; pass 2 rescales the range.
// One counter runs over both passes and reports counter * 100 / (wave + range length).
std::unique_ptr<WaveObject> ReferenceNormalize(const WaveObject& source, std::uint32_t start,
                                               std::uint32_t length, RecordingProgress& progress) {
    const std::uint32_t n = source.FrameCount();
    auto result = test::BlankWave(*source.format, n);
    const std::uint32_t s = length == 0 ? 0 : start;
    const std::uint32_t len = length == 0 ? n : length;
    const std::uint64_t total = std::uint64_t{n} + len;
    std::uint64_t counter = 0;
    auto tick = [&] {
        if (counter % 16384 == 0) progress.SetPos(static_cast<int>(counter * 100 / total));
        ++counter;
    };
    std::int32_t peak = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        tick();
        const FrameValue v = source.GetFrame(i);
        result->SetFrame(i, v);
        if (i >= s && i < s + len)
            peak = std::max(
                {peak, std::abs(std::int32_t{LeftOf(v)}), std::abs(std::int32_t{RightOf(v)})});
    }
    if (peak != 0 && len != 0) {
        for (std::uint32_t i = s; i < s + len; ++i) {
            tick();
            const FrameValue v = source.GetFrame(i);
            result->SetFrame(i, PackFrame(LeftOf(v) * 32767 / peak, RightOf(v) * 32767 / peak));
        }
    }
    result->CopyInfo(&source);
    return result;
}

TEST(Normalize, PeakOfMinus32768ScalesBy32767Over32768AndFullScaleStays) {
    auto wave = test::BlankWave(PcmFormat(22050, 16, 2), 4);
    wave->SetFrame(0, PackFrame(-32768, 16384));
    wave->SetFrame(1, PackFrame(-1, 32767));
    wave->SetFrame(2, PackFrame(32767, -32767));
    wave->SetFrame(3, PackFrame(100, -100));
    auto result = NormalizeEffect().Process(*wave, 0, 2, nullptr);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetFrame(0), PackFrame(-32767, 16383));
    EXPECT_EQ(result->GetFrame(1), PackFrame(0, 32766));
    EXPECT_EQ(result->GetFrame(3), PackFrame(100, -100));  // outside the range

    auto full = NormalizeEffect().Process(*wave, 1, 2, nullptr);
    EXPECT_TRUE(test::SameWave(*wave, full.get()));  // peak 32767: nothing changes

    auto quiet = test::BlankWave(PcmFormat(22050, 8, 1), 3);
    std::memset(quiet->data, 128, 3);
    RecordingProgress progress;
    auto silent = NormalizeEffect().Process(*quiet, 0, 0, &progress);
    EXPECT_TRUE(test::SameWave(*quiet, silent.get()));
    EXPECT_EQ(progress.positions, std::vector<int>{0});  // no second pass
}

TEST(Normalize, FastPathMatchesReferenceOnEveryLayout) {
    test::ForEachRandomCase(5020, 24, 70000, [](test::RandomCase& c) {
        RecordingProgress fast, plain;
        auto got = NormalizeEffect().Process(*c.wave, c.start, c.length, &fast);
        auto want = ReferenceNormalize(*c.wave, c.start, c.length, plain);
        EXPECT_TRUE(test::SameWave(*want, got.get()));
        EXPECT_EQ(fast.positions, plain.positions);
    });
}

}  // namespace
}  // namespace kelvane
