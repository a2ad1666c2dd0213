// Device discovery and the device list, against a backend whose devices the
// test plugs by hand.

#include "DiscoverySupport.h"

#include "QOVABaseUSBDevice.h"
#include "QOVAIOManager.h"

#include <gtest/gtest.h>

#include <QSet>

#include <algorithm>
#include <functional>
#include <future>
#include <memory>
#include <mutex>

using namespace support;

namespace {

const char kMatch[] = "QOVAIOHIDDeviceMatchInformation";

QVariantMap info(std::initializer_list<std::pair<const char *, QVariant>> pairs)
{
    QVariantMap map;
    for (const auto &[key, value] : pairs)
        map.insert(QLatin1String(key), value);
    return map;
}

class DiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend = std::make_shared<fake::Backend>();
        platform::installBackend(std::static_pointer_cast<platform::Backend>(backend));
    }
    void TearDown() override
    {
        manager.reset();
        // Let queued notifications of this case drain before the next starts.
        QCoreApplication::processEvents();
    }

    void start()
    {
        manager = std::make_unique<QOVAIOManager>();
        ASSERT_TRUE(waitUntil(
            [&] { return backend->openManagers() == 1 && backend->bus().watchers() == 1; }));
    }

    QOVADeviceModelRef modelOf(const QString &serial)
    {
        auto device = manager->findDevice(serial);
        return device ? device->model() : nullptr;
    }

    // Plugs an Orbrin video bar in run mode: its USB device and HID interface.
    int plugOrbrin(const QString &serial, const QString &version = QStringLiteral("1.2.3"))
    {
        backend->bus().plug(runModeUsb(0x6E17, serial, version, QStringLiteral("Room 1")));
        return backend->plugHid(hidIdentity(0x6E17, serial, QStringLiteral("Zentaro Halvex")));
    }

    // Installs a scan hook for as long as the returned guard lives. The
    // guard goes before the case's locals the hook uses and waits out a
    // call still running on another thread; TearDown would come too late.
    [[nodiscard]] auto scanHook(std::function<void()> hook)
    {
        backend->bus().setScanHook(std::move(hook));
        auto clear = [](fake::UsbBus *bus) { bus->setScanHook({}); };
        return std::unique_ptr<fake::UsbBus, decltype(clear)>(&backend->bus(), clear);
    }

    std::shared_ptr<fake::Backend> backend;
    std::unique_ptr<QOVAIOManager> manager;
};

// ---------------------------------------------------------------------------
// Run-mode arrivals: the user info of each family, and the list entry.

struct HidArrivalCase {
    const char *label;
    uint32_t productId;
    QString reportedSerial;
    QString product;
    uint32_t versionNumber;
    bool usbDeviceFound;
    QVariantMap expected;
};

TEST_F(DiscoveryTest, RunModeArrivalPostsTheIdentityOfEachFamily)
{
    const std::vector<HidArrivalCase> cases = {
        {"orbrin", 0x6E17, "ORB-1", "Zentaro Halvex", 0, true,
         info({{"productManufacturer", "Zentaro"}, {"productName", "Zentaro Halvex"},
               {"productSeriaNumber", "ORB-1"}, {"productID", "6e17"},
               {"productVersion", "2.5.110"}, {"productVID", "1d5c"},
               {"productLID", "14200000"}, {"productDeviceName", "Board room"}})},
        {"vasko serial cut at the first dot", 0x6E12, "VSK-7.01.2", "Skarnfel Tolm USB", 0, true,
         info({{"productManufacturer", "Zentaro"}, {"productName", "Skarnfel Tolm USB"},
               {"productSeriaNumber", "VSK-7"}, {"productID", "6e12"},
               {"productVersion", "2.5.110"}, {"productVID", "1d5c"},
               {"productLID", "14200000"}, {"productDeviceName", "Board room"}})},
        {"orbrin without its usb device", 0x6E17, "ORB-2", "Zentaro Halvex", 0, false,
         info({{"productManufacturer", "Zentaro"}, {"productName", "Zentaro Halvex"},
               {"productSeriaNumber", "ORB-2"}, {"productID", "6e17"},
               {"productVersion", "0"}, {"productVID", "1d5c"},
               {"productLID", "14200000"}, {"productDeviceName", ""}})},
        {"pirok version from its version number", 0x5C01, "PRK-3", "KRD mini", 0x1203, true,
         info({{"productManufacturer", "Zentaro"}, {"productName", "KRD mini"},
               {"productSeriaNumber", "PRK-3"}, {"productID", "5c01"},
               {"productVersion", "12.0.3"}, {"productVID", "1d5c"},
               {"productLID", "14200000"}, {"productDeviceName", "KRD mini"}})},
    };
    start();
    Recorder recorder;
    for (const HidArrivalCase &c : cases) {
        SCOPED_TRACE(c.label);
        const size_t before = recorder.count();
        if (c.usbDeviceFound)
            backend->bus().plug(runModeUsb(uint16_t(c.productId), c.reportedSerial,
                                           QStringLiteral("2.5.110"), QStringLiteral("Board room")));
        const int id = backend->plugHid(
            hidIdentity(c.productId, c.reportedSerial, c.product, c.versionNumber));
        ASSERT_TRUE(recorder.waitForCount(before + 1));
        const Posted posted = recorder.posted().back();
        EXPECT_EQ(posted.name, QLatin1String(kMatch));
        EXPECT_TRUE(posted.onMainThread);
        EXPECT_EQ(posted.userInfo, c.expected);

        const QString serial = c.expected.value("productSeriaNumber").toString();
        ASSERT_TRUE(waitUntil([&] { return modelOf(serial) != nullptr; }));
        const QOVADeviceModelRef model = modelOf(serial);
        EXPECT_EQ(model->productPID(), c.expected.value("productID").toString());
        EXPECT_EQ(model->productVersion(), c.expected.value("productVersion").toString());
        EXPECT_EQ(model->deviceRef(), backend->hidHandle(id));
        EXPECT_EQ(model->interface() != nullptr, c.usbDeviceFound);
        EXPECT_FALSE(model->isDfuDevice());
        EXPECT_FALSE(model->isUpdate());
    }
    EXPECT_EQ(manager->deviceMutableArray().size(), qsizetype(cases.size()));
}

