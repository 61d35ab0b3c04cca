#include <QComboBox>
#include <cstdlib>

#include "devices/WaveDevicesDlg.h"
#include "document/OrvaneDoc.h"
#include "resources/Strings.h"
#include "support/EditorTest.h"

namespace kelvane::test {
namespace {

// Before anything connects: this program has no sound server at all.
const bool kNoServer = [] {
    ::setenv("PULSE_SERVER", "unix:/nonexistent/kelvane-no-server", 1);
    return true;
}();

class NoServer : public EditorTest {};

TEST_F(NoServer, CommandsShowTheirMessagesAndTheDialogOffersOnlyTheMapper) {
    ASSERT_TRUE(kNoServer);
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 4410));
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(Run(32773));
    ASSERT_TRUE(Run(32774));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0], Message(1011));
    EXPECT_EQ(dialogs.messages[1], Message(1002));
    EXPECT_EQ(doc->m_pWave->deviceState, DeviceState::Idle);
    EXPECT_EQ(doc->Length(), 4410u);

    CWaveDevicesDlg devices;
    ASSERT_EQ(devices.m_comboWaveIn->count(), 1);
    ASSERT_EQ(devices.m_comboWaveOut->count(), 1);
    EXPECT_EQ(devices.m_comboWaveOut->itemText(0), QString::fromUtf8(LoadString(145)));
    devices.accept();
    EXPECT_EQ(devices.m_nWaveIn, -1);
    EXPECT_EQ(devices.m_nWaveOut, -1);
}

}  // namespace
}  // namespace kelvane::test
