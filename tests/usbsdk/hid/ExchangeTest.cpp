// The request and reply exchange against a fake device that answers from its
// own discovery thread: dispatch by status and message id, the over-timer,
// remote-control progress, device events and faults.
#include "FakeHidDevice.h"

#include "QOVAError.h"
#include "QOVANotificationCenter.h"
#include "QOVAUSBDeviceHIDInterface.h"
#include "PasswordEnableModel.h"
#include "log/log.h"
#include "platform/TimeScale.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

QJsonObject head(const QString &msgID, const QString &url, const QString &type = "GET")
{
    return QJsonObject{{"msg_id", msgID}, {"url", url}, {"type", type}};
}

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

// What one request's callbacks received.
struct Outcome {
    int calls = 0;
    std::optional<QString> failure;
    std::optional<QString> success;
    std::optional<QOVAReplyObject> completion;
    bool onMainThread = true;

    QOVAFailureBlock failureBlock()
    {
        return [this](const QString &text) {
            ++calls;
            failure = text;
            onMainThread &= QThread::currentThread() == qApp->thread();
        };
    }
    QOVASuccessBlock successBlock()
    {
        return [this](const QString &text) {
            ++calls;
            success = text;
            onMainThread &= QThread::currentThread() == qApp->thread();
        };
    }
    QOVACompletionBlock completionBlock()
    {
        return [this](const QOVAReplyObject &object) {
            ++calls;
            completion = object;
            onMainThread &= QThread::currentThread() == qApp->thread();
        };
    }
};

QString errorText(QOVAError error) { return error.localizedDescription(); }

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedScale = platform::timeScale();
        platform::setTimeScale(0.001);
        // An ordinary request waits 3 s here: the device answers well within
        // it on a loaded machine; the time-out tests shorten it.
        QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(3000);
        ASSERT_TRUE(logDir.isValid());
        logFolder = logDir.path().toStdString();
        log_set_folder(logFolder.c_str());
        log_start();
        device = std::make_shared<FakeHidDevice>();
        iface = std::make_unique<QOVAUSBDeviceHIDInterface>(nullptr, device);
    }
    void TearDown() override
    {
        iface.reset();
        // Work still running on the device's thread may hold the interface;
        // once it is done the device goes here, never on its own thread.
        device->drain();
        device.reset();
        log_stop();
        log_set_folder(nullptr);
        platform::setTimeScale(savedScale);
        QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(0);
    }

    // The log file's text once it holds the given line.
    QByteArray waitForLog(const QByteArray &line)
    {
        const QString path = logDir.path() + QString::fromUtf8("/Zentaro\xC2\xAE Orvalinde0.log");
        QByteArray text;
        waitUntil([&] {
            QFile f(path);
            if (f.open(QIODevice::ReadOnly))
                text = f.readAll();
            return text.contains(line);
        });
        return text;
    }

    void get(const QString &msgID, const QString &url, const QString &className, Outcome &out)
    {
        iface->getInformationFromUSBDevice(className, head(msgID, url), out.completionBlock(),
                                           out.failureBlock());
    }

    double savedScale = 1.0;
    QTemporaryDir logDir;
    std::string logFolder;
    std::shared_ptr<FakeHidDevice> device;
    std::unique_ptr<QOVAUSBDeviceHIDInterface> iface;
};

TEST_F(ExchangeTest, GetReturnsTheModelOnTheMainThreadAndLogs)
{
    device->setHandler([](const FakeRequest &) {
        FakeReply r;
        r.body = QByteArray(R"({"enable_password":true})");
        return r;
    });
    Outcome out;
    get("16", "admin_password_enable", "PasswordEnableModel", out);
    ASSERT_TRUE(waitUntil([&] { return out.calls > 0; }));
    EXPECT_EQ(out.calls, 1);
    EXPECT_TRUE(out.onMainThread);
    ASSERT_TRUE(out.completion.has_value());
    auto model = qova_model_cast<PasswordEnableModel>(std::get<QOVAModelRef>(*out.completion));
    ASSERT_TRUE(model);
    EXPECT_TRUE(model->enable_password);

    const auto requests = device->requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].head, head("16", "admin_password_enable"));
    EXPECT_FALSE(requests[0].hadBody);

    const QByteArray text = waitForLog("The jsonHeadString is");
    const QByteArray hid = "[INFO]   [HID]         ";
    for (const char *line : {
             "GET Information From Orbrin,The msg_id is 16, the msg_url is admin_password_enable\n",
             "Can Set Report Success!\n", "The inReport is 9 1 0 0\n", "Response is available!\n",
             "Stop The Over Timer!\n", "NO Timer!\n",
             "Response available,Ready to Get Report for first PDU Frame!\n",
             "Can Get Response Success!\n", "No neee fetch more times, just once!\n",
             "The jsonHeadString is {\"diag_info\":\"none\",\"msg_id\":16,"}) {
        EXPECT_TRUE(text.contains(hid + line)) << line;
    }
    EXPECT_EQ(iface->messageID(), "16");
    EXPECT_EQ(iface->messageURL(), "admin_password_enable");
}

