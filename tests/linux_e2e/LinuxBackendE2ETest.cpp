// The Linux backend against devices on an emulated kernel: udev enumeration
// and uevents, hidraw feature and input reports, libusb requests.
#include "TestDevice.h"
#include "UmockdevBus.h"

#include "platform/TimeScale.h"
#include "platform/linux/LinuxBackend.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

using namespace platform;
using e2e::PluggedDevice;
using e2e::TestDevice;
using e2e::UmockdevBus;

namespace {

// Runs the event loop until the condition holds or a generous limit passes.
bool waitFor(const std::function<bool()> &condition, int limitMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

void runEventsFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

QString decodeString(const uint8_t *data, int length)
{
    if (length < 2 || data[1] != 3)
        return {};
    QString out;
    for (int i = 2; i + 1 < std::min(length, int(data[0])); i += 2)
        out.append(QChar(char16_t(data[i] | data[i + 1] << 8)));
    return out;
}

// Collects what a HID manager reports.
struct HidRecorder {
    std::vector<HidDeviceRef> matched;
    std::vector<HidDeviceRef> removed;

    void attach(HidManager &manager)
    {
        manager.setDeviceMatching({{0x1D5C, 0x6E17}, {0x1D5C, 0x5C01}, {0x1D5C, 0x6E12}});
        manager.setCallbacks([this](const HidDeviceRef &d) { matched.push_back(d); },
                             [this](const HidDeviceRef &d) { removed.push_back(d); });
    }

    std::vector<HidDeviceRef> matchedWithSerial(const QString &serial) const
    {
        std::vector<HidDeviceRef> out;
        for (const HidDeviceRef &d : matched) {
            if (d->identity().serialNumber == serial)
                out.push_back(d);
        }
        return out;
    }
};

class LinuxBackendE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString whyNot;
        if (!UmockdevBus::available(&whyNot))
            GTEST_SKIP() << "umockdev cannot run here: " << qPrintable(whyNot);
        setTimeScale(0.01);
        bus = &UmockdevBus::instance();
        backend = createLinuxBackend();
    }

    void TearDown() override
    {
        for (const PluggedDevice &p : plugged)
            bus->unplug(p);
    }

    PluggedDevice plug(std::shared_ptr<TestDevice> device, bool announce = true)
    {
        plugged.push_back(bus->plug(std::move(device), announce));
        return plugged.back();
    }

    void unplug(const PluggedDevice &device)
    {
        bus->unplug(device);
        for (auto it = plugged.begin(); it != plugged.end(); ++it) {
            if (it->usbSyspath == device.usbSyspath) {
                plugged.erase(it);
                break;
            }
        }
    }

    UmockdevBus *bus = nullptr;
    std::unique_ptr<Backend> backend;
    std::vector<PluggedDevice> plugged;
};

} // namespace

