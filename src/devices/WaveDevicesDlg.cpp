#include "devices/WaveDevicesDlg.h"

#include <QComboBox>
#include <QFormLayout>

#include "platform/audio/AudioDevices.h"
#include "platform/profile/Profile.h"
#include "resources/Strings.h"
#include "ui/AppState.h"
#include "ui/DialogHost.h"
#include "ui/DialogLayout.h"

namespace kelvane {

namespace {

constexpr char kSection[] = "DEVICES";

// The devices, then "Wave Mapper" last, with the stored number's entry chosen.
void FillList(QComboBox& list, const std::vector<std::string>& names, int number) {
    for (const std::string& name : names) list.addItem(QString::fromStdString(name));
    list.addItem(QString::fromUtf8(LoadString(145)));
    list.setCurrentIndex(number >= 0 && number < list.count() - 1 ? number : list.count() - 1);
}

int ChosenNumber(const QComboBox& list) {
    return list.currentIndex() == list.count() - 1 ? -1 : list.currentIndex();
}

}  // namespace

CWaveDevicesDlg::CWaveDevicesDlg(QWidget* parent)
    : QDialog(parent), m_comboWaveIn(new QComboBox), m_comboWaveOut(new QComboBox) {
    setWindowTitle(tr("Wave Devices"));
    LoadSettings();
    FillList(*m_comboWaveIn, WaveInDeviceNames(), m_nWaveIn);
    FillList(*m_comboWaveOut, WaveOutDeviceNames(), m_nWaveOut);
    for (QComboBox* list : {m_comboWaveIn, m_comboWaveOut}) list->setMinimumWidth(280);
    auto* form = new QFormLayout;
    form->addRow(tr("Wave &In:"), m_comboWaveIn);
    form->addRow(tr("Wave &Out:"), m_comboWaveOut);
    SetDialogLayout(*this, form);
}

void CWaveDevicesDlg::LoadSettings() {
    m_nWaveIn = GetProfileInt(kSection, "WAVEIN", -1);
    m_nWaveOut = GetProfileInt(kSection, "WAVEOUT", -1);
}

void CWaveDevicesDlg::SaveSettings() const {
    WriteProfileInt(kSection, "WAVEIN", m_nWaveIn);
    WriteProfileInt(kSection, "WAVEOUT", m_nWaveOut);
}

void CWaveDevicesDlg::ApplySettings() const {
    App().waveInDevice = m_nWaveIn;
    App().waveOutDevice = m_nWaveOut;
}

void CWaveDevicesDlg::accept() {
    m_nWaveIn = ChosenNumber(*m_comboWaveIn);
    m_nWaveOut = ChosenNumber(*m_comboWaveOut);
    SaveSettings();
    ApplySettings();
    QDialog::accept();
}

void ShowWaveDevicesDialog(QWidget* parent) {
    CWaveDevicesDlg dialog(parent);
    RunModal(dialog);
}

}  // namespace kelvane