TEST_F(ExchangeTest, DispatchByStatusAndMessageID)
{
    struct Case {
        const char *msgID;
        int status;
        const char *statusString;
        std::optional<QString> failure;  // none: completes with nothing
    };
    const Case cases[] = {
        {"17", 400, "Password is wrong", QString("Password is wrong")},
        {"17", 500, "Busy", QString("Busy")},
        {"46", 400, "bad", QString("Reject")},
        {"46", 201, "x", QString("needPassword")},
        {"46", 408, "x", QString("fail")},
        {"46", 500, "x", errorText(QOVAError::errorResponseNotCorrect())},
        {"27", 408, "NULL", std::nullopt},
        {"27", 408, "null", std::nullopt},
        {"27", 408, "timeout", errorText(QOVAError::errorResponseNotCorrect())},
        {"5", 400, "bad", QString("Reject")},
        {"5", 404, "missing", errorText(QOVAError::errorResponseNotCorrect())},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.msgID << " " << c.status << " " << c.statusString);
        device->setHandler([&](const FakeRequest &) {
            FakeReply r;
            r.statusCode = c.status;
            r.statusString = c.statusString;
            return r;
        });
        Outcome out;
        get(c.msgID, "some_url", "NSData", out);
        ASSERT_TRUE(waitUntil([&] { return out.calls > 0; }));
        EXPECT_EQ(out.failure, c.failure);
        if (!c.failure) {
            ASSERT_TRUE(out.completion.has_value());
            EXPECT_TRUE(std::holds_alternative<std::monostate>(*out.completion));
        }
    }
    EXPECT_TRUE(waitForLog("response status code 404, the response status string is missing")
                    .contains("missing"));
}

TEST_F(ExchangeTest, SuccessfulReplies)
{
    QByteArray big(100000, Qt::Uninitialized);
    for (int i = 0; i < big.size(); ++i)
        big[i] = char(i * 7);
    QByteArray replyBody;
    bool withBody = true;
    device->setHandler([&](const FakeRequest &) {
        FakeReply r;
        if (withBody)
            r.body = replyBody;
        return r;
    });

    // A long raw reply in 2048-byte reports.
    replyBody = big;
    Outcome raw;
    get("9", "config_file", "NSData", raw);
    ASSERT_TRUE(waitUntil([&] { return raw.calls > 0; }));
    ASSERT_TRUE(raw.completion.has_value());
    EXPECT_EQ(std::get<QByteArray>(*raw.completion), big);

    // Without a body: empty bytes for a raw GET, the decoding error for a
    // model GET.
    withBody = false;
    Outcome emptyRaw;
    get("13", "x", "NSData", emptyRaw);
    ASSERT_TRUE(waitUntil([&] { return emptyRaw.calls > 0; }));
    ASSERT_TRUE(emptyRaw.completion.has_value());
    EXPECT_EQ(std::get<QByteArray>(*emptyRaw.completion), QByteArray());

    Outcome emptyModel;
    get("14", "x", "PasswordEnableModel", emptyModel);
    ASSERT_TRUE(waitUntil([&] { return emptyModel.calls > 0; }));
    QString decodeError;
    QOVAModelRegistry::modelFromJSONData("PasswordEnableModel", QByteArray(), &decodeError);
    EXPECT_EQ(emptyModel.failure, decodeError);
    EXPECT_FALSE(decodeError.isEmpty());

    withBody = true;
    replyBody = R"({"enable_password":"yes"})";
    Outcome badModel;
    get("15", "x", "PasswordEnableModel", badModel);
    ASSERT_TRUE(waitUntil([&] { return badModel.calls > 0; }));
    EXPECT_TRUE(badModel.failure.has_value());

    // PUTs: "Success!" with or without a reply body; the device gets the
    // body as sent.
    Outcome put;
    iface->putInformationToUSBDevice(head("30", "device_name", "PUT"),
                                     QJsonObject{{"name", "Room 1"}}, put.successBlock(),
                                     put.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return put.calls > 0; }));
    EXPECT_EQ(put.success, QString("Success!"));
    auto requests = device->requests();
    EXPECT_EQ(requests.back().body, QByteArray(R"({"name":"Room 1"})"));
    EXPECT_EQ(requests.back().dataType, 0);

    QTemporaryDir dir;
    const QString path = dir.path() + "/cert.pem";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(big.left(5000));
    }
    Outcome file;
    iface->putFileDataToUSBDevice(head("45", "certificate", "PUT"), path, file.successBlock(),
                                  file.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return file.calls > 0; }));
    EXPECT_EQ(file.success, QString("Success!"));
    requests = device->requests();
    EXPECT_EQ(requests.back().body, big.left(5000));
    EXPECT_EQ(requests.back().dataType, 1);

    Outcome missing;
    iface->putFileDataToUSBDevice(head("45", "certificate", "PUT"), dir.path() + "/none",
                                  missing.successBlock(), missing.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return missing.calls > 0; }));
    requests = device->requests();
    EXPECT_FALSE(requests.back().hadBody);
    EXPECT_EQ(requests.back().dataType, 1);
}

