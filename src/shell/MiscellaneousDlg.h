#pragma once

#include <QDialog>

#include "platform/profile/TempStorageSettings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace kelvane {

// "Miscellaneous": where temporary sample files go, how much undo keeps there, and whether
// deep samples are dithered.
class CMiscellaneousDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CMiscellaneousDlg(QWidget* parent = nullptr);

    void LoadSettings();
    void SaveSettings() const;
    void ApplySettings() const;
    void OnBrowse();

    TempStorageSettings m_settings;
    int m_nUndoLevels = 20;
    int m_nUndoDiskLimit = 0;  // MiB; 0: half the folder's free space
    QRadioButton* m_radioSystem;
    QRadioButton* m_radioUser;
    QLineEdit* m_editSystem;
    QLineEdit* m_editUser;
    QCheckBox* m_checkDither;
    QLabel* m_labelSpace;
    QSpinBox* m_spinUndoLevels;
    QSpinBox* m_spinUndoDisk;

  public slots:
    void accept() override;

  private:
    void ShowSettings();
    void ShowFreeSpace();
};

}  // namespace kelvane
