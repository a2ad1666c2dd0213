// The request facade: lookups and silent drops with their log lines, and the
// flashing entry's handling of the updater's status reports.

#include "DiscoverySupport.h"

#include "QOVABaseUSBDevice.h"
#include "QOVAError.h"
#include "QOVAIOManager.h"
#include "QOVAUpgradeManager.h"
#include "log/log.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

using namespace support;

namespace {

// Reads back what the log writer has written: a marker line is logged and
// waited for, so every line logged before it is in the files.
class LogCapture {
public:
    LogCapture()
    {
        log_set_folder(QFile::encodeName(m_dir.path()).constData());
        log_start();
    }
    ~LogCapture()
    {
        log_stop();
        log_set_folder(nullptr);
    }

    QString text()
    {
        const QString marker = QStringLiteral("capture marker %1").arg(++m_marker);
        QOVA_LOG(INFO, OTHERS, "%s", qUtf8Printable(marker));
        QString all;
        waitUntil([&] {
            all.clear();
            const QDir dir(m_dir.path());
            for (const QString &name : dir.entryList({QStringLiteral("*.log")}, QDir::Files)) {
                QFile file(dir.filePath(name));
                if (file.open(QIODevice::ReadOnly))
                    all += QString::fromUtf8(file.readAll());
            }
            return all.contains(marker);
        });
        return all;
    }
    int count(const QString &line) { return int(text().count(line)); }

private:
    QTemporaryDir m_dir;
    int m_marker = 0;
};

// Stands in for the flashing state machine: keeps each job so that the test
// can report its stages and outcome.
class FakeUpgradeManager : public QOVAUpgradeManager {
public:
    struct Job {
        QOVADeviceModelRef model;
        QString path;
        QOVASuccessBlock success;
        QOVAUpgradeFailedBlock failed;
        QOVAUpgradeStatusBlock status;
    };
    void upgradeDevice(const QOVADeviceModelRef &model, const QString &path, QOVAProgressBlock,
                       QOVASuccessBlock success, QOVAUpgradeFailedBlock failed,
                       QOVAUpgradeStatusBlock status) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        jobs.push_back({model, path, std::move(success), std::move(failed), std::move(status)});
    }
    Job job(size_t i)
    {
        std::lock_guard<std::mutex> lock(mutex);
        return jobs.at(i);
    }
    size_t size()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return jobs.size();
    }
    // Reports on a thread of its own, as the state machine's queue does.
    void report(size_t i, std::function<void(const Job &)> fn)
    {
        const Job j = job(i);
        std::thread([j, fn] { fn(j); }).join();
    }

    std::mutex mutex;
    std::vector<Job> jobs;
};

class FacadeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend = std::make_shared<fake::Backend>();
        platform::installBackend(std::static_pointer_cast<platform::Backend>(backend));
        upgrader = std::make_shared<FakeUpgradeManager>();
        QOVAUpgradeManager::setSharedUpgradeManager(upgrader);
        manager = std::make_unique<QOVAIOManager>();
        ASSERT_TRUE(waitUntil(
            [&] { return backend->openManagers() == 1 && backend->bus().watchers() == 1; }));
    }
    void TearDown() override
    {
        manager.reset();
        QOVAUpgradeManager::setSharedUpgradeManager(nullptr);
        QCoreApplication::processEvents();
    }

    // A video bar in run mode whose HID transfers fail: every request that
    // reaches it ends in its failure callback.
    void plugOrbrin(const QString &serial)
    {
        backend->bus().plug(runModeUsb(0x6E17, serial, "1.0.0", "Room"));
        backend->plugHid(hidIdentity(0x6E17, serial, "Zentaro Halvex"));
        ASSERT_TRUE(waitUntil([&] { return manager->findDevice(serial) != nullptr; }));
    }

    std::shared_ptr<fake::Backend> backend;
    std::shared_ptr<FakeUpgradeManager> upgrader;
    std::unique_ptr<QOVAIOManager> manager;
};

// ---------------------------------------------------------------------------
// Routing

