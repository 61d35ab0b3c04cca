#include "formats/AuFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "formats/FormatsTestUtil.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::Be16;
using test::Be32;
using Bytes = std::vector<std::uint8_t>;

Bytes Au(std::uint32_t encoding, std::uint32_t rate, std::uint32_t channels, const Bytes& data,
         const std::string& annotation = "mood", std::uint32_t magic = 0x2E736E64) {
    Bytes file;
    Be32(file, magic);
    Be32(file, static_cast<std::uint32_t>(24 + annotation.size()));
    Be32(file, static_cast<std::uint32_t>(data.size()));
    Be32(file, encoding);
    Be32(file, rate);
    Be32(file, channels);
    test::Text(file, annotation);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

TEST(AuReader, ReadsFromTheHeadersOffsetAndRefusesOtherEncodings) {
    test::ScopedTempDir dir;
    const std::string file = dir.File("in.au");
    const Bytes be16 = {0x12, 0x34, 0x80, 0x00, 0x7F, 0xFF, 0xFF, 0xFE};
    ASSERT_TRUE(test::WriteFileBytes(file, Au(3, 8000, 2, be16, "a longer annotation\0\0\0\0\0")));
    auto wave = test::LoadOrFail(file, LOAD_CONVERT_TO_PCM);
    ASSERT_EQ(wave->mode, WaveMode::Resident);
    EXPECT_TRUE(SameFormat(*wave->format, PcmFormat(8000, 16, 2)));
    EXPECT_EQ(test::Samples16(*wave), (std::vector<std::int16_t>{0x1234, -32768, 32767, -2}));
    // Decoded into temporary storage, the sound counts as the editor's own.
    EXPECT_EQ(wave->sourceType, SourceType::Wave);
    EXPECT_EQ(wave->sourceRate, 8000u);

    ASSERT_TRUE(test::WriteFileBytes(file, Au(2, 11025, 1, {0x00, 0x7F, 0x80, 0xFF})));
    wave = test::LoadOrFail(file, LOAD_TO_MEMORY);
    EXPECT_EQ(Bytes(wave->data, wave->data + 4), (Bytes{0x80, 0xFF, 0x00, 0x7F}));
    EXPECT_EQ(wave->sourceBits, 8);

    // The data size of a piped file is "unknown": the samples run to the end of the file.
    ASSERT_TRUE(test::WriteFileBytes(file, Au(2, 8000, 1, {1, 2, 3})));
    Bytes unknown = test::ReadFileBytes(file);
    std::memset(unknown.data() + 8, 0xFF, 4);
    ASSERT_TRUE(test::WriteFileBytes(file, unknown));
    wave = test::LoadOrFail(file, 0);
    EXPECT_EQ(wave->FrameCount(), 3u);

    WaveObject w;
    // 32-bit samples go to libsndfile; an encoding nobody reads stays refused.
    ASSERT_TRUE(test::WriteFileBytes(file, Au(5, 8000, 1, {0, 0, 0, 0, 0, 0, 0, 0})));
    EXPECT_EQ(w.Load(file, LOAD_CONVERT_TO_PCM), FileError::Success);
    EXPECT_EQ(w.FrameCount(), 2u);
    ASSERT_TRUE(test::WriteFileBytes(file, Au(8, 8000, 1, {0, 0, 0, 0})));
    EXPECT_EQ(w.Load(file, 0), FileError::Unsupported);
    ASSERT_TRUE(test::WriteFileBytes(file, Au(3, 8000, 1, {0, 0}, "mood", 0x2E736E65)));
    EXPECT_EQ(w.Load(file, 0), FileError::Corrupt);
    ASSERT_TRUE(test::WriteFileBytes(file, Bytes{'.', 's', 'n', 'd', 0, 0, 0, 28}));
    EXPECT_EQ(w.Load(file, 0), FileError::Corrupt);
}

TEST(AuReader, CompandedFilesShowTheirCodingHeaderOnlyAndDecodeTo16Bits) {
    test::ScopedTempDir dir;
    const std::string file = dir.File("mu.au");
    ASSERT_TRUE(test::WriteFileBytes(file, Au(1, 8000, 1, {0x00, 0x80, 0xFF, 0x7F})));
    WaveObject header;
    ASSERT_EQ(header.Load(file, LOAD_HEADER_ONLY), FileError::Success);
    EXPECT_EQ(header.mode, WaveMode::FormatOnly);
    EXPECT_EQ(header.format->formatTag, kTagMuLaw);
    EXPECT_EQ(header.format->bitsPerSample, 8);

    auto wave = test::LoadOrFail(file, LOAD_CONVERT_TO_PCM);
    EXPECT_EQ(wave->format->formatTag, kTagPcm);
    EXPECT_EQ(wave->format->bitsPerSample, 16);
    EXPECT_EQ(wave->sourceTag, kTagMuLaw);
    // G.711: 0x00 and 0x80 are the extremes, 0xFF and 0x7F zero.
    EXPECT_EQ(test::Samples16(*wave), (std::vector<std::int16_t>{-32124, 32124, 0, 0}));
}

TEST(AuReader, MaterializingNoSamplesFailsAndKeepsTheStream) {
    test::ScopedTempDir dir;
    ASSERT_TRUE(test::WriteFileBytes(dir.File("e.au"), Au(3, 8000, 1, {})));
    auto wave = test::LoadOrFail(dir.File("e.au"), 0);
    ASSERT_EQ(wave->mode, WaveMode::Streamed);
    EXPECT_EQ(wave->Materialize(), FileError::BadContents);
    EXPECT_EQ(wave->mode, WaveMode::Streamed);
    WaveObject w;
    EXPECT_EQ(w.Load(dir.File("e.au"), LOAD_CONVERT_TO_PCM), FileError::BadContents);
}

TEST(AuWriter, WritesTheHeaderOfEachSubFormat) {
    test::ScopedTempDir dir;
    auto wave = test::RandomWave(PcmFormat(22050, 16, 2), 100, 9);
    const std::tuple<std::uint32_t, std::uint32_t, std::uint32_t> rows[] = {
        {0, 3, 400}, {1, 1, 200}, {2, 27, 200}};
    for (const auto& [sub, encoding, bytes] : rows) {
        const std::string file = dir.File("w.au");
        ASSERT_EQ(wave->Save(file, 0, {.code = sub}), FileError::Success) << sub;
        const Bytes got = test::ReadFileBytes(file);
        Bytes header;
        Be32(header, 0x2E736E64);
        Be32(header, 28);
        Be32(header, bytes);
        Be32(header, encoding);
        Be32(header, 22050);
        Be32(header, 2);
        test::Text(header, "mood");
        ASSERT_EQ(got.size(), 28u + bytes);
        EXPECT_EQ(Bytes(got.begin(), got.begin() + 28), header) << sub;
    }
    EXPECT_EQ(wave->Save(dir.File("w.au"), 0, {.code = 3}), FileError::BadRequest);
}

}  // namespace
}  // namespace kelvane
