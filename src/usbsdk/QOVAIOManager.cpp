#include "QOVAIOManager.h"

#include "QOVAError.h"

#include "QOVABaseUSBDevice.h"
#include "QOVADeviceFactory.h"
#include "QOVANotificationCenter.h"
#include "discovery/QOVADiscoveryRules.h"
#include "discovery/QOVADiscoveryThread.h"
#include "log/log.h"
#include "platform/Backend.h"
#include "platform/ThreadHop.h"
#include "usb/USBControlRequest.h"
#include "usb/USBDeviceLookup.h"

#include <QMetaObject>
#include <QObject>
#include <QCoreApplication>
#include <QThread>

#include <cstdio>

using namespace qova::discovery;

namespace {

// DFU interface: application-specific class, DFU subclass. Protocol 1 is the
// run-time DFU interface of a device that is not in DFU mode.
constexpr uint8_t kDfuInterfaceClass = 0xFE;
constexpr uint8_t kDfuInterfaceSubClass = 0x01;
constexpr uint8_t kRunTimeDfuProtocol = 1;

// An optional text for a log line; the bytes live until the end of the
// statement that formats them.
QByteArray optText(const std::optional<QString> &text)
{
    return text ? text->toUtf8() : QByteArray("(null)");
}

#define OPT(text) optText(text).constData()

// The failure of an update whose device is not there (code 2, as the updater
// reports a device that has gone).
QOVAError deviceGoneError()
{
    QVariantMap userInfo;
    userInfo.insert(QOVAError::kLocalizedDescriptionKey,
                    QOVAUpgradeManager::getUpgradeError().localizedDescription());
    return QOVAError::errorCode(2, userInfo);
}

void stopSharedDiscovery()
{
    QOVAIOManager::usbManagerShared()->stopDiscovery();
}

} // namespace

// ---------------------------------------------------------------------------
// Life cycle

QOVAIOManager *QOVAIOManager::usbManagerShared()
{
    // Made once, also when several threads ask first; never destroyed. Its
    // discovery threads end with the application object at the latest, before
    // the process's statics go.
    static QOVAIOManager *shared = [] {
        auto *manager = new QOVAIOManager();
        qAddPostRoutine(&stopSharedDiscovery);
        return manager;
    }();
    return shared;
}

QOVAIOManager::QOVAIOManager()
{
    QOVA_LOG(INFO, HID, "init");
    hidDeviceDetachThread = new QOVADiscoveryThread(
        QStringLiteral("HID discovery"), [this] { initialize_HID(); }, [this] { tearDownHID(); });
    hidDeviceDetachThread->start();
    dfuDeciceUpdateThread = new QOVADiscoveryThread(
        QStringLiteral("DFU discovery"), [this] { initialize_DFU(); }, [this] { tearDownDFU(); });
    dfuDeciceUpdateThread->start();
}

QOVAIOManager::~QOVAIOManager()
{
    stopDiscovery();
    for (QThread *thread : {hidDeviceDetachThread, dfuDeciceUpdateThread})
        delete thread;
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_devices.clear();
}

void QOVAIOManager::stopDiscovery()
{
    // Close the HID manager first, wherever it is served, so that no thread
    // waits for another that is itself waiting here.
    closeHIDManager();
    for (QOVADiscoveryThread *thread : {hidDeviceDetachThread, dfuDeciceUpdateThread})
        thread->stop();
}

void QOVAIOManager::post(const char *name, const QVariantMap &userInfo)
{
    QOVANotificationCenter::defaultCenter().postNotificationNameOnMainThread(
        QString::fromLatin1(name), nullptr, userInfo);
}

// ---------------------------------------------------------------------------
// HID discovery

void QOVAIOManager::initialize_HID()
{
    QOVA_LOG(INFO, HID, "Initialize HID Runloop.");
    {
        std::lock_guard<std::mutex> lock(m_hidMutex);
        m_hidThreadContext = new QObject();
    }
    setUpHIDManager(m_hidThreadContext);
}

