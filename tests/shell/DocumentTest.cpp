#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <cstring>
#include <functional>

#include "document/OrvaneDoc.h"
#include "document/RawFileFormatDlg.h"
#include "document/SelectionDlg.h"
#include "formats/FileError.h"
#include "processing/dialogs/WaveFormatDlg.h"
#include "shell/OrvaneApp.h"
#include "support/EditorTest.h"
#include "ui/AppState.h"

namespace kelvane::test {
namespace {

class DocumentTest : public EditorTest {};

std::vector<std::uint8_t> Bytes(const WaveObject& wave) {
    return {wave.data, wave.data + wave.dataBytes};
}

TEST_F(DocumentTest, UndoAndRedoSwapWholeSoundsAndFollowTheirSelectionRules) {
    App().undoLevels = 1;
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 1000));
    ASSERT_NE(doc, nullptr);
    const auto original = Bytes(*doc->m_pWave);
    EXPECT_FALSE(Enabled(57643)) << "Undo right after Open";
    EXPECT_FALSE(doc->IsModified());

    ASSERT_TRUE(Run(32789));  // Select All
    EXPECT_EQ(doc->m_nSelStart, 0u);
    EXPECT_EQ(doc->m_nSelLength, 1000u);
    ASSERT_TRUE(Run(32821));  // Reverse
    const auto reversed = Bytes(*doc->m_pWave);
    EXPECT_NE(reversed, original);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(Enabled(57643));
    EXPECT_FALSE(Enabled(57644));

    doc->m_nSelStart = 700;
    ASSERT_TRUE(Run(57643));  // Undo
    EXPECT_EQ(Bytes(*doc->m_pWave), original);
    EXPECT_EQ(doc->m_nSelStart, 700u);
    EXPECT_EQ(doc->m_nSelLength, 0u);
    EXPECT_TRUE(doc->IsModified()) << "an undone change still counts";
    EXPECT_FALSE(Enabled(57643));
    ASSERT_TRUE(Run(57644));  // Redo
    EXPECT_EQ(Bytes(*doc->m_pWave), reversed);
    EXPECT_EQ(doc->m_nSelStart, 0u);
    EXPECT_TRUE(Enabled(57643));
    EXPECT_FALSE(Enabled(57644));

    // Change A, change B, Undo: A's sound, and nothing further back.
    ASSERT_TRUE(Run(32789));
    ASSERT_TRUE(Run(32821));
    ASSERT_TRUE(Run(57643));
    EXPECT_EQ(Bytes(*doc->m_pWave), reversed);
    EXPECT_FALSE(Enabled(57643));

    // Change, Undo, change: the undone sound is gone.
    ASSERT_TRUE(Run(32821));
    ASSERT_TRUE(Run(57643));
    ASSERT_TRUE(Run(32821));
    EXPECT_FALSE(Enabled(57644));
}

// Reverses a different piece each time, so that every state differs from every other.
std::vector<std::vector<std::uint8_t>> MakeChanges(COrvaneDoc& doc, int count,
                                                   const std::function<bool(std::uint32_t)>& run) {
    std::vector<std::vector<std::uint8_t>> states{Bytes(*doc.m_pWave)};
    for (int i = 0; i < count; ++i) {
        doc.SetSelection(static_cast<std::uint32_t>(i) * 37, 300);
        EXPECT_TRUE(run(32821));
        states.push_back(Bytes(*doc.m_pWave));
    }
    return states;
}

TEST_F(DocumentTest, EveryUndoLevelKeepsTheRulesOfOne) {
    App().undoLevels = 5;
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 1000));
    ASSERT_NE(doc, nullptr);
    const auto run = [this](std::uint32_t id) { return Run(id); };
    const auto states = MakeChanges(*doc, 8, run);
    EXPECT_EQ(doc->UndoLevels(), 5u) << "the oldest states went first";

    for (int back = 1; back <= 5; ++back) {
        doc->m_nSelStart = 900;
        doc->m_nSelLength = 50;
        ASSERT_TRUE(Run(57643)) << back;
        EXPECT_EQ(Bytes(*doc->m_pWave), states[8 - back]) << back;
        EXPECT_EQ(doc->m_nSelStart, 900u);
        EXPECT_EQ(doc->m_nSelLength, 0u);
        EXPECT_TRUE(Enabled(57644));
    }
    EXPECT_FALSE(Enabled(57643)) << "five levels and no more";
    EXPECT_TRUE(doc->IsModified());
    for (int forward = 4; forward >= 1; --forward) {
        doc->m_nSelStart = 900;
        ASSERT_TRUE(Run(57644));
        EXPECT_EQ(Bytes(*doc->m_pWave), states[8 - forward]);
        EXPECT_EQ(doc->m_nSelStart, 0u) << "Redo goes to the beginning";
        EXPECT_TRUE(Enabled(57643));
    }
    // A new change frees every redo state.
    ASSERT_TRUE(Run(32821));
    EXPECT_FALSE(Enabled(57644));
    EXPECT_EQ(doc->RedoLevels(), 0u);
    ASSERT_TRUE(Run(57643));
    EXPECT_EQ(Bytes(*doc->m_pWave), states[7]);
}

