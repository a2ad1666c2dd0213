// Discovery and the request facade on the Linux backend: the HID and DFU
// discovery threads fed by udev on the emulated kernel, requests routed by
// serial number to simulated devices answering the whole catalogue.
#include "E2ESupport.h"

#include "DeviceInfoModel.h"
#include "QOVABaseUSBDevice.h"
#include "QOVAIOManager.h"
#include "QOVANotificationCenter.h"
#include "QOVAUpgradeManager.h"
#include "sim/catalogue/SimCatalogueRequestHandler.h"

#include <QSet>

#include <mutex>

using e2e::LinuxE2ETest;
using e2e::runEventsFor;
using e2e::waitFor;

namespace {

// The attach and detach notifications, by serial number.
class Announcements {
public:
    Announcements()
    {
        for (const char *name :
             {"QOVAIOHIDDeviceMatchInformation", "QOVAIOHIDDeviceRemoveNotification"}) {
            m_ids.push_back(QOVANotificationCenter::defaultCenter().addObserver(
                QLatin1String(name), nullptr, [state = m_state](const QOVANotification &n) {
                    std::lock_guard<std::mutex> lock(state->mutex);
                    const QString serial =
                        n.userInfo.value_or(QVariantMap()).value("productSeriaNumber").toString();
                    state->seen.push_back(n.name + QLatin1Char(' ') + serial);
                }));
        }
    }
    ~Announcements()
    {
        for (auto id : m_ids)
            QOVANotificationCenter::defaultCenter().removeObserver(id);
    }
    int count(const char *name, const QString &serial) const
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        return int(m_state->seen.count(QLatin1String(name) + QLatin1Char(' ') + serial));
    }

private:
    struct State {
        std::mutex mutex;
        QStringList seen;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
    std::vector<QOVANotificationCenter::ObserverId> m_ids;
};

// Takes flashing requests and does nothing with them: the test moves the
// device between modes itself.
class IdleUpgradeManager : public QOVAUpgradeManager {
public:
    void upgradeDevice(const QOVADeviceModelRef &, const QString &, QOVAProgressBlock,
                       QOVASuccessBlock, QOVAUpgradeFailedBlock, QOVAUpgradeStatusBlock) override
    {
    }
};

class LinuxDiscoveryE2E : public LinuxE2ETest {
protected:
    void TearDown() override
    {
        manager.reset();
        QOVAUpgradeManager::setSharedUpgradeManager(nullptr);
        QCoreApplication::processEvents();
        LinuxE2ETest::TearDown();
    }

    std::shared_ptr<sim::SimDevice> plug(sim::Family family, const QString &serial)
    {
        auto device = bus->plug(family, serial);
        if (device)
            device->setRequestHandler(sim::makeCatalogueRequestHandler(family));
        return device;
    }

    QSet<QString> listed() const
    {
        QSet<QString> serials;
        for (const QOVABaseUSBDeviceRef &device : manager->deviceMutableArray())
            serials.insert(device->model()->productseriaNumber());
        return serials;
    }

    std::unique_ptr<QOVAIOManager> manager;
};

} // namespace

