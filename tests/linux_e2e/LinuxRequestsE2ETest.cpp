// Requests end to end through the Linux backend on simulated devices: the
// HID exchange over hidraw, camera controls over V4L2, DFU over libusb.
#include "E2ESupport.h"

#include "QOVAUSBDeviceHIDInterface.h"
#include "QOVAUSBDeviceUVCInterface.h"
#include "dfu_request.h"
#include "platform/ThreadHop.h"
#include "sim/SimDescriptors.h"
#include "sim/dfu/SimDfuHandler.h"
#include "sim/uvc/SimUvcControlHandler.h"
#include "usb/USBControlRequest.h"
#include "usb/USBDeviceLookup.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QMap>
#include <QRandomGenerator>

#include <mutex>
#include <thread>

using namespace platform;
using e2e::LinuxE2ETest;
using e2e::runEventsFor;
using e2e::waitFor;

namespace {

// The HID manager on a discovery thread of its own, as the application
// runs it.
class HidThread {
public:
    explicit HidThread(Backend &backend)
    {
        m_thread.start();
        m_context.moveToThread(&m_thread);
        platform::runOn(&m_context, [this, &backend] {
                m_manager = backend.createHidManager();
                std::vector<HidMatch> matches;
                for (sim::Family f : {sim::Family::Orbrin, sim::Family::Vasko, sim::Family::Pirok})
                    matches.push_back({sim::kVendorId, sim::runProductId(f)});
                m_manager->setDeviceMatching(matches);
                m_manager->setCallbacks(
                    [this](const HidDeviceRef &d) {
                        std::lock_guard<std::mutex> lock(m_mutex);
                        m_matched.push_back(d);
                    },
                    [this](const HidDeviceRef &d) {
                        std::lock_guard<std::mutex> lock(m_mutex);
                        m_removed.push_back(d);
                    });
                m_manager->open();
            });
    }

    ~HidThread()
    {
        platform::runOn(&m_context, [this] { m_manager.reset(); });
        m_thread.quit();
        m_thread.wait();
    }

    // The request interface (usage page 0xFFA0) of a device, once reported.
    HidDeviceRef protocolInterface(const QString &serial)
    {
        HidDeviceRef found;
        waitFor([&] {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (const HidDeviceRef &d : m_matched) {
                if (d->identity().serialNumber == serial
                    && d->identity().primaryUsagePage == sim::kProtocolUsagePage)
                    found = d;
            }
            return found != nullptr;
        });
        return found;
    }

    int removed(const HidDeviceRef &device)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return int(std::count(m_removed.begin(), m_removed.end(), device));
    }

private:
    QThread m_thread;
    QObject m_context;
    std::unique_ptr<HidManager> m_manager;
    std::mutex m_mutex;
    std::vector<HidDeviceRef> m_matched;
    std::vector<HidDeviceRef> m_removed;
};

// A device that keeps what a PUT sends under its url and gives it back on a
// GET of the same url.
class Settings : public sim::SimRequestHandler {
public:
    sim::SimReply handleRequest(sim::SimDeviceHost &host, const QJsonObject &head,
                                const QByteArray &body, int) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const QString url = head.value("url").toString();
        sim::SimReply reply;
        if (head.value("type").toString() == QLatin1String("PUT")) {
            m_stored[url] = body;
        } else if (m_stored.contains(url)) {
            reply.body = m_stored.value(url);
        } else {
            reply.body = QJsonDocument(QJsonObject{{"device_name", host.deviceName()},
                                                   {"serial_number", host.serialNumber()}})
                             .toJson(QJsonDocument::Compact);
        }
        return reply;
    }

private:
    std::mutex m_mutex;
    QMap<QString, QByteArray> m_stored;
};

struct Outcome {
    int successes = 0;
    int failures = 0;
    QString text;
    QByteArray bytes;
    bool onMain = true;

    int calls() const { return successes + failures; }
    void note() { onMain = onMain && QThread::currentThread() == qApp->thread(); }
    QOVASuccessBlock success()
    {
        return [this](const QString &t) { ++successes; text = t; note(); };
    }
    QOVAFailureBlock failure()
    {
        return [this](const QString &t) { ++failures; text = t; note(); };
    }
    QOVACompletionBlock completion()
    {
        return [this](const QOVAReplyObject &o) {
            ++successes;
            if (const QByteArray *b = std::get_if<QByteArray>(&o))
                bytes = *b;
            note();
        };
    }
};

