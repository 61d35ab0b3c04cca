#include "processing/dialogs/VolumeDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>

#include "processing/dialogs/EffectControls.h"
#include "ui/DialogLayout.h"

namespace kelvane {

namespace {

constexpr int kVolumeMax = 200;
constexpr int kVolumeTick = 10;

}  // namespace

CVolumeDlg::CVolumeDlg(bool stereo, SettingsPlace place, QWidget* parent)
    : QDialog(parent),
      m_sliderLeft(NewTrackbar(0, kVolumeMax, kVolumeTick)),
      m_sliderRight(NewTrackbar(0, kVolumeMax, kVolumeTick)),
      m_labelLeft(NewValueLabel("200%")),
      m_labelRight(NewValueLabel("200%")),
      m_checkLock(new QCheckBox(tr("Lock left and right &channels"))),
      m_effect(stereo, std::move(place)) {
    setWindowTitle(tr("Volume"));
    const VolumeSettings& s = m_effect.settings;
    const bool lock = s.lock != 0 || !stereo;
    m_checkLock->setChecked(lock);
    m_checkLock->setEnabled(stereo);
    m_sliderLeft->setValue(s.leftVolume);
    m_sliderRight->setValue(lock ? s.leftVolume : s.rightVolume);
    RefreshLabels();
    connect(m_sliderLeft, &QSlider::valueChanged, this, [this] { OnHScroll(m_sliderLeft); });
    connect(m_sliderRight, &QSlider::valueChanged, this, [this] { OnHScroll(m_sliderRight); });

    auto* grid = new QGridLayout;
    AddTrackbarRow(*grid, 0, tr("&Left"), m_sliderLeft, m_labelLeft);
    AddTrackbarRow(*grid, 1, tr("&Right"), m_sliderRight, m_labelRight);
    grid->addWidget(m_checkLock, 2, 0, 1, 3);
    SetDialogLayout(*this, grid);
}

void CVolumeDlg::OnHScroll(QSlider* moved) {
    if (m_checkLock->isChecked()) {
        MoveTrackbar(m_sliderLeft, moved->value());
        MoveTrackbar(m_sliderRight, moved->value());
    }
    RefreshLabels();
}

void CVolumeDlg::RefreshLabels() {
    m_labelLeft->setText(QString::asprintf("%d%%", m_sliderLeft->value()));
    m_labelRight->setText(QString::asprintf("%d%%", m_sliderRight->value()));
}

void CVolumeDlg::accept() {
    VolumeSettings& s = m_effect.settings;
    s.leftVolume = m_sliderLeft->value();
    s.rightVolume = m_sliderRight->value();
    s.lock = m_checkLock->isChecked() ? 1 : 0;
    m_effect.Save();
    QDialog::accept();
}

}  // namespace kelvane
