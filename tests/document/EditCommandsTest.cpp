#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "document/OrvaneDoc.h"
#include "formats/FileError.h"
#include "resources/Strings.h"
#include "shell/OrvaneApp.h"
#include "support/EditorTest.h"
#include "ui/AppState.h"

namespace kelvane::test {
namespace {

constexpr std::uint32_t kCut = 57635, kCopy = 57634, kPaste = 57637, kDelete = 32808, kMix = 32806,
                        kTrim = 32807, kUndo = 57643, kSelectAll = 32789, kGoToEnd = 32781,
                        kClose = 57602;

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const WaveObject& wave) {
    return wave.data ? Bytes(wave.data, wave.data + wave.dataBytes) : Bytes{};
}

// Frames [from, to) of `bytes` with `align` bytes a frame.
Bytes Frames(const Bytes& bytes, std::uint32_t align, std::uint32_t from, std::uint32_t to) {
    return {bytes.begin() + from * align, bytes.begin() + to * align};
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Stands first in a document's view list, where progress and hints go, for its lifetime.
class SpyView final : public DocumentView, public ProgressIndicator {
  public:
    explicit SpyView(COrvaneDoc& doc) : doc_(doc), others_(doc.Views()) {
        for (DocumentView* view : others_) doc_.RemoveView(view);
        doc_.AddView(this);
        for (DocumentView* view : others_) doc_.AddView(view);
    }
    ~SpyView() override { doc_.RemoveView(this); }

    void OnUpdate(std::uint32_t hint) override { hints.push_back(hint); }
    void BeginProgress() override { ++opened, open_ = true; }
    void SetProgressText(std::string_view text) override { texts.emplace_back(text); }
    void EndProgress() override { open_ = false; }
    ProgressIndicator* Progress() override { return open_ ? this : nullptr; }

    bool Create(void*) override { return true; }
    void SetText(std::string_view) override {}
    int SetPos(int position) override {
        positions.push_back(position);
        return 0;
    }
    void SetRange(int, int) override {}

    int opened = 0;
    std::vector<std::string> texts;
    std::vector<std::uint32_t> hints;
    std::vector<int> positions;

  private:
    COrvaneDoc& doc_;
    std::vector<DocumentView*> others_;
    bool open_ = false;
};

std::vector<std::string> Texts(std::initializer_list<std::uint32_t> ids) {
    std::vector<std::string> texts;
    for (std::uint32_t id : ids) texts.emplace_back(LoadString(id));
    return texts;
}

class EditCommandsTest : public EditorTest {
  protected:
    // A Wave file whose frame i is frame(i), with a title in its INFO texts.
    std::string WriteWave(const std::string& name, const WaveFormat& format, std::uint32_t frames,
                          const std::function<FrameValue(std::uint32_t)>& frame) {
        WaveObject wave(0);
        EXPECT_TRUE(wave.Allocate(format, frames));
        for (std::uint32_t i = 0; i < frames; ++i) wave.SetFrame(i, frame(i));
        wave.SetInfo("INAM", name.c_str());
        const std::string path = dir.File(name);
        EXPECT_EQ(wave.Save(path, kFileWave), FileError::Success);
        return path;
    }
    std::string WriteRandom(const std::string& name, std::uint32_t frames, std::uint32_t seed) {
        auto wave = RandomWave(PcmFormat(44100, 16, 2), frames, seed);
        wave->SetInfo("INAM", name.c_str());
        const std::string path = dir.File(name);
        EXPECT_EQ(wave->Save(path, kFileWave), FileError::Success);
        return path;
    }
    // Opens `path` and puts frames [start, start + length) on the clipboard.
    COrvaneDoc* CopyFrom(const std::string& path, std::uint32_t start, std::uint32_t length) {
        COrvaneDoc* doc = Open(path);
        if (!doc) return nullptr;
        doc->SetSelection(start, length);
        EXPECT_TRUE(Run(kCopy));
        return doc;
    }
};

TEST_F(EditCommandsTest, PasteReplacesTheSelectionOrInsertsAtThePosition) {
    const Bytes clip =
        Frames(BytesOf(*CopyFrom(WriteRandom("clip.wav", 40, 1), 0, 40)->m_pWave), 4, 0, 40);
    COrvaneDoc* doc = Open(WriteRandom("doc.wav", 1000, 2));
    ASSERT_NE(doc, nullptr);
    const Bytes original = BytesOf(*doc->m_pWave);
    struct Case {
        std::uint32_t start, length, frames;
    };
    for (const Case& c : {Case{0, 0, 1040}, Case{1000, 0, 1040}, Case{200, 100, 940}}) {
        SCOPED_TRACE(testing::Message() << "paste at " << c.start << " over " << c.length);
        doc->SetSelection(c.start, c.length);
        ASSERT_TRUE(Run(kPaste));
        EXPECT_EQ(doc->Length(), c.frames);
        EXPECT_EQ(BytesOf(*doc->m_pWave), Join({Frames(original, 4, 0, c.start), clip,
                                                Frames(original, 4, c.start + c.length, 1000)}));
        EXPECT_EQ(doc->m_nSelStart, c.start);
        EXPECT_EQ(doc->m_nSelLength, 40u) << "the pasted frames are selected";
        EXPECT_STREQ(doc->m_pWave->GetInfo("INAM"), "doc.wav");
        EXPECT_TRUE(doc->IsModified());
        ASSERT_TRUE(Run(kUndo));
        EXPECT_EQ(BytesOf(*doc->m_pWave), original);
    }
}

TEST_F(EditCommandsTest, PasteAndMixConvertAClipboardSoundOfAnotherFormat) {
    if (!RequireTool("sox")) return;
    const std::string clipPath = dir.File("clip8.wav");
    ASSERT_EQ(RunCommand("sox -r 22050 -c 1 -n -b 8 " + clipPath + " synth 220s sine 300 vol 0.9"),
              0);
    COrvaneDoc* clipDoc = CopyFrom(clipPath, 0, 220);
    ASSERT_NE(clipDoc, nullptr);
    ASSERT_EQ(clipDoc->m_pWave->frameLayout, LayoutMono8);
    const Bytes clip8 = BytesOf(*clipDoc->m_pWave);
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 1000));
    ASSERT_NE(doc, nullptr);
    const Bytes original = BytesOf(*doc->m_pWave);

