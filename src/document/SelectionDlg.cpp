#include "document/SelectionDlg.h"

#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "ui/DialogLayout.h"

namespace kelvane {

CSelectionDlg::CSelectionDlg(QWidget* parent)
    : QDialog(parent), m_editStart(new QLineEdit("0")), m_editLength(new QLineEdit("0")) {
    setWindowTitle(tr("Selection..."));
    auto* grid = new QGridLayout;
    for (QLineEdit* edit : {m_editStart, m_editLength}) {
        edit->setValidator(new QDoubleValidator(edit));
        edit->setAlignment(Qt::AlignRight);
    }
    grid->addWidget(new QLabel(tr("&Start Position:")), 0, 0);
    grid->addWidget(m_editStart, 0, 1);
    grid->addWidget(new QLabel(tr("sample")), 0, 2);
    grid->addWidget(new QLabel(tr("&Length:")), 1, 0);
    grid->addWidget(m_editLength, 1, 1);
    grid->addWidget(new QLabel(tr("samples")), 1, 2);
    qobject_cast<QLabel*>(grid->itemAtPosition(0, 0)->widget())->setBuddy(m_editStart);
    qobject_cast<QLabel*>(grid->itemAtPosition(1, 0)->widget())->setBuddy(m_editLength);
    SetDialogLayout(*this, grid);
}

double CSelectionDlg::Start() const { return m_editStart->text().toDouble(); }

double CSelectionDlg::Length() const { return m_editLength->text().toDouble(); }

}  // namespace kelvane
