#pragma once
// Device object of the small camera family (run 0x5C01, DFU 0x5C02). Its
// only working operation is the firmware update: it has no HID channel, and
// its camera controls go to a UVC channel that is never created, so they do
// nothing and call no callback.

#include "QOVABaseUSBDevice.h"
#include "QOVADFUProtocol.h"
#include "QOVAUSBDeviceHIDInterface.h"
#include "QOVAUSBDeviceUVCInterface.h"
#include "QOVAUVCProtocol.h"

class QOVASkarnfelDevice : public QOVABaseUSBDevice, public QOVADFUProtocol, public QOVAUVCProtocol {
public:
    explicit QOVASkarnfelDevice(QOVADeviceModelRef model);
    ~QOVASkarnfelDevice() override;

    // Both stay empty for the object's whole life.
    QOVAUSBDeviceHIDInterfaceRef hidInterface() const { return m_hidInterface; }
    QOVAUSBDeviceUVCInterfaceRef uvcInterface() const { return m_uvcInterface; }

    // QOVADFUProtocol
    void deviceFirmwareUpdategrade_DFU(const QString &path, QOVAProgressBlock progress,
                                       QOVASuccessBlock success, QOVAUpgradeFailedBlock failed,
                                       QOVAUpgradeStatusBlock status) override;

    // QOVAUVCProtocol
    bool implementsUVC(Operation operation) const override;
    void setZoomAbs_UVC(bool zoomIn, QOVASuccessBlock success, QOVAFailureBlock failure) override;
    void setZoomAbs_UVC(bool zoomIn, qint64 multiple, QOVASuccessBlock success,
                        QOVAFailureBlock failure) override;
    void setPanTiltAbs_UVC(bool pan, bool direct, QOVASuccessBlock success,
                           QOVAFailureBlock failure) override;
    using QOVAUVCProtocol::setPanTiltAbs_UVC;
    void getCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model,
                                           QOVASuccessBlock success, QOVAFailureBlock failure) override;
    void setCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model, bool isReset,
                                           QOVASuccessBlock success, QOVAFailureBlock failure) override;
    void updateUVCControls_UVC() override;

private:
    QOVAUSBDeviceHIDInterfaceRef m_hidInterface;
    QOVAUSBDeviceUVCInterfaceRef m_uvcInterface;
};