QJsonObject head(const char *msgID, const char *url, const char *type)
{
    return QJsonObject{{"msg_id", msgID}, {"url", url}, {"type", type}};
}

QString hexId(uint16_t id)
{
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}

// The device as the host finds it on the bus once its enumeration in that
// mode is on the kernel whole (as when its "add" uevent is out), so that no
// lookup sees a device whose sysfs entry is still being written.
UsbDeviceRef waitForUsb(e2e::SimKernel &kernel, const std::shared_ptr<sim::SimDevice> &device,
                        sim::Mode mode)
{
    const sim::Family family = device->family();
    const uint16_t pid = mode == sim::Mode::Run ? sim::runProductId(family) : sim::dfuProductId(family);
    const bool there = waitFor([&] {
        const std::optional<e2e::PluggedDevice> nodes = kernel.nodesOf(device, 0);
        return nodes && nodes->device->description().productId == pid;
    });
    if (!there)
        return nullptr;
    // The lookup compares a Vasko serial without its ".NN" suffix.
    const QString serial = device->serialNumber();
    const QString key = family == sim::Family::Vasko ? serial.section(QLatin1Char('.'), 0, 0) : serial;
    return find_usb_device_interface(QStringLiteral("1d5c"), hexId(pid), key);
}

void sleepScaled(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(platform::scaledMs(ms)));
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray out(size, '\0');
    for (char &c : out)
        c = char(generator.bounded(256));
    return out;
}

dfu_interface dfuOf(const UsbDeviceRef &device)
{
    const std::optional<dfu_interface> found = device ? find_dfu_interface(device) : std::nullopt;
    EXPECT_TRUE(found.has_value());
    return found.value_or(dfu_interface{});
}

// Sends the image block by block as a host should, honouring bwPollTimeout,
// and ends with the zero-length block.
void download(const dfu_interface &intf, const QByteArray &image, uint16_t blockSize)
{
    uint16_t block = 0;
    for (qsizetype offset = 0; offset < image.size(); offset += blockSize, ++block) {
        const auto length = uint16_t(std::min<qsizetype>(blockSize, image.size() - offset));
        ASSERT_EQ(dfu_download(intf, length, block,
                               reinterpret_cast<const uint8_t *>(image.constData()) + offset),
                  kDfuIoSuccess);
        dfu_status st;
        ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
        while (st.bState == DFU_STATE_DFU_DNBUSY) {
            sleepScaled(st.bwPollTimeout);
            ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
        }
        ASSERT_EQ(st.bState, DFU_STATE_DFU_DNLOAD_IDLE) << dfu_state_name(st.bState);
    }
    ASSERT_EQ(dfu_download(intf, 0, block, nullptr), kDfuIoSuccess);
}

} // namespace

TEST_F(LinuxE2ETest, GetAndPutThroughHidrawWithTheReplyAnnouncedByAnInputReport)
{
    startKernel();
    HidThread hid(*backend);
    auto device = bus->plug(sim::Family::Orbrin, "OR-REQ-1");
    device->setRequestHandler(std::make_shared<Settings>());
    const HidDeviceRef hidDevice = hid.protocolInterface("OR-REQ-1");
    ASSERT_TRUE(hidDevice);
    const UsbDeviceRef usb = waitForUsb(*kernel, device, sim::Mode::Run);
    ASSERT_TRUE(usb);
    QOVAUSBDeviceHIDInterface iface(usb, hidDevice);

    Outcome get;
    iface.getInformationFromUSBDevice("NSData", head("3", "device_info", "GET"), get.completion(),
                                      get.failure());
    ASSERT_TRUE(waitFor([&] { return get.calls() > 0; }));
    EXPECT_EQ(get.failures, 0) << qPrintable(get.text);
    EXPECT_TRUE(get.onMain);
    const QJsonObject info = QJsonDocument::fromJson(get.bytes).object();
    EXPECT_EQ(info.value("serial_number").toString(), QStringLiteral("OR-REQ-1"));
    EXPECT_EQ(info.value("device_name").toString(), device->deviceName());

    // A body of many frames out, and back in frames of both sizes.
    QString name;
    for (int i = 0; name.size() < 3000; ++i)
        name += QStringLiteral("room-%1 ").arg(i);
    Outcome put;
    iface.putInformationToUSBDevice(head("8", "device_name", "PUT"),
                                    QJsonObject{{"device_name", name}}, put.success(),
                                    put.failure());
    ASSERT_TRUE(waitFor([&] { return put.calls() > 0; }));
    EXPECT_EQ(put.successes, 1) << qPrintable(put.text);
    EXPECT_EQ(put.text, QStringLiteral("Success!"));

    Outcome back;
    iface.getInformationFromUSBDevice("NSData", head("9", "device_name", "GET"),
                                      back.completion(), back.failure());
    ASSERT_TRUE(waitFor([&] { return back.calls() > 0; }));
    EXPECT_EQ(back.failures, 0) << qPrintable(back.text);
    EXPECT_EQ(QJsonDocument::fromJson(back.bytes).object().value("device_name").toString(), name);

    const std::vector<sim::SimReceivedRequest> received = device->receivedRequests();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(device->malformedRequests(), 0);
    runEventsFor(20);
    EXPECT_EQ(get.calls() + put.calls() + back.calls(), 3);
}

