#include "formats/WaveFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "formats/FormatsTestUtil.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::Le16;
using test::Le32;
using test::Text;
using Bytes = std::vector<std::uint8_t>;

struct Chunk {
    std::string id;
    Bytes body;
};

Bytes Riff(const std::vector<Chunk>& chunks, std::int64_t sizeAdjust = 0) {
    Bytes body;
    Text(body, "WAVE");
    for (const auto& c : chunks) {
        Text(body, c.id);
        Le32(body, static_cast<std::uint32_t>(c.body.size()));
        body.insert(body.end(), c.body.begin(), c.body.end());
        if (c.body.size() % 2) body.push_back(0);
    }
    Bytes file;
    Text(file, "RIFF");
    Le32(file, static_cast<std::uint32_t>(body.size() + sizeAdjust));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

Bytes FormatBody(const WaveFormat& f, std::size_t size) {
    Bytes b(std::max(size, sizeof f));
    std::memcpy(b.data(), &f, sizeof f);
    b.resize(size);
    return b;
}

Bytes Info(const std::vector<Chunk>& texts) {
    Bytes list;
    Text(list, "INFO");
    for (const auto& t : texts) {
        Text(list, t.id);
        Le32(list, static_cast<std::uint32_t>(t.body.size()));
        list.insert(list.end(), t.body.begin(), t.body.end());
        if (t.body.size() % 2) list.push_back(0);
    }
    return list;
}

Bytes Z(const std::string& s) {
    Bytes b(s.begin(), s.end());
    b.push_back(0);
    return b;
}

TEST(WaveWriter, WritesChunksInOrderWithPadBytesAndTheTitleAsName) {
    test::ScopedTempDir dir;
    WaveObject wave;
    ASSERT_EQ(wave.Allocate(PcmFormat(8000, 8, 1), 3), 1u);
    std::memcpy(wave.data, "\x10\x80\xF0", 3);
    const WaveFormat f = PcmFormat(8000, 8, 1);
    const Bytes expected = Riff({{"fmt ", FormatBody(f, 18)},
                                 {"data", {0x10, 0x80, 0xF0}},
                                 {"LIST", Info({{"INAM", Z("tone")}})}});

    ASSERT_EQ(wave.Save(dir.File("tone.wav"), 0), FileError::Success);
    EXPECT_EQ(test::ReadFileBytes(dir.File("tone.wav")), expected);
    EXPECT_STREQ(wave.GetInfo("INAM"), "tone");
    // The plain writer writes the same bytes.
    ASSERT_EQ(wave.WriteWaveFile(dir.File("tone.wav")), 1u);
    EXPECT_EQ(test::ReadFileBytes(dir.File("tone.wav")), expected);
}

TEST(WaveReader, FindsChunksInAnyOrderAndReadsTheirBodiesAsWritten) {
    test::ScopedTempDir dir;
    const std::string file = dir.File("in.wav");
    WaveFormat adpcm = PcmFormat(22050, 4, 1);
    adpcm.formatTag = 0x11;
    adpcm.extraSize = 32;
    Bytes long50 = FormatBody(adpcm, 50);
    long50[49] = 0x5A;
    const Bytes image = Riff({{"data", {1, 2, 3, 4}},
                              {"junk", {9, 9, 9}},
                              {"LIST", Info({{"ICMT", Z("1234")},
                                             {"XXXX", Z("skip")},
                                             {"IART", Bytes{'n', 'o', 'n', 'u', 'l'}}})},
                              {"fmt ", FormatBody(PcmFormat(8000, 16, 1), 16)}});
    ASSERT_TRUE(test::WriteFileBytes(file, image));
    auto wave = test::LoadOrFail(file, 0);
    EXPECT_EQ(wave->format->extraSize, 0);
    EXPECT_EQ(wave->frameLayout, LayoutMono16);
    EXPECT_EQ(wave->dataBytes, 4u);
    EXPECT_EQ(wave->data[3], 4);
    EXPECT_STREQ(wave->GetInfo("ICMT"), "1234");
    EXPECT_STREQ(wave->GetInfo("IART"), "nonul");

    ASSERT_TRUE(test::WriteFileBytes(file, Riff({{"fmt ", long50}, {"data", {1, 2}}})));
    wave = test::LoadOrFail(file, LOAD_TO_MEMORY);
    EXPECT_EQ(wave->format->formatTag, 0x11);
    EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(wave->format.get())[49], 0x5A);
}

