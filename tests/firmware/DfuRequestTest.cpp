// DFU class requests, lookups and their I/O results, against the simulated
// DFU 1.1 device side.
#include "dfu_request.h"
#include "platform/TimeScale.h"
#include "sim/SimBackend.h"
#include "sim/SimBus.h"
#include "sim/dfu/SimDfuHandler.h"
#include "support/DfuFileMaker.h"

#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <set>
#include <thread>

using namespace testsupport;

namespace {

void sleepScaled(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(platform::scaledMs(ms)));
}

class DfuRequestTest : public ::testing::Test {
protected:
    struct Plugged {
        std::shared_ptr<sim::SimDevice> device;
        std::shared_ptr<sim::SimDfuHandler> handler;
    };

    void SetUp() override
    {
        bus = sim::SimBus::create();
        platform::installBackend(std::make_shared<sim::SimBackend>(bus));
    }
    void TearDown() override
    {
        platform::installBackend(std::shared_ptr<platform::Backend>());
        bus->unplugAll();
    }

    static sim::SimDfuConfig config()
    {
        sim::SimDfuConfig c;
        c.bmAttributes = 0x0D;  // can download, manifestation tolerant, will detach
        c.wTransferSize = 1024;
        c.versionAfterUpdate = QStringLiteral("1.4");
        return c;
    }

    Plugged plug(sim::Family family, const QString &serial, const sim::SimDfuConfig &c = config(),
                 sim::Mode mode = sim::Mode::Run)
    {
        sim::SimDeviceConfig dc;
        dc.family = family;
        dc.serial = serial;
        dc.mode = mode;
        dc.dfu = sim::simDfuFunctional(c);
        Plugged p;
        p.device = bus->plug(dc);
        EXPECT_TRUE(p.device);
        p.handler = sim::attachSimDfu(p.device, c);
        return p;
    }

    // The device as the host finds it on the bus, once it is there.
    static platform::UsbDeviceRef waitForDevice(const char *pid, const QString &serial)
    {
        const QDeadlineTimer deadline(20000);
        do {
            if (auto d = find_usb_device_interface(QStringLiteral("1d5c"), QString::fromLatin1(pid), serial))
                return d;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        } while (!deadline.hasExpired());
        return nullptr;
    }

    static dfu_interface dfuOf(const platform::UsbDeviceRef &device)
    {
        auto intf = find_dfu_interface(device);
        EXPECT_TRUE(intf.has_value());
        return intf.value_or(dfu_interface{});
    }

    // Sends image block by block as a host should, honouring bwPollTimeout,
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

    std::shared_ptr<sim::SimBus> bus;
};

// A bus of bare identities, for the lookup rules and open results the
// simulated bus does not vary.
class StubDevice : public platform::UsbDevice {
public:
    explicit StubDevice(platform::UsbDeviceInfo info) : m_info(std::move(info)) {}
    platform::UsbDeviceInfo info() const override { return m_info; }
    platform::UsbError open() override { return openResult; }
    void close() override { ++closeCount; }
    platform::UsbError claimInterface(int number) override
    {
        if (claimResult == platform::UsbError::None)
            claimed.insert(number);
        return claimResult;
    }
    platform::UsbError releaseInterface(int number) override
    {
        return claimed.erase(number) ? platform::UsbError::None : platform::UsbError::NotFound;
    }
    platform::UsbError controlTransfer(const platform::UsbSetup &, uint8_t *, unsigned, int *) override
    {
        return platform::UsbError::Stall;
    }
    platform::UsbError reset() override { return platform::UsbError::NoDevice; }

    platform::UsbError openResult = platform::UsbError::None;
    platform::UsbError claimResult = platform::UsbError::None;
    std::set<int> claimed;
    int closeCount = 0;

private:
    platform::UsbDeviceInfo m_info;
};

