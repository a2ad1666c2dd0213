#include "QOVASkarnfelDevice.h"

#include <QDebug>

QOVASkarnfelDevice::QOVASkarnfelDevice(QOVADeviceModelRef model) : QOVABaseUSBDevice(std::move(model))
{
    setDeviceSubClassDelegate();
    qInfo().noquote() << "Init the Device for QOVASkarnfelDevice";
}

QOVASkarnfelDevice::~QOVASkarnfelDevice() = default;

void QOVASkarnfelDevice::deviceFirmwareUpdategrade_DFU(const QString &path, QOVAProgressBlock progress,
                                                       QOVASuccessBlock success,
                                                       QOVAUpgradeFailedBlock failed,
                                                       QOVAUpgradeStatusBlock status)
{
    QOVAUpgradeManager::sharedUpgradeManager()->upgradeDevice(model(), path, std::move(progress),
                                                              std::move(success), std::move(failed),
                                                              std::move(status));
}

bool QOVASkarnfelDevice::implementsUVC(Operation operation) const
{
    return operation != Operation::SetPanTiltAbsWithMultiple;
}

// The camera operations forward to the UVC channel, which this family never
// creates.

void QOVASkarnfelDevice::setZoomAbs_UVC(bool zoomIn, QOVASuccessBlock success, QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setZoomAbs(zoomIn, std::move(success), std::move(failure));
}

void QOVASkarnfelDevice::setZoomAbs_UVC(bool zoomIn, qint64 multiple, QOVASuccessBlock success,
                                        QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setZoomAbs(zoomIn, multiple, std::move(success), std::move(failure));
}

void QOVASkarnfelDevice::setPanTiltAbs_UVC(bool pan, bool direct, QOVASuccessBlock success,
                                           QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setPanTiltAbs(pan, direct, std::move(success), std::move(failure));
}

void QOVASkarnfelDevice::getCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model,
                                                           QOVASuccessBlock success,
                                                           QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->getCameraSettingDataWithModel(model, std::move(success), std::move(failure));
}

void QOVASkarnfelDevice::setCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model,
                                                           bool isReset, QOVASuccessBlock success,
                                                           QOVAFailureBlock failure)
{
    if (m_uvcInterface)
        m_uvcInterface->setCameraSettingDataWithModel(model, isReset, std::move(success),
                                                      std::move(failure));
}

void QOVASkarnfelDevice::updateUVCControls_UVC()
{
    if (m_uvcInterface)
        m_uvcInterface->updateUVCControls();
}
