#include "sim/SimHidManager.h"

#include "sim/SimBus.h"
#include "sim/SimDelivery.h"
#include "sim/SimHidDevice.h"

#include <map>

namespace sim {

struct SimHidManager::State {
    std::mutex mutex;
    std::vector<platform::HidMatch> matches;
    DeviceCallback matched;
    DeviceCallback removed;
    std::shared_ptr<SimDelivery> delivery;
    std::map<std::pair<uint64_t, int>, std::shared_ptr<SimHidDevice>> devices;

    bool matches_(const platform::HidIdentity &identity)
    {
        if (matches.empty())
            return true;
        for (const auto &m : matches) {
            if (m.vendorId == identity.vendorId && m.productId == identity.productId)
                return true;
        }
        return false;
    }

    void post(const std::shared_ptr<SimHidDevice> &device, bool arrival)
    {
        std::shared_ptr<SimDelivery> d;
        {
            std::lock_guard<std::mutex> lock(mutex);
            d = delivery;
        }
        if (!d)
            return;
        d->post([weak = weakSelf, device, arrival] {
            auto self = weak.lock();
            if (!self)
                return;
            DeviceCallback callback;
            {
                std::lock_guard<std::mutex> lock(self->mutex);
                callback = arrival ? self->matched : self->removed;
            }
            if (callback)
                callback(device);
        });
    }

    void arrived(const SimConnectionRef &connection)
    {
        for (size_t i = 0; i < connection->hid.size(); ++i) {
            std::shared_ptr<SimHidDevice> device;
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (!matches_(connection->hid[i]))
                    continue;
                device = std::make_shared<SimHidDevice>(connection->device, connection->id, int(i),
                                                        connection->hid[i]);
                devices[{connection->id, int(i)}] = device;
            }
            post(device, true);
        }
    }

    void onEvent(const SimBusEvent &event)
    {
        switch (event.kind) {
        case SimBusEvent::Arrived:
            arrived(event.connection);
            break;
        case SimBusEvent::Removed: {
            std::vector<std::shared_ptr<SimHidDevice>> gone;
            {
                std::lock_guard<std::mutex> lock(mutex);
                for (auto it = devices.begin(); it != devices.end();) {
                    if (it->first.first == event.connection->id) {
                        gone.push_back(it->second);
                        it = devices.erase(it);
                    } else {
                        ++it;
                    }
                }
            }
            for (const auto &device : gone)
                post(device, false);
            break;
        }
        case SimBusEvent::InputReport: {
            std::shared_ptr<SimHidDevice> device;
            std::shared_ptr<SimDelivery> d;
            {
                std::lock_guard<std::mutex> lock(mutex);
                auto it = devices.find({event.connection->id, event.hidInterface});
                if (it == devices.end())
                    return;
                device = it->second;
                d = delivery;
            }
            if (d) {
                const QByteArray report = event.report;
                d->post([device, report] { device->deliverInputReport(report); });
            }
            break;
        }
        }
    }

    std::weak_ptr<State> weakSelf;
};

SimHidManager::SimHidManager(std::shared_ptr<SimBus> bus)
    : m_bus(std::move(bus))
    , m_state(std::make_shared<State>())
{
    m_state->weakSelf = m_state;
}

SimHidManager::~SimHidManager()
{
    close();
}

void SimHidManager::setDeviceMatching(std::vector<platform::HidMatch> matches)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->matches = std::move(matches);
}

void SimHidManager::setCallbacks(DeviceCallback matched, DeviceCallback removed)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->matched = std::move(matched);
    m_state->removed = std::move(removed);
}

int SimHidManager::open()
{
    if (m_token)
        return 0;
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->delivery = SimDelivery::forCurrentThread();
        m_state->devices.clear();
    }
    std::weak_ptr<State> weak = m_state;
    m_token = m_bus->subscribe(
        [weak](const SimBusEvent &event) {
            if (auto state = weak.lock())
                state->onEvent(event);
        },
        [this](const std::vector<SimConnectionRef> &present) {
            for (const auto &connection : present)
                m_state->arrived(connection);
        });
    return 0;
}

void SimHidManager::close()
{
    if (!m_token)
        return;
    m_bus->unsubscribe(m_token);
    m_token = 0;
    std::shared_ptr<SimDelivery> delivery;
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        delivery = std::move(m_state->delivery);
        m_state->devices.clear();
    }
    if (delivery)
        delivery->close();
}

} // namespace sim
