#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kelvane");
    QApplication::setOrganizationName("Vantrel Software");
    QMainWindow window;
    window.setWindowTitle("Kelvane");
    window.resize(900, 600);
    window.show();
    return QApplication::exec();
}
