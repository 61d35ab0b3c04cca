#include "processing/dialogs/ChangePitchDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "processing/ProgressCounter.h"
#include "processing/dialogs/SegmentMethodBox.h"
#include "ui/DialogLayout.h"
#include "ui/RangeCheck.h"

namespace kelvane {

namespace {

constexpr int kPercentMin = ChangePitchSettings::kPercentMin;
constexpr int kPercentMax = ChangePitchSettings::kPercentMax;

}  // namespace

CChangePitchDlg::CChangePitchDlg(SettingsPlace place, QWidget* parent)
    : QDialog(parent),
      m_methods(new SegmentMethodBox),
      m_sliderPercent(NewTrackbar(kPercentMin, kPercentMax, 10)),
      m_editPercent(new QLineEdit),
      m_checkPreserve(new QCheckBox("&Perserve wave length.")),
      m_effect(std::move(place)),
      m_percentLeft(m_editPercent, [this] { OnPercentLeft(); }) {
    setWindowTitle("Change Pitch");
    const ChangePitchSettings& s = m_effect.settings;
    MoveTrackbar(m_sliderPercent, TruncToInt(s.percent));
    m_methods->ShowValues(s.segmentTime, s.crossFadeRatio);
    ReadBack();
    for (QSlider* slider :
         {m_sliderPercent, m_methods->m_sliderSegment, m_methods->m_sliderCrossFade})
        connect(slider, &QSlider::valueChanged, this, [this] {
            m_effect.settings.preserveLength = m_checkPreserve->isChecked() ? 1 : 0;
            ReadBack();
        });
    connect(m_methods->m_comboMethod, &QComboBox::currentIndexChanged, this,
            &CChangePitchDlg::OnMethodSelected);

    auto* changes = new QGroupBox("Changes");
    auto* row = new QHBoxLayout(changes);
    m_editPercent->setMaximumWidth(m_editPercent->fontMetrics().horizontalAdvance("200.000") + 12);
    row->addWidget(m_sliderPercent, 1);
    row->addWidget(m_editPercent);
    row->addWidget(new QLabel("%"));
    auto* column = new QVBoxLayout;
    column->addWidget(m_methods);
    column->addWidget(changes);
    column->addWidget(m_checkPreserve);
    SetDialogLayout(*this, column);
}

bool CChangePitchDlg::TakeControls() {
    m_effect.settings.preserveLength = m_checkPreserve->isChecked() ? 1 : 0;
    return ReadDouble(m_editPercent, kPercentMin, kPercentMax, m_effect.settings.percent);
}

void CChangePitchDlg::ReadBack() {
    ChangePitchSettings& s = m_effect.settings;
    s.percent = m_sliderPercent->value();
    s.segmentTime = m_methods->SegmentTime();
    s.crossFadeRatio = m_methods->CrossFadeRatio();
    m_editPercent->setText(DoubleText(s.percent));
    m_checkPreserve->setChecked(s.preserveLength != 0);
}

void CChangePitchDlg::OnPercentLeft() {
    if (TakeControls()) MoveTrackbar(m_sliderPercent, TruncToInt(m_effect.settings.percent));
}

void CChangePitchDlg::OnMethodSelected() {
    ChangePitchSettings& s = m_effect.settings;
    m_methods->TakePreset(s.segmentTime, s.crossFadeRatio);
}

void CChangePitchDlg::accept() {
    // Accepting leaves the field as a click on OK would, so a percent typed and confirmed
    // with Enter reaches the trackbar as well.
    if (!TakeControls()) return;
    MoveTrackbar(m_sliderPercent, TruncToInt(m_effect.settings.percent));
    ReadBack();
    m_effect.SaveSettings();
    QDialog::accept();
}

}  // namespace kelvane
