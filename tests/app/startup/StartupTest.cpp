// The real application binary on simulated devices, started and stopped from
// outside: a second start hands over to the first, signals quit through the
// normal shut-down, a bad backend name ends with a message, and what the
// simulated bus logs at start reaches the log.

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        env = QProcessEnvironment::systemEnvironment();
        env.insert("ORVALINDE_SIM_SOCKET", home.filePath("sim.socket"));
        env.insert("ORVALINDE_SIM_DEVICES", "orbrin:OR20240001,pirok:PK20240003");
        env.remove("ORVALINDE_BACKEND");
        env.insert("HOME", home.path());
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("XDG_RUNTIME_DIR", home.path());
    }

    void TearDown() override
    {
        for (QProcess *p : {&first, &second}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(10000);
            }
        }
    }

    void start(QProcess &p)
    {
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(APP_PATH), {});
        ASSERT_TRUE(p.waitForStarted(10000));
    }

    // Everything the log folder holds, in file order.
    QString log() const
    {
        QString text;
        const QDir dir(home.filePath("data/Zentaro\u00ae Orvalinde/logs"));
        for (const QString &name : dir.entryList({"*.log"}, QDir::Files, QDir::Name)) {
            QFile f(dir.filePath(name));
            if (f.open(QIODevice::ReadOnly))
                text += QString::fromUtf8(f.readAll());
        }
        return text;
    }

    // Waits (polling, the process runs on its own) until the log holds text.
    bool waitForLog(const QString &text, int ms = 60000) const
    {
        QDeadlineTimer deadline(ms);
        while (!log().contains(text)) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(20);
        }
        return true;
    }

    int simctl(const QStringList &args, QString *out = nullptr)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(SIMCTL_PATH), args);
        if (!p.waitForFinished(30000))
            return -1;
        if (out)
            *out = QString::fromUtf8(p.readAllStandardOutput());
        return p.exitCode();
    }

    QTemporaryDir home;
    QProcessEnvironment env;
    QProcess first;
    QProcess second;
};

} // namespace

TEST_F(StartupTest, ASecondStartBringsTheFirstToTheFrontAndEnds)
{
    start(first);
    ASSERT_TRUE(waitForLog("did finish launching")) << log().toStdString();

    start(second);
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(waitForLog("bringing the main window to the front"));

    // The first keeps its simulator socket and the log is its alone.
    EXPECT_EQ(first.state(), QProcess::Running);
    QString out;
    ASSERT_EQ(simctl({"list"}, &out), 0);
    EXPECT_EQ(out.split('\n', Qt::SkipEmptyParts).size(), 2) << out.toStdString();
    EXPECT_EQ(log().count("did finish launching"), 1);
    EXPECT_EQ(log().count("simulated bus: control socket"), 1);
}

TEST_F(StartupTest, TerminationSignalsQuitThroughTheShutDown)
{
    for (const int number : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(number);
        QDir(home.filePath("data")).removeRecursively();
        QProcess app;
        app.setProcessEnvironment(env);
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(QStringLiteral(APP_PATH), {});
        ASSERT_TRUE(app.waitForStarted(10000));
        ASSERT_TRUE(waitForLog("did finish launching")) << log().toStdString();
        ASSERT_TRUE(QFile::exists(home.filePath("orvalinde.socket")));

        ASSERT_EQ(::kill(pid_t(app.processId()), number), 0);
        ASSERT_TRUE(app.waitForFinished(60000));
        EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(app.exitCode(), 0);
        // Status 0 after a normal exit: the event loop ended and the
        // shut-down ran as after Quit, down to the instance socket's removal.
        EXPECT_FALSE(QFile::exists(home.filePath("orvalinde.socket")));
    }
}

TEST_F(StartupTest, AnUnknownBackendEndsWithAMessage)
{
    env.insert("ORVALINDE_BACKEND", "toaster");
    start(first);
    ASSERT_TRUE(first.waitForFinished(60000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(first.exitCode(), 0);
    const QString err = QString::fromUtf8(first.readAllStandardError());
    EXPECT_TRUE(err.contains("ORVALINDE_BACKEND") && err.contains("toaster")) << err.toStdString();
}
