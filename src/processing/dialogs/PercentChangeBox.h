#pragma once

#include <QGroupBox>

class QLineEdit;
class QSlider;

namespace kelvane {

// The "Changes" box of Change Pitch and Compress/Expand Length: a percent from 50 to 200 on a
// trackbar, in whole percents, and in a field beside it, which takes any number of the range.
class PercentChangeBox : public QGroupBox {
    Q_OBJECT

  public:
    PercentChangeBox();

    // The field's number into `percent`; false, with the range message, when it holds no
    // number from 50 to 200.
    bool TakeField(double& percent);
    // Moves the trackbar to the whole part of `percent`, without a notification.
    void MoveTrackbar(double percent);
    // What the trackbar holds, then shown in the field.
    double ReadTrackbar();

    QSlider* m_slider;
    QLineEdit* m_edit;
};

}  // namespace kelvane
