#pragma once

#include <QLocale>
#include <QStringList>

namespace kelvane {

// Shows the editor in the language of `locale`: installs its translation, found as
// kelvane_LANG.qm in the first of `folders` that has one, and Qt's own for the standard
// buttons, and sends the string table through them. Call before the first text is shown.
// False when there is no translation for that language: the English texts stay.
bool LoadTranslations(const QLocale& locale, const QStringList& folders);

}  // namespace kelvane
