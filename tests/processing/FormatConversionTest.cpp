#include "processing/FormatConversion.h"

#include <gtest/gtest.h>

#include "processing/PropertyCheck.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::RecordingProgress;

FormatConversionEffect Target(int rate, int channels, int bits) {
    test::ScopedProfile profile;
    FormatConversionEffect effect({});
    effect.settings = {rate, channels, bits};
    return effect;
}

// The accumulator as described: add the source rate, step the source frame while the sum is
// above the target rate; progress every 65536 output frames.
std::unique_ptr<WaveObject> ReferenceConvert(const WaveObject& source, int rate, int channels,
                                             int bits, RecordingProgress& progress) {
    const std::uint32_t srcRate = source.format->samplesPerSec;
    const auto newLen =
        static_cast<std::uint32_t>(std::uint64_t{source.FrameCount()} * rate / srcRate);
    WaveFormat format;
    MakePcmFormat(format, static_cast<std::uint16_t>(rate), static_cast<std::uint16_t>(bits),
                  static_cast<std::uint16_t>(channels));
    auto result = test::BlankWave(format, newLen);
    std::uint64_t acc = 0;
    std::uint32_t idx = 0;
    for (std::uint32_t j = 0; j < newLen; ++j) {
        if (j % 65536 == 0)
            progress.SetPos(static_cast<int>(static_cast<double>(j) / newLen * 100.0));
        acc += srcRate;
        while (acc > static_cast<std::uint64_t>(rate)) {
            acc -= rate;
            ++idx;
        }
        result->SetFrame(j, source.GetFrame(idx));
    }
    result->CopyInfo(&source);
    return result;
}

// Tags each frame with its own index, so the output shows which source frame it took.
std::unique_ptr<WaveObject> IndexWave(std::uint32_t rate, std::uint32_t frames) {
    auto wave = test::BlankWave(PcmFormat(rate, 16, 2), frames);
    for (std::uint32_t i = 0; i < frames; ++i) wave->SetFrame(i, PackFrame(i & 0x7FFF, i >> 15));
    return wave;
}

std::uint32_t IndexOf(FrameValue v) {
    return static_cast<std::uint32_t>(LeftOf(v)) | static_cast<std::uint32_t>(RightOf(v)) << 15;
}

TEST(FormatConversion, PicksSourceFramesByTheAccumulator) {
    auto at44100 = IndexWave(44100, 1001);
    auto half = Target(22050, 2, 16).Process(*at44100, nullptr);
    ASSERT_NE(half, nullptr);
    ASSERT_EQ(half->FrameCount(), 500u);
    for (std::uint32_t j = 0; j < 500; ++j) ASSERT_EQ(IndexOf(half->GetFrame(j)), 2 * j + 1);

    auto at8000 = IndexWave(8000, 8000);
    auto up = Target(11025, 2, 16).Process(*at8000, nullptr);
    ASSERT_NE(up, nullptr);
    ASSERT_EQ(up->FrameCount(), 11025u);
    std::uint32_t repeats = 0;
    for (std::uint32_t j = 0; j < 11025; ++j) {
        const std::uint64_t closed = (std::uint64_t{j + 1} * 8000 + 11024) / 11025 - 1;
        ASSERT_EQ(IndexOf(up->GetFrame(j)), closed) << j;
        if (j > 0 && IndexOf(up->GetFrame(j)) == IndexOf(up->GetFrame(j - 1))) ++repeats;
    }
    EXPECT_EQ(repeats, 11025u - 8000u);  // every source frame used, some twice
    EXPECT_EQ(up->format->samplesPerSec, 11025u);
    EXPECT_EQ(up->format->avgBytesPerSec, 11025u * 4);
}

TEST(FormatConversion, ChangesSampleSizeAndChannelsThroughTheFrameRules) {
    auto bytes = test::BlankWave(PcmFormat(22050, 8, 1), 3);
    bytes->data[0] = 0;
    bytes->data[1] = 128;
    bytes->data[2] = 255;
    auto wide = Target(22050, 1, 16).Process(*bytes, nullptr);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(LeftOf(wide->GetFrame(0)), -32768);
    EXPECT_EQ(LeftOf(wide->GetFrame(2)), 127 * 256);

    auto stereo = test::BlankWave(PcmFormat(22050, 16, 2), 2);
    stereo->SetFrame(0, PackFrame(-300, 0));     // (-300) / 512 truncates to 0: byte 128
    stereo->SetFrame(1, PackFrame(-32768, -1));  // -32769 / 512 = -64: byte 64
    auto narrow = Target(22050, 1, 8).Process(*stereo, nullptr);
    ASSERT_NE(narrow, nullptr);
    EXPECT_EQ(narrow->data[0], 128);
    EXPECT_EQ(narrow->data[1], 64);

    EXPECT_TRUE(test::SameWave(*stereo, Target(22050, 2, 16).Process(*stereo, nullptr).get()));
}

TEST(FormatConversion, RefusesSettingsThatDescribeNoPcmFormat) {
    auto wave = IndexWave(22050, 100);
    for (const auto& [rate, channels, bits] :
         {std::tuple{0, 1, 8}, {-8000, 1, 8}, {8000, 3, 8}, {8000, 65537, 8}, {8000, 1, 12}})
        EXPECT_EQ(Target(rate, channels, bits).Process(*wave, nullptr), nullptr)
            << rate << " " << channels << " " << bits;
}

TEST(FormatConversion, FastPathMatchesReferenceOnEveryLayoutPair) {
    constexpr int kRates[] = {8000, 11025, 22050, 44100, 48000, 8001};
    test::ForEachRandomCase(5050, 16, 140000, [&](test::RandomCase& c) {
        for (const FrameLayout target : test::kAllLayouts) {
            const WaveFormat f = test::FormatOfLayout(target, kRates[(*c.rng)() % 6]);
            const int rate = static_cast<int>(f.samplesPerSec);
            RecordingProgress fast, plain;
            auto got = Target(rate, f.channels, f.bitsPerSample).Process(*c.wave, &fast);
            auto want = ReferenceConvert(*c.wave, rate, f.channels, f.bitsPerSample, plain);
            EXPECT_TRUE(test::SameWave(*want, got.get()))
                << "to layout " << target << " at " << rate;
            EXPECT_EQ(fast.positions, plain.positions);
        }
    });
}

}  // namespace
}  // namespace kelvane
