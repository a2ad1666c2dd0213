// DFU class requests, lookups and their I/O results, against the simulated
// DFU 1.1 device side.
#include "dfu_request.h"
#include "platform/TimeScale.h"
#include "support/DfuFileMaker.h"
#include "support/FakeUsbBus.h"

#include <gtest/gtest.h>

#include <thread>

using namespace testsupport;

namespace {

class DfuRequestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend = std::make_shared<FakeBackend>();
        platform::installBackend(backend);
    }
    void TearDown() override { platform::installBackend(std::shared_ptr<platform::Backend>()); }

    FakeUsbBus &bus() { return backend->bus; }

    // The DFU interface of the device's current appearance.
    dfu_interface dfuOf(const std::shared_ptr<FakeUsbDevice::Shared> &device)
    {
        auto intf = find_dfu_interface(device->present);
        EXPECT_TRUE(intf.has_value());
        return intf.value_or(dfu_interface{});
    }

    static sim::SimDfuConfig config()
    {
        sim::SimDfuConfig c;
        c.interfaceNumber = 3;
        c.wTransferSize = 1024;
        c.versionAfterUpdate = QStringLiteral("1.4");
        return c;
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
                std::this_thread::sleep_for(std::chrono::milliseconds(platform::scaledMs(st.bwPollTimeout)));
                ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
            }
            ASSERT_EQ(st.bState, DFU_STATE_DFU_DNLOAD_IDLE) << dfu_state_name(st.bState);
        }
        ASSERT_EQ(dfu_download(intf, 0, block, nullptr), kDfuIoSuccess);
    }

    std::shared_ptr<FakeBackend> backend;
};

TEST_F(DfuRequestTest, LookupBySerialCutsTheVaskoSuffixOnly)
{
    bus().add(sim::Family::Vasko, QStringLiteral("VK0001.12"));
    bus().add(sim::Family::Orbrin, QStringLiteral("VK0001.12"));
    bus().add(sim::Family::Orbrin, QStringLiteral("OR77"));

    struct Case {
        const char *vid, *pid, *serial;
        bool found;
    } cases[] = {
        {"1d5c", "6e12", "VK0001", true},
        {"1D5C", "6E12", "VK0001", true},       // ids compared as numbers
        {"1d5c", "6e12", "VK0001.12", false},   // the cut serial is what counts
        {"1d5c", "6e17", "VK0001", false},      // no cut for the video bar
        {"1d5c", "6e17", "VK0001.12", true},
        {"1d5c", "6e17", "OR77", true},
        {"1d5c", "6e17", "OR7", false},
        {"1d5c", "5c01", "OR77", false},
        {"zz", "6e17", "OR77", false},
        {"1d5c", "", "OR77", false},
    };
    for (const auto &c : cases) {
        const auto dev = find_usb_device_interface(c.vid, c.pid, c.serial);
        EXPECT_EQ(dev != nullptr, c.found) << c.vid << ":" << c.pid << " " << c.serial;
    }
}

