#pragma once
// Installs the application's texts: every compiled translation under ":/i18n"
// (one per area and language, named <area>_<language>.qm). For each area the
// file of the user's language is taken, else the English one.

#include <QLocale>
#include <QStringList>

class QOVATranslations {
public:
    // Returns the files installed.
    static QStringList installAll(const QLocale &locale = QLocale::system());
};
