#include "formats/MpegFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "formats/FormatsTestUtil.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

std::vector<std::int16_t> Reference(const std::string& name) {
    const auto bytes = test::ReadFileBytes(test::DataFile("mpeg/" + name));
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

TEST(MpegFiles, DecodeToTheReferenceSamplesWithTheFilesRateAndChannels) {
    const std::tuple<const char*, const char*, std::uint32_t, std::uint16_t, std::uint32_t> rows[] =
        {
            {"l1_mkmp1_stereo.mp1", "l1_mkmp1_stereo.ref.s16", 44100, 2, 1},
            {"l1_32k.mp1", "l1_32k.ref.s16", 32000, 1, 1},
            {"l2_mpeg2_24k.mp2", "l2_mpeg2_24k.ref.s16", 24000, 1, 2},
        };
    for (const auto& [file, ref, rate, channels, layer] : rows) {
        auto wave =
            test::LoadOrFail(test::DataFile(std::string("mpeg/") + file), LOAD_CONVERT_TO_PCM);
        ASSERT_EQ(wave->mode, WaveMode::Resident) << file;
        EXPECT_TRUE(SameFormat(*wave->format, PcmFormat(rate, 16, channels))) << file;
        EXPECT_EQ(wave->sourceRate, rate);
        ASSERT_TRUE(wave->mpegInfo);
        EXPECT_EQ(wave->mpegInfo->size, 40u);
        EXPECT_EQ(wave->mpegInfo->layer, layer);
        // Decoders differ by one step between their CPU-specific variants.
        EXPECT_LE(test::MaxDifference(test::Samples16(*wave), Reference(ref)), 1) << file;
    }
}

TEST(MpegFiles, FlagsChooseStreamedHeaderOnlyOrDecoded) {
    const std::string file = test::DataFile("mpeg/l2_mpeg2_24k.mp2");
    auto streamed = test::LoadOrFail(file, 0);
    EXPECT_EQ(streamed->mode, WaveMode::Streamed);
    EXPECT_EQ(streamed->sourceType, SourceType::Mpeg);
    EXPECT_EQ(streamed->sourceBits, 0);
    EXPECT_EQ(streamed->FrameCount(), Reference("l2_mpeg2_24k.ref.s16").size());

    auto inMemory = test::LoadOrFail(file, LOAD_TO_MEMORY);
    EXPECT_EQ(inMemory->mode, WaveMode::Streamed);

    WaveObject header;
    ASSERT_EQ(header.Load(file, LOAD_HEADER_ONLY), FileError::Success);
    EXPECT_EQ(header.mode, WaveMode::FormatOnly);
    EXPECT_FALSE(header.stream);
    ASSERT_TRUE(header.mpegInfo);
    EXPECT_EQ(header.mpegInfo->rate, 24000u);

    // A Streamed MPEG sound saves as Wave like any other.
    test::ScopedTempDir dir;
    ASSERT_EQ(streamed->Save(dir.File("m.wav"), 0), FileError::Success);
    auto back = test::LoadOrFail(dir.File("m.wav"), 0);
    EXPECT_EQ(test::Samples16(*back).size(), Reference("l2_mpeg2_24k.ref.s16").size());

    ASSERT_TRUE(test::WriteFileBytes(dir.File("noise.mp2"), std::vector<std::uint8_t>(3000, 0x11)));
    WaveObject noise;
    EXPECT_EQ(noise.Load(dir.File("noise.mp2"), 0), FileError::RiffFailed);
}

}  // namespace
}  // namespace kelvane
