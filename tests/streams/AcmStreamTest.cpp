#include "formats/streams/AcmStream.h"

#include <gtest/gtest.h>

#include <cstring>

#include "acm/WavImage.h"
#include "formats/streams/BlockStream.h"
#include "platform/acm/GsmDriver.h"
#include "platform/acm/ImaAdpcmDriver.h"

namespace kelvane {
namespace {

using test::AsBytes;

// The whole conversion in one call, as the reference for the stream's piecewise work.
std::vector<std::uint8_t> ConvertAtOnce(const WaveFormat& s, const WaveFormat& t,
                                        std::vector<std::uint8_t> data) {
    std::unique_ptr<AcmConversion> conversion;
    EXPECT_EQ(AcmConversion::Open(s, t, conversion), AcmResult::Ok);
    std::uint32_t size = 0;
    conversion->TargetSize(static_cast<std::uint32_t>(data.size()), size);
    std::vector<std::uint8_t> out(size);
    AcmStreamHeader header{
        0, data.data(), static_cast<std::uint32_t>(data.size()), 0, out.data(), size, 0};
    EXPECT_EQ(conversion->Prepare(header), AcmResult::Ok);
    EXPECT_EQ(conversion->Convert(header, 0), AcmResult::Ok);
    out.resize(header.targetUsed);
    return out;
}

std::vector<std::uint8_t> ReadAll(SampleStream& stream, std::uint32_t piece) {
    std::vector<std::uint8_t> out, buffer(piece);
    while (std::uint32_t n = stream.Read(buffer.data(), piece))
        out.insert(out.end(), buffer.begin(), buffer.begin() + n);
    return out;
}

struct Fixture {
    WaveFormat pcm = PcmFormat(44100, 16, 2);
    FormatPtr ima = ImaAdpcmDriver::MakeFormat(44100, 2);
    // 1.3 s: the last quarter second holds a partial block.
    std::vector<std::uint8_t> source = AsBytes(test::Sweep(44100, 2, 57330, 100, 9000));
    std::vector<std::uint8_t> encoded = ConvertAtOnce(pcm, *ima, source);
};

TEST(AcmStream, PiecewiseReadsCarryPartialBlocksAndEqualOneConversion) {
    Fixture f;
    ASSERT_EQ(f.encoded.size() % 2048, 0u);
    for (std::uint32_t piece : {1u, 999u, 65536u}) {
        BorrowedBlock block(f.source.data(), static_cast<std::uint32_t>(f.source.size()), false,
                            true);
        BlockStream inner(block);
        AcmStream encoder(f.pcm, *f.ima, inner);
        ASSERT_EQ(encoder.IsOk(), 1u);
        EXPECT_EQ(ReadAll(encoder, piece), f.encoded) << piece;
        EXPECT_TRUE(encoder.IsEof());
    }
    BorrowedBlock block(f.encoded.data(), static_cast<std::uint32_t>(f.encoded.size()), false,
                        true);
    AcmStream decoder(*f.ima, f.pcm, std::make_unique<BlockStream>(block));
    EXPECT_EQ(ReadAll(decoder, 4097), ConvertAtOnce(*f.ima, f.pcm, f.encoded));
}

TEST(AcmStream, SeekLandsOnASourceBlockAndSizeFollowsTheByteRates) {
    Fixture f;
    const auto decoded = ConvertAtOnce(*f.ima, f.pcm, f.encoded);
    BorrowedBlock block(f.encoded.data(), static_cast<std::uint32_t>(f.encoded.size()), false,
                        true);
    BlockStream inner(block);
    AcmStream stream(*f.ima, f.pcm, inner);
    const std::uint64_t size =
        std::uint64_t{block.size} * f.pcm.avgBytesPerSec / f.ima->avgBytesPerSec;
    EXPECT_EQ(stream.Size(), size);

    const std::uint32_t blockBytes = 2041 * 4;
    const std::uint32_t landed =
        stream.Seek(static_cast<std::int32_t>(3 * blockBytes + 5000), SeekStart);
    EXPECT_EQ(inner.Position(), 3u * 2048);
    EXPECT_LE(landed, 3u * blockBytes + 5000);
    EXPECT_EQ(stream.Seek(0, SeekCurrent), landed);
    std::vector<std::uint8_t> piece(1000);
    ASSERT_EQ(stream.Read(piece.data(), 1000), 1000u);
    EXPECT_EQ(std::memcmp(piece.data(), decoded.data() + 3 * blockBytes, 1000), 0);

    EXPECT_EQ(stream.Seek(-100, SeekStart), 0u);
    EXPECT_EQ(stream.Seek(0, 9), stream.Seek(0, SeekCurrent));
    EXPECT_LE(stream.Seek(1 << 30, SeekStart), stream.Size());
    // The size is rounded down through the byte rates, so the end maps into the last block.
    EXPECT_GE(inner.Position(), block.size - 2048);
    // Bytes converted before the seek are still delivered first.
    EXPECT_EQ(stream.Read(piece.data(), 1000), 1000u);
    EXPECT_EQ(std::memcmp(piece.data(), decoded.data() + 3 * blockBytes + 1000, 1000), 0);
}

TEST(AcmStream, ARefusedConversionIsNotOkAndDeliversNothing) {
    Fixture f;
    BorrowedBlock block(f.source.data(), static_cast<std::uint32_t>(f.source.size()), false, true);
    BlockStream inner(block);
    AcmStream stream(f.pcm, *GsmDriver::MakeFormat(), inner);
    EXPECT_EQ(stream.IsOk(), 0u);
    std::uint8_t byte;
    EXPECT_EQ(stream.Read(&byte, 1), 0u);
    EXPECT_EQ(stream.Size(), 0u);
    EXPECT_TRUE(stream.IsEof());
    EXPECT_EQ(stream.Seek(0, SeekStart), kSeekFailed);

    AcmStream overNothing(*f.ima, f.pcm, std::unique_ptr<SampleStream>{});
    EXPECT_EQ(overNothing.IsOk(), 0u);
}

TEST(AcmStream, AnEmptySourceEndsAtOnce) {
    Fixture f;
    GlobalBlock empty(0, false);
    BlockStream inner(empty);
    AcmStream stream(*f.ima, f.pcm, inner);
    ASSERT_EQ(stream.IsOk(), 1u);
    std::uint8_t byte;
    EXPECT_EQ(stream.Read(&byte, 1), 0u);
    EXPECT_TRUE(stream.IsEof());
}

}  // namespace
}  // namespace kelvane
