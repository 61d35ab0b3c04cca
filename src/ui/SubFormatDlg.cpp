#include "ui/SubFormatDlg.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "resources/Strings.h"
#include "ui/DialogLayout.h"

namespace kelvane {

CSubFormatDlg::CSubFormatDlg(std::uint32_t choice, QWidget* parent)
    : QDialog(parent),
      m_radios{new QRadioButton(tr("&Uncompressed")), new QRadioButton(tr("&Mu-Law")),
               new QRadioButton(tr("&A-Law"))} {
    setWindowTitle(QString::fromUtf8(LoadString(171)));
    auto* box = new QGroupBox(tr("Sub-Format"));
    auto* column = new QVBoxLayout(box);
    for (QRadioButton* radio : m_radios) column->addWidget(radio);
    m_radios[choice < m_radios.size() ? choice : 0]->setChecked(true);
    auto* controls = new QVBoxLayout;
    controls->addWidget(box);
    SetDialogLayout(*this, controls);
}

std::uint32_t CSubFormatDlg::Choice() const {
    for (std::uint32_t i = 0; i < m_radios.size(); ++i)
        if (m_radios[i]->isChecked()) return i;
    return 0;
}

}  // namespace kelvane
