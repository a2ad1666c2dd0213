#pragma once
// What the application needs of the desktop's list of applications: find an
// installed application by name, its running instances, and ask one politely
// to quit. The process-wide instance can be replaced (tests use a fake).

#include <QList>
#include <QString>

#include <memory>

struct QOVARunningApplication {
    qint64 processIdentifier = 0;
    QString bundleIdentifier;
};

class QOVAWorkspace {
public:
    virtual ~QOVAWorkspace() = default;

    // The identifier of the installed application of that name, or an empty
    // text when it is not installed.
    virtual QString bundleIdentifierForApplication(const QString &name) = 0;
    virtual QList<QOVARunningApplication>
    runningApplicationsWithBundleIdentifier(const QString &bundleIdentifier) = 0;
    // A polite quit request (not a kill). True when it was delivered.
    virtual bool terminate(const QOVARunningApplication &application) = 0;

    static QOVAWorkspace *sharedWorkspace();
    static void setSharedWorkspace(std::shared_ptr<QOVAWorkspace> workspace);
};
