#pragma once

class QLineEdit;

namespace kelvane {

// The range checks of number fields: on a bad entry a message, the field focused and selected,
// and false, so the dialog stays open.
bool ReadDouble(QLineEdit* edit, double low, double high, double& value);
bool ReadInt(QLineEdit* edit, int low, int high, int& value);

}  // namespace kelvane