void QOVAIOManager::tearDownHID()
{
    QObject *context = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_hidMutex);
        context = m_hidThreadContext;
        m_hidThreadContext = nullptr;
        if (m_hidContext == context && m_hidManager) {
            m_hidManager->close();
            m_hidManager.reset();
            m_hidContext = nullptr;
        }
    }
    delete context;
}

void QOVAIOManager::setUpHIDManager(QObject *context)
{
    std::unique_ptr<platform::HidManager> manager = platform::backend().createHidManager();
    if (!manager) {
        QOVA_LOG(ERROR, HID, "Could not create IOHIDManager.");
        return;
    }
    platform::HidManager *sender = manager.get();
    manager->setCallbacks(
        [this, sender](const platform::HidDeviceRef &device) {
            deviceHIDMatchingResult(0, sender, device);
        },
        [this, sender](const platform::HidDeviceRef &device) {
            // The device is gone: its input reports stop here.
            if (device)
                device->setInputReportHandler({});
            deviceHIDRemovalResult(0, sender, device);
        });
    std::vector<platform::HidMatch> matches;
    for (uint32_t productId : kRunModeProductIds)
        matches.push_back({kVendorId, productId});
    manager->setDeviceMatching(std::move(matches));

    {
        std::lock_guard<std::mutex> lock(m_hidMutex);
        m_hidManager = std::move(manager);
        m_hidContext = context;
    }
    const int result = sender->open();
    if (result != 0)
        QOVA_LOG(INFO, HID, "Open gIOHIDManagerRef Error: Control request failed: %08x",
                 unsigned(result));
}

void QOVAIOManager::closeHIDManager()
{
    std::unique_ptr<platform::HidManager> manager;
    QObject *context = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_hidMutex);
        manager = std::move(m_hidManager);
        context = m_hidContext;
        m_hidContext = nullptr;
    }
    if (!manager)
        return;
    // Close it on the thread that serves it, so that no callback of it is
    // running while it goes.
    platform::runOn(context, [&manager] {
        manager->close();
        manager.reset();
    });
}

void QOVAIOManager::reopen()
{
    reopenIOHIDManager();
}

void QOVAIOManager::reopenIOHIDManager()
{
    closeHIDManager();
    auto context = std::make_unique<QObject>();
    QObject *raw = context.get();
    {
        std::lock_guard<std::mutex> lock(m_hidMutex);
        // The context of an earlier reopen on this thread is no longer used.
        m_reopenContext = std::move(context);
    }
    setUpHIDManager(raw);
}