TEST_F(LinuxDiscoveryE2E, DiscoveryListsDevicesPresentAndPluggedAndRoutesRequestsToThem)
{
    Announcements announcements;
    auto orbrin = plug(sim::Family::Orbrin, "OR-DISC-1");
    auto pirok = plug(sim::Family::Pirok, "PK-DISC-1");
    startKernel();
    manager = std::make_unique<QOVAIOManager>();
    ASSERT_TRUE(waitFor([&] { return listed() == QSet<QString>{"OR-DISC-1", "PK-DISC-1"}; }));

    // A camera plugged while running: one entry and one announcement, its
    // second HID interface adds none.
    auto vasko = plug(sim::Family::Vasko, "VS-DISC.03");
    ASSERT_TRUE(waitFor([&] { return listed().contains("VS-DISC"); }));
    ASSERT_TRUE(waitFor([&] {
        return announcements.count("QOVAIOHIDDeviceMatchInformation", "VS-DISC") > 0;
    }));
    runEventsFor(30);
    EXPECT_EQ(announcements.count("QOVAIOHIDDeviceMatchInformation", "VS-DISC"), 1);
    EXPECT_EQ(manager->deviceMutableArray().size(), 3);

    // A PUT and a GET through the facade, by serial number: the name set is
    // the name read back.
    for (const auto &[serial, device] : {std::pair{QStringLiteral("OR-DISC-1"), orbrin},
                                         std::pair{QStringLiteral("VS-DISC"), vasko}}) {
        SCOPED_TRACE(qPrintable(serial));
        const QString name = QStringLiteral("Room ") + serial;
        int putCalls = 0;
        QString putText;
        const QOVASuccessBlock success = [&](const QString &t) { ++putCalls; putText = t; };
        const QOVAFailureBlock failed = [&](const QString &t) {
            ++putCalls;
            putText = QStringLiteral("failed: ") + t;
        };
        if (device == orbrin)
            manager->setOrbrinDeviceGeneralInformation(serial, name, "DE", "manual", "ntp.lab",
                                                       true, success, failed);
        else
            manager->setOrbrinDeviceGeneralInformation(serial, name, "FR", "auto", "", success,
                                                       failed);
        ASSERT_TRUE(waitFor([&] { return putCalls > 0; }));
        EXPECT_FALSE(putText.startsWith(QLatin1String("failed"))) << qPrintable(putText);

        int calls = 0;
        QString failure;
        std::shared_ptr<const DeviceInfoModel> info;
        manager->getDeviceInformation(
            serial,
            [&](const QOVAReplyObject &reply) {
                ++calls;
                if (const QOVAModelRef *model = std::get_if<QOVAModelRef>(&reply))
                    info = std::dynamic_pointer_cast<const DeviceInfoModel>(*model);
            },
            [&](const QString &text) { ++calls; failure = text; });
        ASSERT_TRUE(waitFor([&] { return calls > 0; }));
        runEventsFor(20);
        EXPECT_EQ(putCalls + calls, 2);
        ASSERT_TRUE(info) << qPrintable(failure);
        EXPECT_EQ(info->device_name, name);
        EXPECT_EQ(device->deviceName(), name);
    }

    // Pulled out: the entries go, each with its announcement.
    bus->unplug(orbrin);
    bus->unplug(vasko);
    ASSERT_TRUE(waitFor([&] { return listed() == QSet<QString>{"PK-DISC-1"}; }));
    EXPECT_TRUE(waitFor([&] {
        return announcements.count("QOVAIOHIDDeviceRemoveNotification", "OR-DISC-1") > 0
               && announcements.count("QOVAIOHIDDeviceRemoveNotification", "VS-DISC") > 0;
    }));
    runEventsFor(30);
    EXPECT_EQ(announcements.count("QOVAIOHIDDeviceRemoveNotification", "OR-DISC-1"), 1);
    EXPECT_EQ(announcements.count("QOVAIOHIDDeviceRemoveNotification", "VS-DISC"), 1);
    (void)pirok;
}

TEST_F(LinuxDiscoveryE2E, AFlashedDeviceKeepsItsEntryThroughDfuModeAndBack)
{
    QOVAUpgradeManager::setSharedUpgradeManager(std::make_shared<IdleUpgradeManager>());
    startKernel();
    manager = std::make_unique<QOVAIOManager>();
    auto device = plug(sim::Family::Vasko, "VS-FLASH.07");
    ASSERT_TRUE(waitFor([&] { return manager->findDevice("VS-FLASH") != nullptr; }));
    const QOVABaseUSBDeviceRef entry = manager->findDevice("VS-FLASH");

    manager->usbDeviceUpdate("VS-FLASH", "/tmp/fw.dfu", true, {}, {}, {});
    ASSERT_TRUE(entry->model()->isUpdate());

    // In DFU mode the device is seen by the DFU discovery thread through its
    // USB node alone (no hidraw node any more).
    device->reenumerate(sim::Mode::Dfu, 10);
    ASSERT_TRUE(waitFor([&] { return entry->model()->isDfuDevice(); }));
    EXPECT_EQ(manager->findDevice("VS-FLASH"), entry);
    EXPECT_EQ(entry->model()->productPID(), QStringLiteral("6e13"));
    EXPECT_TRUE(entry->model()->isUpdate());

    // Back in run mode: a fresh entry replaces it.
    device->reenumerate(sim::Mode::Run, 10);
    ASSERT_TRUE(waitFor([&] {
        auto now = manager->findDevice("VS-FLASH");
        return now && now != entry && !now->model()->isDfuDevice();
    }));
    EXPECT_FALSE(manager->findDevice("VS-FLASH")->model()->isUpdate());
}
