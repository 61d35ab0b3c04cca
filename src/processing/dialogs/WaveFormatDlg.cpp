#include "processing/dialogs/WaveFormatDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <cstdlib>

#include "ui/DialogHost.h"
#include "ui/DialogLayout.h"

namespace kelvane {

namespace {

QGroupBox* Pair(const QString& title, QRadioButton* a, QRadioButton* b) {
    auto* box = new QGroupBox(title);
    auto* row = new QHBoxLayout(box);
    row->addWidget(a);
    row->addWidget(b);
    row->addStretch();
    auto* group = new QButtonGroup(box);
    group->addButton(a);
    group->addButton(b);
    return box;
}

}  // namespace

CWaveFormatDlg::CWaveFormatDlg(SettingsPlace place, QWidget* parent)
    : QDialog(parent),
      m_comboRate(new QComboBox),
      m_radioMono(new QRadioButton(tr("&Mono"))),
      m_radioStereo(new QRadioButton(tr("&Stereo"))),
      m_radio8(new QRadioButton(tr("&8 bits"))),
      m_radio16(new QRadioButton(tr("1&6 bits"))),
      m_effect(std::move(place)) {
    setWindowTitle(tr("Wave Format"));
    m_comboRate->setEditable(true);
    m_comboRate->addItems({"8000", "11025", "16000", "22050", "24000", "32000", "44100", "48000"});
    const FormatConversionSettings& s = m_effect.settings;
    m_comboRate->setEditText(QString::asprintf("%d", s.samplingRate));
    (s.channels == 1 ? m_radioMono : m_radioStereo)->setChecked(true);
    (s.sampleSize == 8 ? m_radio8 : m_radio16)->setChecked(true);

    auto* grid = new QGridLayout;
    auto* rateLabel = new QLabel(tr("Sampling &Rate:"));
    rateLabel->setBuddy(m_comboRate);
    grid->addWidget(rateLabel, 0, 0);
    grid->addWidget(m_comboRate, 0, 1);
    grid->addWidget(Pair(tr("Channels"), m_radioMono, m_radioStereo), 1, 0, 1, 2);
    grid->addWidget(Pair(tr("Sample Size"), m_radio8, m_radio16), 2, 0, 1, 2);
    SetDialogLayout(*this, grid);
}

void CWaveFormatDlg::accept() {
    FormatConversionSettings& s = m_effect.settings;
    s.samplingRate = static_cast<int>(std::atol(m_comboRate->currentText().toUtf8().constData()));
    s.channels = m_radioStereo->isChecked() ? 2 : 1;
    s.sampleSize = m_radio16->isChecked() ? 16 : 8;
    if (!IsAcceptedSamplingRate(s.samplingRate)) {
        MessageBox(1001, QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    m_effect.Save();
    QDialog::accept();
}

WaveFormat CWaveFormatDlg::Format() const {
    const FormatConversionSettings& s = m_effect.settings;
    return PcmFormat(static_cast<std::uint32_t>(s.samplingRate),
                     static_cast<std::uint16_t>(s.sampleSize),
                     static_cast<std::uint16_t>(s.channels));
}

}  // namespace kelvane
