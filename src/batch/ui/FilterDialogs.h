#pragma once

#include <QDialog>

#include "processing/EffectSettings.h"

namespace kelvane {

// Runs filter `filter`'s settings dialog on its private settings place, with `parent` as the
// dialog's parent: QDialog::Accepted once the dialog wrote its settings, QDialog::Rejected
// when the user cancelled. A filter without a settings dialog is accepted at once.
int RunFilterDialog(int filter, const SettingsPlace& place, QWidget* parent);

// Whether filter `filter` has a settings dialog to show when it is added to a chain.
[[nodiscard]] bool HasFilterDialog(int filter);

}  // namespace kelvane
