#include "formats/AiffFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "formats/FormatsTestUtil.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::Be16;
using test::Be32;
using test::Text;
using Bytes = std::vector<std::uint8_t>;

Bytes Extended(std::uint16_t exponent, std::uint16_t top) {
    Bytes b;
    Be16(b, exponent);
    Be16(b, top);
    b.resize(10, 0);
    return b;
}

// An AIFF file with `before` chunks ahead of COMM, 16-bit big-endian samples.
Bytes Aiff(const std::string& form, const Bytes& rate, const std::vector<std::int16_t>& samples,
           std::uint16_t channels, std::uint16_t bits, const Bytes& before = {}) {
    Bytes chunks = before;
    Text(chunks, "COMM");
    Be32(chunks, 18);
    Be16(chunks, channels);
    Be32(chunks, static_cast<std::uint32_t>(samples.size() / channels));
    Be16(chunks, bits);
    chunks.insert(chunks.end(), rate.begin(), rate.end());
    Text(chunks, "SSND");
    Be32(chunks, static_cast<std::uint32_t>(8 + 4 + samples.size() * 2));
    Be32(chunks, 4);  // offset: four bytes of nothing before the samples
    Be32(chunks, 0);
    Be32(chunks, 0xDEADBEEF);
    for (const auto s : samples) Be16(chunks, static_cast<std::uint16_t>(s));
    Bytes file;
    Text(file, "FORM");
    Be32(file, static_cast<std::uint32_t>(chunks.size() + 4));
    Text(file, form);
    file.insert(file.end(), chunks.begin(), chunks.end());
    return file;
}

TEST(AiffRate, EncodesCommonRatesAndDecodesByTheExponentRule) {
    const std::tuple<std::uint32_t, std::uint16_t, std::uint16_t> rows[] = {
        {8000, 0x400B, 0xFA00},  {11025, 0x400C, 0xAC44}, {12000, 0x400C, 0xBB80},
        {16000, 0x400C, 0xFA00}, {22050, 0x400D, 0xAC44}, {32000, 0x400D, 0xFA00},
        {32075, 0x400D, 0xFA96}, {44100, 0x400E, 0xAC44}, {48000, 0x400E, 0xBB80},
        {96000, 0x400F, 0xBB80},
    };
    for (const auto& [rate, exponent, top] : rows) {
        std::uint8_t ext[10];
        EncodeAiffRate(rate, ext);
        EXPECT_EQ(Bytes(ext, ext + 10), Extended(exponent, top)) << rate;
        std::uint32_t decoded = 0;
        ASSERT_TRUE(DecodeAiffRate(ext, decoded));
        EXPECT_EQ(decoded, rate);
    }
    std::uint32_t rate = 0;
    EXPECT_FALSE(DecodeAiffRate(Extended(0x4008, 0xFA00).data(), rate));  // below 1024 Hz
    EXPECT_FALSE(DecodeAiffRate(Extended(0xC00E, 0xAC44).data(), rate));  // negative
    EXPECT_FALSE(DecodeAiffRate(Extended(0x4012, 0x8000).data(), rate));
}

TEST(AiffWriter, WritesTheFiftyFourByteHeaderThenBigEndianSamples) {
    test::ScopedTempDir dir;
    WaveObject wave;
    ASSERT_EQ(wave.Allocate(PcmFormat(44100, 16, 2), 2), 1u);
    const std::int16_t samples[] = {1, -2, 0x1234, -32768};
    std::memcpy(wave.data, samples, sizeof samples);
    ASSERT_EQ(wave.Save(dir.File("x.aif"), 0), FileError::Success);
    Bytes expected;
    Text(expected, "FORM");
    Be32(expected, 8 + 46);
    Text(expected, "AIFFCOMM");
    Be32(expected, 18);
    Be16(expected, 2);
    Be32(expected, 2);
    Be16(expected, 16);
    const Bytes rate = Extended(0x400E, 0xAC44);
    expected.insert(expected.end(), rate.begin(), rate.end());
    Text(expected, "SSND");
    Be32(expected, 16);
    Be32(expected, 0);
    Be32(expected, 0);
    for (const auto s : samples) Be16(expected, static_cast<std::uint16_t>(s));
    EXPECT_EQ(test::ReadFileBytes(dir.File("x.aif")), expected);
}

TEST(AiffReader, ReadsPastOtherChunksAndRefusesWhatItCannotUse) {
    test::ScopedTempDir dir;
    const std::string file = dir.File("in.aiff");
    const std::vector<std::int16_t> samples = {100, -100, 32767, -32768, 5, 6};
    Bytes odd;  // an odd-sized text chunk with its pad byte
    Text(odd, "NAME");
    Be32(odd, 3);
    Text(odd, "abc");
    odd.push_back(0);
    ASSERT_TRUE(
        test::WriteFileBytes(file, Aiff("AIFF", Extended(0x400F, 0xBB80), samples, 2, 16, odd)));
    auto wave = test::LoadOrFail(file, 0);
    EXPECT_EQ(wave->mode, WaveMode::Streamed);
    EXPECT_EQ(wave->format->samplesPerSec, 96000u);
    EXPECT_EQ(wave->FrameCount(), 3u);
    EXPECT_EQ(wave->sourceType, SourceType::Aiff);
    ASSERT_EQ(wave->Materialize(), FileError::Success);
    EXPECT_EQ(test::Samples16(*wave), samples);

    // 24-bit samples and the AIFC form go to libsndfile, which brings them to 16 bits.
    ASSERT_TRUE(test::WriteFileBytes(file, Aiff("AIFF", Extended(0x400E, 0xAC44), samples, 1, 24)));
    wave = test::LoadOrFail(file, LOAD_CONVERT_TO_PCM);
    EXPECT_EQ(wave->format->bitsPerSample, 16);
    EXPECT_EQ(wave->sourceBits, 24);
    ASSERT_TRUE(test::WriteFileBytes(file, Aiff("AIFC", Extended(0x400E, 0xAC44), samples, 1, 16)));
    wave = test::LoadOrFail(file, LOAD_CONVERT_TO_PCM);
    EXPECT_EQ(wave->sourceFormatName, "AIFF");

    WaveObject header;
    ASSERT_EQ(header.Load(file, LOAD_HEADER_ONLY), FileError::Success);
    EXPECT_EQ(header.mode, WaveMode::FormatOnly);

    const Bytes refused[] = {Aiff("AIFF", Extended(0x4008, 0xFA00), samples, 1, 16),
                             Bytes{'F', 'O', 'R', 'M', 0, 0, 0, 4, 'A', 'I', 'F', 'F'}};
    for (const auto& image : refused) {
        ASSERT_TRUE(test::WriteFileBytes(file, image));
        WaveObject w;
        EXPECT_EQ(w.Load(file, 0), FileError::Corrupt);
    }
}

}  // namespace
}  // namespace kelvane