    for (std::uint32_t id : {kPaste, kMix}) {
        SCOPED_TRACE(id);
        doc->SetSelection(0, 0);
        SpyView spy(*doc);
        ASSERT_TRUE(Run(id));
        // The edit's own texts come first; the view's rebuild of its peaks follows.
        ASSERT_GE(spy.texts.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(spy.texts.begin(), spy.texts.begin() + 2),
                  Texts({188, 164}));
        EXPECT_EQ(spy.hints, std::vector<std::uint32_t>{HINT_SELECTION})
            << "a window that did not run the command only hears of the selection";
        EXPECT_EQ(doc->Length(), id == kPaste ? 1440u : 1000u);
        // Doubling the rate repeats each frame; 8-bit u becomes (u - 128) * 256 on both sides.
        for (std::uint32_t j = 0; j < 440; ++j) {
            const std::int32_t s = (clip8[j / 2] - 128) * 256;
            FrameValue expected = PackFrame(s, s);
            if (id == kMix) {
                FrameValue d;
                std::memcpy(&d, original.data() + 4 * j, 4);
                expected = PackFrame(Clamp16(LeftOf(d) + s), Clamp16(RightOf(d) + s));
            }
            ASSERT_EQ(doc->m_pWave->GetFrame(j), expected) << "frame " << j;
        }
        EXPECT_EQ(Frames(BytesOf(*doc->m_pWave), 4, 440, doc->Length()),
                  Frames(original, 4, id == kPaste ? 0 : 440, 1000));
        ASSERT_TRUE(Run(kUndo));
        EXPECT_EQ(BytesOf(*doc->m_pWave), original);
    }
}

