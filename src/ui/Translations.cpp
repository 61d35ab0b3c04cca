#include "ui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>
#include <string>

#include "resources/Strings.h"

namespace kelvane {

namespace {

std::string TranslateString(const char* english) {
    return QCoreApplication::translate("Strings", english).toStdString();
}

// The translator belongs to the application, which outlives every window.
bool Install(const QLocale& locale, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, "_", folder) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

}  // namespace

bool LoadTranslations(const QLocale& locale, const QStringList& folders) {
    if (std::none_of(folders.begin(), folders.end(),
                     [&](const QString& folder) { return Install(locale, "kelvane", folder); }))
        return false;
    Install(locale, "qtbase", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    SetStringTranslator(TranslateString);
    return true;
}

}  // namespace kelvane
