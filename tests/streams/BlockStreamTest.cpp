#include "formats/streams/BlockStream.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace kelvane {
namespace {

std::unique_ptr<DataBlock> CountingBlock(std::uint32_t bytes) {
    auto block = std::make_unique<GlobalBlock>(bytes, false);
    std::iota(block->pointer, block->pointer + bytes, std::uint8_t{0});
    return block;
}

TEST(BlockStream, ReadsAndSeeksWithinTheBlockOnly) {
    BlockStream stream(CountingBlock(100));
    ASSERT_EQ(stream.IsOk(), 1u);
    EXPECT_EQ(stream.Caps(), 15u);
    EXPECT_EQ(stream.Size(), 100u);

    std::vector<std::uint8_t> buffer(64);
    EXPECT_EQ(stream.Read(buffer.data(), 60), 60u);
    EXPECT_EQ(stream.Read(buffer.data(), 60), 40u);
    EXPECT_EQ(buffer[0], 60);
    EXPECT_TRUE(stream.IsEof());
    EXPECT_EQ(stream.Read(buffer.data(), 60), 0u);

    EXPECT_EQ(stream.Seek(-5, SeekStart), 0u);
    EXPECT_EQ(stream.Seek(500, SeekStart), 100u);
    EXPECT_EQ(stream.Seek(-10, SeekEnd), 90u);
    EXPECT_EQ(stream.Seek(-100, SeekCurrent), 0u);
    EXPECT_EQ(stream.Seek(30, SeekCurrent), 30u);
    EXPECT_EQ(stream.Seek(0, 7), kSeekFailed);
    EXPECT_FALSE(stream.IsEof());
    EXPECT_EQ(stream.Read(buffer.data(), 1), 1u);
    EXPECT_EQ(buffer[0], 30);
    EXPECT_EQ(stream.Write(buffer.data(), 1), 0u) << "readable mode takes no bytes";
}

TEST(BlockStream, WritableModeGrowsAMovableBlockAndKeepsTheSize) {
    auto owned = std::make_unique<GlobalBlock>(0, false);
    GlobalBlock* block = owned.get();
    BlockStream stream(std::move(owned));
    stream.SetMode(BlockStream::ModeWritable);
    ASSERT_EQ(stream.IsOk(), 2u);

    std::vector<std::uint8_t> piece(50000);
    std::iota(piece.begin(), piece.end(), std::uint8_t{1});
    EXPECT_EQ(stream.Write(piece.data(), 50000), 50000u);
    EXPECT_EQ(block->size, 50000u + 32768u);
    EXPECT_EQ(block->lockCount, 1);
    EXPECT_EQ(stream.Size(), 50000u);

    // Overwriting inside the data leaves the size alone; writing past it raises the size.
    EXPECT_EQ(stream.Seek(10, SeekStart), 10u);
    EXPECT_EQ(stream.Write(piece.data(), 5), 5u);
    EXPECT_EQ(stream.Size(), 50000u);
    stream.Seek(0, SeekEnd);
    EXPECT_EQ(stream.Write(piece.data(), 40000), 40000u);
    EXPECT_EQ(stream.Size(), 90000u);

    std::vector<std::uint8_t> back(90000);
    stream.Seek(0, SeekStart);
    ASSERT_EQ(stream.Read(back.data(), 90000), 90000u);
    EXPECT_EQ(back[9], piece[9]);
    EXPECT_EQ(back[10], piece[0]);
    EXPECT_EQ(back[50000 + 39999], piece[39999]);
}

TEST(BlockStream, BlocksThatCannotGrowStopAtTheirEnd) {
    GlobalBlock fixed(8, true);
    BlockStream overFixed(fixed);
    overFixed.SetMode(BlockStream::ModeWritable);
    const std::uint8_t bytes[16] = {};
    EXPECT_EQ(overFixed.Write(bytes, 8), 8u);
    EXPECT_EQ(overFixed.Write(bytes, 1), 0u);

    std::uint8_t memory[4] = {};
    BorrowedBlock readOnly(memory, 4, false, true);
    BlockStream overReadOnly(readOnly);
    overReadOnly.SetMode(BlockStream::ModeWritable);
    EXPECT_EQ(overReadOnly.IsOk(), 0u);
}

TEST(BlockStream, WithoutUsableBytesIsNotOk) {
    BlockStream none(std::unique_ptr<DataBlock>{});
    EXPECT_EQ(none.IsOk(), 0u);
    std::uint8_t byte;
    EXPECT_EQ(none.Read(&byte, 1), 0u);

    MappedFileBlock missing(0, "/nonexistent/kelvane/file", false, nullptr, true, true);
    BlockStream unmapped(missing);
    EXPECT_EQ(unmapped.IsOk(), 0u);
}

}  // namespace
}  // namespace kelvane
