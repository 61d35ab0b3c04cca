#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QLayout>
#include <QVBoxLayout>

namespace kelvane {

// The layout every settings dialog shares: its controls above an OK/Cancel row, a fixed size.
inline QDialogButtonBox* SetDialogLayout(QDialog& dialog, QLayout* controls,
                                         QDialogButtonBox::StandardButtons buttons =
                                             QDialogButtonBox::Ok | QDialogButtonBox::Cancel) {
    auto* box = new QDialogButtonBox(buttons);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* outer = new QVBoxLayout(&dialog);
    outer->addLayout(controls);
    outer->addSpacing(6);
    outer->addWidget(box);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    return box;
}

}  // namespace kelvane