class StubBackend : public platform::Backend, public platform::UsbBus {
public:
    QString name() const override { return QStringLiteral("stub"); }
    std::unique_ptr<platform::HidManager> createHidManager() override { return nullptr; }
    platform::UsbBus &usbBus() override { return *this; }
    std::vector<platform::UsbDeviceRef> devices() override { return list; }
    std::unique_ptr<Watch> watch(DeviceCallback, DeviceCallback) override { return nullptr; }

    std::shared_ptr<StubDevice> add(uint16_t pid, std::optional<QString> serial,
                                    std::optional<QString> usbSerial = std::nullopt)
    {
        platform::UsbDeviceInfo info;
        info.vendorId = 0x1D5C;
        info.productId = pid;
        info.serialNumber = serial;
        info.usbSerialNumber = usbSerial;
        platform::UsbInterfaceInfo dfu;
        dfu.number = 2;
        dfu.interfaceClass = 0xFE;
        dfu.interfaceSubClass = 0x01;
        info.interfaces.push_back(dfu);
        auto d = std::make_shared<StubDevice>(info);
        list.push_back(d);
        return d;
    }
    std::vector<platform::UsbDeviceRef> list;
};

TEST_F(DfuRequestTest, LookupBySerialCutsTheVaskoSuffixOnly)
{
    plug(sim::Family::Vasko, QStringLiteral("VK0001.12"));
    plug(sim::Family::Orbrin, QStringLiteral("OR77"));
    plug(sim::Family::Pirok, QStringLiteral("PK5.01"));

    struct Case {
        const char *vid, *pid, *serial;
        bool found;
    } cases[] = {
        {"1d5c", "6e12", "VK0001", true},
        {"1D5C", "6E12", "VK0001", true},       // ids compared as numbers
        {"1d5c", "6e12", "VK0001.12", false},   // the cut serial is what counts
        {"1d5c", "6e17", "OR77", true},
        {"1d5c", "6e17", "OR7", false},
        {"1d5c", "5c01", "PK5", false},         // no cut for the other families
        {"1d5c", "5c01", "PK5.01", true},
        {"1d5c", "5c02", "PK5.01", false},      // not in DFU mode
        {"zz", "6e17", "OR77", false},
        {"1d5c", "", "OR77", false},
    };
    for (const auto &c : cases) {
        const auto dev = find_usb_device_interface(c.vid, c.pid, c.serial);
        EXPECT_EQ(dev != nullptr, c.found) << c.vid << ":" << c.pid << " " << c.serial;
    }
}

TEST(DfuLookup, FallsBackToTheUsbSerialAndTakesTheLastMatch)
{
    auto stub = std::make_shared<StubBackend>();
    platform::installBackend(stub);
    stub->add(0x6E17, QStringLiteral("VK9.01"));                      // video bar: no cut
    auto first = stub->add(0x6E12, QStringLiteral("VK9.01"));
    auto second = stub->add(0x6E12, std::nullopt, QStringLiteral("VK9.02"));
    stub->add(0x6E12, std::nullopt);                                   // no serial at all
    EXPECT_EQ(find_usb_device_interface("1d5c", "6e12", "VK9"), second);
    EXPECT_EQ(find_usb_device_interface("1d5c", "6e17", "VK9"), nullptr);
    EXPECT_EQ(find_usb_device_interface("1d5c", "6e17", "VK9.01"), stub->list[0]);
    platform::installBackend(std::shared_ptr<platform::Backend>());
}