void QOVAIOManager::deviceHIDMatchingResult(int result, platform::HidManager *sender,
                                            const platform::HidDeviceRef &device)
{
    Q_UNUSED(result);
    Q_UNUSED(sender);
    QOVA_LOG(INFO, HID, "Enter into HID deviceMatchingResult function.");
    if (!device)
        return;

    const platform::HidIdentity identity = device->identity();
    const QString usagePage = hexText(identity.primaryUsagePage);
    const QString productId = hexText(identity.productId, 4);
    // The camera's second HID interface (vendor usage page) is not a device
    // of its own.
    if (productId == QLatin1String("6e12") && usagePage == QLatin1String("ff00"))
        return;

    const std::optional<QString> manufacturer = identity.manufacturer;
    const std::optional<QString> productName = identity.product;
    const std::optional<QString> reportedSerial = identity.serialNumber;
    const QString vendorId = hexText(identity.vendorId, 4);
    const QString location = hexText(identity.locationId);

    platform::UsbDeviceRef usbDevice;
    if (reportedSerial)
        usbDevice = open_usb_device_by_serial(vendorId, productId, *reportedSerial);

    std::optional<QString> serial;
    if (reportedSerial)
        serial = cutSerialNumber(productId, *reportedSerial);

    QString version;
    std::optional<QString> deviceName;
    if (productId == QLatin1String("6e17") || productId == QLatin1String("6e12")) {
        std::optional<QString> versionString;
        std::optional<QString> nameString;
        if (usbDevice) {
            versionString = ReadUSBString(usbDevice, kVersionStringIndex);
            nameString = ReadUSBString(usbDevice, kDeviceNameStringIndex);
        }
        version = versionString.value_or(QStringLiteral("0"));
        deviceName = nameString.value_or(QString());
    } else {
        version = formatProductVersion(hexText(identity.versionNumber));
        deviceName = productName;
    }

    QOVA_LOG(INFO, HID, "%s Firmware String is %s", OPT(productName), qUtf8Printable(version));

    if (!deviceName || !manufacturer || !productName || !serial) {
        QOVA_LOG(INFO, HID, "match nil value, return.");
        return;
    }

    QVariantMap userInfo;
    userInfo.insert(QLatin1String(kKeyManufacturer), *manufacturer);
    userInfo.insert(QLatin1String(kKeyName), *productName);
    userInfo.insert(QLatin1String(kKeySerial), *serial);
    userInfo.insert(QLatin1String(kKeyProductId), productId);
    userInfo.insert(QLatin1String(kKeyVersion), version);
    userInfo.insert(QLatin1String(kKeyVendorId), vendorId);
    userInfo.insert(QLatin1String(kKeyLocation), location);
    userInfo.insert(QLatin1String(kKeyDeviceName), *deviceName);

    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        for (const QOVABaseUSBDeviceRef &entry : std::as_const(m_devices)) {
            const QOVADeviceModelRef model = entry->model();
            if (model && model->productseriaNumber() == *serial) {
                QOVA_LOG(INFO, HID, "Need Remove the Device!");
                // The same HID device again: it is already listed.
                if (model->deviceRef() == device) {
                    post(kMatchNotification, userInfo);
                    return;
                }
                break;
            }
        }
    }

    auto model = std::make_shared<QOVADeviceModel>();
    model->setProductVID(vendorId);
    model->setProductPID(productId);
    model->setProductManufacturer(*manufacturer);
    model->setProductName(*productName);
    model->setProductseriaNumber(*serial);
    model->setProductVersion(version);
    model->setInterface(usbDevice);
    model->setDeviceRef(device);
    model->setDfuDevice(false);
    model->setUpdating(false);
    QOVA_LOG(INFO, HID,
             "The device productManufacturer is %s, productName is %s, the device name is %s, "
             "The device productSeriaNumber is %s, The device productID is %s, The device "
             "productVersionNumber is %s,The device productVID is %s",
             qUtf8Printable(*manufacturer), qUtf8Printable(*productName),
             qUtf8Printable(*deviceName), qUtf8Printable(*serial), qUtf8Printable(productId),
             qUtf8Printable(version), qUtf8Printable(vendorId));

    // The device object sets up its channels when it is made; that is done
    // outside the lock. Entries it replaces are released after the lock.
    QOVABaseUSBDeviceRef object = QOVADeviceFactory::createFactoryDevice(productId, model);
    QList<QOVABaseUSBDeviceRef> replaced;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        for (auto it = m_devices.begin(); it != m_devices.end();) {
            const QOVADeviceModelRef entryModel = (*it)->model();
            if (entryModel && entryModel->productseriaNumber() == *serial) {
                replaced.append(*it);
                it = m_devices.erase(it);
            } else {
                ++it;
            }
        }
        if (object)
            m_devices.append(object);
        ++m_runModeListings;
    }
    replaced.clear();
    // Told only once the device can be asked: a page opened from its tile
    // at once finds it.
    post(kMatchNotification, userInfo);
    QOVA_LOG(INFO, HID, "Left HID deviceMatchingResult function");
}

