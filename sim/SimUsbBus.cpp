#include "sim/SimUsbBus.h"

#include "sim/SimBus.h"
#include "sim/SimDelivery.h"
#include "sim/SimUsbDevice.h"

namespace sim {

namespace {

class SimUsbWatch : public platform::UsbBus::Watch {
public:
    SimUsbWatch(std::shared_ptr<SimBus> bus, int token, std::shared_ptr<SimDelivery> delivery)
        : m_bus(std::move(bus))
        , m_token(token)
        , m_delivery(std::move(delivery))
    {
    }
    ~SimUsbWatch() override
    {
        m_bus->unsubscribe(m_token);
        m_delivery->close();
    }

private:
    std::shared_ptr<SimBus> m_bus;
    int m_token;
    std::shared_ptr<SimDelivery> m_delivery;
};

} // namespace

SimUsbBus::SimUsbBus(std::shared_ptr<SimBus> bus)
    : m_bus(std::move(bus))
    , m_wrappers(std::make_shared<Wrappers>())
{
}

platform::UsbDeviceRef SimUsbBus::Wrappers::wrap(const std::shared_ptr<const SimConnection> &connection)
{
    std::lock_guard<std::mutex> lock(mutex);
    for (auto it = devices.begin(); it != devices.end();) {
        if (it->second.expired())
            it = devices.erase(it);
        else
            ++it;
    }
    if (auto it = devices.find(connection->id); it != devices.end()) {
        if (auto existing = it->second.lock())
            return existing;
    }
    auto device = std::make_shared<SimUsbDevice>(connection);
    devices[connection->id] = device;
    return device;
}

platform::UsbDeviceRef SimUsbBus::wrap(const std::shared_ptr<const SimConnection> &connection)
{
    return m_wrappers->wrap(connection);
}

std::vector<platform::UsbDeviceRef> SimUsbBus::devices()
{
    m_bus->returnDueDevices();
    std::vector<platform::UsbDeviceRef> result;
    for (const auto &connection : m_bus->connections())
        result.push_back(wrap(connection));
    return result;
}

std::unique_ptr<platform::UsbBus::Watch> SimUsbBus::watch(DeviceCallback arrived, DeviceCallback removed)
{
    auto delivery = SimDelivery::forCurrentThread();
    std::weak_ptr<SimDelivery> weakDelivery = delivery;
    std::shared_ptr<Wrappers> wrappers = m_wrappers;
    const int token = m_bus->subscribe([wrappers, weakDelivery, arrived, removed](const SimBusEvent &event) {
        auto d = weakDelivery.lock();
        if (!d || event.kind == SimBusEvent::InputReport)
            return;
        platform::UsbDeviceRef device = wrappers->wrap(event.connection);
        const DeviceCallback &callback = event.kind == SimBusEvent::Arrived ? arrived : removed;
        if (callback)
            d->post([callback, device] { callback(device); });
    });
    return std::make_unique<SimUsbWatch>(m_bus, token, delivery);
}

} // namespace sim