TEST(DfuDescriptor, WalkFindsTheFirstUsableFunctionalDescriptor)
{
    auto bytes = [](std::initializer_list<int> b) {
        QByteArray out;
        for (int v : b)
            out.append(char(v));
        return out;
    };
    const QByteArray dfu9 = bytes({9, 0x21, 0x0B, 0xE8, 0x03, 0x00, 0x10, 0x10, 0x01});
    const QByteArray dfu7 = bytes({7, 0x21, 0x05, 0x10, 0x00, 0x00, 0x08});
    const QByteArray short21 = bytes({6, 0x21, 0x0F, 0xFF, 0xFF, 0xFF});
    const QByteArray other = bytes({5, 0x24, 0x01, 0x02, 0x03});

    struct Case {
        const char *name;
        QByteArray extra;
        bool found;
        uint8_t attributes;
        uint16_t detach, transfer;
    } cases[] = {
        {"9-byte form", dfu9, true, 0x0B, 1000, 4096},
        {"7-byte form", dfu7, true, 0x05, 16, 2048},
        {"after another descriptor", other + dfu7, true, 0x05, 16, 2048},
        {"short one skipped", short21 + dfu9, true, 0x0B, 1000, 4096},
        {"only a short one", short21, false, 0, 0, 0},
        {"none", other, false, 0, 0, 0},
        {"empty", QByteArray(), false, 0, 0, 0},
        {"zero length ends the walk", bytes({0, 0x21}) + dfu9, false, 0, 0, 0},
        {"runs past the end", dfu9.left(8), false, 0, 0, 0},
    };
    for (const auto &c : cases) {
        dfu_interface intf;
        intf.extra = c.extra;
        const auto desc = find_dfu_functional_descriptor(intf);
        ASSERT_EQ(desc.has_value(), c.found) << c.name;
        if (!desc)
            continue;
        EXPECT_EQ(desc->bmAttributes, c.attributes) << c.name;
        EXPECT_EQ(desc->wDetachTimeOut, c.detach) << c.name;
        EXPECT_EQ(desc->wTransferSize, c.transfer) << c.name;
    }
}

TEST(DfuDescriptor, TransferSizeDecidesWhetherAndHowMuchToDownload)
{
    IOUSBDFUDescriptor d;
    d.bmAttributes = 0x01;
    d.wTransferSize = 0;
    EXPECT_FALSE(dfu_descriptor_can_download(d));  // blocks of 0 bytes carry nothing
    EXPECT_EQ(dfu_block_size(d), 0);
    d.wTransferSize = 2048;
    EXPECT_TRUE(dfu_descriptor_can_download(d));
    EXPECT_EQ(dfu_block_size(d), 2048);
    d.wTransferSize = 0xFFFF;
    EXPECT_EQ(dfu_block_size(d), DFU_MAX_TRANSFER_SIZE);
    d.bmAttributes = 0x0E;
    EXPECT_FALSE(dfu_descriptor_can_download(d));
}

TEST_F(DfuRequestTest, FullDownloadReachesTheDeviceBlockByBlock)
{
    auto c = config();
    c.busyTimeMs = 20;
    c.pollTimeoutMs = 20;
    auto p = plug(sim::Family::Orbrin, QStringLiteral("OR1"), c);

    auto runDevice = waitForDevice("6e17", "OR1");
    ASSERT_TRUE(runDevice);
    auto run = dfuOf(runDevice);
    const auto desc = find_dfu_functional_descriptor(run);
    ASSERT_TRUE(desc);
    EXPECT_EQ(desc->wTransferSize, 1024);
    EXPECT_EQ(desc->bmAttributes, c.bmAttributes);
    EXPECT_TRUE(dfu_descriptor_can_download(*desc));
    EXPECT_EQ(usb_open_device(runDevice), kDfuIoSuccess);
    EXPECT_EQ(usb_open_interface(run), kDfuIoSuccess);
    EXPECT_EQ(dfu_get_state(run), DFU_STATE_APP_IDLE);

    dfu_status st;
    ASSERT_EQ(dfu_get_status(run, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_APP_IDLE);
    EXPECT_EQ(st.bStatus, DFU_STATUS_OK);

    // DETACH: the device (bitWillDetach) leaves and comes back in DFU mode.
    ASSERT_EQ(dfu_detach(run, desc->wDetachTimeOut), kDfuIoSuccess);
    EXPECT_EQ(dfu_get_state(run), kDfuIoNoDevice);  // this enumeration is over
    EXPECT_EQ(dfu_release_and_close(runDevice), kDfuIoSuccess);

    auto dfuDevice = waitForDevice("6e18", "OR1");
    ASSERT_TRUE(dfuDevice);
    auto intf = dfuOf(dfuDevice);
    EXPECT_EQ(dfu_get_state(intf), DFU_STATE_DFU_IDLE);

    // 3.5 blocks, then the zero-length block and manifestation.
    const QByteArray image = randomBytes(3584, 5);
    download(intf, image, 1024);
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_MANIFEST);
    sleepScaled(st.bwPollTimeout);
    // Manifestation tolerant: back to dfuIDLE, then the device resets itself.
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_IDLE);

    const auto blocks = p.handler->blocks();
    ASSERT_EQ(blocks.size(), 5u);
    for (size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(blocks[i].number, i);
    EXPECT_TRUE(blocks.back().data.isEmpty());
    EXPECT_EQ(p.handler->installedImage(), image);
    ASSERT_TRUE(waitForDevice("6e17", "OR1"));
    EXPECT_EQ(p.device->firmwareVersion(), "1.4");
}

