// Discovery on the simulated bus: devices plugged and pulled, a device that
// goes to DFU mode and back while it is flashed, and a burst from another
// thread.

#include "DiscoverySupport.h"

#include "QOVABaseUSBDevice.h"
#include "QOVAIOManager.h"
#include "QOVAUpgradeManager.h"
#include "sim/SimBackend.h"
#include "sim/SimBus.h"
#include "sim/SimDevice.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace support;
using sim::Family;
using sim::Mode;

namespace {

// Takes flashing requests and does nothing with them: the test moves the
// device between modes itself.
class IdleUpgradeManager : public QOVAUpgradeManager {
public:
    void upgradeDevice(const QOVADeviceModelRef &, const QString &, QOVAProgressBlock,
                       QOVASuccessBlock, QOVAUpgradeFailedBlock,
                       QOVAUpgradeStatusBlock status) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        statusBlock = std::move(status);
    }
    std::mutex mutex;
    QOVAUpgradeStatusBlock statusBlock;
};

class SimDiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bus = sim::SimBus::create();
        platform::installBackend(std::make_shared<sim::SimBackend>(bus));
        manager = std::make_unique<QOVAIOManager>();
    }
    void TearDown() override
    {
        manager.reset();
        QOVAUpgradeManager::setSharedUpgradeManager(nullptr);
        QCoreApplication::processEvents();
    }

    QSet<QString> listedSerials()
    {
        QSet<QString> serials;
        for (const auto &device : manager->deviceMutableArray())
            serials.insert(device->model()->productseriaNumber());
        return serials;
    }
    std::optional<Posted> lastFor(const Recorder &recorder, const char *name, const QString &serial)
    {
        std::optional<Posted> found;
        for (const Posted &p : recorder.named(name))
            if (p.userInfo.value("productSeriaNumber").toString() == serial)
                found = p;
        return found;
    }

    std::shared_ptr<sim::SimBus> bus;
    std::unique_ptr<QOVAIOManager> manager;
};

TEST_F(SimDiscoveryTest, EachFamilyArrivesAndLeaves)
{
    Recorder recorder;
    const struct {
        Family family;
        QString serial;
        QString listed;
        QString productId;
        QString version;
        QString deviceName;
    } cases[] = {
        {Family::Orbrin, "OR1", "OR1", "6e17", "1.1.5", "Halvex"},
        {Family::Vasko, "VS2.01", "VS2", "6e12", "1.3.2", "Tolm"},
        {Family::Pirok, "PK3", "PK3", "5c01", "12.0.3", "KRD mini"},
    };
    for (const auto &c : cases)
        ASSERT_TRUE(bus->plug(c.family, c.serial));
    ASSERT_TRUE(waitUntil([&] { return listedSerials() == QSet<QString>{"OR1", "VS2", "PK3"}; }));
    ASSERT_TRUE(waitUntil([&] { return recorder.matches().size() >= 3; }));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.serial.toStdString());
        const auto match = lastFor(recorder, "QOVAIOHIDDeviceMatchInformation", c.listed);
        ASSERT_TRUE(match);
        EXPECT_TRUE(match->onMainThread);
        EXPECT_EQ(match->userInfo.value("productID"), c.productId);
        EXPECT_EQ(match->userInfo.value("productVersion"), c.version);
        EXPECT_EQ(match->userInfo.value("productDeviceName"), c.deviceName);
        EXPECT_EQ(match->userInfo.size(), 8);
    }
    // One announcement per device: the camera's second interface adds none.
    EXPECT_EQ(recorder.matches().size(), 3u);

    for (const auto &c : cases)
        ASSERT_TRUE(bus->unplug(c.serial));
    ASSERT_TRUE(waitUntil([&] { return manager->deviceMutableArray().isEmpty(); }));
    for (const auto &c : cases)
        EXPECT_TRUE(waitUntil([&] {
            return lastFor(recorder, "QOVAIOHIDDeviceRemoveNotification", c.listed).has_value();
        })) << c.serial.toStdString();
}

