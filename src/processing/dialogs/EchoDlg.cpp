#include "processing/dialogs/EchoDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QSlider>

#include "processing/dialogs/EffectControls.h"
#include "ui/DialogLayout.h"

namespace kelvane {

CEchoDlg::CEchoDlg(SettingsPlace place, QWidget* parent)
    : QDialog(parent),
      m_sliderNumber(NewTrackbar(EchoSettings::kNumberMin, EchoSettings::kNumberMax, 1)),
      m_sliderDelay(NewTrackbar(EchoSettings::kDelayMin, EchoSettings::kDelayMax, 100)),
      m_sliderSize(NewTrackbar(EchoSettings::kSizeMin, EchoSettings::kSizeMax, 10)),
      m_labelNumber(NewValueLabel("10")),
      m_labelDelay(NewValueLabel("1.000 s")),
      m_labelSize(NewValueLabel("100%")),
      m_effect(std::move(place)) {
    setWindowTitle(tr("Add Echo"));
    const EchoSettings& s = m_effect.settings;
    m_sliderNumber->setValue(s.number);
    m_sliderDelay->setValue(s.delay);
    m_sliderSize->setValue(s.size);
    RefreshLabels();
    for (QSlider* slider : {m_sliderNumber, m_sliderDelay, m_sliderSize})
        connect(slider, &QSlider::valueChanged, this, &CEchoDlg::RefreshLabels);

    auto* grid = new QGridLayout;
    AddTrackbarRow(*grid, 0, tr("&Number of echo"), m_sliderNumber, m_labelNumber);
    AddTrackbarRow(*grid, 1, tr("&Delay of echo"), m_sliderDelay, m_labelDelay);
    AddTrackbarRow(*grid, 2, tr("&Size of echo"), m_sliderSize, m_labelSize);
    SetDialogLayout(*this, grid);
}

void CEchoDlg::RefreshLabels() {
    m_labelNumber->setText(QString::asprintf("%d", m_sliderNumber->value()));
    m_labelDelay->setText(QString::asprintf("%.3f s", m_sliderDelay->value() / 1000.0));
    m_labelSize->setText(QString::asprintf("%d%%", m_sliderSize->value()));
}

void CEchoDlg::accept() {
    EchoSettings& s = m_effect.settings;
    s.number = m_sliderNumber->value();
    s.delay = m_sliderDelay->value();
    s.size = m_sliderSize->value();
    m_effect.SaveSettings();
    QDialog::accept();
}

}  // namespace kelvane