TEST_F(LinuxBackendE2E, StartUpEnumerationReportsEachHidInterfaceWithItsIdentity)
{
    auto orbrin = std::make_shared<TestDevice>(TestDevice::Kind::Orbrin, "OR-START-1");
    auto vasko = std::make_shared<TestDevice>(TestDevice::Kind::Vasko, "VS1234.01");
    auto pirok = std::make_shared<TestDevice>(TestDevice::Kind::Pirok, "PK-START-1");
    const PluggedDevice o = plug(orbrin, false);
    plug(vasko, false);
    plug(pirok, false);

    HidRecorder recorder;
    std::unique_ptr<HidManager> manager = backend->createHidManager();
    recorder.attach(*manager);
    ASSERT_EQ(manager->open(), 0);
    // Devices present at start are reported from open() itself.
    ASSERT_EQ(recorder.matchedWithSerial("OR-START-1").size(), 1u);

    const HidIdentity orbrinId = recorder.matchedWithSerial("OR-START-1")[0]->identity();
    EXPECT_EQ(orbrinId.vendorId, 0x1D5Cu);
    EXPECT_EQ(orbrinId.productId, 0x6E17u);
    EXPECT_EQ(orbrinId.versionNumber, 0x0100u);
    EXPECT_EQ(orbrinId.primaryUsagePage, 0xFFA0u);
    EXPECT_EQ(orbrinId.manufacturer, QStringLiteral("Zentaro"));
    EXPECT_EQ(orbrinId.product, QStringLiteral("Zentaro Halvex"));
    EXPECT_EQ(orbrinId.locationId, 0x01000000u | (uint32_t(o.deviceAddress & 0x0F) << 20));
    EXPECT_EQ(orbrinId.path, o.hidrawNodes[0]);

    // The camera's second interface is reported with its own usage page;
    // telling them apart is discovery's business.
    const std::vector<HidDeviceRef> vaskoIds = recorder.matchedWithSerial("VS1234.01");
    ASSERT_EQ(vaskoIds.size(), 2u);
    EXPECT_EQ(vaskoIds[0]->identity().primaryUsagePage + vaskoIds[1]->identity().primaryUsagePage,
              0xFFA0u + 0xFF00u);

    const std::vector<HidDeviceRef> pirokIds = recorder.matchedWithSerial("PK-START-1");
    ASSERT_EQ(pirokIds.size(), 1u);
    EXPECT_EQ(pirokIds[0]->identity().versionNumber, 0x1203u);

    // The USB side of the same devices, with their configurations.
    bool sawOrbrin = false;
    for (const UsbDeviceRef &device : backend->usbBus().devices()) {
        const UsbDeviceInfo info = device->info();
        if (info.serialNumber != QStringLiteral("OR-START-1"))
            continue;
        sawOrbrin = true;
        EXPECT_EQ(info.usbSerialNumber, info.serialNumber);
        EXPECT_EQ(info.productName, QStringLiteral("Zentaro Halvex"));
        EXPECT_EQ(info.vendorName, QStringLiteral("Zentaro"));
        EXPECT_EQ(info.productId, 0x6E17);
        EXPECT_EQ(info.locationId, orbrinId.locationId);
        ASSERT_EQ(info.interfaces.size(), 4u);
        EXPECT_EQ(info.interfaces[3].interfaceClass, 0xFE);
        EXPECT_EQ(info.interfaces[3].interfaceProtocol, 1);
        EXPECT_EQ(info.interfaces[3].extra.size(), 9);
    }
    EXPECT_TRUE(sawOrbrin);
    manager->close();
}

TEST_F(LinuxBackendE2E, HotPlugEventsReachTheManagersAndARemovalKeepsTheIdentity)
{
    HidRecorder recorder;
    std::unique_ptr<HidManager> manager = backend->createHidManager();
    recorder.attach(*manager);
    ASSERT_EQ(manager->open(), 0);
    std::vector<UsbDeviceRef> arrived;
    std::vector<UsbDeviceRef> left;
    auto watch = backend->usbBus().watch([&](const UsbDeviceRef &d) { arrived.push_back(d); },
                                         [&](const UsbDeviceRef &d) { left.push_back(d); });

    auto device = std::make_shared<TestDevice>(TestDevice::Kind::Orbrin, "OR-HOT-1");
    const PluggedDevice p = plug(device);
    ASSERT_TRUE(waitFor([&] { return !recorder.matchedWithSerial("OR-HOT-1").empty(); }));
    ASSERT_TRUE(waitFor([&] { return !arrived.empty(); }));
    EXPECT_EQ(arrived[0]->info().serialNumber, QStringLiteral("OR-HOT-1"));
    EXPECT_EQ(arrived[0]->info().productId, 0x6E17);

    unplug(p);
    ASSERT_TRUE(waitFor([&] { return !recorder.removed.empty() && !left.empty(); }));
    ASSERT_EQ(recorder.removed.size(), 1u);
    EXPECT_EQ(recorder.removed[0], recorder.matchedWithSerial("OR-HOT-1")[0]);
    EXPECT_EQ(recorder.removed[0]->identity().serialNumber, QStringLiteral("OR-HOT-1"));
    EXPECT_EQ(recorder.removed[0]->identity().product, QStringLiteral("Zentaro Halvex"));
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0]->info().serialNumber, QStringLiteral("OR-HOT-1"));
    EXPECT_EQ(left[0]->info().bcdDevice, 0x0100);

    // Requests on the departed device fail at once.
    uint8_t report[257] = {6};
    EXPECT_EQ(recorder.removed[0]->setFeatureReport(report, sizeof report), -ENODEV);
    watch.reset();
    manager->close();
}

