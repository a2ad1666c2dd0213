#include "QOVACameraFamilyDevice.h"

QOVACameraFamilyDevice::QOVACameraFamilyDevice(QOVADeviceModelRef model, bool panTiltWithMultiple)
    : QOVABaseUSBDevice(std::move(model)), m_panTiltWithMultiple(panTiltWithMultiple)
{
}

QOVACameraFamilyDevice::~QOVACameraFamilyDevice() = default;

void QOVACameraFamilyDevice::setUpUSBDeviceInterface()
{
    const QOVADeviceModelRef current = model();
    // Without an HID device there is nothing to send requests to.
    if (current->deviceRef())
        m_hidInterface = std::make_shared<QOVAUSBDeviceHIDInterface>(current->interface(),
                                                                     current->deviceRef());
    if (current->interface())
        m_uvcInterface = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(current->interface());
}

void QOVACameraFamilyDevice::deviceFirmwareUpdategrade_DFU(const QString &path,
                                                           QOVAProgressBlock progress,
                                                           QOVASuccessBlock success,
                                                           QOVAUpgradeFailedBlock failed,
                                                           QOVAUpgradeStatusBlock status)
{
    QOVAUpgradeManager::sharedUpgradeManager()->upgradeDevice(model(), path, std::move(progress),
                                                              std::move(success), std::move(failed),
                                                              std::move(status));
}

bool QOVACameraFamilyDevice::implementsUVC(Operation operation) const
{
    return m_panTiltWithMultiple || operation != Operation::SetPanTiltAbsWithMultiple;
}

void QOVACameraFamilyDevice::setZoomAbs_UVC(bool zoomIn, QOVASuccessBlock success,
                                            QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setZoomAbs(zoomIn, std::move(success), std::move(failure));
}

void QOVACameraFamilyDevice::setZoomAbs_UVC(bool zoomIn, qint64 multiple, QOVASuccessBlock success,
                                            QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setZoomAbs(zoomIn, multiple, std::move(success), std::move(failure));
}

void QOVACameraFamilyDevice::setPanTiltAbs_UVC(bool pan, bool direct, QOVASuccessBlock success,
                                               QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setPanTiltAbs(pan, direct, std::move(success), std::move(failure));
}

void QOVACameraFamilyDevice::setPanTiltAbs_UVC(bool pan, bool direct, double multiple,
                                               QOVASuccessBlock success, QOVAFailureBlock failure)
{
    if (!m_panTiltWithMultiple) {
        QOVAUVCProtocol::setPanTiltAbs_UVC(pan, direct, multiple, std::move(success),
                                           std::move(failure));
        return;
    }
    if (m_uvcInterface)
        m_uvcInterface->setPanTiltAbs(pan, direct, multiple, std::move(success), std::move(failure));
}

void QOVACameraFamilyDevice::getCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model,
                                                               QOVASuccessBlock success,
                                                               QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->getCameraSettingDataWithModel(model, std::move(success), std::move(failure));
}

void QOVACameraFamilyDevice::setCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model,
                                                               bool isReset,
                                                               QOVASuccessBlock success,
                                                               QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setCameraSettingDataWithModel(model, isReset, std::move(success),
                                                      std::move(failure));
}

void QOVACameraFamilyDevice::updateUVCControls_UVC()
{
    if (m_uvcInterface)
        m_uvcInterface->updateUVCControls();
}
