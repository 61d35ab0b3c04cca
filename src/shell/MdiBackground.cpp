#include "shell/MdiBackground.h"

#include <QPixmap>

namespace kelvane {

QBrush MdiBackgroundBrush() {
    const QPixmap tile(":/art/background.png");
    return tile.isNull() ? QBrush(QColor(0x5a, 0x5f, 0x66)) : QBrush(tile);
}

}  // namespace kelvane
