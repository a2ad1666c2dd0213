#include "QOVAVideoNodeEnumeration.h"

#include "platform/linux/UdevSupport.h"

namespace {

class UdevVideoNodeEnumeration : public QOVAVideoNodeEnumeration {
public:
    QList<QOVAVideoNode> videoNodes() const override
    {
        using namespace platform::linuxudev;
        QList<QOVAVideoNode> nodes;
        UdevPtr context = newUdev();
        if (!context)
            return nodes;
        EnumeratePtr enumerate(udev_enumerate_new(context.get()));
        if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "video4linux") < 0
            || udev_enumerate_scan_devices(enumerate.get()) < 0)
            return nodes;
        udev_list_entry *entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get()))
        {
            DevicePtr device(udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
            if (!device)
                continue;
            QOVAVideoNode node;
            node.devnode = platform::linuxudev::text(udev_device_get_devnode(device.get()));
            node.capabilities = property(device.get(), "ID_V4L_CAPABILITIES").value_or(QString());
            node.index = sysattrNumber(device.get(), "index", 10, 0);
            if (udev_device *usb = udev_device_get_parent_with_subsystem_devtype(device.get(), "usb", "usb_device")) {
                node.busnum = sysattr(usb, "busnum").value_or(QString());
                node.devpath = sysattr(usb, "devpath").value_or(QString());
                node.idVendor = sysattr(usb, "idVendor").value_or(QString());
                node.idProduct = sysattr(usb, "idProduct").value_or(QString());
            }
            nodes << node;
        }
        return nodes;
    }
};

} // namespace

std::shared_ptr<QOVAVideoNodeEnumeration> QOVAVideoNodeEnumeration::udev()
{
    return std::make_shared<UdevVideoNodeEnumeration>();
}
