#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QTranslator>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "batch/ui/BatchFileDialog.h"
#include "batch/ui/BatchProgressDlg.h"
#include "devices/RecordDlg.h"
#include "devices/WaveDevicesDlg.h"
#include "document/DocumentFiles.h"
#include "document/PropertiesDlg.h"
#include "document/RawFileFormatDlg.h"
#include "document/SelectionDlg.h"
#include "formats/FileError.h"
#include "platform/audio/AudioDevices.h"
#include "processing/dialogs/ChangePitchDlg.h"
#include "processing/dialogs/ChorusDlg.h"
#include "processing/dialogs/CompressExpandDlg.h"
#include "processing/dialogs/EchoDlg.h"
#include "processing/dialogs/ProgressDialog.h"
#include "processing/dialogs/SilenceDlg.h"
#include "processing/dialogs/VolumeDlg.h"
#include "processing/dialogs/WaveFormatDlg.h"
#include "resources/Strings.h"
#include "shell/AboutDlg.h"
#include "shell/CommandTable.h"
#include "shell/MainFrame.h"
#include "shell/MiscellaneousDlg.h"
#include "shell/OrvaneApp.h"
#include "shell/RecoverDlg.h"
#include "shell/WaveOpenDlg.h"
#include "shell/WaveSaveDlg.h"
#include "support/TestSupport.h"
#include "ui/EncoderOptionsDlg.h"
#include "ui/FormatChooserDlg.h"
#include "ui/RawDataFormatDlg.h"
#include "ui/RealAudioMethodDlg.h"
#include "ui/SubFormatDlg.h"
#include "ui/Translations.h"
#include "view/ColorDlg.h"
#include "view/DisplayFormatDlg.h"
#include "wavedata/WaveObject.h"

namespace kelvane::test {
namespace {

using Factory = std::function<std::unique_ptr<QWidget>()>;

template <typename Dialog, typename... Args>
std::pair<const char*, Factory> Make(const char* name, Args... args) {
    return {name, [=] { return std::unique_ptr<QWidget>(std::make_unique<Dialog>(args...)); }};
}

// Every dialog of the editor, each as it first opens.
std::vector<std::pair<const char*, Factory>> Dialogs(const WaveObject& wave) {
    const WaveFormat pcm = PcmFormat(44100, 16, 2);
    return {Make<CAboutDlg>("About"),
            Make<CMiscellaneousDlg>("Miscellaneous"),
            Make<CWaveOpenDlg>("Open"),
            Make<CWaveSaveDlg>("Save As", pcm, std::uint32_t{kSaveWave}, QString("a.wav"),
                               static_cast<QWidget*>(nullptr)),
            Make<CBatchFileDialog>("Batch Conversion"),
            Make<CBatchProgressDlg>("Batch Progress"),
            Make<CRecordDlg>("Recording", pcm, static_cast<QWidget*>(nullptr)),
            Make<CWaveDevicesDlg>("Wave Devices"),
            {"Properties", [&wave] { return std::make_unique<CPropertiesDlg>(wave, "MP3"); }},
            Make<CRawFileFormatDlg>("Raw File Format"),
            Make<CSelectionDlg>("Selection"),
            Make<CVolumeDlg>("Volume", true),
            Make<CSilenceDlg>("Insert Silence"),
            Make<CEchoDlg>("Echo"),
            Make<CChorusDlg>("Chorus"),
            Make<CChangePitchDlg>("Change Pitch"),
            Make<CCompressExpandDlg>("Compress/Expand", SettingsPlace{}, std::uint32_t{44100}),
            Make<CWaveFormatDlg>("Wave Format"),
            Make<ProgressDialog>("Progress", std::uint32_t{0}),
            Make<CFormatChooserDlg>("Format Chooser"),
            Make<CEncoderOptionsDlg>("MP3 Options", std::uint32_t{kFileMp3}, EncoderSettings{},
                                     static_cast<QWidget*>(nullptr)),
            Make<CEncoderOptionsDlg>("FLAC Options", std::uint32_t{kFileFlac}, EncoderSettings{},
                                     static_cast<QWidget*>(nullptr)),
            Make<CRawDataFormatDlg>("Raw Data Format"),
            Make<CRealAudioMethodDlg>("RealAudio Methods", std::uint32_t{0}),
            Make<CSubFormatDlg>("Sub-Format"),
            Make<CColorDlg>("Color"),
            Make<CDisplayFormatDlg>("Display Format"),
            Make<CRecoverDlg>("Recover Sounds", std::vector<DocumentManifest>{})};
}

// Names and units read the same in every language: codec names, "Mono", "kHz", the vendor.
bool IsNameOrUnit(const QString& word) {
    static const QSet<QString> names{"ADPCM", "Bit",      "CCITT",  "Copyright", "GSM",    "Hz",
                                     "IMA",   "kHz",      "Law",    "Microsoft", "Mono",   "ms",
                                     "PCM",   "Software", "Stereo", "Vantrel",   "Version"};
    return names.contains(word);
}

// A text with a word to translate.
bool HasWord(const QString& text) {
    static const QRegularExpression word("[[:alpha:]]{2,}");
    for (const QRegularExpressionMatch& match : word.globalMatch(text))
        if (!IsNameOrUnit(match.captured())) return true;
    return false;
}

// Qt names the widgets of its own forms (the file dialog's) and translates them itself, as
// it does the standard buttons of a button box.
bool QtsOwn(const QWidget& widget) {
    if (!widget.objectName().isEmpty()) return true;
    const auto* button = qobject_cast<const QAbstractButton*>(&widget);
    const auto* box = qobject_cast<const QDialogButtonBox*>(widget.parentWidget());
    return button && box && box->standardButton(const_cast<QAbstractButton*>(button)) != 0;
}

// The texts a person reads in a window: title, labels, buttons, group boxes, list entries.
QSet<QString> ShownTexts(QWidget& window) {
    QStringList texts{window.windowTitle()};
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (QtsOwn(*widget)) continue;
        if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
        if (auto* group = qobject_cast<QGroupBox*>(widget)) texts << group->title();
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
        if (auto* tree = qobject_cast<QTreeWidget*>(widget))
            for (int i = 0; i < tree->columnCount(); ++i) texts << tree->headerItem()->text(i);
        if (auto* list = qobject_cast<QListWidget*>(widget))
            for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        if (auto* spin = qobject_cast<QSpinBox*>(widget))
            texts << spin->specialValueText() << spin->suffix();
    }
    QSet<QString> shown;
    for (const QString& text : texts)
        if (HasWord(text)) shown.insert(text);
    return shown;
}

// The texts the German translation keeps as they are (a name, "Format:").
QSet<QString> KeptTexts() {
    QFile file(QString(KELVANE_TRANSLATION_SOURCES) + "/kelvane_de.ts");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QSet<QString> kept;
    QString source;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (xml.isStartElement() && xml.name() == u"source") source = xml.readElementText();
        if (xml.isStartElement() && xml.name() == u"translation" && xml.readElementText() == source)
            kept.insert(source);
        if (xml.isEndElement() || xml.isCharacters()) xml.readNext();
    }
    return kept;
}

