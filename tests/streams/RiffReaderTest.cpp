#include "formats/streams/RiffReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "formats/streams/BlockStream.h"

namespace kelvane {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* id, const std::string& body) {
    out.insert(out.end(), id, id + 4);
    Put32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) out.push_back(0);
}

// RIFF WAVE { "fmt " (odd size, padded), LIST INFO { INAM }, LIST adtl {}, data } followed
// by bytes that are not part of the form.
std::vector<std::uint8_t> SampleFile() {
    std::vector<std::uint8_t> body = {'W', 'A', 'V', 'E'};
    PutChunk(body, "fmt ", "abcde");
    std::vector<std::uint8_t> info = {'I', 'N', 'F', 'O'};
    PutChunk(info, "INAM", "Title");
    PutChunk(body, "LIST", std::string(info.begin(), info.end()));
    PutChunk(body, "LIST", "adtl");
    PutChunk(body, "data", "0123456789");
    std::vector<std::uint8_t> file = {'R', 'I', 'F', 'F'};
    Put32(file, static_cast<std::uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    PutChunk(file, "junk", "after the form");
    return file;
}

std::unique_ptr<SampleStream> StreamOver(std::vector<std::uint8_t>& bytes) {
    return std::make_unique<BlockStream>(std::make_unique<BorrowedBlock>(
        bytes.data(), static_cast<std::uint32_t>(bytes.size()), false, true));
}

std::string ReadText(RiffReader& riff) {
    std::string text(riff.ChunkSize(), '\0');
    text.resize(riff.Read(text.data(), riff.ChunkSize()));
    return text;
}

TEST(RiffReader, WalksChunksAndListsAndSkipsPadBytes) {
    auto bytes = SampleFile();
    RiffReader riff(StreamOver(bytes));
    ASSERT_EQ(riff.IsOk(), 1u);
    ASSERT_EQ(riff.Descend("WAVE", RiffReader::DescendForm), 1u);

    ASSERT_EQ(riff.Descend("data", RiffReader::DescendChunk), 1u);
    EXPECT_EQ(ReadText(riff), "0123456789");
    riff.Ascend();

    ASSERT_EQ(riff.Descend("fmt ", RiffReader::DescendChunk), 1u);
    EXPECT_EQ(ReadText(riff), "abcde");
    riff.Ascend();

    ASSERT_EQ(riff.Descend("INFO", RiffReader::DescendList), 1u);
    ASSERT_EQ(riff.Descend("INAM", RiffReader::DescendChunk), 1u);
    EXPECT_EQ(ReadText(riff), "Title");
    riff.Ascend();
    riff.Ascend();
    EXPECT_EQ(riff.Depth(), 1u);
    riff.Ascend();
    EXPECT_EQ(riff.ChunkSize(), 0u);
    EXPECT_EQ(riff.Seek(0, SeekCurrent), 0u);
}

TEST(RiffReader, AMissingChunkIsNotFoundInsideTheForm) {
    auto bytes = SampleFile();
    RiffReader riff(StreamOver(bytes));
    ASSERT_EQ(riff.Descend("WAVE", RiffReader::DescendForm), 1u);
    const std::uint32_t formEnd = 8 + riff.ChunkSize();
    EXPECT_EQ(riff.Descend("junk", RiffReader::DescendChunk), 0u);
    EXPECT_LE(riff.Seek(0, SeekCurrent), formEnd);
    EXPECT_EQ(riff.Descend("adtl", RiffReader::DescendChunk), 0u);
    EXPECT_EQ(riff.Depth(), 1u);
    // The form is still usable after the failures.
    EXPECT_EQ(riff.Descend("data", RiffReader::DescendChunk), 1u);
    EXPECT_EQ(riff.Descend("data", RiffReader::DescendChunk), 0u) << "plain chunks hold none";
}

TEST(RiffReader, RefusesWhatIsNotTheAskedForm) {
    auto bytes = SampleFile();
    RiffReader riff(StreamOver(bytes));
    EXPECT_EQ(riff.Descend("data", RiffReader::DescendChunk), 0u) << "no form open yet";
    EXPECT_EQ(riff.Descend("AIFF", RiffReader::DescendForm), 0u);
    bytes[0] = 'X';
    EXPECT_EQ(riff.Descend("WAVE", RiffReader::DescendForm), 0u);
}

TEST(RiffReader, ChunkSizesPastTheEndOfDataFailCleanly) {
    auto bytes = SampleFile();
    // "fmt " claims more bytes than the file holds.
    bytes[16] = 0xF0;
    bytes[17] = 0xFF;
    bytes[18] = 0xFF;
    bytes[19] = 0x7F;
    RiffReader riff(StreamOver(bytes));
    ASSERT_EQ(riff.Descend("WAVE", RiffReader::DescendForm), 1u);
    EXPECT_EQ(riff.Descend("data", RiffReader::DescendChunk), 0u);

    std::vector<std::uint8_t> truncated(bytes.begin(), bytes.begin() + 10);
    RiffReader shortFile(StreamOver(truncated));
    EXPECT_EQ(shortFile.Descend("WAVE", RiffReader::DescendForm), 0u);
}

}  // namespace
}  // namespace kelvane
