#include "QOVATranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QTranslator>

QStringList QOVATranslations::installAll(const QLocale &locale)
{
    // area -> language -> resource path
    QMap<QString, QMap<QString, QString>> files;
    const QDir dir(QStringLiteral(":/i18n"));
    for (const QString &name : dir.entryList({QStringLiteral("*.qm")}, QDir::Files, QDir::Name)) {
        const QString base = name.chopped(3);
        const int cut = base.lastIndexOf(QLatin1Char('_'));
        const QString area = cut > 0 ? base.left(cut) : base;
        const QString language = cut > 0 ? base.mid(cut + 1) : QString();
        files[area][language] = dir.filePath(name);
    }

    const QString wanted = QLocale::languageToCode(locale.language());
    QStringList installed;
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QString path = it.value().value(wanted);
        if (path.isEmpty())
            path = it.value().value(QStringLiteral("en"));
        if (path.isEmpty())
            path = it.value().first();
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(path) && QCoreApplication::installTranslator(translator)) {
            installed << path;
        } else {
            delete translator;
        }
    }
    return installed;
}
