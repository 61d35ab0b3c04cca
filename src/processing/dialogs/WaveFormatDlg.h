#pragma once

#include <QDialog>

#include "processing/FormatConversion.h"

class QComboBox;
class QRadioButton;

namespace kelvane {

// "Wave Format": the PCM format of File > New and of Convert Format. OK writes the settings
// when the rate is accepted and keeps the dialog open with a message otherwise.
class CWaveFormatDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CWaveFormatDlg(SettingsPlace place = {}, QWidget* parent = nullptr);

    [[nodiscard]] const FormatConversionEffect& Effect() const { return m_effect; }
    [[nodiscard]] WaveFormat Format() const;

    QComboBox* m_comboRate;
    QRadioButton* m_radioMono;
    QRadioButton* m_radioStereo;
    QRadioButton* m_radio8;
    QRadioButton* m_radio16;

  public slots:
    void accept() override;

  private:
    FormatConversionEffect m_effect;
};

}  // namespace kelvane
