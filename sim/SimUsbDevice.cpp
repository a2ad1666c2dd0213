#include "sim/SimUsbDevice.h"

#include "sim/SimBus.h"

namespace sim {

SimUsbDevice::SimUsbDevice(std::shared_ptr<const SimConnection> connection)
    : m_connection(std::move(connection))
{
}

platform::UsbDeviceInfo SimUsbDevice::info() const
{
    return m_connection->usb;
}

uint64_t SimUsbDevice::connectionId() const
{
    return m_connection->id;
}

platform::UsbError SimUsbDevice::open()
{
    return m_connection->device->isConnection(m_connection->id) ? platform::UsbError::None
                                                                : platform::UsbError::NoDevice;
}

void SimUsbDevice::close() {}

platform::UsbError SimUsbDevice::interfaceCheck(int number) const
{
    if (!m_connection->device->isConnection(m_connection->id))
        return platform::UsbError::NoDevice;
    for (const auto &iface : m_connection->usb.interfaces) {
        if (iface.number == number)
            return platform::UsbError::None;
    }
    return platform::UsbError::NotFound;
}

platform::UsbError SimUsbDevice::claimInterface(int number)
{
    return interfaceCheck(number);
}

platform::UsbError SimUsbDevice::releaseInterface(int number)
{
    return interfaceCheck(number);
}

platform::UsbError SimUsbDevice::controlTransfer(const platform::UsbSetup &setup, uint8_t *data,
                                                 unsigned, int *transferred)
{
    return m_connection->device->usbControl(m_connection->id, setup, data, transferred);
}

platform::UsbError SimUsbDevice::reset()
{
    return m_connection->device->usbReset(m_connection->id);
}

} // namespace sim
