// The effect dialogs driven through the Process menu's commands: what they show from the
// settings, how their controls follow one another, what OK writes and what Cancel does not.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include "document/OrvaneDoc.h"
#include "platform/profile/Profile.h"
#include "processing/dialogs/ChangePitchDlg.h"
#include "processing/dialogs/ChorusDlg.h"
#include "processing/dialogs/CompressExpandDlg.h"
#include "processing/dialogs/EchoDlg.h"
#include "processing/dialogs/PercentChangeBox.h"
#include "processing/dialogs/SegmentMethodBox.h"
#include "processing/dialogs/SilenceDlg.h"
#include "processing/dialogs/VolumeDlg.h"
#include "processing/dialogs/WaveFormatDlg.h"
#include "support/EditorTest.h"
#include "ui/AppState.h"

namespace kelvane::test {
namespace {

constexpr std::uint32_t kVolume = 32810, kSilence = 32818, kEcho = 32825, kChorus = 32827,
                        kPitch = 32826, kCompressExpand = 32828, kConvert = 32809;

template <typename Dialog>
Dialog& As(QDialog& dialog) {
    auto* typed = dynamic_cast<Dialog*>(&dialog);
    EXPECT_NE(typed, nullptr) << "dialog \"" << dialog.windowTitle().toStdString() << "\"";
    return *typed;
}

std::vector<std::uint8_t> ProfileBytes() {
    return ReadFileBytes(ApplicationProfilePath());
}

QString RangeMessage(const char* low, const char* high) {
    return QString("Please enter a number between %1 and %2.").arg(low, high);
}

// Leaves `edit` for `next` as a person would with the mouse or Tab: both in a shown, active
// window.
void LeaveField(QDialog& dialog, QLineEdit* edit, QWidget* next) {
    dialog.show();
    dialog.activateWindow();
    QApplication::processEvents();
    edit->setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), edit) << "the field did not get the focus";
    next->setFocus(Qt::TabFocusReason);
}

class EffectDialogsTest : public EditorTest {
  protected:
    COrvaneDoc* OpenTone(std::uint16_t channels, std::uint32_t frames = 20000) {
        COrvaneDoc* doc =
            Open(WriteTone(channels == 1 ? "mono.wav" : "stereo.wav", frames, channels, 22050));
        EXPECT_NE(doc, nullptr);
        return doc;
    }
};

TEST_F(EffectDialogsTest, VolumeOnMonoLocksTheChannelsAndTheRightFollowsTheLeft) {
    OpenTone(1);
    WriteProfileInt("WAVEVOLUME", "LOCKLR", 0);
    WriteProfileInt("WAVEVOLUME", "RIGHTVOLUME", 30);
    dialogs.Accept([](QDialog& d) {
        auto& volume = As<CVolumeDlg>(d);
        EXPECT_TRUE(volume.m_checkLock->isChecked());
        EXPECT_FALSE(volume.m_checkLock->isEnabled());
        EXPECT_EQ(volume.m_sliderLeft->value(), 100);
        EXPECT_EQ(volume.m_sliderRight->value(), 100) << "locked: the right shows the left";
        EXPECT_EQ(volume.m_sliderLeft->maximum(), 200);
        EXPECT_EQ(volume.m_sliderLeft->tickInterval(), 10);
        volume.m_sliderLeft->setValue(150);
        EXPECT_EQ(volume.m_sliderRight->value(), 150);
        EXPECT_EQ(volume.m_labelLeft->text(), "150%");
        EXPECT_EQ(volume.m_labelRight->text(), "150%");
    });
    ASSERT_TRUE(Run(kVolume));
    EXPECT_EQ(GetProfileInt("WAVEVOLUME", "LEFTVOLUME", -1), 150);
    EXPECT_EQ(GetProfileInt("WAVEVOLUME", "RIGHTVOLUME", -1), 150);
    EXPECT_EQ(GetProfileInt("WAVEVOLUME", "LOCKLR", -1), 1);
}

