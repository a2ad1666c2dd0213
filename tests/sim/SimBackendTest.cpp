// The simulated bus seen through the platform interfaces: identities,
// arrival and removal notices on the right thread, input reports, USB
// descriptors and control transfers.

#include "SimTestHost.h"

#include "platform/ThreadHop.h"
#include "sim/SimBackend.h"
#include "sim/SimBus.h"
#include "sim/SimDescriptors.h"

#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

using namespace sim;
using namespace simtest;

namespace {

// Collects what a HID manager reports, with the thread it ran on.
struct HidLog {
    std::mutex mutex;
    std::vector<platform::HidDeviceRef> matched;
    std::vector<platform::HidDeviceRef> removed;
    std::vector<QThread *> threads;

    void attach(platform::HidManager &manager)
    {
        manager.setCallbacks(
            [this](const platform::HidDeviceRef &d) {
                std::lock_guard<std::mutex> lock(mutex);
                matched.push_back(d);
                threads.push_back(QThread::currentThread());
            },
            [this](const platform::HidDeviceRef &d) {
                std::lock_guard<std::mutex> lock(mutex);
                removed.push_back(d);
                threads.push_back(QThread::currentThread());
            });
    }
    size_t matchedCount()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return matched.size();
    }
    size_t removedCount()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return removed.size();
    }
};

const std::vector<platform::HidMatch> kRunModeIds = {
    {kVendorId, 0x6E17}, {kVendorId, 0x5C01}, {kVendorId, 0x6E12}};

platform::HidIdentity identityOf(const std::vector<platform::HidDeviceRef> &list, uint32_t productId,
                                 uint32_t usagePage)
{
    for (const auto &d : list) {
        const auto id = d->identity();
        if (id.productId == productId && id.primaryUsagePage == usagePage)
            return id;
    }
    return {};
}

QString stringDescriptor(platform::UsbDevice &device, uint8_t index, platform::UsbError *error = nullptr)
{
    uint8_t buffer[256] = {};
    int transferred = 0;
    const auto rc = device.getStringDescriptor(index, 0x0409, buffer, sizeof buffer, &transferred);
    if (error)
        *error = rc;
    if (rc != platform::UsbError::None || transferred < 2 || buffer[1] != 3)
        return QString();
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer + 2), (buffer[0] - 2) / 2);
}

platform::UsbDeviceRef usbBySerial(platform::UsbBus &bus, const QString &serial)
{
    for (const auto &d : bus.devices()) {
        if (d->info().serialNumber == serial)
            return d;
    }
    return nullptr;
}

class SimBackendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bus = SimBus::create();
        backend = std::make_unique<SimBackend>(bus);
    }
    std::shared_ptr<SimBus> bus;
    std::unique_ptr<SimBackend> backend;
};

} // namespace