TEST_F(FacadeTest, RequestsReachTheListedDeviceWhereverTheSerialSits)
{
    plugOrbrin("ORB-1");
    struct Call {
        const char *label;
        std::function<void(const QString &, QOVAFailureBlock)> send;
    };
    const QOVASuccessBlock ignore = [](const QString &) {};
    const std::vector<Call> calls = {
        {"serial first",
         [&](const QString &s, QOVAFailureBlock f) {
             manager->getDeviceInformation(s, [](const QOVAReplyObject &) {}, f);
         }},
        {"serial second",
         [&](const QString &s, QOVAFailureBlock f) { manager->setDeviceWifiEnable(true, s, ignore, f); }},
        {"serial fourth",
         [&](const QString &s, QOVAFailureBlock f) {
             manager->setDeviceBloothEnable(true, false, true, s, ignore, f);
         }},
    };
    for (const Call &call : calls) {
        SCOPED_TRACE(call.label);
        std::atomic<int> failures{0};
        std::atomic<int> strangerCalls{0};
        call.send("ORB-1", [&](const QString &) { ++failures; });
        call.send("ORB-404", [&](const QString &) { ++strangerCalls; });
        // The device's transfers fail, so a request that got there says so.
        ASSERT_TRUE(waitUntil([&] { return failures == 1; }));
        QCoreApplication::processEvents();
        EXPECT_EQ(strangerCalls, 0);
    }
}

TEST_F(FacadeTest, DroppedRequestsCallNothingAndLeaveTheirLogLines)
{
    plugOrbrin("ORB-1");
    LogCapture log;
    std::atomic<int> calls{0};
    const QOVASuccessBlock success = [&](const QString &) { ++calls; };
    const QOVAFailureBlock failure = [&](const QString &) { ++calls; };

    // Missing or empty serial: stops before the lookup.
    manager->getDeviceInformation(QString(), [&](const QOVAReplyObject &) { ++calls; }, failure);
    manager->getDeviceInformation(QStringLiteral(""), [&](const QOVAReplyObject &) { ++calls; },
                                  failure);
    QString text = log.text();
    EXPECT_EQ(text.count("getDeviceInformation:withDeviceInformationBlock:withFailedBlock:"), 2);
    EXPECT_EQ(text.count("Can not find a Device!"), 0);

    // The camera controls look up whatever the serial.
    manager->setZoomAbs(QString(), true, success, failure);
    text = log.text();
    EXPECT_EQ(text.count("setZoomAbs:isZoomIn:withSuccessBlock:withFailureBlock:"), 1);
    EXPECT_EQ(text.count("Can not find a Device!"), 1);

    // An unknown serial: looked up, not found.
    manager->setOrbrinDeviceOsd(QStringLiteral("ORB-404"), true, success, failure);
    manager->updateUVCControls(QStringLiteral("ORB-404"));
    text = log.text();
    EXPECT_EQ(text.count("Can not find a Device!"), 3);
    EXPECT_EQ(text.count("updateUVCControls:"), 0);  // writes no line of its own
    EXPECT_EQ(text.count("Can find the HID Device!"), 0);

    manager->updateUVCControls(QStringLiteral("ORB-1"));
    EXPECT_EQ(log.count("Can find the HID Device!"), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);
}

// ---------------------------------------------------------------------------
// Flashing

TEST_F(FacadeTest, LostAfterDetachLeavesTheListAtTheFirstStatusAndIsAnnouncedTwice)
{
    plugOrbrin("ORB-1");
    Recorder recorder;
    manager->usbDeviceUpdate("ORB-1", "/tmp/fw.dfu", true, {}, {}, {});
    ASSERT_EQ(upgrader->size(), 1u);
    const QOVADeviceModelRef model = upgrader->job(0).model;
    EXPECT_TRUE(model->isUpdate());
    EXPECT_EQ(upgrader->job(0).path, "/tmp/fw.dfu");

    upgrader->report(0, [](const auto &job) { job.status(0); job.status(1); job.status(3); });
    EXPECT_EQ(manager->findDevice("ORB-1"), nullptr);
    ASSERT_TRUE(waitUntil([&] { return recorder.removals().size() == 1; }));
    upgrader->report(0, [](const auto &job) { job.status(12); });
    ASSERT_TRUE(waitUntil([&] { return recorder.removals().size() == 2; }));
    const auto removals = recorder.removals();
    ASSERT_EQ(removals.size(), 2u);
    const QVariantMap expected{{"productManufacturer", "Zentaro"},
                               {"productName", "Zentaro Halvex"},
                               {"productSeriaNumber", "ORB-1"},
                               {"productID", "6e17"}};
    for (const Posted &removal : removals) {
        EXPECT_TRUE(removal.onMainThread);
        EXPECT_EQ(removal.userInfo, expected);
    }
    EXPECT_FALSE(model->isUpdate());
}

