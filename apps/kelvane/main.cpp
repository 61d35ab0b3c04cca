#include <QApplication>
#include <QDir>

#include "server/OrvaneServerDoc.h"
#include "shell/OrvaneApp.h"
#include "ui/DialogHost.h"
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
    const auto options = kelvane::COrvaneApp::ParseCommandLine(QApplication::arguments());
    if (!app.InitInstance(options)) return 0;
    const bool forContainers = options.embedding || options.automation;
    const auto server = kelvane::StartBusServer(forContainers);
    // A person's copy edits without the service; a copy started for containers is nothing
    // without it.
    if (!server && forContainers) {
        kelvane::MessageBox(100);
        return 1;
    }
    return QApplication::exec();
}
