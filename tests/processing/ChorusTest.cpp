#include "processing/Chorus.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/profile/Profile.h"
#include "processing/PropertyCheck.h"
#include "processing/RuntimeRandom.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::RecordingProgress;

// Chorus writes its settings on every run, so each effect gets a private file of its own.
struct Chorus {
    test::ScopedTempDir dir;
    ChorusEffect effect{{dir.File("FIL.tmp"), "BATCH"}};
};

// The chorus as described, with each voice read at i - k * D + displacement_k.
std::unique_ptr<WaveObject> ReferenceChorus(const WaveObject& source, std::uint32_t start,
                                            std::uint32_t length, const ChorusSettings& s,
                                            RecordingProgress& progress) {
    const std::uint32_t n = source.FrameCount();
    const std::uint32_t first = length == 0 ? 0 : start;
    const std::uint32_t len = length == 0 ? n : length;
    auto result = test::BlankWave(*source.format, n);
    const auto delay = static_cast<std::int64_t>(source.format->samplesPerSec * s.delay);
    const double gain[3] = {s.size, s.size * s.size, s.size * s.size * s.size};
    const double m = 0.02 * s.depth * s.frequency;
    double phase[3];
    for (double& p : phase) p = RuntimeRandom::Next() * 2 * m / 32767 - m;
    for (std::uint32_t i = 0; i < n; ++i) {
        if ((i & 0x3FFF) == 0)
            progress.SetPos(static_cast<int>(static_cast<double>(i) / n * 100.0));
        const FrameValue frame = source.GetFrame(i);
        if (i < first || i >= first + len || i < delay) {
            result->SetFrame(i, frame);
            continue;
        }
        std::int32_t left = LeftOf(frame), right = RightOf(frame);
        for (int k = 1; k <= 3 && (k == 1 || k <= s.number); ++k) {
            if (i < k * delay) continue;
            const FrameValue voice = source.GetFrameInterpolated(
                static_cast<double>(std::int64_t{i} - k * delay) + phase[k - 1]);
            left += static_cast<std::int32_t>(LeftOf(voice) * gain[k - 1]);
            right += static_cast<std::int32_t>(RightOf(voice) * gain[k - 1]);
        }
        result->SetFrame(i, PackFrame(Clamp16(left), Clamp16(right)));
    }
    result->CopyInfo(&source);
    return result;
}

std::unique_ptr<WaveObject> Constant(std::uint32_t rate, std::uint32_t frames, std::int32_t left,
                                     std::int32_t right) {
    auto wave = test::BlankWave(PcmFormat(rate, 16, 2), frames);
    for (std::uint32_t i = 0; i < frames; ++i) wave->SetFrame(i, PackFrame(left, right));
    return wave;
}

TEST(RuntimeRandom, RepeatsTheClassicSequenceAndChorusContinuesIt) {
    RuntimeRandom::SetState(RuntimeRandom::kInitialState);
    const int first[] = {41, 18467, 6334, 26500, 19169, 15724};
    for (const int value : first) EXPECT_EQ(RuntimeRandom::Next(), value);

    // Each run draws three values: runs differ, and a run from the initial state (a fresh
    // start of the program) always draws the same ones.
    Chorus chorus;
    auto wave = test::RandomWave(PcmFormat(22050, 16, 2), 6000, 4);
    RuntimeRandom::SetState(RuntimeRandom::kInitialState);
    auto once = chorus.effect.Process(*wave, 0, 0, nullptr);
    auto twice = chorus.effect.Process(*wave, 0, 0, nullptr);
    EXPECT_FALSE(test::SameWave(*once, twice.get()));
    RuntimeRandom::SetState(RuntimeRandom::kInitialState);
    for (int i = 0; i < 3; ++i) RuntimeRandom::Next();
    auto second = chorus.effect.Process(*wave, 0, 0, nullptr);
    EXPECT_TRUE(test::SameWave(*twice, second.get()));
}

TEST(Chorus, DefaultsAt22050AddOneThenTwoVoices) {
    Chorus chorus;
    const ChorusSettings& s = chorus.effect.settings;
    ASSERT_EQ(s.delay, 100 * 0.001);
    ASSERT_EQ(s.size, 700 * 0.001);  // a hair above 0.7
    ASSERT_EQ(s.number, 2);
    ASSERT_EQ(s.depth, 200 * 0.001);
    ASSERT_EQ(s.frequency, 10.0);

    RuntimeRandom::SetState(RuntimeRandom::kInitialState);
    const auto displacement = DrawChorusDisplacements(s.depth, s.frequency);
    EXPECT_NEAR(displacement[0], 41 * 0.08 / 32767 - 0.04, 1e-15);  // M = 0.04 frame
    EXPECT_NEAR(displacement[1], 18467 * 0.08 / 32767 - 0.04, 1e-15);

    RuntimeRandom::SetState(RuntimeRandom::kInitialState);
    auto wave = Constant(22050, 8000, 10000, -10000);
    auto out = chorus.effect.Process(*wave, 0, 0, nullptr);
    ASSERT_NE(out, nullptr);
    // D = 2205. At frame 2205 the first voice lies 0.04 frame before the wave: silence.
    for (std::uint32_t i = 0; i <= 2205; ++i) ASSERT_EQ(out->GetFrame(i), wave->GetFrame(i)) << i;
    for (std::uint32_t i = 2206; i < 4410; ++i)
        ASSERT_EQ(out->GetFrame(i), PackFrame(17000, -17000)) << i;
    for (std::uint32_t i = 4410; i < 8000; ++i)
        ASSERT_EQ(out->GetFrame(i), PackFrame(21900, -21900)) << i;
}