void RemoveTranslations() {
    for (QTranslator* translator : qApp->findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(translator);
    SetStringTranslator(nullptr);
}

// The editor as a German user starts it: LANG alone names the language, as on a desktop
// whose other locale variables are unset.
class German : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        unsetenv("LANGUAGE");
        setenv("LANG", "de_DE.UTF-8", 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "kelvane";
        static char* argv[] = {name, nullptr};
        application_ = new QApplication(argc, argv);
        loaded_ = LoadTranslations(QLocale(), {"/nonexistent", KELVANE_BUILT_TRANSLATIONS});
    }

    void SetUp() override {
        ASSERT_TRUE(loaded_) << "no kelvane_de.qm in " KELVANE_BUILT_TRANSLATIONS;
        app_ = std::make_unique<COrvaneApp>();
        COrvaneApp::Options options;
        options.noSplash = true;
        options.singleInstance = false;
        ASSERT_TRUE(app_->InitInstance(options));
    }

    QList<QAction*> CommandActions() const {
        QList<QAction*> actions;
        for (QAction* action : app_->MainFrame()->findChildren<QAction*>())
            if (action->property("commandId").isValid()) actions.append(action);
        return actions;
    }

    static inline QApplication* application_ = nullptr;  // lives as long as the translations
    static inline bool loaded_ = false;
    ScopedProfile profile_;
    std::unique_ptr<COrvaneApp> app_;
};

TEST_F(German, MenusCommandsAndPromptsAreGerman) {
    QStringList titles;
    for (QAction* menu : app_->MainFrame()->menuBar()->actions()) titles.append(menu->text());
    EXPECT_EQ(titles, (QStringList{"&Datei", "&Ansicht", "&Hilfe"}));

    int translated = 0;
    for (QAction* action : CommandActions()) {
        const Command* command = FindCommand(action->property("commandId").toUInt());
        ASSERT_NE(command, nullptr);
        if (!command->menuText) continue;
        EXPECT_NE(action->text(), QString::fromUtf8(command->menuText)) << command->menuText;
        ++translated;
    }
    EXPECT_GT(translated, 40);
    // The prompts come from the string table, through the same translation.
    EXPECT_EQ(QString::fromUtf8(LoadString(57601)), "Ein vorhandenes Dokument öffnen\nÖffnen");
}

// A text a German reader still sees in English is a literal the translation never reached:
// every dialog is opened in German and in English, and only the texts the translation keeps
// on purpose may read the same.
TEST_F(German, DialogsShowNoEnglishText) {
    WaveObject wave;
    wave.SetFormat(PcmFormat(44100, 16, 2));
    const auto dialogs = Dialogs(wave);

    std::vector<QSet<QString>> german;
    for (const auto& [title, make] : dialogs) german.push_back(ShownTexts(*make()));
    RemoveTranslations();

    QSet<QString> kept = KeptTexts();
    ASSERT_GT(kept.size(), 5);
    // Devices are named by the sound server, in its own language.
    for (const auto& names : {WaveInDeviceNames(), WaveOutDeviceNames()})
        for (const std::string& name : names) kept.insert(QString::fromStdString(name));
    for (std::size_t i = 0; i < dialogs.size(); ++i) {
        const QSet<QString> english = ShownTexts(*dialogs[i].second());
        EXPECT_GT(english.size(), 0) << dialogs[i].first;
        for (const QString& text : english& german[i])
            EXPECT_TRUE(kept.contains(text))
                << dialogs[i].first << ": \"" << text.toStdString() << '"';
    }
    ASSERT_TRUE(LoadTranslations(QLocale(), {KELVANE_BUILT_TRANSLATIONS}));
}

// Every text of every translation has its translation, so no dialog shows English in part.
TEST(Translations, AreComplete) {
    const QDir folder(KELVANE_TRANSLATION_SOURCES);
    const QStringList files = folder.entryList({"kelvane_*.ts"});
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray text = file.readAll();
        EXPECT_EQ(text.count("type=\"unfinished\""), 0) << name.toStdString();
        EXPECT_GT(text.count("<translation>"), 200) << name.toStdString();
    }
}

}  // namespace
}  // namespace kelvane::test
