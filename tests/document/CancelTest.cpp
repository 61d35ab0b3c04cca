#include <filesystem>

#include "document/OrvaneDoc.h"
#include "shell/OrvaneApp.h"
#include "support/EditorTest.h"
#include "ui/AppState.h"
#include "wavedata/DataBlock.h"

namespace kelvane::test {
namespace {

constexpr std::uint32_t kSave = 57603, kCopy = 57634, kCut = 57635, kPaste = 57637;
constexpr std::uint32_t kReverse = 32821, kNormalize = 32822, kUndo = 57643, kPromote = 32834;

std::vector<std::uint8_t> Bytes(const WaveObject& wave) {
    return {wave.data, wave.data + wave.dataBytes};
}

// Edits copy whole sounds while it lives, so every copy shows a progress window to cancel.
class WholeCopies {
  public:
    WholeCopies() { SetPageSharing(false); }
    ~WholeCopies() { SetPageSharing(true); }
    WholeCopies(const WholeCopies&) = delete;
    WholeCopies& operator=(const WholeCopies&) = delete;
};

std::size_t FilesIn(const std::string& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++n;
    return n;
}

// Cancel in the progress window of an effect, a clipboard command, a save or an open leaves
// the sound, the clipboard and the file as they were, and says nothing.
TEST_F(EditorTest, CancelLeavesTheSoundTheClipboardAndTheFileAsTheyWere) {
    const std::string path = WriteTone("long.wav", 1'000'000);
    COrvaneDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    const std::vector<std::uint8_t> sound = Bytes(*doc->m_pWave);
    const std::vector<std::uint8_t> file = ReadFileBytes(path);

    for (std::uint32_t effect : {kReverse, kNormalize}) {
        CancelClicker clicker;
        ASSERT_TRUE(Run(effect));
        EXPECT_TRUE(clicker.clicked) << effect;
        EXPECT_EQ(Bytes(*doc->m_pWave), sound) << effect;
        EXPECT_FALSE(doc->IsModified()) << effect;
        EXPECT_FALSE(Enabled(kUndo)) << effect;
    }

    doc->SetSelection(0, 1000);
    ASSERT_TRUE(Run(kCopy));  // too short for a progress window
    const std::vector<std::uint8_t> clip = Bytes(*App().clipboardWave);
    auto expectUnchanged = [&](std::uint32_t command) {
        EXPECT_EQ(Bytes(*App().clipboardWave), clip) << command;
        EXPECT_EQ(Bytes(*doc->m_pWave), sound) << command;
        EXPECT_FALSE(doc->IsModified()) << command;
    };
    {
        WholeCopies whole;
        for (std::uint32_t command : {kCopy, kCut, kPaste}) {
            // Paste at the start: the whole sound moves along behind the clipboard's.
            doc->SetSelection(0, command == kPaste ? 0 : doc->Length());
            CancelClicker clicker;
            ASSERT_TRUE(Run(command));
            EXPECT_TRUE(clicker.clicked) << command;
            expectUnchanged(command);
        }
    }
    {
        // Cut's copy shares its pages, but the deletion moves the frames on one side of a cut
        // that is not a whole number of pages long.
        doc->SetSelection(doc->Length() / 3 + 1, doc->Length() / 3);
        CancelClicker clicker;
        ASSERT_TRUE(Run(kCut));
        EXPECT_TRUE(clicker.clicked);
        expectUnchanged(kCut);
    }

    ASSERT_TRUE(Run(kReverse));  // Save writes only a changed sound
    const std::size_t files = FilesIn(dir.path());
    {
        CancelClicker clicker;
        ASSERT_TRUE(Run(kSave));
        EXPECT_TRUE(clicker.clicked);
    }
    EXPECT_EQ(ReadFileBytes(path), file);
    EXPECT_EQ(FilesIn(dir.path()), files) << "no partial file is left";
    EXPECT_TRUE(doc->IsModified());

    const std::size_t documents = app().DocumentCount();
    doc->SetSelection(0, doc->Length());
    {
        CancelClicker clicker;
        ASSERT_TRUE(Run(kPromote));
        EXPECT_TRUE(clicker.clicked);
    }
    EXPECT_EQ(app().DocumentCount(), documents) << "a cancelled Promote leaves no new document";
    EXPECT_EQ(ActiveDocument(), doc);

    app().CloseAllDocuments();
    {
        CancelClicker clicker;
        EXPECT_EQ(Open(path), nullptr);
        EXPECT_TRUE(clicker.clicked);
    }
    EXPECT_EQ(app().DocumentCount(), 0u);
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace kelvane::test