TEST_F(DfuRequestTest, NonTolerantDeviceWaitsForTheHostReset)
{
    auto c = config();
    c.bmAttributes = 0x01;  // can download only: no self detach, not tolerant
    c.wDetachTimeOut = 60000;  // ample for the reset on a loaded machine
    auto p = plug(sim::Family::Pirok, QStringLiteral("PK9"), c);

    auto run = dfuOf(waitForDevice("5c01", "PK9"));
    ASSERT_EQ(dfu_detach(run, c.wDetachTimeOut), kDfuIoSuccess);
    EXPECT_EQ(dfu_get_state(run), DFU_STATE_APP_DETACH);  // still here, waiting
    EXPECT_EQ(usb_reset_device(run.device), kDfuIoSuccess);

    auto intf = dfuOf(waitForDevice("5c02", "PK9"));
    const QByteArray image = randomBytes(1500, 2);
    download(intf, image, 1024);
    dfu_status st;
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_MANIFEST);
    sleepScaled(st.bwPollTimeout);
    EXPECT_EQ(dfu_get_state(intf), kDfuIoTimeout);  // dfuMANIFEST-WAIT-RESET answers nothing
    EXPECT_EQ(p.handler->state(), DFU_STATE_DFU_MANIFEST_WAIT_RESET);
    EXPECT_EQ(p.handler->manifestCount(), 0);
    EXPECT_EQ(usb_reset_device(intf.device), kDfuIoSuccess);
    ASSERT_TRUE(waitForDevice("5c01", "PK9"));
    EXPECT_EQ(p.handler->installedImage(), image);
    EXPECT_EQ(p.handler->manifestCount(), 1);
}

TEST_F(DfuRequestTest, PlainSimulatedDeviceResetsItselfAfterManifestation)
{
    // A device as the simulated bus makes it: can download, will detach, not
    // manifestation tolerant, 2048-byte blocks.
    auto device = bus->plug(sim::Family::Vasko, QStringLiteral("VK7.03"));
    ASSERT_TRUE(device);
    sim::SimDfuConfig c;
    c.versionAfterUpdate = QStringLiteral("V1.3");
    auto handler = sim::attachSimDfu(device, c);

    auto run = dfuOf(waitForDevice("6e12", "VK7"));
    const auto desc = find_dfu_functional_descriptor(run);
    ASSERT_TRUE(desc);
    EXPECT_TRUE(desc->willDetach());
    EXPECT_FALSE(desc->manifestationTolerant());
    ASSERT_EQ(dfu_detach(run, desc->wDetachTimeOut), kDfuIoSuccess);

    auto intf = dfuOf(waitForDevice("6e13", "VK7"));
    const QByteArray image = randomBytes(5000, 8);
    download(intf, image, dfu_block_size(*desc));
    dfu_status st;
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_MANIFEST);
    // No reset from the host: the device comes back on its own.
    ASSERT_TRUE(waitForDevice("6e12", "VK7"));
    EXPECT_EQ(device->firmwareVersion(), "V1.3");
    EXPECT_EQ(handler->installedImage(), image);
    EXPECT_EQ(handler->blocks().size(), 4u);  // 2048 + 2048 + 904 + the empty one
}