TEST_F(DocumentTest, UndoHoldsNoMoreDiskSpaceThanItsLimit) {
    App().undoLevels = 20;
    App().undoDiskLimit = 3 * 4000 + 2000;  // room for three states of 1000 stereo frames
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 1000));
    ASSERT_NE(doc, nullptr);
    const auto run = [this](std::uint32_t id) { return Run(id); };
    const auto states = MakeChanges(*doc, 6, run);
    EXPECT_EQ(doc->UndoLevels(), 3u);
    ASSERT_TRUE(Run(57643));
    ASSERT_TRUE(Run(57643));
    EXPECT_EQ(doc->UndoLevels() + doc->RedoLevels(), 3u) << "undone states count too";
    ASSERT_TRUE(Run(57643));
    EXPECT_EQ(Bytes(*doc->m_pWave), states[3]);
    EXPECT_FALSE(Enabled(57643));

    // A limit below one state still keeps the newest, as one level always has.
    App().undoDiskLimit = 1;
    COrvaneDoc* other = Open(WriteTone("other.wav", 1000));
    ASSERT_NE(other, nullptr);
    MakeChanges(*other, 3, run);
    EXPECT_EQ(other->UndoLevels(), 1u);
}

TEST_F(DocumentTest, UndoOntoAShorterSoundClampsThePosition) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 500));
    ASSERT_NE(doc, nullptr);
    doc->ReplaceWave(SweepWave(44100, 2, 2000, 100, 200, 1000));
    doc->SetSelection(1500, 100);
    ASSERT_TRUE(Run(57643));
    EXPECT_EQ(doc->m_nSelStart, 500u);
    EXPECT_EQ(doc->m_nSelLength, 0u);
    EXPECT_EQ(doc->RedoWave()->FrameCount(), 2000u);
    EXPECT_EQ(doc->UndoWave(), nullptr) << "two sounds at most";
}

TEST_F(DocumentTest, SelectionDialogClampsWhatWasTyped) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 500));
    ASSERT_NE(doc, nullptr);
    struct Case {
        const char* start;
        const char* length;
        std::uint32_t selStart, selLength;
    };
    for (const Case& c : {Case{"1000.9", "10.7", 500, 0}, Case{"-5", "100", 0, 100},
                          Case{"10", "-1", 10, 490}, Case{"20.9", "30.9", 20, 30}}) {
        dialogs.Accept([&](QDialog& d) {
            auto& selection = dynamic_cast<CSelectionDlg&>(d);
            EXPECT_EQ(selection.m_editStart->text(), "0") << "the fields start at 0";
            selection.m_editStart->setText(c.start);
            selection.m_editLength->setText(c.length);
        });
        ASSERT_TRUE(Run(32791));
        EXPECT_EQ(doc->m_nSelStart, c.selStart) << c.start << " " << c.length;
        EXPECT_EQ(doc->m_nSelLength, c.selLength) << c.start << " " << c.length;
    }
}

TEST_F(DocumentTest, PromoteCopiesTheSelectionIntoANewDocument) {
    const std::string path = WriteTone("tone.wav", 100000);
    COrvaneDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(Enabled(32834)) << "nothing selected";
    // 65536 stereo frames are exactly one copy chunk; one frame more takes the progress window.
    for (std::uint32_t length : {65536u, 65537u}) {
        ASSERT_EQ(Open(path), doc) << "opening an open file activates its window";
        doc->SetSelection(1000, length);
        ASSERT_TRUE(Run(32834));
        COrvaneDoc* promoted = ActiveDocument();
        ASSERT_NE(promoted, doc);
        ASSERT_EQ(promoted->Length(), length);
        EXPECT_EQ(0, std::memcmp(promoted->m_pWave->data, doc->m_pWave->data + 4000, length * 4));
        EXPECT_TRUE(promoted->IsModified());
        EXPECT_FALSE(doc->IsModified());
    }
}

std::unique_ptr<WaveObject> RecordShortSound(const WaveFormat&) {
    return SweepWave(44100, 2, 100, 100, 200, 1000);
}

