#pragma once
// One enumeration of a simulated device as a USB device. Fails with
// NoDevice once that enumeration has ended; its info stays as it was.

#include "platform/Usb.h"

#include <memory>

namespace sim {

struct SimConnection;

class SimUsbDevice : public platform::UsbDevice {
public:
    explicit SimUsbDevice(std::shared_ptr<const SimConnection> connection);

    platform::UsbDeviceInfo info() const override;
    platform::UsbError open() override;
    void close() override;
    platform::UsbError claimInterface(int number) override;
    platform::UsbError releaseInterface(int number) override;
    platform::UsbError controlTransfer(const platform::UsbSetup &setup, uint8_t *data,
                                       unsigned timeoutMs, int *transferred) override;
    platform::UsbError reset() override;

    uint64_t connectionId() const;

private:
    platform::UsbError interfaceCheck(int number) const;

    std::shared_ptr<const SimConnection> m_connection;
};

} // namespace sim
