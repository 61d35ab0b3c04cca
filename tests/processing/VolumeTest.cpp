#include "processing/Volume.h"

#include <gtest/gtest.h>

#include <climits>

#include "processing/PropertyCheck.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::RecordingProgress;

VolumeEffect Volume(int left, int right) {
    test::ScopedProfile profile;
    VolumeEffect effect(true, {});
    effect.settings.leftVolume = left;
    effect.settings.rightVolume = right;
    return effect;
}

// One 16-bit stereo frame through the effect.
FrameValue Apply(const VolumeEffect& effect, std::int32_t left, std::int32_t right) {
    auto wave = test::BlankWave(PcmFormat(44100, 16, 2), 1);
    wave->SetFrame(0, PackFrame(left, right));
    auto result = effect.Process(*wave, 0, 0, nullptr);
    return result ? result->GetFrame(0) : 0xDEADBEEF;
}

TEST(Volume, TruncatesTowardZeroAndClamps) {
    struct Case {
        int left, right;
        std::int32_t inL, inR, outL, outR;
    } cases[] = {
        {100, 100, -32768, 32767, -32768, 32767},  // unchanged
        {200, 200, 20000, -20000, 32767, -32768},  // clamped both ways
        {50, 50, -3, 3, -1, 1},                    // toward zero, not down
        {0, 150, 12345, -101, 0, -151},
        {INT_MAX, -100, 2, 7, 32767, -7},  // the product needs 64 bits
    };
    for (const Case& c : cases) {
        const FrameValue out = Apply(Volume(c.left, c.right), c.inL, c.inR);
        EXPECT_EQ(LeftOf(out), c.outL) << c.left << "% of " << c.inL;
        EXPECT_EQ(RightOf(out), c.outR) << c.right << "% of " << c.inR;
    }
}

TEST(Volume, FastPathMatchesReferenceOnEveryLayout) {
    test::ForEachRandomCase(5001, 24, 70000, [](test::RandomCase& c) {
        constexpr int kVolumes[] = {0, 1, 50, 99, 100, 101, 150, 200, 300, 100000, -70, INT_MIN};
        const int left = kVolumes[(*c.rng)() % 12];
        const int right = (*c.rng)() % 3 == 0 ? left : kVolumes[(*c.rng)() % 12];
        const VolumeEffect effect = Volume(left, right);
        RecordingProgress fast, plain;
        auto got = effect.Process(*c.wave, c.start, c.length, &fast);
        auto want = test::ReferenceRangeLoop(
            *c.wave, c.start, c.length, plain,
            [&](FrameValue v, std::uint32_t, std::uint32_t, std::uint32_t) {
                auto scale = [](std::int64_t s, int percent) {
                    const std::int64_t x = s * percent / 100;
                    return static_cast<std::int32_t>(x < -32768 ? -32768 : x > 32767 ? 32767 : x);
                };
                return PackFrame(scale(LeftOf(v), left), scale(RightOf(v), right));
            });
        EXPECT_TRUE(test::SameWave(*want, got.get())) << left << "% / " << right << "%";
        EXPECT_EQ(fast.positions, plain.positions);
    });
}

}  // namespace
}  // namespace kelvane