void QOVAIOManager::deviceHIDRemovalResult(int result, platform::HidManager *sender,
                                           const platform::HidDeviceRef &device)
{
    Q_UNUSED(result);
    Q_UNUSED(sender);
    QOVA_LOG(INFO, HID, "Enter into deviceRemovalResult Function.");
    platform::HidIdentity identity;
    if (device)
        identity = device->identity();
    const QString productId = hexText(identity.productId);
    if (!device || !identity.serialNumber || !identity.product || !identity.manufacturer) {
        QOVA_LOG(INFO, HID, "inIOHIDDeviceRef is not existed, return.");
        return;
    }
    // The camera's vendor-page interface made no entry when it arrived, so
    // its departure announces nothing either: the camera leaves once.
    if (productId == QLatin1String("6e12") && hexText(identity.primaryUsagePage) == QLatin1String("ff00"))
        return;
    const QString serial = cutSerialNumber(productId, *identity.serialNumber);

    QVariantMap userInfo;
    userInfo.insert(QLatin1String(kKeyManufacturer), *identity.manufacturer);
    userInfo.insert(QLatin1String(kKeyName), *identity.product);
    userInfo.insert(QLatin1String(kKeySerial), serial);
    userInfo.insert(QLatin1String(kKeyProductId), productId);
    QOVA_LOG(INFO, HID,
             "The device productManufacturer is %s, productName is %s, The device "
             "productSeriaNumber is %s, The device productID is %s",
             qUtf8Printable(*identity.manufacturer), qUtf8Printable(*identity.product),
             qUtf8Printable(serial), qUtf8Printable(productId));

    QOVABaseUSBDeviceRef removed;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        for (auto it = m_devices.begin(); it != m_devices.end(); ++it) {
            const QOVADeviceModelRef model = (*it)->model();
            if (model && model->productseriaNumber() == serial) {
                // A device being flashed leaves run mode on purpose.
                if (model->isUpdate())
                    return;
                // The entry was made for another arrival of this device (a
                // re-plug seen before this departure, or the device already
                // in DFU mode): it stays, and nothing is announced.
                if (model->deviceRef() != device)
                    return;
                removed = *it;
                m_devices.erase(it);
                QOVA_LOG(INFO, HID, "Remove the device too");
                break;
            }
        }
    }
    removed.reset();
    post(kRemoveNotification, userInfo);
}

// ---------------------------------------------------------------------------
// DFU discovery

void QOVAIOManager::initialize_DFU()
{
    QOVA_LOG(INFO, DFU, "Initialize DFU Runloop.");
    platform::UsbBus &bus = platform::backend().usbBus();
    m_dfuWatch = bus.watch(
        [this](const platform::UsbDeviceRef &device) { dfuDevicesArrived({device}); },
        [this](const platform::UsbDeviceRef &device) { dfuDeviceRemoved(device); });
    // Devices already in DFU mode at start. One that also shows up through the
    // watch is reported once.
    dfuDevicesArrived(bus.devices());
    QOVA_LOG(INFO, DFU, "Starting DFU Run Loop");
}

void QOVAIOManager::tearDownDFU()
{
    m_dfuWatch.reset();
    m_dfuDevices.clear();
    m_unreportedDfuDevices.clear();
}