TEST_F(ExchangeTest, Faults)
{
    struct Case {
        const char *name;
        std::function<void(FakeReply &)> fault;
        int failGetAt;
        std::optional<QString> failure;  // none: any non-empty text
        int reads;                       // feature reports read, -1: don't care
    };
    const QString error5 = errorText(QOVAError::errorGetResponseFailure());
    const Case cases[] = {
        {"reply for another message id", [](FakeReply &r) { r.headOverrides["msg_id"] = 99; }, -1,
         errorText(QOVAError::errorMessageIDNotMatch()), 1},
        {"head without diag_info", [](FakeReply &r) { r.headRemovals << "diag_info"; }, -1,
         std::nullopt, 1},
        {"head not UTF-8", [](FakeReply &r) { r.rawHead = QByteArray("{\"a\":\"\xFF\xFE\"}"); },
         -1, error5, 1},
        {"first frame unreadable", [](FakeReply &) {}, 0, error5, 1},
        {"third frame unreadable", [](FakeReply &r) { r.body = QByteArray(1000, 'b'); }, 2,
         error5, 3},
        {"absurd body length",
         [](FakeReply &r) { r.declaredBodyLength = 0x20000000u; }, -1, error5, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        device->failGetAt(c.failGetAt);
        device->setHandler([&](const FakeRequest &) {
            FakeReply r;
            c.fault(r);
            return r;
        });
        const int readsBefore = device->getCount();
        Outcome out;
        get("7", "x", "NSData", out);
        ASSERT_TRUE(waitUntil([&] { return out.calls > 0; }));
        ASSERT_TRUE(out.failure.has_value());
        if (c.failure) {
            EXPECT_EQ(*out.failure, *c.failure);
        } else {
            EXPECT_FALSE(out.failure->isEmpty());
            EXPECT_NE(*out.failure, error5);
        }
        EXPECT_EQ(device->getCount() - readsBefore, c.reads);
    }
    device->failGetAt(-1);

    // No reply: the request fails once it has waited its time; the next
    // request is answered as usual meanwhile.
    device->setHandler([](const FakeRequest &req) {
        FakeReply r;
        r.silent = req.head.value("msg_id").toString() == "3";
        return r;
    });
    Outcome silent;
    Outcome next;
    QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(100);
    get("3", "x", "NSData", silent);
    QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(3000);
    get("4", "x", "NSData", next);
    ASSERT_TRUE(waitUntil([&] { return next.calls > 0; }));
    ASSERT_TRUE(waitUntil([&] { return silent.calls > 0; }));
    EXPECT_EQ(silent.failure, errorText(QOVAError::errorResponseOvertime()));
    EXPECT_TRUE(silent.onMainThread);

    // A failed send reports error 1 at once and forgets the request.
    device->failSet(true);
    Outcome unsent;
    get("8", "x", "NSData", unsent);
    EXPECT_EQ(unsent.failure, errorText(QOVAError::errorSetReportFailure()));
    device->failSet(false);
}

// Two requests under one message id before the first reply is handed on:
// the device answers in the order it was asked, so each request hears its
// own reply, and a refusal of the second is never taken for the first's
// success. A request the device never answers takes the next reply under
// its id (the same question's answer), and the later one ends after its wait.
TEST_F(ExchangeTest, RepliesUnderOneIdReachTheirRequestsInOrder)
{
    const QString rejected = errorText(QOVAError::errorSetReportRejected());
    const QString overtime = errorText(QOVAError::errorResponseOvertime());
    int replies = 0;
    device->setHandler([&](const FakeRequest &) {
        FakeReply r;
        if (replies++ == 0)
            r.statusCode = 200;
        else
            r.statusCode = 400;
        return r;
    });
    Outcome first;
    Outcome second;
    // Both sent before either reply is handed on, as a switch flipped twice
    // in quick succession sends them.
    iface->putInformationToUSBDevice(head("51", "server_ca_validation", "PUT"), std::nullopt,
                                     first.successBlock(), first.failureBlock());
    iface->putInformationToUSBDevice(head("51", "server_ca_validation", "PUT"), std::nullopt,
                                     second.successBlock(), second.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return first.calls > 0 && second.calls > 0; }));
    EXPECT_EQ(first.calls, 1);
    EXPECT_TRUE(first.success.has_value());
    EXPECT_FALSE(first.failure.has_value());
    EXPECT_EQ(second.calls, 1);
    EXPECT_FALSE(second.success.has_value());
    EXPECT_EQ(second.failure, rejected);

    replies = 0;
    device->setHandler([&](const FakeRequest &) {
        FakeReply r;
        r.silent = replies++ == 0;
        r.body = QByteArray("answer");
        return r;
    });
    Outcome unanswered;
    Outcome later;
    QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(100);
    get("9", "x", "NSData", unanswered);
    get("9", "x", "NSData", later);
    ASSERT_TRUE(waitUntil([&] { return unanswered.calls > 0 && later.calls > 0; }));
    EXPECT_EQ(std::get<QByteArray>(*unanswered.completion), "answer");
    EXPECT_EQ(later.failure, overtime);
    EXPECT_EQ(unanswered.calls + later.calls, 2);
}

