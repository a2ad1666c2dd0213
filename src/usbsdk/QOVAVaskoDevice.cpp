#include "QOVAVaskoDevice.h"

#include "log/log.h"

QOVAVaskoDevice::QOVAVaskoDevice(QOVADeviceModelRef model) : QOVABaseUSBDevice(std::move(model))
{
    setDeviceSubClassDelegate();
    QOVA_LOG(INFO, HID, "Init the Device for QOVAVaskoDevice");
    const QOVADeviceModelRef current = this->model();
    if (current && !current->isDfuDevice())
        setUpUSBDeviceInterface();
}

QOVAVaskoDevice::~QOVAVaskoDevice() = default;

void QOVAVaskoDevice::setUpUSBDeviceInterface()
{
    const QOVADeviceModelRef current = model();
    // Without an HID device there is nothing to send requests to.
    if (current->deviceRef())
        m_hidInterface = std::make_shared<QOVAUSBDeviceHIDInterface>(current->interface(),
                                                                     current->deviceRef());
    if (current->interface())
        m_uvcInterface = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(current->interface());
}

void QOVAVaskoDevice::deviceFirmwareUpdategrade_DFU(const QString &path, QOVAProgressBlock progress,
                                                     QOVASuccessBlock success,
                                                     QOVAUpgradeFailedBlock failed,
                                                     QOVAUpgradeStatusBlock status)
{
    QOVA_LOG(INFO, HID, "QOVAVaskoDevice DeviceFirmwareUodateGrade");
    QOVAUpgradeManager::sharedUpgradeManager()->upgradeDevice(model(), path, std::move(progress),
                                                              std::move(success), std::move(failed),
                                                              std::move(status));
}

bool QOVAVaskoDevice::implementsRequest_HID(QOVARequest request) const
{
    return QOVARequestCatalogue::row(request).families & QOVAFamilyVasko;
}

void QOVAVaskoDevice::sendRequest_HID(QOVARequest request, const QOVARequestArguments &arguments,
                                       const QOVARequestBlocks &blocks)
{
    switch (request) {
    case QOVARequest::BluetoothSet:
        QOVA_LOG(INFO, HID, "QOVAHIDProtocol for setUSBDeviceBloothName");
        break;
    case QOVARequest::BluetoothPair:
        QOVA_LOG(INFO, HID, "QOVAHIDProtocol for setUSBDeviceBluetoothAutopairEnable_HID");
        break;
    case QOVARequest::NetworkEnable:
        QOVA_LOG(INFO, HID, "QOVAHIDProtocol for enableVaskoNetwork_HID");
        break;
    case QOVARequest::WifiListGet:
        QOVA_LOG(INFO, HID, "getUSBDeviceWifiInformationListWithBlock_HID---Vasko");
        break;
    case QOVARequest::CameraPreset:
        if (!hasPreset(arguments.url.toULongLong()))
            return;
        break;
    default:
        break;
    }
    if (m_hidInterface)
        QOVARequestCatalogue::send(*m_hidInterface, request, arguments, blocks);
}

void QOVAVaskoDevice::getInformationFromUSBDevice_HID(const QString &className, const QJsonObject &head,
                                                       QOVACompletionBlock success,
                                                       QOVAFailureBlock failure)
{
    if (m_hidInterface)
        m_hidInterface->getInformationFromUSBDevice(className, head, std::move(success), std::move(failure));
}

void QOVAVaskoDevice::putInformationToUSBDevice_HID(const QJsonObject &head, const QJsonObject &body,
                                                     QOVASuccessBlock success, QOVAFailureBlock failure)
{
    if (m_hidInterface)
        m_hidInterface->putInformationToUSBDevice(head, body, std::move(success), std::move(failure));
}

bool QOVAVaskoDevice::implementsUVC(Operation operation) const
{
    (void)operation;
    return true;
}

void QOVAVaskoDevice::setZoomAbs_UVC(bool zoomIn, QOVASuccessBlock success, QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setZoomAbs(zoomIn, std::move(success), std::move(failure));
}

void QOVAVaskoDevice::setZoomAbs_UVC(bool zoomIn, qint64 multiple, QOVASuccessBlock success,
                                      QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setZoomAbs(zoomIn, multiple, std::move(success), std::move(failure));
}

void QOVAVaskoDevice::setPanTiltAbs_UVC(bool pan, bool direct, QOVASuccessBlock success,
                                         QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setPanTiltAbs(pan, direct, std::move(success), std::move(failure));
}

void QOVAVaskoDevice::setPanTiltAbs_UVC(bool pan, bool direct, double multiple,
                                        QOVASuccessBlock success, QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setPanTiltAbs(pan, direct, multiple, std::move(success), std::move(failure));
}

void QOVAVaskoDevice::getCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model,
                                                         QOVASuccessBlock success,
                                                         QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->getCameraSettingDataWithModel(model, std::move(success), std::move(failure));
}

void QOVAVaskoDevice::setCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model,
                                                         bool isReset, QOVASuccessBlock success,
                                                         QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setCameraSettingDataWithModel(model, isReset, std::move(success),
                                                      std::move(failure));
}

void QOVAVaskoDevice::updateUVCControls_UVC()
{
    if (m_uvcInterface)
        m_uvcInterface->updateUVCControls();
}
