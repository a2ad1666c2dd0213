#pragma once
// Base of every device object. It holds the device's model and offers one
// asynchronous operation per device request. Each operation is forwarded to
// the family through one of three protocol slots (HID requests, UVC camera
// controls, DFU firmware update); an operation the family does not have sends
// nothing and calls no callback. Device information (12), network status (39)
// and network settings (40) are built here for any family with an HID channel.
//
// Operations return at once; results reach the callbacks only. GET requests
// hand their success callback the payload model (or the raw bytes); PUTs hand
// theirs "Success!". Failures receive a reason text.

#include "QOVACallbacks.h"
#include "QOVACameraSettingModel.h"
#include "QOVADeviceModel.h"
#include "QOVAUpgradeManager.h"
#include "catalogue/QOVARequestCatalogue.h"

#include <QJsonObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class QOVADFUProtocol;
class QOVAHIDProtocol;
class QOVAUVCProtocol;

class QOVABaseUSBDevice {
public:
    explicit QOVABaseUSBDevice(QOVADeviceModelRef model);
    virtual ~QOVABaseUSBDevice();

    QOVABaseUSBDevice(const QOVABaseUSBDevice &) = delete;
    QOVABaseUSBDevice &operator=(const QOVABaseUSBDevice &) = delete;

    QOVADeviceModelRef model() const;
    // The device manager puts the DFU-mode model in place when the same device
    // comes back in DFU mode.
    void setModel(QOVADeviceModelRef model);

    // --- firmware ---
    void upgradeDeviceFirmware(const QString &path, QOVAProgressBlock progress,
                               QOVASuccessBlock success, QOVAUpgradeFailedBlock failed,
                               QOVAUpgradeStatusBlock status);

    // --- general, Bluetooth, Wi-Fi ---
    void getUSBDeviceGeneralInformationWithBlock(QOVACompletionBlock success, QOVAFailureBlock failure);
    void setUSBDeviceGeneralInformationWithBlock(const QString &deviceName, const QString &countryRegion,
                                                 const QString &ntpMode, const QString &ntpServer,
                                                 bool cameraVividMode, QOVASuccessBlock success,
                                                 QOVAFailureBlock failure);
    void setUSBDeviceGeneralInformationWithBlock(const QString &deviceName, const QString &countryRegion,
                                                 const QString &ntpMode, const QString &ntpServer,
                                                 QOVASuccessBlock success, QOVAFailureBlock failure);
    void getUSBDeviceDeviceInformationWithBlock(QOVACompletionBlock success, QOVAFailureBlock failure);
    void getUSBBloothInformationwithBlock(QOVACompletionBlock success, QOVAFailureBlock failure);
    void setUSBDeviceBloothEnable(bool enable, bool autoPairEnable, bool bleEnable,
                                  QOVASuccessBlock success, QOVAFailureBlock failure);
    void setUSBDeviceBlueAutoPair(QOVASuccessBlock success, QOVAFailureBlock failure);
    void setUSBDeviceWifiEnable(bool enable, QOVASuccessBlock success, QOVAFailureBlock failure);
    void getUSBWifiStatusWithBlock(QOVACompletionBlock success, QOVAFailureBlock failure);
    void getUSBWifiInformationListWithBlock(QOVACompletionBlock success, QOVAFailureBlock failure);
    void getUSBWifiConnetcedWithBlock(QOVACompletionBlock success, QOVAFailureBlock failure);
    // wifiParams: the Wi-Fi join dictionary.
    void connectDeviceSpecficWifi(const QJsonObject &wifiParams, QOVASuccessBlock success,
                                  QOVAFailureBlock failure);
    // params: {"ssid": the saved network to forget}.
    void disconnectDeviceSpecficWifi(const QJsonObject &params, QOVASuccessBlock success,
                                     QOVAFailureBlock failure);
    void setDeviceWifiSecurityType(const QJsonObject &wifiParams, QOVASuccessBlock success,
                                   QOVAFailureBlock failure);

    // --- files and logs ---
    void getUSBDeviceConfigFile(QOVACompletionBlock success, QOVAFailureBlock failure);
    void setUSBDeviceConfigFileWithFilePath(const QString &filePath, QOVASuccessBlock success,
                                            QOVAFailureBlock failure);
    void getUSBDeviceLog(QOVACompletionBlock success, QOVAFailureBlock failure);
    void getUSBDeviceCoredumpLog(QOVACompletionBlock success, QOVAFailureBlock failure);
    // serialNumber is not used by the request.
    void usbUSBRemoteControlUpdate(const QString &serialNumber, const QString &filePath,
                                   QOVAProgressBlock progress, QOVASuccessBlock success,
                                   QOVAFailureBlock failed);

