#pragma once
// The request operations of QOVAIOManager, one row each:
//
//   X(rule, operation, "selector", (parameters), serial, device operation, (arguments))
//
// rule       Stops: a missing or empty serial number stops the request before
//            the lookup; Lookup: the lookup always runs. The *Quiet variants
//            write no log line naming the operation.
// operation  the manager's method; selector is its name in log lines.
// serial     the parameter holding the device's serial number.
// device operation, arguments: what the device object is sent when the
//            lookup finds it; every block is passed on unchanged.
//
// The manager's declarations and definitions are both generated from this
// list (QOVAIOManager.h, QOVAIOManager.cpp).

#include "QOVACallbacks.h"
#include "QOVACameraSettingModel.h"

#include <QString>
#include <QJsonObject>
#include <QVariant>

#include <cstdint>

#define QOVA_IOMANAGER_REQUESTS(X)                                                                 \
    X(Stops, usbRemoteControlUpdate, "usbRemoteControlUpdate:andFilePath:progress:success:failed:", \
      (const QString &serialNumber, const QString &filePath, QOVAProgressBlock progress,          \
       QOVASuccessBlock success, QOVAFailureBlock failed),                                         \
      serialNumber, usbUSBRemoteControlUpdate, (serialNumber, filePath, progress, success, failed)) \
    X(Stops, setDeviceBloothEnable,                                                                 \
      "setDeviceBloothEnable:withAutoPairEnable:withBleEnable:withDeviceSerialNumber:"             \
      "withSuccessBlock:withFailureBlock:",                                                        \
      (bool enable, bool autoPairEnable, bool bleEnable, const QString &serialNumber,              \
       QOVASuccessBlock success, QOVAFailureBlock failure),                                        \
      serialNumber, setUSBDeviceBloothEnable,                                                      \
      (enable, autoPairEnable, bleEnable, success, failure))                                       \
    X(Stops, getOrbrinBloothInformation,                                                           \
      "getOrbrinBloothInformation:withBloothInformationBlock:withFailedBlock:",                    \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failed),           \
      serialNumber, getUSBBloothInformationwithBlock, (block, failed))                             \
    X(Stops, setOrbrinBluetoothAutoPairEnable,                                                     \
      "setOrbrinBluetoothAutoPairEnable:withSuccessBlock:withFailureBlock:",                       \
      (const QString &serialNumber, QOVASuccessBlock success, QOVAFailureBlock failure),           \
      serialNumber, setUSBDeviceBlueAutoPair, (success, failure))                                  \
    X(Stops, getDeviceInformation,                                                                 \
      "getDeviceInformation:withDeviceInformationBlock:withFailedBlock:",                          \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failed),           \
      serialNumber, getUSBDeviceDeviceInformationWithBlock, (block, failed))                       \
    X(Stops, setDeviceWifiEnable,                                                                  \
      "setDeviceWifiEnable:withDeviceSerialNumber:withSuccessBlock:withFailureBlock:",             \
      (bool enable, const QString &serialNumber, QOVASuccessBlock success,                         \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBDeviceWifiEnable, (enable, success, failure))                            \
    X(Stops, getOrbrinWifiInformationList,                                                         \
      "getOrbrinWifiInformationList:withWifiInformationListBlock:withFailedBlock:",                \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failed),           \
      serialNumber, getUSBWifiInformationListWithBlock, (block, failed))                           \
    X(Stops, getOrbrinWifiStatus, "getOrbrinWifiStatus:withWifiStatusBlock:withFailedBlock:",      \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failed),           \
      serialNumber, getUSBWifiStatusWithBlock, (block, failed))                                    \
    X(Stops, getOrbrinWifiConnectedList,                                                           \
      "getOrbrinWifiConnectedList:withWifiConnectedListBlock:withFailedBlock:",                    \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failed),           \
      serialNumber, getUSBWifiConnetcedWithBlock, (block, failed))                                 \
    X(Stops, getOrbrinDeviceGeneralInformation,                                                    \
      "getOrbrinDeviceGeneralInformation:withGeneralInformationBlock:withFailedBlock:",            \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failed),           \
      serialNumber, getUSBDeviceGeneralInformationWithBlock, (block, failed))                      \
    X(Stops, setOrbrinDeviceGeneralInformation,                                                    \
      "setOrbrinDeviceGeneralInformation:withDeviceName:withCountryRegion:withNtpMode:"            \
      "withNtpServer:withCameraVividMode:withSuccessBlock:withFailureBlock:",                      \
      (const QString &serialNumber, const QString &deviceName, const QString &countryRegion,       \
       const QString &ntpMode, const QString &ntpServer, bool cameraVividMode,                     \
       QOVASuccessBlock success, QOVAFailureBlock failure),                                        \
      serialNumber, setUSBDeviceGeneralInformationWithBlock,                                       \
      (deviceName, countryRegion, ntpMode, ntpServer, cameraVividMode, success, failure))          \
    X(Stops, setOrbrinDeviceGeneralInformation,                                                    \
      "setOrbrinDeviceGeneralInformation:withDeviceName:withCountryRegion:withNtpMode:"            \
      "withNtpServer:withSuccessBlock:withFailureBlock:",                                          \
      (const QString &serialNumber, const QString &deviceName, const QString &countryRegion,       \
       const QString &ntpMode, const QString &ntpServer, QOVASuccessBlock success,                 \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBDeviceGeneralInformationWithBlock,                                       \
      (deviceName, countryRegion, ntpMode, ntpServer, success, failure))                           \
    X(Stops, connectDeviceSpecficWifi,                                                             \
      "connectDeviceSpecficWifi:withDeviceSerialNumber:withSuccessBlock:withFailureBlock:",        \
      (const QJsonObject &wifi, const QString &serialNumber, QOVASuccessBlock success,             \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, connectDeviceSpecficWifi, (wifi, success, failure))                            \
    X(Stops, disconnectDeviceSpecficWifi,                                                          \
      "disconnectDeviceSpecficWifi:withDeviceSerialNumber:withSuccessBlock:withFailureBlock:",     \
      (const QJsonObject &wifi, const QString &serialNumber, QOVASuccessBlock success,             \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, disconnectDeviceSpecficWifi, (wifi, success, failure))                         \
    X(Stops, setDeviceWifiSecurityType,                                                            \
      "setDeviceWifiSecurityType:withDeviceSerialNumber:withSuccessBlock:withFailureBlock:",       \
      (const QJsonObject &security, const QString &serialNumber, QOVASuccessBlock success,         \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setDeviceWifiSecurityType, (security, success, failure))                       \
    X(Stops, getDeviceConfigFile, "getDeviceConfigFile:withSuccessBlock:withFailureBlock:",        \
      (const QString &serialNumber, QOVACompletionBlock success, QOVAFailureBlock failure),        \
      serialNumber, getUSBDeviceConfigFile, (success, failure))                                    \
    X(Stops, getDeviceLog, "getDeviceLog:withSuccessBlock:withFailureBlock:",                      \
      (const QString &serialNumber, QOVACompletionBlock success, QOVAFailureBlock failure),        \
      serialNumber, getUSBDeviceLog, (success, failure))                                           \
    X(Stops, getDeviceCoredumpLog, "getDeviceCoredumpLog:withSuccessBlock:withFailureBlock:",      \
      (const QString &serialNumber, QOVACompletionBlock success, QOVAFailureBlock failure),        \
      serialNumber, getUSBDeviceCoredumpLog, (success, failure))                                   \
    X(Stops, setUSBDeviceConfigFile,                                                               \
      "setUSBDeviceConfigFile:withFilePath:withSuccessBlock:withFailureBlock:",                    \
      (const QString &serialNumber, const QString &filePath, QOVASuccessBlock success,             \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBDeviceConfigFileWithFilePath, (filePath, success, failure))              \
    X(Stops, setUSBDeviceProvisionInformation,                                                     \
      "setUSBDeviceProvisionInformation:withProvisionURL:withName:withPassWord:withMode:"          \
      "withType:withSuccessBlock:withFailedBlock:",                                                \
      (const QString &serialNumber, const QString &provisionURL, const QString &name,              \
       const QString &passWord, const QString &mode, const QString &type,                          \
       QOVASuccessBlock success, QOVAFailureBlock failed),                                         \
      serialNumber, setUSBDeviceProvisionInformation,                                              \
      (provisionURL, name, passWord, mode, type, success, failed))                                 \
    X(Stops, getOrbrinProvisionServerInformation,                                                  \
      "getOrbrinProvisionServerInformation:withSuccessBlock:withFailedBlock:",                     \
      (const QString &serialNumber, QOVACompletionBlock success, QOVAFailureBlock failed),         \
      serialNumber, getUSBDeviceProvisionServerInformation, (success, failed))                     \
    X(Stops, setUSBDeviceDhcpOption, "setUSBDeviceDhcpOption:option:withSuccessBlock:withFailureBlock:", \
      (const QString &serialNumber, const QVariant &option, QOVASuccessBlock success,               \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBDeviceDhcpOption, (option, success, failure))                            \
    X(StopsQuiet, sendUSBDeviceOpsCmd,                                                             \
      "sendUSBDeviceOpsCmd:withAction:withSuccessBlock:withFailureBlock:",                         \
      (const QString &serialNumber, const QString &action, QOVASuccessBlock success,               \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, sendUSBDeviceOpsCmd, (action, success, failure))                               \
    X(Stops, loginDeviceUsingPassword,                                                             \
      "loginDeviceUsingPassword:withDeviceSerialNumer:withSuccessBlock:withFailureBlock:",         \
      (const QString &password, const QString &serialNumber, QOVASuccessBlock success,             \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, loginUSBDeviceAdmin, (password, success, failure))                             \
    X(Stops, modifyAdminPassword,                                                                  \
      "modifyAdminPassword:oldPassword:newPassword:withSuccessBlock:withFailureBlock:",            \
      (const QString &serialNumber, const QString &oldPassword, const QString &newPassword,        \
       QOVASuccessBlock success, QOVAFailureBlock failure),                                        \
      serialNumber, modifyAdminPassword, (oldPassword, newPassword, success, failure))             \
    X(Stops, setOrbrinSimpePasswordWithStatus,                                                     \
      "setOrbrinSimpePasswordWithStatus:withSimplePasswordEnabled:withSuccessBlock:"               \
      "withFailureBlock:",                                                                         \
      (const QString &serialNumber, bool simplePasswordEnabled, QOVASuccessBlock success,          \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setSimpePasswordWithStatus, (simplePasswordEnabled, success, failure))         \
    X(Stops, getOrbrinSimplePasswordStatus,                                                        \
      "getOrbrinSimplePasswordStatus:withSuccessBlock:withFailedBlock:",                           \
      (const QString &serialNumber, QOVACompletionBlock success, QOVAFailureBlock failed),         \
      serialNumber, getSimplePasswordStatus, (success, failed))                                    \
    X(Stops, getOrbrinPasswordEnableModel,                                                         \
      "getOrbrinPasswordEnableModel:withSuccessBlock:withFailedBlock:",                            \
      (const QString &serialNumber, QOVACompletionBlock success, QOVAFailureBlock failed),         \
      serialNumber, getUSBDevicePasswordEnableModel, (success, failed))                            \
    X(Stops, setUSBAudioSetting,                                                                   \
      "setUSBAudioSetting:noiseBlocker:acousticBeam:stereo:bass:withSuccessBlock:"                 \
      "withFailureBlock:",                                                                         \
      (const QString &serialNumber, bool noiseBlocker, bool acousticBeam, bool stereo, bool bass,  \
       QOVASuccessBlock success, QOVAFailureBlock failure),                                        \
      serialNumber, setUSBAudioSetting, (noiseBlocker, acousticBeam, stereo, bass, success, failure)) \
    X(Stops, setUSBAudioOrbrinSetting,                                                             \
      "setUSBAudioOrbrinSetting:noiseBlocker:acousticBeam:stereo:bass:withSuccessBlock:"           \
      "withFailureBlock:",                                                                         \
      (const QString &serialNumber, bool noiseBlocker, const QString &acousticBeam, bool stereo,   \
       bool bass, QOVASuccessBlock success, QOVAFailureBlock failure),                             \
      serialNumber, setUSBAudioOrbrinSetting,                                                      \
      (noiseBlocker, acousticBeam, stereo, bass, success, failure))                                \
    X(Stops, getUSBAudioSetting, "getUSBAudioSetting:withAudioSettingModel:withFailedBlock:",      \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failed),           \
      serialNumber, getUSBAudioSetting, (block, failed))                                           \
    X(Stops, getUSBAudioOrbrinSetting,                                                             \
      "getUSBAudioOrbrinSetting:withAudioSettingModel:withFailedBlock:",                           \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failed),           \
      serialNumber, getUSBAudioOrbrinSetting, (block, failed))                                     \
    X(Stops, requestOrbrinAudioDiagnosticRecord,                                                   \
      "requestOrbrinAudioDiagnosticRecord:startOrStop:withNotificationBlock:withSuccessBlock:"     \
      "withFailureBlock:",                                                                         \
      (const QString &serialNumber, bool startOrStop, QOVAVoidBlock notification,                  \
       QOVACompletionBlock success, QOVAFailureBlock failure),                                     \
      serialNumber, requestUSBDiagnosticRecord, (startOrStop, notification, success, failure))     \
    X(Stops, setCameraPreset, "setCameraPreset:withIndex:withAction:withSuccessBlock:withFailureBlock:", \
      (const QString &serialNumber, quint64 index, const QString &action,                          \
       QOVASuccessBlock success, QOVAFailureBlock failure),                                        \
      serialNumber, setUSBDeviceCameraPreset, (index, action, success, failure))                   \
    X(Stops, setAutoTracking,                                                                      \
      "setAutoTracking:groupFraming:talkerTracking:trackingSpeed:framingSize:withSuccessBlock:"    \
      "withFailureBlock:",                                                                         \
      (const QString &serialNumber, bool groupFraming, bool talkerTracking,                        \
       const QString &trackingSpeed, const QString &framingSize, QOVASuccessBlock success,         \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBDeviceAutoTracking,                                                      \
      (groupFraming, talkerTracking, trackingSpeed, framingSize, success, failure))                \
    X(Stops, getAutoTracking, "getAutoTracking:withAutoTrackingModel:withFailureBlock:",           \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failure),          \
      serialNumber, getUSBDeviceAutoTracking, (block, failure))                                    \
    X(Stops, getOrbrinConversationMode,                                                            \
      "getOrbrinConversationMode:withSuccessBlock:withFailureBlock:",                              \
      (const QString &serialNumber, QOVACompletionBlock success, QOVAFailureBlock failure),        \
      serialNumber, getUSBConversationMode, (success, failure))                                    \
    X(Stops, setOrbrinConversationMode,                                                            \
      "setOrbrinConversationMode:withDeviceSerialNumber:withSuccessBlock:withFailureBlock:",       \
      (bool enable, const QString &serialNumber, QOVASuccessBlock success,                         \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBConversationMode, (enable, success, failure))                            \
    X(Stops, getOrbrinLectureMode, "getOrbrinLectureMode:withSuccessBlock:withFailureBlock:",      \
      (const QString &serialNumber, QOVACompletionBlock success, QOVAFailureBlock failure),        \
      serialNumber, getUSBLectureMode, (success, failure))                                         \
    X(Stops, setOrbrinLectureMode,                                                                 \
      "setOrbrinLectureMode:withDeviceSerialNumber:withSuccessBlock:withFailureBlock:",            \
      (bool enable, const QString &serialNumber, QOVASuccessBlock success,                         \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBLectureMode, (enable, success, failure))                                 \
    X(Stops, getNumberTrackingFrame, "getNumberTrackingFrame:withSuccessBlock:withFailureBlock:",  \
      (const QString &serialNumber, QOVACompletionBlock success, QOVAFailureBlock failure),        \
      serialNumber, getUSBDeviceTrackingFrame, (success, failure))                                 \
    X(Stops, setNumberTrackingFrame,                                                               \
      "setNumberTrackingFrame:numTrackingFrame:withSuccessBlock:withFailureBlock:",                \
      (const QString &serialNumber, const QString &numTrackingFrame, QOVASuccessBlock success,     \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBDeviceTrackingFrame, (numTrackingFrame, success, failure))               \
    X(Stops, getSmoothTracking, "getSmoothTracking:withSuccessBlock:withFailureBlock:",            \
      (const QString &serialNumber, QOVACompletionBlock success, QOVAFailureBlock failure),        \
      serialNumber, getUSBDeviceSmoothTracking, (success, failure))                                \
    X(Stops, setSmoothTracking, "setSmoothTracking:enable:withSuccessBlock:withFailureBlock:",     \
      (const QString &serialNumber, bool enable, QOVASuccessBlock success,                         \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBDeviceSmoothTracking, (enable, success, failure))                        \
    X(Stops, setOrbrinDeviceOsd, "setOrbrinDeviceOsd:osd:withSuccessBlock:withFailureBlock:",      \
      (const QString &serialNumber, bool osd, QOVASuccessBlock success, QOVAFailureBlock failure), \
      serialNumber, setUSBDeviceOsd, (osd, success, failure))                                      \
    X(Stops, getUSBDeviceOsd, "getUSBDeviceOsd:withOsdModel:withFailureBlock:",                    \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failure),          \
      serialNumber, getUSBDeviceOsd, (block, failure))                                             \
    X(Stops, getUSBDeviceOob, "getUSBDeviceOob:withOobModel:withFailureBlock:",                    \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failure),          \
      serialNumber, getUSBDeviceOob, (block, failure))                                             \
    X(Stops, cancelOrbrinUSBRequset, "cancelOrbrinUSBRequset:withCancelModel:withFailureBlock:",   \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failure),          \
      serialNumber, cancelUSBRequset, (block, failure))                                            \
    X(Stops, syncDesktopTimeToOrbrin,                                                              \
      "syncDesktopTimeToOrbrin:withTimeSeconds:withTimeZone:withSuccessBlock:withFailureBlock:",   \
      (const QString &serialNumber, qint64 timeSeconds, const QString &timeZone,                   \
       QOVASuccessBlock success, QOVAFailureBlock failure),                                        \
      serialNumber, syncDesktopTimeToOrbrin, (timeSeconds, timeZone, success, failure))            \
    X(Stops, getUSBDeviceCameraExtensionFeature,                                                   \
      "getUSBDeviceCameraExtensionFeature:withCameraExtensionModel:withFailureBlock:",             \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failure),          \
      serialNumber, getUSBDeviceCameraExtensionFeature, (block, failure))                          \
    X(Stops, setUSBDeviceCameraExtensionFeature,                                                   \
      "setUSBDeviceCameraExtensionFeature:withSkinEnh:withWdr:withParticipantCount:"               \
      "withSuccessBlock:withFailureBlock:",                                                        \
      (const QString &serialNumber, bool skinEnh, bool wdr, bool participantCount,                 \
       QOVASuccessBlock success, QOVAFailureBlock failure),                                        \
      serialNumber, setUSBDeviceCameraExtensionFeature,                                            \
      (skinEnh, wdr, participantCount, success, failure))                                          \
    X(Stops, setUSBCSRInfoProvision,                                                               \
      "setUSBCSRInfoProvision:csrParamsDiction:withSuccessBlock:withFailureBlock:",                \
      (const QString &serialNumber, const QJsonObject &csrParams, QOVASuccessBlock success,        \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBCSRInfoProvision, (csrParams, success, failure))                         \
    X(Stops, getUSBDeviceCsrProvisionFile,                                                         \
      "getUSBDeviceCsrProvisionFile:withSuccessBlock:withFailureBlock:",                           \
      (const QString &serialNumber, QOVACompletionBlock success, QOVAFailureBlock failure),        \
      serialNumber, getUSBDeviceCsrProvisionFile, (success, failure))                              \
    X(Stops, putUSBDeviceCertificate,                                                              \
      "putUSBDeviceCertificate:withFilePath:withTypeUrl:withSuccessBlock:withFailureBlock:",       \
      (const QString &serialNumber, const QString &filePath, const QString &typeUrl,               \
       QOVASuccessBlock success, QOVAFailureBlock failure),                                        \
      serialNumber, putUSBDeviceCertificateWithFilePath, (filePath, typeUrl, success, failure))    \
    X(Stops, deleteUSBDeviceCaCertificate,                                                         \
      "deleteUSBDeviceCaCertificate:withCaType:withSuccessBlock:withFailureBlock:",                \
      (const QString &serialNumber, const QString &caType, QOVASuccessBlock success,               \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, deleteUSBDeviceCaCertificate, (caType, success, failure))                      \
    X(Stops, getInstalledCertificateinfo,                                                          \
      "getInstalledCertificateinfo:withInstalledCertInfo:withFailureBlock:",                       \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failure),          \
      serialNumber, getInstalledCertificateinfo, (block, failure))                                 \
    X(Stops, getValidateCertificateinfo,                                                           \
      "getValidateCertificateinfo:withValidateCertificateInfo:withFailureBlock:",                  \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failure),          \
      serialNumber, getValidateCertificateinfo, (block, failure))                                  \
    X(Stops, getInstalledCertificateDetailInfo,                                                    \
      "getInstalledCertificateDetailInfo:withUrl:withModelBlock:withFailureBlock:",                \
      (const QString &serialNumber, const QString &url, QOVACompletionBlock block,                 \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, getInstalledCertificateDetailInfo, (url, block, failure))                      \
    X(Stops, setUSBDeviceCertificatePassword,                                                      \
      "setUSBDeviceCertificatePassword:withPassword:withSuccessBlock:withFailureBlock:",           \
      (const QString &serialNumber, const QString &password, QOVASuccessBlock success,             \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBDeviceCertificatePassword, (password, success, failure))                 \
    X(Stops, setUSBDeviceCertificateServerValidate,                                                \
      "setUSBDeviceCertificateServerValidate:withValidEnable:withSuccessBlock:withFailureBlock:",  \
      (const QString &serialNumber, bool validEnable, QOVASuccessBlock success,                    \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBDeviceCertificateServerValidate, (validEnable, success, failure))        \
    X(Lookup, setZoomAbs, "setZoomAbs:isZoomIn:withSuccessBlock:withFailureBlock:",                \
      (const QString &serialNumber, bool isZoomIn, QOVASuccessBlock success,                       \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setZoomAbs, (isZoomIn, success, failure))                                      \
    X(Lookup, setZoomAbs, "setZoomAbs:isZoomIn:withMultiple:withSuccessBlock:withFailureBlock:",   \
      (const QString &serialNumber, bool isZoomIn, double multiple, QOVASuccessBlock success,      \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setZoomAbs, (isZoomIn, multiple, success, failure))                            \
    X(Lookup, setPanTiltAbs, "setPanTiltAbs:isPan:withDirect:withSuccessBlock:withFailureBlock:",  \
      (const QString &serialNumber, bool isPan, bool direct, QOVASuccessBlock success,             \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setPanTiltAbs, (isPan, direct, success, failure))                              \
    X(Lookup, setPanTiltAbs,                                                                       \
      "setPanTiltAbs:isPan:withDirect:withMultiple:withSuccessBlock:withFailureBlock:",            \
      (const QString &serialNumber, bool isPan, bool direct, double multiple,                      \
       QOVASuccessBlock success, QOVAFailureBlock failure),                                        \
      serialNumber, setPanTiltAbs, (isPan, direct, multiple, success, failure))                    \
    X(Lookup, getCameraSettingData,                                                                \
      "getCameraSettingData:withModel:withSuccessBlock:withFailureBlock:",                         \
      (const QString &serialNumber, const QOVACameraSettingModelRef &model,                        \
       QOVASuccessBlock success, QOVAFailureBlock failure),                                        \
      serialNumber, getCameraSettingDataWithModel, (model, success, failure))                      \
    X(Lookup, setCameraSettingData,                                                                \
      "setCameraSettingData:withModel:isReset:withSuccessBlock:withFailureBlock:",                 \
      (const QString &serialNumber, const QOVACameraSettingModelRef &model, bool isReset,          \
       QOVASuccessBlock success, QOVAFailureBlock failure),                                        \
      serialNumber, setCameraSettingDataWithModel, (model, isReset, success, failure))             \
    X(LookupQuiet, updateUVCControls, "updateUVCControls:", (const QString &serialNumber),         \
      serialNumber, updateUVCControls, ())                                                         \
    X(Lookup, getVaskoNetworkConnectionInformation,                                                \
      "getVaskoNetworkConnectionInformation:withNetworkStatusBlock:withFailedBlock:",              \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failed),           \
      serialNumber, getUSBNetworkConnectionInformation, (block, failed))                           \
    X(Lookup, connetcUSBNetwork,                                                                   \
      "connetcUSBNetwork:withConnectParams:withSuccessBlock:withFailureBlock:",                    \
      (const QString &serialNumber, const QJsonObject &connectParams, QOVASuccessBlock success,    \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, connectUSBNetwork, (connectParams, success, failure))                          \
    X(Lookup, enableVaskoNetwork,                                                                  \
      "enableVaskoNetwork:paramsDictionary:withSuccessBlock:withFailureBlock:",                    \
      (const QString &serialNumber, const QJsonObject &params, QOVASuccessBlock success,           \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, enableVaskoNetwork, (params, success, failure))                                \
    X(Lookup, getUSBDeviceMiscellaneousStatus,                                                     \
      "getUSBDeviceMiscellaneousStatus:withMiscellaneousModel:withFailureBlock:",                  \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failure),          \
      serialNumber, getUSBDeviceMiscellaneousStatus, (block, failure))                             \
    X(Stops, setUSBDeviceMiscellaneousStatus,                                                      \
      "setUSBDeviceMiscellaneousStatus:powerInjector:compatibleMode:withSuccessBlock:"             \
      "withFailureBlock:",                                                                         \
      (const QString &serialNumber, bool powerInjector, bool compatibleMode,                       \
       QOVASuccessBlock success, QOVAFailureBlock failure),                                        \
      serialNumber, setUSBDeviceMiscellaneousStatus,                                               \
      (powerInjector, compatibleMode, success, failure))                                           \
    X(Lookup, setUSBDeviceIntegratedMicrophones,                                                   \
      "setUSBDeviceIntegratedMicrophones:intergratedMicrophone:withSuccessBlock:"                  \
      "withFailureBlock:",                                                                         \
      (const QString &serialNumber, bool intergratedMicrophone, QOVASuccessBlock success,          \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBDeviceIntergratedMicrophones, (intergratedMicrophone, success, failure)) \
    X(Lookup, getUSBDeviceAudioStereo,                                                             \
      "getUSBDeviceAudioStereo:withAudioStereoModel:withFailureBlock:",                            \
      (const QString &serialNumber, QOVACompletionBlock block, QOVAFailureBlock failure),          \
      serialNumber, getUSBDeviceAudioStereo, (block, failure))                                     \
    X(Lookup, setUSBDeviceAudioStereo,                                                             \
      "setUSBDeviceAudioStereo:audioStereo:withSuccessBlock:withFailureBlock:",                    \
      (const QString &serialNumber, bool audioStereo, QOVASuccessBlock success,                    \
       QOVAFailureBlock failure),                                                                  \
      serialNumber, setUSBDeviceSetAudioStereo, (audioStereo, success, failure))
