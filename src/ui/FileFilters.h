#pragma once

#include <QStringList>
#include <cstdint>

namespace kelvane {

// A filter string of the table ("Name (*.a, *.b)|*.a; *.b|...||") as the file dialog takes
// it: "Name (*.a *.b)", one entry a filter.
[[nodiscard]] QStringList NameFilters(std::uint32_t stringId);

}  // namespace kelvane
