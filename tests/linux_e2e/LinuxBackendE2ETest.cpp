// The Linux backend against simulated devices on an emulated kernel: udev
// enumeration and uevents, hidraw input reports, libusb string descriptors
// and requests, the open retry after an add.
#include "E2ESupport.h"

#include "sim/SimDescriptors.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

using namespace platform;
using e2e::LinuxE2ETest;
using e2e::PluggedDevice;
using e2e::runEventsFor;
using e2e::waitFor;

namespace {

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
        std::vector<HidMatch> matches;
        for (sim::Family f : {sim::Family::Orbrin, sim::Family::Vasko, sim::Family::Pirok})
            matches.push_back({sim::kVendorId, sim::runProductId(f)});
        manager.setDeviceMatching(matches);
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

UsbDeviceRef usbWithSerial(UsbBus &bus, const QString &serial)
{
    for (const UsbDeviceRef &d : bus.devices()) {
        if (d->info().serialNumber == serial)
            return d;
    }
    return nullptr;
}

} // namespace

TEST_F(LinuxE2ETest, StartUpEnumerationShowsEachFamilyAsItsDeviceDescribesItself)
{
    auto orbrin = bus->plug(sim::Family::Orbrin, "OR-START-1");
    auto vasko = bus->plug(sim::Family::Vasko, "VS1234.01");
    auto pirok = bus->plug(sim::Family::Pirok, "PK-START-1");
    startKernel();
    const std::optional<PluggedDevice> o = kernel->nodesOf(orbrin);
    ASSERT_TRUE(o);

    HidRecorder recorder;
    std::unique_ptr<HidManager> manager = backend->createHidManager();
    recorder.attach(*manager);
    ASSERT_EQ(manager->open(), 0);
    // Devices present at start are reported from open() itself.
    ASSERT_EQ(recorder.matchedWithSerial("OR-START-1").size(), 1u);

    const HidIdentity orbrinId = recorder.matchedWithSerial("OR-START-1")[0]->identity();
    EXPECT_EQ(orbrinId.vendorId, sim::kVendorId);
    EXPECT_EQ(orbrinId.productId, sim::runProductId(sim::Family::Orbrin));
    EXPECT_EQ(orbrinId.versionNumber, orbrin->bcdDevice());
    EXPECT_EQ(orbrinId.primaryUsagePage, sim::kProtocolUsagePage);
    EXPECT_EQ(orbrinId.manufacturer, orbrin->manufacturer());
    EXPECT_EQ(orbrinId.product, orbrin->productName());
    EXPECT_EQ(orbrinId.path, o->hidrawNodes[0]);

    // The camera's second interface comes with its own usage page; telling
    // them apart is discovery's business.
    const std::vector<HidDeviceRef> vaskoIds = recorder.matchedWithSerial("VS1234.01");
    ASSERT_EQ(vaskoIds.size(), 2u);
    EXPECT_EQ(vaskoIds[0]->identity().primaryUsagePage + vaskoIds[1]->identity().primaryUsagePage,
              uint32_t(sim::kProtocolUsagePage) + sim::kSecondUsagePage);

    const std::vector<HidDeviceRef> pirokIds = recorder.matchedWithSerial("PK-START-1");
    ASSERT_EQ(pirokIds.size(), 1u);
    EXPECT_EQ(pirokIds[0]->identity().versionNumber, pirok->bcdDevice());
    EXPECT_EQ(pirokIds[0]->identity().versionNumber, 0x1203u);

    // The USB side of the same devices: their whole configurations, the
    // same location as their HID interfaces.
    for (const auto &device : {orbrin, vasko, pirok}) {
        SCOPED_TRACE(qPrintable(device->serialNumber()));
        const UsbDeviceRef usb = usbWithSerial(backend->usbBus(), device->serialNumber());
        ASSERT_TRUE(usb);
        const UsbDeviceInfo info = usb->info();
        const sim::SimConfiguration configuration = device->configuration();
        EXPECT_EQ(info.usbSerialNumber, info.serialNumber);
        EXPECT_EQ(info.productName, device->productName());
        EXPECT_EQ(info.vendorName, device->manufacturer());
        EXPECT_EQ(info.productId, device->productId());
        EXPECT_EQ(info.bcdDevice, device->bcdDevice());
        EXPECT_EQ(info.configurationDescriptor, configuration.bytes);
        ASSERT_EQ(info.interfaces.size(), configuration.interfaces.size());
        for (size_t i = 0; i < info.interfaces.size(); ++i) {
            EXPECT_EQ(info.interfaces[i].number, configuration.interfaces[i].number);
            EXPECT_EQ(info.interfaces[i].interfaceClass, configuration.interfaces[i].interfaceClass);
            EXPECT_EQ(info.interfaces[i].extra, configuration.interfaces[i].extra);
        }
        const std::vector<HidDeviceRef> hid = recorder.matchedWithSerial(device->serialNumber());
        ASSERT_FALSE(hid.empty());
        EXPECT_EQ(info.locationId, hid[0]->identity().locationId);
    }
    manager->close();
}