TEST_F(DfuRequestTest, DetachNotFollowedByAResetInTimeIsForgotten)
{
    auto c = config();
    c.bmAttributes = 0x01;
    c.wDetachTimeOut = 1;  // 1 ms: the window is not scaled
    plug(sim::Family::Orbrin, QStringLiteral("OR3"), c);
    auto run = dfuOf(waitForDevice("6e17", "OR3"));
    ASSERT_EQ(dfu_detach(run, c.wDetachTimeOut), kDfuIoSuccess);
    sleepScaled(1000);
    EXPECT_EQ(dfu_get_state(run), DFU_STATE_APP_IDLE);
}

TEST_F(DfuRequestTest, ErrorStatesAndTheirRecovery)
{
    // Starts in dfuERROR: GETSTATUS says so, CLRSTATUS leads to dfuIDLE.
    auto c = config();
    c.initialDfuState = DFU_STATE_DFU_ERROR;
    plug(sim::Family::Vasko, QStringLiteral("VK5.01"), c, sim::Mode::Dfu);
    auto intf = dfuOf(waitForDevice("6e13", "VK5"));
    dfu_status st;
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_ERROR);
    EXPECT_NE(st.bStatus, DFU_STATUS_OK);
    EXPECT_EQ(dfu_clear_status(intf), kDfuIoSuccess);
    EXPECT_EQ(dfu_get_state(intf), DFU_STATE_DFU_IDLE);
    // A request the state does not allow is stalled and leads to dfuERROR.
    EXPECT_EQ(dfu_download(intf, 0, 0, nullptr), kDfuIoPipeStalled);
    EXPECT_EQ(dfu_get_state(intf), DFU_STATE_DFU_ERROR);
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bStatus, DFU_STATUS_ERR_STALLEDPKT);

    // Starts in dfuDNLOAD-IDLE (an earlier download cut short): ABORT.
    c.initialDfuState = DFU_STATE_DFU_DNLOAD_IDLE;
    plug(sim::Family::Orbrin, QStringLiteral("OR2"), c, sim::Mode::Dfu);
    auto intf2 = dfuOf(waitForDevice("6e18", "OR2"));
    EXPECT_EQ(dfu_get_state(intf2), DFU_STATE_DFU_DNLOAD_IDLE);
    EXPECT_EQ(dfu_abort(intf2), kDfuIoSuccess);
    EXPECT_EQ(dfu_get_state(intf2), DFU_STATE_DFU_IDLE);

    // A reset of a device in DFU mode without a new image brings back the
    // old firmware.
    EXPECT_EQ(usb_reset_device(intf2.device), kDfuIoSuccess);
    EXPECT_TRUE(waitForDevice("6e17", "OR2"));
}