TEST_F(ExchangeTest, GetsAreHeldWhileALogFetchWaitsAndEveryOneEndsInItsTime)
{
    device->setHandler([](const FakeRequest &req) {
        FakeReply r;
        r.held = true;
        r.body = QByteArray("log of ") + req.head.value("url").toString().toUtf8();
        return r;
    });
    Outcome log;
    Outcome held;
    Outcome stop;
    get("11", "system_log", "NSData", log);
    QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(200);
    get("1", "device_info", "NSData", held);
    EXPECT_EQ(device->requests().size(), 1u);  // held back, its callbacks filed
    get("21", "audio_diagnostic_record_stop", "NSData", stop);
    ASSERT_EQ(device->requests().size(), 2u);
    EXPECT_EQ(device->requests()[1].head.value("url").toString(), "audio_diagnostic_record_stop");

    // Nothing answers: the log fetch fails after its 60 s, the held GET after
    // the ordinary wait (200 s here), the recording after its 350 s (all
    // scaled), each once.
    ASSERT_TRUE(waitUntil([&] { return log.calls > 0; }));
    EXPECT_EQ(log.failure, errorText(QOVAError::errorResponseOvertime()));
    EXPECT_EQ(held.calls, 0);
    EXPECT_EQ(stop.calls, 0);
    ASSERT_TRUE(waitUntil([&] { return held.calls > 0; }));
    EXPECT_EQ(held.failure, errorText(QOVAError::errorResponseOvertime()));
    EXPECT_EQ(stop.calls, 0);
    ASSERT_TRUE(waitUntil([&] { return stop.calls > 0; }));
    EXPECT_EQ(stop.failure, errorText(QOVAError::errorResponseOvertime()));

    // Replies arriving now find no handler.
    device->releaseHeld();
    waitForLog("Have not this Handler, should quit this handle!");
    EXPECT_EQ(device->requests().size(), 2u);
    for (const Outcome *out : {&log, &held, &stop})
        EXPECT_EQ(out->calls, 1);
}

