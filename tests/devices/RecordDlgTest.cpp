#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <filesystem>

#include "DeviceTestUtil.h"
#include "devices/Playback.h"
#include "devices/RecordDlg.h"
#include "devices/Recording.h"
#include "document/OrvaneDoc.h"
#include "support/EditorTest.h"
#include "ui/AppState.h"

namespace kelvane::test {
namespace {

class RecordDlgTest : public EditorTest {
  protected:
    RecordDlgTest() { App().tempDir = recordings.path() + "/"; }
    std::size_t TempFiles() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(recordings.path()), {}));
    }
    ScopedTempDir recordings;
};

TEST_F(RecordDlgTest, MetersShowFullScaleNegativeAndEightBitSilence) {
    if (!RequireSoundServer()) return;
    {
        // Nothing plays: the monitor records 8-bit silence, 128, which is 1 above the offset.
        CRecordDlg dialog(PcmFormat(44100, 8, 1));
        ASSERT_TRUE(dialog.OnInitDialog());
        const WaveObject& wave = *dialog.RecordingWave();
        EXPECT_TRUE(PumpUntil([&] { return GetLeftPeak(wave) != 0; }, 5));
        dialog.OnTimer();
        EXPECT_EQ(GetLeftPeak(wave), 256u);
        EXPECT_EQ(GetRightPeak(wave), 256u);
        EXPECT_EQ(dialog.m_meterLeft->value(), 256);
    }
    WaveObject loud;
    ASSERT_EQ(loud.Allocate(PcmFormat(44100, 16, 2), 3 * 44100), 1u);
    for (std::uint32_t i = 0; i < loud.FrameCount(); ++i) loud.SetFrame(i, 0x80008000u);
    CRecordDlg dialog(PcmFormat(44100, 16, 2));
    ASSERT_TRUE(dialog.OnInitDialog());
    ASSERT_EQ(StartPlay(loud, 0, loud.FrameCount(), 0, -1), DeviceCode::Ok);
    const WaveObject& wave = *dialog.RecordingWave();
    EXPECT_TRUE(PumpUntil([&] { return GetLeftPeak(wave) == 32768; }, 10))
        << "left peak " << GetLeftPeak(wave);
    EXPECT_EQ(GetRightPeak(wave), 32768u);
    dialog.OnTimer();
    EXPECT_EQ(dialog.m_meterLeft->value(), 32767) << "a full meter, not an empty one";
    EXPECT_EQ(dialog.m_meterRight->value(), 32767);
    loud.StopDevice();
}

TEST_F(RecordDlgTest, ShowsTimeAndSpaceAndCloseKeepsTheSound) {
    if (!RequireSoundServer()) return;
    const WaveFormat format = PcmFormat(22050, 16, 2);
    CRecordDlg dialog(format);
    ASSERT_TRUE(dialog.OnInitDialog());
    PumpUntil([&] { return GetRecordedFrames(*dialog.RecordingWave()) >= 22050; }, 10);
    dialog.OnTimer();
    const QString time = dialog.m_staticRecorded->text();
    EXPECT_TRUE(time.endsWith(" Seconds")) << time.toStdString();
    EXPECT_GE(time.section(' ', 0, 0).toDouble(), 1.0) << time.toStdString();
    EXPECT_EQ(time.section(' ', 0, 0).section('.', 1).size(), 4) << time.toStdString();
    EXPECT_TRUE(dialog.m_staticDiskSpace->text().endsWith(" Bytes"));
    EXPECT_GT(dialog.m_staticDiskSpace->text().section(' ', 0, 0).toULongLong(), 0u);

    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    std::unique_ptr<WaveObject> wave = dialog.DetachRecordedWave();
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->deviceState, DeviceState::Idle);
    EXPECT_EQ(wave->mode, WaveMode::Resident);
    EXPECT_EQ(FormatSize(*wave->format), 18u);
    EXPECT_EQ(std::memcmp(wave->format.get(), &format, 18), 0);
    EXPECT_GE(wave->FrameCount(), 22050u / 2);
    EXPECT_EQ(wave->FrameCount() % 2205, 0u) << "whole tenth-of-a-second buffers";
    EXPECT_EQ(TempFiles(), 0u) << "the recorded file lives on unlinked, in its block";
}

TEST_F(RecordDlgTest, EscapeDiscardsTheRecordingAndItsTemporaryFile) {
    if (!RequireSoundServer()) return;
    {
        CRecordDlg dialog(PcmFormat(44100, 16, 1));
        ASSERT_TRUE(dialog.OnInitDialog());
        PumpUntil([&] { return GetRecordedFrames(*dialog.RecordingWave()) > 3 * 4410; }, 10);
        PumpFor(0.3);
        const std::string file = RecordingFileName(*dialog.RecordingWave());
        ASSERT_FALSE(file.empty());
        EXPECT_TRUE(std::filesystem::exists(file));
        EXPECT_GT(std::filesystem::file_size(file), 0u);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &escape);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(TempFiles(), 0u);
}

TEST_F(RecordDlgTest, RecordCommandReplacesTheSoundAndBusyDeviceShowsTheMessage) {
    if (!RequireSoundServer()) return;
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 4410, 1, 11025));
    ASSERT_NE(doc, nullptr);
    const WaveFormat format = *doc->m_pWave->format;
    dialogs.Accept([](QDialog& dialog) {
        auto& record = dynamic_cast<CRecordDlg&>(dialog);
        PumpUntil([&] { return GetRecordedFrames(*record.RecordingWave()) >= 11025; }, 10);
    });
    ASSERT_TRUE(Run(32774));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(std::memcmp(doc->m_pWave->format.get(), &format, 18), 0);
    EXPECT_GE(doc->Length(), 11025u / 2);
    EXPECT_NE(doc->Length(), 4410u);
    EXPECT_TRUE(Enabled(57643)) << "the old sound is the undo state";
    EXPECT_TRUE(doc->IsModified()) << "Close asks before a take is lost";

    // Another recording holds the device.
    WaveObject other;
    other.Allocate(format, 0);
    ASSERT_EQ(StartRecord(other, -1), DeviceCode::Ok);
    const std::uint32_t length = doc->Length();
    ASSERT_TRUE(Run(32774));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], Message(1002));
    EXPECT_EQ(doc->Length(), length);
    EXPECT_EQ(TempFiles(), 0u);
    other.StopDevice();
}

TEST_F(RecordDlgTest, AFullDiskEndsTheTakeAtItsLastWholeBufferWithAMessage) {
    if (!RequireSoundServer()) return;
    ScopedSmallDisk disk(1 << 20);
    if (!disk.Mounted()) GTEST_SKIP() << "mounting a small file system needs root";
    App().tempDir = disk.Folder();
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 4410, 2, 22050));
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(disk.LeaveFree(100000));  // a little over a second at 88200 bytes a second
    dialogs.Accept([](QDialog& dialog) {
        auto& record = dynamic_cast<CRecordDlg&>(dialog);
        EXPECT_TRUE(PumpUntil([&] { return record.DiskFull(); }, 10));
    });
    ASSERT_TRUE(Run(32774));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], Message(1003));
    const std::uint32_t bufferFrames = 22050 / 10;
    EXPECT_GT(doc->Length(), 0u);
    EXPECT_EQ(doc->Length() % bufferFrames, 0u) << "the take ends at a whole buffer";
    EXPECT_LE(doc->Length() * 4u, 100000u);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_TRUE(Run(57643));
    EXPECT_EQ(doc->Length(), 4410u) << "Undo brings the sound before the take back";
}

}  // namespace
}  // namespace kelvane::test
