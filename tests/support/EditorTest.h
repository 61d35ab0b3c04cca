#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/CommandTable.h"
#include "support/TestSupport.h"
#include "ui/DialogHost.h"

namespace kelvane {
class COrvaneApp;
class COrvaneDoc;
}  // namespace kelvane

namespace kelvane::test {

// Answers the dialogs and message boxes of commands in the order a test queued them. A dialog
// nobody expected fails the test and is cancelled.
class ScriptedDialogs final : public DialogHost {
  public:
    using Answer = std::function<int(QDialog&)>;

    int Exec(QDialog& dialog) override;
    QMessageBox::StandardButton Message(QWidget* parent, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::Icon icon) override;

    // The next dialog: `fill` sets its controls, then it is accepted (or cancelled).
    void Accept(std::function<void(QDialog&)> fill = {});
    void Cancel(std::function<void(QDialog&)> fill = {});
    // The next dialog is answered by `answer`, whose result Exec returns.
    void Then(Answer answer) { m_dialogs.push_back(std::move(answer)); }
    // The next message box gets `button`; unqueued ones get their first button.
    void Reply(QMessageBox::StandardButton button) { m_buttons.push_back(button); }

    std::vector<QString> messages;  // every message shown, in order
    std::vector<QString> dialogTitles;

  private:
    std::deque<Answer> m_dialogs;
    std::deque<QMessageBox::StandardButton> m_buttons;
};

// Clicks Cancel in the first progress window that shows while it lives, as a person would.
class CancelClicker {
  public:
    CancelClicker();
    bool clicked = false;

  private:
    QTimer timer_;
};

// A message of the string table, as shown.
[[nodiscard]] QString Message(std::uint32_t id);

// The editor started as for a person (no splash, no single-instance block), with a private
// profile and scripted dialogs. Commands run through the one command table.
class EditorTest : public ::testing::Test {
  protected:
    EditorTest();
    // Starts nothing yet: the test calls Start when its files are in place.
    struct Deferred {};
    explicit EditorTest(Deferred);
    ~EditorTest() override;
    // `recovery`: the editor's temporary files are kept for crash recovery, and the sounds of
    // copies that died are offered back at once.
    void Start(bool recovery);
    // Ends the editor as a clean exit would.
    void Stop();

    COrvaneApp& app() { return *m_app; }
    COrvaneDoc* ActiveDocument();
    // Runs a command as its menu item or key would; false when it was disabled.
    bool Run(std::uint32_t id);
    [[nodiscard]] bool Enabled(std::uint32_t id);
    COrvaneDoc* Open(const std::string& path);
    // A 16-bit wave file of `frames` frames of a sweep, written by the file layer.
    std::string WriteTone(const std::string& name, std::uint32_t frames, std::uint16_t channels = 2,
                          std::uint32_t rate = 44100);

    ScopedProfile profile;
    ScopedTempDir dir;
    ScriptedDialogs dialogs;

  private:
    std::unique_ptr<COrvaneApp> m_app;
    DialogHost* m_previousHost;
};

}  // namespace kelvane::test
