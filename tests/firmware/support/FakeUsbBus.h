#pragma once
// A minimal USB bus for the DFU request tests: devices whose default pipe is
// answered by a sim::SimControlHandler, that leave and come back in the other
// mode at once when the handler re-enumerates them.

#include "platform/Backend.h"
#include "sim/SimDeviceHost.h"
#include "sim/dfu/SimDfuHandler.h"

#include <QString>

#include <memory>
#include <mutex>
#include <set>
#include <vector>

namespace testsupport {

class FakeUsbBus;

// One appearance of a device on the bus; a re-enumeration makes a new one.
class FakeUsbDevice : public platform::UsbDevice {
public:
    struct Shared;
    FakeUsbDevice(std::shared_ptr<Shared> shared, sim::Mode mode)
        : m_shared(std::move(shared)), m_mode(mode)
    {
    }

    platform::UsbDeviceInfo info() const override;
    platform::UsbError open() override
    {
        if (m_gone)
            return platform::UsbError::NoDevice;
        ++openCount;
        return openResult;
    }
    void close() override { ++closeCount; }
    platform::UsbError claimInterface(int number) override
    {
        if (m_gone)
            return platform::UsbError::NoDevice;
        if (claimResult != platform::UsbError::None)
            return claimResult;
        claimed.insert(number);
        return platform::UsbError::None;
    }
    platform::UsbError releaseInterface(int number) override
    {
        if (m_gone)
            return platform::UsbError::NoDevice;
        return claimed.erase(number) ? platform::UsbError::None : platform::UsbError::NotFound;
    }
    platform::UsbError controlTransfer(const platform::UsbSetup &setup, uint8_t *data, unsigned,
                                       int *transferred) override;
    platform::UsbError reset() override;

    bool gone() const { return m_gone; }
    void markGone() { m_gone = true; }
    sim::Mode mode() const { return m_mode; }

    platform::UsbError openResult = platform::UsbError::None;
    platform::UsbError claimResult = platform::UsbError::None;
    std::set<int> claimed;
    int openCount = 0;
    int closeCount = 0;

private:
    std::shared_ptr<Shared> m_shared;
    sim::Mode m_mode;
    bool m_gone = false;
};

// The device itself, across its appearances.
struct FakeUsbDevice::Shared : sim::SimDeviceHost, std::enable_shared_from_this<FakeUsbDevice::Shared> {
    FakeUsbBus *bus = nullptr;
    sim::Family fam = sim::Family::Orbrin;
    sim::Mode currentMode = sim::Mode::Run;
    QString serial;
    QString version = QStringLiteral("1.0");
    std::shared_ptr<sim::SimDfuHandler> handler;
    std::shared_ptr<FakeUsbDevice> present;  // null while off the bus
    std::vector<std::pair<sim::Mode, int>> reenumerations;
    bool disconnected = false;

    sim::Family family() const override { return fam; }
    sim::Mode mode() const override { return currentMode; }
    QString serialNumber() const override { return serial; }
    QString firmwareVersion() const override { return version; }
    void setFirmwareVersion(const QString &v) override { version = v; }
    QString deviceName() const override { return {}; }
    void setDeviceName(const QString &) override {}
    void reenumerate(sim::Mode mode, int delayMs) override;
    void disconnect() override;
    void raiseInputReport(uint8_t, uint16_t) override {}
};

inline uint16_t fakeProductId(sim::Family family, sim::Mode mode)
{
    switch (family) {
    case sim::Family::Orbrin: return mode == sim::Mode::Run ? 0x6E17 : 0x6E18;
    case sim::Family::Vasko: return mode == sim::Mode::Run ? 0x6E12 : 0x6E13;
    case sim::Family::Pirok: return mode == sim::Mode::Run ? 0x5C01 : 0x5C02;
    }
    return 0;
}

class FakeUsbBus : public platform::UsbBus {
public:
    std::vector<platform::UsbDeviceRef> devices() override
    {
        std::lock_guard lock(mutex);
        std::vector<platform::UsbDeviceRef> out;
        for (const auto &d : all)
            if (d->present)
                out.push_back(d->present);
        return out;
    }
    std::unique_ptr<Watch> watch(DeviceCallback, DeviceCallback) override { return nullptr; }

    std::shared_ptr<FakeUsbDevice::Shared> add(sim::Family family, const QString &serial,
                                               sim::SimDfuConfig config = {},
                                               sim::Mode mode = sim::Mode::Run)
    {
        auto shared = std::make_shared<FakeUsbDevice::Shared>();
        shared->bus = this;
        shared->fam = family;
        shared->serial = serial;
        shared->currentMode = mode;
        shared->handler = std::make_shared<sim::SimDfuHandler>(config);
        shared->handler->modeChanged(*shared, mode);
        shared->present = std::make_shared<FakeUsbDevice>(shared, mode);
        std::lock_guard lock(mutex);
        all.push_back(shared);
        return shared;
    }

    std::mutex mutex;
    std::vector<std::shared_ptr<FakeUsbDevice::Shared>> all;
};

class FakeBackend : public platform::Backend {
public:
    QString name() const override { return QStringLiteral("fake"); }
    std::unique_ptr<platform::HidManager> createHidManager() override { return nullptr; }
    platform::UsbBus &usbBus() override { return bus; }
    FakeUsbBus bus;
};

inline platform::UsbDeviceInfo FakeUsbDevice::info() const
{
    platform::UsbDeviceInfo info;
    info.vendorId = sim::kVendorId;
    info.productId = fakeProductId(m_shared->fam, m_mode);
    info.serialNumber = m_shared->serial;
    const auto config = m_shared->handler->config();
    platform::UsbInterfaceInfo video;
    video.number = 0;
    video.interfaceClass = 0x0E;
    video.interfaceSubClass = 1;
    if (m_mode == sim::Mode::Run && config.interfaceNumber != 0)
        info.interfaces.push_back(video);
    platform::UsbInterfaceInfo dfu;
    dfu.number = config.interfaceNumber;
    dfu.interfaceClass = 0xFE;
    dfu.interfaceSubClass = 0x01;
    dfu.interfaceProtocol = m_mode == sim::Mode::Run ? 1 : 2;
    dfu.extra = sim::simDfuFunctionalDescriptor(config);
    info.interfaces.push_back(dfu);
    return info;
}

inline platform::UsbError FakeUsbDevice::controlTransfer(const platform::UsbSetup &setup,
                                                         uint8_t *data, unsigned,
                                                         int *transferred)
{
    if (m_gone)
        return platform::UsbError::NoDevice;
    const auto result = m_shared->handler->handleControl(*m_shared, setup, data, transferred);
    return result.value_or(platform::UsbError::Stall);
}

inline platform::UsbError FakeUsbDevice::reset()
{
    if (m_gone)
        return platform::UsbError::NoDevice;
    m_shared->handler->resetReceived(*m_shared);
    return m_gone ? platform::UsbError::NoDevice : platform::UsbError::None;
}

inline void FakeUsbDevice::Shared::reenumerate(sim::Mode mode, int delayMs)
{
    // Leaves and comes back at once; the delay is only recorded.
    reenumerations.emplace_back(mode, delayMs);
    if (present)
        present->markGone();
    currentMode = mode;
    handler->modeChanged(*this, mode);
    std::lock_guard lock(bus->mutex);
    present = std::make_shared<FakeUsbDevice>(shared_from_this(), mode);
}

inline void FakeUsbDevice::Shared::disconnect()
{
    disconnected = true;
    if (present)
        present->markGone();
    present.reset();
}

} // namespace testsupport
