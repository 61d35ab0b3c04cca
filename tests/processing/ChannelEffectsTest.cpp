// Mute, swap channels and reverse: the effects that move or clear frames without arithmetic.
#include <gtest/gtest.h>

#include "processing/Mute.h"
#include "processing/PropertyCheck.h"
#include "processing/Reverse.h"
#include "processing/SwapChannels.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::RecordingProgress;

TEST(Mute, FastPathMatchesReferenceOnEveryLayout) {
    test::ScopedProfile profile;
    const MuteEffect mute({});
    test::ForEachRandomCase(5010, 16, 70000, [&](test::RandomCase& c) {
        RecordingProgress fast, plain;
        auto got = mute.Process(*c.wave, c.start, c.length, &fast);
        auto want = test::ReferenceRangeLoop(
            *c.wave, c.start, c.length, plain,
            [](FrameValue, std::uint32_t, std::uint32_t, std::uint32_t) { return 0u; });
        EXPECT_TRUE(test::SameWave(*want, got.get()));
        EXPECT_EQ(fast.positions, plain.positions);
    });
}

TEST(SwapChannels, FastPathMatchesReferenceOnEveryLayout) {
    test::ForEachRandomCase(5011, 16, 70000, [](test::RandomCase& c) {
        RecordingProgress fast, plain;
        auto got = SwapChannelsEffect().Process(*c.wave, c.start, c.length, &fast);
        auto want =
            test::ReferenceRangeLoop(*c.wave, c.start, c.length, plain,
                                     [](FrameValue v, std::uint32_t, std::uint32_t, std::uint32_t) {
                                         return PackFrame(RightOf(v), LeftOf(v));
                                     });
        EXPECT_TRUE(test::SameWave(*want, got.get()));
        EXPECT_EQ(fast.positions, plain.positions);
    });
}

// Frame i of the range is written at 2 * start + len - 1 - i; progress counts the frames read.
std::unique_ptr<WaveObject> ReferenceReverse(const WaveObject& source, std::uint32_t start,
                                             std::uint32_t length, RecordingProgress& progress) {
    const std::uint32_t n = source.FrameCount();
    auto result = test::BlankWave(*source.format, n);
    const std::uint32_t s = length == 0 ? 0 : start;
    const std::uint32_t len = length == 0 ? n : length;
    for (std::uint32_t i = 0; i < n; ++i) {
        if ((i & 0x3FFF) == 0)
            progress.SetPos(static_cast<int>(static_cast<double>(i) / n * 100.0));
        const bool inside = i >= s && i < s + len;
        result->SetFrame(inside ? 2 * s + len - 1 - i : i, source.GetFrame(i));
    }
    result->CopyInfo(&source);
    return result;
}

TEST(Reverse, FastPathMatchesReferenceOnEveryLayoutAndTwiceRestores) {
    test::ForEachRandomCase(5012, 16, 70000, [](test::RandomCase& c) {
        RecordingProgress fast, plain;
        auto got = ReverseEffect().Process(*c.wave, c.start, c.length, &fast);
        auto want = ReferenceReverse(*c.wave, c.start, c.length, plain);
        EXPECT_TRUE(test::SameWave(*want, got.get()));
        EXPECT_EQ(fast.positions, plain.positions);
        ASSERT_NE(got, nullptr);
        EXPECT_TRUE(test::SameWave(
            *c.wave, ReverseEffect().Process(*got, c.start, c.length, nullptr).get()));
    });
}

// sox as an independent implementation: both effects are exact on 16-bit stereo.
TEST(ChannelEffects, ReverseAndSwapAgreeWithSox) {
    if (!test::RequireTool("sox")) return;
    test::ScopedTempDir dir;
    auto wave = test::SweepWave(44100, 2, 50000, 100, 5000, 30000);
    ASSERT_NE(wave, nullptr);
    ASSERT_TRUE(
        test::WriteFileBytes(dir.File("in.raw"), {wave->data, wave->data + wave->dataBytes}));
    const std::string raw = "-t raw -r 44100 -e signed -b 16 -c 2 ";
    struct Case {
        const char* sox;
        std::unique_ptr<WaveObject> ours;
    } cases[] = {{"reverse", ReverseEffect().Process(*wave, 0, 0, nullptr)},
                 {"swap", SwapChannelsEffect().Process(*wave, 0, 0, nullptr)}};
    for (const Case& c : cases) {
        ASSERT_EQ(test::RunCommand("sox " + raw + dir.File("in.raw") + " " + raw +
                                   dir.File("out.raw") + " " + c.sox),
                  0);
        const auto theirs = test::ReadFileBytes(dir.File("out.raw"));
        ASSERT_NE(c.ours, nullptr);
        EXPECT_EQ(theirs, std::vector<std::uint8_t>(c.ours->data, c.ours->data + c.ours->dataBytes))
            << c.sox;
    }
}

}  // namespace
}  // namespace kelvane