TEST_F(LinuxE2ETest, HotPlugUeventsReachTheManagersAndARemovalKeepsTheIdentity)
{
    startKernel();
    HidRecorder recorder;
    std::unique_ptr<HidManager> manager = backend->createHidManager();
    recorder.attach(*manager);
    ASSERT_EQ(manager->open(), 0);
    std::vector<UsbDeviceRef> arrived;
    std::vector<UsbDeviceRef> left;
    auto watch = backend->usbBus().watch([&](const UsbDeviceRef &d) { arrived.push_back(d); },
                                         [&](const UsbDeviceRef &d) { left.push_back(d); });

    auto device = bus->plug(sim::Family::Vasko, "VS-HOT.07");
    ASSERT_TRUE(waitFor([&] { return recorder.matchedWithSerial("VS-HOT.07").size() == 2; }));
    ASSERT_TRUE(waitFor([&] { return !arrived.empty(); }));
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0]->info().serialNumber, QStringLiteral("VS-HOT.07"));
    EXPECT_EQ(arrived[0]->info().productId, sim::runProductId(sim::Family::Vasko));

    bus->unplug(device);
    ASSERT_TRUE(waitFor([&] { return recorder.removed.size() == 2 && !left.empty(); }));
    runEventsFor(20);
    EXPECT_EQ(recorder.removed.size(), 2u);
    for (const HidDeviceRef &gone : recorder.removed) {
        EXPECT_EQ(gone->identity().serialNumber, QStringLiteral("VS-HOT.07"));
        EXPECT_EQ(gone->identity().product, device->productName());
        // Requests on the departed device fail at once.
        uint8_t report[257] = {6};
        EXPECT_EQ(gone->setFeatureReport(report, sizeof report), -ENODEV);
    }
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0], arrived[0]);
    EXPECT_EQ(left[0]->info().serialNumber, QStringLiteral("VS-HOT.07"));
    int transferred = 0;
    uint8_t buffer[64];
    EXPECT_EQ(left[0]->getStringDescriptor(0x58, 0x0409, buffer, sizeof buffer, &transferred),
              UsbError::NoDevice);

    // Plugged again: a new arrival of the same device.
    bus->plug(sim::Family::Vasko, "VS-HOT.07");
    ASSERT_TRUE(waitFor([&] { return arrived.size() == 2 && recorder.matched.size() == 4; }));
    EXPECT_NE(arrived[1], arrived[0]);
    watch.reset();
    manager->close();
}

TEST_F(LinuxE2ETest, InputReportsArriveOneByOneOnTheManagersThread)
{
    auto device = bus->plug(sim::Family::Orbrin, "OR-INPUT-1");
    startKernel();
    HidRecorder recorder;
    std::unique_ptr<HidManager> manager = backend->createHidManager();
    recorder.attach(*manager);
    ASSERT_EQ(manager->open(), 0);
    ASSERT_EQ(recorder.matchedWithSerial("OR-INPUT-1").size(), 1u);
    HidDeviceRef hid = recorder.matchedWithSerial("OR-INPUT-1")[0];

    std::vector<QByteArray> inputs;
    QThread *deliveredOn = nullptr;
    hid->setInputReportHandler([&](const uint8_t *data, size_t length) {
        inputs.emplace_back(reinterpret_cast<const char *>(data), qsizetype(length));
        deliveredOn = QThread::currentThread();
    });
    device->raiseInputReport(2, 0x1234);
    device->raiseInputReport(2, 5);
    device->raiseInputReport(9, 0);
    ASSERT_TRUE(waitFor([&] { return inputs.size() >= 3; }));
    EXPECT_EQ(inputs[0].toHex(), QByteArray("09023412"));
    EXPECT_EQ(inputs[1].toHex(), QByteArray("09020500"));
    EXPECT_EQ(inputs[2].toHex(), QByteArray("09090000"));
    EXPECT_EQ(deliveredOn, QThread::currentThread());  // the manager's thread

    hid->setInputReportHandler({});
    device->raiseInputReport(2, 6);
    kernel->settle();
    runEventsFor(20);
    EXPECT_EQ(inputs.size(), 3u);
    manager->close();
}

