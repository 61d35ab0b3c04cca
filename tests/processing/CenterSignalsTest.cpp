#include "processing/CenterSignals.h"

#include <gtest/gtest.h>

#include "processing/PropertyCheck.h"

namespace kelvane {
namespace {

using test::RecordingProgress;

// Two passes in blocks of 32768 frames: the sums (progress done * 50 / n), then the shifted
// and clamped frames (progress 50 + done * 50 / n).
std::unique_ptr<WaveObject> ReferenceCenter(const WaveObject& source, RecordingProgress& progress) {
    const std::uint32_t n = source.FrameCount();
    auto result = test::BlankWave(*source.format, n);
    std::int64_t sumL = 0, sumR = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        sumL += LeftOf(source.GetFrame(i));
        sumR += RightOf(source.GetFrame(i));
        if ((i + 1) % 32768 == 0 || i + 1 == n)
            progress.SetPos(static_cast<int>(std::uint64_t{i + 1} * 50 / n));
    }
    const auto meanL = static_cast<std::int16_t>(sumL / static_cast<std::int64_t>(n));
    const auto meanR = static_cast<std::int16_t>(sumR / static_cast<std::int64_t>(n));
    for (std::uint32_t i = 0; i < n; ++i) {
        const FrameValue v = source.GetFrame(i);
        result->SetFrame(i, PackFrame(Clamp16(LeftOf(v) - meanL), Clamp16(RightOf(v) - meanR)));
        if ((i + 1) % 32768 == 0 || i + 1 == n)
            progress.SetPos(50 + static_cast<int>(std::uint64_t{i + 1} * 50 / n));
    }
    result->CopyInfo(&source);
    return result;
}

TEST(CenterSignals, RemovesTheMeanWithClampingAndRefusesAnEmptyWave) {
    auto wave = test::BlankWave(PcmFormat(22050, 16, 2), 3);
    // Means: left (-32768 + 1000 + 1000) / 3 = -10256 (toward zero), right 0.
    wave->SetFrame(0, PackFrame(-32768, 5));
    wave->SetFrame(1, PackFrame(1000, -5));
    wave->SetFrame(2, PackFrame(1000, 0));
    auto result = CenterSignalsEffect().Process(*wave, nullptr);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetFrame(0), PackFrame(-22512, 5));
    EXPECT_EQ(result->GetFrame(1), PackFrame(11256, -5));

    auto centred = test::BlankWave(PcmFormat(22050, 16, 2), 2);
    centred->SetFrame(0, PackFrame(32767, -7));
    centred->SetFrame(1, PackFrame(-32767, 7));
    EXPECT_TRUE(test::SameWave(*centred, CenterSignalsEffect().Process(*centred, nullptr).get()));

    auto empty = test::BlankWave(PcmFormat(22050, 16, 2), 0);
    EXPECT_EQ(CenterSignalsEffect().Process(*empty, nullptr), nullptr);
}

TEST(CenterSignals, FastPathMatchesReferenceOnEveryLayout) {
    test::ForEachRandomCase(5030, 16, 100000, [](test::RandomCase& c) {
        if (c.wave->FrameCount() == 0) return;
        RecordingProgress fast, plain;
        auto got = CenterSignalsEffect().Process(*c.wave, &fast);
        auto want = ReferenceCenter(*c.wave, plain);
        EXPECT_TRUE(test::SameWave(*want, got.get()));
        EXPECT_EQ(fast.positions, plain.positions);
    });
}

}  // namespace
}  // namespace kelvane
