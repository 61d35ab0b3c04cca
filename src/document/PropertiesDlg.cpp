#include "document/PropertiesDlg.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/DialogLayout.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

namespace {

constexpr const char* kIds[] = {"INAM", "ISBJ", "IENG", "ICOP"};
constexpr const char* kLabels[] = {"&Title:", "&Subject:", "&Engineer:", "Copy&right:"};

QString InfoText(const WaveObject& wave, const char* id) {
    const char* text = wave.GetInfo(id);
    return text ? QString::fromUtf8(text) : QString();
}

}  // namespace

CPropertiesDlg::CPropertiesDlg(const WaveObject& wave, QWidget* parent)
    : QDialog(parent), m_editComments(new QPlainTextEdit(InfoText(wave, "ICMT"))) {
    setWindowTitle("Properties");
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < m_edits.size(); ++i) {
        m_edits[i] = new QLineEdit(InfoText(wave, kIds[i]));
        m_edits[i]->setMinimumWidth(320);
        form->addRow(kLabels[i], m_edits[i]);
    }
    m_editComments->setFixedHeight(90);
    form->addRow("&Comments:", m_editComments);
    SetDialogLayout(*this, form);
}

void CPropertiesDlg::Store(WaveObject& wave) const {
    for (std::size_t i = 0; i < m_edits.size(); ++i)
        wave.SetInfo(kIds[i], m_edits[i]->text().toUtf8().constData());
    wave.SetInfo("ICMT", m_editComments->toPlainText().toUtf8().constData());
}

}  // namespace kelvane