TEST_F(LinuxE2ETest, StringDescriptorsAndRequestsGoThroughLibusb)
{
    startKernel();
    sim::SimDeviceConfig config;
    config.family = sim::Family::Orbrin;
    config.serial = "OR-STR-1";
    config.firmwareVersion = "3.1.104";
    config.deviceName = "Board room";
    auto orbrin = bus->plug(config);
    auto pirok = bus->plug(sim::Family::Pirok, "PK-STR-1");

    // Looked up once their nodes are whole (their "add" uevents are out).
    ASSERT_TRUE(kernel->nodesOf(orbrin) && kernel->nodesOf(pirok));
    const UsbDeviceRef usb = usbWithSerial(backend->usbBus(), "OR-STR-1");
    const UsbDeviceRef pirokUsb = usbWithSerial(backend->usbBus(), "PK-STR-1");
    ASSERT_TRUE(usb && pirokUsb);

    const struct {
        UsbDeviceRef device;
        uint8_t index;
        UsbError error;
        QString text;
    } cases[] = {
        {usb, 0x58, UsbError::None, QStringLiteral("3.1.104")},
        {usb, 0x59, UsbError::None, QStringLiteral("Board room")},
        {usb, 0x03, UsbError::None, QStringLiteral("OR-STR-1")},
        {usb, 0x77, UsbError::Stall, QString()},
        {pirokUsb, 0x58, UsbError::Stall, QString()},   // its version is in bcdDevice
        {pirokUsb, 0x02, UsbError::None, pirok->productName()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.index);
        uint8_t buffer[512] = {};
        int transferred = -1;
        EXPECT_EQ(c.device->getStringDescriptor(c.index, 0x0409, buffer, sizeof buffer, &transferred),
                  c.error);
        if (c.error == UsbError::None)
            EXPECT_EQ(decodeString(buffer, transferred), c.text);
        else
            EXPECT_EQ(transferred, 0);
    }

    // The device's name changes: the next read says so.
    orbrin->setDeviceName("Huddle");
    uint8_t buffer[512] = {};
    int transferred = 0;
    ASSERT_EQ(usb->getStringDescriptor(0x59, 0x0409, buffer, sizeof buffer, &transferred),
              UsbError::None);
    EXPECT_EQ(decodeString(buffer, transferred), QStringLiteral("Huddle"));

    // More than libusb takes in one transfer is refused before the device.
    std::vector<uint8_t> big(5000);
    UsbSetup setup;
    setup.bmRequestType = 0x80;
    setup.bRequest = 6;
    setup.wValue = 0x0358;
    setup.wIndex = 0x0409;
    setup.wLength = 5000;
    EXPECT_EQ(usb->controlTransfer(setup, big.data(), 1000, &transferred), UsbError::Other);
    const int dfu = orbrin->configuration().layout.dfu;
    ASSERT_GE(dfu, 0);
    EXPECT_EQ(usb->claimInterface(dfu), UsbError::None);
    EXPECT_EQ(usb->releaseInterface(dfu), UsbError::None);
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

TEST_F(LinuxE2ETest, ANodeNotYetAccessibleRightAfterItsAddIsOpenedOnARetry)
{
    platform::setTimeScale(1.0);  // the retries span about a second here
    ASSERT_TRUE(setDacOverride(false)) << "cannot drop CAP_DAC_OVERRIDE";
    startKernel();
    std::atomic<bool> locked{false};
    QString node;
    kernel->setBeforeAnnounce([&](const PluggedDevice &p) {
        // udev has not applied the rules yet when the add goes out.
        node = p.hidrawNodes.at(0);
        locked = e2e::UmockdevBus::instance().setNodeAccessible(node, false);
    });

    HidRecorder recorder;
    std::unique_ptr<HidManager> manager = backend->createHidManager();
    recorder.attach(*manager);
    ASSERT_EQ(manager->open(), 0);

    bus->plug(sim::Family::Pirok, "PK-EACCES-1");
    kernel->settle();
    ASSERT_TRUE(locked.load());

    // The add is seen at once, the open fails and nothing is reported yet.
    runEventsFor(150);
    EXPECT_TRUE(recorder.matchedWithSerial("PK-EACCES-1").empty());

    // The rules land; a retry opens the node.
    ASSERT_TRUE(e2e::UmockdevBus::instance().setNodeAccessible(node, true));
    EXPECT_TRUE(waitFor([&] { return !recorder.matchedWithSerial("PK-EACCES-1").empty(); }, 3000));

    manager->close();
    setDacOverride(true);
}
