#pragma once
// A backend whose devices the test plugs and unplugs by hand, with full
// control over what each HID interface and USB device reports: handles that
// come back the same or new, missing properties, vendor usage pages, DFU
// interfaces with any protocol. Deliveries run on the thread that opened the
// HID manager or started the bus watch, from its event loop, as the real
// backends do.

#include "platform/Backend.h"
#include "platform/ThreadHop.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace fake {

class HidDevice : public platform::HidDevice {
public:
    explicit HidDevice(platform::HidIdentity identity) : m_identity(std::move(identity)) {}
    platform::HidIdentity identity() const override { return m_identity; }
    int setFeatureReport(const uint8_t *, size_t) override { return -5; }
    int getFeatureReport(uint8_t, uint8_t *, size_t, size_t *) override { return -5; }
    void setInputReportHandler(InputReportHandler handler) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_handler = std::move(handler);
    }

private:
    platform::HidIdentity m_identity;
    std::mutex m_mutex;
    InputReportHandler m_handler;
};

class UsbDevice : public platform::UsbDevice {
public:
    UsbDevice(platform::UsbDeviceInfo info, std::map<uint8_t, QString> strings)
        : m_info(std::move(info)), m_strings(std::move(strings))
    {
    }
    platform::UsbDeviceInfo info() const override { return m_info; }
    platform::UsbError open() override { return platform::UsbError::None; }
    void close() override {}
    platform::UsbError claimInterface(int) override { return platform::UsbError::None; }
    platform::UsbError releaseInterface(int) override { return platform::UsbError::None; }
    platform::UsbError reset() override { return platform::UsbError::None; }
    platform::UsbError controlTransfer(const platform::UsbSetup &setup, uint8_t *data, unsigned,
                                       int *transferred) override
    {
        if (transferred)
            *transferred = 0;
        const uint8_t index = uint8_t(setup.wValue & 0xFF);
        if (setup.bmRequestType != 0x80 || setup.bRequest != 6 || (setup.wValue >> 8) != 3)
            return platform::UsbError::Stall;
        auto it = m_strings.find(index);
        if (it == m_strings.end())
            return platform::UsbError::Stall;
        QByteArray descriptor;
        descriptor.append(char(2 + 2 * it->second.size()));
        descriptor.append(char(3));
        for (QChar c : it->second) {
            descriptor.append(char(c.unicode() & 0xFF));
            descriptor.append(char(c.unicode() >> 8));
        }
        const int n = std::min<int>(descriptor.size(), setup.wLength);
        std::memcpy(data, descriptor.constData(), size_t(n));
        if (transferred)
            *transferred = n;
        return platform::UsbError::None;
    }

private:
    platform::UsbDeviceInfo m_info;
    std::map<uint8_t, QString> m_strings;
};

// Runs fn on the thread of context, from its event loop.
inline void deliver(QObject *context, std::function<void()> fn)
{
    platform::postTo(context, std::move(fn));
}

class Backend;

class HidManager : public platform::HidManager {
public:
    explicit HidManager(Backend *backend) : m_backend(backend) {}
    ~HidManager() override { close(); }
    void setDeviceMatching(std::vector<platform::HidMatch> matches) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_matches = std::move(matches);
    }
    void setCallbacks(DeviceCallback matched, DeviceCallback removed) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_matched = std::move(matched);
        m_removed = std::move(removed);
    }
    int open() override;
    void close() override;

    bool matches(const platform::HidIdentity &identity)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto &m : m_matches)
            if (m.vendorId == identity.vendorId && m.productId == identity.productId)
                return true;
        return false;
    }

    // Reports an arrival or removal of this manager's handle of device id.
    void report(int id, const platform::HidIdentity &identity, bool arrival, bool newHandle)
    {
        if (!matches(identity))
            return;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_context)
            return;
        platform::HidDeviceRef &handle = m_handles[id];
        if (arrival && (newHandle || !handle))
            handle = std::make_shared<HidDevice>(identity);
        platform::HidDeviceRef device = handle;
        if (!arrival)
            m_handles.erase(id);
        std::shared_ptr<std::atomic<bool>> open = m_open;
        DeviceCallback callback = arrival ? m_matched : m_removed;
        deliver(m_context, [open, callback, device] {
            if (*open && callback)
                callback(device);
        });
    }

    platform::HidDeviceRef handle(int id)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_handles.find(id);
        return it == m_handles.end() ? nullptr : it->second;
    }

