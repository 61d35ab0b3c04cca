#pragma once

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

}  // namespace kelvane
