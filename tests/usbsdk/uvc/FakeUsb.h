#pragma once
// Small stand-ins for the platform USB layer: a device whose control
// transfers go to simulated control handlers (or a hook), a bus and a backend
// that hold such devices.

#include "platform/Backend.h"
#include "sim/SimDeviceHost.h"

#include <functional>
#include <mutex>
#include <vector>

namespace fake {

class Host : public sim::SimDeviceHost {
public:
    sim::Family family() const override { return sim::Family::Orbrin; }
    sim::Mode mode() const override { return mode_; }
    QString serialNumber() const override { return QStringLiteral("FAKE0001"); }
    QString firmwareVersion() const override { return QStringLiteral("1.0"); }
    void setFirmwareVersion(const QString &) override {}
    QString deviceName() const override { return QStringLiteral("fake"); }
    void setDeviceName(const QString &) override {}
    void reenumerate(sim::Mode, int) override {}
    void disconnect() override {}
    void raiseInputReport(uint8_t, uint16_t) override {}

    sim::Mode mode_ = sim::Mode::Run;
};

class Device : public platform::UsbDevice {
public:
    explicit Device(platform::UsbDeviceInfo info = {}) : info_(std::move(info)) {}

    platform::UsbDeviceInfo info() const override { return info_; }
    platform::UsbError open() override { return openResult; }
    void close() override {}
    platform::UsbError claimInterface(int number) override
    {
        claims.push_back(number);
        return claimResult;
    }
    platform::UsbError releaseInterface(int number) override
    {
        releases.push_back(number);
        return platform::UsbError::None;
    }
    platform::UsbError controlTransfer(const platform::UsbSetup &setup, uint8_t *data, unsigned,
                                       int *transferred) override
    {
        setups.push_back(setup);
        if (transferred)
            *transferred = 0;
        if (hook)
            return hook(setup, data, transferred);
        for (sim::SimControlHandler *handler : handlers)
            if (auto answer = handler->handleControl(host, setup, data, transferred))
                return *answer;
        return platform::UsbError::Stall;
    }
    platform::UsbError reset() override { return platform::UsbError::None; }

    platform::UsbDeviceInfo info_;
    Host host;
    std::vector<sim::SimControlHandler *> handlers;
    std::function<platform::UsbError(const platform::UsbSetup &, uint8_t *, int *)> hook;
    platform::UsbError openResult = platform::UsbError::None;
    platform::UsbError claimResult = platform::UsbError::None;
    std::vector<platform::UsbSetup> setups;
    std::vector<int> claims;
    std::vector<int> releases;
};

class Bus : public platform::UsbBus {
public:
    std::vector<platform::UsbDeviceRef> devices() override
    {
        std::lock_guard<std::mutex> lock(mutex);
        return present;
    }
    std::unique_ptr<Watch> watch(DeviceCallback, DeviceCallback) override { return nullptr; }

    std::mutex mutex;
    std::vector<platform::UsbDeviceRef> present;
};

class Backend : public platform::Backend {
public:
    QString name() const override { return QStringLiteral("fake"); }
    std::unique_ptr<platform::HidManager> createHidManager() override { return nullptr; }
    platform::UsbBus &usbBus() override { return bus; }

    Bus bus;
};

} // namespace fake