private:
    Backend *m_backend;
    std::mutex m_mutex;
    std::vector<platform::HidMatch> m_matches;
    DeviceCallback m_matched;
    DeviceCallback m_removed;
    QObject *m_context = nullptr;
    std::shared_ptr<std::atomic<bool>> m_open = std::make_shared<std::atomic<bool>>(false);
    std::map<int, platform::HidDeviceRef> m_handles;
};

class UsbBus : public platform::UsbBus {
public:
    struct Watcher {
        QPointer<QObject> context;
        DeviceCallback arrived;
        DeviceCallback removed;
        std::shared_ptr<std::atomic<bool>> alive = std::make_shared<std::atomic<bool>>(true);
    };
    class WatchToken : public Watch {
    public:
        WatchToken(UsbBus *bus, std::shared_ptr<Watcher> watcher, QObject *context)
            : m_bus(bus), m_watcher(std::move(watcher)), m_context(context)
        {
        }
        ~WatchToken() override
        {
            *m_watcher->alive = false;
            m_bus->drop(m_watcher);
            delete m_context;
        }

    private:
        UsbBus *m_bus;
        std::shared_ptr<Watcher> m_watcher;
        QObject *m_context;
    };

    std::vector<platform::UsbDeviceRef> devices() override
    {
        std::function<void()> hook;
        std::vector<platform::UsbDeviceRef> devices;
        const std::thread::id self = std::this_thread::get_id();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            hook = m_scanHook;
            devices = m_devices;
            if (hook)
                ++m_hookCalls[self];
        }
        if (hook) {
            // The hook runs without the lock: it may plug, unplug or scan.
            struct Done {
                UsbBus &bus;
                std::thread::id self;
                ~Done()
                {
                    std::lock_guard<std::mutex> lock(bus.m_mutex);
                    if (--bus.m_hookCalls[self] == 0)
                        bus.m_hookCalls.erase(self);
                    bus.m_hookDone.notify_all();
                }
            } done{*this, self};
            hook();
        }
        return devices;
    }
    // Runs on every scan of the bus, on the scanning thread. Returns once no
    // hook runs on another thread, so a hook that is cleared (or replaced)
    // no longer touches what it captured; calls on this thread, which has
    // come here from inside a hook, are not waited for.
    void setScanHook(std::function<void()> hook)
    {
        const std::thread::id self = std::this_thread::get_id();
        std::unique_lock<std::mutex> lock(m_mutex);
        m_scanHook = std::move(hook);
        m_hookDone.wait(lock, [&] {
            return std::all_of(m_hookCalls.begin(), m_hookCalls.end(),
                               [&](const auto &calls) { return calls.first == self; });
        });
    }
    std::unique_ptr<Watch> watch(DeviceCallback arrived, DeviceCallback removed) override
    {
        auto *context = new QObject();
        auto watcher = std::make_shared<Watcher>();
        watcher->context = context;
        watcher->arrived = std::move(arrived);
        watcher->removed = std::move(removed);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_watchers.push_back(watcher);
        return std::make_unique<WatchToken>(this, watcher, context);
    }

    void plug(const platform::UsbDeviceRef &device)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_devices.push_back(device);
        notify(device, true);
    }
    void unplug(const platform::UsbDeviceRef &device)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_devices.erase(std::remove(m_devices.begin(), m_devices.end(), device), m_devices.end());
        notify(device, false);
    }
    // Present from the start: no arrival is announced.
    void add(const platform::UsbDeviceRef &device)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_devices.push_back(device);
    }
    int watchers()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return int(m_watchers.size());
    }
    // Holds the watchers' notices back, as a watcher thread that falls behind
    // would, while the bus itself changes; release() hands them over in order.
    void hold()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_holding = true;
    }
    void release()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_holding = false;
        for (const auto &[device, arrival] : std::exchange(m_held, {}))
            notify(device, arrival);
    }
    void drop(const std::shared_ptr<Watcher> &watcher)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_watchers.erase(std::remove(m_watchers.begin(), m_watchers.end(), watcher),
                         m_watchers.end());
    }

