#include "ui/RangeCheck.h"

#include <QCoreApplication>
#include <QLineEdit>

#include "ui/DialogHost.h"

namespace kelvane {

namespace {

bool Refuse(QLineEdit* edit, const QString& text) {
    MessageBox(text, QMessageBox::Ok, QMessageBox::Warning);
    edit->setFocus();
    edit->selectAll();
    return false;
}

}  // namespace

bool ReadDouble(QLineEdit* edit, double low, double high, double& value) {
    bool ok = false;
    const double v = edit->text().trimmed().toDouble(&ok);
    if (!ok)
        return Refuse(edit,
                      QCoreApplication::translate("kelvane::RangeCheck", "Please enter a number."));
    if (v < low || v > high)
        return Refuse(edit, QCoreApplication::translate("kelvane::RangeCheck",
                                                        "Please enter a number between %1 and %2.")
                                .arg(low, 0, 'g', 15)
                                .arg(high, 0, 'g', 15));
    value = v;
    return true;
}

bool ReadInt(QLineEdit* edit, int low, int high, int& value) {
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    if (!ok)
        return Refuse(
            edit, QCoreApplication::translate("kelvane::RangeCheck", "Please enter an integer."));
    if (v < low || v > high)
        return Refuse(edit, QCoreApplication::translate(
                                "kelvane::RangeCheck", "Please enter an integer between %1 and %2.")
                                .arg(low)
                                .arg(high));
    value = v;
    return true;
}

QString DoubleText(double value) {
    return QString::asprintf("%.15g", value);
}

}  // namespace kelvane