TEST_F(LinuxBackendE2E, FeatureReportsRoundTripAndInputReportsArriveOneByOne)
{
    auto device = std::make_shared<TestDevice>(TestDevice::Kind::Vasko, "VS-FEAT.02");
    const PluggedDevice p = plug(device, false);
    HidRecorder recorder;
    std::unique_ptr<HidManager> manager = backend->createHidManager();
    recorder.attach(*manager);
    ASSERT_EQ(manager->open(), 0);
    HidDeviceRef hid;
    for (const HidDeviceRef &d : recorder.matchedWithSerial("VS-FEAT.02")) {
        if (d->identity().primaryUsagePage != 0xFF00)
            hid = d;
    }
    ASSERT_TRUE(hid);

    // A full 257-byte frame: id 6 in byte 0, the length counts it.
    uint8_t frame[257];
    frame[0] = 6;
    for (int i = 1; i < 257; ++i)
        frame[i] = uint8_t(i * 7);
    ASSERT_EQ(hid->setFeatureReport(frame, sizeof frame), 0);
    EXPECT_EQ(device->featureReportsSet(), 1);

    uint8_t readBack[257] = {};
    size_t actual = 0;
    ASSERT_EQ(hid->getFeatureReport(6, readBack, sizeof readBack, &actual), 0);
    EXPECT_EQ(actual, 257u);
    EXPECT_EQ(QByteArray(reinterpret_cast<char *>(readBack), 257),
              QByteArray(reinterpret_cast<char *>(frame), 257));

    std::vector<QByteArray> inputs;
    QThread *deliveredOn = nullptr;
    hid->setInputReportHandler([&](const uint8_t *data, size_t length) {
        inputs.emplace_back(reinterpret_cast<const char *>(data), qsizetype(length));
        deliveredOn = QThread::currentThread();
    });
    device->inputReportSink(0, QByteArray("\x09\x01\x34\x12", 4));
    device->inputReportSink(0, QByteArray("\x09\x02\x00\x00", 4));
    ASSERT_TRUE(waitFor([&] { return inputs.size() >= 2; }));
    EXPECT_EQ(inputs[0].toHex(), QByteArray("09013412"));
    EXPECT_EQ(inputs[1].toHex(), QByteArray("09020000"));
    EXPECT_EQ(deliveredOn, QThread::currentThread());  // the manager's thread

    hid->setInputReportHandler({});
    device->inputReportSink(0, QByteArray("\x09\x03\x00\x00", 4));
    runEventsFor(20);
    EXPECT_EQ(inputs.size(), 2u);
    manager->close();
}

TEST_F(LinuxBackendE2E, StringDescriptorsAndControlRequestsGoThroughLibusb)
{
    auto device = std::make_shared<TestDevice>(TestDevice::Kind::Orbrin, "OR-STR-1");
    device->firmwareVersion = QStringLiteral("3.1.104");
    device->deviceName = QStringLiteral("Board room");
    plug(device);

    UsbDeviceRef usb;
    ASSERT_TRUE(waitFor([&] {
        for (const UsbDeviceRef &d : backend->usbBus().devices()) {
            if (d->info().serialNumber == QStringLiteral("OR-STR-1"))
                usb = d;
        }
        return usb != nullptr;
    }));

    const struct {
        uint8_t index;
        UsbError error;
        QString text;
    } cases[] = {
        {0x58, UsbError::None, QStringLiteral("3.1.104")},
        {0x59, UsbError::None, QStringLiteral("Board room")},
        {0x03, UsbError::None, QStringLiteral("OR-STR-1")},
        {0x77, UsbError::Stall, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.index);
        uint8_t buffer[512] = {};
        int transferred = -1;
        EXPECT_EQ(usb->getStringDescriptor(c.index, 0x0409, buffer, sizeof buffer, &transferred),
                  c.error);
        if (c.error == UsbError::None)
            EXPECT_EQ(decodeString(buffer, transferred), c.text);
        else
            EXPECT_EQ(transferred, 0);
    }

    // More than libusb takes in one transfer is refused before the device.
    std::vector<uint8_t> big(5000);
    UsbSetup setup;
    setup.bmRequestType = 0x80;
    setup.bRequest = 6;
    setup.wValue = 0x0358;
    setup.wIndex = 0x0409;
    setup.wLength = 5000;
    int transferred = -1;
    EXPECT_EQ(usb->controlTransfer(setup, big.data(), 1000, &transferred), UsbError::Other);
    EXPECT_EQ(usb->claimInterface(3), UsbError::None);
    EXPECT_EQ(usb->releaseInterface(3), UsbError::None);
    usb->close();
}

