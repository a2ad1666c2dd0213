#pragma once
// Small helpers around libudev: owning pointers, attribute and property
// reads as QString, and the identity facts both the HID and the USB side
// derive from a usb_device node.

#include <libudev.h>

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace platform::linuxudev {

struct UdevUnref {
    void operator()(udev *u) const { udev_unref(u); }
    void operator()(udev_device *d) const { udev_device_unref(d); }
    void operator()(udev_monitor *m) const { udev_monitor_unref(m); }
    void operator()(udev_enumerate *e) const { udev_enumerate_unref(e); }
};
using UdevPtr = std::unique_ptr<udev, UdevUnref>;
using DevicePtr = std::unique_ptr<udev_device, UdevUnref>;
using MonitorPtr = std::unique_ptr<udev_monitor, UdevUnref>;
using EnumeratePtr = std::unique_ptr<udev_enumerate, UdevUnref>;

// A udev context of its own; libudev objects are used by one thread only.
UdevPtr newUdev();

// A monitor on udev's processed events for one subsystem (and device type),
// receiving and non-blocking, or nullptr.
MonitorPtr newMonitor(udev *context, const char *subsystem, const char *devtype);

// Attribute text with surrounding white space removed; nothing when absent.
std::optional<QString> sysattr(udev_device *device, const char *name);
std::optional<QString> property(udev_device *device, const char *name);

// Unsigned number of an attribute in the given base; fallback when absent or
// not a number.
uint32_t sysattrNumber(udev_device *device, const char *name, int base, uint32_t fallback = 0);

// Raw bytes of a file below the device's sysfs directory (binary attributes
// such as "descriptors" or "report_descriptor"); empty when unreadable.
QByteArray readSysFile(udev_device *device, const char *name);

// A location id in the usual form: bus number in the top byte, then one
// nibble per port of the device path ("1.4.2") from the top down.
uint32_t locationId(uint32_t busNumber, const QString &devpath);

QString text(const char *value);

} // namespace platform::linuxudev