TEST_F(EffectDialogsTest, VolumeOnStereoMovesTheChannelsTogetherOnlyWhenLocked) {
    OpenTone(2);
    WriteProfileInt("WAVEVOLUME", "LOCKLR", 0);
    WriteProfileInt("WAVEVOLUME", "LEFTVOLUME", 80);
    WriteProfileInt("WAVEVOLUME", "RIGHTVOLUME", 120);
    const auto before = ProfileBytes();
    dialogs.Cancel([](QDialog& d) {
        auto& volume = As<CVolumeDlg>(d);
        EXPECT_FALSE(volume.m_checkLock->isChecked());
        EXPECT_TRUE(volume.m_checkLock->isEnabled());
        EXPECT_EQ(volume.m_labelLeft->text(), "80%");
        EXPECT_EQ(volume.m_labelRight->text(), "120%");
        volume.m_sliderRight->setValue(30);
        EXPECT_EQ(volume.m_sliderLeft->value(), 80);
        EXPECT_EQ(volume.m_labelRight->text(), "30%");
        volume.m_checkLock->setChecked(true);
        EXPECT_EQ(volume.m_sliderLeft->value(), 80) << "locking alone moves nothing";
        volume.m_sliderRight->setValue(60);
        EXPECT_EQ(volume.m_sliderLeft->value(), 60);
        EXPECT_EQ(volume.m_labelLeft->text(), "60%");
    });
    ASSERT_TRUE(Run(kVolume));
    EXPECT_EQ(ProfileBytes(), before) << "Cancel writes nothing";
    EXPECT_EQ(ActiveDocument()->UndoWave(), nullptr) << "and changes nothing";

    // Locked in the settings: both trackbars start at the left volume.
    WriteProfileInt("WAVEVOLUME", "LOCKLR", 1);
    dialogs.Accept([](QDialog& d) {
        auto& volume = As<CVolumeDlg>(d);
        EXPECT_EQ(volume.m_sliderRight->value(), 80);
        volume.m_checkLock->setChecked(false);
        volume.m_sliderLeft->setValue(20);
        EXPECT_EQ(volume.m_sliderRight->value(), 80);
    });
    ASSERT_TRUE(Run(kVolume));
    EXPECT_EQ(GetProfileInt("WAVEVOLUME", "LEFTVOLUME", -1), 20);
    EXPECT_EQ(GetProfileInt("WAVEVOLUME", "RIGHTVOLUME", -1), 80);
    EXPECT_EQ(GetProfileInt("WAVEVOLUME", "LOCKLR", -1), 0);
}

TEST_F(EffectDialogsTest, SilenceKeepsHundredthsSoAShortLengthIsStoredAsZero) {
    COrvaneDoc* doc = OpenTone(1);
    dialogs.Accept([](QDialog& d) {
        auto& silence = As<CSilenceDlg>(d);
        EXPECT_EQ(silence.m_editLength->text(), "0.01") << "the default, 1 hundredth";
        silence.m_editLength->setText("60.5");
    });
    EXPECT_TRUE(Run(kSilence));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], RangeMessage("0.001", "60"));
    EXPECT_EQ(GetProfileString("WAVE SILENCE", "SILENCE", "none"), "none");
    EXPECT_EQ(doc->Length(), 20000u) << "a refused length inserts nothing";

    dialogs.Accept([](QDialog& d) { As<CSilenceDlg>(d).m_editLength->setText("0.005"); });
    ASSERT_TRUE(Run(kSilence));
    EXPECT_EQ(GetProfileInt("WAVE SILENCE", "SILENCE", -1), 0);
    EXPECT_EQ(doc->Length(), 20000u + 110u) << "0.005 s at 22050 Hz is inserted once";

    // The next time the field shows 0, which the range check refuses until it is changed.
    dialogs.Accept([](QDialog& d) { EXPECT_EQ(As<CSilenceDlg>(d).m_editLength->text(), "0"); });
    EXPECT_TRUE(Run(kSilence));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1], RangeMessage("0.001", "60"));
    EXPECT_EQ(doc->Length(), 20110u);

    WriteProfileInt("WAVE SILENCE", "SILENCE", 250);
    dialogs.Cancel([](QDialog& d) {
        auto& silence = As<CSilenceDlg>(d);
        EXPECT_EQ(silence.m_editLength->text(), "2.5");
        silence.m_editLength->setText("7");
    });
    ASSERT_TRUE(Run(kSilence));
    EXPECT_EQ(GetProfileInt("WAVE SILENCE", "SILENCE", -1), 250);
}