TEST_F(LinuxE2ETest, ANodeThatVanishesInTheMiddleOfARequestFailsItOnce)
{
    startKernel();
    HidThread hid(*backend);
    auto device = bus->plug(sim::Family::Vasko, "VS-GONE.02");
    const HidDeviceRef hidDevice = hid.protocolInterface("VS-GONE.02");
    ASSERT_TRUE(hidDevice);
    QOVAUSBDeviceHIDInterface iface(nullptr, hidDevice);

    // The device leaves the bus as the second frame of a long PUT comes in.
    sim::SimFaults faults;
    faults.unplugAtFrame = 1;
    device->setFaults(faults);
    Outcome put;
    iface.putInformationToUSBDevice(head("8", "device_name", "PUT"),
                                    QJsonObject{{"device_name", QString(1500, QLatin1Char('x'))}},
                                    put.success(), put.failure());
    ASSERT_TRUE(waitFor([&] { return put.calls() > 0; }));
    ASSERT_TRUE(waitFor([&] { return hid.removed(hidDevice) > 0; }));
    runEventsFor(30);
    EXPECT_EQ(put.failures, 1);
    EXPECT_EQ(put.successes, 0);
    EXPECT_EQ(hid.removed(hidDevice), 1);

    // The next request on the departed interface fails at once too.
    Outcome get;
    iface.getInformationFromUSBDevice("NSData", head("3", "device_info", "GET"), get.completion(),
                                      get.failure());
    ASSERT_TRUE(waitFor([&] { return get.calls() > 0; }));
    runEventsFor(20);
    EXPECT_EQ(get.failures, 1);
    EXPECT_EQ(get.successes, 0);
}

