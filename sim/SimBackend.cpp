#include "sim/SimBackend.h"

#include "sim/SimBus.h"
#include "sim/SimControlServer.h"
#include "sim/SimHidManager.h"
#include "sim/SimUsbBus.h"

namespace sim {

SimBackend::SimBackend(std::shared_ptr<SimBus> bus)
    : m_bus(std::move(bus))
    , m_usb(std::make_unique<SimUsbBus>(m_bus))
{
}

SimBackend::~SimBackend() = default;

QString SimBackend::name() const
{
    return QStringLiteral("sim");
}

std::unique_ptr<platform::HidManager> SimBackend::createHidManager()
{
    return std::make_unique<SimHidManager>(m_bus);
}

platform::UsbBus &SimBackend::usbBus()
{
    return *m_usb;
}

bool SimBackend::startControlServer(const QString &name, QString *error)
{
    auto server = std::make_unique<SimControlServer>(m_bus);
    if (!server->listen(name, error))
        return false;
    m_server = std::move(server);
    return true;
}

} // namespace sim
