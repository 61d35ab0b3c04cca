#pragma once

#include <QBrush>

namespace kelvane {

// The empty document area: our background picture, tiled from the top-left corner.
[[nodiscard]] QBrush MdiBackgroundBrush();

}  // namespace kelvane