TEST_F(DiscoveryTest, IncompleteOrVendorPageInterfacesProduceNothing)
{
    start();
    Recorder recorder;
    // The camera's vendor-page HID interface is not a device of its own.
    backend->plugHid(hidIdentity(0x6E12, "VSK-1.5", "Skarnfel Tolm USB", 0, 0xFF00));
    // An interface that does not say who made it.
    auto anonymous = hidIdentity(0x6E17, "ORB-9", "Zentaro Halvex");
    anonymous.manufacturer.reset();
    backend->plugHid(anonymous);
    // Then one that counts: the HID thread handles them in order, so once its
    // notification is in, the two before it have been handled.
    backend->plugHid(hidIdentity(0x6E12, "VSK-2.5", "Skarnfel Tolm USB", 0, 0x000C));
    ASSERT_TRUE(recorder.waitForCount(1));
    QCoreApplication::processEvents();
    ASSERT_EQ(recorder.count(), 1u);
    EXPECT_EQ(recorder.posted()[0].userInfo.value("productSeriaNumber"), "VSK-2");
    // The announcement goes out before the entry is made.
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("VSK-2") != nullptr; }));
    const auto list = manager->deviceMutableArray();
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0]->model()->productseriaNumber(), "VSK-2");
}

TEST_F(DiscoveryTest, AVaskoCameraLeavesWithOneRemovalWhateverItsInterfacesOrder)
{
    start();
    Recorder recorder;
    // The camera's two HID interfaces leave in either order; only the one
    // that made the entry announces the departure.
    for (bool vendorPageFirst : {false, true}) {
        SCOPED_TRACE(vendorPageFirst ? "vendor page first" : "vendor page last");
        const size_t base = recorder.count();
        const int main = backend->plugHid(hidIdentity(0x6E12, "VSK-7.01", "Skarnfel Tolm USB", 0, 0x000C));
        ASSERT_TRUE(recorder.waitForCount(base + 1));
        const int vendor = backend->plugHid(hidIdentity(0x6E12, "VSK-7.01", "Skarnfel Tolm USB", 0, 0xFF00));
        backend->unplugHid(vendorPageFirst ? vendor : main);
        backend->unplugHid(vendorPageFirst ? main : vendor);
        // A marker arrival: the HID thread handles events in order, so once
        // its announcement is in, both departures have been handled.
        const int marker = backend->plugHid(hidIdentity(0x6E17, "ORB-M", "Zentaro Halvex"));
        ASSERT_TRUE(recorder.waitForCount(base + 3));
        QCoreApplication::processEvents();
        const auto posted = recorder.posted();
        ASSERT_EQ(posted.size(), base + 3);
        EXPECT_EQ(posted[base + 1].name, QStringLiteral("QOVAIOHIDDeviceRemoveNotification"));
        EXPECT_EQ(posted[base + 1].userInfo.value("productSeriaNumber"), "VSK-7");
        EXPECT_EQ(posted[base + 2].name, QStringLiteral("QOVAIOHIDDeviceMatchInformation"));
        EXPECT_EQ(manager->findDevice("VSK-7"), nullptr);
        backend->unplugHid(marker);
        ASSERT_TRUE(recorder.waitForCount(base + 4));
    }
}

