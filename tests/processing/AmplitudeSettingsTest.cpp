// Where the amplitude effects and format conversion keep their settings: the application
// profile under their own sections, or a private settings file under "BATCH".
#include <gtest/gtest.h>

#include "platform/profile/Profile.h"
#include "processing/FormatConversion.h"
#include "processing/InsertSilence.h"
#include "processing/Mute.h"
#include "processing/PropertyCheck.h"
#include "processing/Volume.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

std::string WriteBatchFile(const test::ScopedTempDir& dir, const std::string& body) {
    const std::string path = dir.File("FIL0001.tmp");
    test::WriteFileBytes(path, {body.begin(), body.end()});
    return path;
}

TEST(EffectSettings, PrivateFileWithSectionBatchUsesItsOwnDefaultsAndLeavesTheProfileAlone) {
    test::ScopedProfile profile;
    test::ScopedTempDir dir;
    WriteProfileInt(kVolumeSection, "LEFTVOLUME", 10);  // must not leak into the batch
    const std::string file = WriteBatchFile(
        dir, "[BATCH]\nRIGHTVOLUME=250\nSAMPLING RATE=70000\nSAMPLE SIZE=16\n[OTHER]\nSILENCE=9\n");
    const SettingsPlace batch{file, "BATCH"};

    const VolumeEffect volume(true, batch);
    EXPECT_EQ(volume.settings.leftVolume, 100);
    EXPECT_EQ(volume.settings.rightVolume, 250);  // out of the dialog's range, used as it is
    EXPECT_EQ(volume.settings.lock, 100);         // missing: locked
    EXPECT_DOUBLE_EQ(InsertSilenceEffect(batch).seconds, 0.01);
    const FormatConversionEffect format(batch);
    EXPECT_EQ(format.settings.samplingRate, 70000);
    EXPECT_EQ(format.settings.channels, 1);
    EXPECT_EQ(format.settings.sampleSize, 16);

    VolumeEffect edited(true, batch);
    edited.settings = {-5, 200, 0};
    edited.Save();
    EXPECT_EQ(GetPrivateProfileString("BATCH", "LEFTVOLUME", "", file), "-5");
    EXPECT_EQ(GetPrivateProfileString("BATCH", "LOCKLR", "", file), "0");
    EXPECT_EQ(GetPrivateProfileString("OTHER", "SILENCE", "", file), "9");
    const VolumeEffect reread(true, batch);
    EXPECT_EQ(reread.settings.leftVolume, -5);
    EXPECT_EQ(reread.settings.lock, 0);
    EXPECT_EQ(GetProfileInt(kVolumeSection, "LEFTVOLUME", 0), 10);
    EXPECT_EQ(GetProfileInt(kVolumeSection, "LOCKLR", 7), 7);
}

TEST(EffectSettings, MuteRecordsItsSettingOnEveryRun) {
    test::ScopedProfile profile;
    WriteProfileInt(kMuteSection, "MUTE", 0);
    const MuteEffect mute({});
    EXPECT_EQ(mute.settings.mute, 0);
    auto wave = test::BlankWave(PcmFormat(8000, 8, 1), 4);
    ASSERT_NE(mute.Process(*wave, 1, 2, nullptr), nullptr);
    EXPECT_EQ(GetProfileInt(kMuteSection, "MUTE", 0), 1);
}

}  // namespace
}  // namespace kelvane