TEST_F(EditCommandsTest, MixClampsTheSumAndLengthensPastTheEnd) {
    struct Case {
        WaveFormat format;
        FrameValue clamped;  // what two full-scale frames sum to, as stored and read back
    };
    for (const Case& c : {Case{PcmFormat(44100, 16, 2), PackFrame(32767, -32768)},
                          Case{PcmFormat(22050, 8, 1), PackFrame(127 * 256, 127 * 256)}}) {
        SCOPED_TRACE(c.format.bitsPerSample);
        const bool mono = c.format.channels == 1;
        // Full scale in the document; a slowly falling full-scale start on the clipboard.
        const auto clipFrame = [&](std::uint32_t k) {
            const auto high = static_cast<std::int32_t>(32767 - k * 256);
            return PackFrame(high, mono ? high : -32768 + static_cast<std::int32_t>(k) * 256);
        };
        const std::string tag = std::to_string(c.format.bitsPerSample);
        CopyFrom(WriteWave("clip" + tag + ".wav", c.format, 100, clipFrame), 0, 100);
        COrvaneDoc* doc = Open(WriteWave("doc" + tag + ".wav", c.format, 100, [&](std::uint32_t) {
            return PackFrame(32767, mono ? 32767 : -32768);
        }));
        ASSERT_NE(doc, nullptr);
        WaveObject clip(0);
        ASSERT_EQ(clip.Load(dir.File("clip" + tag + ".wav"), 0), FileError::Success);
        const Bytes original = BytesOf(*doc->m_pWave);

        doc->SetSelection(90, 5);
        ASSERT_TRUE(Run(kMix));
        ASSERT_EQ(doc->Length(), 190u);
        const WaveObject& mixed = *doc->m_pWave;
        const std::uint32_t align = mixed.format->blockAlign;
        EXPECT_EQ(Frames(BytesOf(mixed), align, 0, 90), Frames(original, align, 0, 90));
        for (std::uint32_t i = 90; i < 100; ++i) EXPECT_EQ(mixed.GetFrame(i), c.clamped) << i;
        EXPECT_EQ(Frames(BytesOf(mixed), align, 100, 190), Frames(BytesOf(clip), align, 10, 100))
            << "past the end the clipboard sound stands alone";
        EXPECT_EQ(doc->m_nSelStart, 90u);
        EXPECT_EQ(doc->m_nSelLength, 0u);
        EXPECT_EQ(mixed.GetInfo("INAM"), nullptr) << "Mix leaves the INFO texts behind";
        ASSERT_TRUE(Run(kUndo));
        EXPECT_EQ(BytesOf(*doc->m_pWave), original);
    }
}

TEST_F(EditCommandsTest, DeleteTrimAndCutKeepWhatTheySayAndUndoExactly) {
    COrvaneDoc* doc = Open(WriteRandom("doc.wav", 1000, 3));
    ASSERT_NE(doc, nullptr);
    const Bytes original = BytesOf(*doc->m_pWave);
    struct Range {
        std::uint32_t from, to;
    };
    struct Case {
        std::uint32_t id, start, length;
        std::vector<Range> kept;
        std::uint32_t position;
        bool info;
    };
    const Case cases[] = {
        {kDelete, 100, 200, {{0, 100}, {300, 1000}}, 100, true},
        {kDelete, 900, 100, {{0, 900}}, 900, true},
        {kTrim, 100, 200, {{100, 300}}, 0, false},
        {kCut, 0, 100, {{100, 1000}}, 0, true},
        {kDelete, 0, 1000, {}, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " of " << c.start << "+" << c.length);
        doc->SetSelection(c.start, c.length);
        ASSERT_TRUE(Run(c.id));
        Bytes expected;
        for (const Range& r : c.kept)
            expected = Join({expected, Frames(original, 4, r.from, r.to)});
        EXPECT_EQ(BytesOf(*doc->m_pWave), expected);
        EXPECT_EQ(doc->m_pWave->format->blockAlign, 4u);
        EXPECT_EQ(doc->m_nSelStart, c.position);
        EXPECT_EQ(doc->m_nSelLength, 0u);
        EXPECT_EQ(doc->m_pWave->GetInfo("INAM") != nullptr, c.info);
        if (c.id == kCut) {
            EXPECT_EQ(BytesOf(*App().clipboardWave),
                      Frames(original, 4, c.start, c.start + c.length));
        }
        ASSERT_TRUE(Run(kUndo));
        EXPECT_EQ(BytesOf(*doc->m_pWave), original);
    }
    EXPECT_EQ(doc->Length(), 1000u);
}