// ---------------------------------------------------------------------------
// Re-plug and departures.

TEST_F(DiscoveryTest, SameHandleKeepsTheEntryANewHandleReplacesIt)
{
    start();
    Recorder recorder;
    const int id = plugOrbrin("ORB-1");
    ASSERT_TRUE(recorder.waitForCount(1));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("ORB-1") != nullptr; }));
    const QOVABaseUSBDeviceRef first = manager->findDevice("ORB-1");

    // The same handle reported again: announced, list unchanged.
    backend->rereportHid(id);
    ASSERT_TRUE(recorder.waitForCount(2));
    EXPECT_EQ(recorder.matches().size(), 2u);
    QCoreApplication::processEvents();
    EXPECT_EQ(manager->findDevice("ORB-1"), first);
    EXPECT_EQ(manager->deviceMutableArray().size(), 1);

    // The same serial under a new handle (a re-plug whose departure was
    // missed): the old entry goes, a fresh one takes its place.
    const int again = backend->plugHid(hidIdentity(0x6E17, "ORB-1", "Zentaro Halvex"));
    ASSERT_TRUE(recorder.waitForCount(3));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("ORB-1") != first; }));
    const auto list = manager->deviceMutableArray();
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0]->model()->deviceRef(), backend->hidHandle(again));
}

TEST_F(DiscoveryTest, RunModeDeparturePostsFourKeysAndRemovesTheEntry)
{
    start();
    Recorder recorder;
    const int id = backend->plugHid(hidIdentity(0x6E12, "VSK-5.77", "Skarnfel Tolm USB"));
    ASSERT_TRUE(recorder.waitForCount(1));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("VSK-5") != nullptr; }));

    backend->unplugHid(id);
    ASSERT_TRUE(recorder.waitForCount(2));
    const Posted removal = recorder.posted().back();
    EXPECT_EQ(removal.name, QLatin1String("QOVAIOHIDDeviceRemoveNotification"));
    EXPECT_TRUE(removal.onMainThread);
    EXPECT_EQ(removal.userInfo,
              info({{"productManufacturer", "Zentaro"}, {"productName", "Skarnfel Tolm USB"},
                    {"productSeriaNumber", "VSK-5"}, {"productID", "6e12"}}));
    EXPECT_TRUE(manager->deviceMutableArray().isEmpty());

    // A departure of a serial that is not listed is still announced.
    const int stranger = backend->plugHid(hidIdentity(0x5C01, "PRK-1", "KRD mini", 0x105));
    ASSERT_TRUE(recorder.waitForCount(3));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("PRK-1") != nullptr; }));
    manager->findDevice("PRK-1")->model()->setProductseriaNumber("renamed");
    backend->unplugHid(stranger);
    ASSERT_TRUE(recorder.waitForCount(4));
    EXPECT_EQ(recorder.removals().size(), 2u);
    EXPECT_EQ(manager->deviceMutableArray().size(), 1);
}

TEST_F(DiscoveryTest, DepartureOfAnEarlierArrivalLeavesTheDeviceListed)
{
    start();
    Recorder recorder;
    // The HID thread sees a re-plug's arrival before the old departure.
    const int oldHandle = plugOrbrin("ORB-1");
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("ORB-1") != nullptr; }));
    const int newHandle = backend->plugHid(hidIdentity(0x6E17, "ORB-1", "Zentaro Halvex"));
    ASSERT_TRUE(waitUntil([&] {
        auto entry = manager->findDevice("ORB-1");
        return entry && entry->model()->deviceRef() == backend->hidHandle(newHandle);
    }));
    backend->unplugHid(oldHandle);
    // The DFU thread reports a DFU-mode departure after the device is listed
    // in run mode again.
    manager->deviceRemovalResult(QStringLiteral("Zentaro Halvex DFU"), QStringLiteral("Zentaro"),
                                 QStringLiteral("ORB-1"), QStringLiteral("6e18"), 0x100u,
                                 QStringLiteral("1d5c"));
    // A later event on the HID thread shows the departure has been handled.
    backend->plugHid(hidIdentity(0x5C01, "PRK-1", "KRD mini", 0x105));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("PRK-1") != nullptr; }));
    ASSERT_TRUE(manager->findDevice("ORB-1"));
    EXPECT_EQ(manager->findDevice("ORB-1")->model()->deviceRef(), backend->hidHandle(newHandle));
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.removals().empty());

    // The departure of the handle that is listed still removes it.
    backend->unplugHid(newHandle);
    ASSERT_TRUE(waitUntil([&] { return recorder.removals().size() == 1; }));
    EXPECT_EQ(manager->findDevice("ORB-1"), nullptr);
}

