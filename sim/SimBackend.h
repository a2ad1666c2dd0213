#pragma once
// The platform backend over a simulated bus.

#include "platform/Backend.h"

#include <memory>

namespace sim {

class SimBus;
class SimControlServer;
class SimUsbBus;

class SimBackend : public platform::Backend {
public:
    explicit SimBackend(std::shared_ptr<SimBus> bus);
    ~SimBackend() override;

    QString name() const override;
    std::unique_ptr<platform::HidManager> createHidManager() override;
    platform::UsbBus &usbBus() override;

    SimBus &bus() { return *m_bus; }
    std::shared_ptr<SimBus> sharedBus() const { return m_bus; }

    // Opens the control socket (on the calling thread, which needs an event
    // loop). False when it cannot listen.
    bool startControlServer(const QString &name, QString *error = nullptr);
    SimControlServer *controlServer() const { return m_server.get(); }

private:
    std::shared_ptr<SimBus> m_bus;
    std::unique_ptr<SimUsbBus> m_usb;
    std::unique_ptr<SimControlServer> m_server;
};

} // namespace sim