    // --- provisioning, maintenance, administration ---
    void setUSBDeviceProvisionInformation(const QString &serverUrl, const QString &name,
                                          const QString &password, const QString &mode,
                                          const QString &type, QOVASuccessBlock success,
                                          QOVAFailureBlock failure);
    void getUSBDeviceProvisionServerInformation(QOVACompletionBlock success, QOVAFailureBlock failure);
    // option: a number or a text of digits, sent as a 32-bit integer.
    void setUSBDeviceDhcpOption(const QVariant &option, QOVASuccessBlock success,
                                QOVAFailureBlock failure);
    // action: "restart" or "reset".
    void sendUSBDeviceOpsCmd(const QString &action, QOVASuccessBlock success, QOVAFailureBlock failure);
    void loginUSBDeviceAdmin(const QString &password, QOVASuccessBlock success, QOVAFailureBlock failure);
    void modifyAdminPassword(const QString &oldPassword, const QString &newPassword,
                             QOVASuccessBlock success, QOVAFailureBlock failure);
    void setSimpePasswordWithStatus(bool enable, QOVASuccessBlock success, QOVAFailureBlock failure);
    void getSimplePasswordStatus(QOVACompletionBlock success, QOVAFailureBlock failure);
    void getUSBDevicePasswordEnableModel(QOVACompletionBlock success, QOVAFailureBlock failure);
    void getUSBDeviceOob(QOVACompletionBlock success, QOVAFailureBlock failure);
    void cancelUSBRequset(QOVACompletionBlock success, QOVAFailureBlock failure);
    // time: local wall-clock milliseconds since 1970; timeZone: its abbreviation.
    void syncDesktopTimeToOrbrin(qint64 time, const QString &timeZone, QOVASuccessBlock success,
                                 QOVAFailureBlock failure);

    // --- audio ---
    void setUSBAudioSetting(bool noiseBlocker, bool acousticBeam, bool stereo, bool bass,
                            QOVASuccessBlock success, QOVAFailureBlock failure);
    void setUSBAudioOrbrinSetting(bool noiseBlocker, const QString &acousticBeam, bool stereo,
                                  bool bass, QOVASuccessBlock success, QOVAFailureBlock failure);
    void getUSBAudioSetting(QOVACompletionBlock success, QOVAFailureBlock failure);
    void getUSBAudioOrbrinSetting(QOVACompletionBlock success, QOVAFailureBlock failure);
    // start true starts the recording, false stops it; notification runs when
    // the reply arrives.
    void requestUSBDiagnosticRecord(bool start, QOVAVoidBlock notification,
                                    QOVACompletionBlock success, QOVAFailureBlock failure);
    void setUSBDeviceIntergratedMicrophones(bool enable, QOVASuccessBlock success,
                                            QOVAFailureBlock failure);
    void setUSBDeviceSetAudioStereo(bool stereo, QOVASuccessBlock success, QOVAFailureBlock failure);
    void getUSBDeviceAudioStereo(QOVACompletionBlock success, QOVAFailureBlock failure);

    // --- camera requests over HID ---
    void getUSBConversationMode(QOVACompletionBlock success, QOVAFailureBlock failure);
    void setUSBConversationMode(bool enable, QOVASuccessBlock success, QOVAFailureBlock failure);
    void getUSBLectureMode(QOVACompletionBlock success, QOVAFailureBlock failure);
    void setUSBLectureMode(bool enable, QOVASuccessBlock success, QOVAFailureBlock failure);
    void getUSBDeviceTrackingFrame(QOVACompletionBlock success, QOVAFailureBlock failure);
    // zoomLevel: "2", "3" or "4".
    void setUSBDeviceTrackingFrame(const QString &zoomLevel, QOVASuccessBlock success,
                                   QOVAFailureBlock failure);
    void setUSBDeviceSmoothTracking(bool enable, QOVASuccessBlock success, QOVAFailureBlock failure);
    void getUSBDeviceSmoothTracking(QOVACompletionBlock success, QOVAFailureBlock failure);
    // action: "save" or "restore".
    void setUSBDeviceCameraPreset(quint64 preset, const QString &action, QOVASuccessBlock success,
                                  QOVAFailureBlock failure);
    // trackingSpeed: "Slow", "Normal", "Fast"; framingSize: "Tight", "Medium", "Wide".
    void setUSBDeviceAutoTracking(bool groupFraming, bool talkerTracking, const QString &trackingSpeed,
                                  const QString &framingSize, QOVASuccessBlock success,
                                  QOVAFailureBlock failure);
    void getUSBDeviceAutoTracking(QOVACompletionBlock success, QOVAFailureBlock failure);
    void setUSBDeviceOsd(bool enable, QOVASuccessBlock success, QOVAFailureBlock failure);
    void getUSBDeviceOsd(QOVACompletionBlock success, QOVAFailureBlock failure);
    void getUSBDeviceCameraExtensionFeature(QOVACompletionBlock success, QOVAFailureBlock failure);
    void setUSBDeviceCameraExtensionFeature(bool skinEnhancement, bool wdr, bool participantCount,
                                            QOVASuccessBlock success, QOVAFailureBlock failure);

