// The real application started on simulated devices: the bus is filled from
// the environment and orvalinde-simctl changes it while the application runs.

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class SimAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        socket = QStringLiteral("orvalinde-simapp-%1").arg(getpid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ORVALINDE_SIM_SOCKET", socket);
        env.insert("ORVALINDE_SIM_DEVICES", "orbrin:OR20240001,vasko:VS20240002.01,pirok:PK20240003");
        env.remove("ORVALINDE_BACKEND");
        env.insert("HOME", home.path());
        env.insert("XDG_RUNTIME_DIR", home.path());
        app.setProcessEnvironment(env);
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(QStringLiteral(APP_PATH), {});
        ASSERT_TRUE(app.waitForStarted(10000));
    }

    void TearDown() override
    {
        app.kill();
        app.waitForFinished(10000);
    }

    int simctl(const QStringList &args, QString *out = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ORVALINDE_SIM_SOCKET", socket);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(SIMCTL_PATH), args);
        if (!p.waitForFinished(20000))
            return -1;
        if (out)
            *out = QString::fromUtf8(p.readAllStandardOutput());
        return p.exitCode();
    }

    QStringList list()
    {
        QString out;
        if (simctl({"list"}, &out) != 0)
            return {};
        return out.split('\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir home;
    QString socket;
    QProcess app;
};

} // namespace

TEST_F(SimAppTest, SimctlPlugsAndUnplugsWhileTheApplicationRuns)
{
    // The socket is up once the application has started.
    QDeadlineTimer deadline(20000);
    QStringList devices;
    while (devices.isEmpty() && !deadline.hasExpired()) {
        devices = list();
        if (devices.isEmpty())
            QThread::msleep(20);
    }
    ASSERT_EQ(devices.size(), 3) << devices.join('\n').toStdString();
    EXPECT_TRUE(devices[0].startsWith("orbrin OR20240001 run"));
    EXPECT_TRUE(devices[1].startsWith("vasko VS20240002.01 run"));
    EXPECT_TRUE(devices[2].startsWith("pirok PK20240003 run"));

    ASSERT_EQ(simctl({"plug", "pirok:PK9:dfu"}), 0);
    ASSERT_EQ(simctl({"unplug", "OR20240001"}), 0);
    devices = list();
    ASSERT_EQ(devices.size(), 3);
    EXPECT_TRUE(devices[2].startsWith("pirok PK9 dfu"));
    EXPECT_EQ(app.state(), QProcess::Running);
}
