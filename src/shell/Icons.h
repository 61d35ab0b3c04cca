#pragma once

#include <QIcon>

namespace kelvane {

struct Command;

// The icon of a command (its toolbar button and menu item); empty when it has none.
[[nodiscard]] QIcon CommandIcon(const Command& command);
[[nodiscard]] QIcon AppIcon();

}  // namespace kelvane
