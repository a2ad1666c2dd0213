// The real application started on simulated devices: the bus is filled from
// the environment and orvalinde-simctl changes it while the application runs.

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
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
        env.insert("XDG_DATA_HOME", home.filePath("data"));
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

// Lines the application writes through Qt's message functions (the arrival
// of a device, the small camera's construction) are log lines: they reach
// the log file with the header of every other line.
TEST_F(SimAppTest, QtMessageLinesReachTheLogFile)
{
    const QString path = home.filePath(QStringLiteral("data/Zentaro\u00ae Orvalinde/logs/Zentaro\u00ae Orvalinde0.log"));
    const QStringList wanted = {
        QStringLiteral("[INFO]   [HID]         Init the Device for QOVASkarnfelDevice"),
        QStringLiteral("[INFO]   [UI]          received device match notification:"),
    };
    static const QRegularExpression header(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{13}   \\[PID:\\d+\\]\\[TID:\\d+\\] $"));
    QDeadlineTimer deadline(30000);
    QStringList missing = wanted;
    QString text;
    while (!missing.isEmpty() && !deadline.hasExpired()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            text = QString::fromUtf8(file.readAll());
        missing.clear();
        for (const QString &line : wanted) {
            const qsizetype at = text.indexOf(line);
            const qsizetype start = at < 0 ? -1 : text.lastIndexOf(QLatin1Char('\n'), at) + 1;
            if (at < 0 || !header.match(text.mid(start, at - start)).hasMatch())
                missing << line;
        }
        if (!missing.isEmpty())
            QThread::msleep(20);
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join('\n').toStdString() << "\nin\n" << text.toStdString();
}
