// The exchange against a simulated Orbrin on the simulated bus: the HID
// manager runs on its own discovery thread, as in the application.
#include "QOVAError.h"
#include "QOVANotificationCenter.h"
#include "QOVAUSBDeviceHIDInterface.h"
#include "log/log.h"
#include "platform/ThreadHop.h"
#include "platform/TimeScale.h"
#include "sim/SimBackend.h"
#include "sim/SimBus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

template <class Pred>
bool waitUntil(Pred pred, int ms = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

class Answers : public sim::SimRequestHandler {
public:
    sim::SimReply handleRequest(sim::SimDeviceHost &, const QJsonObject &head, const QByteArray &,
                                int) override
    {
        sim::SimReply reply;
        reply.body = "reply to " + head.value("url").toString().toUtf8();
        return reply;
    }
};

class ExchangeSimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedScale = platform::timeScale();
        platform::setTimeScale(0.001);
        // Replies come within a few scaled seconds here, however loaded the
        // machine; the time-out test shortens the wait again.
        QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(5000);
        logFolder = logDir.path().toStdString();
        log_set_folder(logFolder.c_str());
        log_start();

        bus = sim::SimBus::create();
        backend = std::make_shared<sim::SimBackend>(bus);
        discovery.start();
        context.moveToThread(&discovery);
        platform::runOn(&context, [this] {
            manager = backend->createHidManager();
            manager->setCallbacks(
                [this](const platform::HidDeviceRef &d) { std::atomic_store(&matched, d); },
                [](const platform::HidDeviceRef &) {});
            manager->open();
        });
        device = bus->plug(sim::Family::Orbrin, "OR20240001");
        device->setRequestHandler(std::make_shared<Answers>());
        ASSERT_TRUE(waitUntil([this] { return std::atomic_load(&matched) != nullptr; }));
        iface = std::make_unique<QOVAUSBDeviceHIDInterface>(nullptr, std::atomic_load(&matched));
    }
    void TearDown() override
    {
        iface.reset();
        platform::runOn(&context, [this] { manager.reset(); });
        discovery.quit();
        discovery.wait();
        log_stop();
        log_set_folder(nullptr);
        platform::setTimeScale(savedScale);
        QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(0);
    }

    QByteArray logText() const
    {
        QFile f(logDir.path() + QString::fromUtf8("/Zentaro\xC2\xAE Orvalinde0.log"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    struct Result {
        int calls = 0;
        QString failure;
        QByteArray bytes;
        bool onMain = false;
    };
    void get(const QString &id, const QString &url, Result &r)
    {
        iface->getInformationFromUSBDevice(
            "NSData", QJsonObject{{"msg_id", id}, {"url", url}, {"type", "GET"}},
            [&r](const QOVAReplyObject &o) {
                ++r.calls;
                r.bytes = std::get<QByteArray>(o);
                r.onMain = QThread::currentThread() == qApp->thread();
            },
            [&r](const QString &text) {
                ++r.calls;
                r.failure = text;
                r.onMain = QThread::currentThread() == qApp->thread();
            });
    }

    void put(const QString &id, const QString &url, Result &r)
    {
        iface->putInformationToUSBDevice(
            QJsonObject{{"msg_id", id}, {"url", url}, {"type", "PUT"}}, QJsonObject{{"a", 1}},
            [&r](const QString &text) {
                ++r.calls;
                r.bytes = text.toUtf8();
                r.onMain = QThread::currentThread() == qApp->thread();
            },
            [&r](const QString &text) {
                ++r.calls;
                r.failure = text;
                r.onMain = QThread::currentThread() == qApp->thread();
            });
    }

    double savedScale = 1;
    QTemporaryDir logDir;
    std::string logFolder;
    std::shared_ptr<sim::SimBus> bus;
    std::shared_ptr<sim::SimBackend> backend;
    QThread discovery;
    QObject context;
    std::unique_ptr<platform::HidManager> manager;
    platform::HidDeviceRef matched;  // set on the discovery thread
    std::shared_ptr<sim::SimDevice> device;
    std::unique_ptr<QOVAUSBDeviceHIDInterface> iface;
};

TEST_F(ExchangeSimTest, GetToASimulatedOrbrinWithItsLogLines)
{
    Result r;
    get("3", "device_info", r);
    ASSERT_TRUE(waitUntil([&] { return r.calls > 0; }));
    EXPECT_TRUE(r.onMain);
    EXPECT_EQ(r.bytes, "reply to device_info");

    const QString path = logDir.path() + QString::fromUtf8("/Zentaro\xC2\xAE Orvalinde0.log");
    QByteArray text;
    ASSERT_TRUE(waitUntil([&] {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            text = f.readAll();
        return text.contains("The jsonHeadString is");
    }));
    for (const char *line :
         {"[INFO]   [HID]         GET Information From Orbrin,The msg_id is 3, the msg_url is "
          "device_info\n",
          "[INFO]   [HID]         Can Set Report Success!\n",
          "[INFO]   [HID]         Response is available!\n",
          "[INFO]   [HID]         Can Get Response Success!\n"})
        EXPECT_TRUE(text.contains(line)) << line;
}

TEST_F(ExchangeSimTest, DeviceFaults)
{
    const QString error5 = QOVAError::errorGetResponseFailure().localizedDescription();
    struct Case {
        const char *name;
        const char *msgID;
        std::function<void(sim::SimFaults &)> fault;
        QString failure;  // empty: any text other than error 5's
    };
    const Case cases[] = {
        {"status 400 to a login", "17",
         [](sim::SimFaults &f) { f.statusCode = 400; f.statusString = "Locked out"; },
         "Locked out"},
        {"status 400 to a certificate", "46", [](sim::SimFaults &f) { f.statusCode = 400; },
         "Reject"},
        {"another message id", "5",
         [](sim::SimFaults &f) { f.headOverrides["msg_id"] = 64; },
         QOVAError::errorMessageIDNotMatch().localizedDescription()},
        {"head without diag_info", "5",
         [](sim::SimFaults &f) { f.headRemovals << "diag_info"; }, QString()},
        {"head not UTF-8", "5", [](sim::SimFaults &f) { f.rawHead = QByteArray("{\"\xC0\"}"); },
         error5},
        {"failing read", "5", [](sim::SimFaults &f) { f.readFailAt = 0; }, error5},
        {"absurd lengths", "5",
         [](sim::SimFaults &f) { f.firstFrameBodyLength = 0xFFFFFFF0u; }, error5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimFaults faults;
        c.fault(faults);
        device->setFaults(faults);
        Result r;
        get(c.msgID, "x", r);
        ASSERT_TRUE(waitUntil([&] { return r.calls > 0; }));
        if (c.failure.isEmpty()) {
            EXPECT_FALSE(r.failure.isEmpty());
            EXPECT_NE(r.failure, error5);
        } else {
            EXPECT_EQ(r.failure, c.failure);
        }
        device->clearFaults();
    }
}

// A device that does not answer: every request ends in the over-time
// failure once it has waited its time (an ordinary one 10 s, a log fetch
// 60 s, scaled), exactly once, and a reply that comes later is dropped.
TEST_F(ExchangeSimTest, EveryRequestEndsInItsTimeAndALateReplyIsDropped)
{
    const QString overtime = QOVAError::errorResponseOvertime().localizedDescription();
    platform::setTimeScale(0.01);

    // A reply for another message id fails the request at once; its time
    // running out later does not fail it again.
    sim::SimFaults otherID;
    otherID.headOverrides["msg_id"] = 64;
    device->setFaults(otherID);
    Result mismatched;
    get("5", "device_info", mismatched);
    ASSERT_TRUE(waitUntil([&] { return mismatched.calls > 0; }));
    EXPECT_EQ(mismatched.failure, QOVAError::errorMessageIDNotMatch().localizedDescription());

    // Silent from here on; an ordinary request waits its 10 s (100 ms).
    sim::SimFaults silent;
    silent.noReply = true;
    device->setFaults(silent);
    QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(QOVAUSBDeviceHIDInterface::kDefaultReplyWait);
    Result info, name, log;
    get("3", "device_info", info);
    put("30", "device_name", name);
    get("11", "system_log", log);
    ASSERT_TRUE(waitUntil([&] { return info.calls > 0 && name.calls > 0; }));
    for (const Result *r : {&info, &name}) {
        EXPECT_EQ(r->failure, overtime);
        EXPECT_TRUE(r->onMain);
    }
    EXPECT_EQ(log.calls, 0);   // waits longer
    ASSERT_TRUE(waitUntil([&] { return log.calls > 0; }));
    EXPECT_EQ(log.failure, overtime);
    // The fetch's own over-timer has fired too, and failed nothing more.
    ASSERT_TRUE(waitUntil([&] { return logText().contains("Orbrin HID Interface Overtime!"); }));
    QCoreApplication::processEvents();
    for (const Result *r : {&mismatched, &info, &name, &log})
        EXPECT_EQ(r->calls, 1);

    // A reply that comes after the request gave up finds no handler.
    sim::SimFaults late;
    late.replyDelayMs = int(2000 * QOVAUSBDeviceHIDInterface::kDefaultReplyWait);
    device->setFaults(late);
    Result slow;
    get("7", "device_info", slow);
    ASSERT_TRUE(waitUntil([&] { return slow.calls > 0; }));
    EXPECT_EQ(slow.failure, overtime);
    ASSERT_TRUE(waitUntil([&] { return logText().contains("Have not this Handler, should quit this handle!"); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(slow.calls, 1);
    EXPECT_TRUE(slow.bytes.isEmpty());

    // The channel goes on as before.
    device->clearFaults();
    QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(5000);
    Result next;
    get("8", "device_info", next);
    ASSERT_TRUE(waitUntil([&] { return next.calls > 0; }));
    EXPECT_EQ(next.bytes, "reply to device_info");
}

TEST_F(ExchangeSimTest, WiFiEvents)
{
    QObject observer;
    QStringList seen;
    for (const char *name : {"QOVAWiFiConnectedInformation", "QOVAWiFiDisconnectedInformation",
                             "QOVAWiFiConnectingInformation", "QOVAWiFiEnableInformation",
                             "QOVAWifiDisableInformation"})
        QOVANotificationCenter::defaultCenter().addObserver(
            name, &observer, [&](const QOVANotification &n) { seen << n.name; });
    device->raiseInputReport(2, 3);   // posts nothing
    device->raiseInputReport(2, 5);
    ASSERT_TRUE(waitUntil([&] { return !seen.isEmpty(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, QStringList{"QOVAWifiDisableInformation"});
}

} // namespace