TEST_F(EffectDialogsTest, EchoShowsNumberDelayAndSizeAndWritesThemOnOk) {
    OpenTone(2);
    dialogs.Cancel([](QDialog& d) {
        auto& echo = As<CEchoDlg>(d);
        EXPECT_EQ(echo.m_sliderNumber->value(), 1);
        EXPECT_EQ(echo.m_sliderDelay->value(), 100);
        EXPECT_EQ(echo.m_sliderSize->value(), 70);
        EXPECT_EQ(echo.m_labelNumber->text(), "1");
        EXPECT_EQ(echo.m_labelDelay->text(), "0.100 s");
        EXPECT_EQ(echo.m_labelSize->text(), "70%");
        EXPECT_EQ(echo.m_sliderNumber->maximum(), 10);
        EXPECT_EQ(echo.m_sliderDelay->maximum(), 1000);
        EXPECT_EQ(echo.m_sliderSize->maximum(), 100);
        echo.m_sliderDelay->setValue(5);
        EXPECT_EQ(echo.m_labelDelay->text(), "0.005 s");
    });
    const auto before = ProfileBytes();
    ASSERT_TRUE(Run(kEcho));
    EXPECT_EQ(ProfileBytes(), before);

    dialogs.Accept([](QDialog& d) {
        auto& echo = As<CEchoDlg>(d);
        EXPECT_EQ(echo.m_sliderDelay->value(), 100) << "Cancel kept the old delay";
        echo.m_sliderNumber->setValue(3);
        echo.m_sliderDelay->setValue(1000);
        echo.m_sliderSize->setValue(50);
        EXPECT_EQ(echo.m_labelNumber->text(), "3");
        EXPECT_EQ(echo.m_labelDelay->text(), "1.000 s");
        EXPECT_EQ(echo.m_labelSize->text(), "50%");
    });
    ASSERT_TRUE(Run(kEcho));
    EXPECT_EQ(GetProfileInt("WAVE ECHO", "NUMBER", -1), 3);
    EXPECT_EQ(GetProfileInt("WAVE ECHO", "DELAY", -1), 1000);
    EXPECT_EQ(GetProfileInt("WAVE ECHO", "SIZE", -1), 50);
}

TEST_F(EffectDialogsTest, ChorusShowsItsFiveSettingsInTheirUnits) {
    OpenTone(2);
    dialogs.Accept([](QDialog& d) {
        auto& chorus = As<CChorusDlg>(d);
        EXPECT_EQ(chorus.m_sliderDelay->value(), 100);
        EXPECT_EQ(chorus.m_sliderSize->value(), 700);
        EXPECT_EQ(chorus.m_sliderNumber->value(), 2);
        EXPECT_EQ(chorus.m_sliderDepth->value(), 200);
        EXPECT_EQ(chorus.m_sliderFrequency->value(), 10);
        EXPECT_EQ(chorus.m_labelDelay->text(), "100 ms");
        EXPECT_EQ(chorus.m_labelSize->text(), "70.0 %");
        EXPECT_EQ(chorus.m_labelNumber->text(), "2");
        EXPECT_EQ(chorus.m_labelDepth->text(), "20.0 %");
        EXPECT_EQ(chorus.m_labelFrequency->text(), "10 Hz");
        EXPECT_EQ(chorus.m_sliderNumber->maximum(), 3);
        EXPECT_EQ(chorus.m_sliderFrequency->maximum(), 100);
        chorus.m_sliderSize->setValue(555);
        chorus.m_sliderDepth->setValue(1);
        chorus.m_sliderDelay->setValue(999);
        chorus.m_sliderNumber->setValue(3);
        chorus.m_sliderFrequency->setValue(100);
        EXPECT_EQ(chorus.m_labelSize->text(), "55.5 %");
        EXPECT_EQ(chorus.m_labelDepth->text(), "0.1 %");
        EXPECT_EQ(chorus.m_labelDelay->text(), "999 ms");
        EXPECT_EQ(chorus.m_labelNumber->text(), "3");
        EXPECT_EQ(chorus.m_labelFrequency->text(), "100 Hz");
    });
    ASSERT_TRUE(Run(kChorus));
    EXPECT_EQ(GetProfileInt("WAVE CHORUS", "CHORUSSIZE", -1), 555);
    EXPECT_EQ(GetProfileInt("WAVE CHORUS", "MODDEPTH", -1), 1);
    EXPECT_EQ(GetProfileInt("WAVE CHORUS", "CHORUSDELAY", -1), 999);
    EXPECT_EQ(GetProfileInt("WAVE CHORUS", "NUMCHORUS", -1), 3);
    EXPECT_EQ(GetProfileInt("WAVE CHORUS", "MODFREQ", -1), 100);

    dialogs.Cancel([](QDialog& d) {
        auto& chorus = As<CChorusDlg>(d);
        EXPECT_EQ(chorus.m_sliderSize->value(), 555);
        chorus.m_sliderSize->setValue(10);
    });
    const auto before = ProfileBytes();
    ASSERT_TRUE(Run(kChorus));
    EXPECT_EQ(ProfileBytes(), before);
}