TEST_F(DfuRequestTest, FaultsGiveTheirIoResults)
{
    auto c = config();
    c.stallDetach = true;
    plug(sim::Family::Orbrin, QStringLiteral("S1"), c);
    auto stalled = dfuOf(waitForDevice("6e17", "S1"));
    EXPECT_EQ(dfu_detach(stalled, 1000), kDfuIoPipeStalled);
    EXPECT_EQ(dfu_get_state(stalled), DFU_STATE_APP_IDLE);

    c = config();
    c.neverReenumerate = true;
    plug(sim::Family::Orbrin, QStringLiteral("S2"), c);
    auto lostIntf = dfuOf(waitForDevice("6e17", "S2"));
    EXPECT_EQ(dfu_detach(lostIntf, 1000), kDfuIoSuccess);
    sleepScaled(2000);
    EXPECT_FALSE(find_usb_device_interface("1d5c", "6e18", "S2"));
    EXPECT_FALSE(find_usb_device_interface("1d5c", "6e17", "S2"));
    // A failed GETSTATE gives the I/O result itself, above any state.
    EXPECT_EQ(dfu_get_state(lostIntf), kDfuIoNoDevice);
    EXPECT_GT(dfu_get_state(lostIntf), 10u);

    // A GETSTATUS reply shorter than 6 bytes is a failed request and leaves
    // the error state in the record.
    c = config();
    c.statusReplyLength = 4;
    plug(sim::Family::Orbrin, QStringLiteral("S3"), c, sim::Mode::Dfu);
    dfu_status st;
    st.bState = DFU_STATE_DFU_IDLE;
    st.bStatus = DFU_STATUS_OK;
    EXPECT_EQ(dfu_get_status(dfuOf(waitForDevice("6e18", "S3")), &st), kDfuIoUnderrun);
    EXPECT_EQ(st.bStatus, DFU_STATUS_ERR_UNKNOWN);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_ERROR);
    EXPECT_EQ(st.bwPollTimeout, 0u);

    // errFIRMWARE at manifestation; a reset leaves the device in DFU mode.
    c = config();
    c.errFirmware = true;
    auto corrupt = plug(sim::Family::Vasko, QStringLiteral("S4.02"), c, sim::Mode::Dfu);
    auto intf = dfuOf(waitForDevice("6e13", "S4"));
    download(intf, randomBytes(100), 1024);
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bStatus, DFU_STATUS_ERR_FIRMWARE);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_ERROR);
    EXPECT_STREQ(dfu_status_name(st.bStatus),
                 "Device's firmware is corrupt. It cannot return to run-time (non-DFU) operations");
    EXPECT_EQ(corrupt.handler->manifestCount(), 0);
    EXPECT_EQ(usb_reset_device(intf.device), kDfuIoSuccess);
    auto again = dfuOf(waitForDevice("6e13", "S4"));
    ASSERT_EQ(dfu_get_status(again, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bStatus, DFU_STATUS_ERR_FIRMWARE);

    // Unplugged in the middle of the download.
    c = config();
    c.unplugAfterBlocks = 2;
    auto unplugged = plug(sim::Family::Pirok, QStringLiteral("S5"), c, sim::Mode::Dfu);
    auto uIntf = dfuOf(waitForDevice("5c02", "S5"));
    const QByteArray image = randomBytes(4000);
    const auto *data = reinterpret_cast<const uint8_t *>(image.constData());
    for (uint16_t block = 0; block < 2; ++block) {
        ASSERT_EQ(dfu_download(uIntf, 1024, block, data + block * 1024), kDfuIoSuccess);
        ASSERT_EQ(dfu_get_status(uIntf, &st), kDfuIoSuccess);
    }
    EXPECT_EQ(dfu_download(uIntf, 1024, 2, data + 2048), kDfuIoNoDevice);
    EXPECT_EQ(dfu_get_status(uIntf, &st), kDfuIoNoDevice);
    EXPECT_EQ(unplugged.handler->receivedImage(), image.left(2048));
    EXPECT_FALSE(find_usb_device_interface("1d5c", "5c02", "S5"));
}

TEST_F(DfuRequestTest, PollingBeforeTheTimeTheDeviceAskedForFails)
{
    auto c = config();
    c.busyTimeMs = 60000;  // far longer than the next request takes to come
    c.pollTimeoutMs = 60000;
    auto p = plug(sim::Family::Orbrin, QStringLiteral("B1"), c, sim::Mode::Dfu);
    auto intf = dfuOf(waitForDevice("6e18", "B1"));
    const QByteArray block(512, 'a');
    ASSERT_EQ(dfu_download(intf, 512, 0, reinterpret_cast<const uint8_t *>(block.constData())),
              kDfuIoSuccess);
    dfu_status st;
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_DNBUSY);
    EXPECT_EQ(st.bwPollTimeout, 60000u);
    EXPECT_EQ(dfu_get_status(intf, &st), kDfuIoPipeStalled);
    EXPECT_EQ(p.handler->state(), DFU_STATE_DFU_ERROR);
}