TEST_F(LinuxE2ETest, CameraControlsGoThroughTheVideoNodeToTheDevicesControlStore)
{
    startKernel();
    struct Camera {
        sim::Family family;
        const char *serial;
        uint8_t terminalId;
        uint8_t processingUnitId;
    };
    for (const Camera &camera : {Camera{sim::Family::Orbrin, "OR-CAM-1", 1, 2},
                                 Camera{sim::Family::Vasko, "VS-CAM.01", 5, 9}}) {
        SCOPED_TRACE(camera.serial);
        sim::SimDeviceConfig config;
        config.family = camera.family;
        config.serial = camera.serial;
        config.uvc.terminalId = camera.terminalId;
        config.uvc.processingUnitId = camera.processingUnitId;
        auto device = bus->plug(config);
        ASSERT_TRUE(device);
        auto controls = sim::attachUvcControls(*device);
        ASSERT_TRUE(controls);
        const std::optional<e2e::PluggedDevice> nodes = kernel->nodesOf(device);
        ASSERT_TRUE(nodes);
        ASSERT_FALSE(nodes->videoNode.isEmpty());

        const UsbDeviceRef usb = waitForUsb(*kernel, device, sim::Mode::Run);
        ASSERT_TRUE(usb);
        auto uvc = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(usb);
        ASSERT_TRUE(uvc);
        EXPECT_EQ(uvc->cameraTerminalId(), camera.terminalId);
        EXPECT_EQ(uvc->processingUnitId(), camera.processingUnitId);
        uvc->updateUVCControls();

        // The steps the simulated backend's camera test takes. The outcome
        // is the same but for the tilt of one and a half steps: the driver
        // rounds a value to a whole step from the minimum (as uvcvideo does),
        // where the raw request on the simulated backend sets it as asked.
        Outcome zoom;
        uvc->setZoomAbs(true, 3, zoom.success(), zoom.failure());
        EXPECT_EQ(controls->current(sim::SimUvcUnit::CameraTerminal, 0x0B), 3);
        uvc->setZoomAbs(true, zoom.success(), zoom.failure());
        EXPECT_EQ(controls->current(sim::SimUvcUnit::CameraTerminal, 0x0B), 4);
        uvc->setZoomAbs(false, zoom.success(), zoom.failure());
        EXPECT_EQ(controls->current(sim::SimUvcUnit::CameraTerminal, 0x0B), 3);
        uvc->setPanTiltAbs(true, false, zoom.success(), zoom.failure());
        uvc->setPanTiltAbs(false, true, 1.5, zoom.success(), zoom.failure());
        EXPECT_EQ(controls->current(sim::SimUvcUnit::CameraTerminal, 0x0D, 0), -3600);
        EXPECT_EQ(controls->current(sim::SimUvcUnit::CameraTerminal, 0x0D, 1), 7200);  // 5400 asked
        EXPECT_EQ(zoom.successes, 5);
        EXPECT_EQ(zoom.failures, 0);

        // Every image control the camera has reads and writes back, the
        // auto-exposure mode through its menu.
        const struct {
            const char *name;
            int index;
        } image[] = {{"backlight-compensation", 17}, {"brightness", 18}, {"contrast", 19},
                     {"gain", 20}, {"power-line-frequency", 21}, {"hue", 22},
                     {"saturation", 23}, {"sharpness", 24}, {"gamma", 25},
                     {"white-balance-temp", 26}, {"auto-white-balance-temp", 27},
                     {"exposure-time-abs", 3}, {"focus-abs", 5}, {"auto-focus", 7},
                     {"auto-exposure-mode", 1}};
        for (const auto &c : image) {
            SCOPED_TRACE(c.name);
            auto model = std::make_shared<QOVACameraSettingModel>();
            model->setName(QString::fromLatin1(c.name));
            model->setControlType(c.index);
            Outcome read;
            uvc->getCameraSettingDataWithModel(model, read.success(), read.failure());
            EXPECT_EQ(read.successes, 1);
            EXPECT_TRUE(model->isSupported());
            if (model->maxValue() > model->currentValue())
                model->setCurrentValue(model->currentValue() + model->stepValue());
            Outcome write;
            uvc->setCameraSettingDataWithModel(model, false, write.success(), write.failure());
            EXPECT_EQ(write.successes, 1);
        }
        EXPECT_EQ(controls->current(sim::SimUvcUnit::ProcessingUnit, 0x02), 1);   // brightness
        EXPECT_EQ(controls->current(sim::SimUvcUnit::ProcessingUnit, 0x0A), 4610); // its step is 10
        // The requests went through V4L2, not around it.
        EXPECT_GT(e2e::UmockdevBus::instance().ioctlsOn(nodes->videoNode), 0);

        // The camera leaves: the next step fails, once.
        bus->unplug(device);
        kernel->settle();
        Outcome gone;
        uvc->setZoomAbs(true, gone.success(), gone.failure());
        EXPECT_EQ(gone.failures, 1);
        EXPECT_EQ(gone.successes, 0);
    }
}

