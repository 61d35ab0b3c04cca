#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "document/DocumentFiles.h"
#include "document/OrvaneDoc.h"
#include "document/PropertiesDlg.h"
#include "document/RawFileFormatDlg.h"
#include "formats/FileError.h"
#include "platform/profile/Profile.h"
#include "resources/Strings.h"
#include "shell/MiscellaneousDlg.h"
#include "shell/OrvaneApp.h"
#include "shell/WaveOpenDlg.h"
#include "shell/WaveSaveDlg.h"
#include "support/EditorTest.h"
#include "ui/EncoderOptionsDlg.h"
#include "ui/FileFilters.h"
#include "ui/FormatChooserDlg.h"
#include "ui/RawDataFormatDlg.h"
#include "ui/RealAudioMethodDlg.h"
#include "ui/SubFormatDlg.h"

namespace kelvane::test {
namespace {

constexpr std::uint32_t kOpen = 57601, kSave = 57603, kSaveAs = 57604, kProperties = 32829;
constexpr std::uint32_t kEditUndoable = 32821;  // any edit that marks the document modified

QString Text(std::uint32_t id) {
    return QString::fromUtf8(LoadString(id));
}

QString Formatted(std::uint32_t id, auto... args) {
    return QString::fromStdString(FormatString(id, args...));
}

QString Seconds(double seconds) {
    return QString::asprintf(LoadString(185).data(), seconds);
}

std::vector<std::uint8_t> Bytes(const WaveObject& wave) {
    return {wave.data, wave.data + wave.dataBytes};
}

std::string Probe(const std::string& path, const std::string& entry) {
    std::string out;
    RunCommand("ffprobe -v error -show_entries stream=" + entry +
                   " -of default=noprint_wrappers=1:nokey=1 '" + path + "'",
               &out);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

// Counts the preview's playback requests in place of the device layer.
int g_plays = 0;
int CountPlay(WaveObject&, std::uint32_t start, std::uint32_t count, int loop, int device) {
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(count, 0xFFFFFFFFu);
    EXPECT_EQ(loop, 0);
    EXPECT_EQ(device, -1);
    ++g_plays;
    return 0;
}

class OpenSaveTest : public EditorTest {
  protected:
    OpenSaveTest() { g_plays = 0; }
    ~OpenSaveTest() override { Devices().startPlay = nullptr; }

    // Save As answered with `fill`, which picks the type and the name.
    void SaveAs(std::function<void(CWaveSaveDlg&)> fill) {
        dialogs.Accept(
            [fill = std::move(fill)](QDialog& d) { fill(dynamic_cast<CWaveSaveDlg&>(d)); });
        ASSERT_TRUE(Run(kSaveAs));
    }
    COrvaneDoc* Modified(const std::string& name) {
        COrvaneDoc* doc = Open(WriteTone(name, 4410));
        EXPECT_TRUE(doc && Run(kEditUndoable));
        return doc;
    }
};

TEST_F(OpenSaveTest, PreviewDescribesWaveAuAndMpegFilesWithoutOpeningThem) {
    WaveObject tagged;
    ASSERT_EQ(tagged.Load(WriteTone("tagged.wav", 22050, 2, 44100), 0), FileError::Success);
    tagged.SetInfo("INAM", "Morning");
    tagged.SetInfo("IENG", "R. Vale");
    const std::string wave = dir.File("tagged2.wav");
    ASSERT_EQ(tagged.WriteWaveFile(wave), 1u);
    const std::string au = dir.File("law.au");
    ASSERT_TRUE(RequireTool("sox"));
    ASSERT_EQ(RunCommand("sox -n -r 8000 -c 1 -e u-law '" + au + "' synth 0.25 sine 440"), 0);
    const std::string mpeg = DataFile("mpeg/l2_twolame_stereo.mp2");
    const int mpegRate = std::stoi(Probe(mpeg, "sample_rate"));
    const int mpegKbits = std::stoi(Probe(mpeg, "bit_rate")) / 1000;
    const std::string layer3 = dir.File("song.mp2");
    WriteFileBytes(layer3, ReadFileBytes(DataFile("mpeg/l3_lame_mono.mp3")));

    Devices().startPlay = CountPlay;
    dialogs.Accept([&](QDialog& d) {
        auto& open = dynamic_cast<CWaveOpenDlg&>(d);
        EXPECT_TRUE(open.m_checkAutoPlay->isChecked()) << "Auto Play starts on";
        open.OnFileChanged(QString::fromStdString(wave));
        EXPECT_EQ(open.m_labelFormat->text(), Formatted(170, "PCM", 44100, 16, "Stereo"));
        EXPECT_EQ(open.m_labelLength->text(), Seconds(0.5));
        EXPECT_EQ(open.m_labelTitle->text(), "Morning");
        EXPECT_EQ(open.m_labelEngineer->text(), "R. Vale");
        EXPECT_EQ(g_plays, 1);

        open.m_checkAutoPlay->click();
        open.OnFileChanged(QString::fromStdString(au));
        EXPECT_EQ(open.m_labelFormat->text(), Formatted(170, "CCITT u-Law", 8000, 8, "Mono"))
            << "a streamed file shows its format as stored";
        EXPECT_EQ(open.m_labelLength->text(), Seconds(0.25));
        EXPECT_TRUE(open.m_labelTitle->text().isEmpty());
        EXPECT_EQ(g_plays, 1) << "no auto play once it is off";
        EXPECT_TRUE(open.m_buttonPlay->isEnabled());
        open.m_buttonPlay->click();
        EXPECT_EQ(g_plays, 2);

        open.OnFileChanged(QString::fromStdString(mpeg));
        EXPECT_EQ(open.m_labelFormat->text(), Formatted(205, 1, 2, mpegRate, "Stereo", mpegKbits));

        open.OnFileChanged(QString::fromStdString(layer3));
        EXPECT_TRUE(open.m_labelFormat->text().isEmpty()) << "layer 3 is not previewed";
        EXPECT_FALSE(open.m_buttonPlay->isEnabled());
        EXPECT_FALSE(open.m_buttonStop->isEnabled());
        open.selectNameFilter(open.nameFilters()[1]);
        open.selectFile(QString::fromStdString(au));
    });
    ASSERT_TRUE(Run(kOpen));
    ASSERT_EQ(app().DocumentCount(), 1u);
    EXPECT_EQ(app().Document(0)->PathName(), au);
    EXPECT_EQ(GetProfileInt("WAVEOPEN", "FILTER", 0), 1);
    EXPECT_EQ(GetProfileInt("WAVEOPEN", "AUTOPLAY", 1), 0) << "Auto Play is remembered";
    dialogs.Accept([](QDialog& d) {
        auto& open = dynamic_cast<CWaveOpenDlg&>(d);
        EXPECT_FALSE(open.m_checkAutoPlay->isChecked());
        EXPECT_EQ(open.selectedNameFilter(), open.nameFilters()[1]);
        EXPECT_FALSE(open.m_buttonPlay->isEnabled()) << "nothing selected yet";
    });
    Run(kOpen);
}

TEST_F(OpenSaveTest, OpenAsksForRawFormatsAndRefusesLayer3) {
    // An unlisted extension (".mp3" too) opens as raw after the raw format question.
    const std::string raw = dir.File("noise.mp3");
    WriteFileBytes(raw, std::vector<std::uint8_t>(1000, 200));
    dialogs.Cancel();
    EXPECT_EQ(Open(raw), nullptr);
    EXPECT_TRUE(dialogs.messages.empty()) << "a cancelled question is no error";
    EXPECT_EQ(dialogs.dialogTitles.back(), "Raw File Format");
    dialogs.Accept([](QDialog& d) {
        auto& format = dynamic_cast<CRawFileFormatDlg&>(d);
        format.m_comboRate->setCurrentIndex(3);
        format.m_comboFormat->setCurrentIndex(3);
    });
    COrvaneDoc* rawDoc = Open(raw);
    ASSERT_NE(rawDoc, nullptr);
    EXPECT_EQ(rawDoc->m_pWave->format->samplesPerSec, 22050u);
    EXPECT_EQ(rawDoc->Length(), 500u);
    EXPECT_EQ(rawDoc->m_nRawParam, 4u);
    // Its name asks for MP3 now, which is written.
    ASSERT_TRUE(Run(kEditUndoable));
    ASSERT_TRUE(Run(kSave));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(rawDoc->IsModified());
    EXPECT_EQ(Probe(raw, "codec_name"), "mp3");

    // The next raw question starts from the last answer.
    dialogs.Accept([](QDialog& d) {
        EXPECT_EQ(dynamic_cast<CRawFileFormatDlg&>(d).m_comboFormat->currentIndex(), 3);
    });
    Open(dir.File("missing.raw"));
    EXPECT_EQ(dialogs.messages.back(), Message(1004));

    const std::string layer3 = dir.File("song.mp2");
    WriteFileBytes(layer3, ReadFileBytes(DataFile("mpeg/l3_lame_mono.mp3")));
    EXPECT_EQ(Open(layer3), nullptr);
    EXPECT_EQ(dialogs.messages.back(), Message(1007));
    COrvaneDoc* layer2 = Open(DataFile("mpeg/l2_twolame_stereo.mp2"));
    ASSERT_NE(layer2, nullptr);
    EXPECT_EQ(layer2->m_pWave->mode, WaveMode::Resident);
    EXPECT_GT(layer2->Length(), 0u);
    ASSERT_TRUE(Run(kEditUndoable));
    ASSERT_TRUE(Run(kSave));
    EXPECT_EQ(dialogs.messages.back(), Message(1012)) << "no Layer I or II writer";
    EXPECT_TRUE(layer2->IsModified());
}

TEST_F(OpenSaveTest, SaveAsPreselectsByNameAndRenamesWithTheType) {
    dialogs.Accept();  // the New format question
    ASSERT_TRUE(Run(57600));
    // The list shows the type that will be written.
    const auto shownType = [](CWaveSaveDlg& save) {
        auto* types = save.findChild<QComboBox*>("fileTypeCombo");
        return types ? static_cast<std::uint32_t>(types->currentIndex() + 1) : 0u;
    };
    dialogs.Cancel([&](QDialog& d) {
        auto& save = dynamic_cast<CWaveSaveDlg&>(d);
        EXPECT_EQ(save.SaveType(), static_cast<std::uint32_t>(kSaveRaw)) << "untitled";
        EXPECT_EQ(shownType(save), save.SaveType());
    });
    Run(kSaveAs);
    EXPECT_TRUE(ActiveDocument()->IsModified());

    app().CloseAllDocuments();
    Open(WriteTone("song.snd", 100));
    dialogs.Cancel([&](QDialog& d) {
        auto& save = dynamic_cast<CWaveSaveDlg&>(d);
        auto* name = save.findChild<QLineEdit*>("fileNameEdit");
        EXPECT_EQ(save.SaveType(), static_cast<std::uint32_t>(kSaveAu));
        EXPECT_EQ(shownType(save), save.SaveType());
        EXPECT_EQ(name->text(), "song.snd") << "the current name is proposed";
        save.SelectType(kSaveAiff);
        EXPECT_EQ(shownType(save), save.SaveType());
        EXPECT_EQ(name->text(), "song.aif");
        EXPECT_FALSE(save.m_buttonOptions->isEnabled());
        save.SelectType(kSaveRaw);
        EXPECT_EQ(name->text(), "song") << "raw has no extension of its own";
        EXPECT_TRUE(save.m_buttonOptions->isEnabled());
        save.SelectType(kSaveRealAudio);
        EXPECT_EQ(name->text(), "song.ra");
        auto* types = save.findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        EXPECT_EQ(types->currentText(), Text(169).split('\n')[3])
            << "the table's text as it stands";
        EXPECT_EQ(types->count(), static_cast<int>(kSaveAsTypeCount));
        for (const auto& [type, extension] : {std::pair{kSaveFlac, "flac"},
                                              {kSaveOgg, "ogg"},
                                              {kSaveOpus, "opus"},
                                              {kSaveMp3, "mp3"}}) {
            save.SelectType(type);
            EXPECT_EQ(shownType(save), save.SaveType());
            EXPECT_EQ(name->text(), QString("song.") + extension);
            EXPECT_TRUE(save.m_buttonOptions->isEnabled());
        }
    });
    Run(kSaveAs);
}

TEST_F(OpenSaveTest, SaveAsWritesTheChosenFormatAndTakesTheName) {
    COrvaneDoc* doc = Modified("tone.wav");
    ASSERT_NE(doc, nullptr);
    const std::string bare = dir.File("copy");
    SaveAs([&](CWaveSaveDlg& save) {
        save.SelectType(kSaveWave);
        save.selectFile(QString::fromStdString(bare));
    });
    EXPECT_EQ(doc->PathName(), bare + ".wav");
    EXPECT_EQ(doc->Title(), "copy.wav");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(app().RecentFiles().front(), QString::fromStdString(bare + ".wav"));
    WaveObject saved;
    ASSERT_EQ(saved.Load(bare + ".wav", 0), FileError::Success);
    EXPECT_STREQ(saved.GetInfo("ISFT"), "Kelvane");
    EXPECT_EQ(Bytes(saved), Bytes(*doc->m_pWave));

    // The Wave sub-format comes from the chooser, offered what the sound converts to.
    ASSERT_TRUE(RequireTool("ffprobe"));
    const std::string ima = dir.File("ima.wav");
    SaveAs([&](CWaveSaveDlg& save) {
        dialogs.Accept([](QDialog& d) {
            auto& chooser = dynamic_cast<CFormatChooserDlg&>(d);
            EXPECT_EQ(chooser.windowTitle(), Text(171));
            chooser.m_comboTag->setCurrentIndex(chooser.m_comboTag->findText("IMA ADPCM"));
            ASSERT_GT(chooser.m_comboAttributes->count(), 0);
            for (int i = 0; i < chooser.m_comboAttributes->count(); ++i)
                EXPECT_TRUE(chooser.m_comboAttributes->itemText(i).startsWith("44.100 kHz"))
                    << "only formats the sound converts to";
        });
        save.m_buttonOptions->click();
        EXPECT_EQ(save.m_labelFormat->text(),
                  Formatted(170, "IMA ADPCM", 44100, 4,
                            save.WaveSubFormat()->channels == 1 ? "Mono" : "Stereo"));
        save.selectFile(QString::fromStdString(ima));
    });
    EXPECT_EQ(Probe(ima, "codec_name"), "adpcm_ima_wav");

    const std::string law = dir.File("law.au");
    SaveAs([&](CWaveSaveDlg& save) {
        save.SelectType(kSaveAu);
        dialogs.Accept(
            [](QDialog& d) { dynamic_cast<CSubFormatDlg&>(d).m_radios[1]->setChecked(true); });
        save.m_buttonOptions->click();
        EXPECT_EQ(save.m_labelFormat->text(), Text(173));
        save.selectFile(QString::fromStdString(law));
    });
    EXPECT_EQ(Probe(law, "codec_name"), "pcm_mulaw");
}

// Inside a sandbox only the desktop's chooser (through its portal) reaches the user's files;
// the settings can ask for it anywhere.
TEST_F(OpenSaveTest, TheDesktopChooserServesSandboxesAndWhoeverAsks) {
    unsetenv("FLATPAK_ID");
    unsetenv("SNAP");
    const QString noInfo = QString::fromStdString(dir.File("none"));
    EXPECT_FALSE(UsesDesktopChooser(noInfo));
    QFile info(QString::fromStdString(dir.File("flatpak-info")));
    ASSERT_TRUE(info.open(QIODevice::WriteOnly));
    info.close();
    EXPECT_TRUE(UsesDesktopChooser(info.fileName()));
    for (const char* variable : {"FLATPAK_ID", "SNAP"}) {
        setenv(variable, "com.example.Sandbox", 1);
        EXPECT_TRUE(UsesDesktopChooser(noInfo)) << variable;
        unsetenv(variable);
    }
    WriteProfileInt(kFileDialogsSection, kDesktopChooserKey, 1);
    EXPECT_TRUE(UsesDesktopChooser(noInfo));
}

// The desktop's chooser shows neither the preview nor the output formats: Open shows the
// chosen file in a panel before it opens it, Save As takes the type and its options in a
// panel before the chooser, which proposes the name with the type's extension.
TEST_F(OpenSaveTest, WithTheDesktopChooserPreviewAndFormatHaveTheirOwnPanels) {
    WriteProfileInt(kFileDialogsSection, kDesktopChooserKey, 1);
    const QString tone = QString::fromStdString(WriteTone("tone.wav", 22050));
    const auto choose = [&](QDialog& d) { dynamic_cast<CWaveOpenDlg&>(d).selectFile(tone); };
    dialogs.Accept(choose);
    dialogs.Cancel();
    Run(kOpen);
    EXPECT_EQ(app().DocumentCount(), 0u) << "cancelled in the panel";
    dialogs.Accept(choose);
    dialogs.Accept([](QDialog& panel) {
        QStringList shown;
        for (const QLabel* label : panel.findChildren<QLabel*>()) shown.append(label->text());
        EXPECT_TRUE(shown.contains(Formatted(170, "PCM", 44100, 16, "Stereo")));
        EXPECT_TRUE(shown.contains(Seconds(0.5)));
    });
    ASSERT_TRUE(Run(kOpen));
    ASSERT_EQ(app().DocumentCount(), 1u);
    ASSERT_TRUE(Run(kEditUndoable));

    ASSERT_TRUE(RequireTool("ffprobe"));
    dialogs.Accept([](QDialog& panel) {
        auto* types = panel.findChild<QComboBox*>();
        ASSERT_NE(types, nullptr);
        EXPECT_EQ(types->count(), 9);
        types->setCurrentIndex(kSaveFlac - 1);
        emit types->activated(kSaveFlac - 1);
        const auto buttons = panel.findChildren<QPushButton*>();
        const auto options = std::find_if(buttons.begin(), buttons.end(), [](QPushButton* b) {
            return b->text() == "&Options...";
        });
        ASSERT_NE(options, buttons.end());
        EXPECT_TRUE((*options)->isEnabled()) << "FLAC has encoder options";
    });
    const std::string flac = dir.File("tone.flac");
    dialogs.Accept([&](QDialog& d) {
        auto& save = dynamic_cast<CWaveSaveDlg&>(d);
        EXPECT_EQ(save.SaveType(), kSaveFlac);
        ASSERT_FALSE(save.selectedFiles().isEmpty());
        EXPECT_EQ(save.selectedFiles().front(), QString::fromStdString(flac));
    });
    ASSERT_TRUE(Run(kSaveAs));
    EXPECT_EQ(Probe(flac, "codec_name"), "flac");
}

TEST_F(OpenSaveTest, FilesWhoseNamesLieOpenByTheirContents) {
    COrvaneDoc* doc = Modified("tone.wav");
    ASSERT_NE(doc, nullptr);
    const std::vector<std::uint8_t> sound = Bytes(*doc->m_pWave);
    const std::string rev = dir.File("rev.au");
    SaveAs([&](CWaveSaveDlg& save) {
        save.SelectType(kSaveWave);
        save.selectFile(QString::fromStdString(rev));
    });
    ASSERT_EQ(doc->PathName(), rev);
    app().CloseAllDocuments();
    COrvaneDoc* reopened = Open(rev);  // no raw question: any dialog would fail the test
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(Bytes(*reopened->m_pWave), sound);

    ASSERT_TRUE(RequireTool("sox"));
    const std::string au = dir.File("law.wav"), aiff = dir.File("take.pcm");
    ASSERT_EQ(RunCommand("sox -n -r 8000 -c 1 -e u-law -t au '" + au + "' synth 0.1 sine 440"), 0);
    ASSERT_EQ(RunCommand("sox -n -r 8000 -c 2 -b 16 -t aiff '" + aiff + "' synth 0.1 sine 440"), 0);
    for (const std::string& path : {au, aiff}) {
        COrvaneDoc* opened = Open(path);
        ASSERT_NE(opened, nullptr) << path;
        EXPECT_EQ(opened->Length(), 800u) << path;
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(OpenSaveTest, RawOptionsRememberTheChoiceAndTheDocumentKeepsIt) {
    COrvaneDoc* doc = Modified("tone.wav");
    ASSERT_NE(doc, nullptr);
    const std::string pcm = dir.File("big.pcm");
    SaveAs([&](CWaveSaveDlg& save) {
        save.SelectType(kSaveRaw);
        dialogs.Accept([](QDialog& d) {
            EXPECT_EQ(dynamic_cast<CRawDataFormatDlg&>(d).Position(), -1) << "nothing chosen yet";
            dynamic_cast<CRawDataFormatDlg&>(d).m_listFormat->setCurrentRow(3);
        });
        save.m_buttonOptions->click();
        EXPECT_EQ(save.m_labelFormat->text(), Text(212));
        dialogs.Accept([](QDialog& d) {
            auto& again = dynamic_cast<CRawDataFormatDlg&>(d);
            EXPECT_EQ(again.m_listFormat->currentItem()->text(), "16 Bits Big Endian signed");
        });
        save.m_buttonOptions->click();
        save.selectFile(QString::fromStdString(pcm));
    });
    EXPECT_EQ(doc->m_nRawParam, 4u);
    EXPECT_EQ(doc->PathName(), pcm);
    ASSERT_TRUE(RequireTool("sox"));
    const std::string little = dir.File("little.raw");
    ASSERT_EQ(RunCommand("sox -t raw -r 44100 -e signed -b 16 -B -c 2 '" + pcm + "' -t raw -L '" +
                         little + "'"),
              0);
    EXPECT_EQ(ReadFileBytes(little), Bytes(*doc->m_pWave)) << "written big-endian";

    // A plain Save of the raw file uses the same code again.
    ASSERT_TRUE(Run(kEditUndoable));
    ASSERT_TRUE(Run(kSave));
    ASSERT_EQ(RunCommand("sox -t raw -r 44100 -e signed -b 16 -B -c 2 '" + pcm + "' -t raw -L '" +
                         little + "'"),
              0);
    EXPECT_EQ(ReadFileBytes(little), Bytes(*doc->m_pWave));
}

TEST_F(OpenSaveTest, RealAudioIsAnExportThatLeavesTheDocumentAlone) {
    COrvaneDoc* doc = Modified("tone.wav");
    ASSERT_NE(doc, nullptr);
    const QString title = doc->Title();
    const std::string path = doc->PathName();
    const std::string ra = dir.File("talk");
    SaveAs([&](CWaveSaveDlg& save) {
        save.SelectType(kSaveRealAudio);
        dialogs.Accept([](QDialog& d) {
            dynamic_cast<CRealAudioMethodDlg&>(d).m_radios[9]->setChecked(true);
        });
        save.m_buttonOptions->click();
        EXPECT_EQ(save.m_labelFormat->text(), Text(184));
        save.selectFile(QString::fromStdString(ra));
    });
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(doc->Title(), title);
    EXPECT_EQ(doc->PathName(), path);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_TRUE(RequireTool("ffprobe"));
    EXPECT_EQ(Probe(ra + ".ra", "codec_name"), "ra_144") << "method 9 is RealAudio 14.4";
}

TEST_F(OpenSaveTest, FlacOggOpusAndMp3OpenAndSaveWithTheirOwnFormatShown) {
    ASSERT_TRUE(RequireTool("sox") && RequireTool("ffprobe"));
    const std::string flac = dir.File("deep.flac");
    ASSERT_EQ(RunCommand("sox -n -r 96000 -c 2 -b 24 '" + flac + "' synth 0.5 sine 440 vol 0.5"),
              0);
    const QString own = "FLAC, 24-bit, 96000 Hz, stereo, read as 16-bit stereo";
    dialogs.Accept([&](QDialog& d) {
        auto& open = dynamic_cast<CWaveOpenDlg&>(d);
        open.m_checkAutoPlay->setChecked(false);
        open.OnFileChanged(QString::fromStdString(flac));
        EXPECT_EQ(open.m_labelFormat->text(), own);
        EXPECT_EQ(open.m_labelLength->text(), Seconds(0.5));
        open.selectFile(QString::fromStdString(flac));
    });
    ASSERT_TRUE(Run(kOpen));
    ASSERT_EQ(app().DocumentCount(), 1u);
    COrvaneDoc* doc = app().Document(0);
    EXPECT_EQ(doc->m_pWave->FrameCount(), 48000u);
    dialogs.Cancel([&](QDialog& d) {
        auto& properties = dynamic_cast<CPropertiesDlg&>(d);
        EXPECT_EQ(properties.m_labelFormat->text(), Formatted(170, "PCM", 96000, 16, "Stereo"));
        ASSERT_NE(properties.m_labelFileFormat, nullptr);
        EXPECT_EQ(properties.m_labelFileFormat->text(), own);
    });
    Run(kProperties);

    // Save As offers the four types with their Options; the choice is remembered.
    const std::string mp3 = dir.File("small");
    SaveAs([&](CWaveSaveDlg& save) {
        save.SelectType(kSaveMp3);
        EXPECT_EQ(save.m_labelFormat->text(), Formatted(2328, 2));
        dialogs.Accept([](QDialog& d) {
            auto& options = dynamic_cast<CEncoderOptionsDlg&>(d);
            options.m_radioConstant->setChecked(true);
            options.m_comboBitrate->setCurrentIndex(options.m_comboBitrate->findText("96"));
        });
        save.m_buttonOptions->click();
        EXPECT_EQ(save.m_labelFormat->text(), Formatted(2329, 96));
        save.selectFile(QString::fromStdString(mp3));
    });
    EXPECT_EQ(doc->PathName(), mp3 + ".mp3");
    EXPECT_EQ(Probe(mp3 + ".mp3", "codec_name"), "mp3");
    EXPECT_EQ(Probe(mp3 + ".mp3", "sample_rate"), "48000") << "MP3 has no 96000 Hz";
    EXPECT_EQ(GetProfileInt("ENCODERS", "MP3BITRATE", 0), 96);

    const std::string level = dir.File("level.flac");
    SaveAs([&](CWaveSaveDlg& save) {
        save.SelectType(kSaveFlac);
        dialogs.Accept([](QDialog& d) {
            auto& options = dynamic_cast<CEncoderOptionsDlg&>(d);
            EXPECT_EQ(options.m_spinValue->value(), 5);
            options.m_spinValue->setValue(8);
        });
        save.m_buttonOptions->click();
        save.selectFile(QString::fromStdString(level));
    });
    EXPECT_EQ(Probe(level, "codec_name"), "flac");
    WaveObject back;
    ASSERT_EQ(back.Load(level, LOAD_CONVERT_TO_PCM), FileError::Success);
    EXPECT_EQ(Bytes(back), Bytes(*doc->m_pWave)) << "FLAC keeps the samples";

    // A plain Save of an .ogg name writes Ogg Vorbis.
    ASSERT_TRUE(Run(kEditUndoable));
    const std::string ogg = dir.File("plain.ogg");
    SaveAs([&](CWaveSaveDlg& save) {
        save.SelectType(kSaveOgg);
        save.selectFile(QString::fromStdString(ogg));
    });
    ASSERT_TRUE(Run(kEditUndoable));
    ASSERT_TRUE(Run(kSave));
    EXPECT_EQ(Probe(ogg, "codec_name"), "vorbis");
}

TEST_F(OpenSaveTest, DitherCanBeTurnedOffInMiscellaneous) {
    ASSERT_TRUE(RequireTool("sox"));
    const std::string deep = dir.File("deep.wav");
    ASSERT_EQ(RunCommand("sox -n -r 8000 -c 1 -b 24 '" + deep + "' synth 0.5 sine 440 vol 0.3"), 0);
    COrvaneDoc* dithered = Open(deep);
    ASSERT_NE(dithered, nullptr);
    {
        CMiscellaneousDlg misc;
        EXPECT_TRUE(misc.m_checkDither->isChecked());
        misc.m_checkDither->setChecked(false);
        misc.accept();
    }
    EXPECT_EQ(GetProfileInt("MISCELLANEOUS", "DITHER", 1), 0);
    const std::string copy = dir.File("deep2.wav");
    WriteFileBytes(copy, ReadFileBytes(deep));
    COrvaneDoc* rounded = Open(copy);
    ASSERT_NE(rounded, nullptr);
    WaveObject plain;
    ASSERT_EQ(plain.Load(deep, LOAD_CONVERT_TO_PCM | LOAD_NO_DITHER), FileError::Success);
    EXPECT_EQ(Bytes(*rounded->m_pWave), Bytes(plain));
    EXPECT_NE(Bytes(*dithered->m_pWave), Bytes(plain));
}

TEST_F(OpenSaveTest, PropertiesEditTheFiveTextsAndCancelKeepsThem) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 100));
    ASSERT_NE(doc, nullptr);
    dialogs.Accept([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Properties");
        auto edits = d.findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 4);
        edits[0]->setText("Title one");
        edits[2]->setText("Engineer one");
    });
    ASSERT_TRUE(Run(kProperties));
    EXPECT_STREQ(doc->m_pWave->GetInfo("INAM"), "Title one");
    EXPECT_STREQ(doc->m_pWave->GetInfo("IENG"), "Engineer one");
    dialogs.Cancel([](QDialog& d) {
        auto edits = d.findChildren<QLineEdit*>();
        EXPECT_EQ(edits[0]->text(), "Title one");
        edits[0]->setText("Lost");
    });
    Run(kProperties);
    EXPECT_STREQ(doc->m_pWave->GetInfo("INAM"), "Title one");
}

TEST_F(OpenSaveTest, EmbeddedStorageRoundTripsTheSound) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 3000));
    ASSERT_NE(doc, nullptr);
    doc->m_pWave->SetInfo("INAM", "Stored");
    QBuffer stored;
    stored.open(QIODevice::WriteOnly);
    ASSERT_TRUE(doc->StoreToStream(stored));
    ASSERT_TRUE(RequireTool("sox"));
    const std::string image = dir.File("image.wav");
    WriteFileBytes(image, {stored.data().begin(), stored.data().end()});
    std::string samples;
    RunCommand("soxi -s '" + image + "'", &samples);
    EXPECT_EQ(std::stoul(samples), 3000u) << "the image is a Wave file";

    COrvaneDoc copy;
    stored.close();
    stored.open(QIODevice::ReadOnly);
    ASSERT_TRUE(copy.LoadFromStream(stored));
    EXPECT_TRUE(SameFormat(*copy.m_pWave->format, *doc->m_pWave->format));
    EXPECT_EQ(Bytes(*copy.m_pWave), Bytes(*doc->m_pWave));
    EXPECT_STREQ(copy.m_pWave->GetInfo("INAM"), "Stored");

    // An image that fills its last page exactly, so nothing lies beyond the mapping.
    COrvaneDoc paged;
    ASSERT_TRUE(paged.ResetToEmpty(PcmFormat(8000, 8, 1)));
    const auto storedSize = [&paged](std::uint32_t n) {
        paged.ReplaceWave(RandomWave(PcmFormat(8000, 8, 1), n, 7));
        QBuffer probe;
        probe.open(QIODevice::WriteOnly);
        return paged.StoreToStream(probe) ? probe.size() : -1;
    };
    const auto headers = static_cast<std::uint32_t>(storedSize(12000) - 12000);
    std::uint32_t frames = 3 * 4096 - headers - 4;
    while (storedSize(frames) % 4096 != 0 && frames < 3 * 4096) ++frames;
    QBuffer exact;
    exact.open(QIODevice::WriteOnly);
    ASSERT_TRUE(paged.StoreToStream(exact));
    ASSERT_EQ(exact.size() % 4096, 0) << "no frame count fills a page";
    exact.close();
    exact.open(QIODevice::ReadOnly);
    COrvaneDoc back;
    ASSERT_TRUE(back.LoadFromStream(exact));
    EXPECT_EQ(back.Length(), frames);
    EXPECT_EQ(Bytes(*back.m_pWave), Bytes(*paged.m_pWave));

    // A damaged image leaves the document as it was.
    QBuffer damaged;
    damaged.setData(QByteArray("RIFF\x10\0\0\0WAVEjunk", 16));
    damaged.open(QIODevice::ReadOnly);
    EXPECT_FALSE(back.LoadFromStream(damaged));
    EXPECT_EQ(back.Length(), frames);
}

}  // namespace
}  // namespace kelvane::test