// ---------------------------------------------------------------------------
// DFU mode.

struct DfuArrivalCase {
    const char *label;
    uint16_t productId;
    QString serial;
    QString productName;
    uint16_t bcdDevice;
    std::map<uint8_t, QString> strings;
    QVariantMap expected;
};

TEST_F(DiscoveryTest, DfuModeArrivalAndDepartureUserInfo)
{
    const std::map<uint8_t, QString> strings{{0x58, "3.1.4"}, {0x59, "Lobby"}};
    const std::vector<DfuArrivalCase> cases = {
        {"orbrin", 0x6E18, "ORB-1", "Zentaro Halvex DFU", 0x0100, strings,
         info({{"productManufacturer", "Zentaro"}, {"productName", "Zentaro Halvex"},
               {"productSeriaNumber", "ORB-1"}, {"productID", "6e18"},
               {"productVersion", "3.1.4"}, {"productVID", "1d5c"},
               {"productDeviceName", "Lobby"}})},
        {"vasko, descriptors unreadable", 0x6E13, "VSK-1.3", "Skarnfel DFU Tolm USB DFU", 0x0100, {},
         info({{"productManufacturer", "Zentaro"}, {"productName", "Skarnfel Tolm USB"},
               {"productSeriaNumber", "VSK-1"}, {"productID", "6e13"},
               {"productVersion", "0"}, {"productVID", "1d5c"},
               {"productDeviceName", ""}})},
        {"pirok", 0x5C02, "PRK-1", "KRD mini DFU", 0x0105, strings,
         info({{"productManufacturer", "Zentaro"}, {"productName", "KRD mini"},
               {"productSeriaNumber", "PRK-1"}, {"productID", "5c02"},
               {"productVersion", "1.0.5"}, {"productVID", "1d5c"},
               {"productDeviceName", ""}})},
    };
    start();
    Recorder recorder;
    for (const DfuArrivalCase &c : cases) {
        SCOPED_TRACE(c.label);
        auto device = dfuUsb(c.productId, c.serial, c.productName, c.bcdDevice, c.strings);
        const size_t before = recorder.count();
        backend->bus().plug(device);
        ASSERT_TRUE(recorder.waitForCount(before + 1));
        Posted posted = recorder.posted().back();
        EXPECT_EQ(posted.name, QLatin1String(kMatch));
        EXPECT_TRUE(posted.onMainThread);
        EXPECT_EQ(posted.userInfo, c.expected);

        const QString serial = c.expected.value("productSeriaNumber").toString();
        ASSERT_TRUE(waitUntil([&] { return modelOf(serial) != nullptr; }));
        const QOVADeviceModelRef model = modelOf(serial);
        EXPECT_TRUE(model->isDfuDevice());
        EXPECT_FALSE(model->isUpdate());
        EXPECT_EQ(model->productName(), c.productName);  // as the device gave it
        EXPECT_EQ(model->deviceRef(), nullptr);
        EXPECT_EQ(model->interface(), nullptr);

        backend->bus().unplug(device);
        ASSERT_TRUE(recorder.waitForCount(before + 2));
        posted = recorder.posted().back();
        EXPECT_EQ(posted.name, QLatin1String("QOVAIOHIDDeviceRemoveNotification"));
        EXPECT_EQ(posted.userInfo,
                  info({{"productManufacturer", "Zentaro"}, {"productName", c.productName},
                        {"productSeriaNumber", serial},
                        {"productID", c.expected.value("productID")},
                        {"productVersion", uint32_t(c.bcdDevice)}, {"productVID", "1d5c"}}));
        EXPECT_EQ(posted.userInfo.value("productVersion").typeId(), QMetaType::UInt);
        EXPECT_EQ(modelOf(serial), nullptr);
    }
}

