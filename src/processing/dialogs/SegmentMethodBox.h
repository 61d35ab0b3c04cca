#pragma once

#include <QGroupBox>

class QComboBox;
class QSlider;

namespace kelvane {

// The "Methods" box of Change Pitch and Compress/Expand Length: the presets of the segment
// method and its two trackbars, the segment time in milliseconds (15 to 60) and the
// cross-fade ratio in percent (5 to 70). No preset is selected at first.
class SegmentMethodBox : public QGroupBox {
    Q_OBJECT

  public:
    SegmentMethodBox();

    // Moves both trackbars to the stored form of the two values.
    void ShowValues(double segmentTime, double crossFadeRatio);
    // The values the trackbars stand for.
    [[nodiscard]] double SegmentTime() const;
    [[nodiscard]] double CrossFadeRatio() const;
    // The values of the selected preset, the trackbars moved to match; false when none is
    // selected.
    bool TakePreset(double& segmentTime, double& crossFadeRatio);

    QComboBox* m_comboMethod;
    QSlider* m_sliderSegment;
    QSlider* m_sliderCrossFade;
};

}  // namespace kelvane