TEST_F(EffectDialogsTest, ChangePitchPresetsTrackbarsAndTheTypedPercent) {
    OpenTone(2);
    dialogs.Accept([](QDialog& d) {
        auto& pitch = As<CChangePitchDlg>(d);
        QComboBox* methods = pitch.m_methods->m_comboMethod;
        QSlider* segment = pitch.m_methods->m_sliderSegment;
        QSlider* crossFade = pitch.m_methods->m_sliderCrossFade;
        EXPECT_EQ(methods->currentIndex(), -1) << "no method chosen at first";
        ASSERT_EQ(methods->count(), 4);
        EXPECT_EQ(methods->itemText(3), "Bass 2");
        EXPECT_EQ(pitch.m_changes->m_slider->value(), 100);
        EXPECT_EQ(pitch.m_changes->m_edit->text(), "100");
        EXPECT_EQ(segment->value(), 30);
        EXPECT_EQ(crossFade->value(), 50);
        EXPECT_FALSE(pitch.m_checkPreserve->isChecked());
        EXPECT_EQ(segment->minimum(), 15);
        EXPECT_EQ(segment->maximum(), 60);
        EXPECT_EQ(crossFade->minimum(), 5);
        EXPECT_EQ(crossFade->maximum(), 70);

        methods->setCurrentIndex(3);
        EXPECT_EQ(segment->value(), 45);
        EXPECT_EQ(crossFade->value(), 50);
        methods->setCurrentIndex(0);
        EXPECT_EQ(segment->value(), 30);
        EXPECT_EQ(crossFade->value(), 20);

        pitch.m_changes->m_slider->setValue(150);
        EXPECT_EQ(pitch.m_changes->m_edit->text(), "150") << "the field follows the trackbar";

        // A percent typed and left moves the trackbar to its whole part.
        pitch.m_changes->m_edit->setText("123.5");
        LeaveField(d, pitch.m_changes->m_edit, crossFade);
        EXPECT_EQ(pitch.m_changes->m_slider->value(), 123);
        EXPECT_EQ(pitch.m_changes->m_edit->text(), "123.5");

        pitch.m_checkPreserve->setChecked(true);
        segment->setValue(45);
        EXPECT_EQ(pitch.m_changes->m_edit->text(), "123") << "a trackbar move reads all back";
        EXPECT_TRUE(pitch.m_checkPreserve->isChecked());
    });
    ASSERT_TRUE(Run(kPitch));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(GetProfileString("WAVECHANGEPITCH", "CHANGEPITCH", ""), "123.000000");
    EXPECT_EQ(GetProfileInt("WAVECHANGEPITCH", "PRESERVELENGTH", -1), 1);
    EXPECT_EQ(GetProfileInt("WAVECHANGEPITCH", "DELAY", -1), 45);
    EXPECT_EQ(GetProfileInt("WAVECHANGEPITCH", "CROSSFADERATIO", -1), 20);
}