TEST_F(FacadeTest, EveryOutcomeClearsTheUpdatingMark)
{
    struct Outcome {
        const char *label;
        std::function<void(const FakeUpgradeManager::Job &)> end;
        bool stillListed;
        int callerCalls;  // outcomes the caller's own blocks receive
    };
    const std::vector<Outcome> outcomes = {
        {"ended", [](const auto &job) { job.status(13); }, true, 0},
        {"success without an end stage", [](const auto &job) { job.success("Success"); }, true, 1},
        {"failure", [](const auto &job) { job.failed(QOVAUpgradeManager::getUpgradeError()); }, true, 1},
        {"device gone", [](const auto &job) { job.status(12); }, false, 0},
    };
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const Outcome &outcome = outcomes[i];
        SCOPED_TRACE(outcome.label);
        const QString serial = QStringLiteral("ORB-%1").arg(i);
        plugOrbrin(serial);
        std::atomic<int> successes{0};
        std::atomic<int> failures{0};
        manager->usbDeviceUpdate(serial, "/tmp/fw.dfu", false, {},
                                 [&](const QString &) { ++successes; },
                                 [&](const QOVAError &) { ++failures; });
        ASSERT_EQ(upgrader->size(), i + 1);
        const QOVADeviceModelRef model = upgrader->job(i).model;
        ASSERT_TRUE(model->isUpdate());
        upgrader->report(i, outcome.end);
        EXPECT_FALSE(model->isUpdate());
        EXPECT_EQ(manager->findDevice(serial) != nullptr, outcome.stillListed);
        // The caller's own blocks still get the outcome.
        EXPECT_EQ(successes + failures, outcome.callerCalls);
    }
}

TEST_F(FacadeTest, EndStageClearsTheMarkOfTheModelSwappedInDuringTheUpdate)
{
    plugOrbrin("ORB-1");
    manager->usbDeviceUpdate("ORB-1", "/tmp/fw.dfu", false, {}, {}, {});
    const QOVABaseUSBDeviceRef entry = manager->findDevice("ORB-1");
    // The device comes back in DFU mode: its entry takes the new model.
    backend->bus().plug(dfuUsb(0x6E18, "ORB-1", "Zentaro Halvex DFU", 0x100));
    ASSERT_TRUE(waitUntil([&] { return entry->model()->isDfuDevice(); }));
    const QOVADeviceModelRef dfuModel = entry->model();
    EXPECT_TRUE(dfuModel->isUpdate());
    upgrader->report(0, [](const auto &job) { job.status(13); });
    EXPECT_FALSE(dfuModel->isUpdate());
}

TEST_F(FacadeTest, FlashingADeviceThatIsNotThereFailsAtOnce)
{
    plugOrbrin("ORB-1");
    for (const QString &serial : {QStringLiteral("ORB-404"), QString()}) {
        SCOPED_TRACE(serial.toStdString());
        std::optional<QOVAError> error;
        manager->usbDeviceUpdate(serial, "/tmp/fw.dfu", false, {}, {},
                                 [&](const QOVAError &e) { error = e; });
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->code(), 2);
        EXPECT_EQ(error->domain(), QOVAError::kGenericErrorDomain);
    }
    EXPECT_EQ(upgrader->size(), 0u);
    EXPECT_FALSE(manager->findDevice("ORB-1")->model()->isUpdate());
}

} // namespace
