#include "formats/streams/MpegStream.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::DataFile;
using test::ReadFileBytes;

std::unique_ptr<DataBlock> BlockOf(const std::vector<std::uint8_t>& bytes) {
    auto block = std::make_unique<GlobalBlock>(static_cast<std::uint32_t>(bytes.size()), true);
    if (!bytes.empty()) std::memcpy(block->pointer, bytes.data(), bytes.size());
    return block;
}

std::unique_ptr<MpegStream> OpenFixture(const std::string& name) {
    return std::make_unique<MpegStream>(BlockOf(ReadFileBytes(DataFile("mpeg/" + name))));
}

// The reference decode beside a fixture: "x.mp2" has "x.ref.s16".
std::vector<std::int16_t> Reference(const std::string& file) {
    const std::string base = file.substr(0, file.rfind('.'));
    const auto bytes = ReadFileBytes(DataFile("mpeg/" + base + ".ref.s16"));
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::vector<std::int16_t> ReadSamples(SampleStream& stream, std::uint32_t bytes,
                                      std::uint32_t piece = 4099) {
    std::vector<std::int16_t> out;
    std::vector<std::uint8_t> buffer(piece);
    std::vector<std::uint8_t> all;
    while (all.size() < bytes) {
        const std::uint32_t n = stream.Read(
            buffer.data(),
            std::min<std::uint32_t>(piece, bytes - static_cast<std::uint32_t>(all.size())));
        if (n == 0) break;
        all.insert(all.end(), buffer.begin(), buffer.begin() + n);
    }
    out.resize(all.size() / 2);
    std::memcpy(out.data(), all.data(), out.size() * 2);
    return out;
}

int MaxDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b,
                  std::size_t offset = 0) {
    int worst = 0;
    for (std::size_t i = 0; i < a.size() && offset + i < b.size(); ++i)
        worst = std::max(worst, std::abs(a[i] - b[offset + i]));
    return worst;
}

struct Fixture {
    const char* name;
    std::uint32_t version, layer, rate;
    std::uint16_t channels;
};

const Fixture kFixtures[] = {
    {"l1_mkmp1_mono", 1, 1, 44100, 1}, {"l1_mkmp1_stereo", 1, 1, 44100, 2},
    {"l1_32k", 1, 1, 32000, 1},        {"l2_twolame_stereo", 1, 2, 44100, 2},
    {"l2_mpeg2_24k", 2, 2, 24000, 1},
};

std::string FileOf(const Fixture& f) {
    return std::string(f.name) + (f.layer == 1 ? ".mp1" : ".mp2");
}

TEST(MpegStream, FixturesDecodeToTheirReferenceWithExactLengths) {
    for (const Fixture& f : kFixtures) {
        auto stream = OpenFixture(FileOf(f));
        ASSERT_EQ(stream->IsOk(), 1u) << f.name;
        const auto reference = Reference(FileOf(f));
        EXPECT_EQ(stream->Size(), reference.size() * 2) << f.name;
        EXPECT_EQ(stream->Caps(), 5u);
        const auto decoded = ReadSamples(*stream, 0xFFFFFFFFu);
        EXPECT_EQ(decoded.size(), reference.size()) << f.name;
        EXPECT_LE(MaxDifference(decoded, reference), 1) << f.name;
        EXPECT_TRUE(stream->IsEof()) << f.name;

        MpegInfo info;
        stream->GetInfo(info);
        EXPECT_EQ(info.size, 40u);
        EXPECT_EQ(info.version, f.version) << f.name;
        EXPECT_EQ(info.layer, f.layer) << f.name;
        EXPECT_EQ(info.rate, f.rate) << f.name;
        EXPECT_EQ(info.channels, f.channels) << f.name;
        EXPECT_GT(info.bitRate, 0u) << f.name;
    }
    MpegInfo mono;
    OpenFixture("l1_mkmp1_mono.mp1")->GetInfo(mono);
    EXPECT_EQ(mono.bitRate, 192u);
}

TEST(MpegStream, SeekingLandsOnTheRequestedSample) {
    for (const Fixture& f : kFixtures) {
        auto stream = OpenFixture(FileOf(f));
        ASSERT_EQ(stream->IsOk(), 1u);
        const auto reference = Reference(FileOf(f));
        const std::uint32_t frameBytes = 2u * f.channels;
        const std::uint32_t frames = static_cast<std::uint32_t>(reference.size()) / f.channels;
        for (std::uint32_t sample : {frames / 2, 1u, 383u, 1153u, frames - 10, 0u, frames / 3}) {
            const std::uint32_t landed =
                stream->Seek(static_cast<std::int32_t>(sample * frameBytes), SeekStart);
            ASSERT_EQ(landed, sample * frameBytes) << f.name << " " << sample;
            const auto piece = ReadSamples(*stream, 200 * frameBytes);
            ASSERT_FALSE(piece.empty());
            EXPECT_LE(MaxDifference(piece, reference, std::size_t{sample} * f.channels), 1)
                << f.name << " " << sample;
        }
        const std::uint32_t here = stream->Seek(0, SeekCurrent);
        EXPECT_EQ(stream->Seek(-static_cast<std::int32_t>(frameBytes), SeekCurrent),
                  here - frameBytes);
        EXPECT_EQ(stream->Seek(-static_cast<std::int32_t>(10 * frameBytes), SeekEnd),
                  (frames - 10) * frameBytes);
        EXPECT_EQ(stream->Seek(1 << 30, SeekStart), stream->Size());
        EXPECT_TRUE(stream->IsEof());
        std::uint8_t byte[4];
        EXPECT_EQ(stream->Read(byte, 4), 0u);
        // Seeking back from the end decodes again.
        EXPECT_EQ(stream->Seek(0, SeekStart), 0u);
        EXPECT_FALSE(stream->IsEof());
        EXPECT_LE(MaxDifference(ReadSamples(*stream, 1000), reference), 1);
    }
}

