#include "view/DisplayFormatDlg.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include "ui/AppState.h"
#include "ui/DialogLayout.h"
#include "ui/RangeCheck.h"

namespace kelvane {

namespace {

constexpr const char* kUnitLabels[] = {QT_TRANSLATE_NOOP("kelvane::CDisplayFormatDlg", "&Bytes"),
                                       QT_TRANSLATE_NOOP("kelvane::CDisplayFormatDlg", "&Samples"),
                                       QT_TRANSLATE_NOOP("kelvane::CDisplayFormatDlg", "S&econds"),
                                       QT_TRANSLATE_NOOP("kelvane::CDisplayFormatDlg", "S&MPTE"),
                                       QT_TRANSLATE_NOOP("kelvane::CDisplayFormatDlg", "&Frames"),
                                       QT_TRANSLATE_NOOP("kelvane::CDisplayFormatDlg", "Bea&ts")};

}  // namespace

CDisplayFormatDlg::CDisplayFormatDlg(QWidget* parent)
    : QDialog(parent), m_editFramesPerSec(new QLineEdit), m_editTempo(new QLineEdit) {
    setWindowTitle(tr("Display Format"));
    auto* units = new QGroupBox(tr("Unit"));
    auto* unitGrid = new QGridLayout(units);
    auto* group = new QButtonGroup(this);
    for (std::size_t i = 0; i < m_radios.size(); ++i) {
        m_radios[i] = new QRadioButton(tr(kUnitLabels[i]));
        group->addButton(m_radios[i], static_cast<int>(i));
        unitGrid->addWidget(m_radios[i], static_cast<int>(i % 3), static_cast<int>(i / 3));
    }
    auto* form = new QFormLayout;
    form->addRow(tr("Frames &per second:"), m_editFramesPerSec);
    form->addRow(tr("Tem&po (Beats per minute):"), m_editTempo);
    auto* column = new QVBoxLayout;
    column->addWidget(units);
    column->addLayout(form);
    SetDialogLayout(*this, column);
    LoadSettings();
    ShowSettings();
}

void CDisplayFormatDlg::LoadSettings() { m_settings.Load(); }

void CDisplayFormatDlg::SaveSettings() const { m_settings.Save(); }

void CDisplayFormatDlg::ApplySettings() const { App().display = m_settings; }

void CDisplayFormatDlg::ShowSettings() {
    if (m_settings.unit < m_radios.size()) m_radios[m_settings.unit]->setChecked(true);
    m_editFramesPerSec->setText(QString::number(m_settings.framesPerSec, 'g', 10));
    m_editTempo->setText(QString::number(m_settings.tempo, 'g', 10));
}

void CDisplayFormatDlg::accept() {
    DisplayFormatSettings s = m_settings;
    for (std::size_t i = 0; i < m_radios.size(); ++i)
        if (m_radios[i]->isChecked()) s.unit = static_cast<std::uint32_t>(i);
    if (!ReadDouble(m_editFramesPerSec, 0.0, 100000.0, s.framesPerSec)) return;
    if (!ReadDouble(m_editTempo, 50.0, 400.0, s.tempo)) return;
    m_settings = s;
    SaveSettings();
    ApplySettings();
    QDialog::accept();
}

}  // namespace kelvane
