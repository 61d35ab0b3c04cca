#include "shell/Icons.h"

#include "shell/CommandTable.h"

namespace kelvane {

QIcon CommandIcon(const Command& command) {
    if (!command.icon) return {};
    return QIcon(QString(":/icons/%1.svg").arg(command.icon));
}

QIcon AppIcon() { return QIcon(":/art/kelvane.svg"); }

}  // namespace kelvane