TEST_F(LinuxE2ETest, DfuDetachReEnumerationAndDownloadThroughLibusb)
{
    startKernel();
    std::vector<UsbDeviceInfo> arrived, left;  // on the main thread
    auto watch = backend->usbBus().watch([&](const UsbDeviceRef &d) { arrived.push_back(d->info()); },
                                         [&](const UsbDeviceRef &d) { left.push_back(d->info()); });
    sim::SimDfuConfig c;
    c.bmAttributes = 0x0D;  // can download, manifestation tolerant, will detach
    c.wTransferSize = 1024;
    c.busyTimeMs = 20;
    c.pollTimeoutMs = 20;
    c.versionAfterUpdate = QStringLiteral("1.4");
    sim::SimDeviceConfig config;
    config.family = sim::Family::Orbrin;
    config.serial = "OR-DFU-1";
    config.dfu = sim::simDfuFunctional(c);
    auto device = bus->plug(config);
    auto handler = sim::attachSimDfu(device, c);

    const UsbDeviceRef runDevice = waitForUsb(*kernel, device, sim::Mode::Run);
    ASSERT_TRUE(runDevice);
    const dfu_interface run = dfuOf(runDevice);
    const std::optional<IOUSBDFUDescriptor> desc = find_dfu_functional_descriptor(run);
    ASSERT_TRUE(desc);
    EXPECT_EQ(desc->wTransferSize, 1024);
    EXPECT_EQ(desc->bmAttributes, c.bmAttributes);
    EXPECT_EQ(usb_open_device(runDevice), kDfuIoSuccess);
    EXPECT_EQ(usb_open_interface(run), kDfuIoSuccess);
    EXPECT_EQ(dfu_get_state(run), DFU_STATE_APP_IDLE);

    // DETACH: the device leaves and comes back in DFU mode at its port.
    ASSERT_EQ(dfu_detach(run, desc->wDetachTimeOut), kDfuIoSuccess);
    EXPECT_EQ(dfu_get_state(run), kDfuIoNoDevice);  // that enumeration is over
    EXPECT_EQ(dfu_release_and_close(runDevice), kDfuIoSuccess);
    const UsbDeviceRef dfuDevice = waitForUsb(*kernel, device, sim::Mode::Dfu);
    ASSERT_TRUE(dfuDevice);
    EXPECT_EQ(dfuDevice->info().locationId, runDevice->info().locationId);
    EXPECT_NE(dfuDevice->info().deviceAddress, runDevice->info().deviceAddress);
    const dfu_interface intf = dfuOf(dfuDevice);
    EXPECT_EQ(dfu_get_state(intf), DFU_STATE_DFU_IDLE);

    // 3.5 blocks, the zero-length block, manifestation.
    const QByteArray image = randomBytes(3584, 5);
    download(intf, image, dfu_block_size(*desc));
    dfu_status st;
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_MANIFEST);
    sleepScaled(st.bwPollTimeout);
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_IDLE);
    const std::vector<sim::SimDfuHandler::Block> blocks = handler->blocks();
    ASSERT_EQ(blocks.size(), 5u);
    for (size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(blocks[i].number, i);
    EXPECT_EQ(handler->installedImage(), image);

    // Back in run mode with the new firmware, as its version string says.
    const UsbDeviceRef updated = waitForUsb(*kernel, device, sim::Mode::Run);
    ASSERT_TRUE(updated);
    EXPECT_EQ(ReadUSBString(updated, 0x58), std::optional<QString>(QStringLiteral("1.4")));

    // The hot-plug watch saw the enumerations come and go. What it reads of
    // one comes from sysfs when it handles the uevent: an enumeration
    // already gone by then reads empty, or as its successor at that port,
    // as on a real kernel.
    // How many of them it tells apart depends on how late it looks.
    EXPECT_TRUE(waitFor([&] {
        return left.size() >= 2 && !arrived.empty()
               && arrived.back().productId == sim::runProductId(sim::Family::Orbrin);
    }));
    watch.reset();
}

TEST_F(LinuxE2ETest, DfuPortResetsGoThroughUsbdevfs)
{
    startKernel();
    sim::SimDfuConfig c;
    c.bmAttributes = 0x01;  // can download only: no self detach, not tolerant
    c.wTransferSize = 1024;
    c.wDetachTimeOut = 30000;  // ample for a loaded machine
    sim::SimDeviceConfig config;
    config.family = sim::Family::Pirok;
    config.serial = "PK-DFU-9";
    config.dfu = sim::simDfuFunctional(c);
    auto device = bus->plug(config);
    auto handler = sim::attachSimDfu(device, c);

    const dfu_interface run = dfuOf(waitForUsb(*kernel, device, sim::Mode::Run));
    ASSERT_EQ(dfu_detach(run, c.wDetachTimeOut), kDfuIoSuccess);
    EXPECT_EQ(dfu_get_state(run), DFU_STATE_APP_DETACH);  // still here, waiting for the reset
    EXPECT_EQ(usb_reset_device(run.device), kDfuIoSuccess);

    const dfu_interface intf = dfuOf(waitForUsb(*kernel, device, sim::Mode::Dfu));
    const QByteArray image = randomBytes(1500, 2);
    download(intf, image, 1024);
    dfu_status st;
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_MANIFEST);
    sleepScaled(st.bwPollTimeout);
    EXPECT_EQ(handler->state(), DFU_STATE_DFU_MANIFEST_WAIT_RESET);
    EXPECT_EQ(usb_reset_device(intf.device), kDfuIoSuccess);
    ASSERT_TRUE(waitForUsb(*kernel, device, sim::Mode::Run));
    EXPECT_EQ(handler->installedImage(), image);
    EXPECT_EQ(handler->manifestCount(), 1);
}
