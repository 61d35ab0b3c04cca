#pragma once

#include <QDialog>
#include <array>

#include "view/PositionFormat.h"

class QLineEdit;
class QRadioButton;

namespace kelvane {

// "Display Format": the unit of positions, frames per second and tempo.
class CDisplayFormatDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CDisplayFormatDlg(QWidget* parent = nullptr);

    void LoadSettings();
    void SaveSettings() const;
    void ApplySettings() const;

    DisplayFormatSettings m_settings;
    std::array<QRadioButton*, 6> m_radios;
    QLineEdit* m_editFramesPerSec;
    QLineEdit* m_editTempo;

  public slots:
    void accept() override;

  private:
    void ShowSettings();
};

}  // namespace kelvane
