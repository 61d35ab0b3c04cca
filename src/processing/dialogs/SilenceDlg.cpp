#include "processing/dialogs/SilenceDlg.h"

#include <QFormLayout>
#include <QLineEdit>

#include "ui/DialogLayout.h"
#include "ui/RangeCheck.h"

namespace kelvane {

CSilenceDlg::CSilenceDlg(SettingsPlace place, QWidget* parent)
    : QDialog(parent), m_editLength(new QLineEdit), m_effect(std::move(place)) {
    setWindowTitle(tr("Insert Silence"));
    m_editLength->setText(DoubleText(m_effect.seconds));
    auto* form = new QFormLayout;
    form->addRow(tr("&Length(0.001s-60s)"), m_editLength);
    SetDialogLayout(*this, form);
}

void CSilenceDlg::accept() {
    double seconds = 0;
    if (!ReadDouble(m_editLength, kMinSilenceSeconds, kMaxSilenceSeconds, seconds)) return;
    m_effect.seconds = seconds;
    m_effect.Save();
    QDialog::accept();
}

}  // namespace kelvane