TEST_F(SimBackendTest, PlugAndUnplugCarryTheIdentity)
{
    bus->plug(Family::Orbrin, "OR20240001");   // present before open(): reported first
    auto manager = backend->createHidManager();
    manager->setDeviceMatching(kRunModeIds);
    HidLog log;
    log.attach(*manager);
    ASSERT_EQ(manager->open(), 0);
    bus->plug(Family::Vasko, "VS20240002.01");
    bus->plug(Family::Pirok, "PK20240003");
    bus->plug(Family::Orbrin, "OR20240004", Mode::Dfu);   // no HID interface in DFU mode

    ASSERT_TRUE(waitUntil([&] { return log.matchedCount() == 4; }));
    EXPECT_EQ(log.matched.front()->identity().serialNumber, QString("OR20240001"));

    const auto orbrin = identityOf(log.matched, 0x6E17, kProtocolUsagePage);
    EXPECT_EQ(orbrin.vendorId, 0x1D5Cu);
    EXPECT_EQ(orbrin.product, QString("Zentaro Halvex"));
    EXPECT_TRUE(orbrin.manufacturer.has_value());
    EXPECT_NE(orbrin.locationId, 0u);

    // Vasko: two HID interfaces, both with the full USB serial.
    const auto vasko = identityOf(log.matched, 0x6E12, kProtocolUsagePage);
    const auto vaskoSecond = identityOf(log.matched, 0x6E12, 0xFF00);
    EXPECT_EQ(vasko.serialNumber, QString("VS20240002.01"));
    EXPECT_EQ(vaskoSecond.serialNumber, QString("VS20240002.01"));
    EXPECT_EQ(vasko.product, QString("Skarnfel Tolm USB"));
    EXPECT_EQ(vasko.locationId, vaskoSecond.locationId);

    const auto pirok = identityOf(log.matched, 0x5C01, kProtocolUsagePage);
    EXPECT_EQ(pirok.versionNumber, 0x1203u);
    EXPECT_EQ(pirok.product, QString("KRD mini"));

    for (QThread *t : log.threads)
        EXPECT_EQ(t, QThread::currentThread());

    // Removal notices keep the identity of the device that left.
    ASSERT_TRUE(bus->unplug("VS20240002"));   // the cut serial finds it too
    ASSERT_TRUE(waitUntil([&] { return log.removedCount() == 2; }));
    for (const auto &d : log.removed) {
        EXPECT_EQ(d->identity().serialNumber, QString("VS20240002.01"));
        EXPECT_EQ(d->identity().productId, 0x6E12u);
    }
    // The same objects that arrived are the ones that leave.
    EXPECT_TRUE(std::find(log.matched.begin(), log.matched.end(), log.removed[0]) != log.matched.end());

    // A device that is gone fails every transfer.
    uint8_t frame[257] = {6};
    size_t actual = 0;
    EXPECT_NE(log.removed[0]->setFeatureReport(frame, sizeof frame), 0);
    EXPECT_NE(log.removed[0]->getFeatureReport(6, frame, sizeof frame, &actual), 0);
}

TEST_F(SimBackendTest, CallbacksRunOnTheThreadThatOpened)
{
    QThread thread;
    thread.start();
    HidLog log;
    std::unique_ptr<platform::HidManager> manager;
    std::atomic<bool> opened{false};
    QObject context;
    context.moveToThread(&thread);
    platform::postTo(&context, [&] {
        manager = backend->createHidManager();
        log.attach(*manager);
        manager->open();
        opened = true;
    });
    ASSERT_TRUE(waitUntil([&] { return opened.load(); }));
    auto device = bus->plug(Family::Orbrin, "OR1");
    ASSERT_TRUE(waitUntil([&] { return log.matchedCount() == 1; }));

    std::atomic<int> reports{0};
    std::atomic<QThread *> reportThread{nullptr};
    QByteArray last;
    log.matched[0]->setInputReportHandler([&](const uint8_t *data, size_t length) {
        last = QByteArray(reinterpret_cast<const char *>(data), int(length));
        reportThread = QThread::currentThread();
        ++reports;
    });
    device->raiseInputReport(2, 0x0104);
    ASSERT_TRUE(waitUntil([&] { return reports.load() == 1; }));
    EXPECT_EQ(last, QByteArray("\x09\x02\x04\x01", 4));
    EXPECT_EQ(reportThread.load(), &thread);
    EXPECT_EQ(log.threads.at(0), &thread);

    platform::runOn(&context, [&] { manager.reset(); });
    thread.quit();
    thread.wait();
}

TEST_F(SimBackendTest, CloseStopsDelivery)
{
    auto manager = backend->createHidManager();
    HidLog log;
    log.attach(*manager);
    manager->open();
    auto device = bus->plug(Family::Orbrin, "OR1");
    ASSERT_TRUE(waitUntil([&] { return log.matchedCount() == 1; }));
    int reports = 0;
    log.matched[0]->setInputReportHandler([&](const uint8_t *, size_t) { ++reports; });

    device->raiseInputReport(3, 1);   // queued, not yet delivered
    bus->plug(Family::Pirok, "PK1");
    manager->close();
    QCoreApplication::processEvents();
    device->raiseInputReport(3, 1);
    bus->unplug("OR1");
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(log.matchedCount(), 1u);
    EXPECT_EQ(log.removedCount(), 0u);
}

