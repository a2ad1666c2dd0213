#pragma once
// The USB devices of the simulated bus: a snapshot of those present and
// arrival/removal notices on the watcher's thread.

#include "platform/Usb.h"

#include <map>
#include <memory>
#include <mutex>

namespace sim {

class SimBus;
struct SimConnection;

class SimUsbBus : public platform::UsbBus {
public:
    explicit SimUsbBus(std::shared_ptr<SimBus> bus);

    std::vector<platform::UsbDeviceRef> devices() override;
    std::unique_ptr<Watch> watch(DeviceCallback arrived, DeviceCallback removed) override;

    // The same object for the same enumeration while anyone holds it.
    platform::UsbDeviceRef wrap(const std::shared_ptr<const SimConnection> &connection);

    struct Wrappers {
        std::mutex mutex;
        std::map<uint64_t, std::weak_ptr<platform::UsbDevice>> devices;
        platform::UsbDeviceRef wrap(const std::shared_ptr<const SimConnection> &connection);
    };

private:
    std::shared_ptr<SimBus> m_bus;
    std::shared_ptr<Wrappers> m_wrappers;
};

} // namespace sim