TEST_F(DfuRequestTest, LookupFallsBackToTheUsbSerialAndTakesTheLastMatch)
{
    // A device whose registry has only "USB Serial Number".
    class NoSerial : public FakeUsbDevice {
    public:
        using FakeUsbDevice::FakeUsbDevice;
        platform::UsbDeviceInfo info() const override
        {
            auto i = FakeUsbDevice::info();
            i.usbSerialNumber = i.serialNumber;
            i.serialNumber.reset();
            return i;
        }
    };
    auto first = bus().add(sim::Family::Pirok, QStringLiteral("PK1"));
    auto second = bus().add(sim::Family::Pirok, QStringLiteral("PK1"));
    second->present = std::make_shared<NoSerial>(second, sim::Mode::Run);
    EXPECT_EQ(find_usb_device_interface("1d5c", "5c01", "PK1"), second->present);
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
    auto device = bus().add(sim::Family::Orbrin, QStringLiteral("OR1"), c);

    auto run = dfuOf(device);
    EXPECT_EQ(run.number, 3);
    const auto desc = find_dfu_functional_descriptor(run);
    ASSERT_TRUE(desc);
    EXPECT_EQ(desc->wTransferSize, 1024);
    EXPECT_EQ(usb_open_device(device->present), kDfuIoSuccess);
    EXPECT_EQ(usb_open_interface(run), kDfuIoSuccess);
    EXPECT_EQ(dfu_get_state(run), DFU_STATE_APP_IDLE);

    dfu_status st;
    ASSERT_EQ(dfu_get_status(run, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_APP_IDLE);
    EXPECT_EQ(st.bStatus, DFU_STATUS_OK);

    // DETACH: the device (bitWillDetach) comes back in DFU mode.
    ASSERT_EQ(dfu_detach(run, desc->wDetachTimeOut), kDfuIoSuccess);
    ASSERT_EQ(device->reenumerations.size(), 1u);
    EXPECT_EQ(device->reenumerations[0].first, sim::Mode::Dfu);
    EXPECT_EQ(dfu_get_state(run), kDfuIoNoDevice);  // the old appearance is gone
    EXPECT_EQ(dfu_release_and_close(run.device), kDfuIoSuccess);

    auto dfuDev = find_usb_device_interface("1d5c", "6e18", "OR1");
    ASSERT_TRUE(dfuDev);
    auto intf = *find_dfu_interface(dfuDev);
    EXPECT_EQ(dfu_get_state(intf), DFU_STATE_DFU_IDLE);

    // 3.5 blocks, then the zero-length block and manifestation.
    const QByteArray image = randomBytes(3584, 5);
    download(intf, image, 1024);
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_MANIFEST);
    std::this_thread::sleep_for(std::chrono::milliseconds(platform::scaledMs(st.bwPollTimeout)));
    // Manifestation tolerant: back to dfuIDLE, then the device resets itself.
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_IDLE);

    const auto blocks = device->handler->blocks();
    ASSERT_EQ(blocks.size(), 5u);
    for (size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(blocks[i].number, i);
    EXPECT_TRUE(blocks.back().data.isEmpty());
    EXPECT_EQ(device->handler->installedImage(), image);
    EXPECT_EQ(device->currentMode, sim::Mode::Run);
    EXPECT_EQ(device->version, "1.4");
    EXPECT_TRUE(find_usb_device_interface("1d5c", "6e17", "OR1"));
}

TEST_F(DfuRequestTest, NonTolerantDeviceWaitsForTheHostReset)
{
    auto c = config();
    c.bmAttributes = 0x01;  // can download only: no self detach, not tolerant
    auto device = bus().add(sim::Family::Pirok, QStringLiteral("PK9"), c);

    auto run = dfuOf(device);
    ASSERT_EQ(dfu_detach(run, 1000), kDfuIoSuccess);
    EXPECT_TRUE(device->reenumerations.empty());
    EXPECT_EQ(dfu_get_state(run), DFU_STATE_APP_DETACH);
    EXPECT_EQ(usb_reset_device(run.device), kDfuIoSuccess);
    ASSERT_EQ(device->currentMode, sim::Mode::Dfu);

    auto intf = dfuOf(device);
    const QByteArray image = randomBytes(1500, 2);
    download(intf, image, 1024);
    dfu_status st;
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_MANIFEST);
    std::this_thread::sleep_for(std::chrono::milliseconds(platform::scaledMs(st.bwPollTimeout)));
    EXPECT_EQ(dfu_get_state(intf), kDfuIoTimeout);  // dfuMANIFEST-WAIT-RESET answers nothing
    EXPECT_EQ(device->handler->state(), DFU_STATE_DFU_MANIFEST_WAIT_RESET);
    EXPECT_EQ(usb_reset_device(intf.device), kDfuIoSuccess);
    EXPECT_EQ(device->currentMode, sim::Mode::Run);
    EXPECT_EQ(device->handler->installedImage(), image);
}