TEST_F(SimBackendTest, ReplyIsAnnouncedAndReadOnTheManagerThread)
{
    auto manager = backend->createHidManager();
    HidLog log;
    log.attach(*manager);
    manager->open();
    bus->plug(Family::Vasko, "VS1.01");
    ASSERT_TRUE(waitUntil([&] { return log.matchedCount() == 2; }));
    platform::HidDeviceRef hid;
    for (const auto &d : log.matched) {
        if (d->identity().primaryUsagePage != 0xFF00)
            hid = d;
    }
    ASSERT_TRUE(hid);
    ReadReply reply;
    bool announced = false;
    hid->setInputReportHandler([&](const uint8_t *data, size_t length) {
        if (length == 4 && data[0] == 9 && data[1] == 1) {
            announced = true;
            reply = readReply(*hid);
        }
    });
    const QByteArray head = R"({"url":"device_info","type":"GET","msg_id":"12"})";
    ASSERT_EQ(sendRequest(*hid, head, nullptr), 0);
    ASSERT_TRUE(waitUntil([&] { return announced; }));
    ASSERT_TRUE(reply.ok);
    EXPECT_EQ(reply.head, QByteArray(R"({"status_code":200,"status_string":"success","msg_id":12,"diag_info":""})"));
}

TEST_F(SimBackendTest, UsbDescriptorsAndStrings)
{
    auto orbrin = bus->plug(Family::Orbrin, "OR1");
    SimUvcLayout uvc;
    uvc.terminalId = 4;
    uvc.processingUnitId = 7;
    SimDeviceConfig vaskoConfig;
    vaskoConfig.family = Family::Vasko;
    vaskoConfig.serial = "VS2.01";
    vaskoConfig.firmwareVersion = "1.2.0";
    vaskoConfig.deviceName = "Meeting room";
    vaskoConfig.uvc = uvc;
    vaskoConfig.dfu.transferSize = 4096;
    bus->plug(vaskoConfig);
    bus->plug(Family::Pirok, "PK3");
    auto &usb = backend->usbBus();
    ASSERT_EQ(usb.devices().size(), 3u);

    auto vasko = usbBySerial(usb, "VS2.01");
    ASSERT_TRUE(vasko);
    const auto info = vasko->info();
    EXPECT_EQ(info.vendorId, 0x1D5C);
    EXPECT_EQ(info.productId, 0x6E12);
    EXPECT_EQ(info.usbSerialNumber, QString("VS2.01"));
    EXPECT_EQ(info.productName, QString("Skarnfel Tolm USB"));
    EXPECT_EQ(stringDescriptor(*vasko, 0x58), QString("1.2.0"));
    EXPECT_EQ(stringDescriptor(*vasko, 0x59), QString("Meeting room"));
    EXPECT_EQ(stringDescriptor(*vasko, 3), QString("VS2.01"));
    EXPECT_EQ(stringDescriptor(*vasko, 2), QString("Skarnfel Tolm USB"));
    uint8_t lang[8] = {};
    int transferred = 0;
    ASSERT_EQ(vasko->getStringDescriptor(0, 0, lang, sizeof lang, &transferred), platform::UsbError::None);
    EXPECT_EQ(transferred, 4);
    EXPECT_EQ(lang[2] | (lang[3] << 8), 0x0409);

    // Interfaces: video control with its block, two HID, the run-time DFU interface.
    const platform::UsbInterfaceInfo *vc = nullptr;
    const platform::UsbInterfaceInfo *dfu = nullptr;
    int hidCount = 0;
    for (const auto &i : info.interfaces) {
        if (i.interfaceClass == 14 && i.interfaceSubClass == 1)
            vc = &i;
        if (i.interfaceClass == 0xFE && i.interfaceSubClass == 1)
            dfu = &i;
        hidCount += i.interfaceClass == 3;
    }
    EXPECT_EQ(hidCount, 2);
    ASSERT_TRUE(vc && dfu);
    EXPECT_EQ(dfu->interfaceProtocol, 1);
    ASSERT_EQ(dfu->extra.size(), 9);
    EXPECT_EQ(uint8_t(dfu->extra[1]), 0x21);
    EXPECT_EQ(uint8_t(dfu->extra[5]) | (uint8_t(dfu->extra[6]) << 8), 4096);
    // Header, then camera terminal and processing unit with the given ids.
    const QByteArray &block = vc->extra;
    ASSERT_GE(block.size(), 12);
    EXPECT_EQ(uint8_t(block[1]), 0x24);
    EXPECT_EQ(uint8_t(block[2]), 1);
    EXPECT_EQ(uint8_t(block[5]) | (uint8_t(block[6]) << 8), block.size());
    int at = uint8_t(block[0]);
    ASSERT_EQ(uint8_t(block[at + 2]), 2);
    EXPECT_EQ(uint8_t(block[at + 3]), 4);
    EXPECT_EQ(uint8_t(block[at + 14]), 3);   // bControlSize
    at += uint8_t(block[at]);
    ASSERT_EQ(uint8_t(block[at + 2]), 5);
    EXPECT_EQ(uint8_t(block[at + 3]), 7);
    EXPECT_EQ(uint8_t(block[at + 7]), 2);
    // The whole configuration is served by GET_DESCRIPTOR as well.
    uint8_t config[512] = {};
    platform::UsbSetup setup{0x80, 6, 0x0200, 0, sizeof config};
    ASSERT_EQ(vasko->controlTransfer(setup, config, 1000, &transferred), platform::UsbError::None);
    EXPECT_EQ(QByteArray(reinterpret_cast<char *>(config), transferred), info.configurationDescriptor);

    // Pirok: version in bcdDevice, no version strings, no camera interface.
    auto pirok = usbBySerial(usb, "PK3");
    ASSERT_TRUE(pirok);
    EXPECT_EQ(pirok->info().bcdDevice, 0x1203);
    platform::UsbError error = platform::UsbError::None;
    stringDescriptor(*pirok, 0x58, &error);
    EXPECT_EQ(error, platform::UsbError::Stall);
    for (const auto &i : pirok->info().interfaces)
        EXPECT_NE(i.interfaceClass, 14);

    // Unknown requests stall; after an unplug everything says no device.
    auto orbrinUsb = usbBySerial(usb, "OR1");
    platform::UsbSetup classRequest{0x21, 1, 0, 0, 0};
    EXPECT_EQ(orbrinUsb->controlTransfer(classRequest, nullptr, 1000, &transferred), platform::UsbError::Stall);
    orbrin->disconnect();
    EXPECT_EQ(orbrinUsb->controlTransfer(classRequest, nullptr, 1000, &transferred), platform::UsbError::NoDevice);
    EXPECT_EQ(orbrinUsb->claimInterface(0), platform::UsbError::NoDevice);
    EXPECT_EQ(orbrinUsb->info().serialNumber, QString("OR1"));
}

