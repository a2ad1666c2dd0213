// The control socket driven by the real orvalinde-simctl binary.

#include "SimTestHost.h"

#include "sim/SimBus.h"
#include "sim/SimControlServer.h"
#include "sim/dfu/SimDfuHandler.h"

#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace sim;
using namespace simtest;

namespace {

struct CtlResult {
    int exitCode = -1;
    QString out;
    QString err;
};

class SimControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bus = SimBus::create();
        server = std::make_unique<SimControlServer>(bus);
        name = QStringLiteral("orvalinde-simtest-%1-%2")
                   .arg(getpid())
                   .arg(QString::fromStdString(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        ASSERT_TRUE(server->listen(name));
    }

    // Runs the tool while this thread's event loop serves the socket.
    CtlResult simctl(const QStringList &args)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ORVALINDE_SIM_SOCKET", name);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(SIMCTL_PATH), args);
        bool done = false;
        QObject::connect(&process, &QProcess::finished, [&] { done = true; });
        QObject::connect(&process, &QProcess::errorOccurred, [&](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart)
                done = true;
        });
        waitUntil([&] { return done; }, 30000);
        CtlResult r;
        r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }

    std::shared_ptr<SimBus> bus;
    std::unique_ptr<SimControlServer> server;
    QString name;
};

} // namespace

