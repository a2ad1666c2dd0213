#pragma once
// The Linux workspace: applications are executables. An application is
// installed when a running process or an executable on PATH carries its name
// (compared without case and blanks: "Skype for Business" matches
// "skypeforbusiness"); its identifier is the executable's path; its instances
// are the processes running that executable (from /proc); quitting sends
// SIGTERM.

#include "QOVAWorkspace.h"

class QOVAProcWorkspace : public QOVAWorkspace {
public:
    explicit QOVAProcWorkspace(QString procRoot = QStringLiteral("/proc"));

    QString bundleIdentifierForApplication(const QString &name) override;
    QList<QOVARunningApplication>
    runningApplicationsWithBundleIdentifier(const QString &bundleIdentifier) override;
    bool terminate(const QOVARunningApplication &application) override;

    static QString normalisedName(const QString &name);

private:
    QString m_procRoot;
};
