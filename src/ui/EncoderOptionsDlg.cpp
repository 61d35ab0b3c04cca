#include "ui/EncoderOptionsDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "formats/FileError.h"
#include "platform/profile/Profile.h"
#include "resources/Strings.h"
#include "ui/DialogLayout.h"

namespace kelvane {

namespace {

constexpr int kMp3Rates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

QString Text(std::uint32_t id) {
    return QString::fromUtf8(LoadString(id));
}

const EncoderKey& KeyOf(int EncoderSettings::*field) {
    return *std::find_if(std::begin(kEncoderKeys), std::end(kEncoderKeys),
                         [&](const EncoderKey& k) { return k.field == field; });
}

QSpinBox* Spin(const EncoderSettings& settings, int EncoderSettings::*field) {
    const EncoderKey& key = KeyOf(field);
    auto* spin = new QSpinBox;
    spin->setRange(key.low, key.high);
    spin->setValue(std::clamp(settings.*field, key.low, key.high));
    spin->setMinimumWidth(80);
    return spin;
}

// The field the dialog's one spin box edits for a type.
int EncoderSettings::*SpinField(std::uint32_t type) {
    switch (type) {
        case kFileFlac:
            return &EncoderSettings::flacLevel;
        case kFileOgg:
            return &EncoderSettings::vorbisQuality;
        case kFileOpus:
            return &EncoderSettings::opusBitrate;
        default:
            return &EncoderSettings::mp3Quality;
    }
}

}  // namespace

CEncoderOptionsDlg::CEncoderOptionsDlg(std::uint32_t fileType, const EncoderSettings& settings,
                                       QWidget* parent)
    : QDialog(parent), m_nType(fileType), m_settings(settings) {
    setWindowTitle(Text(2310));
    auto* box = new QGroupBox(Text(2311 + (fileType - kFileFlac) / 0x10000));
    auto* grid = new QGridLayout(box);
    m_spinValue = Spin(settings, SpinField(fileType));
    if (fileType == kFileMp3) {
        m_radioVariable = new QRadioButton(Text(2321));
        m_radioConstant = new QRadioButton(Text(2322));
        m_comboBitrate = new QComboBox;
        for (int rate : kMp3Rates) m_comboBitrate->addItem(QString::number(rate), rate);
        const int at = m_comboBitrate->findData(settings.mp3Bitrate);
        m_comboBitrate->setCurrentIndex(at >= 0 ? at : m_comboBitrate->findData(192));
        (settings.mp3Vbr ? m_radioVariable : m_radioConstant)->setChecked(true);
        grid->addWidget(m_radioVariable, 0, 0);
        grid->addWidget(m_spinValue, 0, 1);
        grid->addWidget(new QLabel(Text(2323)), 0, 2);
        grid->addWidget(m_radioConstant, 1, 0);
        grid->addWidget(m_comboBitrate, 1, 1);
        grid->addWidget(new QLabel(Text(2324)), 1, 2);
        auto enable = [this] {
            m_spinValue->setEnabled(m_radioVariable->isChecked());
            m_comboBitrate->setEnabled(m_radioConstant->isChecked());
        };
        connect(m_radioVariable, &QRadioButton::toggled, this, enable);
        enable();
    } else {
        const std::uint32_t first = 2315 + (fileType - kFileFlac) / 0x10000 * 2;
        auto* label = new QLabel(Text(first));
        label->setBuddy(m_spinValue);
        grid->addWidget(label, 0, 0);
        grid->addWidget(m_spinValue, 0, 1);
        grid->addWidget(new QLabel(Text(first + 1)), 0, 2);
    }
    auto* controls = new QVBoxLayout;
    controls->addWidget(box);
    SetDialogLayout(*this, controls);
}

EncoderSettings CEncoderOptionsDlg::Settings() const {
    EncoderSettings s = m_settings;
    s.*SpinField(m_nType) = m_spinValue->value();
    if (m_nType == kFileMp3) {
        s.mp3Vbr = m_radioVariable->isChecked() ? 1 : 0;
        s.mp3Bitrate = m_comboBitrate->currentData().toInt();
    }
    return s;
}

QString EncoderDescription(std::uint32_t fileType, const EncoderSettings& s) {
    switch (fileType) {
        case kFileFlac:
            return QString::fromStdString(FormatString(2325, s.flacLevel));
        case kFileOgg:
            return QString::fromStdString(FormatString(2326, s.vorbisQuality));
        case kFileOpus:
            return QString::fromStdString(FormatString(2327, s.opusBitrate));
        case kFileMp3:
            return QString::fromStdString(s.mp3Vbr ? FormatString(2328, s.mp3Quality)
                                                   : FormatString(2329, s.mp3Bitrate));
        default:
            return {};
    }
}

EncoderSettings LoadEncoderSettings() {
    EncoderSettings s;
    for (const EncoderKey& k : kEncoderKeys)
        s.*(k.field) = std::clamp(GetProfileInt(kEncoderSection, k.key, k.fallback), k.low, k.high);
    return s;
}

void SaveEncoderSettings(const EncoderSettings& s) {
    for (const EncoderKey& k : kEncoderKeys) WriteProfileInt(kEncoderSection, k.key, s.*(k.field));
}

}  // namespace kelvane
