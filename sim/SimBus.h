#pragma once
// The simulated USB bus: the devices plugged into it, their enumerations
// (connections) and the events the backends turn into platform notices.
// Thread-safe. One process-wide bus serves the application (shared()); tests
// may make buses of their own.

#include "sim/SimDevice.h"
#include "sim/SimScheduler.h"

#include "platform/Hid.h"
#include "platform/Usb.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace sim {

// One enumeration of a device: what the host sees until the device leaves.
struct SimConnection {
    std::shared_ptr<SimDevice> device;
    uint64_t id = 0;
    Mode mode = Mode::Run;
    std::vector<platform::HidIdentity> hid;   // run mode only; index = HID interface
    platform::UsbDeviceInfo usb;
};
using SimConnectionRef = std::shared_ptr<const SimConnection>;

struct SimBusEvent {
    enum Kind { Arrived, Removed, InputReport };
    Kind kind = Arrived;
    SimConnectionRef connection;
    int hidInterface = 0;     // InputReport
    QByteArray report;        // InputReport: the 4 bytes
};

class SimBus : public std::enable_shared_from_this<SimBus> {
public:
    static std::shared_ptr<SimBus> create();
    // The bus of the process (made on first use).
    static std::shared_ptr<SimBus> shared();
    ~SimBus();

    // Plugs a new device. Fails (nothing, *error set) when the serial is
    // already on the bus or the config is unusable.
    std::shared_ptr<SimDevice> plug(const SimDeviceConfig &config, QString *error = nullptr);
    std::shared_ptr<SimDevice> plug(Family family, const QString &serial, Mode mode = Mode::Run);
    // Fills the bus from a list like "orbrin:OR1,vasko:VS2.01,pirok:PK3:dfu".
    // Returns the number of devices plugged; *error names the first bad entry.
    int plugList(const QString &list, QString *error = nullptr);
    // Pulls the device out; it is forgotten. False when there is none.
    bool unplug(const QString &serial);
    bool unplug(const std::shared_ptr<SimDevice> &device);
    void unplugAll();

    // By the serial as the device reports it, or by the text before its
    // first "." (Vasko serials).
    std::shared_ptr<SimDevice> device(const QString &serial) const;
    std::vector<std::shared_ptr<SimDevice>> devices() const;
    std::vector<SimConnectionRef> connections() const;
    // Brings back every device whose re-enumeration is due, on the calling
    // thread (SimDevice::returnIfDue). The host's USB listing calls it first,
    // so that a device is listed once its time has come whether or not the
    // bus's worker has run. Not to be called with the bus or a device locked.
    void returnDueDevices();
    SimConnectionRef connection(uint64_t id) const;

    // Events run synchronously on the thread that caused them, in bus order,
    // with the bus locked: a listener only hands them on (it must not call
    // back into the bus). present receives the connections that exist when
    // the listener is added.
    using Listener = std::function<void(const SimBusEvent &)>;
    int subscribe(Listener listener, std::vector<SimConnectionRef> *present = nullptr);
    // The same, handing the present connections to present while the bus is
    // still locked, so that no event can come in between.
    using PresentHandler = std::function<void(const std::vector<SimConnectionRef> &)>;
    int subscribe(Listener listener, const PresentHandler &present);
    void unsubscribe(int token);

    SimScheduler &scheduler() { return m_scheduler; }

    // Work run on every device plugged from now on, before it first arrives
    // on the bus: registering request and control handlers, for example.
    // Global setups apply to every bus of the process, after the bus's own.
    using DeviceSetup = std::function<void(SimDevice &)>;
    void addDeviceSetup(DeviceSetup setup);
    static void addGlobalDeviceSetup(DeviceSetup setup);

    // Used by SimDevice.
    void deviceArrives(const std::shared_ptr<SimDevice> &device);
    void deviceLeaves(const std::shared_ptr<SimDevice> &device);
    void inputReport(const std::shared_ptr<SimDevice> &device, int hidInterface, const QByteArray &report);
    bool isPlugged(const std::shared_ptr<SimDevice> &device) const;

private:
    SimBus();
    SimConnectionRef describe(const std::shared_ptr<SimDevice> &device, uint64_t id);
    void emitEvent(const SimBusEvent &event);
    std::shared_ptr<SimDevice> findLocked(const QString &serial) const;

    mutable std::recursive_mutex m_mutex;
    std::vector<std::shared_ptr<SimDevice>> m_devices;
    std::map<uint64_t, SimConnectionRef> m_connections;
    std::map<int, Listener> m_listeners;
    std::vector<DeviceSetup> m_setups;
    std::map<const SimDevice *, uint32_t> m_locations;
    uint64_t m_nextConnection = 1;
    int m_nextToken = 1;
    uint32_t m_nextLocation = 1;
    uint8_t m_nextAddress = 1;
    SimScheduler m_scheduler;
};

} // namespace sim
