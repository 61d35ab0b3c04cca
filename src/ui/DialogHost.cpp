#include "ui/DialogHost.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLayout>
#include <QMainWindow>
#include <QSpacerItem>

#include "resources/Strings.h"

namespace kelvane {

namespace {

// A window manager elides a title wider than its window ("Wave... rmat"): a dialog is kept at
// least as wide as its title (in the bold face frames use) and the frame's icon and buttons.
void WidenForTitle(QDialog& dialog) {
    QFont bold = dialog.font();
    bold.setBold(true);
    const int title = QFontMetrics(bold).horizontalAdvance(dialog.windowTitle());
    constexpr int kFrameExtras = 130;  // the icon and three buttons of a typical frame
    const int width = title + kFrameExtras;
    if (dialog.sizeHint().width() >= width) return;
    // Most dialogs have a fixed-size layout, which overrides a minimum width: a strut in the
    // layout widens them.
    if (QLayout* layout = dialog.layout())
        layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed));
    else
        dialog.setMinimumWidth(width);
}

class InteractiveHost final : public DialogHost {
  public:
    int Exec(QDialog& dialog) override {
        WidenForTitle(dialog);
        return dialog.exec();
    }

    QMessageBox::StandardButton Message(QWidget* parent, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::Icon icon) override {
        QMessageBox box(icon, QString::fromUtf8(LoadString(128)), text, buttons, parent);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }
};

InteractiveHost g_interactive;
DialogHost* g_host = &g_interactive;

// A message ends the operation whose progress window is up: that window closes first (which
// gives the main window its input back), and the message sits over the window worked in.
QWidget* MessageParent() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->property(kClosesBeforeMessages).toBool())
            QMetaObject::invokeMethod(window, "DestroyWindow");
    QWidget* active = QApplication::activeWindow();
    if (active && active->isVisible() && active->isEnabled()) return active;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && qobject_cast<QMainWindow*>(window)) return window;
    return nullptr;
}

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
    return g_host->Message(MessageParent(), text, buttons, icon);
}

}  // namespace kelvane
