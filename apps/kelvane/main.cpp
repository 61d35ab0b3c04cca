#include <QApplication>

#include "server/OrvaneServerDoc.h"
#include "shell/OrvaneApp.h"
#include "ui/DialogHost.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(KELVANE_VERSION);
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
