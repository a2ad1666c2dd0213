#pragma once
// Device object of the video-bar family (run 0x6E17, DFU 0x6E18). It owns the
// device's HID and UVC channels (none in DFU mode), builds the family's
// requests of the catalogue, forwards camera controls to the UVC channel and
// firmware updates to the upgrade manager.

#include "QOVABaseUSBDevice.h"
#include "QOVADFUProtocol.h"
#include "QOVAHIDProtocol.h"
#include "QOVAUSBDeviceHIDInterface.h"
#include "QOVAUSBDeviceUVCInterface.h"
#include "QOVAUVCProtocol.h"

class QOVAOrbrinDevice : public QOVABaseUSBDevice,
                         public QOVADFUProtocol,
                         public QOVAHIDProtocol,
                         public QOVAUVCProtocol {
public:
    explicit QOVAOrbrinDevice(QOVADeviceModelRef model);
    ~QOVAOrbrinDevice() override;

    QOVAUSBDeviceHIDInterfaceRef hidInterface() const { return m_hidInterface; }
    QOVAUSBDeviceUVCInterfaceRef uvcInterface() const { return m_uvcInterface; }

    // Presets 1 and 2 exist.
    static bool hasPreset(quint64 preset) { return preset == 1 || preset == 2; }

    // QOVADFUProtocol
    void deviceFirmwareUpdategrade_DFU(const QString &path, QOVAProgressBlock progress,
                                       QOVASuccessBlock success, QOVAUpgradeFailedBlock failed,
                                       QOVAUpgradeStatusBlock status) override;

    // QOVAHIDProtocol
    bool implementsRequest_HID(QOVARequest request) const override;
    void sendRequest_HID(QOVARequest request, const QOVARequestArguments &arguments,
                         const QOVARequestBlocks &blocks) override;
    void getInformationFromUSBDevice_HID(const QString &className, const QJsonObject &head,
                                         QOVACompletionBlock success, QOVAFailureBlock failure) override;
    void putInformationToUSBDevice_HID(const QJsonObject &head, const QJsonObject &body,
                                       QOVASuccessBlock success, QOVAFailureBlock failure) override;

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
    void setUpUSBDeviceInterface();

    QOVAUSBDeviceHIDInterfaceRef m_hidInterface;
    QOVAUSBDeviceUVCInterfaceRef m_uvcInterface;
};
