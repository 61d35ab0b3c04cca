#include <QComboBox>

#include "DeviceTestUtil.h"
#include "devices/WaveDevicesDlg.h"
#include "document/OrvaneDoc.h"
#include "platform/audio/AudioDevices.h"
#include "platform/profile/Profile.h"
#include "resources/Strings.h"
#include "support/EditorTest.h"
#include "ui/AppState.h"

namespace kelvane::test {
namespace {

class TransportTest : public EditorTest {};

TEST_F(TransportTest, PlayingDisablesTheEditsUntilItEndsByItself) {
    if (!RequireSoundServer()) return;
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 44100 / 2));
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(Run(32773));  // Play from beginning
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(doc->m_pWave->deviceState, DeviceState::Playing);
    EXPECT_FALSE(Enabled(32771));
    EXPECT_FALSE(Enabled(32774));
    EXPECT_LE(doc->GetPlayPosition(), doc->Length());
    EXPECT_TRUE(PumpUntil([&] { return doc->m_pWave->deviceState == DeviceState::Idle; }, 20));
    EXPECT_TRUE(Enabled(32771));
    EXPECT_TRUE(Enabled(32774));

    ASSERT_TRUE(Run(32778));  // Play in loop
    PumpFor(0.8);
    EXPECT_EQ(doc->m_pWave->deviceState, DeviceState::Playing);
    ASSERT_TRUE(Run(32772));  // Stop
    EXPECT_EQ(doc->m_pWave->deviceState, DeviceState::Idle);

    doc->SetSelection(doc->Length(), 0);
    ASSERT_TRUE(Run(32771));  // nothing after the position: a range of 0 frames
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], Message(1011));
}

TEST_F(TransportTest, WaveDevicesListsTheDevicesThenTheMapperAndKeepsTheChoice) {
    if (!RequireSoundServer()) return;
    const auto outputs = WaveOutDeviceNames();
    ASSERT_FALSE(outputs.empty());
    dialogs.Accept([&](QDialog& dialog) {
        auto& devices = dynamic_cast<CWaveDevicesDlg&>(dialog);
        ASSERT_EQ(devices.m_comboWaveOut->count(), static_cast<int>(outputs.size()) + 1);
        EXPECT_EQ(devices.m_comboWaveOut->currentText(), QString::fromUtf8(LoadString(145)));
        EXPECT_EQ(devices.m_comboWaveIn->currentIndex(), devices.m_comboWaveIn->count() - 1);
        EXPECT_EQ(devices.m_comboWaveOut->itemText(0).toStdString(), outputs[0]);
        devices.m_comboWaveOut->setCurrentIndex(0);
    });
    ASSERT_TRUE(Run(32793));
    EXPECT_EQ(GetProfileInt("DEVICES", "WAVEOUT", -7), 0);
    EXPECT_EQ(GetProfileInt("DEVICES", "WAVEIN", -7), -1);
    EXPECT_EQ(App().waveOutDevice, 0);
    CWaveDevicesDlg again;
    EXPECT_EQ(again.m_comboWaveOut->currentIndex(), 0);
    dialogs.Cancel();
    ASSERT_TRUE(Run(32793));
    EXPECT_EQ(App().waveOutDevice, 0);
}

}  // namespace
}  // namespace kelvane::test