TEST_F(EffectDialogsTest, ChangePitchRefusesAPercentOutsideItsRange) {
    OpenTone(2);
    const auto before = ProfileBytes();
    dialogs.Accept([](QDialog& d) {
        auto& pitch = As<CChangePitchDlg>(d);
        pitch.m_changes->m_edit->setText("250");
        LeaveField(d, pitch.m_changes->m_edit, pitch.m_changes->m_slider);
        EXPECT_EQ(pitch.m_changes->m_slider->value(), 100) << "a refused percent moves nothing";
    });
    EXPECT_TRUE(Run(kPitch));
    ASSERT_EQ(dialogs.messages.size(), 2u) << "once on leaving the field, once on OK";
    EXPECT_EQ(dialogs.messages[0], RangeMessage("50", "200"));
    EXPECT_EQ(dialogs.messages[1], RangeMessage("50", "200"));
    EXPECT_EQ(ProfileBytes(), before);
    EXPECT_EQ(ActiveDocument()->UndoWave(), nullptr);

    // Typed and confirmed with Enter: the trackbar takes it as leaving the field would.
    dialogs.Accept([](QDialog& d) { As<CChangePitchDlg>(d).m_changes->m_edit->setText("66.6"); });
    ASSERT_TRUE(Run(kPitch));
    EXPECT_EQ(GetProfileString("WAVECHANGEPITCH", "CHANGEPITCH", ""), "66.000000");
}

TEST_F(EffectDialogsTest, CompressExpandShowsTheTempoAndLengthItWouldGive) {
    COrvaneDoc* doc = OpenTone(2, 20000);
    App().display.tempo = 100;
    dialogs.Accept([](QDialog& d) {
        auto& stretch = As<CCompressExpandDlg>(d);
        EXPECT_EQ(stretch.m_labelTempo->text(), "100.00");
        EXPECT_EQ(stretch.m_labelNewTempo->text(), "100.00");
        EXPECT_EQ(stretch.m_labelLength->text(), "20000");
        EXPECT_EQ(stretch.m_labelNewLength->text(), "20000");
        EXPECT_EQ(stretch.m_changes->m_edit->text(), "100");
        EXPECT_EQ(stretch.m_methods->m_comboMethod->currentIndex(), -1);

        stretch.m_changes->m_slider->setValue(200);
        EXPECT_EQ(stretch.m_labelNewTempo->text(), "50.00");
        EXPECT_EQ(stretch.m_labelNewLength->text(), "40000");
        EXPECT_EQ(stretch.m_changes->m_edit->text(), "200");
        stretch.m_changes->m_slider->setValue(80);
        EXPECT_EQ(stretch.m_labelNewTempo->text(), "125.00");
        EXPECT_EQ(stretch.m_labelNewLength->text(), "16000");
        EXPECT_EQ(stretch.m_labelLength->text(), "20000") << "the original stays";

        stretch.m_methods->m_comboMethod->setCurrentIndex(1);  // "Music 2"
        EXPECT_EQ(stretch.m_methods->m_sliderSegment->value(), 30);
        EXPECT_EQ(stretch.m_methods->m_sliderCrossFade->value(), 40);

        stretch.m_changes->m_edit->setText("150.9");
        LeaveField(d, stretch.m_changes->m_edit, stretch.m_methods->m_sliderSegment);
        EXPECT_EQ(stretch.m_changes->m_slider->value(), 150);
    });
    ASSERT_TRUE(Run(kCompressExpand));
    EXPECT_EQ(GetProfileInt("WAVE COMPRESSEXPAND", "COMPRESSEXPAND", -1), 150);
    EXPECT_EQ(GetProfileInt("WAVE COMPRESSEXPAND", "DELAY", -1), 30);
    EXPECT_EQ(GetProfileInt("WAVE COMPRESSEXPAND", "CROSSFADERATIO", -1), 40);

    ASSERT_EQ(doc->Length(), 30000u);
    doc->SetSelection(1000, 500);
    dialogs.Cancel([](QDialog& d) {
        auto& stretch = As<CCompressExpandDlg>(d);
        EXPECT_EQ(stretch.m_changes->m_slider->value(), 150);
        EXPECT_EQ(stretch.m_labelNewTempo->text(), "66.67");
        EXPECT_EQ(stretch.m_labelLength->text(), "30000") << "the whole sound, not the selection";
        EXPECT_EQ(stretch.m_labelNewLength->text(), "45000");
        stretch.m_changes->m_slider->setValue(50);
    });
    const auto before = ProfileBytes();
    ASSERT_TRUE(Run(kCompressExpand));
    EXPECT_EQ(ProfileBytes(), before);
}

