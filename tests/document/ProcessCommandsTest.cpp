// Every command of the Process menu run on a document: its sound is the core effect's result
// on the sound before it, with the selection, hints and modified flag the command sets, and
// Undo brings the earlier sound back exactly. A failure changes nothing but the message.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>
#include <cstring>
#include <functional>

#include "document/OrvaneDoc.h"
#include "processing/CenterSignals.h"
#include "processing/ChangePitch.h"
#include "processing/Chorus.h"
#include "processing/CompressExpand.h"
#include "processing/Echo.h"
#include "processing/EffectResult.h"
#include "processing/Fade.h"
#include "processing/FormatConversion.h"
#include "processing/InsertSilence.h"
#include "processing/Mute.h"
#include "processing/Normalize.h"
#include "processing/Pan.h"
#include "processing/Reverse.h"
#include "processing/RuntimeRandom.h"
#include "processing/SwapChannels.h"
#include "processing/Volume.h"
#include "processing/dialogs/ChangePitchDlg.h"
#include "processing/dialogs/ChorusDlg.h"
#include "processing/dialogs/CompressExpandDlg.h"
#include "processing/dialogs/EchoDlg.h"
#include "processing/dialogs/PercentChangeBox.h"
#include "processing/dialogs/SilenceDlg.h"
#include "processing/dialogs/VolumeDlg.h"
#include "processing/dialogs/WaveFormatDlg.h"
#include "support/EditorTest.h"

namespace kelvane::test {
namespace {

// A second view of the document that records the hints it is sent.
class HintRecorder final : public DocumentView {
  public:
    explicit HintRecorder(COrvaneDoc& doc) : m_doc(doc) { doc.AddView(this); }
    ~HintRecorder() override { m_doc.RemoveView(this); }
    void OnUpdate(std::uint32_t hint) override { hints.push_back(hint); }
    void BeginProgress() override {}
    void SetProgressText(std::string_view) override {}
    void EndProgress() override {}
    ProgressIndicator* Progress() override { return nullptr; }

    std::vector<std::uint32_t> hints;