TEST_F(DiscoveryTest, DeviceBeingFlashedSurvivesLeavingRunModeAndSwapsItsModel)
{
    start();
    Recorder recorder;
    const int hid = plugOrbrin("ORB-1");
    ASSERT_TRUE(recorder.waitForCount(1));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("ORB-1") != nullptr; }));
    const QOVABaseUSBDeviceRef entry = manager->findDevice("ORB-1");
    const QOVADeviceModelRef runModel = entry->model();
    runModel->setUpdating(true);  // as the flashing entry does

    // Detach: the run-mode interface leaves; nothing is posted or removed.
    backend->unplugHid(hid);
    // It comes back in DFU mode under the same serial.
    auto dfu = dfuUsb(0x6E18, "ORB-1", "Zentaro Halvex DFU", 0x100, {{0x58, "1.2.3"}});
    backend->bus().plug(dfu);
    ASSERT_TRUE(recorder.waitForCount(2));
    EXPECT_EQ(recorder.matches().size(), 2u);
    EXPECT_TRUE(recorder.removals().empty());
    ASSERT_TRUE(waitUntil([&] { return entry->model() != runModel; }));
    ASSERT_EQ(manager->deviceMutableArray().size(), 1);
    EXPECT_EQ(manager->findDevice("ORB-1"), entry);
    EXPECT_TRUE(entry->model()->isDfuDevice());
    EXPECT_TRUE(entry->model()->isUpdate());

    // Departing DFU mode while still updating: ignored too.
    backend->bus().unplug(dfu);
    // The DFU thread handles this second device after that departure.
    backend->bus().plug(dfuUsb(0x5C02, "PRK-2", "KRD mini DFU", 0x105));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("PRK-2") != nullptr; }));
    EXPECT_EQ(manager->findDevice("ORB-1"), entry);
    EXPECT_TRUE(recorder.removals().empty());
}

// The DFU thread falls behind: the device goes to DFU mode and back to run
// mode, the HID thread lists it again, and only then does the DFU thread come
// to the DFU-mode arrival and departure.
TEST_F(DiscoveryTest, LateDfuArrivalAfterTheDeviceIsBackInRunModeChangesNothing)
{
    start();
    Recorder recorder;
    const int oldHid = plugOrbrin("ORB-1");
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("ORB-1") != nullptr; }));
    manager->findDevice("ORB-1")->model()->setUpdating(true);  // as the flashing entry does

    backend->bus().hold();
    backend->unplugHid(oldHid);
    auto dfu = dfuUsb(0x6E18, "ORB-1", "Zentaro Halvex DFU", 0x100, {{0x58, "1.2.3"}});
    backend->bus().plug(dfu);
    backend->bus().unplug(dfu);
    backend->bus().plug(runModeUsb(0x6E17, "ORB-1", QStringLiteral("1.2.4"), QStringLiteral("Room 1")));
    const int newHid = backend->plugHid(hidIdentity(0x6E17, "ORB-1", QStringLiteral("Zentaro Halvex")));
    ASSERT_TRUE(waitUntil([&] {
        auto entry = manager->findDevice("ORB-1");
        return entry && entry->model()->deviceRef() == backend->hidHandle(newHid);
    }));
    const QOVABaseUSBDeviceRef entry = manager->findDevice("ORB-1");
    const QOVADeviceModelRef runModel = entry->model();
    ASSERT_TRUE(recorder.waitForCount(2));

    backend->bus().release();
    // A later device on the DFU thread shows both late notices are handled.
    backend->bus().plug(dfuUsb(0x5C02, "PRK-2", "KRD mini DFU", 0x105));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("PRK-2") != nullptr; }));
    QCoreApplication::processEvents();

    EXPECT_EQ(manager->findDevice("ORB-1"), entry);
    EXPECT_EQ(entry->model(), runModel);
    EXPECT_FALSE(entry->model()->isDfuDevice());
    EXPECT_TRUE(recorder.removals().empty());
    // The last word on the device is its run-mode arrival.
    QString lastProductId;
    for (const Posted &posted : recorder.posted()) {
        if (posted.userInfo.value("productSeriaNumber") == QLatin1String("ORB-1"))
            lastProductId = posted.userInfo.value("productID").toString();
    }
    EXPECT_EQ(lastProductId, QStringLiteral("6e17"));
}

