#include <filesystem>

#include "document/OrvaneDoc.h"
#include "formats/FileError.h"
#include "shell/OrvaneApp.h"
#include "shell/WaveSaveDlg.h"
#include "support/EditorTest.h"
#include "ui/AppState.h"

namespace kelvane::test {
namespace {

constexpr std::uint32_t kSelectAll = 32789, kReverse = 32821, kSave = 57603, kSaveAs = 57604,
                        kUndo = 57643;

std::vector<std::uint8_t> Bytes(const WaveObject& wave) {
    return {wave.data, wave.data + wave.dataBytes};
}

std::size_t FilesIn(const std::string& folder) {
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        count += entry.is_regular_file() && entry.path().filename() != ".filler";
    return count;
}

class FullDiskTest : public EditorTest {
  protected:
    ScopedSmallDisk disk{4 << 20};
};

TEST_F(FullDiskTest, AFullTemporaryFolderStopsChangesWithAMessageAndLosesNothing) {
    if (!disk.Mounted()) GTEST_SKIP() << "mounting a small file system needs root";
    App().tempDir = disk.Folder();
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 100000));  // 400 kB, copied into the folder
    ASSERT_NE(doc, nullptr);
    const std::size_t filesOfTheSound = FilesIn(disk.Folder());
    const auto original = Bytes(*doc->m_pWave);
    ASSERT_TRUE(disk.LeaveFree(64 << 10));

    ASSERT_TRUE(Run(kSelectAll));
    ASSERT_TRUE(Run(kReverse));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], Message(1003));
    EXPECT_EQ(Bytes(*doc->m_pWave), original);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(Enabled(kUndo)) << "a change that failed leaves no undo state";
    EXPECT_EQ(FilesIn(disk.Folder()), filesOfTheSound) << "nothing half-made is left";

    // A file that does not fit is not opened, and the open document is untouched.
    const std::size_t documents = app().DocumentCount();
    EXPECT_EQ(Open(WriteTone("long.wav", 400000)), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1], Message(1005));
    EXPECT_EQ(app().DocumentCount(), documents);
    EXPECT_EQ(FilesIn(disk.Folder()), filesOfTheSound);

    // With space again, the same command works.
    disk.Free();
    ASSERT_TRUE(Run(kReverse));
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(Bytes(*doc->m_pWave), original);
    ASSERT_TRUE(Run(kUndo));
    EXPECT_EQ(Bytes(*doc->m_pWave), original);
}

TEST_F(FullDiskTest, SavingOntoAFullDiskKeepsTheOldFileAndTheChanges) {
    if (!disk.Mounted()) GTEST_SKIP() << "mounting a small file system needs root";
    const std::string path = disk.File("tone.wav");
    std::filesystem::copy_file(WriteTone("tone.wav", 50000), path);
    const auto onDisk = ReadFileBytes(path);
    COrvaneDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(Run(kSelectAll));
    ASSERT_TRUE(Run(kReverse));
    const auto changed = Bytes(*doc->m_pWave);
    ASSERT_TRUE(disk.LeaveFree(32 << 10));

    ASSERT_TRUE(Run(kSave));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], Message(1009));
    EXPECT_EQ(ReadFileBytes(path), onDisk) << "the old file stands until the new one is whole";
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Bytes(*doc->m_pWave), changed);

    // Save As onto the full disk leaves no partial file behind.
    dialogs.Accept([&](QDialog& dialog) {
        dynamic_cast<CWaveSaveDlg&>(dialog).selectFile(
            QString::fromStdString(disk.File("copy.wav")));
    });
    ASSERT_TRUE(Run(kSaveAs));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(disk.File("copy.wav")));
    EXPECT_EQ(FilesIn(disk.Folder()), 1u);

    disk.Free();
    ASSERT_TRUE(Run(kSave));
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_FALSE(doc->IsModified());
    WaveObject saved;
    ASSERT_EQ(saved.Load(path, 0), FileError::Success);
    EXPECT_EQ(Bytes(saved), changed);
}

}  // namespace
}  // namespace kelvane::test
