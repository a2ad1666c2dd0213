#include "platform/linux/LinuxHidManager.h"

#include "log/log.h"
#include "platform/ThreadHop.h"
#include "platform/TimeScale.h"
#include "platform/linux/HidReportDescriptor.h"
#include "platform/linux/LinuxHidDevice.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QSocketNotifier>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

const char kUdevRuleName[] = "70-orvalinde.rules";

namespace {
// Right after an add, udev (or the seat manager) may not have applied the
// access rules yet: retry the open for about a second.
constexpr int kOpenAttempts = 11;
constexpr int kOpenRetryMs = 100;
constexpr int kReadsPerWakeUp = 64;

bool retriable(int error)
{
    return error == EACCES || error == EPERM || error == ENOENT;
}

std::optional<uint32_t> usagePageFromNode(int fd)
{
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0 || size <= 0)
        return std::nullopt;
    hidraw_report_descriptor descriptor;
    std::memset(&descriptor, 0, sizeof descriptor);
    descriptor.size = uint32_t(std::min(size, int(HID_MAX_DESCRIPTOR_SIZE)));
    if (::ioctl(fd, HIDIOCGRDESC, &descriptor) < 0)
        return std::nullopt;
    return linuxhid::primaryUsagePage(descriptor.value, descriptor.size);
}
} // namespace

LinuxHidManager::LinuxHidManager() = default;

LinuxHidManager::~LinuxHidManager()
{
    close();
}

void LinuxHidManager::setDeviceMatching(std::vector<HidMatch> matches)
{
    m_matches = std::move(matches);
}

void LinuxHidManager::setCallbacks(DeviceCallback matched, DeviceCallback removed)
{
    m_matched = std::move(matched);
    m_removed = std::move(removed);
}

bool LinuxHidManager::matches(const HidIdentity &identity) const
{
    for (const HidMatch &match : m_matches) {
        if (match.vendorId == identity.vendorId && match.productId == identity.productId)
            return true;
    }
    return false;
}

std::optional<HidIdentity> LinuxHidManager::readIdentity(udev_device *hidraw)
{
    using namespace linuxudev;
    udev_device *hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
    if (!hid)
        return std::nullopt;

    HidIdentity identity;
    identity.path = text(udev_device_get_devnode(hidraw));

    // HID_ID is "bus:vendor:product" in hexadecimal, e.g. 0003:00001D5C:00006E17.
    const QStringList id = property(hid, "HID_ID").value_or(QString()).split(QLatin1Char(':'));
    if (id.size() != 3)
        return std::nullopt;
    bool vendorOk = false;
    bool productOk = false;
    identity.vendorId = id.at(1).toUInt(&vendorOk, 16);
    identity.productId = id.at(2).toUInt(&productOk, 16);
    if (!vendorOk || !productOk)
        return std::nullopt;

    udev_device *usb = udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device");
    if (usb) {
        identity.versionNumber = sysattrNumber(usb, "bcdDevice", 16);
        identity.locationId = locationId(sysattrNumber(usb, "busnum", 10),
                                         sysattr(usb, "devpath").value_or(QString()));
        identity.manufacturer = sysattr(usb, "manufacturer");
        identity.product = sysattr(usb, "product");
        identity.serialNumber = sysattr(usb, "serial");
    } else {
        identity.product = property(hid, "HID_NAME");
    }
    if (!identity.serialNumber) {
        const std::optional<QString> uniq = property(hid, "HID_UNIQ");
        if (uniq && !uniq->isEmpty())
            identity.serialNumber = uniq;
    }

    const QByteArray descriptor = readSysFile(hid, "report_descriptor");
    if (!descriptor.isEmpty()) {
        identity.primaryUsagePage =
            linuxhid::primaryUsagePage(reinterpret_cast<const uint8_t *>(descriptor.constData()),
                                       size_t(descriptor.size()))
                .value_or(0);
    }
    return identity;
}

int LinuxHidManager::open()
{
    using namespace linuxudev;
    if (m_context)
        return 0;
    m_udev = newUdev();
    if (!m_udev) {
        QOVA_LOG(ERROR, HID, "hidraw: cannot create a udev context");
        return -ENOMEM;
    }
    m_context = new QObject;

    m_monitor = newMonitor(m_udev.get(), "hidraw", nullptr);
    if (m_monitor) {
        auto *notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor.get()),
                                             QSocketNotifier::Read, m_context);
        QObject::connect(notifier, &QSocketNotifier::activated, m_context,
                         [this] { onMonitorReadable(); });
    } else {
        QOVA_LOG(WARNING, HID, "hidraw: no udev monitor, devices plugged in later go unseen");
    }

    int seen = 0;
    EnumeratePtr enumerate(udev_enumerate_new(m_udev.get()));
    if (enumerate && udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw") >= 0
        && udev_enumerate_scan_devices(enumerate.get()) >= 0) {
        udev_list_entry *entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get()))
        {
            DevicePtr device(udev_device_new_from_syspath(m_udev.get(),
                                                          udev_list_entry_get_name(entry)));
            if (!device)
                continue;
            ++seen;
            onAdd(device.get(), false);
        }
    }
    QOVA_LOG(INFO, HID, "hidraw: %d HID nodes present, %d of them matching", seen,
             int(m_identities.size()));
    return 0;
}