TEST_F(ExchangeTest, RemoteControlUpgradeProgress)
{
    QString statusString = "success";
    device->setHandler([&](const FakeRequest &) {
        FakeReply r;
        r.held = true;
        r.statusString = statusString;
        return r;
    });
    QTemporaryDir dir;
    const QString image = dir.path() + "/remote.bin";
    {
        QFile f(image);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(700, 'r'));
    }

    for (const char *outcome : {"success", "failed"}) {
        SCOPED_TRACE(outcome);
        statusString = outcome;
        std::vector<double> progress;
        iface->setProgressBlock([&](double p) { progress.push_back(p); });
        Outcome put;
        iface->putFileDataToUSBDevice(head("33", "remote_control_upgrade", "PUT"), image,
                                      put.successBlock(), put.failureBlock());
        ASSERT_EQ(progress.size(), 1u);  // the first tick comes at once
        ASSERT_TRUE(waitUntil([&] { return progress.size() >= 60; }));
        // The 60 s time-out fails nothing: 33 is not one of the ids it looks for.
        waitForLog("Orbrin HID Handle Overtime, but can not find the msg id");
        EXPECT_EQ(put.calls, 0);

        device->releaseHeld();
        ASSERT_TRUE(waitUntil([&] { return put.calls > 0; }));
        ASSERT_EQ(progress.size(), 61u);
        for (int k = 1; k <= 60; ++k)
            EXPECT_DOUBLE_EQ(progress[size_t(k - 1)], k / 60.0);
        EXPECT_DOUBLE_EQ(progress.back(), 1.0);
        if (QString(outcome) == "success")
            EXPECT_EQ(put.success, QString("Success!"));
        else
            EXPECT_EQ(put.failure, errorText(QOVAError::errorResponseNotCorrect()));
    }
}

// Collects the names (and user info) posted while it lives.
struct Posts {
    QObject context;
    std::vector<std::pair<QString, std::optional<QVariantMap>>> seen;
    explicit Posts(const QStringList &names)
    {
        for (const QString &name : names)
            QOVANotificationCenter::defaultCenter().addObserver(
                name, &context,
                [this](const QOVANotification &n) { seen.emplace_back(n.name, n.userInfo); });
    }
};

TEST_F(ExchangeTest, WiFiAndRemoteControlEvents)
{
    Posts posts({"QOVAWiFiConnectedInformation", "QOVAWiFiDisconnectedInformation",
                 "QOVAWiFiConnectingInformation", "QOVAWiFiEnableInformation",
                 "QOVAWifiDisableInformation", "QOVARemoteControlSleep", "QOVARemoteControlActive",
                 "QOVARemoteControlUnPair", "QOVARemoteControlPair"});
    for (uint8_t code = 0; code <= 6; ++code)
        device->raiseInputReport({9, 2, code, 0});
    for (uint8_t code = 0; code <= 4; ++code)
        device->raiseInputReport({9, 3, code, 0});
    device->raiseInputReport({8, 2, 0, 0});   // not 9: ignored
    device->raiseInputReport({9, 7, 0, 0});   // unknown kind
    device->raiseInputReport({9, 2, 0, 1});   // code 256
    ASSERT_TRUE(waitUntil([&] { return posts.seen.size() >= 9; }));
    waitForLog("The inReport is 9 2 0 1");
    QCoreApplication::processEvents();
    const QStringList expected = {"QOVAWiFiConnectedInformation", "QOVAWiFiDisconnectedInformation",
                                  "QOVAWiFiConnectingInformation", "QOVAWiFiEnableInformation",
                                  "QOVAWifiDisableInformation", "QOVARemoteControlSleep",
                                  "QOVARemoteControlActive", "QOVARemoteControlUnPair",
                                  "QOVARemoteControlPair"};
    ASSERT_EQ(posts.seen.size(), size_t(expected.size()));
    for (size_t i = 0; i < posts.seen.size(); ++i) {
        EXPECT_EQ(posts.seen[i].first, expected[qsizetype(i)]);
        if (i < 5) {
            EXPECT_FALSE(posts.seen[i].second.has_value());
        } else {
            ASSERT_TRUE(posts.seen[i].second.has_value());
            EXPECT_EQ(posts.seen[i].second->value("productSeriaNumber").toString(), "FAKE0001");
        }
    }
}

