#include "processing/Fade.h"

#include <gtest/gtest.h>

#include "processing/Pan.h"
#include "processing/PropertyCheck.h"

namespace kelvane {
namespace {

using test::RecordingProgress;

std::int32_t Ramp(std::int32_t sample, std::uint32_t k, std::uint32_t len) {
    return static_cast<std::int32_t>(static_cast<double>(sample) * k / len);
}

TEST(Fade, OneFrameRangeBecomesSilentAndRampsTruncate) {
    auto wave = test::BlankWave(PcmFormat(22050, 16, 2), 5);
    for (std::uint32_t i = 0; i < 5; ++i) wave->SetFrame(i, PackFrame(-32768, 32767));
    for (const FadeKind kind : {FadeKind::In, FadeKind::Out}) {
        auto one = FadeEffect(kind).Process(*wave, 2, 1, nullptr);
        ASSERT_NE(one, nullptr);
        EXPECT_EQ(one->GetFrame(1), wave->GetFrame(1));
        EXPECT_EQ(one->GetFrame(2), 0u);
        EXPECT_EQ(one->GetFrame(3), wave->GetFrame(3));
    }
    // Over 3 frames the gains are 0, 1/3, 2/3; -32768 * 2 / 3 truncates to -21845, not -21846.
    auto in = FadeEffect(FadeKind::In).Process(*wave, 1, 3, nullptr);
    EXPECT_EQ(in->GetFrame(2), PackFrame(-10922, 10922));
    EXPECT_EQ(in->GetFrame(3), PackFrame(-21845, 21844));
    auto pan = PanEffect(PanKind::LeftToRight).Process(*wave, 1, 3, nullptr);
    EXPECT_EQ(pan->GetFrame(1), PackFrame(-21845, 0));
    EXPECT_EQ(pan->GetFrame(3), PackFrame(0, 21844));
}

TEST(Fade, FastPathMatchesReferenceOnEveryLayout) {
    for (const FadeKind kind : {FadeKind::In, FadeKind::Out}) {
        test::ForEachRandomCase(5002 + static_cast<int>(kind), 20, 70000, [&](test::RandomCase& c) {
            RecordingProgress fast, plain;
            auto got = FadeEffect(kind).Process(*c.wave, c.start, c.length, &fast);
            auto want = test::ReferenceRangeLoop(
                *c.wave, c.start, c.length, plain,
                [&](FrameValue v, std::uint32_t kIn, std::uint32_t kOut, std::uint32_t len) {
                    const std::uint32_t k = kind == FadeKind::In ? kIn : kOut;
                    return PackFrame(Ramp(LeftOf(v), k, len), Ramp(RightOf(v), k, len));
                });
            EXPECT_TRUE(test::SameWave(*want, got.get())) << "kind " << static_cast<int>(kind);
            EXPECT_EQ(fast.positions, plain.positions);
        });
    }
}

TEST(Pan, FastPathMatchesReferenceOnEveryLayout) {
    for (const PanKind kind : {PanKind::RightToLeft, PanKind::LeftToRight}) {
        test::ForEachRandomCase(5004 + static_cast<int>(kind), 20, 70000, [&](test::RandomCase& c) {
            RecordingProgress fast, plain;
            auto got = PanEffect(kind).Process(*c.wave, c.start, c.length, &fast);
            auto want = test::ReferenceRangeLoop(
                *c.wave, c.start, c.length, plain,
                [&](FrameValue v, std::uint32_t kIn, std::uint32_t kOut, std::uint32_t len) {
                    if (kind == PanKind::RightToLeft)
                        return PackFrame(Ramp(LeftOf(v), kIn, len), Ramp(RightOf(v), kOut, len));
                    return PackFrame(Ramp(LeftOf(v), kOut, len), Ramp(RightOf(v), kIn, len));
                });
            EXPECT_TRUE(test::SameWave(*want, got.get())) << "kind " << static_cast<int>(kind);
            EXPECT_EQ(fast.positions, plain.positions);
        });
    }
}

}  // namespace
}  // namespace kelvane
