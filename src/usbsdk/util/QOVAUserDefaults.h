#pragma once
// The application's user defaults. Without an organisation name QSettings()
// cannot store anything, so the application's own folder name stands in for
// it.

#include <QCoreApplication>
#include <QSettings>
#include <QString>

#include <memory>

inline std::unique_ptr<QSettings> qova_user_defaults()
{
    if (!QCoreApplication::organizationName().isEmpty())
        return std::make_unique<QSettings>();
    QString application = QCoreApplication::applicationName();
    if (application.isEmpty())
        application = QStringLiteral("Orvalinde");
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Zentaro® Orvalinde"), application);
}
