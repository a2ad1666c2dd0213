#include "QOVAProcWorkspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <signal.h>

QOVAProcWorkspace::QOVAProcWorkspace(QString procRoot)
    : m_procRoot(std::move(procRoot))
{
}

QString QOVAProcWorkspace::normalisedName(const QString &name)
{
    QString out;
    for (QChar c : name) {
        if (!c.isSpace())
            out += c.toLower();
    }
    return out;
}

namespace {

struct ProcEntry {
    qint64 pid;
    QString command;  // comm
    QString exe;      // resolved executable path, may be empty
};

QList<ProcEntry> processes(const QString &root)
{
    QList<ProcEntry> out;
    const QStringList entries = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok || pid <= 0)
            continue;
        ProcEntry p{pid, {}, {}};
        QFile comm(root + u'/' + entry + QStringLiteral("/comm"));
        if (comm.open(QIODevice::ReadOnly))
            p.command = QString::fromUtf8(comm.readAll()).trimmed();
        p.exe = QFileInfo(root + u'/' + entry + QStringLiteral("/exe")).symLinkTarget();
        out.append(p);
    }
    return out;
}

} // namespace

QString QOVAProcWorkspace::bundleIdentifierForApplication(const QString &name)
{
    const QString wanted = normalisedName(name);
    if (wanted.isEmpty())
        return {};
    for (const ProcEntry &p : processes(m_procRoot)) {
        const QString exeName = normalisedName(QFileInfo(p.exe).fileName());
        if (!p.exe.isEmpty() && (exeName == wanted || normalisedName(p.command) == wanted))
            return p.exe;
    }
    const QString onPath = QStandardPaths::findExecutable(wanted);
    return onPath;
}

QList<QOVARunningApplication>
QOVAProcWorkspace::runningApplicationsWithBundleIdentifier(const QString &bundleIdentifier)
{
    QList<QOVARunningApplication> out;
    if (bundleIdentifier.isEmpty())
        return out;
    for (const ProcEntry &p : processes(m_procRoot)) {
        if (p.exe == bundleIdentifier)
            out.append({p.pid, bundleIdentifier});
    }
    return out;
}

bool QOVAProcWorkspace::terminate(const QOVARunningApplication &application)
{
    if (application.processIdentifier <= 0)
        return false;
    return ::kill(pid_t(application.processIdentifier), SIGTERM) == 0;
}