TEST(Chorus, LoudVoicesClampAndSelectionsMatchTheWholeWave) {
    Chorus chorus;
    chorus.effect.settings = {0.01, 0.999, 3, 0.5, 50};
    auto loud = Constant(8000, 1000, 30000, -30000);
    auto out = chorus.effect.Process(*loud, 0, 0, nullptr);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->GetFrame(79), PackFrame(30000, -30000));
    EXPECT_EQ(out->GetFrame(500), PackFrame(32767, -32768));

    // Voices are delayed against the frame itself, wherever the selection starts: chorusing
    // a selection gives the frames that chorusing the whole wave gives there.
    auto wave = test::RandomWave(PcmFormat(11025, 16, 2), 20000, 8);
    chorus.effect.settings = {0.05, 0.6, 3, 0.3, 40};
    RuntimeRandom::SetState(77);
    auto whole = chorus.effect.Process(*wave, 0, 0, nullptr);
    RuntimeRandom::SetState(77);
    auto part = chorus.effect.Process(*wave, 9000, 5000, nullptr);
    ASSERT_NE(part, nullptr);
    for (std::uint32_t i = 0; i < 20000; ++i) {
        const bool inside = i >= 9000 && i < 14000;
        ASSERT_EQ(part->GetFrame(i), inside ? whole->GetFrame(i) : wave->GetFrame(i)) << i;
    }
}

TEST(Chorus, VoicePositionsRoundWithTheMagnitudeOfTheFrameIndex) {
    // A displacement of -(0.5 + 4.5 * 2^-52): near frame 10 the position keeps a little of
    // the excess (fraction 0.5 - 2^-49), from frame 16 on it rounds to exactly m - 0.5, and
    // even steps between neighbours then interpolate one higher.
    Chorus chorus;
    chorus.effect.settings = {0.0025, 0.9, 1, 1.000000000000002, 25};
    auto wave = test::RandomWave(PcmFormat(8000, 16, 2), 5000, 21);
    constexpr std::uint32_t kDrawsZero = 2708534849u;
    RuntimeRandom::SetState(kDrawsZero);
    EXPECT_EQ(DrawChorusDisplacements(chorus.effect.settings.depth, 25)[0], -0.500000000000001);
    RecordingProgress fast, plain;
    RuntimeRandom::SetState(kDrawsZero);
    auto got = chorus.effect.Process(*wave, 0, 0, &fast);
    RuntimeRandom::SetState(kDrawsZero);
    EXPECT_TRUE(
        test::SameWave(*ReferenceChorus(*wave, 0, 0, chorus.effect.settings, plain), got.get()));
}

TEST(Chorus, SettingsComeFromTheBatchSectionAndAreWrittenOnEveryRun) {
    test::ScopedProfile profile;
    test::ScopedTempDir dir;
    const std::string file = dir.File("FIL1.tmp");
    const std::string text =
        "[BATCH]\nCHORUSDELAY=250\nCHORUSSIZE=500\nNUMCHORUS=3\nMODDEPTH=100\nMODFREQ=5\n";
    ASSERT_TRUE(test::WriteFileBytes(file, {text.begin(), text.end()}));
    ChorusEffect batch({file, "BATCH"});
    EXPECT_EQ(batch.settings.delay, 0.25);
    EXPECT_EQ(batch.settings.size, 0.5);
    EXPECT_EQ(batch.settings.number, 3);
    EXPECT_EQ(batch.settings.depth, 0.1);
    EXPECT_EQ(batch.settings.frequency, 5.0);

    batch.settings.size = 0.6;
    auto wave = test::RandomWave(PcmFormat(8000, 8, 2), 100, 2);
    ASSERT_NE(batch.Process(*wave, 0, 0, nullptr), nullptr);
    EXPECT_EQ(GetPrivateProfileString("BATCH", "CHORUSSIZE", "", file), "600");
    EXPECT_EQ(GetPrivateProfileString("BATCH", "CHORUSDELAY", "", file), "250");
    EXPECT_EQ(GetProfileInt(kChorusSection, "CHORUSSIZE", -1), -1);
}

TEST(Chorus, FastPathMatchesReferenceOnEveryLayout) {
    test::ForEachRandomCase(5501, 24, 70000, [](test::RandomCase& c) {
        std::mt19937& rng = *c.rng;
        Chorus chorus;
        ChorusSettings& s = chorus.effect.settings;
        s.delay = (1 + rng() % 300) * 0.001;
        s.size = (1 + rng() % 999) * 0.001;
        s.number = static_cast<int>(rng() % 5);
        s.depth = (1 + rng() % 999) * 0.001;
        s.frequency = 1 + rng() % 100;
        RecordingProgress fast, plain;
        const std::uint32_t state = rng();
        RuntimeRandom::SetState(state);
        auto got = chorus.effect.Process(*c.wave, c.start, c.length, &fast);
        RuntimeRandom::SetState(state);
        auto want = ReferenceChorus(*c.wave, c.start, c.length, s, plain);
        EXPECT_TRUE(test::SameWave(*want, got.get()))
            << s.delay << " s, " << s.size << ", " << s.number << " voices";
        EXPECT_EQ(fast.positions, plain.positions);
    });
}

}  // namespace
}  // namespace kelvane