void QOVAIOManager::dfuDevicesArrived(const std::vector<platform::UsbDeviceRef> &devices)
{
    for (const platform::UsbDeviceRef &device : devices) {
        if (!device)
            continue;
        const platform::UsbDeviceInfo info = device->info();
        if (info.vendorId != kVendorId || !isDfuModeProductId(info.productId))
            continue;
        if (m_dfuDevices.count(device.get()))
            continue;

        const std::optional<QString> serial =
            info.usbSerialNumber ? info.usbSerialNumber : info.serialNumber;
        const std::optional<QString> productName = info.productName;
        const std::optional<QString> manufacturer = info.vendorName;
        const QString vendorId = hexText(info.vendorId);
        const QString productId = hexText(info.productId);

        QString version;
        QString deviceName;
        if (productId == QLatin1String("6e18") || productId == QLatin1String("6e13")) {
            version = ReadUSBString(device, kVersionStringIndex).value_or(QStringLiteral("0"));
            deviceName = ReadUSBString(device, kDeviceNameStringIndex).value_or(QString());
        } else {
            version = hexText(info.bcdDevice);
        }
            QOVA_LOG(INFO, DFU, "%s Firmware String is %s", OPT(productName), qUtf8Printable(version));

        const std::optional<USBInterfaceHandle> dfuInterface =
            open_usb_interface_by_class(device, kDfuInterfaceClass, kDfuInterfaceSubClass);
        if (!dfuInterface)
            continue;
        if (dfuInterface->info.interfaceProtocol == kRunTimeDfuProtocol) {
            // Not in DFU mode: this one is not reported, the rest of the batch
            // still is.
            QOVA_LOG(INFO, DFU, "It is a normal device!");
            continue;
        }
        QOVA_LOG(INFO, DFU, "It is a DFU device");
        m_dfuDevices[device.get()] = {device, info};
        // This thread may come to an arrival late, when the device has left
        // DFU mode again and the HID thread has already listed it in run
        // mode: an arrival whose device is no longer on the bus is older
        // news and is not reported.
        auto stillPresent = [info]() {
            for (const platform::UsbDeviceRef &present : platform::backend().usbBus().devices()) {
                if (!present)
                    continue;
                const platform::UsbDeviceInfo other = present->info();
                if (other.vendorId == info.vendorId && other.productId == info.productId
                    && other.usbSerialNumber == info.usbSerialNumber
                    && other.serialNumber == info.serialNumber)
                    return true;
            }
            return false;
        };
        if (!deviceDFUMatching(productName, deviceName, manufacturer, serial, productId, version,
                               vendorId, stillPresent)) {
            m_dfuDevices.erase(device.get());
            m_unreportedDfuDevices[device.get()] = device;
        }
    }
}

void QOVAIOManager::dfuDeviceRemoved(const platform::UsbDeviceRef &device)
{
    if (!device)
        return;
    if (m_unreportedDfuDevices.erase(device.get())) {
        QOVA_LOG(INFO, DFU, "The DFU device left before it was reported, nothing to report");
        return;
    }
    platform::UsbDeviceInfo info;
    auto known = m_dfuDevices.find(device.get());
    if (known != m_dfuDevices.end()) {
        info = known->second.second;
        m_dfuDevices.erase(known);
    } else {
        info = device->info();
    }
    if (info.vendorId != kVendorId || !isDfuModeProductId(info.productId))
        return;
    const std::optional<QString> serial =
        info.usbSerialNumber ? info.usbSerialNumber : info.serialNumber;
    QOVA_LOG(INFO, DFU, "DFU Device name is %s!, and Will Go into DFU: deviceRemoveResult!",
             OPT(info.productName));
    // A flashed device leaves DFU mode when it restarts; when this thread
    // comes to that late, the device may be on the bus in run mode already.
    const QString cutSerial = cutSerialNumber(hexText(info.productId), serial.value_or(QString()));
    auto backInRunMode = [cutSerial]() {
        for (const platform::UsbDeviceRef &present : platform::backend().usbBus().devices()) {
            if (!present)
                continue;
            const platform::UsbDeviceInfo other = present->info();
            if (other.vendorId != kVendorId || isDfuModeProductId(other.productId))
                continue;
            const std::optional<QString> otherSerial =
                other.usbSerialNumber ? other.usbSerialNumber : other.serialNumber;
            if (otherSerial && cutSerialNumber(hexText(other.productId), *otherSerial) == cutSerial)
                return true;
        }
        return false;
    };
    deviceRemovalResult(info.productName, info.vendorName, serial, hexText(info.productId),
                        uint32_t(info.bcdDevice), hexText(info.vendorId), backInRunMode);
}