TEST_F(SimBackendTest, ControlHandlersAnswerInTurn)
{
    struct Handler : SimControlHandler {
        uint8_t request;
        int calls = 0;
        explicit Handler(uint8_t r) : request(r) {}
        std::optional<platform::UsbError> handleControl(SimDeviceHost &, const platform::UsbSetup &setup,
                                                        uint8_t *data, int *transferred) override
        {
            ++calls;
            if (setup.bRequest != request)
                return std::nullopt;
            data[0] = request;
            *transferred = 1;
            return platform::UsbError::None;
        }
    };
    auto device = bus->plug(Family::Orbrin, "OR1");
    auto first = std::make_shared<Handler>(0x81);
    auto second = std::make_shared<Handler>(0x82);
    device->addControlHandler(first);
    device->addControlHandler(second);
    auto usb = backend->usbBus().devices().at(0);
    uint8_t data[4] = {};
    int transferred = 0;
    EXPECT_EQ(usb->controlTransfer({0xA1, 0x82, 0, 0, 4}, data, 100, &transferred), platform::UsbError::None);
    EXPECT_EQ(data[0], 0x82);
    EXPECT_EQ(first->calls, 1);
    EXPECT_EQ(second->calls, 1);
    EXPECT_EQ(usb->controlTransfer({0xA1, 0x83, 0, 0, 4}, data, 100, &transferred), platform::UsbError::Stall);
    // Standard string requests never reach the handlers.
    stringDescriptor(*usb, 0x59);
    EXPECT_EQ(first->calls, 2);
}

TEST_F(SimBackendTest, DeviceSetupsRunBeforeTheFirstArrival)
{
    std::vector<QString> seen;
    bus->addDeviceSetup([&](SimDevice &device) {
        seen.push_back(device.serialNumber());
        EXPECT_FALSE(device.isPresent());
        device.setDeviceName("Set up");
    });
    bus->plugList("orbrin:OR1,pirok:PK2:dfu");
    EXPECT_EQ(seen, (std::vector<QString>{"OR1", "PK2"}));
    EXPECT_EQ(bus->device("OR1")->deviceName(), QString("Set up"));
}