TEST_F(DfuRequestTest, ErrorStatesAndTheirRecovery)
{
    // Starts in dfuERROR: GETSTATUS says so, CLRSTATUS leads to dfuIDLE.
    auto c = config();
    c.initialDfuState = DFU_STATE_DFU_ERROR;
    auto errDev = bus().add(sim::Family::Vasko, QStringLiteral("VK5.01"), c, sim::Mode::Dfu);
    auto intf = dfuOf(errDev);
    dfu_status st;
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_ERROR);
    EXPECT_NE(st.bStatus, DFU_STATUS_OK);
    EXPECT_EQ(dfu_clear_status(intf), kDfuIoSuccess);
    EXPECT_EQ(dfu_get_state(intf), DFU_STATE_DFU_IDLE);
    // A request the state does not allow is stalled and leads to dfuERROR.
    EXPECT_EQ(dfu_download(intf, 0, 0, nullptr), kDfuIoPipeStalled);
    EXPECT_EQ(dfu_get_state(intf), DFU_STATE_DFU_ERROR);

    // Starts in dfuDNLOAD-IDLE (an earlier download cut short): ABORT.
    c.initialDfuState = DFU_STATE_DFU_DNLOAD_IDLE;
    auto idleDev = bus().add(sim::Family::Orbrin, QStringLiteral("OR2"), c, sim::Mode::Dfu);
    auto intf2 = dfuOf(idleDev);
    EXPECT_EQ(dfu_get_state(intf2), DFU_STATE_DFU_DNLOAD_IDLE);
    EXPECT_EQ(dfu_abort(intf2), kDfuIoSuccess);
    EXPECT_EQ(dfu_get_state(intf2), DFU_STATE_DFU_IDLE);
}

TEST_F(DfuRequestTest, FaultsGiveTheirIoResults)
{
    auto c = config();
    c.stallDetach = true;
    auto stalling = bus().add(sim::Family::Orbrin, QStringLiteral("S1"), c);
    EXPECT_EQ(dfu_detach(dfuOf(stalling), 1000), kDfuIoPipeStalled);
    EXPECT_TRUE(stalling->reenumerations.empty());

    c = config();
    c.neverReenumerate = true;
    auto lost = bus().add(sim::Family::Orbrin, QStringLiteral("S2"), c);
    auto lostIntf = dfuOf(lost);
    EXPECT_EQ(dfu_detach(lostIntf, 1000), kDfuIoSuccess);
    EXPECT_FALSE(find_usb_device_interface("1d5c", "6e18", "S2"));
    EXPECT_FALSE(find_usb_device_interface("1d5c", "6e17", "S2"));
    // A failed GETSTATE gives the I/O result itself, above any state.
    EXPECT_GT(dfu_get_state(lostIntf), 10u);

    // A GETSTATUS reply shorter than 6 bytes is a failed request and leaves
    // the error state in the record.
    c = config();
    c.statusReplyLength = 4;
    auto shortReply = bus().add(sim::Family::Orbrin, QStringLiteral("S3"), c, sim::Mode::Dfu);
    dfu_status st;
    st.bState = DFU_STATE_DFU_IDLE;
    st.bStatus = DFU_STATUS_OK;
    EXPECT_EQ(dfu_get_status(dfuOf(shortReply), &st), kDfuIoUnderrun);
    EXPECT_EQ(st.bStatus, DFU_STATUS_ERR_UNKNOWN);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_ERROR);
    EXPECT_EQ(st.bwPollTimeout, 0u);

    // errFIRMWARE at manifestation.
    c = config();
    c.errFirmware = true;
    auto corrupt = bus().add(sim::Family::Vasko, QStringLiteral("S4.02"), c, sim::Mode::Dfu);
    auto intf = dfuOf(corrupt);
    download(intf, randomBytes(100), 1024);
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bStatus, DFU_STATUS_ERR_FIRMWARE);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_ERROR);
    EXPECT_STREQ(dfu_status_name(st.bStatus),
                 "Device's firmware is corrupt. It cannot return to run-time (non-DFU) operations");
    EXPECT_EQ(corrupt->handler->manifestCount(), 0);

    // Unplugged in the middle of the download.
    c = config();
    c.unplugAfterBlocks = 2;
    auto unplugged = bus().add(sim::Family::Pirok, QStringLiteral("S5"), c, sim::Mode::Dfu);
    auto uIntf = dfuOf(unplugged);
    const QByteArray image = randomBytes(4000);
    const auto *p = reinterpret_cast<const uint8_t *>(image.constData());
    for (uint16_t block = 0; block < 2; ++block) {
        ASSERT_EQ(dfu_download(uIntf, 1024, block, p + block * 1024), kDfuIoSuccess);
        ASSERT_EQ(dfu_get_status(uIntf, &st), kDfuIoSuccess);
    }
    EXPECT_EQ(dfu_download(uIntf, 1024, 2, p + 2048), kDfuIoNoDevice);
    EXPECT_EQ(dfu_get_status(uIntf, &st), kDfuIoNoDevice);
    EXPECT_EQ(unplugged->handler->receivedImage(), image.left(2048));
}