private:
    void notify(const platform::UsbDeviceRef &device, bool arrival)
    {
        if (m_holding) {
            m_held.emplace_back(device, arrival);
            return;
        }
        for (const auto &watcher : m_watchers) {
            if (!watcher->context)
                continue;
            auto alive = watcher->alive;
            DeviceCallback callback = arrival ? watcher->arrived : watcher->removed;
            deliver(watcher->context, [alive, callback, device] {
                if (*alive)
                    callback(device);
            });
        }
    }

    std::mutex m_mutex;
    std::vector<platform::UsbDeviceRef> m_devices;
    std::vector<std::shared_ptr<Watcher>> m_watchers;
    bool m_holding = false;
    std::vector<std::pair<platform::UsbDeviceRef, bool>> m_held;
    std::function<void()> m_scanHook;
    std::map<std::thread::id, int> m_hookCalls;  // hooks running, by thread
    std::condition_variable m_hookDone;
};

class Backend : public platform::Backend {
public:
    QString name() const override { return QStringLiteral("fake"); }
    std::unique_ptr<platform::HidManager> createHidManager() override
    {
        return std::make_unique<HidManager>(this);
    }
    platform::UsbBus &usbBus() override { return m_bus; }
    UsbBus &bus() { return m_bus; }

    // Plugs an HID interface; returns its id.
    int plugHid(const platform::HidIdentity &identity)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const int id = m_nextId++;
        m_hid[id] = identity;
        for (HidManager *manager : m_managers)
            manager->report(id, identity, true, true);
        return id;
    }
    void unplugHid(int id)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_hid.find(id);
        if (it == m_hid.end())
            return;
        const platform::HidIdentity identity = it->second;
        m_hid.erase(it);
        for (HidManager *manager : m_managers)
            manager->report(id, identity, false, false);
    }
    // Reports the interface again with the handle the managers already gave it.
    void rereportHid(int id)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (HidManager *manager : m_managers)
            manager->report(id, m_hid.at(id), true, false);
    }
    // The handle the open manager gave the interface.
    platform::HidDeviceRef hidHandle(int id)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (HidManager *manager : m_managers)
            if (auto handle = manager->handle(id))
                return handle;
        return nullptr;
    }
    int openManagers()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return int(m_managers.size());
    }

    void attach(HidManager *manager)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_managers.push_back(manager);
        for (const auto &[id, identity] : m_hid)
            manager->report(id, identity, true, true);
    }
    void detach(HidManager *manager)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_managers.erase(std::remove(m_managers.begin(), m_managers.end(), manager),
                         m_managers.end());
    }

private:
    std::mutex m_mutex;
    int m_nextId = 1;
    std::map<int, platform::HidIdentity> m_hid;
    std::vector<HidManager *> m_managers;
    UsbBus m_bus;
};

inline int HidManager::open()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_context)
            return 0;
        m_context = new QObject();
        *m_open = true;
    }
    m_backend->attach(this);
    return 0;
}

inline void HidManager::close()
{
    QObject *context = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_context)
            return;
        *m_open = false;
        context = m_context;
        m_context = nullptr;
        m_handles.clear();
    }
    m_backend->detach(this);
    delete context;
}

} // namespace fake
