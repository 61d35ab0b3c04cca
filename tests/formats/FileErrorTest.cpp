#include "formats/FileError.h"

#include <gtest/gtest.h>

#include "resources/Strings.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

TEST(FileTypes, ExtensionsPickTheTypeWithoutRegardToCase) {
    EXPECT_EQ(LoadTypeOfName("/music/Song.WaV"), kFileWave);
    EXPECT_EQ(LoadTypeOfName("a.snd"), kFileAu);
    EXPECT_EQ(LoadTypeOfName("a.Au"), kFileAu);
    EXPECT_EQ(LoadTypeOfName("a.aif"), kFileAiff);
    EXPECT_EQ(LoadTypeOfName("a.AIFF"), kFileAiff);
    for (const char* name : {"a.mp", "a.mpa", "a.MP1", "a.mp2", "a.mp3"})
        EXPECT_EQ(LoadTypeOfName(name), kFileMpeg) << name;
    // Raw files are never recognised by name; a dot in a folder is no extension.
    for (const char* name : {"a.raw", "a", "dir.wav/file", "a.wav.bak"})
        EXPECT_EQ(LoadTypeOfName(name), 0u) << name;
    EXPECT_EQ(SaveTypeOfName("a.mp3"), 0u);
    EXPECT_EQ(SaveTypeOfName("a.aiff"), kFileAiff);
}

TEST(FileTypes, LoadAndSaveRefuseNamesWithoutAType) {
    test::ScopedTempDir dir;
    WaveObject wave;
    EXPECT_EQ(wave.Load(dir.File("x.raw"), 0), FileError::UnknownType);
    ASSERT_EQ(wave.Allocate(PcmFormat(8000, 16, 1), 10), 1u);
    EXPECT_EQ(wave.Save(dir.File("x.mp3"), 0), FileError::BadRequest);
    EXPECT_EQ(wave.Save(dir.File("x.wav"), 0x50000), FileError::BadRequest);
    WaveObject formatOnly;
    ASSERT_EQ(formatOnly.Allocate(PcmFormat(8000, 16, 1), 0), 1u);
    EXPECT_EQ(formatOnly.Save(dir.File("x.wav"), 0), FileError::NothingToSave);
    EXPECT_EQ(wave.Materialize(), FileError::NotStreamed);
}

TEST(FileErrorText, EachCodeGivesItsMessage) {
    const std::pair<FileError, std::uint32_t> rows[] = {
        {FileError::Unsupported, 1007}, {FileError::BadRequest, 1006},
        {FileError::UnknownType, 1008}, {FileError::CannotOpen, 1006},
        {FileError::NoMemory, 1003},    {FileError::CannotCreate, 1009},
        {FileError::Corrupt, 1000},     {FileError::WriteFailed, 1009},
        {FileError::NotStreamed, 1006}, {static_cast<FileError>(13), 1006},
    };
    for (const auto& [code, id] : rows) {
        EXPECT_FALSE(LoadString(id).empty()) << id;
        EXPECT_EQ(FileErrorText(code), LoadString(id)) << static_cast<int>(code);
    }
    EXPECT_TRUE(FileErrorText(FileError::Success).empty());
}

}  // namespace
}  // namespace kelvane
