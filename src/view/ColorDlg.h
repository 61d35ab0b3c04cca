#pragma once

#include <QDialog>
#include <array>

#include "view/ColorSettings.h"

class QFrame;
class QListWidget;
class QToolButton;

namespace kelvane {

// "Color": the twelve colours of the waveform windows, each picked from sixteen swatches.
class CColorDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CColorDlg(QWidget* parent = nullptr);

    void LoadSettings();
    void SaveSettings() const;
    void ApplySettings() const;
    void OnSwatch(int index);
    void OnReset();

    ColorSettings m_settings;
    QListWidget* m_list;
    std::array<QToolButton*, 16> m_swatches{};
    QFrame* m_current;

  public slots:
    void accept() override;

  private:
    void ShowCurrent();
};

}  // namespace kelvane
