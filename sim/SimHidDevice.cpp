#include "sim/SimHidDevice.h"

#include "sim/SimDevice.h"

namespace sim {

SimHidDevice::SimHidDevice(std::shared_ptr<SimDevice> device, uint64_t connection, int hidInterface,
                           platform::HidIdentity identity)
    : m_device(std::move(device))
    , m_connection(connection)
    , m_interface(hidInterface)
    , m_identity(std::move(identity))
{
}

platform::HidIdentity SimHidDevice::identity() const
{
    return m_identity;
}

int SimHidDevice::setFeatureReport(const uint8_t *data, size_t length)
{
    return m_device->hidSetFeatureReport(m_connection, m_interface, data, length);
}

int SimHidDevice::getFeatureReport(uint8_t reportId, uint8_t *buffer, size_t length, size_t *actual)
{
    return m_device->hidGetFeatureReport(m_connection, m_interface, reportId, buffer, length, actual);
}

void SimHidDevice::setInputReportHandler(InputReportHandler handler)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_handler = std::move(handler);
}

void SimHidDevice::deliverInputReport(const QByteArray &report)
{
    InputReportHandler handler;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        handler = m_handler;
    }
    if (handler && m_device->isConnection(m_connection))
        handler(reinterpret_cast<const uint8_t *>(report.constData()), size_t(report.size()));
}

} // namespace sim
