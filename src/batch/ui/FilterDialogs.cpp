#include "batch/ui/FilterDialogs.h"

#include "batch/BatchFilters.h"
#include "processing/dialogs/WaveFormatDlg.h"
#include "ui/DialogHost.h"

namespace kelvane {

namespace {

using FilterDialogFn = int (*)(const SettingsPlace& place, QWidget* parent);

// The effect dialogs take their settings place and parent, and write the place on OK.
template <typename Dialog>
int RunSettingsDialog(const SettingsPlace& place, QWidget* parent) {
    Dialog dialog(place, parent);
    return RunModal(dialog);
}

// Filter number -> its settings dialog. Null for the filters without settings (0, 3, 4, 5)
// and, for now, for those whose dialog is not written yet: those run on their defaults.
constexpr FilterDialogFn kFilterDialogs[kBatchFilterCount] = {
    nullptr,                            // 0 "Center Signals"
    RunSettingsDialog<CWaveFormatDlg>,  // 1 "Convert Format"
    nullptr,                            // 2 "Adjust Volume": the volume dialog in its batch mode
    nullptr,                            // 3 "Swap Channels"
    nullptr,                            // 4 "Reverse"
    nullptr,                            // 5 "Normalize"
    nullptr,                            // 6 "Add Echo"
    nullptr,                            // 7 "Change Pitch"
    nullptr,                            // 8 "Add Chorus"
    nullptr,                            // 9 "Compress/Expand Length"
};

}  // namespace

bool HasFilterDialog(int filter) {
    return filter >= 0 && filter < kBatchFilterCount && kFilterDialogs[filter] != nullptr;
}

int RunFilterDialog(int filter, const SettingsPlace& place, QWidget* parent) {
    if (!HasFilterDialog(filter)) return QDialog::Accepted;
    return kFilterDialogs[filter](place, parent);
}

}  // namespace kelvane
