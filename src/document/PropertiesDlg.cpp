#include "document/PropertiesDlg.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/acm/AcmFormats.h"
#include "resources/Strings.h"
#include "ui/DialogLayout.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

namespace {

constexpr const char* kIds[] = {"INAM", "ISBJ", "IENG", "ICOP"};
constexpr const char* kLabels[] = {QT_TRANSLATE_NOOP("kelvane::CPropertiesDlg", "&Title:"),
                                   QT_TRANSLATE_NOOP("kelvane::CPropertiesDlg", "&Subject:"),
                                   QT_TRANSLATE_NOOP("kelvane::CPropertiesDlg", "&Engineer:"),
                                   QT_TRANSLATE_NOOP("kelvane::CPropertiesDlg", "Copy&right:")};

QString InfoText(const WaveObject& wave, const char* id) {
    const char* text = wave.GetInfo(id);
    return text ? QString::fromUtf8(text) : QString();
}

QString FormatText(const WaveObject& wave) {
    if (!wave.format) return {};
    const WaveFormat& f = *wave.format;
    return QString::fromStdString(FormatString(
        170, AcmFormatTagName(f.formatTag), static_cast<int>(f.samplesPerSec),
        static_cast<int>(f.bitsPerSample), LoadString(f.channels > 1 ? 148 : 147).data()));
}

QLabel* ValueLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

CPropertiesDlg::CPropertiesDlg(const WaveObject& wave, const QString& fileFormat, QWidget* parent)
    : QDialog(parent),
      m_editComments(new QPlainTextEdit(InfoText(wave, "ICMT"))),
      m_labelFormat(ValueLabel(FormatText(wave))) {
    setWindowTitle(tr("Properties"));
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < m_edits.size(); ++i) {
        m_edits[i] = new QLineEdit(InfoText(wave, kIds[i]));
        m_edits[i]->setMinimumWidth(320);
        form->addRow(tr(kLabels[i]), m_edits[i]);
    }
    m_editComments->setFixedHeight(90);
    form->addRow(tr("&Comments:"), m_editComments);
    form->addRow(tr("Format:"), m_labelFormat);
    if (!fileFormat.isEmpty()) {
        m_labelFileFormat = ValueLabel(fileFormat);
        form->addRow(tr("File format:"), m_labelFileFormat);
    }
    SetDialogLayout(*this, form);
}

void CPropertiesDlg::Store(WaveObject& wave) const {
    for (std::size_t i = 0; i < m_edits.size(); ++i)
        wave.SetInfo(kIds[i], m_edits[i]->text().toUtf8().constData());
    wave.SetInfo("ICMT", m_editComments->toPlainText().toUtf8().constData());
}

}  // namespace kelvane