bool QOVAIOManager::deviceDFUMatching(const std::optional<QString> &productName,
                                      const std::optional<QString> &deviceName,
                                      const std::optional<QString> &productManufacturer,
                                      const std::optional<QString> &productSeriaNumber,
                                      const std::optional<QString> &productPID,
                                      const std::optional<QString> &productVersion,
                                      const std::optional<QString> &productVID,
                                      const std::function<bool()> &stillPresent)
{
    QOVA_LOG(INFO, DFU, "Enter into DFU DeviceMatching Function");
    std::optional<QString> version = productVersion;
    std::optional<QString> serial = productSeriaNumber;
    std::optional<QString> shownName;
    if (productPID && version && *productPID == QLatin1String("5c02"))
        version = formatProductVersion(*version);
    if (productPID && serial)
        serial = cutSerialNumber(*productPID, *serial);
    if (productName)
        shownName = removeDfuSuffix(*productName);

    QOVA_LOG(INFO, DFU,
             "The device productManufacturer is %s, productName is %s, the device name is %s, "
             "The device productSeriaNumber is %s, The device productID is %s, The device "
             "productVersionNumber is %s",
             OPT(productManufacturer), OPT(shownName), OPT(deviceName), OPT(serial),
             OPT(productPID), OPT(version));

    if (!deviceName || !productVID || !version || !productPID || !serial || !productManufacturer
        || !shownName) {
        QOVA_LOG(INFO, HID, "match nil value, return.");
        return true;
    }

    QVariantMap userInfo;
    userInfo.insert(QLatin1String(kKeyManufacturer), *productManufacturer);
    userInfo.insert(QLatin1String(kKeyName), *shownName);
    userInfo.insert(QLatin1String(kKeySerial), *serial);
    userInfo.insert(QLatin1String(kKeyProductId), *productPID);
    userInfo.insert(QLatin1String(kKeyVersion), *version);
    userInfo.insert(QLatin1String(kKeyVendorId), *productVID);
    userInfo.insert(QLatin1String(kKeyDeviceName), *deviceName);

    auto model = std::make_shared<QOVADeviceModel>();
    model->setProductVID(*productVID);
    model->setProductPID(*productPID);
    model->setProductManufacturer(*productManufacturer);
    model->setProductName(*productName);
    model->setProductseriaNumber(*serial);
    model->setProductVersion(*version);
    model->setDfuDevice(true);

    // The report holds the list's lock, taken once the device is found still
    // on the bus with no run-mode listing since: a run-mode arrival of the
    // device is either listed and told after this report, or it came first
    // and this device is gone from the bus.
    {
        const std::unique_lock<std::recursive_mutex> lock = lockUnlessGone(stillPresent);
        if (!lock.owns_lock())
            return false;
        for (const QOVABaseUSBDeviceRef &entry : std::as_const(m_devices)) {
            const QOVADeviceModelRef current = entry->model();
            if (current && current->productseriaNumber() == *serial) {
                // The device went from run mode to DFU mode: the entry stays
                // and takes the new model. It keeps the updating mark of the
                // entry, so that a device that was not being flashed can
                // still leave the list.
                QOVA_LOG(INFO, DFU, "Need Update the Exist Device! From HID -> DFU!");
                model->setUpdating(current->isUpdate());
                entry->setModel(model);
                post(kMatchNotification, userInfo);
                return true;
            }
        }
    }

    model->setUpdating(false);
    QOVA_LOG(INFO, DFU, "Need initialize a new DFU device");
    QOVABaseUSBDeviceRef object = QOVADeviceFactory::createFactoryDevice(*productPID, model);
    {
        const std::unique_lock<std::recursive_mutex> lock = lockUnlessGone(stillPresent);
        if (!lock.owns_lock())
            return false;
        if (object)
            m_devices.append(object);
        // As for a run-mode device: told once it is listed.
        post(kMatchNotification, userInfo);
    }
    return true;
}

std::unique_lock<std::recursive_mutex> QOVAIOManager::lockUnlessGone(const std::function<bool()> &stillPresent)
{
    // A few looks outside the lock; should run-mode listings keep coming in
    // between, the last look is made under it.
    constexpr int kLooks = 4;
    for (int look = 1;; ++look) {
        const bool last = look == kLooks;
        std::unique_lock<std::recursive_mutex> lock(m_lock, std::defer_lock);
        if (last)
            lock.lock();
        const uint64_t listings = m_runModeListings.load();
        const bool present = !stillPresent || stillPresent();
        if (!last) {
            lock.lock();
            if (m_runModeListings.load() != listings)
                continue;
        }
        if (!present) {
            lock.unlock();
            QOVA_LOG(INFO, DFU, "The DFU device has already left, nothing to report");
        }
        return lock;
    }
}