void LinuxHidManager::close()
{
    if (!m_context)
        return;
    QObject *context = m_context;
    m_context = nullptr;
    // Notifiers must go on the thread that runs them.
    platform::runOn(context, [context] { delete context; });
    for (auto &[node, entry] : m_open)
        entry.device->markGone();
    m_open.clear();
    m_retries.clear();
    m_identities.clear();
    m_monitor.reset();
    m_udev.reset();
}

void LinuxHidManager::onMonitorReadable()
{
    if (!m_monitor)
        return;
    for (;;) {
        linuxudev::DevicePtr device(udev_monitor_receive_device(m_monitor.get()));
        if (!device)
            break;
        const QString action = linuxudev::text(udev_device_get_action(device.get()));
        if (action == QLatin1String("add")) {
            onAdd(device.get(), true);
        } else if (action == QLatin1String("remove")) {
            onRemove(linuxudev::text(udev_device_get_devnode(device.get())));
        }
        if (!m_context)
            break;  // a callback closed the manager
    }
}

void LinuxHidManager::onAdd(udev_device *device, bool hotplug)
{
    const QString node = linuxudev::text(udev_device_get_devnode(device));
    if (node.isEmpty() || m_identities.count(node))
        return;  // no node, or already known: an add seen twice changes nothing
    const std::optional<HidIdentity> identity = readIdentity(device);
    if (!identity || !matches(*identity))
        return;
    m_identities[node] = *identity;
    QOVA_LOG(INFO, HID, "hidraw: %s is %04x:%04x", qUtf8Printable(node), identity->vendorId,
             identity->productId);
    tryOpen(node, 0, hotplug);
}

void LinuxHidManager::tryOpen(const QString &node, int attempt, bool hotplug)
{
    auto pending = m_retries.find(node);
    if (pending != m_retries.end()) {
        pending->second->deleteLater();
        m_retries.erase(pending);
    }
    auto known = m_identities.find(node);
    if (known == m_identities.end() || !m_context)
        return;

    const QByteArray path = node.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (hotplug && retriable(error) && attempt + 1 < kOpenAttempts) {
            auto *timer = new QObject(m_context);
            m_retries[node] = timer;
            QTimer::singleShot(scaledMs(kOpenRetryMs), timer,
                               [this, node, attempt, hotplug] { tryOpen(node, attempt + 1, hotplug); });
            return;
        }
        if (error == EACCES || error == EPERM) {
            QOVA_LOG(WARNING, HID,
                     "hidraw: cannot open %s (%s); the udev rule \"%s\" is probably missing",
                     path.constData(), std::strerror(error), kUdevRuleName);
        } else {
            QOVA_LOG(WARNING, HID, "hidraw: cannot open %s (%s)", path.constData(),
                     std::strerror(error));
        }
        return;
    }

    HidIdentity identity = known->second;
    if (identity.primaryUsagePage == 0) {
        identity.primaryUsagePage = usagePageFromNode(fd).value_or(0);
        known->second.primaryUsagePage = identity.primaryUsagePage;
    }

    auto device = std::make_shared<LinuxHidDevice>(identity, fd);
    auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, m_context);
    QObject::connect(notifier, &QSocketNotifier::activated, m_context,
                     [this, node] { readInput(node); });
    m_open[node] = OpenDevice{device, notifier};
    if (m_matched)
        m_matched(device);
}

void LinuxHidManager::readInput(const QString &node)
{
    auto entry = m_open.find(node);
    if (entry == m_open.end())
        return;
    const std::shared_ptr<LinuxHidDevice> device = entry->second.device;
    uint8_t buffer[4096];
    for (int i = 0; i < kReadsPerWakeUp; ++i) {
        const ssize_t count = ::read(device->fd(), buffer, sizeof buffer);
        if (count > 0) {
            device->deliverInputReport(buffer, size_t(count));
            entry = m_open.find(node);
            if (entry == m_open.end() || entry->second.device != device)
                return;  // removed or closed by the handler
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // End of file or a dead node: stop listening; the removal follows.
        entry->second.notifier->setEnabled(false);
        return;
    }
}

void LinuxHidManager::onRemove(const QString &node)
{
    auto pending = m_retries.find(node);
    if (pending != m_retries.end()) {
        pending->second->deleteLater();
        m_retries.erase(pending);
    }
    auto identity = m_identities.find(node);
    if (identity == m_identities.end())
        return;
    m_identities.erase(identity);
    auto entry = m_open.find(node);
    if (entry == m_open.end())
        return;  // seen but never opened: it was never reported either
    std::shared_ptr<LinuxHidDevice> device = entry->second.device;
    device->markGone();
    delete entry->second.notifier;
    m_open.erase(entry);
    QOVA_LOG(INFO, HID, "hidraw: %s removed", qUtf8Printable(node));
    if (m_removed)
        m_removed(device);
}

} // namespace platform
