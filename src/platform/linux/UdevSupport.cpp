#include "platform/linux/UdevSupport.h"

#include <QFile>
#include <QStringList>

namespace platform::linuxudev {

UdevPtr newUdev()
{
    return UdevPtr(udev_new());
}

MonitorPtr newMonitor(udev *context, const char *subsystem, const char *devtype)
{
    if (!context)
        return nullptr;
    MonitorPtr monitor(udev_monitor_new_from_netlink(context, "udev"));
    if (!monitor)
        return nullptr;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), subsystem, devtype) < 0)
        return nullptr;
    if (udev_monitor_enable_receiving(monitor.get()) < 0)
        return nullptr;
    return monitor;
}

QString text(const char *value)
{
    return value ? QString::fromUtf8(value) : QString();
}

std::optional<QString> sysattr(udev_device *device, const char *name)
{
    if (!device)
        return std::nullopt;
    const char *value = udev_device_get_sysattr_value(device, name);
    if (!value)
        return std::nullopt;
    return QString::fromUtf8(value).trimmed();
}

std::optional<QString> property(udev_device *device, const char *name)
{
    if (!device)
        return std::nullopt;
    const char *value = udev_device_get_property_value(device, name);
    if (!value)
        return std::nullopt;
    return QString::fromUtf8(value).trimmed();
}

uint32_t sysattrNumber(udev_device *device, const char *name, int base, uint32_t fallback)
{
    const std::optional<QString> value = sysattr(device, name);
    if (!value)
        return fallback;
    bool ok = false;
    const uint32_t number = value->toUInt(&ok, base);
    return ok ? number : fallback;
}

QByteArray readSysFile(udev_device *device, const char *name)
{
    if (!device)
        return {};
    const char *syspath = udev_device_get_syspath(device);
    if (!syspath)
        return {};
    QFile file(QString::fromUtf8(syspath) + QLatin1Char('/') + QString::fromUtf8(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

uint32_t locationId(uint32_t busNumber, const QString &devpath)
{
    uint32_t location = (busNumber & 0xFF) << 24;
    int shift = 20;
    const QStringList ports = devpath.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    for (const QString &port : ports) {
        if (shift < 0)
            break;
        bool ok = false;
        const uint32_t number = port.toUInt(&ok);
        if (!ok)
            break;
        location |= (number & 0x0F) << shift;
        shift -= 4;
    }
    return location;
}

} // namespace platform::linuxudev
