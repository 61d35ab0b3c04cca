#pragma once

#include <QDialog>

#include "processing/Chorus.h"

class QLabel;
class QSlider;

namespace kelvane {

// "Chorus": modulation frequency and depth, the number of voices, their size and delay.
class CChorusDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CChorusDlg(SettingsPlace place = {}, QWidget* parent = nullptr);

    [[nodiscard]] const ChorusEffect& Effect() const { return m_effect; }

    QSlider* m_sliderFrequency;
    QSlider* m_sliderDepth;
    QSlider* m_sliderNumber;
    QSlider* m_sliderSize;
    QSlider* m_sliderDelay;
    QLabel* m_labelFrequency;
    QLabel* m_labelDepth;
    QLabel* m_labelNumber;
    QLabel* m_labelSize;
    QLabel* m_labelDelay;

  public slots:
    void accept() override;

  private:
    // The settings from the trackbars, then the labels from the settings.
    void ReadBack();

    ChorusEffect m_effect;
};

}  // namespace kelvane