// Random edits of sounds long enough to span many pages, in every frame layout, run once as
// they are (sharing pages with the sounds they replace) and once as whole copies: every step
// leaves the same bytes, and Undo and Redo bring back the same sounds.
TEST_F(EditCommandsTest, EditsOnSharedPagesEqualWholeCopies) {
    constexpr std::uint32_t kRedo = 57644, kFadeIn = 32813, kReverse = 32821;
    const std::uint32_t commands[] = {kCopy,    kPaste, kPaste, kDelete, kCut,  kFadeIn,
                                      kReverse, kMix,   kUndo,  kRedo,   kUndo, kTrim};
    const WaveFormat formats[] = {PcmFormat(22050, 8, 1), PcmFormat(22050, 8, 2),
                                  PcmFormat(22050, 16, 1), PcmFormat(22050, 16, 2)};
    std::mt19937 rng(25);
    int pieced = 0;
    for (const WaveFormat& format : formats) {
        SCOPED_TRACE(testing::Message() << "block align " << format.blockAlign);
        auto tone = [](std::uint32_t i) { return i * 2654435761u; };
        const std::string name = "layout" + std::to_string(format.blockAlign);
        const std::string paths[] = {WriteWave(name + "a.wav", format, 90000, tone),
                                     WriteWave(name + "b.wav", format, 90000, tone)};
        struct Step {
            std::uint32_t id, start, length;
        };
        std::vector<Step> steps;
        for (int k = 0; k < 24; ++k) {
            const std::uint32_t id = commands[rng() % std::size(commands)];
            // Trim last only, so that the sounds stay long.
            if (id == kTrim && k != 23) continue;
            steps.push_back({id, static_cast<std::uint32_t>(rng() % 100000),
                             static_cast<std::uint32_t>(rng() % 3 == 0 ? 0 : rng() % 30000)});
        }
        std::vector<Bytes> results[2];
        for (const bool sharing : {true, false}) {
            SetPageSharing(sharing);
            COrvaneDoc* doc = Open(paths[sharing ? 0 : 1]);
            ASSERT_NE(doc, nullptr);
            for (const Step& step : steps) {
                doc->SetSelection(std::min(step.start, doc->Length()), step.length);
                Run(step.id);
                results[sharing ? 0 : 1].push_back(BytesOf(*doc->m_pWave));
                const DataBlock* storage = doc->m_pWave->storage.get();
                pieced += storage && storage->kind == BlockKind::Pieces ? 1 : 0;
            }
            App().clipboardWave->Reset();
        }
        SetPageSharing(true);
        ASSERT_EQ(results[0].size(), results[1].size());
        for (std::size_t i = 0; i < results[0].size(); ++i)
            ASSERT_EQ(results[0][i], results[1][i]) << "step " << i << " (" << steps[i].id << ")";
    }
    EXPECT_GT(pieced, 20);
}

TEST_F(EditCommandsTest, CopyLeavesTheDocumentAloneAndOutlivesIt) {
    COrvaneDoc* first = CopyFrom(WriteRandom("first.wav", 1000, 4), 100, 50);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->IsModified());
    EXPECT_EQ(first->UndoWave(), nullptr);
    EXPECT_EQ(first->m_nSelLength, 50u);
    const WaveObject& clip = *App().clipboardWave;
    EXPECT_EQ(clip.FrameCount(), 50u);
    EXPECT_TRUE(SameFormat(*clip.format, *first->m_pWave->format));
    EXPECT_EQ(clip.GetInfo("INAM"), nullptr) << "the INFO texts stay with the document";
    const Bytes copied = Frames(BytesOf(*first->m_pWave), 4, 100, 150);

    COrvaneDoc* second = Open(WriteRandom("second.wav", 300, 5));
    ASSERT_NE(second, nullptr);
    const Bytes original = BytesOf(*second->m_pWave);
    ASSERT_EQ(Open(dir.File("first.wav")), first);
    ASSERT_TRUE(Run(kClose));
    ASSERT_EQ(ActiveDocument(), second);
    ASSERT_TRUE(Run(kGoToEnd));
    ASSERT_TRUE(Run(kPaste));
    EXPECT_EQ(BytesOf(*second->m_pWave), Join({original, copied}));
}

