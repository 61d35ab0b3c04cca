#pragma once

#include <QDialog>

class QComboBox;

namespace kelvane {

// "Wave Devices": which wave-in and wave-out device the editor uses; -1 is the default one.
class CWaveDevicesDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CWaveDevicesDlg(QWidget* parent = nullptr);

    void LoadSettings();
    void SaveSettings() const;
    void ApplySettings() const;

    int m_nWaveIn = -1;
    int m_nWaveOut = -1;
    QComboBox* m_comboWaveIn;   // control 1039
    QComboBox* m_comboWaveOut;  // control 1040

  public slots:
    void accept() override;
};

// File > Preferences > Devices.
void ShowWaveDevicesDialog(QWidget* parent);

}  // namespace kelvane
