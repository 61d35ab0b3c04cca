#pragma once

#include <QDialog>
#include <QPointer>
#include <vector>

#include "batch/BatchMonitor.h"

class QEventLoop;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace kelvane {

// The modeless window of a batch run: the current file and step, the "Current Filter" and
// "Overall Progress" bars, the running log and one button. While the run goes the button is
// "Cancel"; after it, "Finish". The button never closes the window: it raises the flag the
// run or the wait after it looks at.
class CBatchProgressDlg final : public QDialog, public BatchMonitor {
    Q_OBJECT

  public:
    CBatchProgressDlg();
    ~CBatchProgressDlg() override;

    // Disables `parent`'s window and the window that owns it until DestroyWindow.
    bool Create(void* parent) override;
    void SetText(std::string_view text) override;
    int SetPos(int position) override;
    void SetRange(int lower, int upper) override;
    void SetFileText(std::string_view text) override;
    void SetOverallPos(int position) override;
    void AppendLog(std::string_view text) override;

    // The run is over: the button becomes "Finish" and the system's sound plays.
    void ShowFinished();
    // Keeps the interface going until the button is pressed.
    void WaitForFinish();
    void DestroyWindow();

    [[nodiscard]] bool IsCancelled() const { return m_bCancel; }

    QLabel* m_labelFile;  // the current file
    QLabel* m_labelStep;  // the current step
    QProgressBar* m_progressFilter;
    QProgressBar* m_progressOverall;
    QPlainTextEdit* m_editLog;
    QPushButton* m_buttonCancel;

  signals:
    // The button was pressed while the run goes.
    void cancelPressed();
    // The button reads "Finish" and waits to be pressed.
    void finishShown();

  public slots:
    void accept() override {}
    // Escape and the window's close box do what the button does.
    void reject() override { OnButton(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void OnButton();

    bool m_bCancel = false;
    bool m_bFinished = false;
    QEventLoop* m_pWait = nullptr;  // the wait for "Finish", while it runs
    std::vector<QPointer<QWidget>> m_disabled;
};

}  // namespace kelvane
