#include "document/RawFileFormatDlg.h"

#include <QComboBox>
#include <QFormLayout>

#include "platform/profile/Profile.h"
#include "ui/DialogLayout.h"

namespace kelvane {

namespace {

constexpr char kSection[] = "RAWFILEFORMAT";
constexpr const char* kRates[] = {"8000", "11025", "16000", "22050",
                                  "24000", "32000", "44100", "48000"};

QComboBox* List(const auto& items, int index) {
    auto* combo = new QComboBox;
    for (const char* item : items) combo->addItem(item);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : 0);
    return combo;
}

}  // namespace

CRawFileFormatDlg::CRawFileFormatDlg(QWidget* parent)
    : QDialog(parent),
      m_comboRate(List(kRates, GetProfileInt(kSection, "Frequency", 0))),
      m_comboFormat(List(kRawDataFormats, GetProfileInt(kSection, "Data Format", 0))),
      m_comboChannels(List(std::initializer_list<const char*>{"Mono", "Stereo"}, GetProfileInt(kSection, "Channels", 0))) {
    setWindowTitle("Raw File Format");
    auto* form = new QFormLayout;
    form->addRow("&Sampling Rate:", m_comboRate);
    form->addRow("&Data Format:", m_comboFormat);
    form->addRow("&Channels:", m_comboChannels);
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