TEST_F(SimControlTest, PlugListUnplug)
{
    CtlResult r = simctl({"plug", "orbrin:OR20240001", "vasko:VS20240002.01:dfu"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(bus->devices().size(), 2u);
    EXPECT_EQ(bus->device("VS20240002")->mode(), Mode::Dfu);
    EXPECT_EQ(bus->connections().size(), 2u);

    r = simctl({"list"});
    ASSERT_EQ(r.exitCode, 0);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("orbrin OR20240001 run "));
    EXPECT_TRUE(lines[1].startsWith("vasko VS20240002.01 dfu "));

    r = simctl({"unplug", "OR20240001"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(bus->devices().size(), 1u);
    EXPECT_FALSE(bus->device("OR20240001"));

    // A device waiting for its out-of-box set-up.
    r = simctl({"plug", "orbrin:OR8:oob"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_TRUE(bus->device("OR8"));
    EXPECT_TRUE(bus->device("OR8")->isSetupPending());
    EXPECT_EQ(bus->device("OR8")->mode(), Mode::Run);
    EXPECT_FALSE(bus->device("VS20240002")->isSetupPending());
    EXPECT_EQ(simctl({"plug", "orbrin:OR9:later"}).exitCode, 1);
}

TEST_F(SimControlTest, RefusalsAreReportedWithStatusOne)
{
    const std::vector<QStringList> bad = {
        {"unplug", "NOPE"},
        {"plug", "toaster:T1"},
        {"plug", "orbrin"},
        {"fault", "NOPE", "no-reply"},
        {"frobnicate"},
        {"plug", "orbrin:OR1"},        // already on the bus
        {"plug", "vasko:VS7.02"},      // the host would know it as VS7 too
        {"plug", "orbrin:VS7"},
        {"plug", "vasko:OR1.01"},
        {"event", "OD1", "wifi", "0"}, // in DFU mode a device raises no events
        {"event", "OD1", "remote", "1"},
        {"event", "OD1", "upgrade-notice"},
    };
    bus->plug(Family::Orbrin, "OR1");
    bus->plug(Family::Vasko, "VS7.01");
    bus->plug(Family::Orbrin, "OD1", Mode::Dfu);
    std::vector<QByteArray> reports;
    const int token = bus->subscribe([&](const SimBusEvent &e) {
        if (e.kind == SimBusEvent::InputReport)
            reports.push_back(e.report);
    });
    for (const QStringList &args : bad) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CtlResult r = simctl(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_FALSE(r.err.isEmpty());
    }
    bus->unsubscribe(token);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(bus->devices().size(), 3u);
    EXPECT_EQ(bus->device("VS7")->serialNumber(), QStringLiteral("VS7.01"));
}

TEST_F(SimControlTest, FaultsAndEvents)
{
    auto device = bus->plug(Family::Orbrin, "OR1");
    ASSERT_EQ(simctl({"fault", "OR1", "status", "500", "internal", "error"}).exitCode, 0);
    ASSERT_EQ(simctl({"fault", "OR1", "read-fail", "2"}).exitCode, 0);
    ASSERT_EQ(simctl({"fault", "OR1", "delay", "300"}).exitCode, 0);
    ASSERT_EQ(simctl({"fault", "OR1", "no-reply"}).exitCode, 0);
    SimFaults f = device->faults();
    EXPECT_EQ(f.statusCode, 500);
    EXPECT_EQ(f.statusString, QString("internal error"));
    EXPECT_EQ(f.readFailAt, 2);
    EXPECT_EQ(f.replyDelayMs, 300);
    EXPECT_TRUE(f.noReply);
    // The firmware-download faults need the device's DFU side.
    EXPECT_EQ(simctl({"fault", "OR1", "dfu-reset-on-final-block"}).exitCode, 1);
    auto dfu = attachSimDfu(device);
    ASSERT_EQ(simctl({"fault", "OR1", "dfu-reset-on-final-block"}).exitCode, 0);
    ASSERT_EQ(simctl({"fault", "OR1", "dfu-keep-old-firmware"}).exitCode, 0);
    ASSERT_EQ(simctl({"fault", "OR1", "dfu-hang-on-final-block"}).exitCode, 0);
    EXPECT_TRUE(dfu->config().resetOnFinalBlock);
    EXPECT_TRUE(dfu->config().keepOldFirmware);
    EXPECT_TRUE(dfu->config().hangAfterFinalBlock);
    ASSERT_EQ(simctl({"fault", "OR1", "clear"}).exitCode, 0);
    EXPECT_FALSE(device->faults().noReply);
    EXPECT_FALSE(dfu->config().resetOnFinalBlock);
    EXPECT_FALSE(dfu->config().keepOldFirmware);
    EXPECT_FALSE(dfu->config().hangAfterFinalBlock);

    std::vector<QByteArray> reports;
    const int token = bus->subscribe([&](const SimBusEvent &e) {
        if (e.kind == SimBusEvent::InputReport)
            reports.push_back(e.report);
    });
    EXPECT_EQ(simctl({"event", "OR1", "wifi", "4"}).exitCode, 0);
    EXPECT_EQ(simctl({"event", "OR1", "remote", "3"}).exitCode, 0);
    EXPECT_EQ(simctl({"event", "OR1", "upgrade-notice"}).exitCode, 0);
    bus->unsubscribe(token);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0], QByteArray("\x09\x02\x04\x00", 4));
    EXPECT_EQ(reports[1], QByteArray("\x09\x03\x03\x00", 4));
    EXPECT_EQ(reports[2], QByteArray("\x09\x01\x01\x00", 4));
}

TEST_F(SimControlTest, HelpDescribesTheProtocol)
{
    const CtlResult r = simctl({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("JSON array of strings"));
    EXPECT_TRUE(r.out.contains("read-fail K"));
    EXPECT_TRUE(r.out.contains("dfu-hang-on-final-block"));
}

TEST_F(SimControlTest, ALiveServerKeepsItsSocket)
{
    // A second server on the same name is refused and the first still
    // answers; once the first has gone, the name can be taken.
    auto second = std::make_unique<SimControlServer>(SimBus::create());
    QString error;
    EXPECT_FALSE(second->listen(name, &error));
    EXPECT_TRUE(error.contains(name)) << error.toStdString();
    ASSERT_EQ(simctl({"plug", "orbrin:OR7"}).exitCode, 0);
    EXPECT_TRUE(bus->device("OR7"));

    server.reset();
    EXPECT_TRUE(second->listen(name, &error)) << error.toStdString();
}