TEST_F(EffectDialogsTest, WaveFormatRefusesARateAbove48000) {
    COrvaneDoc* doc = OpenTone(2);
    WriteProfileInt("WAVE FORMAT", "SAMPLING RATE", 44100);
    WriteProfileInt("WAVE FORMAT", "CHANNELS", 2);
    WriteProfileInt("WAVE FORMAT", "SAMPLE SIZE", 16);
    const auto before = ProfileBytes();
    dialogs.Accept([](QDialog& d) {
        auto& format = As<CWaveFormatDlg>(d);
        EXPECT_EQ(format.m_comboRate->currentText(), "44100");
        EXPECT_TRUE(format.m_radioStereo->isChecked());
        EXPECT_TRUE(format.m_radio16->isChecked());
        format.m_comboRate->setEditText("48001");
    });
    EXPECT_TRUE(Run(kConvert));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], Message(1001));
    EXPECT_EQ(ProfileBytes(), before);
    EXPECT_EQ(doc->UndoWave(), nullptr) << "a refused rate converts nothing";

    dialogs.Accept([](QDialog& d) {
        auto& format = As<CWaveFormatDlg>(d);
        format.m_comboRate->setEditText("8000");
        format.m_radioMono->setChecked(true);
        format.m_radio8->setChecked(true);
    });
    ASSERT_TRUE(Run(kConvert));
    EXPECT_EQ(GetProfileInt("WAVE FORMAT", "SAMPLING RATE", -1), 8000);
    EXPECT_EQ(GetProfileInt("WAVE FORMAT", "CHANNELS", -1), 1);
    EXPECT_EQ(GetProfileInt("WAVE FORMAT", "SAMPLE SIZE", -1), 8);
    dialogs.Accept([](QDialog& d) {
        auto& format = As<CWaveFormatDlg>(d);
        EXPECT_EQ(format.m_comboRate->currentText(), "8000");
        EXPECT_TRUE(format.m_radioMono->isChecked());
        EXPECT_TRUE(format.m_radio8->isChecked());
        format.m_comboRate->setEditText("48000");
    });
    ASSERT_TRUE(Run(kConvert));
    EXPECT_EQ(doc->m_pWave->format->samplesPerSec, 48000u);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

// Batch conversion opens the dialogs on a private settings file: they read and write there
// and leave the profile alone.
TEST_F(EffectDialogsTest, DialogsOnAPrivateSettingsFileLeaveTheProfileAlone) {
    const SettingsPlace place{dir.File("FIL0001.tmp"), "BATCH"};
    WritePrivateProfileString("BATCH", "SIZE", "20", place.file);
    const auto before = ProfileBytes();
    {
        CEchoDlg echo(place);
        EXPECT_EQ(echo.m_sliderSize->value(), 20);
        echo.m_sliderNumber->setValue(4);
        echo.accept();
    }
    EXPECT_EQ(GetPrivateProfileInt("BATCH", "NUMBER", -1, place.file), 4);
    {
        CChangePitchDlg pitch(place);
        EXPECT_TRUE(pitch.m_checkPreserve->isChecked()) << "a batch step keeps the length";
        pitch.accept();
    }
    EXPECT_EQ(GetPrivateProfileInt("BATCH", "PRESERVELENGTH", -1, place.file), 1);
    {
        CVolumeDlg volume(true, place);
        EXPECT_TRUE(volume.m_checkLock->isEnabled()) << "batch mode is stereo";
        EXPECT_TRUE(volume.m_checkLock->isChecked()) << "a missing lock counts as locked";
        volume.accept();
    }
    EXPECT_EQ(GetPrivateProfileInt("BATCH", "LOCKLR", -1, place.file), 1);
    CCompressExpandDlg stretch(place);
    EXPECT_EQ(stretch.m_labelLength->text(), "0");
    CChorusDlg chorus(place);
    CSilenceDlg silence(place);
    CWaveFormatDlg format(place);
    EXPECT_EQ(ProfileBytes(), before);
}

}  // namespace
}  // namespace kelvane::test
