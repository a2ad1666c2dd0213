#pragma once
// HID discovery on Linux: a udev monitor on "hidraw" nodes plus a start-up
// enumeration. Matching nodes are opened (with a short retry right after an
// add, while udev may still be applying permissions) and reported; input
// reports are read through a socket notifier. Everything runs on the thread
// that called open(), from its event loop.

#include "platform/Hid.h"
#include "platform/linux/UdevSupport.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

class QObject;
class QSocketNotifier;

namespace platform {

class LinuxHidDevice;

// Name of the udev rule that gives the logged-in user access to the nodes.
extern const char kUdevRuleName[];

class LinuxHidManager : public HidManager {
public:
    LinuxHidManager();
    ~LinuxHidManager() override;

    void setDeviceMatching(std::vector<HidMatch> matches) override;
    void setCallbacks(DeviceCallback matched, DeviceCallback removed) override;
    int open() override;
    void close() override;

    // Identity of a hidraw node as udev describes it, without opening it
    // (the usage page comes from the report descriptor in sysfs when it is
    // readable there). Nothing when the node has no HID parent.
    static std::optional<HidIdentity> readIdentity(udev_device *hidraw);

private:
    struct OpenDevice {
        std::shared_ptr<LinuxHidDevice> device;
        QSocketNotifier *notifier = nullptr;  // owned by m_context
    };

    bool matches(const HidIdentity &identity) const;
    void onMonitorReadable();
    void onAdd(udev_device *device, bool hotplug);
    void onRemove(const QString &node);
    void tryOpen(const QString &node, int attempt, bool hotplug);
    void readInput(const QString &node);

    std::vector<HidMatch> m_matches;
    DeviceCallback m_matched;
    DeviceCallback m_removed;

    linuxudev::UdevPtr m_udev;
    linuxudev::MonitorPtr m_monitor;
    QObject *m_context = nullptr;  // parent of notifiers and retry timers
    std::map<QString, HidIdentity> m_identities;  // matching nodes seen
    std::map<QString, OpenDevice> m_open;
    std::map<QString, QObject *> m_retries;  // pending opening attempts
};

} // namespace platform
