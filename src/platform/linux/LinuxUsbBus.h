#pragma once
// USB devices on Linux as udev sees them ("usb" subsystem, usb_device
// nodes): a snapshot by enumeration and hot-plug through a udev monitor.
// The same device object is handed out for as long as the device stays on
// the bus and someone holds it.

#include "platform/Usb.h"
#include "platform/linux/UdevSupport.h"

#include <QString>

#include <map>
#include <memory>
#include <mutex>

namespace platform {

class LinuxUsbDevice;

class LinuxUsbBus : public UsbBus {
public:
    LinuxUsbBus();
    ~LinuxUsbBus() override;

    std::vector<UsbDeviceRef> devices() override;
    std::unique_ptr<Watch> watch(DeviceCallback arrived, DeviceCallback removed) override;

    // Identity and first configuration of a usb_device node from its sysfs
    // attributes and its "descriptors" file.
    static UsbDeviceInfo readInfo(udev_device *device);

    struct Registry {
        std::mutex mutex;
        std::map<QString, std::weak_ptr<LinuxUsbDevice>> devices;  // by syspath
        std::shared_ptr<LinuxUsbDevice> deviceFor(udev_device *device);
    };

private:
    std::shared_ptr<Registry> m_registry;
};

} // namespace platform