    // --- network ---
    void getUSBNetworkConnectionInformation(QOVACompletionBlock success, QOVAFailureBlock failure);
    // settings: sent unchanged as the body.
    void connectUSBNetwork(const QJsonObject &settings, QOVASuccessBlock success,
                           QOVAFailureBlock failure);
    void enableVaskoNetwork(const QJsonObject &params, QOVASuccessBlock success,
                            QOVAFailureBlock failure);
    void getUSBDeviceMiscellaneousStatus(QOVACompletionBlock success, QOVAFailureBlock failure);
    void setUSBDeviceMiscellaneousStatus(bool powerInjector, bool compatibleMode,
                                         QOVASuccessBlock success, QOVAFailureBlock failure);

    // --- certificates ---
    // csrParams: sent unchanged as the body.
    void setUSBCSRInfoProvision(const QJsonObject &csrParams, QOVASuccessBlock success,
                                QOVAFailureBlock failure);
    void getUSBDeviceCsrProvisionFile(QOVACompletionBlock success, QOVAFailureBlock failure);
    // typeUrl: "wifi_ca_cert", "wifi_client_cert", "provision_server_ca" or "provision_pem".
    void putUSBDeviceCertificateWithFilePath(const QString &filePath, const QString &typeUrl,
                                             QOVASuccessBlock success, QOVAFailureBlock failure);
    void deleteUSBDeviceCaCertificate(const QString &caType, QOVASuccessBlock success,
                                      QOVAFailureBlock failure);
    void getInstalledCertificateinfo(QOVACompletionBlock success, QOVAFailureBlock failure);
    void getValidateCertificateinfo(QOVACompletionBlock success, QOVAFailureBlock failure);
    void getInstalledCertificateDetailInfo(const QString &url, QOVACompletionBlock success,
                                           QOVAFailureBlock failure);
    void setUSBDeviceCertificatePassword(const QString &password, QOVASuccessBlock success,
                                         QOVAFailureBlock failure);
    void setUSBDeviceCertificateServerValidate(bool enable, QOVASuccessBlock success,
                                               QOVAFailureBlock failure);

    // --- camera controls (UVC) ---
    void setZoomAbs(bool zoomIn, QOVASuccessBlock success, QOVAFailureBlock failure);
    // The multiple reaches the camera channel truncated toward zero.
    void setZoomAbs(bool zoomIn, double multiple, QOVASuccessBlock success, QOVAFailureBlock failure);
    void setPanTiltAbs(bool pan, bool direct, QOVASuccessBlock success, QOVAFailureBlock failure);
    void setPanTiltAbs(bool pan, bool direct, double multiple, QOVASuccessBlock success,
                       QOVAFailureBlock failure);
    void getCameraSettingDataWithModel(const QOVACameraSettingModelRef &model,
                                       QOVASuccessBlock success, QOVAFailureBlock failure);
    void setCameraSettingDataWithModel(const QOVACameraSettingModelRef &model, bool isReset,
                                       QOVASuccessBlock success, QOVAFailureBlock failure);
    void updateUVCControls();

protected:
    // Points the three protocol slots at this object for the protocols its
    // class adopts. Family constructors call it first.
    void setDeviceSubClassDelegate();

    QOVADFUProtocol *subConfirmDFUObject() const { return m_subConfirmDFUObject; }
    QOVAHIDProtocol *subProtocolHIDObject() const { return m_subProtocolHIDObject; }
    QOVAUVCProtocol *subProtocolUVCObject() const { return m_subProtocolUVCObject; }

private:
    void forwardHID(QOVARequest request, QOVARequestArguments arguments, QOVARequestBlocks blocks);
    void forwardGet(QOVARequest request, QOVACompletionBlock success, QOVAFailureBlock failure);
    void forwardPut(QOVARequest request, QVariantList values, QOVASuccessBlock success,
                    QOVAFailureBlock failure);

    mutable std::mutex m_modelMutex;
    QOVADeviceModelRef m_model;
    QOVADFUProtocol *m_subConfirmDFUObject = nullptr;
    QOVAHIDProtocol *m_subProtocolHIDObject = nullptr;
    // Callers waiting for a GET already sent, per request. A caller asking
    // while the same GET is awaited joins it instead of sending it again:
    // replies are matched by message id, so a second request in flight would
    // take the first one's reply and leave its own answered as a mismatch.
    // The request channel ends every request in bounded time, so the waiters
    // hear its reply or its failure.
    struct GetWaiter {
        QOVACompletionBlock success;
        QOVAFailureBlock failure;
    };
    using GetWaiters = std::shared_ptr<std::vector<GetWaiter>>;
    using PendingGets = std::map<QOVARequest, GetWaiters>;
    void joinedGet(QOVARequest request, QOVACompletionBlock success, QOVAFailureBlock failure,
                   const std::function<void(QOVACompletionBlock, QOVAFailureBlock)> &send);
    std::shared_ptr<PendingGets> m_pendingGets = std::make_shared<PendingGets>();
    QOVAUVCProtocol *m_subProtocolUVCObject = nullptr;
};

using QOVABaseUSBDeviceRef = std::shared_ptr<QOVABaseUSBDevice>;
