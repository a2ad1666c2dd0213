#pragma once
// HID manager over the simulated bus: reports the HID interfaces that match
// its vendor/product list, then their arrivals, removals and input reports,
// all on the thread that called open().

#include "platform/Hid.h"

#include <memory>
#include <mutex>
#include <vector>

namespace sim {

class SimBus;

class SimHidManager : public platform::HidManager {
public:
    explicit SimHidManager(std::shared_ptr<SimBus> bus);
    ~SimHidManager() override;

    void setDeviceMatching(std::vector<platform::HidMatch> matches) override;
    void setCallbacks(DeviceCallback matched, DeviceCallback removed) override;
    int open() override;
    void close() override;

private:
    struct State;
    std::shared_ptr<SimBus> m_bus;
    std::shared_ptr<State> m_state;
    int m_token = 0;
};

} // namespace sim
