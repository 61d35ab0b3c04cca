#include "document/RawFileFormatDlg.h"

#include <QComboBox>
#include <QFormLayout>

#include "platform/profile/Profile.h"
#include "ui/DialogLayout.h"

namespace kelvane {

namespace {

constexpr char kSection[] = "RAWFILEFORMAT";
const QStringList kRates = {"8000", "11025", "16000", "22050", "24000", "32000", "44100", "48000"};

QComboBox* List(const QStringList& items, int index) {
    auto* combo = new QComboBox;
    combo->addItems(items);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : 0);
    return combo;
}

}  // namespace

CRawFileFormatDlg::CRawFileFormatDlg(QWidget* parent)
    : QDialog(parent),
      m_comboRate(List(kRates, GetProfileInt(kSection, "Frequency", 0))),
      m_comboFormat(List(RawDataFormatNames(), GetProfileInt(kSection, "Data Format", 0))),
      m_comboChannels(List({tr("Mono"), tr("Stereo")}, GetProfileInt(kSection, "Channels", 0))) {
    setWindowTitle(tr("Raw File Format"));
    auto* form = new QFormLayout;
    form->addRow(tr("&Sampling Rate:"), m_comboRate);
    form->addRow(tr("&Data Format:"), m_comboFormat);
    form->addRow(tr("&Channels:"), m_comboChannels);
    SetDialogLayout(*this, form);
}

void CRawFileFormatDlg::SaveSettings() const {
    WriteProfileInt(kSection, "Frequency", m_comboRate->currentIndex());
    WriteProfileInt(kSection, "Data Format", m_comboFormat->currentIndex());
    WriteProfileInt(kSection, "Channels", m_comboChannels->currentIndex());
}

RawParams CRawFileFormatDlg::Params() const {
    RawParams raw;
    raw.rate = m_comboRate->currentText().toUInt();
    raw.dataFormat = static_cast<std::uint32_t>(m_comboFormat->currentIndex() + 1);
    raw.channels = static_cast<std::uint32_t>(m_comboChannels->currentIndex() + 1);
    return raw;
}

}  // namespace kelvane
