#pragma once
// Shared pieces of the discovery tests: device identities, a recorder of the
// attach and detach notifications, and a wait that keeps the main thread's
// event loop turning.

#include "FakeBackend.h"

#include "QOVANotificationCenter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QVariantMap>

#include <mutex>
#include <vector>

namespace support {

// Turns the main event loop until pred holds; false when it never did within
// the limit (a generous bound, not a measured time).
template <typename Pred>
bool waitUntil(Pred pred, int limitMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

struct Posted {
    QString name;
    QVariantMap userInfo;
    bool onMainThread = false;
};

// Records the device attach and detach notifications as observers see them.
class Recorder {
public:
    Recorder()
    {
        for (const char *name :
             {"QOVAIOHIDDeviceMatchInformation", "QOVAIOHIDDeviceRemoveNotification"}) {
            m_ids.push_back(QOVANotificationCenter::defaultCenter().addObserver(
                QLatin1String(name), nullptr,
                [state = m_state](const QOVANotification &notification) {
                    std::lock_guard<std::mutex> lock(state->mutex);
                    state->posted.push_back(
                        {notification.name, notification.userInfo.value_or(QVariantMap()),
                         QThread::currentThread() == QCoreApplication::instance()->thread()});
                }));
        }
    }
    ~Recorder()
    {
        for (auto id : m_ids)
            QOVANotificationCenter::defaultCenter().removeObserver(id);
    }
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;

    std::vector<Posted> posted() const
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        return m_state->posted;
    }
    std::vector<Posted> named(const char *name) const
    {
        std::vector<Posted> out;
        for (const Posted &p : posted())
            if (p.name == QLatin1String(name))
                out.push_back(p);
        return out;
    }
    std::vector<Posted> matches() const { return named("QOVAIOHIDDeviceMatchInformation"); }
    std::vector<Posted> removals() const { return named("QOVAIOHIDDeviceRemoveNotification"); }
    size_t count() const { return posted().size(); }
    bool waitForCount(size_t n, int limitMs = 10000) const
    {
        return waitUntil([&] { return count() >= n; }, limitMs);
    }

private:
    struct State {
        mutable std::mutex mutex;
        std::vector<Posted> posted;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
    std::vector<QOVANotificationCenter::ObserverId> m_ids;
};

inline constexpr uint32_t kVendor = 0x1D5C;

inline platform::HidIdentity hidIdentity(uint32_t productId, const QString &serial,
                                         const QString &product, uint32_t versionNumber = 0,
                                         uint32_t usagePage = 0x000C)
{
    platform::HidIdentity id;
    id.vendorId = kVendor;
    id.productId = productId;
    id.versionNumber = versionNumber;
    id.locationId = 0x14200000;
    id.primaryUsagePage = usagePage;
    id.manufacturer = QStringLiteral("Zentaro");
    id.product = product;
    id.serialNumber = serial;
    return id;
}

// The USB device under a run-mode HID interface, with the version and device
// name string descriptors.
inline platform::UsbDeviceRef runModeUsb(uint16_t productId, const QString &serial,
                                         const QString &version, const QString &deviceName)
{
    platform::UsbDeviceInfo info;
    info.vendorId = kVendor;
    info.productId = productId;
    info.serialNumber = serial;
    info.usbSerialNumber = serial;
    std::map<uint8_t, QString> strings{{0x58, version}, {0x59, deviceName}};
    return std::make_shared<fake::UsbDevice>(info, strings);
}

// A device in DFU mode (DFU interface protocol 2), or with protocol 1 one
// that only has the run-time DFU interface.
inline platform::UsbDeviceRef dfuUsb(uint16_t productId, const QString &serial,
                                     const QString &productName, uint16_t bcdDevice,
                                     std::map<uint8_t, QString> strings = {},
                                     uint8_t dfuProtocol = 2)
{
    platform::UsbDeviceInfo info;
    info.vendorId = kVendor;
    info.productId = productId;
    info.bcdDevice = bcdDevice;
    info.usbSerialNumber = serial;
    info.productName = productName;
    info.vendorName = QStringLiteral("Zentaro");
    platform::UsbInterfaceInfo dfu;
    dfu.interfaceClass = 0xFE;
    dfu.interfaceSubClass = 0x01;
    dfu.interfaceProtocol = dfuProtocol;
    info.interfaces.push_back(dfu);
    return std::make_shared<fake::UsbDevice>(info, std::move(strings));
}

} // namespace support
