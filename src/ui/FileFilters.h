#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class QFileDialog;

namespace kelvane {

// The detail list of a non-native file dialog with its size, type and date columns wide
// enough for their texts and the names taking the rest.
void ShowWholeColumns(QFileDialog& dialog);

// A filter string of the table ("Name (*.a, *.b)|*.a; *.b|...||") as the file dialog takes
// it: "Name (*.a *.b)", one entry a filter.
[[nodiscard]] QStringList NameFilters(std::uint32_t stringId);

// The profile key that asks for the desktop's file chooser outside a sandbox too.
inline constexpr char kFileDialogsSection[] = "FILEDIALOGS";
inline constexpr char kDesktopChooserKey[] = "DESKTOP";

// Whether Open and Save As use the desktop's own file chooser (Qt's native dialog, which goes
// through the desktop's file chooser portal) with their choices in a panel of their own:
// inside a Flatpak or Snap sandbox only the portal can hand out the user's files, and
// [FILEDIALOGS] DESKTOP=1 in the settings asks for it anywhere. `flatpakInfo` is the file
// Flatpak puts in every sandbox.
[[nodiscard]] bool UsesDesktopChooser(const QString& flatpakInfo = QStringLiteral("/.flatpak-info"));

}  // namespace kelvane
