#pragma once

#include <QMessageBox>
#include <QString>
#include <cstdint>

class QDialog;
class QWidget;

namespace kelvane {

// Every modal dialog and message box a command shows goes through the installed host. The
// editor's host runs them for a person; tests install one that answers them, so any command
// can run without a display.
class DialogHost {
  public:
    virtual ~DialogHost() = default;
    // QDialog::Accepted or QDialog::Rejected.
    virtual int Exec(QDialog& dialog) = 0;
    // The button pressed.
    virtual QMessageBox::StandardButton Message(QWidget* parent, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::Icon icon) = 0;
};

// The property of windows that close (by their DestroyWindow slot) before a message shows.
inline constexpr char kClosesBeforeMessages[] = "closesBeforeMessages";

// The host in use; the interactive one unless a test installed another. Returns the old one.
DialogHost& Dialogs();
DialogHost* SetDialogHost(DialogHost* host);

// Runs a dialog modally through the host.
int RunModal(QDialog& dialog);

// A message box titled "Kelvane" with a text of the string table, over the active window
// (the main window when there is none).
QMessageBox::StandardButton MessageBox(std::uint32_t stringId,
                                       QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                       QMessageBox::Icon icon = QMessageBox::Warning);
QMessageBox::StandardButton MessageBox(const QString& text,
                                       QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                       QMessageBox::Icon icon = QMessageBox::Warning);

}  // namespace kelvane
