#include <QApplication>

#include "server/OrvaneServerDoc.h"
#include "shell/OrvaneApp.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(KELVANE_VERSION);
    kelvane::COrvaneApp app;
    kelvane::ConnectServerTemplate();
    if (!app.InitInstance(kelvane::COrvaneApp::ParseCommandLine(QApplication::arguments())))
        return 0;
    return QApplication::exec();
}
