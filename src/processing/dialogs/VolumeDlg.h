#pragma once

#include <QDialog>

#include "processing/Volume.h"

class QCheckBox;
class QLabel;
class QSlider;

namespace kelvane {

// "Volume": a trackbar per channel in percent (0 to 200) and the lock that moves both
// together. On a mono sound the lock is on and cannot be changed.
class CVolumeDlg : public QDialog {
    Q_OBJECT

  public:
    // `stereo`: the sound has more than one channel (batch conversion passes true).
    explicit CVolumeDlg(bool stereo, SettingsPlace place = {}, QWidget* parent = nullptr);

    [[nodiscard]] const VolumeEffect& Effect() const { return m_effect; }

    QSlider* m_sliderLeft;
    QSlider* m_sliderRight;
    QLabel* m_labelLeft;
    QLabel* m_labelRight;
    QCheckBox* m_checkLock;

  public slots:
    void accept() override;

  private:
    void OnHScroll(QSlider* moved);
    void RefreshLabels();

    VolumeEffect m_effect;
};

}  // namespace kelvane