void QOVAIOManager::deviceRemovalResult(const std::optional<QString> &productName,
                                        const std::optional<QString> &productManufacturer,
                                        const std::optional<QString> &productSeriaNumber,
                                        const std::optional<QString> &productPID,
                                        std::optional<uint32_t> productVersion,
                                        const std::optional<QString> &productVID,
                                        const std::function<bool()> &backInRunMode)
{
    if (!productName || !productManufacturer || !productSeriaNumber || !productPID
        || !productVersion || !productVID) {
        QOVA_LOG(INFO, HID, "match nil value, return.");
        return;
    }
    const QString serial = cutSerialNumber(*productPID, *productSeriaNumber);
    QVariantMap userInfo;
    userInfo.insert(QLatin1String(kKeyManufacturer), *productManufacturer);
    userInfo.insert(QLatin1String(kKeyName), *productName);
    userInfo.insert(QLatin1String(kKeySerial), serial);
    userInfo.insert(QLatin1String(kKeyProductId), *productPID);
    userInfo.insert(QLatin1String(kKeyVersion), *productVersion);
    userInfo.insert(QLatin1String(kKeyVendorId), *productVID);
    QOVA_LOG(INFO, DFU, "Enter into DFU deviceRemovalResult Function.");
    QOVA_LOG(INFO, DFU,
             "The device productManufacturer is %s, productName is %s, The device "
             "productSeriaNumber is %s, The device productID is %s",
             qUtf8Printable(*productManufacturer), qUtf8Printable(*productName),
             qUtf8Printable(serial), qUtf8Printable(*productPID));

    // The bus is scanned before the list's lock is taken. A device found
    // back in run mode has not left. One that comes back after the scan is
    // either listed in run mode before the lock is taken, and its entry then
    // stays (below), or after this report, as a new arrival.
    if (backInRunMode && backInRunMode()) {
        QOVA_LOG(INFO, DFU, "The device is back in run mode, it has not left");
        return;
    }
    QOVABaseUSBDeviceRef removed;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        for (auto it = m_devices.begin(); it != m_devices.end(); ++it) {
            const QOVADeviceModelRef model = (*it)->model();
            if (model && model->productseriaNumber() == serial) {
                if (model->isUpdate())
                    return;
                // Listed in run mode again: the HID thread has already seen
                // the device come back, so this departure is older news.
                if (!model->isDfuDevice())
                    return;
                removed = *it;
                m_devices.erase(it);
                QOVA_LOG(INFO, DFU, "Remove the device is %s", qUtf8Printable(*productName));
                break;
            }
        }
        QOVA_LOG(INFO, DFU, "Notification UI To Remove the Device!");
        post(kRemoveNotification, userInfo);
    }
    removed.reset();
}

QString QOVAIOManager::formatProductVersion(const QString &version)
{
    return qova::discovery::formatProductVersion(version);
}

// ---------------------------------------------------------------------------
// The device list

QOVABaseUSBDeviceRef QOVAIOManager::findDevice(const QString &serialNumber)
{
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        if (!serialNumber.isNull()) {
            for (const QOVABaseUSBDeviceRef &entry : std::as_const(m_devices)) {
                const QOVADeviceModelRef model = entry->model();
                if (model && model->productseriaNumber() == serialNumber) {
                    QOVA_LOG(INFO, HID, "Can find the HID Device!");
                    return entry;
                }
            }
        }
    }
    QOVA_LOG(INFO, UI, "Can not find a Device!");
    return nullptr;
}

QList<QOVABaseUSBDeviceRef> QOVAIOManager::deviceMutableArray() const
{
    // A copy of its own, not one sharing the list's storage: the discovery
    // threads change the list in place once they see it unshared, and that
    // check does not order the caller's reads before their writes.
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return QList<QOVABaseUSBDeviceRef>(m_devices.cbegin(), m_devices.cend());
}

// ---------------------------------------------------------------------------
// Request facade