TEST(WaveReader, RefusesDamagedFilesWithCodeFive) {
    test::ScopedTempDir dir;
    const std::string file = dir.File("bad.wav");
    const Bytes fmt = FormatBody(PcmFormat(8000, 16, 1), 18);
    Bytes longData = Riff({{"fmt ", fmt}, {"data", {1, 2, 3, 4}}});
    longData[longData.size() - 8] = 6;  // the data size now runs 2 bytes past the end
    Bytes notWave = Riff({{"fmt ", fmt}, {"data", {}}});
    notWave[8] = 'X';
    const Bytes cases[] = {longData, notWave, Riff({{"fmt ", fmt}}), Riff({{"data", {1, 2}}})};
    for (const auto& image : cases) {
        ASSERT_TRUE(test::WriteFileBytes(file, image));
        for (std::uint32_t flags : {0u, LOAD_TO_MEMORY, LOAD_HEADER_ONLY}) {
            WaveObject wave;
            EXPECT_EQ(wave.Load(file, flags), FileError::BadContents);
        }
    }
    WaveObject wave;
    EXPECT_EQ(wave.Load(dir.File("missing.wav"), 0), FileError::CannotOpen);
}

TEST(WaveLoad, TheDocumentsOpenConvertsCompressedDataIntoATemporaryFileThatVanishes) {
    test::ScopedTempDir dir;
    auto wave = test::SweepWave(11025, 2, 5000, 100, 3000, 20000);
    WaveFormat mulaw = PcmFormat(11025, 8, 2);
    mulaw.formatTag = kTagMuLaw;
    const std::string file = dir.File("mu.wav");
    ASSERT_EQ(wave->Save(file, 0, {.target = &mulaw}), FileError::Success);
    const Bytes bytes = test::ReadFileBytes(file);
    // "fmt " of 18 bytes with the Mu-Law header, then one byte per sample.
    EXPECT_EQ(Bytes(bytes.begin() + 12, bytes.begin() + 20),
              (Bytes{'f', 'm', 't', ' ', 18, 0, 0, 0}));
    EXPECT_EQ(0, std::memcmp(bytes.data() + 20, &mulaw, 18));
    EXPECT_EQ(Bytes(bytes.begin() + 38, bytes.begin() + 42), (Bytes{'d', 'a', 't', 'a'}));
    EXPECT_EQ(bytes[42] | bytes[43] << 8, 10000);

    WaveObject opened(1, dir.path().c_str());
    ASSERT_EQ(opened.Load(file, kFileWave | LOAD_DELETE_ON_CLOSE | LOAD_CONVERT_TO_PCM),
              FileError::Success);
    EXPECT_TRUE(SameFormat(*opened.format, PcmFormat(11025, 16, 2)));
    EXPECT_EQ(opened.FrameCount(), 5000u);
    EXPECT_EQ(opened.storage->kind, BlockKind::MappedFile);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));  // source and converted copy unlinked
}

TEST(WaveLoad, FlagsChooseWhereTheDataLives) {
    test::ScopedTempDir dir;
    const std::string file = dir.File("s.wav");
    auto source = test::RandomWave(PcmFormat(44100, 16, 2), 50000, 3);
    source->SetInfo("IENG", "me");
    ASSERT_EQ(source->Save(file, 0), FileError::Success);

    WaveObject header;
    ASSERT_EQ(header.Load(file, LOAD_HEADER_ONLY), FileError::Success);
    EXPECT_EQ(header.mode, WaveMode::FormatOnly);
    EXPECT_EQ(header.data, nullptr);
    EXPECT_FALSE(header.storage);
    EXPECT_STREQ(header.GetInfo("IENG"), "me");

    struct Case {
        std::uint32_t useTempFiles, flags;
        BlockKind kind;
    };
    for (const Case c : {Case{1, 0, BlockKind::MappedFile},
                         Case{1, LOAD_MAP_FILE | LOAD_READ_ONLY, BlockKind::MappedFile},
                         Case{0, 0, BlockKind::Global}, Case{1, LOAD_TO_MEMORY, BlockKind::Global},
                         Case{0, LOAD_MAP_FILE | LOAD_TO_MEMORY, BlockKind::Global}}) {
        WaveObject wave(c.useTempFiles, nullptr);
        test::ProgressLog reports;
        ASSERT_EQ(wave.Load(file, c.flags, nullptr, test::ProgressLog::Record, &reports),
                  FileError::Success);
        ASSERT_EQ(wave.mode, WaveMode::Resident);
        EXPECT_EQ(wave.storage->kind, c.kind);
        EXPECT_EQ(wave.storage->readOnly != 0, (c.flags & LOAD_READ_ONLY) != 0);
        EXPECT_EQ(0, std::memcmp(wave.data, source->data, source->dataBytes));
        if (c.kind == BlockKind::Global) {
            ASSERT_FALSE(reports.calls.empty());
            EXPECT_EQ(reports.calls.back(), std::make_pair(0u, 100u));
            EXPECT_GE(reports.calls.front().second, 50u);
        }
    }
    // A temporary copy opened delete-on-close is gone once loaded, its data still readable.
    const std::string copy = dir.File("copy.wav");
    ASSERT_EQ(CopyFileWithProgress(file, copy, nullptr, nullptr), CopyResult::Success);
    auto wave = test::LoadOrFail(copy, LOAD_DELETE_ON_CLOSE | LOAD_CONVERT_TO_PCM);
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_EQ(0, std::memcmp(wave->data, source->data, source->dataBytes));
}

}  // namespace
}  // namespace kelvane