  private:
    COrvaneDoc& m_doc;
};

void ExpectSameSound(const WaveObject& actual, const WaveObject& expected,
                     const std::string& what) {
    ASSERT_TRUE(actual.format && expected.format) << what;
    EXPECT_EQ(actual.format->samplesPerSec, expected.format->samplesPerSec) << what;
    EXPECT_EQ(actual.format->channels, expected.format->channels) << what;
    EXPECT_EQ(actual.format->bitsPerSample, expected.format->bitsPerSample) << what;
    ASSERT_EQ(actual.dataBytes, expected.dataBytes) << what;
    EXPECT_EQ(0, std::memcmp(actual.data, expected.data, actual.dataBytes)) << what;
}

using Fill = std::function<void(QDialog&)>;
// The core effect on the sound before the command, from the settings the dialog left in the
// profile; it leaves in `selection` the one the effect returns.
using Direct = std::function<std::unique_ptr<WaveObject>(const WaveObject&, FrameRange&)>;

enum class Selects { No, Returned, Reset };

struct Case {
    const char* name;
    std::uint32_t id;
    Fill fill;  // null: the command has no dialog
    Direct direct;
    Selects selects = Selects::No;
};

template <typename Effect>
Direct Range(std::function<Effect()> make) {
    return [make](const WaveObject& wave, FrameRange& s) {
        return make().Process(wave, s.start, s.length, nullptr);
    };
}

std::vector<Case> EveryCommand() {
    const auto stereo = [](const WaveObject& w) { return w.format->channels > 1; };
    return {
        {"volume", 32810,
         [](QDialog& d) { dynamic_cast<CVolumeDlg&>(d).m_sliderLeft->setValue(150); },
         [stereo](const WaveObject& w, FrameRange& s) {
             return VolumeEffect(stereo(w), {}).Process(w, s.start, s.length, nullptr);
         }},
        {"fade in", 32813, {}, Range<FadeEffect>([] { return FadeEffect(FadeKind::In); })},
        {"fade out", 32812, {}, Range<FadeEffect>([] { return FadeEffect(FadeKind::Out); })},
        {"pan left to right", 32816, {}, Range<PanEffect>([] {
             return PanEffect(PanKind::LeftToRight);
         })},
        {"pan right to left", 32815, {}, Range<PanEffect>([] {
             return PanEffect(PanKind::RightToLeft);
         })},
        {"mute", 32817, {}, Range<MuteEffect>([] { return MuteEffect(SettingsPlace{}); })},
        {"insert silence", 32818,
         [](QDialog& d) { dynamic_cast<CSilenceDlg&>(d).m_editLength->setText("0.5"); },
         [](const WaveObject& w, FrameRange& s) {
             return InsertSilenceEffect({}).Process(w, s.start, s.length, nullptr);
         },
         Selects::Returned},
        {"swap channels", 32819, {}, Range<SwapChannelsEffect>([] {
             return SwapChannelsEffect();
         })},
        {"reverse", 32821, {}, Range<ReverseEffect>([] { return ReverseEffect(); })},
        {"normalize", 32822, {}, Range<NormalizeEffect>([] { return NormalizeEffect(); })},
        {"center signals",
         32831,
         {},
         [](const WaveObject& w, FrameRange&) {
             return CenterSignalsEffect().Process(w, nullptr);
         }},
        {"echo", 32825,
         [](QDialog& d) {
             auto& echo = dynamic_cast<CEchoDlg&>(d);
             echo.m_sliderNumber->setValue(3);
             echo.m_sliderDelay->setValue(50);
         },
         Range<EchoEffect>([] { return EchoEffect(); })},
        {"chorus", 32827, [](QDialog&) {}, Range<ChorusEffect>([] { return ChorusEffect(); }),
         Selects::Returned},
        {"change pitch by resampling", 32826,
         [](QDialog& d) { dynamic_cast<CChangePitchDlg&>(d).m_changes->m_slider->setValue(200); },
         [](const WaveObject& w, FrameRange& s) {
             return ChangePitchEffect().Process(w, s.start, s.length, nullptr);
         },
         Selects::Returned},
        {"change pitch keeping the length", 32826,
         [](QDialog& d) {
             auto& pitch = dynamic_cast<CChangePitchDlg&>(d);
             pitch.m_checkPreserve->setChecked(true);
             pitch.m_changes->m_slider->setValue(150);
         },
         [](const WaveObject& w, FrameRange& s) {
             return ChangePitchEffect().Process(w, s.start, s.length, nullptr);
         },
         Selects::Returned},
        {"compress/expand", 32828,
         [](QDialog& d) { dynamic_cast<CCompressExpandDlg&>(d).m_changes->m_slider->setValue(50); },
         [](const WaveObject& w, FrameRange& s) {
             return CompressExpandEffect({}, w.FrameCount()).Process(w, s.start, s.length, nullptr);
         },
         Selects::Returned},
        {"convert format", 32809,
         [](QDialog& d) {
             auto& format = dynamic_cast<CWaveFormatDlg&>(d);
             format.m_comboRate->setEditText("11025");
             format.m_radioMono->setChecked(true);
             format.m_radio8->setChecked(true);
         },
         [](const WaveObject& w, FrameRange& s) {
             s = {};
             return FormatConversionEffect({}).Process(w, nullptr);
         },
         Selects::Reset},
    };
}

class ProcessCommandsTest : public EditorTest {};

TEST_F(ProcessCommandsTest, EachCommandGivesTheEffectsResultAndUndoBringsBackTheSound) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 20000, 2, 22050));
    ASSERT_NE(doc, nullptr);
    HintRecorder recorder(*doc);
    // A selection reaching the end, so a shorter result clamps it; and a caret alone.
    const FrameRange selections[] = {{12000, 8000}, {7000, 0}};
    for (const Case& c : EveryCommand()) {
        for (const FrameRange& selection : selections) {
            const std::string what =
                std::string(c.name) + (selection.length ? " on a selection" : " at the caret");
            doc->SetSelection(selection.start, selection.length);
            doc->SetModifiedFlag(false);
            recorder.hints.clear();
            const WaveObject* before = doc->m_pWave.get();
            const std::uint32_t random = RuntimeRandom::State();
            if (c.fill) dialogs.Accept(c.fill);
            ASSERT_TRUE(Run(c.id)) << what;
            ASSERT_EQ(doc->UndoWave(), before) << what << ": the sound before is kept for Undo";
            EXPECT_EQ(doc->RedoWave(), nullptr) << what;
            EXPECT_TRUE(doc->IsModified()) << what;
            EXPECT_TRUE(dialogs.messages.empty()) << what;

            RuntimeRandom::SetState(random);  // chorus draws its displacements afresh
            FrameRange expected = selection;
            auto direct = c.direct(*before, expected);
            ASSERT_NE(direct, nullptr) << what;
            ExpectSameSound(*doc->m_pWave, *direct, what);
            const std::uint32_t n = doc->Length();
            if (c.selects == Selects::Returned) {
                expected.start = std::min(expected.start, n);
                expected.length = std::min(expected.length, n - expected.start);
            }
            EXPECT_EQ(doc->m_nSelStart, expected.start) << what;
            EXPECT_EQ(doc->m_nSelLength, expected.length) << what;
            const std::vector<std::uint32_t> hints =
                c.selects == Selects::No
                    ? std::vector<std::uint32_t>{HINT_WAVE_CHANGED}
                    : std::vector<std::uint32_t>{HINT_SELECTION, HINT_WAVE_CHANGED};
            EXPECT_EQ(recorder.hints, hints) << what;

            ASSERT_TRUE(Run(57643)) << what;  // Undo
            EXPECT_EQ(doc->m_pWave.get(), before) << what;
            EXPECT_EQ(doc->RedoWave()->FrameCount(), direct->FrameCount()) << what;
        }
    }
    ExpectSameSound(*doc->m_pWave, *SweepWave(22050, 2, 20000, 200.0, 2000.0, 20000.0), "at last");
}

