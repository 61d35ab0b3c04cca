#include "processing/dialogs/ChangePitchDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

#include "processing/dialogs/PercentChangeBox.h"
#include "processing/dialogs/SegmentMethodBox.h"
#include "ui/DialogLayout.h"

namespace kelvane {

CChangePitchDlg::CChangePitchDlg(SettingsPlace place, QWidget* parent)
    : QDialog(parent),
      m_methods(new SegmentMethodBox),
      m_changes(new PercentChangeBox),
      m_checkPreserve(new QCheckBox(tr("&Perserve wave length."))),
      m_effect(std::move(place)),
      m_percentLeft(m_changes->m_edit, [this] { OnPercentLeft(); }) {
    setWindowTitle(tr("Change Pitch"));
    const ChangePitchSettings& s = m_effect.settings;
    m_changes->MoveTrackbar(s.percent);
    m_methods->ShowValues(s.segmentTime, s.crossFadeRatio);
    ReadBack();
    for (QSlider* slider :
         {m_changes->m_slider, m_methods->m_sliderSegment, m_methods->m_sliderCrossFade})
        connect(slider, &QSlider::valueChanged, this, [this] {
            m_effect.settings.preserveLength = m_checkPreserve->isChecked() ? 1 : 0;
            ReadBack();
        });
    connect(m_methods->m_comboMethod, &QComboBox::currentIndexChanged, this,
            &CChangePitchDlg::OnMethodSelected);

    auto* column = new QVBoxLayout;
    column->addWidget(m_methods);
    column->addWidget(m_changes);
    column->addWidget(m_checkPreserve);
    SetDialogLayout(*this, column);
}

bool CChangePitchDlg::TakeControls() {
    m_effect.settings.preserveLength = m_checkPreserve->isChecked() ? 1 : 0;
    return m_changes->TakeField(m_effect.settings.percent);
}

void CChangePitchDlg::ReadBack() {
    ChangePitchSettings& s = m_effect.settings;
    s.percent = m_changes->ReadTrackbar();
    s.segmentTime = m_methods->SegmentTime();
    s.crossFadeRatio = m_methods->CrossFadeRatio();
    m_checkPreserve->setChecked(s.preserveLength != 0);
}

void CChangePitchDlg::OnPercentLeft() {
    if (TakeControls()) m_changes->MoveTrackbar(m_effect.settings.percent);
}

void CChangePitchDlg::OnMethodSelected() {
    ChangePitchSettings& s = m_effect.settings;
    m_methods->TakePreset(s.segmentTime, s.crossFadeRatio);
}

void CChangePitchDlg::accept() {
    // Accepting leaves the field as a click on OK would, so a percent typed and confirmed
    // with Enter reaches the trackbar as well.
    if (!TakeControls()) return;
    m_changes->MoveTrackbar(m_effect.settings.percent);
    ReadBack();
    m_effect.SaveSettings();
    QDialog::accept();
}

}  // namespace kelvane