TEST_F(ExchangeTest, RemoteUpgradeNoticeIsReportedWithTheNextReply)
{
    Posts posts({"QOVARemoteControlUpgrade"});
    int status = 200;
    device->setHandler([&](const FakeRequest &) {
        FakeReply r;
        r.statusCode = status;
        r.statusString = "x";
        return r;
    });
    for (int code : {200, 500}) {
        status = code;
        posts.seen.clear();
        const int reads = device->getCount();
        device->raiseInputReport({9, 1, 1, 0});
        EXPECT_TRUE(waitUntil([&] { return iface->isRemoteControl(); }));
        EXPECT_EQ(device->getCount(), reads);  // the notice reads nothing
        Outcome out;
        get("2", "x", "NSData", out);
        ASSERT_TRUE(waitUntil([&] { return out.calls > 0; }));
        ASSERT_EQ(posts.seen.size(), 1u);
        EXPECT_EQ(posts.seen[0].second->value("remoteUpgrade").toBool(), code == 200);
        EXPECT_EQ(posts.seen[0].second->value("productSeriaNumber").toString(), "FAKE0001");
        EXPECT_FALSE(iface->isRemoteControl());
    }

    // Not while an upgrade (33) waits for its reply.
    posts.seen.clear();
    status = 200;
    device->setHandler([&](const FakeRequest &req) {
        FakeReply r;
        r.silent = req.head.value("msg_id").toString() == "33";
        return r;
    });
    Outcome upgrade;
    iface->putInformationToUSBDevice(head("33", "remote_control_upgrade", "PUT"), std::nullopt,
                                     upgrade.successBlock(), upgrade.failureBlock());
    device->raiseInputReport({9, 1, 1, 0});
    EXPECT_TRUE(waitUntil([&] { return iface->isRemoteControl(); }));
    // GETs are held while the upgrade's time-out runs; a PUT still goes.
    Outcome out;
    iface->putInformationToUSBDevice(head("31", "y", "PUT"), QJsonObject{}, out.successBlock(),
                                     out.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return out.calls > 0; }));
    EXPECT_EQ(out.success, QString("Success!"));
    EXPECT_TRUE(posts.seen.empty());
}

TEST_F(ExchangeTest, CancelMakesTheNextReplyFailWithError5)
{
    device->setHandler([](const FakeRequest &) {
        FakeReply r;
        r.body = QByteArray(R"({"cancel":"ok"})");
        return r;
    });
    iface->setCancel(true);
    Outcome cancel;
    get("26", "cancel", "CancelModel", cancel);
    ASSERT_TRUE(waitUntil([&] { return cancel.calls > 0; }));
    EXPECT_EQ(cancel.failure, errorText(QOVAError::errorGetResponseFailure()));
    EXPECT_FALSE(iface->isCancel());
    waitForLog("Cancel the HID Handle!");
}

TEST_F(ExchangeTest, TransfersOfOneDeviceDoNotInterleave)
{
    device->setHandler([](const FakeRequest &req) {
        FakeReply r;
        r.body = req.head.value("msg_id").toString().toUtf8().repeated(400);
        return r;
    });
    constexpr int kRequests = 60;
    std::vector<Outcome> outs(kRequests);
    for (int i = 0; i < kRequests; ++i) {
        get(QString::number(100 + i), "x", "NSData", outs[size_t(i)]);
        if (i % 4 == 0)
            QCoreApplication::processEvents();
    }
    ASSERT_TRUE(waitUntil([&] {
        return std::all_of(outs.begin(), outs.end(), [](const Outcome &o) { return o.calls > 0; });
    }));
    for (int i = 0; i < kRequests; ++i)
        EXPECT_EQ(std::get<QByteArray>(*outs[size_t(i)].completion),
                  QString::number(100 + i).toUtf8().repeated(400));
    EXPECT_FALSE(device->interleaved());
}

} // namespace
