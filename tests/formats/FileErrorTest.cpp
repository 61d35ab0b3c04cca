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
    EXPECT_EQ(SaveTypeOfName("a.mp2"), 0u);
    EXPECT_EQ(SaveTypeOfName("a.MP3"), kFileMp3);
    EXPECT_EQ(SaveTypeOfName("a.flac"), kFileFlac);
    EXPECT_EQ(LoadTypeOfName("a.Opus"), kFileSndfile);
    EXPECT_EQ(SaveTypeOfName("a.aiff"), kFileAiff);
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
