#include "processing/dialogs/ChorusDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QSlider>

#include "processing/dialogs/EffectControls.h"
#include "ui/DialogLayout.h"

namespace kelvane {

CChorusDlg::CChorusDlg(SettingsPlace place, QWidget* parent)
    : QDialog(parent),
      m_sliderFrequency(
          NewTrackbar(ChorusSettings::kFrequencyMin, ChorusSettings::kFrequencyMax, 10)),
      m_sliderDepth(NewTrackbar(ChorusSettings::kDepthMin, ChorusSettings::kDepthMax, 100)),
      m_sliderNumber(NewTrackbar(ChorusSettings::kNumberMin, ChorusSettings::kNumberMax, 1)),
      m_sliderSize(NewTrackbar(ChorusSettings::kSizeMin, ChorusSettings::kSizeMax, 100)),
      m_sliderDelay(NewTrackbar(ChorusSettings::kDelayMinMs, ChorusSettings::kDelayMaxMs, 100)),
      m_labelFrequency(NewValueLabel("100 Hz")),
      m_labelDepth(NewValueLabel("99.9 %")),
      m_labelNumber(NewValueLabel("3")),
      m_labelSize(NewValueLabel("99.9 %")),
      m_labelDelay(NewValueLabel("999 ms")),
      m_effect(std::move(place)) {
    setWindowTitle(tr("Chorus"));
    const ChorusStored positions = StoredChorus(m_effect.settings);
    m_sliderDelay->setValue(positions.delay);
    m_sliderSize->setValue(positions.size);
    m_sliderNumber->setValue(positions.number);
    m_sliderDepth->setValue(positions.depth);
    m_sliderFrequency->setValue(positions.frequency);
    ReadBack();
    for (QSlider* slider :
         {m_sliderFrequency, m_sliderDepth, m_sliderNumber, m_sliderSize, m_sliderDelay})
        connect(slider, &QSlider::valueChanged, this, &CChorusDlg::ReadBack);

    auto* grid = new QGridLayout;
    AddTrackbarRow(*grid, 0, tr("Modulation &Frequency"), m_sliderFrequency, m_labelFrequency);
    AddTrackbarRow(*grid, 1, tr("Modulation D&epth"), m_sliderDepth, m_labelDepth);
    AddTrackbarRow(*grid, 2, tr("&Number of chorus"), m_sliderNumber, m_labelNumber);
    AddTrackbarRow(*grid, 3, tr("&Size of chorus"), m_sliderSize, m_labelSize);
    AddTrackbarRow(*grid, 4, tr("&Delay of chorus"), m_sliderDelay, m_labelDelay);
    SetDialogLayout(*this, grid);
}

void CChorusDlg::ReadBack() {
    ChorusSettings& s = m_effect.settings;
    s = ChorusFromStored({m_sliderDelay->value(), m_sliderSize->value(), m_sliderNumber->value(),
                          m_sliderDepth->value(), m_sliderFrequency->value()});
    const ChorusStored shown = StoredChorus(s);
    m_labelDelay->setText(QString::asprintf("%d ms", shown.delay));
    m_labelSize->setText(QString::asprintf("%.1f %%", s.size * 100));
    m_labelNumber->setText(QString::asprintf("%d", s.number));
    m_labelDepth->setText(QString::asprintf("%.1f %%", s.depth * 100));
    m_labelFrequency->setText(QString::asprintf("%d Hz", shown.frequency));
}

void CChorusDlg::accept() {
    ReadBack();
    m_effect.SaveSettings();
    QDialog::accept();
}

}  // namespace kelvane
