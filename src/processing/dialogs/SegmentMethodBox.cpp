#include "processing/dialogs/SegmentMethodBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <iterator>

#include "processing/SegmentShift.h"
#include "processing/dialogs/EffectControls.h"

namespace kelvane {

SegmentMethodBox::SegmentMethodBox()
    : QGroupBox(tr("Methods")),
      m_comboMethod(new QComboBox),
      m_sliderSegment(NewTrackbar(kSegmentTimeMinMs, kSegmentTimeMaxMs, 5)),
      m_sliderCrossFade(NewTrackbar(kCrossFadeMinPercent, kCrossFadeMaxPercent, 5)) {
    for (const SegmentPreset& preset : kSegmentPresets) m_comboMethod->addItem(tr(preset.name));
    m_comboMethod->setCurrentIndex(-1);
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_comboMethod, 0, 0, 1, 3);
    // Each trackbar sits between the two qualities its ends favour.
    const auto row = [this, grid](int at, QSlider* slider, const QString& high) {
        grid->addWidget(new QLabel(tr("More accurate")), at, 0);
        grid->addWidget(slider, at, 1);
        grid->addWidget(new QLabel(high), at, 2);
    };
    row(1, m_sliderSegment, tr("Better for Bass"));
    row(2, m_sliderCrossFade, tr("Less echo"));
}

void SegmentMethodBox::ShowValues(double segmentTime, double crossFadeRatio) {
    MoveTrackbar(m_sliderSegment, StoredSegmentTime(segmentTime));
    MoveTrackbar(m_sliderCrossFade, StoredCrossFade(crossFadeRatio));
}

double SegmentMethodBox::SegmentTime() const {
    return SegmentTimeFromStored(m_sliderSegment->value());
}

double SegmentMethodBox::CrossFadeRatio() const {
    return CrossFadeFromStored(m_sliderCrossFade->value());
}

bool SegmentMethodBox::TakePreset(double& segmentTime, double& crossFadeRatio) {
    const int index = m_comboMethod->currentIndex();
    if (index < 0 || index >= static_cast<int>(std::size(kSegmentPresets))) return false;
    segmentTime = kSegmentPresets[index].segmentTime;
    crossFadeRatio = kSegmentPresets[index].crossFadeRatio;
    ShowValues(segmentTime, crossFadeRatio);
    return true;
}

}  // namespace kelvane
