// Runs the editor in a child process (this program, started again in its child role), kills it
// with SIGKILL at a chosen point, and starts the editor again to recover or discard its work.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>

#include "devices/RecordDlg.h"
#include "devices/Recording.h"
#include "document/DocumentFiles.h"
#include "document/OrvaneDoc.h"
#include "resources/Strings.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "shell/RecoverDlg.h"
#include "shell/WaveSaveDlg.h"
#include "support/EditorTest.h"
#include "wavedata/SessionFolder.h"
#include "wavedata/TempFolder.h"

namespace kelvane::test {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kSelectAll = 32789, kReverse = 32821, kSaveAs = 57604, kRecord = 32774,
                        kUndo = 57643, kRedo = 57644;
constexpr char kScenarioVariable[] = "KELVANE_RECOVERY_SCENARIO";
constexpr std::uint32_t kFrames = 3'000'000;  // long enough that an effect or a save shows progress

std::vector<std::uint8_t> Bytes(const WaveObject& wave) {
    return {wave.data, wave.data + wave.dataBytes};
}

std::string Folder() {
    return std::getenv("KELVANE_RECOVERY_DIR");
}

// The editor of the child role: it does its scenario's work, says so on fd 3 and is killed.
class Victim final : public EditorTest {
  public:
    Victim() : EditorTest(Deferred{}) {
        // Sounds of an earlier victim wait for the test's own start: Escape leaves them.
        if (!FindDeadSessions(TempFolderFor("")).empty()) dialogs.Cancel();
        Start(true);
    }
    void TestBody() override {}

    [[noreturn]] static void Ready() {
        const char done = 1;
        (void)!::write(3, &done, 1);
        for (;;) ::pause();
    }

    // A progress window takes the main window's input: the command is under way.
    void WhenBusy() {
        auto* timer = new QTimer(app().MainFrame());
        QObject::connect(timer, &QTimer::timeout, [this] {
            if (!app().MainFrame()->isEnabled()) Ready();
        });
        timer->start(2);
    }

    void SaveMessages() {
        std::string all;
        for (const QString& message : dialogs.messages) all += message.toStdString() + "\n";
        WriteFileBytes(Folder() + "/messages.txt", {all.begin(), all.end()});
    }

    void Play(const std::string& scenario) {
        COrvaneDoc* doc = Open(Folder() + "/tone.wav");
        ASSERT_NE(doc, nullptr);
        ASSERT_TRUE(Run(kSelectAll));
        ASSERT_TRUE(Run(kReverse));
        // A part reversed: the sound shares the rest of its pages with the one before.
        doc->SetSelection(100'000, 50'000);
        ASSERT_TRUE(Run(kReverse));
        ASSERT_TRUE(WriteFileBytes(Folder() + "/expected.raw", Bytes(*doc->m_pWave)));
        ASSERT_TRUE(WriteFileBytes(Folder() + "/undone.raw", Bytes(*doc->UndoWave())));
        if (scenario == "command") {
            // A selection made with the mouse is no command: it is kept within a second.
            doc->SetSelection(1000, 5000);
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
            while (std::chrono::steady_clock::now() < until) QApplication::processEvents();
            Ready();
        }
        if (scenario == "effect") {
            WhenBusy();
            Run(kSelectAll);
            Run(kReverse);
        }
        if (scenario == "save") {
            WhenBusy();
            dialogs.Accept([](QDialog& d) {
                auto& save = dynamic_cast<CWaveSaveDlg&>(d);
                save.SelectType(kSaveWave);
                save.selectFile(QString::fromStdString(Folder() + "/saved.wav"));
            });
            Run(kSaveAs);
        }
        if (scenario == "full disk") {
            FillDisk(std::getenv("TMPDIR"), 0);
            Run(kSelectAll);  // its manifest cannot be written
            Run(kReverse);    // nor its new sound
            SaveMessages();
            Ready();
        }
        if (scenario == "full disk while recording") {
            FillDisk(std::getenv("TMPDIR"), 5 * 8820);  // a few buffers of 44100 Hz 16-bit mono
            dialogs.Then([](QDialog& d) {
                while (d.result() == 0) QApplication::processEvents();  // until the disk is full
                return d.result();
            });
            Run(kRecord);
            SaveMessages();
            Ready();
        }
        if (scenario == "record") {
            dialogs.Then([](QDialog& d) {
                const WaveObject& wave = *dynamic_cast<CRecordDlg&>(d).RecordingWave();
                while (GetRecordedFrames(wave) < 5 * 4410) QApplication::processEvents();
                Ready();
                return 0;
            });
            Run(kRecord);
        }
        ADD_FAILURE() << "the scenario ended before it was killed";
    }
};

class RecoveryTest : public EditorTest {
  protected:
    RecoveryTest() : EditorTest(Deferred{}) {
        fs::create_directory(temp);
        ::setenv("TMPDIR", temp.c_str(), 1);
        ::setenv("KELVANE_RECOVERY_DIR", dir.path().c_str(), 1);
    }
    ~RecoveryTest() override { ::unsetenv("TMPDIR"); }