TEST_F(SimDiscoveryTest, FlashedDeviceKeepsItsEntryThroughDfuModeAndBack)
{
    auto upgrader = std::make_shared<IdleUpgradeManager>();
    QOVAUpgradeManager::setSharedUpgradeManager(upgrader);
    Recorder recorder;
    auto device = bus->plug(Family::Vasko, "VS1.07");
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("VS1") != nullptr; }));
    const QOVABaseUSBDeviceRef entry = manager->findDevice("VS1");

    manager->usbDeviceUpdate("VS1", "/tmp/fw.dfu", true, {}, {}, {});
    ASSERT_TRUE(entry->model()->isUpdate());

    device->reenumerate(Mode::Dfu, 10);
    ASSERT_TRUE(waitUntil([&] { return entry->model()->isDfuDevice(); }));
    EXPECT_EQ(manager->findDevice("VS1"), entry);
    EXPECT_EQ(entry->model()->productPID(), "6e13");
    EXPECT_TRUE(entry->model()->isUpdate());

    // Back in run mode: the DFU departure is ignored, the run-mode arrival
    // replaces the entry with a fresh one.
    device->reenumerate(Mode::Run, 10);
    ASSERT_TRUE(waitUntil([&] {
        auto now = manager->findDevice("VS1");
        return now && now != entry && !now->model()->isDfuDevice();
    }));
    EXPECT_FALSE(manager->findDevice("VS1")->model()->isUpdate());
    EXPECT_EQ(manager->deviceMutableArray().size(), 1);
    {
        std::lock_guard<std::mutex> lock(upgrader->mutex);
        upgrader->statusBlock(13);
    }
    // Each arrival is told once its entry is listed: the last may still be
    // on its way to the main thread.
    EXPECT_TRUE(waitUntil([&] { return recorder.matches().size() >= 3u; }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.removals().empty());
    EXPECT_EQ(recorder.matches().size(), 3u);  // run, DFU, run
}

TEST_F(SimDiscoveryTest, BurstOfTwentyDevicesFromAnotherThreadLeavesAConsistentList)
{
    const Family families[] = {Family::Orbrin, Family::Vasko, Family::Pirok};
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        QSet<QString> expected;
        std::atomic<bool> plugged{true};
        QThread *burst = QThread::create([&] {
            for (int i = 0; i < 20; ++i) {
                const QString serial = QStringLiteral("B%1-%2").arg(round).arg(i);
                const Mode mode = i % 5 == 4 ? Mode::Dfu : Mode::Run;
                plugged = plugged && bus->plug(families[i % 3], serial, mode) != nullptr;
            }
            for (int i = 0; i < 20; i += 2)
                bus->unplug(QStringLiteral("B%1-%2").arg(round).arg(i));
        });
        for (int i = 1; i < 20; i += 2)
            expected.insert(QStringLiteral("B%1-%2").arg(round).arg(i));
        burst->start();
        // Meanwhile the main thread reads the list.
        while (!burst->isFinished()) {
            for (int i = 0; i < 20; ++i)
                manager->findDevice(QStringLiteral("B%1-%2").arg(round).arg(i));
            QCoreApplication::processEvents();
        }
        burst->wait();
        delete burst;
        ASSERT_TRUE(plugged);
        ASSERT_TRUE(waitUntil([&] { return listedSerials() == expected; }))
            << listedSerials().size() << " listed";
        EXPECT_EQ(manager->deviceMutableArray().size(), expected.size());
        // The list handed out shares no storage with the manager's own, which
        // the discovery threads change in place once they see it unshared.
        EXPECT_TRUE(manager->deviceMutableArray().isDetached());
        for (int i = 1; i < 20; i += 2)
            bus->unplug(QStringLiteral("B%1-%2").arg(round).arg(i));
        ASSERT_TRUE(waitUntil([&] { return manager->deviceMutableArray().isEmpty(); }));
    }
}

} // namespace
