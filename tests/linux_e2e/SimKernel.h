#pragma once
// The simulated devices of a sim::SimBus on the emulated kernel: every
// enumeration of a device (a connection of the bus) becomes a usb_device
// with its interface, hidraw and video4linux nodes on UmockdevBus, whose
// nodes answer from that enumeration of the simulated device. Arrivals and
// removals on the bus become "add" and "remove" uevents, input reports are
// raised on the hidraw node, and a device that re-enumerates (DFU detach,
// reset) comes back at its port with a new address, as on a real hub.
//
// Devices already on the bus when the kernel is made are simply present
// (start-up). Events are carried over on a thread of the kernel, in bus
// order, so that a simulated device may leave the bus from inside one of
// its node's calls.

#include "UmockdevBus.h"

#include "sim/SimBus.h"

#include <functional>
#include <memory>
#include <optional>

namespace e2e {

class SimKernel {
public:
    explicit SimKernel(std::shared_ptr<sim::SimBus> bus);
    // Takes every device off the emulated kernel.
    ~SimKernel();

    SimKernel(const SimKernel &) = delete;
    SimKernel &operator=(const SimKernel &) = delete;

    // Waits until every bus event so far has reached the kernel.
    void settle();

    // The nodes of the device's current enumeration, once they are there.
    std::optional<PluggedDevice> nodesOf(const std::shared_ptr<sim::SimDevice> &device,
                                         int limitMs = 5000);

    // Runs on the kernel's thread when a device's nodes exist but before its
    // "add" uevents go out (for example to make a node unreadable).
    void setBeforeAnnounce(std::function<void(const PluggedDevice &)> hook);

    struct Private;

private:
    std::shared_ptr<Private> d;
};

} // namespace e2e
