#pragma once

#include <QDialog>

#include "wavedata/TempStorageSettings.h"

class QLineEdit;
class QRadioButton;

namespace kelvane {

// "Miscellaneous": where temporary sample files go.
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

  public slots:
    void accept() override;

  private:
    void ShowSettings();
};

}  // namespace kelvane
