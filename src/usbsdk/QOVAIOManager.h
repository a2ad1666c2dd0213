#pragma once
// The device manager: finds the maker's devices as they come and go, keeps
// the device list, and is the request facade every page talks to devices
// through. Devices are named by serial number; results come back through the
// callbacks.
//
// Two discovery threads run for as long as the manager lives: the HID thread
// serves the HID manager (run-mode devices), the DFU thread watches the USB
// bus for devices in DFU mode. The device list is the only state they share
// with the rest of the program; it is guarded by one recursive lock and
// notifications are posted only after that lock is released.

#include "QOVACallbacks.h"
#include "QOVADeviceModel.h"
#include "QOVAUpgradeManager.h"
#include "discovery/QOVAIOManagerOperations.h"

#include "platform/Hid.h"
#include "platform/Usb.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class QObject;
namespace qova::discovery {
class QOVADiscoveryThread;
}
class QOVABaseUSBDevice;
using QOVABaseUSBDeviceRef = std::shared_ptr<QOVABaseUSBDevice>;

class QOVAIOManager {
public:
    // The one manager of the process, made (and discovery started) on first
    // use; never destroyed.
    static QOVAIOManager *usbManagerShared();

    // A manager of its own with its own discovery threads on the installed
    // backend. The application uses usbManagerShared(); tests make their own
    // and destroy it, which stops its threads.
    QOVAIOManager();
    ~QOVAIOManager();

    QOVAIOManager(const QOVAIOManager &) = delete;
    QOVAIOManager &operator=(const QOVAIOManager &) = delete;

    // Closes the HID manager and ends both discovery threads; nothing is
    // discovered or read after it returns. The application calls it when its
    // event loop has ended, before its objects go; the destructor calls it too.
    void stopDiscovery();

    // Closes the HID manager in use and builds a new one served by the calling
    // thread's event loop; every connected device is reported again.
    void reopen();
    void reopenIOHIDManager();

    // The first device object whose serial number equals the text, or nothing.
    QOVABaseUSBDeviceRef findDevice(const QString &serialNumber);
    // A snapshot of the device list.
    QList<QOVABaseUSBDeviceRef> deviceMutableArray() const;

    static QString formatProductVersion(const QString &version);

    // Discovery handlers. The HID pair runs on the thread serving the HID
    // manager, the DFU pair on the DFU thread. stillPresent, when given, tells
    // whether the DFU device is still on the bus; one that has left is not
    // reported. backInRunMode, when given, tells whether the departing DFU
    // device is on the bus in run mode again; then it has not left.
    void deviceHIDMatchingResult(int result, platform::HidManager *sender,
                                 const platform::HidDeviceRef &device);
    void deviceHIDRemovalResult(int result, platform::HidManager *sender,
                                const platform::HidDeviceRef &device);
    // deviceDFUMatching answers false only when the device had left.
    bool deviceDFUMatching(const std::optional<QString> &productName,
                           const std::optional<QString> &deviceName,
                           const std::optional<QString> &productManufacturer,
                           const std::optional<QString> &productSeriaNumber,
                           const std::optional<QString> &productPID,
                           const std::optional<QString> &productVersion,
                           const std::optional<QString> &productVID,
                           const std::function<bool()> &stillPresent = {});
    void deviceRemovalResult(const std::optional<QString> &productName,
                             const std::optional<QString> &productManufacturer,
                             const std::optional<QString> &productSeriaNumber,
                             const std::optional<QString> &productPID,
                             std::optional<uint32_t> productVersion,
                             const std::optional<QString> &productVID,
                             const std::function<bool()> &backInRunMode = {});

    // Flashing entry: marks every listed device with this serial number as
    // updating and hands the file to its firmware updater. The flag argument
    // is not used. packageVersion, when known, is the version the file
    // installs: the device back in run mode is judged by whether it runs
    // that version (by its family's rule), however the flash ended. success
    // gets the version the device reports once it is back in run mode
    // (empty only when no package version was given and it could not be
    // read); the caller shows that, never the version it asked for.
    void usbDeviceUpdate(const QString &serialNumber, const QString &filePath, bool isDeviceUpdate,
                         QOVAProgressBlock progress, QOVASuccessBlock success,
                         QOVAUpgradeFailedBlock failed, const QString &packageVersion = {});

    // One request operation per device operation, generated from the table
    // in discovery/QOVAIOManagerOperations.h.
#define QOVA_DECLARE_REQUEST(rule, name, selector, params, serial, family, args) void name params;
    QOVA_IOMANAGER_REQUESTS(QOVA_DECLARE_REQUEST)
#undef QOVA_DECLARE_REQUEST

private:
    // Stops: a missing or empty serial number ends the request before the
    // lookup. Lookup: the lookup runs whatever the serial number. The quiet
    // variants write no line naming the request.
    enum class RequestRule { Stops, Lookup, StopsQuiet, LookupQuiet };
    template <typename Send>
    void route(RequestRule rule, const char *selector, const QString &serialNumber, Send &&send);

    void initialize_HID();
    void initialize_DFU();
    void tearDownHID();
    void tearDownDFU();
    void setUpHIDManager(QObject *context);
    void closeHIDManager();

    void dfuDevicesArrived(const std::vector<platform::UsbDeviceRef> &devices);
    void dfuDeviceRemoved(const platform::UsbDeviceRef &device);
    void flashingStatus(const QOVABaseUSBDeviceRef &device, int status);
    void clearUpdating(const QOVABaseUSBDeviceRef &device);

    static void post(const char *name, const QVariantMap &userInfo);

    // The device list and its lock.
    mutable std::recursive_mutex m_lock;
    QList<QOVABaseUSBDeviceRef> m_devices;
    // Run-mode listings made by the HID thread so far, counted under the
    // list's lock.
    std::atomic<uint64_t> m_runModeListings{0};

    // The list's lock, taken for a report on a DFU-mode device, unless
    // stillPresent (when given) finds the device gone from the bus; then an
    // unlocked lock. The bus is scanned outside the lock so that requests
    // are not held up behind it; a run-mode listing made between the scan
    // and the lock makes it look again.
    std::unique_lock<std::recursive_mutex> lockUnlessGone(const std::function<bool()> &stillPresent);

    qova::discovery::QOVADiscoveryThread *hidDeviceDetachThread = nullptr;
    qova::discovery::QOVADiscoveryThread *dfuDeciceUpdateThread = nullptr;

    // The HID manager in use and an object living on the thread serving it.
    std::mutex m_hidMutex;
    std::unique_ptr<platform::HidManager> m_hidManager;
    QObject *m_hidContext = nullptr;
    QObject *m_hidThreadContext = nullptr;         // lives on the HID thread
    std::unique_ptr<QObject> m_reopenContext;      // lives on the thread of the last reopen

    // DFU thread only: the bus watch and the DFU-mode devices reported, with
    // their identity as it was when they arrived.
    std::unique_ptr<platform::UsbBus::Watch> m_dfuWatch;
    std::map<const platform::UsbDevice *, std::pair<platform::UsbDeviceRef, platform::UsbDeviceInfo>>
        m_dfuDevices;
    // DFU thread only: devices that had left before their arrival was come
    // to; their departure is not told either.
    std::map<const platform::UsbDevice *, platform::UsbDeviceRef> m_unreportedDfuDevices;
};
