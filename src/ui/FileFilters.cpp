#include "ui/FileFilters.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>

#include "platform/profile/Profile.h"
#include "resources/Strings.h"

namespace kelvane {

void ShowWholeColumns(QFileDialog& dialog) {
    auto* list = dialog.findChild<QTreeView*>("treeView");
    if (!list) return;
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
}

bool UsesDesktopChooser(const QString& flatpakInfo) {
    const bool sandboxed = QFileInfo::exists(flatpakInfo) || qEnvironmentVariableIsSet("FLATPAK_ID") ||
                           qEnvironmentVariableIsSet("SNAP");
    return sandboxed || GetProfileInt(kFileDialogsSection, kDesktopChooserKey, 0) != 0;
}

QStringList NameFilters(std::uint32_t stringId) {
    const QStringList parts = QString::fromUtf8(LoadString(stringId)).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        QString name = parts[i];
        const qsizetype paren = name.lastIndexOf(" (");
        if (paren > 0 && name.endsWith(')')) name.truncate(paren);
        filters.append(QString("%1 (%2)").arg(name, QString(parts[i + 1]).replace(';', ' ')));
    }
    return filters;
}

}  // namespace kelvane
