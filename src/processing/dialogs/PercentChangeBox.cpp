#include "processing/dialogs/PercentChangeBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "processing/ChangePitch.h"
#include "processing/CompressExpand.h"
#include "processing/ProgressCounter.h"
#include "processing/dialogs/EffectControls.h"
#include "ui/RangeCheck.h"

namespace kelvane {

namespace {

constexpr int kPercentMin = ChangePitchSettings::kPercentMin;
constexpr int kPercentMax = ChangePitchSettings::kPercentMax;
static_assert(CompressExpandSettings::kPercentMin == kPercentMin &&
              CompressExpandSettings::kPercentMax == kPercentMax);

}  // namespace

PercentChangeBox::PercentChangeBox()
    : QGroupBox(tr("Changes")),
      m_slider(NewTrackbar(kPercentMin, kPercentMax, 10)),
      m_edit(new QLineEdit) {
    m_edit->setMaximumWidth(m_edit->fontMetrics().horizontalAdvance("200.000") + 12);
    auto* row = new QHBoxLayout(this);
    row->addWidget(m_slider, 1);
    row->addWidget(m_edit);
    row->addWidget(new QLabel("%"));
}

bool PercentChangeBox::TakeField(double& percent) {
    return ReadDouble(m_edit, kPercentMin, kPercentMax, percent);
}

void PercentChangeBox::MoveTrackbar(double percent) {
    kelvane::MoveTrackbar(m_slider, TruncToInt(percent));
}

double PercentChangeBox::ReadTrackbar() {
    const double percent = m_slider->value();
    m_edit->setText(DoubleText(percent));
    return percent;
}

}  // namespace kelvane