    // Runs the child until it reports its scenario's point, then kills it.
    void Kill(const std::string& scenario) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::dup2(ready[1], 3);
            ::setenv(kScenarioVariable, scenario.c_str(), 1);
            ::execl("/proc/self/exe", "recovery_tests", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(ready[1]);
        pollfd wait{ready[0], POLLIN, 0};
        char done = 0;
        const bool reached = ::poll(&wait, 1, 120'000) == 1 && ::read(ready[0], &done, 1) == 1;
        ::close(ready[0]);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ASSERT_TRUE(reached) << scenario << ": the child ended before its point";
    }

    // Every file and empty folder in the editor's own temporary folder.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(Own()))
            if (!entry.is_directory() || fs::is_empty(entry.path())) found.push_back(entry.path());
        return found;
    }

    // The one manifest a killed copy left.
    QJsonObject Manifest() const {
        for (const auto& entry : fs::recursive_directory_iterator(Own()))
            if (entry.path().filename().string().starts_with("doc-")) {
                QFile file(QString::fromStdString(entry.path()));
                if (file.open(QIODevice::ReadOnly))
                    return QJsonDocument::fromJson(file.readAll()).object();
            }
        ADD_FAILURE() << "no manifest";
        return {};
    }

    std::string Own() const { return temp + "/kelvane-" + std::to_string(::getuid()); }

    std::string temp = dir.File("tmp");
};

TEST_F(RecoveryTest, RecoverGivesEachSoundAsAfterItsLastCompletedCommand) {
    WriteTone("tone.wav", kFrames);
    for (const std::string scenario : {"command", "effect", "save"}) {
        SCOPED_TRACE(scenario);
        Kill(scenario);
        EXPECT_GT(Manifest()["sound"].toObject()["pieces"].toArray().size(), 1)
            << "the sound is pieces of several files";
        QStringList listed;
        dialogs.Then([&](QDialog& d) {
            auto& recover = dynamic_cast<CRecoverDlg&>(d);
            EXPECT_EQ(recover.windowTitle(), "Recover Sounds");
            EXPECT_TRUE(recover.RecoverButton()->isDefault());
            for (int i = 0; i < recover.List()->topLevelItemCount(); ++i)
                listed << recover.List()->topLevelItem(i)->text(0) + " | " +
                              recover.List()->topLevelItem(i)->text(2);
            return int(QDialog::Accepted);
        });
        Start(true);
        EXPECT_EQ(listed, QStringList{"tone.wav | 68.027 Seconds"});
        ASSERT_EQ(app().DocumentCount(), 1u);
        COrvaneDoc& doc = *app().Document(0);
        EXPECT_TRUE(Bytes(*doc.m_pWave) == ReadFileBytes(dir.File("expected.raw")));
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.Title(), "tone.wav");
        EXPECT_EQ(doc.PathName(), dir.File("tone.wav"));
        // As the last completed command left it: the mouse's, Select All's, Reverse's.
        const std::map<std::string, std::pair<std::uint32_t, std::uint32_t>> selections = {
            {"command", {1000, 5000}}, {"effect", {0, kFrames}}, {"save", {100'000, 50'000}}};
        EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), selections.at(scenario));
        EXPECT_FALSE(fs::exists(dir.File("saved.wav"))) << "no half-written file under its name";
        EXPECT_EQ(doc.m_pWave->storage->kind, BlockKind::Pieces) << "taken over, not copied";
        ASSERT_TRUE(Run(kUndo));
        EXPECT_TRUE(Bytes(*doc.m_pWave) == ReadFileBytes(dir.File("undone.raw")));
        ASSERT_TRUE(Run(kRedo));
        EXPECT_TRUE(Bytes(*doc.m_pWave) == ReadFileBytes(dir.File("expected.raw")));

        doc.SetModifiedFlag(false);  // a clean exit with nothing to ask
        Stop();
        EXPECT_EQ(Leftovers(), std::vector<std::string>{}) << "a clean exit leaves nothing";
    }
}