namespace {
// Drops the rights that let root open any file, on this thread only (the
// thread that opens the nodes), so that a node's mode counts.
bool setDacOverride(bool keep)
{
    if (geteuid() != 0)
        return true;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    const uint32_t mask = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    if (keep)
        data[0].effective |= mask & data[0].permitted;
    else
        data[0].effective &= ~mask;
    return syscall(SYS_capset, &header, data) == 0;
}
} // namespace

TEST_F(LinuxBackendE2E, ANodeNotYetAccessibleRightAfterItsAddIsOpenedOnARetry)
{
    const double scale = timeScale();
    setTimeScale(1.0);  // the retries span about a second here
    ASSERT_TRUE(setDacOverride(false)) << "cannot drop CAP_DAC_OVERRIDE";

    HidRecorder recorder;
    std::unique_ptr<HidManager> manager = backend->createHidManager();
    recorder.attach(*manager);
    ASSERT_EQ(manager->open(), 0);

    auto device = std::make_shared<TestDevice>(TestDevice::Kind::Pirok, "PK-EACCES-1");
    const PluggedDevice p = plug(device, false);
    ASSERT_TRUE(bus->setNodeAccessible(p.hidrawNodes[0], false));
    bus->announce(p);

    // The add is seen at once, the open fails and nothing is reported yet.
    runEventsFor(150);
    EXPECT_TRUE(recorder.matchedWithSerial("PK-EACCES-1").empty());

    // The rules land; a retry opens the node.
    ASSERT_TRUE(bus->setNodeAccessible(p.hidrawNodes[0], true));
    EXPECT_TRUE(waitFor([&] { return !recorder.matchedWithSerial("PK-EACCES-1").empty(); }, 3000));

    manager->close();
    setDacOverride(true);
    setTimeScale(scale);
}

namespace {
// A device that stops answering a feature-report read until it is pulled.
class HangingDevice : public TestDevice {
public:
    using TestDevice::TestDevice;

    int getFeatureReport(int, uint8_t *, size_t) override
    {
        std::unique_lock<std::mutex> lock(mutex);
        entered = true;
        changed.notify_all();
        changed.wait(lock, [this] { return pulled; });
        return -ENODEV;  // what the kernel answers a request cut by a disconnect
    }

    void pull()
    {
        std::lock_guard<std::mutex> lock(mutex);
        pulled = true;
        changed.notify_all();
    }

    bool waitEntered()
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [this] { return entered; });
    }

    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false;
    bool pulled = false;
};
} // namespace

TEST_F(LinuxBackendE2E, ANodeThatVanishesDuringARequestFailsItOnceAndReportsTheRemoval)
{
    auto device = std::make_shared<HangingDevice>(TestDevice::Kind::Orbrin, "OR-GONE-1");
    const PluggedDevice p = plug(device, false);
    HidRecorder recorder;
    std::unique_ptr<HidManager> manager = backend->createHidManager();
    recorder.attach(*manager);
    ASSERT_EQ(manager->open(), 0);
    ASSERT_EQ(recorder.matchedWithSerial("OR-GONE-1").size(), 1u);
    HidDeviceRef hid = recorder.matchedWithSerial("OR-GONE-1")[0];

    std::atomic<int> result{1};
    std::thread request([&] {
        uint8_t buffer[257] = {};
        size_t actual = 0;
        result = hid->getFeatureReport(6, buffer, sizeof buffer, &actual);
    });
    ASSERT_TRUE(device->waitEntered());
    unplug(p);
    device->pull();
    request.join();
    EXPECT_EQ(result.load(), -ENODEV);

    ASSERT_TRUE(waitFor([&] { return !recorder.removed.empty(); }));
    runEventsFor(20);
    EXPECT_EQ(recorder.removed.size(), 1u);
    uint8_t frame[257] = {6};
    EXPECT_EQ(hid->setFeatureReport(frame, sizeof frame), -ENODEV);
    manager->close();
}
