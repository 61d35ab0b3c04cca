// File > Batch Conversion driven headless: the dialog's lists and options, the run in its
// progress window, and agreement with kelvane-batch on the files written.

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <functional>

#include "batch/BatchFilters.h"
#include "batch/ui/BatchFileDialog.h"
#include "batch/ui/BatchProgressDlg.h"
#include "formats/FileError.h"
#include "platform/profile/Profile.h"
#include "processing/dialogs/WaveFormatDlg.h"
#include "resources/Strings.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "support/EditorTest.h"
#include "ui/FormatChooserDlg.h"
#include "ui/RawDataFormatDlg.h"
#include "ui/SubFormatDlg.h"

namespace kelvane::test {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kBatchCommand = 32832;
constexpr int kConvertFormat = 1;
constexpr int kReverse = 4;
constexpr int kNormalize = 5;

// What the progress window showed when the run was over.
struct RunSeen {
    bool shown = false;
    QString log;
    QString button;
    QString fileLine;
    QString stepLine;
    bool mainFrameEnabled = true;
};

class BatchDialogTest : public EditorTest {
  protected:
    BatchDialogTest() { fs::create_directory(Out()); }

    // Queues the batch dialog: `setup` fills it (its own dialogs queued after this call are
    // answered in order), then OK runs it; `during` may act on the window as it shows.
    void QueueBatch(std::function<void(CBatchFileDialog&)> setup,
                    std::function<void(CBatchProgressDlg&)> during = {}) {
        dialogs.Accept([this, setup, during](QDialog& d) {
            auto& dialog = dynamic_cast<CBatchFileDialog&>(d);
            QObject::connect(&dialog, &CBatchFileDialog::progressShown,
                             [this, during](CBatchProgressDlg* window) {
                                 seen.shown = true;
                                 if (during) during(*window);
                                 QObject::connect(window, &CBatchProgressDlg::finishShown,
                                                  [this, window] { Finish(*window); });
                             });
            setup(dialog);
        });
    }
    void Finish(CBatchProgressDlg& window) {
        seen.log = window.m_editLog->toPlainText();
        seen.button = window.m_buttonCancel->text();
        seen.fileLine = window.m_labelFile->text();
        seen.stepLine = window.m_labelStep->text();
        seen.mainFrameEnabled = app().MainFrame()->isEnabled();
        window.m_buttonCancel->click();
    }
    // Answers the output-folder dialog with `folder`.
    void QueueFolder(const std::string& folder) {
        dialogs.Accept([folder](QDialog& d) {
            dynamic_cast<QFileDialog&>(d).setDirectory(QString::fromStdString(folder));
        });
    }
    static void Select(QListWidget* list, int row) {
        list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    static void AddFilter(CBatchFileDialog& dialog, int filter) {
        Select(dialog.m_listAvailable, filter);
        dialog.m_buttonAddFilter->click();
    }
    static void AddFiles(CBatchFileDialog& dialog, const std::vector<std::string>& paths) {
        QStringList list;
        for (const auto& p : paths) list.append(QString::fromStdString(p));
        dialog.AddInputs(list);
    }
    std::string Out(const std::string& name = {}) { return dir.File("out/" + name); }
    std::string Soxi(const std::string& option, const std::string& path) {
        std::string text;
        RunCommand("soxi " + option + " '" + path + "'", &text);
        while (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }

    RunSeen seen;
};

QString Log(std::uint32_t id, const std::string& a = {}, const std::string& b = {}) {
    return QString::fromStdString(FormatString(id, a.c_str(), b.c_str()));
}

TEST_F(BatchDialogTest, EmptyInputListClosesWithoutARun) {
    bool filled = false;
    QueueBatch([&](CBatchFileDialog& d) {
        filled = true;
        EXPECT_EQ(d.m_listAvailable->count(), kBatchFilterCount);
        EXPECT_EQ(d.m_listAvailable->item(9)->text(), Message(198));
        EXPECT_EQ(d.m_labelTotal->text(), "0");
        EXPECT_EQ(d.m_comboFormat->count(), kBatchFormatCount);
    });
    ASSERT_TRUE(Run(kBatchCommand));
    EXPECT_TRUE(filled);
    EXPECT_FALSE(seen.shown);
    EXPECT_EQ(dialogs.dialogTitles.size(), 1u);
    EXPECT_TRUE(app().MainFrame()->isEnabled());
}

TEST_F(BatchDialogTest, EmptyChainConvertsEachFileIntoTheFormatOnly) {
    if (!RequireTool("sox")) return;
    const std::string a = WriteTone("a.wav", 30000, 2, 44100);
    const std::string b = WriteTone("b.wav", 12345, 1, 22050);
    QueueBatch([&](CBatchFileDialog& d) {
        AddFiles(d, {a, b});
        EXPECT_EQ(d.m_labelTotal->text(), "2");
        d.m_buttonOutputPath->click();
        EXPECT_EQ(d.m_labelOutputPath->text().toStdString(), Out());
        d.m_comboFormat->setCurrentIndex(1);  // AU
        d.m_buttonOptions->click();
    });
    QueueFolder(Out());
    dialogs.Accept(
        [](QDialog& d) { dynamic_cast<CSubFormatDlg&>(d).m_radios[1]->setChecked(true); });
    ASSERT_TRUE(Run(kBatchCommand));
    ASSERT_TRUE(seen.shown);
    EXPECT_FALSE(seen.mainFrameEnabled) << "no second command while the batch runs";
    EXPECT_TRUE(app().MainFrame()->isEnabled());
    EXPECT_EQ(seen.log, Log(2003, a) + Log(2003, b) + Message(2004));
    EXPECT_EQ(seen.button, Message(199));
    EXPECT_EQ(seen.fileLine, Message(2004));
    EXPECT_EQ(seen.stepLine, "");
    EXPECT_EQ(Soxi("-s", Out("a.au")), "30000");
    EXPECT_EQ(Soxi("-r", Out("a.au")), "44100");
    EXPECT_EQ(Soxi("-c", Out("b.au")), "1");
    EXPECT_EQ(Soxi("-s", Out("b.au")), "12345");
    EXPECT_EQ(Soxi("-e", Out("b.au")), "u-law");
}

TEST_F(BatchDialogTest, LoadErrorIsLoggedAndTheBatchGoesOn) {
    const std::string bad = dir.File("bad.wav");
    ASSERT_TRUE(WriteFileBytes(bad, {'R', 'I', 'F', 'F', 1, 2, 3}));
    const std::string missing = dir.File("missing.wav");
    const std::string good = WriteTone("good.wav", 5000, 2);
    std::string badText, missingText;
    {
        WaveObject probe(1, nullptr);
        badText = FileErrorText(probe.Load(bad, LOAD_READ_ONLY | LOAD_CONVERT_TO_PCM));
        missingText = FileErrorText(probe.Load(missing, LOAD_READ_ONLY | LOAD_CONVERT_TO_PCM));
    }
    int dialogWidth = 0;
    int logWidth = 0;
    QueueBatch(
        [&](CBatchFileDialog& d) {
            AddFiles(d, {bad, missing, good});
            d.m_buttonOutputPath->click();
            AddFilter(d, kReverse);
            dialogWidth = d.sizeHint().width();  // its size: the dialog is of fixed size
        },
        [&](CBatchProgressDlg& window) { logWidth = window.m_editLog->width(); });
    QueueFolder(Out());
    ASSERT_TRUE(Run(kBatchCommand));
    EXPECT_EQ(seen.log, Log(2000, bad, badText) + Log(2000, missing, missingText) +
                            Log(2003, good) + Message(2004));
    EXPECT_GT(logWidth, dialogWidth * 9 / 10) << "the log takes the dialog's width";
    EXPECT_TRUE(fs::exists(Out("good.wav")));
    EXPECT_FALSE(fs::exists(Out("bad.wav")));
    EXPECT_FALSE(fs::exists(Out("missing.wav")));
}

TEST_F(BatchDialogTest, CancelDuringTheSecondFileFinishesItsStepAndSavesNothingMore) {
    std::vector<std::string> files;
    for (const char* name : {"one.wav", "two.wav", "three.wav"})
        files.push_back(WriteTone(name, 40000, 2));
    QString fileWhenCancelled;
    QueueBatch(
        [&](CBatchFileDialog& d) {
            AddFiles(d, files);
            d.m_buttonOutputPath->click();
            AddFilter(d, kReverse);
        },
        [&](CBatchProgressDlg& window) {
            // The overall bar reaches a third as the second file starts.
            QObject::connect(window.m_progressOverall, &QProgressBar::valueChanged,
                             [&window, &fileWhenCancelled](int value) {
                                 if (value != 100 / 3) return;
                                 fileWhenCancelled = window.m_labelFile->text();
                                 window.m_buttonCancel->click();
                                 EXPECT_EQ(window.m_buttonCancel->text(), "Cancel");
                             });
        });
    QueueFolder(Out());
    ASSERT_TRUE(Run(kBatchCommand));
    EXPECT_EQ(fileWhenCancelled.toStdString(), files[1]);
    EXPECT_EQ(seen.log, Log(2003, files[0]) + Message(2005));
    EXPECT_EQ(seen.button, Message(199));
    EXPECT_EQ(seen.fileLine, Message(2005));
    EXPECT_TRUE(fs::exists(Out("one.wav")));
    EXPECT_FALSE(fs::exists(Out("two.wav")));
    EXPECT_FALSE(fs::exists(Out("three.wav")));
}

TEST_F(BatchDialogTest, ChangingTheOutputFormatDiscardsTheEarlierOptions) {
    if (!RequireTool("sox")) return;
    const std::string tone = WriteTone("tone.wav", 8000, 1, 22050);
    QueueBatch([&](CBatchFileDialog& d) {
        AddFiles(d, {tone});
        d.m_buttonOutputPath->click();
        d.m_buttonOptions->click();  // Wave: IMA ADPCM
        EXPECT_TRUE(d.Batch().HasSubFormat());
        EXPECT_TRUE(d.m_labelFormat->text().startsWith("IMA ADPCM, "))
            << d.m_labelFormat->text().toStdString();
        d.m_comboFormat->setCurrentIndex(2);  // AIFF: nothing to choose
        EXPECT_FALSE(d.m_buttonOptions->isEnabled());
        d.m_comboFormat->setCurrentIndex(4);  // raw: 16 bits big-endian
        d.m_buttonOptions->click();
        EXPECT_EQ(d.m_labelFormat->text(), Message(212));
        d.m_comboFormat->setCurrentIndex(0);
        EXPECT_TRUE(d.m_buttonOptions->isEnabled());
        EXPECT_FALSE(d.Batch().HasSubFormat());
        EXPECT_EQ(d.m_labelFormat->text(), "");
    });
    QueueFolder(Out());
    dialogs.Accept([](QDialog& d) {
        auto& chooser = dynamic_cast<CFormatChooserDlg&>(d);
        chooser.m_comboTag->setCurrentIndex(chooser.m_comboTag->findData(0x11));
        ASSERT_GT(chooser.m_comboAttributes->count(), 0);
    });
    dialogs.Accept(
        [](QDialog& d) { dynamic_cast<CRawDataFormatDlg&>(d).m_listFormat->setCurrentRow(3); });
    ASSERT_TRUE(Run(kBatchCommand));
    EXPECT_EQ(seen.log, Log(2003, tone) + Message(2004));
    EXPECT_EQ(Soxi("-e", Out("tone.wav")), "Signed Integer PCM") << "the sound's own format";
    EXPECT_EQ(Soxi("-s", Out("tone.wav")), "8000");
}

TEST_F(BatchDialogTest, ChainEntriesKeepTheirSettingsFileOnlyWhileInTheChain) {
    std::string kept, removed;
    QueueBatch([&](CBatchFileDialog& d) {
        d.m_listAvailable->clearSelection();
        d.m_buttonAddFilter->click();  // nothing selected: no dialog, no entry
        EXPECT_EQ(d.m_listChain->count(), 0);

        AddFilter(d, kConvertFormat);  // cancelled: nothing added
        EXPECT_EQ(d.m_listChain->count(), 0);
        EXPECT_TRUE(d.Batch().Chain().empty());

        AddFilter(d, kConvertFormat);
        AddFilter(d, kNormalize);
        ASSERT_EQ(d.m_listChain->count(), 2);
        EXPECT_EQ(d.m_listChain->item(0)->text(),
                  Message(190) + "\n    SAMPLING RATE=11025, CHANNELS=2, SAMPLE SIZE=8")
            << "two entries of one filter must be told apart";
        removed = d.Batch().Chain()[0]->SettingsFile();
        kept = d.Batch().Chain()[1]->SettingsFile();
        EXPECT_EQ(GetPrivateProfileInt("BATCH", "SAMPLING RATE", 0, removed), 11025);
        EXPECT_EQ(GetPrivateProfileInt("BATCH", "CHANNELS", 0, removed), 2);

        d.m_listChain->clearSelection();
        d.m_buttonRemoveFilter->click();  // nothing selected: nothing removed
        EXPECT_EQ(d.m_listChain->count(), 2);
        Select(d.m_listChain, 0);
        d.m_buttonRemoveFilter->click();
        EXPECT_FALSE(fs::exists(removed)) << "deleted at once";
        EXPECT_TRUE(fs::exists(kept));
        ASSERT_EQ(d.m_listChain->count(), 1);
        EXPECT_EQ(d.m_listChain->item(0)->text(), Message(194));
        EXPECT_EQ(d.Batch().Chain()[0]->Filter(), kNormalize);
    });
    dialogs.Cancel();
    dialogs.Accept([](QDialog& d) {
        auto& format = dynamic_cast<CWaveFormatDlg&>(d);
        format.m_comboRate->setEditText("11025");
        format.m_radioStereo->setChecked(true);
    });
    ASSERT_TRUE(Run(kBatchCommand));
    EXPECT_FALSE(fs::exists(kept)) << "the dialog's end deletes the rest";
}

TEST_F(BatchDialogTest, InputListTakesChosenFilesAndRemovesTheSelectedOnes) {
    const std::string a = WriteTone("a.wav", 100, 1);
    const std::string b = WriteTone("b.wav", 100, 1);
    const std::string c = WriteTone("c.wav", 100, 1);
    QueueBatch([&](CBatchFileDialog& d) {
        d.m_buttonAdd->click();
        ASSERT_EQ(d.m_listInput->count(), 3);
        EXPECT_EQ(d.m_labelTotal->text(), "3");
        d.m_listInput->item(0)->setSelected(true);
        d.m_listInput->item(2)->setSelected(true);
        d.m_buttonRemove->click();
        ASSERT_EQ(d.Batch().Inputs().size(), 1u);
        EXPECT_EQ(d.Batch().Inputs()[0], b);
        EXPECT_EQ(d.m_listInput->item(0)->text().toStdString(), b);
        EXPECT_EQ(d.m_labelTotal->text(), "1");
        d.m_buttonRemove->click();  // nothing selected
        EXPECT_EQ(d.m_listInput->count(), 1);
        d.m_listInput->item(0)->setSelected(true);
        d.m_buttonRemove->click();
        EXPECT_EQ(d.m_labelTotal->text(), "0");
    });
    dialogs.Accept([&](QDialog& d) {
        auto& files = dynamic_cast<QFileDialog&>(d);
        EXPECT_EQ(files.fileMode(), QFileDialog::ExistingFiles);
        files.setDirectory(QString::fromStdString(dir.path()));
        files.selectFile("\"a.wav\" \"b.wav\" \"c.wav\"");
    });
    ASSERT_TRUE(Run(kBatchCommand));
    EXPECT_FALSE(seen.shown);
}

#ifdef KELVANE_BATCH_COMMAND
TEST_F(BatchDialogTest, TheDialogAndTheCommandLineWriteTheSameFiles) {
    const std::string a = WriteTone("a.wav", 44100, 2, 44100);
    const std::string b = WriteTone("b.wav", 20000, 1, 32000);
    QueueBatch([&](CBatchFileDialog& d) {
        AddFiles(d, {a, b});
        d.m_buttonOutputPath->click();
        AddFilter(d, kConvertFormat);
        AddFilter(d, kNormalize);
        AddFilter(d, kReverse);
        d.m_buttonOptions->click();
    });
    QueueFolder(Out());
    dialogs.Accept([](QDialog& d) {
        auto& format = dynamic_cast<CWaveFormatDlg&>(d);
        format.m_comboRate->setEditText("22050");
        format.m_radioMono->setChecked(true);
        format.m_radio16->setChecked(true);
    });
    dialogs.Accept([](QDialog& d) {
        auto& chooser = dynamic_cast<CFormatChooserDlg&>(d);
        chooser.m_comboTag->setCurrentIndex(chooser.m_comboTag->findData(2));
        for (int i = 0; i < chooser.m_comboAttributes->count(); ++i) {
            chooser.m_comboAttributes->setCurrentIndex(i);
            const WaveFormat* f = chooser.Format();
            if (f->samplesPerSec == 22050 && f->channels == 1) return;
        }
        ADD_FAILURE() << "no 22050 Hz mono Microsoft ADPCM offered";
    });
    ASSERT_TRUE(Run(kBatchCommand));
    ASSERT_EQ(seen.log, Log(2003, a) + Log(2003, b) + Message(2004));

    fs::create_directory(dir.File("cli"));
    std::string output;
    const int status =
        RunCommand("'" KELVANE_BATCH_COMMAND "' -q -o '" + dir.File("cli") +
                       "' -f wav --subformat ms-adpcm:22050:1"
                       " --filter 'convert:SAMPLING RATE=22050,CHANNELS=1,SAMPLE SIZE=16'"
                       " --filter normalize --filter reverse '" +
                       a + "' '" + b + "'",
                   &output);
    ASSERT_EQ(status, 0) << output;
    for (const char* name : {"a.wav", "b.wav"}) {
        SCOPED_TRACE(name);
        const auto fromDialog = ReadFileBytes(Out(name));
        EXPECT_GT(fromDialog.size(), 1000u);
        EXPECT_TRUE(fromDialog == ReadFileBytes(dir.File(std::string("cli/") + name)));
    }
}
#endif

}  // namespace
}  // namespace kelvane::test
