#include "QOVAOrbrinDevice.h"

#include "log/log.h"

QOVAOrbrinDevice::QOVAOrbrinDevice(QOVADeviceModelRef model) : QOVABaseUSBDevice(std::move(model))
{
    setDeviceSubClassDelegate();
    QOVA_LOG(INFO, HID, "Init the Device for QOVAOrbrinDevice");
    const QOVADeviceModelRef current = this->model();
    if (current && !current->isDfuDevice())
        setUpUSBDeviceInterface();
}

QOVAOrbrinDevice::~QOVAOrbrinDevice()
{
    m_hidInterface.reset();
}

void QOVAOrbrinDevice::setUpUSBDeviceInterface()
{
    const QOVADeviceModelRef current = model();
    // Without an HID device there is nothing to send requests to.
    if (current->deviceRef())
        m_hidInterface = std::make_shared<QOVAUSBDeviceHIDInterface>(current->interface(),
                                                                     current->deviceRef());
    if (current->interface())
        m_uvcInterface = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(current->interface());
}

void QOVAOrbrinDevice::deviceFirmwareUpdategrade_DFU(const QString &path, QOVAProgressBlock progress,
                                                     QOVASuccessBlock success,
                                                     QOVAUpgradeFailedBlock failed,
                                                     QOVAUpgradeStatusBlock status)
{
    QOVA_LOG(INFO, HID, "QOVAOrbrinDevice DeviceFirmwareUodateGrade");
    QOVAUpgradeManager::sharedUpgradeManager()->upgradeDevice(model(), path, std::move(progress),
                                                              std::move(success), std::move(failed),
                                                              std::move(status));
}

bool QOVAOrbrinDevice::implementsRequest_HID(QOVARequest request) const
{
    return QOVARequestCatalogue::row(request).families & QOVAFamilyOrbrin;
}

void QOVAOrbrinDevice::sendRequest_HID(QOVARequest request, const QOVARequestArguments &arguments,
                                       const QOVARequestBlocks &blocks)
{
    switch (request) {
    case QOVARequest::BluetoothSet:
        QOVA_LOG(INFO, HID, "QOVAHIDProtocol for setUSBDeviceBloothName");
        break;
    case QOVARequest::BluetoothPair:
        QOVA_LOG(INFO, HID, "QOVAHIDProtocol for setUSBDeviceBluetoothAutopairEnable_HID");
        break;
    case QOVARequest::WifiEnable:
        QOVA_LOG(INFO, HID, "QOVAHIDProtocol for setUSBDeviceWifiEnable");
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

void QOVAOrbrinDevice::getInformationFromUSBDevice_HID(const QString &className, const QJsonObject &head,
                                                       QOVACompletionBlock success,
                                                       QOVAFailureBlock failure)
{
    if (m_hidInterface)
        m_hidInterface->getInformationFromUSBDevice(className, head, std::move(success), std::move(failure));
}

void QOVAOrbrinDevice::putInformationToUSBDevice_HID(const QJsonObject &head, const QJsonObject &body,
                                                     QOVASuccessBlock success, QOVAFailureBlock failure)
{
    if (m_hidInterface)
        m_hidInterface->putInformationToUSBDevice(head, body, std::move(success), std::move(failure));
}

bool QOVAOrbrinDevice::implementsUVC(Operation operation) const
{
    return operation != Operation::SetPanTiltAbsWithMultiple;
}

void QOVAOrbrinDevice::setZoomAbs_UVC(bool zoomIn, QOVASuccessBlock success, QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setZoomAbs(zoomIn, std::move(success), std::move(failure));
}

void QOVAOrbrinDevice::setZoomAbs_UVC(bool zoomIn, qint64 multiple, QOVASuccessBlock success,
                                      QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setZoomAbs(zoomIn, multiple, std::move(success), std::move(failure));
}

void QOVAOrbrinDevice::setPanTiltAbs_UVC(bool pan, bool direct, QOVASuccessBlock success,
                                         QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setPanTiltAbs(pan, direct, std::move(success), std::move(failure));
}

void QOVAOrbrinDevice::getCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model,
                                                         QOVASuccessBlock success,
                                                         QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->getCameraSettingDataWithModel(model, std::move(success), std::move(failure));
}

void QOVAOrbrinDevice::setCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model,
                                                         bool isReset, QOVASuccessBlock success,
                                                         QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setCameraSettingDataWithModel(model, isReset, std::move(success),
                                                      std::move(failure));
}

void QOVAOrbrinDevice::updateUVCControls_UVC()
{
    if (m_uvcInterface)
        m_uvcInterface->updateUVCControls();
}
