#include "ui/RawDataFormatDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "ui/DialogLayout.h"

namespace kelvane {

QStringList RawDataFormatNames() {
    QStringList names;
    for (const char* name : kRawDataFormats) names.append(CRawDataFormatDlg::tr(name));
    return names;
}

CRawDataFormatDlg::CRawDataFormatDlg(int position, QWidget* parent)
    : QDialog(parent), m_listFormat(new QListWidget) {
    setWindowTitle(tr("Raw File Format"));
    m_listFormat->addItems(RawDataFormatNames());
    m_listFormat->setCurrentRow(position, QItemSelectionModel::ClearAndSelect);
    const int rows = m_listFormat->count();
    // A few pixels more than the rows: the last one would touch the frame.
    m_listFormat->setFixedHeight(m_listFormat->sizeHintForRow(0) * rows +
                                 2 * m_listFormat->frameWidth() + 4);
    m_listFormat->setMinimumWidth(m_listFormat->sizeHintForColumn(0) + 24);
    auto* label = new QLabel(tr("&Data Format:"));
    label->setBuddy(m_listFormat);
    auto* controls = new QVBoxLayout;
    controls->addWidget(label);
    controls->addWidget(m_listFormat);
    SetDialogLayout(*this, controls);
}

int CRawDataFormatDlg::Position() const {
    const auto selected = m_listFormat->selectedItems();
    return selected.isEmpty() ? -1 : m_listFormat->row(selected.front());
}

}  // namespace kelvane
