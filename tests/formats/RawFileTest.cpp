#include "formats/RawFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "formats/FormatsTestUtil.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(RawFiles, SixteenBitBigEndianWrittenBackIsByteIdentical) {
    test::ScopedTempDir dir;
    const Bytes be = {0x12, 0x34, 0xFF, 0x01, 0x80, 0x00};
    ASSERT_TRUE(test::WriteFileBytes(dir.File("be.raw"), be));
    const RawParams raw{16, 8000, 4, 1};
    auto wave = test::LoadOrFail(dir.File("be.raw"), kFileRawLoad | LOAD_TO_MEMORY, &raw);
    EXPECT_EQ(wave->mode, WaveMode::Streamed);
    EXPECT_EQ(wave->sourceType, SourceType::Raw);
    ASSERT_EQ(wave->Save(dir.File("again.raw"), kFileRawSave, {.code = 4}), FileError::Success);
    EXPECT_EQ(test::ReadFileBytes(dir.File("again.raw")), be);
}

TEST(RawFiles, BadRequestsAreRefused) {
    test::ScopedTempDir dir;
    ASSERT_TRUE(test::WriteFileBytes(dir.File("x.raw"), {1, 2, 3, 4}));
    WaveObject wave;
    EXPECT_EQ(wave.Load(dir.File("x.raw"), kFileRawLoad, nullptr), FileError::BadRequest);
    for (const RawParams raw : {RawParams{12, 8000, 1, 1}, RawParams{16, 8000, 7, 1},
                                RawParams{16, 8000, 1, 3}, RawParams{16, 0, 1, 1}})
        EXPECT_EQ(wave.Load(dir.File("x.raw"), kFileRawLoad, &raw), FileError::BadRequest);
    ASSERT_EQ(wave.Allocate(PcmFormat(8000, 8, 1), 4), 1u);
    for (std::uint32_t code : {0u, 7u})
        EXPECT_EQ(wave.Save(dir.File("y.raw"), kFileRawSave, {.code = code}),
                  FileError::BadRequest);
    // An 8-bit sound has no 16-bit recoding.
    EXPECT_EQ(wave.Save(dir.File("y.raw"), kFileRawSave, {.code = 3}), FileError::NoConverter);
}

TEST(RawFiles, ListEntriesStandForWhatTheirLabelsSay) {
    EXPECT_EQ(RawCodeOfListEntry(1), static_cast<std::uint32_t>(SampleCode::Unsigned8));
    EXPECT_EQ(RawCodeOfListEntry(2), static_cast<std::uint32_t>(SampleCode::Signed8));
    for (std::uint32_t entry = 1; entry <= 6; ++entry)
        EXPECT_EQ(RawListEntryOfCode(RawCodeOfListEntry(entry)), entry);
    EXPECT_EQ(RawCodeOfListEntry(4), static_cast<std::uint32_t>(SampleCode::Signed16BE));
    EXPECT_EQ(RawCodeOfListEntry(7), 0u);
}

}  // namespace
}  // namespace kelvane
