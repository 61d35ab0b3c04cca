#pragma once

#include <QDialog>
#include <QPointer>
#include <chrono>
#include <string_view>

#include "processing/ProgressIndicator.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace kelvane {

// Runs pending events, so windows keep painting while a long operation reports progress.
void PumpMessages();

// The modeless progress window of long operations: a bar, a percentage, a text and Cancel.
// While it exists its owner window is disabled, so no second command can start. Only a click
// cancels: the button takes no focus, and Enter and Escape do nothing here.
class ProgressDialog final : public QDialog, public ProgressIndicator {
    Q_OBJECT

  public:
    explicit ProgressDialog(std::uint32_t captionId = 0);
    ~ProgressDialog() override;

    bool Create(void* parent) override;
    void SetText(std::string_view text) override;
    int SetPos(int position) override;
    void SetRange(int lower, int upper) override;
    [[nodiscard]] bool Cancelled() const override { return m_bCancelled; }
  public slots:
    // Re-enables the owner and closes the window.
    void DestroyWindow();

  public:
    [[nodiscard]] QString PercentText() const;
    [[nodiscard]] QString MessageText() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  public slots:
    void accept() override {}
    void reject() override {}

  private:
    void ShowPosition() const;

    QProgressBar* m_progress;
    QLabel* m_labelPercent;
    QLabel* m_labelText;
    QPushButton* m_buttonCancel;
    bool m_bCancelled = false;
    std::uint32_t m_nCaption;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos;
    mutable bool m_bPosShown = true;
    std::chrono::steady_clock::time_point m_lastPump;
    QPointer<QWidget> m_pDisabledOwner;
    QPointer<QWidget> m_pOwnerFocus;
};

}  // namespace kelvane
