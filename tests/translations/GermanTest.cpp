#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <cstdlib>
#include <memory>

#include "resources/Strings.h"
#include "shell/CommandTable.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "support/TestSupport.h"
#include "ui/Translations.h"

namespace kelvane::test {
namespace {

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