// The flash has ended (the device restarted in run mode and the updating
// mark is cleared) before the DFU thread comes to the DFU-mode departure, and
// before the HID thread lists the device again.
TEST_F(DiscoveryTest, LateDfuDepartureAfterTheFlashEndedKeepsTheDeviceListed)
{
    start();
    Recorder recorder;
    const int oldHid = plugOrbrin("ORB-1");
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("ORB-1") != nullptr; }));
    const QOVABaseUSBDeviceRef entry = manager->findDevice("ORB-1");
    entry->model()->setUpdating(true);  // as the flashing entry does
    backend->unplugHid(oldHid);
    auto dfu = dfuUsb(0x6E18, "ORB-1", "Zentaro Halvex DFU", 0x100, {{0x58, "1.2.3"}});
    backend->bus().plug(dfu);
    ASSERT_TRUE(waitUntil([&] { return entry->model()->isDfuDevice(); }));

    backend->bus().hold();
    backend->bus().unplug(dfu);
    backend->bus().plug(runModeUsb(0x6E17, "ORB-1", QStringLiteral("1.2.4"), QStringLiteral("Room 1")));
    entry->model()->setUpdating(false);  // as the end of the flash does
    backend->bus().release();
    // A later device on the DFU thread shows the departure is handled.
    backend->bus().plug(dfuUsb(0x5C02, "PRK-2", "KRD mini DFU", 0x105));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("PRK-2") != nullptr; }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.removals().empty());

    const int newHid = backend->plugHid(hidIdentity(0x6E17, "ORB-1", QStringLiteral("Zentaro Halvex")));
    ASSERT_TRUE(waitUntil([&] {
        auto listed = manager->findDevice("ORB-1");
        return listed && listed->model()->deviceRef() == backend->hidHandle(newHid);
    }));
    EXPECT_FALSE(manager->findDevice("ORB-1")->model()->isDfuDevice());
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.removals().empty());
}

// The DFU thread's presence checks scan the whole bus; they do so without
// the device list's lock, which every request takes: a request made while
// a scan is under way is answered before the scan ends.
TEST_F(DiscoveryTest, PresenceScansOfTheDfuThreadLeaveTheDeviceListFree)
{
    start();
    auto usb = runModeUsb(0x6E17, "ORB-1", QStringLiteral("1.2.3"), QStringLiteral("Room 1"));
    backend->bus().plug(usb);
    const int hid = backend->plugHid(hidIdentity(0x6E17, "ORB-1", QStringLiteral("Zentaro Halvex")));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("ORB-1") != nullptr; }));

    std::mutex mutex;
    std::vector<std::future<void>> requests;  // ended after the test, whatever happens
    int scans = 0;
    int heldUp = 0;
    QThread *const mainThread = QThread::currentThread();
    auto hook = scanHook([&] {
        if (QThread::currentThread() == mainThread)
            return;
        // A request from another thread while this scan is under way.
        auto request = std::async(std::launch::async, [&] { manager->deviceMutableArray(); });
        const bool answered = request.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        std::lock_guard<std::mutex> lock(mutex);
        ++scans;
        if (!answered)
            ++heldUp;
        requests.push_back(std::move(request));
    });

    // To DFU mode and away: an arrival and a departure on the DFU thread.
    backend->unplugHid(hid);
    backend->bus().unplug(usb);
    auto dfu = dfuUsb(0x6E18, "ORB-1", "Zentaro Halvex DFU", 0x100, {{0x58, "1.2.3"}});
    backend->bus().plug(dfu);
    ASSERT_TRUE(waitUntil([&] {
        auto entry = manager->findDevice("ORB-1");
        return entry && entry->model()->isDfuDevice();
    }));
    backend->bus().unplug(dfu);
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("ORB-1") == nullptr; }));
    hook.reset();  // no scan is under way from here on: the tally is complete

    std::lock_guard<std::mutex> lock(mutex);
    for (auto &request : requests)
        request.wait();
    EXPECT_GE(scans, 2);
    EXPECT_EQ(heldUp, 0);
}