TEST_F(DocumentTest, PromoteAfterAShorterRecordingTakesOnlyWhatIsLeft) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 2000));
    ASSERT_NE(doc, nullptr);
    doc->SetSelection(50, 1500);
    Devices().record = RecordShortSound;
    ASSERT_TRUE(Run(32774));
    Devices().record = nullptr;
    ASSERT_EQ(doc->Length(), 100u);
    ASSERT_TRUE(Run(32834));
    COrvaneDoc* promoted = ActiveDocument();
    ASSERT_NE(promoted, doc);
    ASSERT_EQ(promoted->Length(), 50u);
    EXPECT_EQ(0, std::memcmp(promoted->m_pWave->data, doc->m_pWave->data + 200, 50 * 4));
}

TEST_F(DocumentTest, APromoteWithoutTemporarySpaceLeavesAUsableEmptyDocument) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 2000));
    ASSERT_NE(doc, nullptr);
    doc->SetSelection(0, 1000);
    const std::string folder = App().tempDir;
    App().tempDir = dir.File("gone");
    ASSERT_TRUE(Run(32834));
    App().tempDir = folder;
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], Message(1003));
    COrvaneDoc* promoted = ActiveDocument();
    ASSERT_NE(promoted, doc);
    ASSERT_NE(promoted->m_pWave->format, nullptr);
    EXPECT_EQ(promoted->Length(), 0u);
    // The commands that read the format work on it: Save As offers it, Record proposes it
    // (last: without a sound server it shows a message, not its dialog).
    dialogs.Cancel();
    EXPECT_TRUE(Run(57603));
    dialogs.Cancel();
    EXPECT_TRUE(Run(57604));
    dialogs.Cancel();
    EXPECT_TRUE(Run(32774));
}

TEST_F(DocumentTest, NewAsksForTheFormatAndStartsEmpty) {
    dialogs.Cancel();
    ASSERT_TRUE(Run(57600));
    EXPECT_EQ(app().DocumentCount(), 0u);

    dialogs.Accept([](QDialog& d) { dynamic_cast<CWaveFormatDlg&>(d).m_comboRate->setEditText("48001"); });
    ASSERT_TRUE(Run(57600));
    EXPECT_EQ(app().DocumentCount(), 0u);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], Message(1001));

    dialogs.Accept([](QDialog& d) {
        auto& format = dynamic_cast<CWaveFormatDlg&>(d);
        format.m_comboRate->setEditText("44100");
        format.m_radioStereo->setChecked(true);
        format.m_radio16->setChecked(true);
    });
    ASSERT_TRUE(Run(57600));
    COrvaneDoc* doc = ActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_pWave->mode, WaveMode::FormatOnly);
    EXPECT_EQ(doc->m_pWave->format->samplesPerSec, 44100u);
    EXPECT_EQ(doc->m_pWave->format->blockAlign, 4u);
    EXPECT_TRUE(doc->IsModified());
    // An empty sound: nothing to play or promote; Select All selects nothing.
    for (std::uint32_t id : {32771u, 32773u, 32778u, 32834u}) EXPECT_FALSE(Enabled(id)) << id;
    ASSERT_TRUE(Run(32789));
    EXPECT_EQ(doc->m_nSelLength, 0u);
}

TEST_F(DocumentTest, ClosingAskedAboutChangesStopsOnCancel) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 1000));
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(Run(32821));
    dialogs.Reply(QMessageBox::Cancel);
    ASSERT_TRUE(Run(57602));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "Save changes to tone.wav?");
    EXPECT_EQ(app().DocumentCount(), 1u);

    Open(WriteTone("other.wav", 1000));
    dialogs.Reply(QMessageBox::Cancel);
    ASSERT_TRUE(Run(32835));  // Close All
    EXPECT_EQ(app().DocumentCount(), 2u);
    dialogs.Reply(QMessageBox::No);
    ASSERT_TRUE(Run(32835));
    EXPECT_EQ(app().DocumentCount(), 0u);
    EXPECT_FALSE(Enabled(57602));
}

TEST_F(DocumentTest, SaveWritesByExtension) {
    const std::string path = WriteTone("tone.wav", 4410);
    COrvaneDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(Run(32821));
    ASSERT_TRUE(Run(57603));
    EXPECT_FALSE(doc->IsModified());
    WaveObject saved;
    ASSERT_EQ(saved.Load(path, 0), FileError::Success);
    EXPECT_EQ(Bytes(saved), Bytes(*doc->m_pWave));
}

}  // namespace
}  // namespace kelvane::test
