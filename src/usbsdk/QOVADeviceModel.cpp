#include "QOVADeviceModel.h"

#include "log/log.h"

QOVADeviceModel::QOVADeviceModel()
{
    QOVA_LOG(INFO, HID, "QOVADeviceModel");
}

QString QOVADeviceModel::productVID() const { std::lock_guard<std::mutex> l(m_mutex); return m_productVID; }
void QOVADeviceModel::setProductVID(const QString &v) { std::lock_guard<std::mutex> l(m_mutex); m_productVID = v; }
QString QOVADeviceModel::productPID() const { std::lock_guard<std::mutex> l(m_mutex); return m_productPID; }
void QOVADeviceModel::setProductPID(const QString &v) { std::lock_guard<std::mutex> l(m_mutex); m_productPID = v; }
QString QOVADeviceModel::productName() const { std::lock_guard<std::mutex> l(m_mutex); return m_productName; }
void QOVADeviceModel::setProductName(const QString &v) { std::lock_guard<std::mutex> l(m_mutex); m_productName = v; }
QString QOVADeviceModel::productseriaNumber() const { std::lock_guard<std::mutex> l(m_mutex); return m_productseriaNumber; }
void QOVADeviceModel::setProductseriaNumber(const QString &v) { std::lock_guard<std::mutex> l(m_mutex); m_productseriaNumber = v; }
QString QOVADeviceModel::productVersion() const { std::lock_guard<std::mutex> l(m_mutex); return m_productVersion; }
void QOVADeviceModel::setProductVersion(const QString &v) { std::lock_guard<std::mutex> l(m_mutex); m_productVersion = v; }
QString QOVADeviceModel::productManufacturer() const { std::lock_guard<std::mutex> l(m_mutex); return m_productManufacturer; }
void QOVADeviceModel::setProductManufacturer(const QString &v) { std::lock_guard<std::mutex> l(m_mutex); m_productManufacturer = v; }
platform::UsbDeviceRef QOVADeviceModel::interface() const { std::lock_guard<std::mutex> l(m_mutex); return m_interface; }
void QOVADeviceModel::setInterface(platform::UsbDeviceRef v) { std::lock_guard<std::mutex> l(m_mutex); m_interface = std::move(v); }
platform::HidDeviceRef QOVADeviceModel::deviceRef() const { std::lock_guard<std::mutex> l(m_mutex); return m_deviceRef; }
void QOVADeviceModel::setDeviceRef(platform::HidDeviceRef v) { std::lock_guard<std::mutex> l(m_mutex); m_deviceRef = std::move(v); }
bool QOVADeviceModel::isUpdate() const { std::lock_guard<std::mutex> l(m_mutex); return m_updating; }
void QOVADeviceModel::setUpdating(bool v) { std::lock_guard<std::mutex> l(m_mutex); m_updating = v; }
QString QOVADeviceModel::flashingVersion() const { std::lock_guard<std::mutex> l(m_mutex); return m_flashingVersion; }
void QOVADeviceModel::setFlashingVersion(const QString &v) { std::lock_guard<std::mutex> l(m_mutex); m_flashingVersion = v; }
bool QOVADeviceModel::isDfuDevice() const { std::lock_guard<std::mutex> l(m_mutex); return m_dfuDevice; }
void QOVADeviceModel::setDfuDevice(bool v) { std::lock_guard<std::mutex> l(m_mutex); m_dfuDevice = v; }

QOVADeviceInfoSingleton *QOVADeviceInfoSingleton::sharedDevice()
{
    static QOVADeviceInfoSingleton instance;  // thread-safe first use
    return &instance;
}

QString QOVADeviceInfoSingleton::currentDeviceVersion() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_currentDeviceVersion;
}

void QOVADeviceInfoSingleton::setCurrentDeviceVersion(const QString &version)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_currentDeviceVersion = version;
}
