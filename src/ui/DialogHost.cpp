#include "ui/DialogHost.h"

#include <QApplication>
#include <QDialog>

#include "resources/Strings.h"

namespace kelvane {

namespace {

class InteractiveHost final : public DialogHost {
  public:
    int Exec(QDialog& dialog) override { return dialog.exec(); }

    QMessageBox::StandardButton Message(QWidget* parent, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::Icon icon) override {
        QMessageBox box(icon, QString::fromUtf8(LoadString(128)), text, buttons, parent);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }
};

InteractiveHost g_interactive;
DialogHost* g_host = &g_interactive;

}  // namespace

DialogHost& Dialogs() { return *g_host; }

DialogHost* SetDialogHost(DialogHost* host) {
    DialogHost* old = g_host;
    g_host = host ? host : &g_interactive;
    return old;
}

int RunModal(QDialog& dialog) { return g_host->Exec(dialog); }

QMessageBox::StandardButton MessageBox(std::uint32_t stringId, QMessageBox::StandardButtons buttons,
                                       QMessageBox::Icon icon) {
    return MessageBox(QString::fromUtf8(LoadString(stringId)), buttons, icon);
}

QMessageBox::StandardButton MessageBox(const QString& text, QMessageBox::StandardButtons buttons,
                                       QMessageBox::Icon icon) {
    return g_host->Message(QApplication::activeWindow(), text, buttons, icon);
}

}  // namespace kelvane
