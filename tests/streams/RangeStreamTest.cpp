#include "formats/streams/RangeStream.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "formats/streams/BlockStream.h"

namespace kelvane {
namespace {

std::unique_ptr<SampleStream> CountingStream(std::uint32_t bytes) {
    auto block = std::make_unique<GlobalBlock>(bytes, false);
    std::iota(block->pointer, block->pointer + bytes, std::uint8_t{0});
    return std::make_unique<BlockStream>(std::move(block));
}

TEST(RangeStream, ExposesOnlyItsBytes) {
    RangeStream range(CountingStream(200), 50, 100);
    ASSERT_EQ(range.IsOk(), 1u);
    EXPECT_EQ(range.Size(), 100u);
    EXPECT_EQ(range.Caps(), 5u);

    std::vector<std::uint8_t> buffer(200);
    EXPECT_EQ(range.Read(buffer.data(), 30), 30u);
    EXPECT_EQ(buffer[0], 50);
    EXPECT_EQ(range.Read(buffer.data(), 200), 70u);
    EXPECT_EQ(buffer[69], 149);
    EXPECT_TRUE(range.IsEof());
    EXPECT_EQ(range.Read(buffer.data(), 1), 0u);

    EXPECT_EQ(range.Seek(10, SeekStart), 10u);
    EXPECT_EQ(range.Seek(5, SeekCurrent), 15u);
    EXPECT_EQ(range.Seek(-20, SeekEnd), 80u);
    EXPECT_EQ(range.Seek(500, SeekStart), 100u);
    EXPECT_EQ(range.Seek(-500, SeekCurrent), 0u);
    EXPECT_FALSE(range.IsEof());
    EXPECT_EQ(range.Read(buffer.data(), 1), 1u);
    EXPECT_EQ(buffer[0], 50);
}

TEST(RangeStream, ARangePastTheInnerEndStopsThere) {
    RangeStream range(CountingStream(120), 100, 50);
    std::vector<std::uint8_t> buffer(50);
    EXPECT_EQ(range.Read(buffer.data(), 50), 20u);
    EXPECT_EQ(buffer[19], 119);
    EXPECT_TRUE(range.IsEof());
}

class WriteOnlyStream final : public SampleStream {
  public:
    WriteOnlyStream() { ok = 1; }
    std::uint32_t Caps() override { return CapsWritable; }
};

TEST(RangeStream, NeedsAReadableSeekableInner) {
    RangeStream overNull(std::unique_ptr<SampleStream>{}, 0, 10);
    EXPECT_EQ(overNull.IsOk(), 0u);
    WriteOnlyStream writeOnly;
    RangeStream overWriteOnly(writeOnly, 0, 10);
    EXPECT_EQ(overWriteOnly.IsOk(), 0u);
    std::uint8_t byte;
    EXPECT_EQ(overWriteOnly.Read(&byte, 1), 0u);
    EXPECT_TRUE(overWriteOnly.IsEof());
}

}  // namespace
}  // namespace kelvane
