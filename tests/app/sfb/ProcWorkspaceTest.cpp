#include "sfb/QOVAProcWorkspace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void addProcess(const QString &root, int pid, const QString &comm, const QString &exe)
{
    const QString dir = root + QStringLiteral("/%1").arg(pid);
    QDir().mkpath(dir);
    QFile f(dir + QStringLiteral("/comm"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(comm.toUtf8() + '\n');
    f.close();
    QFile::link(exe, dir + QStringLiteral("/exe"));
}

} // namespace

TEST(ProcWorkspace, FindsTheClientByNameAndItsInstances)
{
    QTemporaryDir root;
    addProcess(root.path(), 10, QStringLiteral("bash"), QStringLiteral("/usr/bin/bash"));
    addProcess(root.path(), 20, QStringLiteral("skypeforbusin"), QStringLiteral("/opt/c/SkypeForBusiness"));
    addProcess(root.path(), 21, QStringLiteral("skypeforbusin"), QStringLiteral("/opt/c/SkypeForBusiness"));

    QOVAProcWorkspace workspace(root.path());
    const QString id = workspace.bundleIdentifierForApplication(QStringLiteral("Skype for Business"));
    EXPECT_EQ(id, QStringLiteral("/opt/c/SkypeForBusiness"));
    const auto running = workspace.runningApplicationsWithBundleIdentifier(id);
    ASSERT_EQ(running.size(), 2);
    EXPECT_EQ(running[0].processIdentifier + running[1].processIdentifier, 41);
}

TEST(ProcWorkspace, FindsNothingWhereTheClientDoesNotExist)
{
    QTemporaryDir root;
    addProcess(root.path(), 10, QStringLiteral("bash"), QStringLiteral("/usr/bin/bash"));
    QOVAProcWorkspace workspace(root.path());
    EXPECT_TRUE(workspace.bundleIdentifierForApplication(QStringLiteral("Skype for Business")).isEmpty());
    EXPECT_TRUE(workspace.runningApplicationsWithBundleIdentifier(QString()).isEmpty());
    EXPECT_FALSE(workspace.terminate({0, QString()}));
}
