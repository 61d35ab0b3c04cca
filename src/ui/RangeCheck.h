#pragma once

#include <QString>

class QLineEdit;

namespace kelvane {

// The range checks of number fields: on a bad entry a message, the field focused and selected,
// and false, so the dialog stays open.
bool ReadDouble(QLineEdit* edit, double low, double high, double& value);
bool ReadInt(QLineEdit* edit, int low, int high, int& value);

// The text a number field shows for a value: up to 15 significant digits (0.01 shows as
// "0.01", 100 as "100").
[[nodiscard]] QString DoubleText(double value);

}  // namespace kelvane