TEST_F(DfuRequestTest, BlocksLargerThanOneTransferAreRefusedBeforeSending)
{
    auto c = config();
    c.wTransferSize = 8192;
    auto p = plug(sim::Family::Orbrin, QStringLiteral("T1"), c, sim::Mode::Dfu);
    auto intf = dfuOf(waitForDevice("6e18", "T1"));
    const auto desc = find_dfu_functional_descriptor(intf);
    ASSERT_TRUE(desc);
    EXPECT_EQ(desc->wTransferSize, 8192);
    EXPECT_EQ(dfu_block_size(*desc), 4096);
    const QByteArray big(8192, 'b');
    const auto *data = reinterpret_cast<const uint8_t *>(big.constData());
    EXPECT_EQ(dfu_download(intf, 8192, 0, data), kDfuIoBadArgument);
    EXPECT_EQ(dfu_download(intf, 10, 0, nullptr), kDfuIoBadArgument);
    EXPECT_TRUE(p.handler->requests().empty());
    EXPECT_EQ(dfu_download(intf, 4096, 0, data), kDfuIoSuccess);
}

TEST_F(DfuRequestTest, TransferSizeZeroMeansNoDownload)
{
    auto c = config();
    c.wTransferSize = 0;
    plug(sim::Family::Pirok, QStringLiteral("Z1"), c);
    const auto desc = find_dfu_functional_descriptor(dfuOf(waitForDevice("5c01", "Z1")));
    ASSERT_TRUE(desc);
    EXPECT_TRUE(desc->canDownload());
    EXPECT_FALSE(dfu_descriptor_can_download(*desc));
}

TEST(DfuOpen, ClaimReleaseAndClose)
{
    auto stub = std::make_shared<StubBackend>();
    platform::installBackend(stub);
    auto device = stub->add(0x6E17, QStringLiteral("C1"));
    auto intf = *find_dfu_interface(device);

    // Another client holding the interface counts as success.
    device->claimResult = platform::UsbError::Access;
    EXPECT_EQ(usb_open_interface(intf), kDfuIoSuccess);
    device->claimResult = platform::UsbError::Other;
    EXPECT_EQ(usb_open_interface(intf), kDfuIoError);
    device->claimResult = platform::UsbError::None;

    // The backend already counts a device held by another client as opened;
    // what is left is a refusal (no permission).
    device->openResult = platform::UsbError::Access;
    EXPECT_EQ(usb_open_device(device), kDfuIoExclusiveAccess);
    device->openResult = platform::UsbError::None;
    EXPECT_EQ(usb_open_device(device), kDfuIoSuccess);
    EXPECT_EQ(usb_open_device(nullptr), kDfuIoError);

    EXPECT_EQ(usb_open_interface(intf), kDfuIoSuccess);
    EXPECT_EQ(device->claimed.count(2), 1u);
    EXPECT_EQ(dfu_release_and_close(device), kDfuIoSuccess);
    EXPECT_TRUE(device->claimed.empty());
    EXPECT_EQ(device->closeCount, 1);
    // Closing again, and releasing what was never claimed, still succeed.
    EXPECT_EQ(dfu_release_and_close(device), kDfuIoSuccess);
    EXPECT_EQ(dfu_release_interface(nullptr), kDfuIoSuccess);
    EXPECT_EQ(dfu_release_and_close(nullptr), kDfuIoSuccess);
    // A device gone before the reset counts as reset.
    EXPECT_EQ(usb_reset_device(device), kDfuIoSuccess);
    platform::installBackend(std::shared_ptr<platform::Backend>());
}

TEST(DfuTexts, StateAndStatusNames)
{
    EXPECT_STREQ(dfu_state_name(0), "appIDLE");
    EXPECT_STREQ(dfu_state_name(8), "dfuMANIFEST-WAIT-RESET");
    EXPECT_STREQ(dfu_state_name(10), "dfuERROR");
    EXPECT_STREQ(dfu_state_name(11), "UnKnown");
    EXPECT_STREQ(dfu_state_name(kDfuIoNoDevice), "UnKnown");
    EXPECT_STREQ(dfu_status_name(0), "No error condition is present");
    EXPECT_STREQ(dfu_status_name(15), "Device stalled an unexpected request");
    EXPECT_STREQ(dfu_status_name(16), "Unknown");
}

} // namespace