TEST(MpegStream, LayerThreeDecodesToItsTaggedLength) {
    ASSERT_TRUE(test::RequireTool("ffmpeg"));
    test::ScopedTempDir dir;
    const std::string out = dir.File("l3.raw");
    ASSERT_EQ(test::RunCommand("ffmpeg -v error -y -i '" + DataFile("mpeg/l3_lame_mono.mp3") +
                               "' -f s16le -c:a pcm_s16le '" + out + "'"),
              0);
    const auto byFfmpeg = ReadFileBytes(out);
    auto stream = OpenFixture("l3_lame_mono.mp3");
    ASSERT_EQ(stream->IsOk(), 1u);
    EXPECT_EQ(stream->Size(), byFfmpeg.size());
    const auto decoded = ReadSamples(*stream, 0xFFFFFFFFu);
    EXPECT_EQ(decoded.size() * 2, stream->Size());
    std::vector<std::int16_t> peer(byFfmpeg.size() / 2);
    std::memcpy(peer.data(), byFfmpeg.data(), peer.size() * 2);
    // Two different decoders of the same frames: close, not identical.
    EXPECT_LE(MaxDifference(decoded, peer), 64);
    MpegInfo info;
    stream->GetInfo(info);
    EXPECT_EQ(info.layer, 3u);
    EXPECT_EQ(info.bitRate, 128u);
}

TEST(MpegStream, BytesThatAreNotMpegAudioLeaveItNotOk) {
    std::mt19937 rng(11);
    std::vector<std::vector<std::uint8_t>> inputs = {
        {}, std::vector<std::uint8_t>(1, 0xFF), std::vector<std::uint8_t>(4096, 0)};
    for (std::uint32_t size : {100u, 4096u, 65536u, 1000000u}) {
        std::vector<std::uint8_t> noise(size);
        for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
        inputs.push_back(noise);
    }
    inputs.push_back(ReadFileBytes(DataFile("mpeg/l1_32k.ref.s16")));
    for (const auto& bytes : inputs) {
        MpegStream stream(BlockOf(bytes));
        EXPECT_EQ(stream.IsOk(), 0u) << bytes.size();
        std::uint8_t buffer[64];
        EXPECT_EQ(stream.Read(buffer, 64), 0u);
        EXPECT_EQ(stream.Size(), 0u);
        EXPECT_TRUE(stream.IsEof());
    }
    MpegStream none(nullptr);
    EXPECT_EQ(none.IsOk(), 0u);
    EXPECT_EQ(MpegStream::OpenCount(), 0u);
}

TEST(MpegStream, TruncatedFilesDecodeWhatTheyHold) {
    auto bytes = ReadFileBytes(DataFile("mpeg/l2_twolame_stereo.mp2"));
    bytes.resize(bytes.size() / 2 + 77);
    MpegStream stream(BlockOf(bytes));
    ASSERT_EQ(stream.IsOk(), 1u);
    const auto decoded = ReadSamples(stream, 0xFFFFFFFFu);
    EXPECT_EQ(decoded.size() * 2, stream.Size());
    EXPECT_LE(MaxDifference(decoded, Reference("l2_twolame_stereo.mp2")), 1);
}

bool ModuleLoaded() {
    void* probe = ::dlopen(MpegStream::LibraryPath(), RTLD_NOW | RTLD_NOLOAD);
    if (probe == nullptr) return false;
    ::dlclose(probe);
    return true;
}

TEST(MpegStream, StreamsShareOneLoadedModuleUntilTheLastCloses) {
    ASSERT_FALSE(ModuleLoaded());
    auto first = OpenFixture("l1_32k.mp1");
    ASSERT_TRUE(ModuleLoaded());
    auto second = OpenFixture("l2_mpeg2_24k.mp2");
    EXPECT_EQ(MpegStream::OpenCount(), 2u);
    {
        // A failed open neither counts nor unloads what the others use.
        MpegStream failed(BlockOf(std::vector<std::uint8_t>(1000, 7)));
        EXPECT_EQ(failed.IsOk(), 0u);
    }
    EXPECT_EQ(MpegStream::OpenCount(), 2u);
    first.reset();
    EXPECT_TRUE(ModuleLoaded());
    std::uint8_t buffer[16];
    EXPECT_EQ(second->Read(buffer, 16), 16u);
    second.reset();
    EXPECT_EQ(MpegStream::OpenCount(), 0u);
    EXPECT_FALSE(ModuleLoaded());

    // Loaded again on the next use.
    auto again = OpenFixture("l1_32k.mp1");
    EXPECT_EQ(again->IsOk(), 1u);
    EXPECT_TRUE(ModuleLoaded());
}

}  // namespace
}  // namespace kelvane