TEST_F(RecoveryTest, DiscardLeavesNothingAndACleanExitOffersNothingNextTime) {
    WriteTone("tone.wav", 10000);
    Kill("command");
    dialogs.Then([](QDialog& d) {
        d.done(CRecoverDlg::kDiscard);
        return CRecoverDlg::kDiscard;
    });
    Start(true);
    EXPECT_EQ(app().DocumentCount(), 0u);
    const auto sessions = Leftovers();
    ASSERT_EQ(sessions.size(), 1u) << "only this copy's own lock";
    EXPECT_TRUE(sessions[0].ends_with("/lock"));

    // Escape keeps the sounds for the next start instead of deleting them.
    Stop();
    Kill("command");
    dialogs.Cancel();
    Start(true);
    EXPECT_EQ(app().DocumentCount(), 0u);
    Stop();
    dialogs.Then([](QDialog& d) {
        d.done(CRecoverDlg::kDiscard);
        return CRecoverDlg::kDiscard;
    });
    Start(true);
    Stop();
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    Start(true);  // a dialog now would fail the test
    Stop();
}

TEST_F(RecoveryTest, ASoundWhoseFilesAreGoneIsSaidAndKeptTheOthersComeBack) {
    WriteTone("tone.wav", 200'000);
    Kill("command");
    for (const auto& entry : fs::recursive_directory_iterator(Own()))
        if (entry.path().filename().string().starts_with("keep-")) fs::remove(entry.path());
    Kill("command");  // its start leaves the damaged session alone
    // A third whose files were cut short (a damaged disk): mapped, it would fault when read.
    std::set<fs::path> before;
    for (const auto& entry : fs::directory_iterator(Own())) before.insert(entry.path());
    Kill("command");
    for (const auto& entry : fs::directory_iterator(Own()))
        if (!before.contains(entry.path()))
            for (const auto& file : fs::directory_iterator(entry.path()))
                if (file.path().filename().string().starts_with("keep-"))
                    fs::resize_file(file.path(), fs::file_size(file.path()) / 2);

    int rows = 0;
    dialogs.Then([&](QDialog& d) {
        rows = dynamic_cast<CRecoverDlg&>(d).List()->topLevelItemCount();
        return int(QDialog::Accepted);
    });
    Start(true);
    EXPECT_EQ(rows, 3);
    const QString lost = QString::fromStdString(FormatString(227, "tone.wav"));
    EXPECT_EQ(dialogs.messages, (std::vector<QString>{lost, lost}));
    ASSERT_EQ(app().DocumentCount(), 1u);
    EXPECT_TRUE(Bytes(*app().Document(0)->m_pWave) == ReadFileBytes(dir.File("expected.raw")));
    app().Document(0)->SetModifiedFlag(false);
    Stop();

    dialogs.Then([&](QDialog& d) {
        rows = dynamic_cast<CRecoverDlg&>(d).List()->topLevelItemCount();
        d.done(CRecoverDlg::kDiscard);
        return CRecoverDlg::kDiscard;
    });
    Start(true);
    EXPECT_EQ(rows, 2) << "only the ones that could not come back";
    Stop();
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(RecoveryTest, ARecordingComesBackUpToItsLastBufferWritten) {
    if (!RequireSoundServer()) return;
    WriteTone("tone.wav", 10000, 1, 44100);
    Kill("record");
    // What reached the take's file by the kill, read beside the editor.
    const std::vector<std::uint8_t> written =
        ReadFileBytes(Manifest()["recording"].toObject()["file"].toString().toStdString());
    const std::uint32_t buffer = 4410 * 2;
    ASSERT_GE(written.size(), 2u * buffer);
    EXPECT_EQ(written.size() % buffer, 0u) << "whole buffers only";

    dialogs.Accept();
    Start(true);
    ASSERT_EQ(app().DocumentCount(), 1u);
    EXPECT_TRUE(Bytes(*app().Document(0)->m_pWave) == written);
    EXPECT_TRUE(app().Document(0)->IsModified());
    app().Document(0)->SetModifiedFlag(false);
    Stop();
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

// The temporary folder on a small file system of its own, which the test fills.
class FullDiskTest : public RecoveryTest {
  protected:
    std::string Messages() const {
        const auto bytes = ReadFileBytes(dir.File("messages.txt"));
        return {bytes.begin(), bytes.end()};
    }

    ScopedSmallDisk disk{4 << 20, temp};
};

#define REQUIRE_MOUNT()                                                                  \
    if (!disk.Mounted())                                                                 \
    GTEST_SKIP() << "a small file system cannot be mounted here (it needs root and the " \
                    "mount system call); the full-disk cases are not run"

TEST_F(FullDiskTest, AnEffectAndAManifestWithoutSpaceSaySoAndLoseNothing) {
    REQUIRE_MOUNT();
    WriteTone("tone.wav", 300'000, 2);
    const auto original = ReadFileBytes(dir.File("tone.wav"));
    Kill("full disk");
    const std::string messages = Messages();
    EXPECT_NE(messages.find(Message(1003).toStdString()), std::string::npos) << messages;
    EXPECT_NE(messages.find(FormatString(226, "tone.wav")), std::string::npos) << messages;
    EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 2) << "each said once";

    fs::remove(temp + "/.filler");  // the space FillDisk took
    dialogs.Accept();
    Start(true);
    ASSERT_EQ(app().DocumentCount(), 1u);
    COrvaneDoc& doc = *app().Document(0);
    EXPECT_TRUE(Bytes(*doc.m_pWave) == ReadFileBytes(dir.File("expected.raw")));
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(100'000u, 50'000u))
        << "as the last manifest written says";
    EXPECT_TRUE(ReadFileBytes(dir.File("tone.wav")) == original) << "the saved file";
    doc.SetModifiedFlag(false);
    Stop();
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(FullDiskTest, ARecordingThatFillsTheDiskKeepsWhatReachedIt) {
    REQUIRE_MOUNT();
    if (!RequireSoundServer()) return;
    WriteTone("tone.wav", 50'000, 1);
    Kill("full disk while recording");
    EXPECT_NE(Messages().find(Message(1003).toStdString()), std::string::npos) << Messages();
    const std::vector<std::uint8_t> take =
        ReadFileBytes(Manifest()["recording"].toObject()["file"].toString().toStdString());
    EXPECT_GT(take.size(), 0u);
    EXPECT_EQ(take.size() % 8820, 0u) << "whole buffers only";

    fs::remove(temp + "/.filler");  // the space FillDisk took
    dialogs.Accept();
    Start(true);
    ASSERT_EQ(app().DocumentCount(), 1u);
    EXPECT_TRUE(Bytes(*app().Document(0)->m_pWave) == take);
    app().Document(0)->SetModifiedFlag(false);
    Stop();
}

}  // namespace
}  // namespace kelvane::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (const char* scenario = std::getenv(kelvane::test::kScenarioVariable)) {
        kelvane::test::Victim victim;
        victim.Play(scenario);
        return 1;
    }
    return RUN_ALL_TESTS();
}