TEST_F(ProcessCommandsTest, ThePitchCommandsSelectWhatTheyReturnClampedToTheNewSound) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 20000, 2, 22050));
    ASSERT_NE(doc, nullptr);
    doc->SetSelection(12000, 8000);
    dialogs.Accept(
        [](QDialog& d) { dynamic_cast<CChangePitchDlg&>(d).m_changes->m_slider->setValue(200); });
    ASSERT_TRUE(Run(32826));
    EXPECT_EQ(doc->Length(), 16000u) << "an octave up halves the selection";
    EXPECT_EQ(doc->m_nSelStart, 12000u);
    EXPECT_EQ(doc->m_nSelLength, 4000u) << "the old length, cut at the new end";

    doc->SetSelection(1000, 10000);
    dialogs.Accept(
        [](QDialog& d) { dynamic_cast<CCompressExpandDlg&>(d).m_changes->m_slider->setValue(50); });
    ASSERT_TRUE(Run(32828));
    EXPECT_EQ(doc->Length(), 11000u);
    EXPECT_EQ(doc->m_nSelStart, 1000u);
    EXPECT_EQ(doc->m_nSelLength, 5000u) << "the compressed range is selected";

    doc->SetSelection(500, 0);
    dialogs.Accept([](QDialog& d) { dynamic_cast<CSilenceDlg&>(d).m_editLength->setText("0.5"); });
    ASSERT_TRUE(Run(32818));
    EXPECT_EQ(doc->m_nSelStart, 500u);
    EXPECT_EQ(doc->m_nSelLength, 11025u) << "the inserted silence is selected";
}

TEST_F(ProcessCommandsTest, CancelledDialogsChangeNothing) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 5000));
    ASSERT_NE(doc, nullptr);
    doc->SetSelection(100, 200);
    HintRecorder recorder(*doc);
    for (std::uint32_t id : {32810u, 32818u, 32825u, 32827u, 32826u, 32828u, 32809u}) {
        dialogs.Cancel();
        ASSERT_TRUE(Run(id)) << id;
    }
    EXPECT_EQ(doc->UndoWave(), nullptr);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->m_nSelStart, 100u);
    EXPECT_EQ(doc->m_nSelLength, 200u);
    EXPECT_TRUE(recorder.hints.empty());
    EXPECT_TRUE(dialogs.messages.empty());
}

// No temporary storage for the result: message 1003 after the progress window has gone, and
// the document as it was; Convert Format has emptied the selection all the same.
TEST_F(ProcessCommandsTest, AFailureShowsMessage1003AndLeavesTheDocumentAsItWas) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 5000));
    ASSERT_NE(doc, nullptr);
    const std::vector<std::uint8_t> original(doc->m_pWave->data,
                                             doc->m_pWave->data + doc->m_pWave->dataBytes);
    doc->m_pWave->tempDirectory = dir.File("full");
    HintRecorder recorder(*doc);
    for (const Case& c : EveryCommand()) {
        doc->SetSelection(1000, 2000);
        recorder.hints.clear();
        dialogs.messages.clear();
        if (c.fill) dialogs.Accept(c.fill);
        ASSERT_TRUE(Run(c.id)) << c.name;
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.name;
        EXPECT_EQ(dialogs.messages[0], Message(1003)) << c.name;
        EXPECT_EQ(doc->UndoWave(), nullptr) << c.name;
        EXPECT_FALSE(doc->IsModified()) << c.name;
        ASSERT_EQ(doc->m_pWave->dataBytes, original.size()) << c.name;
        EXPECT_EQ(0, std::memcmp(doc->m_pWave->data, original.data(), original.size())) << c.name;
        if (c.selects == Selects::Reset) {
            EXPECT_EQ(doc->m_nSelStart, 0u) << c.name;
            EXPECT_EQ(doc->m_nSelLength, 0u) << c.name;
            EXPECT_EQ(recorder.hints, std::vector<std::uint32_t>{HINT_SELECTION}) << c.name;
        } else {
            EXPECT_EQ(doc->m_nSelStart, 1000u) << c.name;
            EXPECT_EQ(doc->m_nSelLength, 2000u) << c.name;
            EXPECT_TRUE(recorder.hints.empty()) << c.name;
        }
    }
}

TEST_F(ProcessCommandsTest, AnEmptySoundIsProcessedButNotCentered) {
    dialogs.Accept();
    ASSERT_TRUE(Run(57600));  // New
    COrvaneDoc* doc = ActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(Enabled(32831)) << "Center Signals needs data";
    dialogs.Accept();
    ASSERT_TRUE(Run(32825));
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_NE(doc->UndoWave(), nullptr);
    EXPECT_EQ(doc->Length(), 0u);
}

TEST_F(ProcessCommandsTest, PanAndSwapNeedTwoChannels) {
    COrvaneDoc* doc = Open(WriteTone("mono.wav", 1000, 1));
    ASSERT_NE(doc, nullptr);
    for (std::uint32_t id : {32816u, 32815u, 32819u}) EXPECT_FALSE(Enabled(id)) << id;
    for (std::uint32_t id : {32810u, 32818u, 32825u, 32827u, 32826u, 32828u, 32809u, 32822u})
        EXPECT_TRUE(Enabled(id)) << id;
}

}  // namespace
}  // namespace kelvane::test
