#include "platform/linux/LinuxUsbBus.h"

#include "platform/ThreadHop.h"

#include "log/log.h"
#include "platform/linux/LinuxUsbDevice.h"
#include "platform/linux/UsbDescriptorParser.h"

#include <QObject>
#include <QSocketNotifier>
#include <QStringList>
#include <QThread>

namespace platform {

using namespace linuxudev;

namespace {

EnumeratePtr scanUsbDevices(udev *context)
{
    EnumeratePtr enumerate(udev_enumerate_new(context));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "usb") < 0
        || udev_enumerate_add_match_property(enumerate.get(), "DEVTYPE", "usb_device") < 0
        || udev_enumerate_scan_devices(enumerate.get()) < 0)
        return nullptr;
    return enumerate;
}

// What a remove event still tells about a device nobody had seen arrive.
UsbDeviceInfo infoFromRemoveEvent(udev_device *device)
{
    UsbDeviceInfo info;
    // PRODUCT is "vendor/product/bcdDevice" in hexadecimal without padding.
    const QStringList product = property(device, "PRODUCT").value_or(QString()).split('/');
    if (product.size() == 3) {
        info.vendorId = uint16_t(product.at(0).toUInt(nullptr, 16));
        info.productId = uint16_t(product.at(1).toUInt(nullptr, 16));
        info.bcdDevice = uint16_t(product.at(2).toUInt(nullptr, 16));
    }
    info.busNumber = uint8_t(property(device, "BUSNUM").value_or(QString()).toUInt());
    info.deviceAddress = uint8_t(property(device, "DEVNUM").value_or(QString()).toUInt());
    info.path = text(udev_device_get_devnode(device));
    if (info.path.isEmpty())
        info.path = text(udev_device_get_syspath(device));
    return info;
}

class LinuxUsbWatch : public UsbBus::Watch {
public:
    LinuxUsbWatch(std::shared_ptr<LinuxUsbBus::Registry> registry,
                  UsbBus::DeviceCallback arrived, UsbBus::DeviceCallback removed)
        : m_registry(std::move(registry)),
          m_arrived(std::move(arrived)),
          m_removed(std::move(removed))
    {
        m_udev = newUdev();
        m_monitor = newMonitor(m_udev.get(), "usb", "usb_device");
        if (!m_monitor) {
            QOVA_LOG(WARNING, DFU, "usb: no udev monitor, devices plugged in later go unseen");
            return;
        }
        m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor.get()),
                                         QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, m_notifier,
                         [this] { onMonitorReadable(); });

        // Devices already present are not reported, but known, so that their
        // removal carries their identity.
        if (EnumeratePtr enumerate = scanUsbDevices(m_udev.get())) {
            udev_list_entry *entry = nullptr;
            udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get()))
            {
                DevicePtr device(
                    udev_device_new_from_syspath(m_udev.get(), udev_list_entry_get_name(entry)));
                if (device)
                    m_known[text(udev_device_get_syspath(device.get()))] =
                        m_registry->deviceFor(device.get());
            }
        }
        QOVA_LOG(INFO, DFU, "usb: %d USB devices present", int(m_known.size()));
    }

    ~LinuxUsbWatch() override
    {
        if (!m_notifier)
            return;
        QSocketNotifier *notifier = m_notifier;
        platform::runOn(notifier, [notifier] { delete notifier; });
    }

private:
    void onMonitorReadable()
    {
        for (;;) {
            DevicePtr device(udev_monitor_receive_device(m_monitor.get()));
            if (!device)
                return;
            const QString action = text(udev_device_get_action(device.get()));
            const QString syspath = text(udev_device_get_syspath(device.get()));
            if (action == QLatin1String("add"))
                onAdd(device.get(), syspath);
            else if (action == QLatin1String("remove"))
                onRemove(device.get(), syspath);
        }
    }

    void onAdd(udev_device *device, const QString &syspath)
    {
        std::shared_ptr<LinuxUsbDevice> usb = m_registry->deviceFor(device);
        auto known = m_known.find(syspath);
        if (known != m_known.end() && known->second == usb)
            return;  // the same arrival seen twice
        if (known != m_known.end()) {
            // A new device on the same port without a removal in between.
            std::shared_ptr<LinuxUsbDevice> old = known->second;
            old->markGone();
            m_known.erase(known);
            if (m_removed)
                m_removed(old);
        }
        m_known[syspath] = usb;
        if (m_arrived)
            m_arrived(usb);
    }

    void onRemove(udev_device *device, const QString &syspath)
    {
        std::shared_ptr<LinuxUsbDevice> usb;
        auto known = m_known.find(syspath);
        if (known != m_known.end()) {
            usb = known->second;
            m_known.erase(known);
        } else {
            usb = std::make_shared<LinuxUsbDevice>(infoFromRemoveEvent(device), syspath,
                                                   QString());
        }
        usb->markGone();
        if (m_removed)
            m_removed(usb);
    }

    std::shared_ptr<LinuxUsbBus::Registry> m_registry;
    UsbBus::DeviceCallback m_arrived;
    UsbBus::DeviceCallback m_removed;
    UdevPtr m_udev;
    MonitorPtr m_monitor;
    QSocketNotifier *m_notifier = nullptr;
    std::map<QString, std::shared_ptr<LinuxUsbDevice>> m_known;
};

} // namespace