TEST_F(EditCommandsTest, CommandsWaitForASelectionAClipboardSoundAndSilence) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 1000));
    ASSERT_NE(doc, nullptr);
    const std::uint32_t all[] = {kCut, kCopy, kPaste, kDelete, kMix, kTrim};
    for (std::uint32_t id : all) EXPECT_FALSE(Enabled(id)) << id << " with nothing to work on";
    ASSERT_TRUE(Run(kSelectAll));
    for (std::uint32_t id : {kCut, kCopy, kDelete, kTrim}) EXPECT_TRUE(Enabled(id)) << id;
    for (std::uint32_t id : {kPaste, kMix}) EXPECT_FALSE(Enabled(id)) << id << " before any Copy";
    ASSERT_TRUE(Run(kCopy));
    for (std::uint32_t id : all) EXPECT_TRUE(Enabled(id)) << id;
    doc->m_pWave->deviceState = DeviceState::Playing;
    for (std::uint32_t id : all) EXPECT_FALSE(Enabled(id)) << id << " while playing";
    doc->m_pWave->deviceState = DeviceState::Idle;
}

// Counted in bytes copied: a Copy that shares the sound's pages copies only its edges.
TEST_F(EditCommandsTest, CopyShowsProgressOnlyAboveOneChunkOfBytes) {
    SetPageSharing(false);
    COrvaneDoc* doc = Open(WriteRandom("doc.wav", 70000, 6));
    ASSERT_NE(doc, nullptr);
    // 65536 stereo 16-bit frames are exactly 262144 bytes.
    for (std::uint32_t length : {65536u, 65537u}) {
        SCOPED_TRACE(length);
        SpyView spy(*doc);
        doc->SetSelection(7, length);
        ASSERT_TRUE(Run(kCopy));
        EXPECT_EQ(0, std::memcmp(App().clipboardWave->data, doc->m_pWave->data + 28, length * 4));
        if (length == 65536) {
            EXPECT_EQ(spy.opened, 0);
        } else {
            EXPECT_EQ(spy.opened, 1);
            EXPECT_EQ(spy.texts, Texts({163}));
            EXPECT_EQ(spy.positions, (std::vector<int>{99, 100}));
        }
    }
    SetPageSharing(true);
}

// As whole copies every command needs new space (with shared pages a Trim or a Copy needs
// none).
TEST_F(EditCommandsTest, WithoutTemporarySpaceNothingChanges) {
    SetPageSharing(false);
    COrvaneDoc* doc = Open(WriteRandom("doc.wav", 1000, 7));
    ASSERT_NE(doc, nullptr);
    doc->SetSelection(0, 10);
    ASSERT_TRUE(Run(kCopy));
    const Bytes original = BytesOf(*doc->m_pWave);
    const std::string savedTempDir = App().tempDir;
    App().tempDir = dir.File("missing");
    App().clipboardWave->tempDirectory = App().tempDir;
    // Cut comes last: its failed Copy empties the clipboard.
    for (std::uint32_t id : {kDelete, kTrim, kPaste, kMix, kCut}) {
        SCOPED_TRACE(id);
        dialogs.messages.clear();
        doc->SetSelection(100, 200);
        ASSERT_TRUE(Run(id));
        EXPECT_EQ(dialogs.messages, std::vector<QString>{Message(1003)});
        EXPECT_EQ(BytesOf(*doc->m_pWave), original);
        EXPECT_EQ(doc->UndoWave(), nullptr);
        EXPECT_FALSE(doc->IsModified());
        EXPECT_EQ(doc->m_nSelStart, 100u);
        EXPECT_EQ(doc->m_nSelLength, 200u) << "a Cut that could not copy deletes nothing";
    }
    EXPECT_FALSE(Enabled(kPaste));
    App().tempDir = savedTempDir;
    SetPageSharing(true);
}

}  // namespace
}  // namespace kelvane::test