// The presence scan of a DFU-mode arrival finds the device still there, and
// before the report takes the list's lock the device leaves DFU mode and the
// HID thread lists it in run mode: the arrival is looked at again and found
// gone, so the run-mode entry stays.
TEST_F(DiscoveryTest, RunModeListingDuringTheScanOfALateDfuArrivalKeepsTheRunModeEntry)
{
    start();
    Recorder recorder;
    const int oldHid = plugOrbrin("ORB-1");
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("ORB-1") != nullptr; }));
    manager->findDevice("ORB-1")->model()->setUpdating(true);  // as the flashing entry does
    backend->unplugHid(oldHid);

    auto dfu = dfuUsb(0x6E18, "ORB-1", "Zentaro Halvex DFU", 0x100, {{0x58, "1.2.3"}});
    std::atomic<bool> armed{true};
    std::atomic<int> newHid{-1};
    QThread *const mainThread = QThread::currentThread();
    auto hook = scanHook([&] {
        if (QThread::currentThread() == mainThread || !armed.exchange(false))
            return;
        // This scan has seen the DFU-mode device; now it goes back to run
        // mode and the HID thread lists it.
        backend->bus().unplug(dfu);
        backend->bus().plug(runModeUsb(0x6E17, "ORB-1", QStringLiteral("1.2.4"), QStringLiteral("Room 1")));
        newHid = backend->plugHid(hidIdentity(0x6E17, "ORB-1", QStringLiteral("Zentaro Halvex")));
        for (int i = 0; i < 10000; ++i) {
            auto entry = manager->findDevice("ORB-1");
            if (entry && entry->model()->deviceRef() == backend->hidHandle(newHid))
                break;
            QThread::msleep(1);
        }
    });
    backend->bus().plug(dfu);
    ASSERT_TRUE(waitUntil([&] { return !armed && newHid >= 0; }));
    // A later device on the DFU thread shows the arrival has been handled.
    backend->bus().plug(dfuUsb(0x5C02, "PRK-2", "KRD mini DFU", 0x105));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("PRK-2") != nullptr; }));
    QCoreApplication::processEvents();

    const QOVABaseUSBDeviceRef entry = manager->findDevice("ORB-1");
    ASSERT_TRUE(entry);
    EXPECT_FALSE(entry->model()->isDfuDevice());
    EXPECT_EQ(entry->model()->deviceRef(), backend->hidHandle(newHid));
    QString lastProductId;
    for (const Posted &posted : recorder.posted()) {
        if (posted.userInfo.value("productSeriaNumber") == QLatin1String("ORB-1"))
            lastProductId = posted.userInfo.value("productID").toString();
    }
    EXPECT_EQ(lastProductId, QStringLiteral("6e17"));
}

TEST_F(DiscoveryTest, DfuArrivalOfAListedDeviceNotBeingFlashedCanStillLeave)
{
    start();
    Recorder recorder;
    auto usb = runModeUsb(0x6E17, "ORB-1", QStringLiteral("1.2.3"), QStringLiteral("Room 1"));
    backend->bus().plug(usb);
    backend->plugHid(hidIdentity(0x6E17, "ORB-1", QStringLiteral("Zentaro Halvex")));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("ORB-1") != nullptr; }));
    const QOVABaseUSBDeviceRef entry = manager->findDevice("ORB-1");

    // Seen in DFU mode before its run-mode departure came through.
    backend->bus().unplug(usb);
    auto dfu = dfuUsb(0x6E18, "ORB-1", "Zentaro Halvex DFU", 0x100);
    backend->bus().plug(dfu);
    ASSERT_TRUE(waitUntil([&] { return entry->model()->isDfuDevice(); }));
    EXPECT_FALSE(entry->model()->isUpdate());
    backend->bus().unplug(dfu);
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("ORB-1") == nullptr; }));
}

