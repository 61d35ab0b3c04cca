#include "platform/profile/Profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/profile/TempStorageSettings.h"
#include "support/TestSupport.h"
#include "wavedata/DataBlock.h"

namespace kelvane {
namespace {

TEST(Profile, ApplicationProfileLivesUnderTheVendorFolder) {
    test::ScopedProfile profile;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    EXPECT_EQ(ApplicationProfilePath(), std::string(xdg) + "/Vantrel Software/Kelvane.ini");
    EXPECT_EQ(GetProfileInt("WAVE ECHO", "DELAY", 100), 100);
    ASSERT_TRUE(WriteProfileInt("WAVE ECHO", "DELAY", -250));
    EXPECT_EQ(GetProfileInt("wave echo", "delay", 100), -250);  // names ignore case
    ASSERT_TRUE(WriteProfileString("Colors", "Name", "a b=c"));
    EXPECT_EQ(GetProfileString("COLORS", "NAME", ""), "a b=c");
    EXPECT_EQ(GetProfileInt("WAVE ECHO", "DELAY", 100), -250);  // other keys survive
}

TEST(Profile, PrivateFilesAreReplacedWholeAndReadLikeNumbers) {
    test::ScopedTempDir dir;
    const std::string file = dir.File("echo.ini");
    ASSERT_TRUE(WritePrivateProfileString("BATCH", "NUMBER", "3", file));
    ASSERT_TRUE(WritePrivateProfileString("BATCH", "SIZE", "70abc", file));
    ASSERT_TRUE(WritePrivateProfileString("BATCH", "TEXT", "none", file));
    EXPECT_EQ(GetPrivateProfileInt("batch", "number", 1, file), 3);
    EXPECT_EQ(GetPrivateProfileInt("BATCH", "SIZE", 0, file), 70);
    EXPECT_EQ(GetPrivateProfileInt("BATCH", "TEXT", 9, file), 0);
    EXPECT_EQ(GetPrivateProfileInt("BATCH", "MISSING", 9, file), 9);
    EXPECT_EQ(GetPrivateProfileString("BATCH", "TEXT", "", file), "none");
    // Only the settings file itself remains: the write went through a renamed new file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
    // A file that cannot be written reports failure and keeps what it had.
    EXPECT_FALSE(WritePrivateProfileString("BATCH", "X", "1", "/proc/kelvane-settings.ini"));
}

TEST(Profile, ManyKeysAtOnceKeepEverythingElseOfTheFile) {
    test::ScopedTempDir dir;
    const std::string file = dir.File("chorus.ini");
    ASSERT_TRUE(WritePrivateProfileString("OTHER", "KEEP", "1", file));
    ASSERT_TRUE(WritePrivateProfileString("BATCH", "SIZE", "5", file));
    ASSERT_TRUE(WritePrivateProfileValues("batch", {{"SIZE", "700"}, {"DELAY", "100"}}, file));
    EXPECT_EQ(GetPrivateProfileInt("BATCH", "SIZE", 0, file), 700);
    EXPECT_EQ(GetPrivateProfileInt("BATCH", "DELAY", 0, file), 100);
    EXPECT_EQ(GetPrivateProfileInt("OTHER", "KEEP", 0, file), 1);

    // A new settings file takes the values in place; one that has content is merged into
    // instead of overwritten.
    std::string fresh;
    ASSERT_NE(TempFileName(dir.path(), "FIL", fresh), 0u);
    ASSERT_TRUE(WriteNewPrivateProfile("BATCH", {{"LEFTVOLUME", "50"}, {"LOCKLR", "0"}}, fresh));
    EXPECT_EQ(GetPrivateProfileInt("BATCH", "LEFTVOLUME", 0, fresh), 50);
    EXPECT_EQ(GetPrivateProfileInt("BATCH", "LOCKLR", 9, fresh), 0);
    ASSERT_TRUE(WriteNewPrivateProfile("BATCH", {{"LOCKLR", "1"}}, fresh));
    EXPECT_EQ(GetPrivateProfileInt("BATCH", "LEFTVOLUME", 0, fresh), 50);
    EXPECT_EQ(GetPrivateProfileInt("BATCH", "LOCKLR", 9, fresh), 1);
    EXPECT_FALSE(WriteNewPrivateProfile("BATCH", {{"X", "1"}}, "/proc/kelvane-settings.ini"));
}

TEST(Profile, TemporaryFolderSettingsLoadSaveAndApply) {
    test::ScopedProfile profile;
    TempStorageSettings settings;
    settings.Load();
    EXPECT_EQ(settings.tempPathType, 0);
    EXPECT_EQ(settings.Apply(), "") << "the system's folder";

    settings.tempPathType = 1;
    settings.userDirectory = "/srv/sounds";
    settings.Save();
    TempStorageSettings loaded;
    loaded.Load();
    EXPECT_EQ(loaded.tempPathType, 1);
    EXPECT_EQ(loaded.Apply(), "/srv/sounds");

    loaded.userDirectory.clear();
    EXPECT_EQ(loaded.Apply(), "");  // an empty folder makes new waves use the system's
}

}  // namespace
}  // namespace kelvane
