#include "processing/Echo.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/profile/Profile.h"
#include "processing/PropertyCheck.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::RecordingProgress;

EchoEffect Echo(int number, int delay, int size) {
    test::ScopedProfile profile;
    EchoEffect effect;
    effect.settings = {number, delay, size};
    return effect;
}

// The echo as described, one frame at a time through GetFrame/SetFrame.
std::unique_ptr<WaveObject> ReferenceEcho(const WaveObject& source, std::uint32_t start,
                                          std::uint32_t length, const EchoSettings& s,
                                          RecordingProgress& progress) {
    const std::uint32_t n = source.FrameCount();
    const std::uint32_t rate = source.format->samplesPerSec;
    const auto delay =
        static_cast<std::uint32_t>(static_cast<std::uint32_t>(s.delay) * rate * 0.001);
    const std::uint32_t first = length == 0 ? 0 : start;
    const std::uint32_t len = length == 0 ? n : length;
    auto result = test::BlankWave(*source.format, n);
    const auto total = static_cast<std::int32_t>(n + (s.number + 1) * len);
    std::int32_t count = 0;
    auto tick = [&] {
        if (count % 16384 == 0) progress.SetPos(static_cast<int>(count / double(total) * 100.0));
        ++count;
    };
    for (std::uint32_t i = 0; i < n; ++i) {
        tick();
        result->SetFrame(i, source.GetFrame(i));
    }
    for (int j = 1; j <= s.number; ++j) {
        const auto gain = static_cast<int>(100 * std::pow(s.size * 0.01, j));
        const std::uint64_t offset = std::uint64_t{delay} * j;
        for (std::uint32_t i = 0; i < len; ++i) {
            tick();
            if (i + offset >= len) continue;
            const auto at = static_cast<std::uint32_t>(first + i + offset);
            const FrameValue dry = source.GetFrame(first + i);
            const FrameValue wet = result->GetFrame(at);
            auto mix = [gain](std::int32_t w, std::int32_t d) {
                return Clamp16(static_cast<std::int32_t>(w + (gain * d) * 0.01));
            };
            result->SetFrame(
                at, PackFrame(mix(LeftOf(wet), LeftOf(dry)), mix(RightOf(wet), RightOf(dry))));
        }
    }
    result->CopyInfo(&source);
    return result;
}

TEST(Echo, DefaultsAt22050StayInsideTheSelection) {
    test::ScopedProfile profile;
    const EchoEffect effect;
    ASSERT_EQ(effect.settings.number, 1);
    ASSERT_EQ(effect.settings.delay, 100);
    ASSERT_EQ(effect.settings.size, 70);
    auto wave = test::RandomWave(PcmFormat(22050, 16, 2), 12000, 7);
    const std::uint32_t start = 1000, len = 8000;
    auto out = effect.Process(*wave, start, len, nullptr);
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(out->FrameCount(), 12000u);
    for (std::uint32_t i = 0; i < 12000; ++i) {
        const FrameValue in = wave->GetFrame(i);
        if (i < start + 2205 || i >= start + len) {
            ASSERT_EQ(out->GetFrame(i), in) << "frame " << i << " changed";
            continue;
        }
        const FrameValue dry = wave->GetFrame(i - 2205);
        auto expect = [](std::int32_t w, std::int32_t d) {
            return Clamp16(static_cast<std::int32_t>(w + (70 * d) * 0.01));
        };
        ASSERT_EQ(out->GetFrame(i),
                  PackFrame(expect(LeftOf(in), LeftOf(dry)), expect(RightOf(in), RightOf(dry))))
            << "frame " << i;
    }
    // A selection shorter than the delay gets no echo at all.
    EXPECT_TRUE(test::SameWave(*wave, effect.Process(*wave, 5000, 2205, nullptr).get()));
}