TEST_F(DiscoveryTest, DevicesPresentAtStartAreAllReportedPastANormalOne)
{
    // Batch at start: a device with only the run-time DFU interface sits
    // between DFU-mode devices; it is skipped alone.
    backend->bus().add(dfuUsb(0x6E13, "VSK-1.1", "Skarnfel Tolm USB DFU", 0x100, {}, 2));
    backend->bus().add(dfuUsb(0x6E18, "ORB-N", "Zentaro Halvex", 0x100, {}, 1));
    backend->bus().add(dfuUsb(0x5C02, "PRK-2", "KRD mini DFU", 0x105, {}, 2));
    backend->bus().add(dfuUsb(0x6E18, "ORB-3", "Zentaro Halvex DFU", 0x100, {}, 2));
    Recorder recorder;
    start();
    ASSERT_TRUE(recorder.waitForCount(3));
    ASSERT_TRUE(waitUntil([&] { return manager->deviceMutableArray().size() == 3; }));
    QSet<QString> serials;
    for (const auto &device : manager->deviceMutableArray())
        serials.insert(device->model()->productseriaNumber());
    EXPECT_EQ(serials, (QSet<QString>{"VSK-1", "PRK-2", "ORB-3"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.count(), 3u);
}

TEST_F(DiscoveryTest, ReopenAnnouncesEveryDeviceAgainWithFreshEntries)
{
    start();
    Recorder recorder;
    plugOrbrin("ORB-1");
    backend->plugHid(hidIdentity(0x5C01, "PRK-1", "KRD mini", 0x105));
    ASSERT_TRUE(recorder.waitForCount(2));
    ASSERT_TRUE(waitUntil([&] { return manager->deviceMutableArray().size() == 2; }));
    const QList<QOVABaseUSBDeviceRef> before = manager->deviceMutableArray();

    manager->reopen();  // from the main thread, as after closing the conflicting client
    ASSERT_TRUE(recorder.waitForCount(4));
    EXPECT_EQ(recorder.matches().size(), 4u);
    ASSERT_TRUE(waitUntil([&] {
        const auto now = manager->deviceMutableArray();
        return now.size() == 2 && !now.contains(before[0]) && !now.contains(before[1]);
    }));
    EXPECT_EQ(backend->openManagers(), 1);
    // From now on the main thread serves the HID manager.
    backend->plugHid(hidIdentity(0x6E12, "VSK-1.1", "Skarnfel Tolm USB"));
    ASSERT_TRUE(waitUntil([&] { return manager->findDevice("VSK-1") != nullptr; }));
}

// ---------------------------------------------------------------------------
// Many devices at once, from another thread.

TEST_F(DiscoveryTest, BurstOfTwentyDevicesFromAnotherThreadLeavesAConsistentList)
{
    start();
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Recorder recorder;
        std::vector<int> hidIds(20);
        std::vector<platform::UsbDeviceRef> dfu;
        QThread *burst = QThread::create([&] {
            for (int i = 0; i < 20; ++i) {
                const QString serial = QStringLiteral("R%1-%2").arg(round).arg(i);
                if (i % 4 == 3) {
                    dfu.push_back(dfuUsb(0x5C02, serial, "KRD mini DFU", 0x105));
                    backend->bus().plug(dfu.back());
                } else {
                    hidIds[size_t(i)] =
                        backend->plugHid(hidIdentity(0x6E12, serial + ".1", "Skarnfel Tolm USB"));
                }
            }
            // Half of them leave again at once.
            for (int i = 0; i < 20; i += 2) {
                if (i % 4 == 3)
                    continue;
                backend->unplugHid(hidIds[size_t(i)]);
            }
            backend->bus().unplug(dfu[0]);
        });
        burst->start();
        // Meanwhile the main thread looks devices up.
        while (!burst->isFinished()) {
            for (int i = 0; i < 20; ++i)
                manager->findDevice(QStringLiteral("R%1-%2").arg(round).arg(i));
            QCoreApplication::processEvents();
        }
        burst->wait();
        delete burst;

        // A later device on the DFU thread shows that thread has caught up.
        const QString sentinel = QStringLiteral("S%1").arg(round);
        backend->bus().plug(dfuUsb(0x5C02, sentinel, "KRD mini DFU", 0x105));
        auto about = [](const std::vector<Posted> &list, const QString &serial) {
            return std::count_if(list.begin(), list.end(), [&](const Posted &p) {
                return p.userInfo.value("productSeriaNumber").toString() == serial;
            });
        };
        ASSERT_TRUE(waitUntil([&] { return about(recorder.matches(), sentinel) == 1; }));
        // The DFU device that leaves at once may be gone before the DFU
        // thread comes to it: then neither its arrival nor its departure is
        // told. Otherwise both are.
        const QString quick = QStringLiteral("R%1-3").arg(round);
        const auto quickArrivals = about(recorder.matches(), quick);
        EXPECT_LE(quickArrivals, 1);
        // 19 arrivals, 10 run-mode departures and the later device, with the
        // quick one's pair when it was seen.
        ASSERT_TRUE(recorder.waitForCount(size_t(30 + 2 * quickArrivals)))
            << recorder.matches().size() << " arrivals, " << recorder.removals().size() << " removals";
        EXPECT_EQ(about(recorder.removals(), quick), quickArrivals);
        QSet<QString> expected;
        for (int i = 0; i < 20; ++i) {
            const bool dfuDevice = i % 4 == 3;
            const bool left = dfuDevice ? i == 3 : i % 2 == 0;
            if (!left)
                expected.insert(QStringLiteral("R%1-%2").arg(round).arg(i));
        }
        ASSERT_TRUE(waitUntil([&] {
            QSet<QString> listed;
            for (const auto &device : manager->deviceMutableArray())
                if (device->model()->productseriaNumber().startsWith(QStringLiteral("R%1-").arg(round)))
                    listed.insert(device->model()->productseriaNumber());
            return listed == expected;
        }));
        int entries = 0;
        for (const auto &device : manager->deviceMutableArray())
            entries += device->model()->productseriaNumber().startsWith(QStringLiteral("R%1-").arg(round));
        EXPECT_EQ(entries, expected.size());
    }
}

} // namespace
