#include <QApplication>
#include <QDir>

#include "server/OrvaneServerDoc.h"
#include "shell/OrvaneApp.h"
#include "ui/Translations.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(KELVANE_VERSION);
    // Installed, the translations are in the data folder beside the program; else where the
    // build put them.
    kelvane::LoadTranslations(
        QLocale(),
        {QDir(QApplication::applicationDirPath()).filePath(KELVANE_TRANSLATIONS_FROM_BIN),
         KELVANE_BUILT_TRANSLATIONS});
    kelvane::COrvaneApp app;
    kelvane::ConnectServerTemplate();
    if (!app.InitInstance(kelvane::COrvaneApp::ParseCommandLine(QApplication::arguments())))
        return 0;
    return QApplication::exec();
}