TEST(Echo, GainsCompoundAndSumsClamp) {
    // An impulse: N = 3 at 50 % gives 50, 25 and 12 percent at D, 2D and 3D (D = 80 at 8000 Hz).
    auto impulse = test::BlankWave(PcmFormat(8000, 16, 1), 400);
    for (std::uint32_t i = 0; i < 400; ++i) impulse->SetFrame(i, 0);
    impulse->SetFrame(10, PackFrame(10000, 10000));
    auto out = Echo(3, 10, 50).Process(*impulse, 0, 0, nullptr);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(LeftOf(out->GetFrame(90)), 5000);
    EXPECT_EQ(LeftOf(out->GetFrame(170)), 2500);
    EXPECT_EQ(LeftOf(out->GetFrame(250)), 1200);
    EXPECT_EQ(LeftOf(out->GetFrame(330)), 0);

    // Loud sound, size 100 and overlapping echoes: the sums stop at the limits.
    auto loud = test::BlankWave(PcmFormat(8000, 16, 2), 400);
    for (std::uint32_t i = 0; i < 400; ++i) loud->SetFrame(i, PackFrame(30000, -30000));
    auto clamped = Echo(4, 5, 100).Process(*loud, 0, 0, nullptr);
    ASSERT_NE(clamped, nullptr);
    EXPECT_EQ(clamped->GetFrame(39), PackFrame(30000, -30000));
    EXPECT_EQ(clamped->GetFrame(40), PackFrame(32767, -32768));
    EXPECT_EQ(clamped->GetFrame(399), PackFrame(32767, -32768));
}

TEST(Echo, ProgressCountsOnePassMoreThanItMakes) {
    auto wave = test::RandomWave(PcmFormat(22050, 8, 1), 100000, 3);
    RecordingProgress progress;
    auto out = Echo(1, 100, 70).Process(*wave, 0, 0, &progress);
    ASSERT_NE(out, nullptr);
    // 200000 frames counted of a total of 300000: reports at 0, 16384, ... 196608.
    ASSERT_EQ(progress.positions.size(), 13u);
    EXPECT_EQ(progress.positions.front(), 0);
    EXPECT_EQ(progress.positions.back(), 65);
}

TEST(Echo, SettingsComeFromTheBatchSectionOfAPrivateFile) {
    test::ScopedProfile profile;
    test::ScopedTempDir dir;
    const std::string file = dir.File("FIL1.tmp");
    const std::string text = "[BATCH]\nDELAY=250\n";
    ASSERT_TRUE(test::WriteFileBytes(file, {text.begin(), text.end()}));
    EchoEffect batch({file, "BATCH"});
    EXPECT_EQ(batch.settings.delay, 250);
    EXPECT_EQ(batch.settings.number, 1);  // missing keys take the defaults
    EXPECT_EQ(batch.settings.size, 70);
    batch.settings.number = 7;
    batch.SaveSettings();
    EXPECT_EQ(GetPrivateProfileString("BATCH", "NUMBER", "", file), "7");
    EXPECT_EQ(GetProfileInt(kEchoSection, "NUMBER", -1), -1);  // the profile is untouched

    // Unchecked values from a file: a delay of 0 lands every echo on its own frame, a
    // negative one puts them beyond the selection, a negative number makes none; no crash.
    auto wave = test::RandomWave(PcmFormat(11025, 16, 2), 3000, 9);
    for (const EchoSettings& s : {EchoSettings{3, 0, 80}, EchoSettings{3, -100, 80},
                                  EchoSettings{3, 1000000, 80}, EchoSettings{-3, 100, 80}}) {
        EchoEffect odd({file, "BATCH"});
        odd.settings = s;
        RecordingProgress fast, plain;
        auto got = odd.Process(*wave, 0, 0, &fast);
        EXPECT_TRUE(test::SameWave(*ReferenceEcho(*wave, 0, 0, s, plain), got.get()))
            << s.number << " echoes, " << s.delay << " ms";
        EXPECT_EQ(fast.positions, plain.positions);
    }
}

TEST(Echo, FastPathMatchesReferenceOnEveryLayout) {
    test::ForEachRandomCase(5301, 24, 70000, [](test::RandomCase& c) {
        std::mt19937& rng = *c.rng;
        const EchoSettings s{static_cast<int>(rng() % 12), static_cast<int>(rng() % 400),
                             1 + static_cast<int>(rng() % 120)};
        RecordingProgress fast, plain;
        auto got = Echo(s.number, s.delay, s.size).Process(*c.wave, c.start, c.length, &fast);
        auto want = ReferenceEcho(*c.wave, c.start, c.length, s, plain);
        EXPECT_TRUE(test::SameWave(*want, got.get()))
            << s.number << " echoes, " << s.delay << " ms, " << s.size << "%";
        EXPECT_EQ(fast.positions, plain.positions);
    });
}

}  // namespace
}  // namespace kelvane
