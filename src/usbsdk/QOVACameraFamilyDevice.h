#pragma once
// Common part of the camera families: the device object owns an HID channel
// and a UVC channel (a family fills them in when it has them), hands firmware
// updates to the upgrade manager and forwards camera controls to the UVC
// channel. Without a UVC channel a camera control does nothing and calls no
// callback.

#include "QOVABaseUSBDevice.h"
#include "QOVADFUProtocol.h"
#include "QOVAUSBDeviceHIDInterface.h"
#include "QOVAUSBDeviceUVCInterface.h"
#include "QOVAUVCProtocol.h"

class QOVACameraFamilyDevice : public QOVABaseUSBDevice,
                               public QOVADFUProtocol,
                               public QOVAUVCProtocol {
public:
    ~QOVACameraFamilyDevice() override;

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
    // Does nothing for a family without the pan/tilt multiple.
    void setPanTiltAbs_UVC(bool pan, bool direct, double multiple, QOVASuccessBlock success,
                           QOVAFailureBlock failure) override;
    void getCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model,
                                           QOVASuccessBlock success, QOVAFailureBlock failure) override;
    void setCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model, bool isReset,
                                           QOVASuccessBlock success, QOVAFailureBlock failure) override;
    void updateUVCControls_UVC() override;

protected:
    // panTiltWithMultiple: whether the family's camera turns by a multiple.
    QOVACameraFamilyDevice(QOVADeviceModelRef model, bool panTiltWithMultiple);

    // Opens the HID channel (when the model has an HID device) and the UVC
    // channel (when it has a USB interface).
    void setUpUSBDeviceInterface();
    void releaseHIDInterface() { m_hidInterface.reset(); }
    const QOVAUSBDeviceHIDInterfaceRef &hidChannel() const { return m_hidInterface; }

private:
    const bool m_panTiltWithMultiple;
    QOVAUSBDeviceHIDInterfaceRef m_hidInterface;
    QOVAUSBDeviceUVCInterfaceRef m_uvcInterface;
};
