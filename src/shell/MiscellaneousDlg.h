#pragma once

#include <QDialog>

#include "wavedata/TempStorageSettings.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace kelvane {

// "Miscellaneous": where temporary sample files go, and whether deep samples are dithered.
class CMiscellaneousDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CMiscellaneousDlg(QWidget* parent = nullptr);

    void LoadSettings();
    void SaveSettings() const;
    void ApplySettings() const;
    void OnBrowse();

    TempStorageSettings m_settings;
    QRadioButton* m_radioSystem;
    QRadioButton* m_radioUser;
    QLineEdit* m_editSystem;
    QLineEdit* m_editUser;
    QCheckBox* m_checkDither;

  public slots:
    void accept() override;

  private:
    void ShowSettings();
};

}  // namespace kelvane
