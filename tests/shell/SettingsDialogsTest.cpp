#include <unistd.h>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "platform/profile/Profile.h"
#include "shell/MainFrame.h"
#include "shell/MiscellaneousDlg.h"
#include "shell/OrvaneApp.h"
#include "support/EditorTest.h"
#include "ui/AppState.h"
#include "view/DisplayFormatDlg.h"
#include "view/PositionFormat.h"

namespace kelvane::test {
namespace {

class SettingsDialogsTest : public EditorTest {};

TEST(PositionFormat, WritesEachUnit) {
    const WaveFormat stereo16 = PcmFormat(44100, 16, 2);
    struct Case {
        std::uint32_t unit;
        std::uint32_t frames;
        double framesPerSec;
        const char* text;
    };
    const Case cases[] = {
        {DisplayFormatSettings::Samples, 44100, 15, "44100"},
        {DisplayFormatSettings::Seconds, 44100, 15, "1.0000"},
        {DisplayFormatSettings::Smpte, 44100, 15, "0:0:1:0"},
        {DisplayFormatSettings::Frames, 44100, 15, "15"},
        {DisplayFormatSettings::Bytes, 44100, 15, "176400"},
        {DisplayFormatSettings::Smpte, 22050, 25, "0:0:0:12"},
        {DisplayFormatSettings::Smpte, 164294550, 15, "1:2:5:7"},  // 3725.5 s
        {DisplayFormatSettings::Smpte, 3969000000u, 15, "25:0:0:0"},  // 90000 s
        {DisplayFormatSettings::Frames, 44100, 0, "0"},
        {DisplayFormatSettings::Beats, 44100, 15, ""},
    };
    for (const Case& c : cases) {
        DisplayFormatSettings settings;
        settings.unit = c.unit;
        settings.framesPerSec = c.framesPerSec;
        EXPECT_EQ(FormatPosition(c.frames, &stereo16, settings), c.text) << c.unit << " " << c.frames;
    }
}

TEST_F(SettingsDialogsTest, DisplayFormatChecksRangesAndKeepsHundredths) {
    WriteProfileInt("DISPLAYFORMAT", "FRAMESPERSEC", 2997);
    dialogs.Accept([](QDialog& d) {
        auto& dialog = dynamic_cast<CDisplayFormatDlg&>(d);
        EXPECT_EQ(dialog.m_editFramesPerSec->text(), "29.97");
        EXPECT_TRUE(dialog.m_radios[1]->isChecked());
        dialog.m_editTempo->setText("40");
    });
    ASSERT_TRUE(Run(32799));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "Please enter a number between 50 and 400.");
    EXPECT_EQ(GetProfileString("DISPLAYFORMAT", "TEMPO", "none"), "none") << "nothing written";

    dialogs.Accept([](QDialog& d) {
        auto& dialog = dynamic_cast<CDisplayFormatDlg&>(d);
        dialog.m_radios[3]->setChecked(true);
        dialog.m_editFramesPerSec->setText("29.999");
    });
    ASSERT_TRUE(Run(32799));
    EXPECT_EQ(GetProfileInt("DISPLAYFORMAT", "FRAMESPERSEC", 0), 2999);
    EXPECT_EQ(GetProfileString("DISPLAYFORMAT", "TEMPO", ""), "120.000000");
    EXPECT_EQ(App().display.unit, DisplayFormatSettings::Smpte);
    EXPECT_EQ(app().MainFrame()->UnitPane()->text(), "SMPTE");
}

TEST_F(SettingsDialogsTest, MiscellaneousChoosesTheTemporaryFolderAndUndoLimits) {
    dialogs.Accept([this](QDialog& d) {
        auto& dialog = dynamic_cast<CMiscellaneousDlg&>(d);
        EXPECT_TRUE(dialog.m_radioSystem->isChecked());
        EXPECT_TRUE(dialog.m_editSystem->text().endsWith('/'));
        EXPECT_EQ(dialog.m_spinUndoLevels->value(), 20);
        EXPECT_EQ(dialog.m_spinUndoDisk->text(), "Half the free space");
        EXPECT_TRUE(dialog.m_labelSpace->text().startsWith("Free space: "));
        // A folder in memory is named as such: sounds there take memory, not disk.
        dialog.m_editUser->setText("/dev/shm");
        dialog.m_radioUser->setChecked(true);
        EXPECT_TRUE(dialog.m_labelSpace->text().contains("in memory"));
        dialog.m_editUser->setText(QString::fromStdString(dir.path()));
        dialog.m_spinUndoLevels->setValue(3);
        dialog.m_spinUndoDisk->setValue(100);
    });
    ASSERT_TRUE(Run(32803));
    EXPECT_EQ(GetProfileInt("MISCELLANEOUS", "TEMPPATHTYPE", 0), 1);
    EXPECT_EQ(GetProfileInt("MISCELLANEOUS", "UNDOLEVELS", 0), 3);
    const std::string own = dir.path() + "/kelvane-" + std::to_string(::getuid()) + "/";
    EXPECT_EQ(App().tempDir, own) << "a folder of the user's own inside the chosen one";
    EXPECT_EQ(App().undoLevels, 3);
    EXPECT_EQ(App().undoDiskLimit, 100u << 20);
    // New sounds go there; Cancel changes nothing.
    dialogs.Cancel();
    ASSERT_TRUE(Run(32803));
    EXPECT_EQ(App().tempDir, own);
}

}  // namespace
}  // namespace kelvane::test