std::shared_ptr<LinuxUsbDevice> LinuxUsbBus::Registry::deviceFor(udev_device *device)
{
    const QString syspath = text(udev_device_get_syspath(device));
    const uint8_t busNumber = uint8_t(sysattrNumber(device, "busnum", 10));
    const uint8_t address = uint8_t(sysattrNumber(device, "devnum", 10));
    std::lock_guard<std::mutex> lock(mutex);
    auto found = devices.find(syspath);
    if (found != devices.end()) {
        std::shared_ptr<LinuxUsbDevice> existing = found->second.lock();
        if (existing && !existing->isGone() && existing->info().busNumber == busNumber
            && existing->info().deviceAddress == address)
            return existing;
    }
    auto created = std::make_shared<LinuxUsbDevice>(LinuxUsbBus::readInfo(device), syspath,
                                                    text(udev_device_get_devnode(device)));
    devices[syspath] = created;
    // Forget entries nobody holds any more.
    for (auto it = devices.begin(); it != devices.end();) {
        if (it->second.expired())
            it = devices.erase(it);
        else
            ++it;
    }
    return created;
}

LinuxUsbBus::LinuxUsbBus() : m_registry(std::make_shared<Registry>()) {}

LinuxUsbBus::~LinuxUsbBus() = default;

UsbDeviceInfo LinuxUsbBus::readInfo(udev_device *device)
{
    UsbDeviceInfo info;
    info.vendorId = uint16_t(sysattrNumber(device, "idVendor", 16));
    info.productId = uint16_t(sysattrNumber(device, "idProduct", 16));
    info.bcdDevice = uint16_t(sysattrNumber(device, "bcdDevice", 16));
    const uint32_t busNumber = sysattrNumber(device, "busnum", 10);
    info.busNumber = uint8_t(busNumber);
    info.deviceAddress = uint8_t(sysattrNumber(device, "devnum", 10));
    info.locationId = locationId(busNumber, sysattr(device, "devpath").value_or(QString()));
    info.serialNumber = sysattr(device, "serial");
    info.usbSerialNumber = info.serialNumber;
    info.productName = sysattr(device, "product");
    info.vendorName = sysattr(device, "manufacturer");
    if (const std::optional<QByteArray> configuration =
            linuxusb::firstConfiguration(readSysFile(device, "descriptors"))) {
        info.configurationDescriptor = *configuration;
        info.interfaces = linuxusb::parseInterfaces(*configuration);
    }
    info.path = text(udev_device_get_devnode(device));
    if (info.path.isEmpty())
        info.path = text(udev_device_get_syspath(device));
    return info;
}

std::vector<UsbDeviceRef> LinuxUsbBus::devices()
{
    std::vector<UsbDeviceRef> result;
    UdevPtr context = newUdev();
    if (!context)
        return result;
    EnumeratePtr enumerate = scanUsbDevices(context.get());
    if (!enumerate)
        return result;
    udev_list_entry *entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get()))
    {
        DevicePtr device(
            udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
        if (device)
            result.push_back(m_registry->deviceFor(device.get()));
    }
    return result;
}

std::unique_ptr<UsbBus::Watch> LinuxUsbBus::watch(DeviceCallback arrived, DeviceCallback removed)
{
    return std::make_unique<LinuxUsbWatch>(m_registry, std::move(arrived), std::move(removed));
}

} // namespace platform
