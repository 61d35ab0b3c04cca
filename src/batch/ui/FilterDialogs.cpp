#include "batch/ui/FilterDialogs.h"

#include "batch/BatchFilters.h"
#include "processing/dialogs/ChangePitchDlg.h"
#include "processing/dialogs/ChorusDlg.h"
#include "processing/dialogs/CompressExpandDlg.h"
#include "processing/dialogs/EchoDlg.h"
#include "processing/dialogs/VolumeDlg.h"
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

// Filter number -> its settings dialog; null for the filters without settings.
constexpr FilterDialogFn kFilterDialogs[kBatchFilterCount] = {
    nullptr,                                // 0 "Center Signals"
    RunSettingsDialog<CWaveFormatDlg>,      // 1 "Convert Format"
    [](const SettingsPlace& place, QWidget* parent) {
        // The batch mode of the volume dialog: both channels, whatever the files hold.
        CVolumeDlg dialog(true, place, parent);
        return RunModal(dialog);
    },                                      // 2 "Adjust Volume"
    nullptr,                                // 3 "Swap Channels"
    nullptr,                                // 4 "Reverse"
    nullptr,                                // 5 "Normalize"
    RunSettingsDialog<CEchoDlg>,            // 6 "Add Echo"
    RunSettingsDialog<CChangePitchDlg>,     // 7 "Change Pitch"
    RunSettingsDialog<CChorusDlg>,          // 8 "Add Chorus"
    [](const SettingsPlace& place, QWidget* parent) {
        // No sound yet: the length labels have nothing to show.
        CCompressExpandDlg dialog(place, 0, parent);
        return RunModal(dialog);
    },  // 9 "Compress/Expand Length"
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