template <typename Send>
void QOVAIOManager::route(RequestRule rule, const char *selector, const QString &serialNumber,
                          Send &&send)
{
    if (rule == RequestRule::Stops || rule == RequestRule::Lookup)
        QOVA_LOG(INFO, HID, "Request %s", selector);
    if ((rule == RequestRule::Stops || rule == RequestRule::StopsQuiet) && serialNumber.isEmpty())
        return;
    if (const QOVABaseUSBDeviceRef device = findDevice(serialNumber))
        send(*device);
}

#define QOVA_DEFINE_REQUEST(rule, name, selector, params, serial, family, args)                   \
    void QOVAIOManager::name params                                                                \
    {                                                                                              \
        route(RequestRule::rule, selector, serial,                                                 \
              [&](QOVABaseUSBDevice &device) { device.family args; });                             \
    }
QOVA_IOMANAGER_REQUESTS(QOVA_DEFINE_REQUEST)
#undef QOVA_DEFINE_REQUEST

// ---------------------------------------------------------------------------
// Flashing

void QOVAIOManager::usbDeviceUpdate(const QString &serialNumber, const QString &filePath,
                                    bool isDeviceUpdate, QOVAProgressBlock progress,
                                    QOVASuccessBlock success, QOVAUpgradeFailedBlock failed,
                                    const QString &packageVersion)
{
    Q_UNUSED(isDeviceUpdate);
    QList<QOVABaseUSBDeviceRef> targets;
    if (!serialNumber.isEmpty()) {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        for (const QOVABaseUSBDeviceRef &entry : std::as_const(m_devices)) {
            const QOVADeviceModelRef model = entry->model();
            if (model && model->productseriaNumber() == serialNumber) {
                QOVA_LOG(INFO, HID, "Set the Device firmwareupdate");
                model->setUpdating(true);
                model->setFlashingVersion(packageVersion);
                targets.append(entry);
            }
        }
    }
    if (targets.isEmpty()) {
        // Nothing to flash: say so at once rather than leave the caller
        // waiting for an outcome that never comes.
        if (failed)
            failed(deviceGoneError());
        return;
    }
    // The updater is called outside the list's lock; a status it reports at
    // once takes the lock itself.
    for (const QOVABaseUSBDeviceRef &device : std::as_const(targets)) {
        // The blocks hold the device object until the update has ended, also
        // after a status has taken it off the list.
        auto wrappedSuccess = [this, device, success](const QString &text) {
            clearUpdating(device);
            if (success)
                success(text);
        };
        auto wrappedFailed = [this, device, failed](const QOVAError &error) {
            clearUpdating(device);
            if (failed)
                failed(error);
        };
        auto status = [this, device](int code) { flashingStatus(device, code); };
        device->upgradeDeviceFirmware(filePath, progress, wrappedSuccess, wrappedFailed, status);
    }
}

void QOVAIOManager::clearUpdating(const QOVABaseUSBDeviceRef &device)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (const QOVADeviceModelRef model = device->model())
        model->setUpdating(false);
}

void QOVAIOManager::flashingStatus(const QOVABaseUSBDeviceRef &device, int status)
{
    QOVA_LOG(INFO, HID, "find the device to motior Device plugIN");
    switch (status) {
    case 3:   // lost after the detach
    case 10:  // lost after the reset
    case 12: {  // failed, the device is gone
        QOVADeviceModelRef model;
        {
            std::lock_guard<std::recursive_mutex> lock(m_lock);
            m_devices.removeAll(device);
            model = device->model();
            QOVA_LOG(INFO, DFU, "remove the device, status is :%d", status);
            if (model && status == 12)
                model->setUpdating(false);
        }
        QVariantMap userInfo;
        if (model) {
            userInfo.insert(QLatin1String(kKeyManufacturer), model->productManufacturer());
            userInfo.insert(QLatin1String(kKeyName), model->productName());
            userInfo.insert(QLatin1String(kKeySerial), model->productseriaNumber());
            userInfo.insert(QLatin1String(kKeyProductId), model->productPID());
        }
        post(kRemoveNotification, userInfo);
        break;
    }
    case 13:  // the update has ended
        clearUpdating(device);
        break;
    default:
        break;
    }
}