TEST_F(DfuRequestTest, PollingBeforeTheTimeTheDeviceAskedForFails)
{
    auto c = config();
    c.busyTimeMs = 5000;  // 50 ms scaled; the next request comes at once
    c.pollTimeoutMs = 5000;
    auto device = bus().add(sim::Family::Orbrin, QStringLiteral("B1"), c, sim::Mode::Dfu);
    auto intf = dfuOf(device);
    const QByteArray block(512, 'a');
    ASSERT_EQ(dfu_download(intf, 512, 0, reinterpret_cast<const uint8_t *>(block.constData())),
              kDfuIoSuccess);
    dfu_status st;
    ASSERT_EQ(dfu_get_status(intf, &st), kDfuIoSuccess);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_DNBUSY);
    EXPECT_EQ(st.bwPollTimeout, 5000u);
    EXPECT_EQ(dfu_get_status(intf, &st), kDfuIoPipeStalled);
    EXPECT_EQ(device->handler->state(), DFU_STATE_DFU_ERROR);
}

TEST_F(DfuRequestTest, BlocksLargerThanOneTransferAreRefusedBeforeSending)
{
    auto c = config();
    c.wTransferSize = 8192;
    auto device = bus().add(sim::Family::Orbrin, QStringLiteral("T1"), c, sim::Mode::Dfu);
    auto intf = dfuOf(device);
    const QByteArray big(8192, 'b');
    const auto *p = reinterpret_cast<const uint8_t *>(big.constData());
    EXPECT_EQ(dfu_download(intf, 8192, 0, p), kDfuIoBadArgument);
    EXPECT_EQ(dfu_download(intf, 10, 0, nullptr), kDfuIoBadArgument);
    EXPECT_TRUE(device->handler->requests().empty());
    EXPECT_EQ(dfu_download(intf, 4096, 0, p), kDfuIoSuccess);
}

TEST_F(DfuRequestTest, OpenClaimReleaseAndClose)
{
    auto device = bus().add(sim::Family::Orbrin, QStringLiteral("C1"), config());
    auto fake = std::static_pointer_cast<FakeUsbDevice>(device->present);
    auto intf = dfuOf(device);

    // Another client holding the interface counts as success.
    fake->claimResult = platform::UsbError::Access;
    EXPECT_EQ(usb_open_interface(intf), kDfuIoSuccess);
    fake->claimResult = platform::UsbError::Other;
    EXPECT_EQ(usb_open_interface(intf), kDfuIoError);
    fake->claimResult = platform::UsbError::None;

    fake->openResult = platform::UsbError::Access;  // no permission
    EXPECT_EQ(usb_open_device(fake), kDfuIoExclusiveAccess);
    fake->openResult = platform::UsbError::None;
    EXPECT_EQ(usb_open_device(fake), kDfuIoSuccess);
    EXPECT_EQ(usb_open_device(nullptr), kDfuIoError);

    EXPECT_EQ(usb_open_interface(intf), kDfuIoSuccess);
    EXPECT_EQ(fake->claimed.count(3), 1u);
    EXPECT_EQ(dfu_release_and_close(fake), kDfuIoSuccess);
    EXPECT_TRUE(fake->claimed.empty());
    EXPECT_EQ(fake->closeCount, 1);
    // Closing again, and releasing what was never claimed, still succeed.
    EXPECT_EQ(dfu_release_and_close(fake), kDfuIoSuccess);
    EXPECT_EQ(dfu_release_interface(nullptr), kDfuIoSuccess);
    EXPECT_EQ(dfu_release_and_close(nullptr), kDfuIoSuccess);
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
