#include "SimKernel.h"

#include "sim/SimDescriptors.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace e2e {

namespace {

// One enumeration of a simulated device as the kernel's drivers see it.
// Every call names the enumeration, so that the device refuses it (as a
// vanished device would) once it has left the bus or come back anew.
class SimEnumeration : public EmulatedDevice {
public:
    explicit SimEnumeration(sim::SimConnectionRef connection)
        : m_connection(std::move(connection))
    {
        const platform::UsbDeviceInfo &usb = m_connection->usb;
        EmulatedDeviceDescription &d = m_description;
        d.vendorId = usb.vendorId;
        d.productId = usb.productId;
        d.bcdDevice = usb.bcdDevice;
        d.manufacturer = usb.vendorName.value_or(QString());
        d.product = usb.productName.value_or(QString());
        d.serial = usb.serialNumber.value_or(QString());
        d.deviceDescriptor = sim::buildDeviceDescriptor(usb.vendorId, usb.productId, usb.bcdDevice);
        d.configuration = usb.configurationDescriptor;
        // The bus lists the HID interfaces of a run-mode device in interface
        // order; the second one (Vasko) has its own report descriptor.
        size_t hidIndex = 0;
        for (const platform::UsbInterfaceInfo &iface : usb.interfaces) {
            if (iface.alternateSetting != 0)
                continue;
            if (iface.interfaceClass == 0x03 && hidIndex < m_connection->hid.size()) {
                d.hid.push_back({iface.number, sim::hidReportDescriptor(hidIndex == 1)});
                ++hidIndex;
            }
            if (iface.interfaceClass == 0x0E && iface.interfaceSubClass == 0x01)
                d.videoControlInterface = iface.number;
        }
    }

    EmulatedDeviceDescription description() const override { return m_description; }

    int setFeatureReport(int hidIndex, const uint8_t *data, size_t length) override
    {
        const int r = device().hidSetFeatureReport(id(), hidIndex, data, length);
        return r < 0 ? r : int(length);
    }

    int getFeatureReport(int hidIndex, uint8_t *buffer, size_t length) override
    {
        size_t actual = 0;
        const int r =
            device().hidGetFeatureReport(id(), hidIndex, buffer[0], buffer, length, &actual);
        return r < 0 ? r : int(actual);
    }

    platform::UsbError control(const platform::UsbSetup &setup, uint8_t *data,
                               int *transferred) override
    {
        return device().usbControl(id(), setup, data, transferred);
    }

    platform::UsbError reset() override { return device().usbReset(id()); }

private:
    sim::SimDevice &device() const { return *m_connection->device; }
    uint64_t id() const { return m_connection->id; }

    sim::SimConnectionRef m_connection;
    EmulatedDeviceDescription m_description;
};

} // namespace

struct SimKernel::Private {
    std::shared_ptr<sim::SimBus> bus;
    UmockdevBus *kernel = nullptr;
    int token = 0;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<sim::SimBusEvent> events;
    uint64_t queued = 0;
    uint64_t done = 0;
    bool stopping = false;
    std::thread thread;

    // Kernel thread only, read under mutex.
    std::map<uint64_t, PluggedDevice> plugged;          // by connection
    std::map<const sim::SimDevice *, int> ports;
    std::function<void(const PluggedDevice &)> beforeAnnounce;

    void post(const sim::SimBusEvent &event)
    {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back(event);
        ++queued;
        changed.notify_all();
    }

    int portOf(const sim::SimDevice *device)
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto it = ports.find(device);
        if (it != ports.end())
            return it->second;
        const int port = kernel->newPort();
        ports[device] = port;
        return port;
    }

    void arrive(const sim::SimConnectionRef &connection, bool announce)
    {
        const int port = portOf(connection->device.get());
        PluggedDevice nodes =
            kernel->plug(std::make_shared<SimEnumeration>(connection), false, port);
        std::function<void(const PluggedDevice &)> hook;
        {
            std::lock_guard<std::mutex> lock(mutex);
            plugged[connection->id] = nodes;
            hook = beforeAnnounce;
        }
        if (announce) {
            if (hook)
                hook(nodes);
            kernel->announce(nodes);
        }
    }

    void handle(const sim::SimBusEvent &event)
    {
        const uint64_t id = event.connection->id;
        switch (event.kind) {
        case sim::SimBusEvent::Arrived:
            arrive(event.connection, true);
            break;
        case sim::SimBusEvent::Removed: {
            std::optional<PluggedDevice> nodes;
            {
                std::lock_guard<std::mutex> lock(mutex);
                auto it = plugged.find(id);
                if (it != plugged.end()) {
                    nodes = it->second;
                    plugged.erase(it);
                }
            }
            if (nodes)
                kernel->unplug(*nodes);
            break;
        }
        case sim::SimBusEvent::InputReport: {
            QString node;
            {
                std::lock_guard<std::mutex> lock(mutex);
                auto it = plugged.find(id);
                if (it != plugged.end() && size_t(event.hidInterface) < it->second.hidrawNodes.size())
                    node = it->second.hidrawNodes[size_t(event.hidInterface)];
            }
            if (!node.isEmpty())
                kernel->raiseInputReport(node, event.report);
            break;
        }
        }
    }

    void run()
    {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return stopping || !events.empty(); });
            if (events.empty())
                return;
            const sim::SimBusEvent event = events.front();
            events.pop_front();
            lock.unlock();
            handle(event);
            lock.lock();
            ++done;
            changed.notify_all();
        }
    }
};

SimKernel::SimKernel(std::shared_ptr<sim::SimBus> bus) : d(std::make_shared<Private>())
{
    d->bus = std::move(bus);
    d->kernel = &UmockdevBus::instance();
    std::vector<sim::SimConnectionRef> present;
    std::weak_ptr<Private> weak = d;
    // Listeners run with the bus locked: they only queue.
    d->token = d->bus->subscribe(
        [weak](const sim::SimBusEvent &event) {
            if (auto self = weak.lock())
                self->post(event);
        },
        &present);
    for (const sim::SimConnectionRef &connection : present)
        d->arrive(connection, false);
    d->thread = std::thread([p = d.get()] { p->run(); });
}

SimKernel::~SimKernel()
{
    d->bus->unsubscribe(d->token);
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->stopping = true;
        d->changed.notify_all();
    }
    d->thread.join();   // runs what was queued before it stops
    for (const auto &[id, nodes] : d->plugged)
        d->kernel->unplug(nodes);
    d->plugged.clear();
}

void SimKernel::settle()
{
    std::unique_lock<std::mutex> lock(d->mutex);
    const uint64_t target = d->queued;
    d->changed.wait(lock, [&] { return d->done >= target; });
}

std::optional<PluggedDevice> SimKernel::nodesOf(const std::shared_ptr<sim::SimDevice> &device,
                                                int limitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    std::unique_lock<std::mutex> lock(d->mutex);
    for (;;) {
        const uint64_t connection = device->connection();
        auto it = d->plugged.find(connection);
        if (connection != 0 && it != d->plugged.end())
            return it->second;
        if (d->changed.wait_until(lock, deadline) == std::cv_status::timeout)
            return std::nullopt;
    }
}

void SimKernel::setBeforeAnnounce(std::function<void(const PluggedDevice &)> hook)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->beforeAnnounce = std::move(hook);
}

} // namespace e2e
