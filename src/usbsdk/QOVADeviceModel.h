#pragma once
// One attached device as discovery found it. The firmware upgrader rewrites
// productPID on its own thread while other threads read the model, so every
// field is read and written under the model's lock.

#include "platform/Hid.h"
#include "platform/Usb.h"

#include <QString>

#include <memory>
#include <mutex>

class QOVADeviceModel {
public:
    QOVADeviceModel();

    QString productVID() const;
    void setProductVID(const QString &value);
    QString productPID() const;
    void setProductPID(const QString &value);
    QString productName() const;
    void setProductName(const QString &value);
    QString productseriaNumber() const;
    void setProductseriaNumber(const QString &value);
    QString productVersion() const;
    void setProductVersion(const QString &value);
    QString productManufacturer() const;
    void setProductManufacturer(const QString &value);

    // The device's USB device (none in DFU mode or when it was not found).
    platform::UsbDeviceRef interface() const;
    void setInterface(platform::UsbDeviceRef value);
    // The HID device discovery reported (none in DFU mode).
    platform::HidDeviceRef deviceRef() const;
    void setDeviceRef(platform::HidDeviceRef value);

    bool isUpdate() const;
    void setUpdating(bool value);
    // The version the firmware being flashed installs, when whoever started
    // the update knows it (the update server's version of the package);
    // empty otherwise.
    QString flashingVersion() const;
    void setFlashingVersion(const QString &value);
    bool isDfuDevice() const;
    void setDfuDevice(bool value);

private:
    mutable std::mutex m_mutex;
    QString m_productVID;
    QString m_productPID;
    QString m_productName;
    QString m_productseriaNumber;
    QString m_productVersion;
    QString m_productManufacturer;
    platform::UsbDeviceRef m_interface;
    platform::HidDeviceRef m_deviceRef;
    bool m_updating = false;
    QString m_flashingVersion;
    bool m_dfuDevice = false;
};

using QOVADeviceModelRef = std::shared_ptr<QOVADeviceModel>;

// The firmware version of the device whose pages are open.
class QOVADeviceInfoSingleton {
public:
    static QOVADeviceInfoSingleton *sharedDevice();

    QString currentDeviceVersion() const;
    void setCurrentDeviceVersion(const QString &version);

private:
    QOVADeviceInfoSingleton() = default;
    mutable std::mutex m_mutex;
    QString m_currentDeviceVersion;
};
