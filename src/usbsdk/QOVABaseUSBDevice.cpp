#include "QOVABaseUSBDevice.h"

#include "QOVADFUProtocol.h"
#include "QOVAHIDProtocol.h"
#include "QOVAUVCProtocol.h"
#include "log/log.h"

#include <QDebug>

#include <cmath>
#include <limits>

using R = QOVARequest;
using UVC = QOVAUVCProtocol::Operation;

namespace {

// The console lines of the camera operations.
void consoleLine(const char *text)
{
    qInfo().noquote() << text;
}

qint64 truncatedMultiple(double multiple)
{
    if (std::isnan(multiple))
        return 0;
    const double t = std::trunc(multiple);
    if (t >= 9223372036854775807.0)
        return std::numeric_limits<qint64>::max();
    if (t <= -9223372036854775808.0)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(t);
}

} // namespace

QOVABaseUSBDevice::QOVABaseUSBDevice(QOVADeviceModelRef model) : m_model(std::move(model)) {}

QOVABaseUSBDevice::~QOVABaseUSBDevice() = default;

QOVADeviceModelRef QOVABaseUSBDevice::model() const
{
    std::lock_guard<std::mutex> lock(m_modelMutex);
    return m_model;
}

void QOVABaseUSBDevice::setModel(QOVADeviceModelRef model)
{
    std::lock_guard<std::mutex> lock(m_modelMutex);
    m_model = std::move(model);
}

void QOVABaseUSBDevice::setDeviceSubClassDelegate()
{
    m_subConfirmDFUObject = dynamic_cast<QOVADFUProtocol *>(this);
    m_subProtocolHIDObject = dynamic_cast<QOVAHIDProtocol *>(this);
    m_subProtocolUVCObject = dynamic_cast<QOVAUVCProtocol *>(this);
}

void QOVABaseUSBDevice::forwardHID(QOVARequest request, QOVARequestArguments arguments,
                                   QOVARequestBlocks blocks)
{
    QOVAHIDProtocol *hid = m_subProtocolHIDObject;
    if (!hid || !hid->implementsRequest_HID(request))
        return;
    hid->sendRequest_HID(request, arguments, blocks);
}

void QOVABaseUSBDevice::forwardGet(QOVARequest request, QOVACompletionBlock success,
                                   QOVAFailureBlock failure)
{
    QOVAHIDProtocol *hid = m_subProtocolHIDObject;
    if (!hid || !hid->implementsRequest_HID(request))
        return;
    joinedGet(request, std::move(success), std::move(failure),
              [hid, request](QOVACompletionBlock done, QOVAFailureBlock failed) {
                  QOVARequestBlocks blocks;
                  blocks.completion = std::move(done);
                  blocks.failure = std::move(failed);
                  hid->sendRequest_HID(request, {}, blocks);
              });
}

void QOVABaseUSBDevice::joinedGet(QOVARequest request, QOVACompletionBlock success,
                                  QOVAFailureBlock failure,
                                  const std::function<void(QOVACompletionBlock, QOVAFailureBlock)> &send)
{
    // The request in flight ends in bounded time (its reply or its
    // time-out), so joining it never waits for ever.
    if (auto it = m_pendingGets->find(request); it != m_pendingGets->end()) {
        it->second->push_back({std::move(success), std::move(failure)});
        return;
    }
    GetWaiters waiters = std::make_shared<std::vector<GetWaiter>>();
    waiters->push_back({std::move(success), std::move(failure)});
    m_pendingGets->emplace(request, waiters);
    // The reply (or failure) of the one request goes to every waiter; the
    // slot is freed first, so a waiter may ask again from its callback.
    std::weak_ptr<PendingGets> pending = m_pendingGets;
    auto takeWaiters = [pending, waiters, request] {
        if (auto map = pending.lock()) {
            if (auto it = map->find(request); it != map->end() && it->second == waiters)
                map->erase(it);
        }
        return std::exchange(*waiters, {});
    };
    send(
        [takeWaiters](const QOVAReplyObject &reply) {
            for (const GetWaiter &waiter : takeWaiters())
                if (waiter.success)
                    waiter.success(reply);
        },
        [takeWaiters](const QString &error) {
            for (const GetWaiter &waiter : takeWaiters())
                if (waiter.failure)
                    waiter.failure(error);
        });
}

void QOVABaseUSBDevice::forwardPut(QOVARequest request, QVariantList values, QOVASuccessBlock success,
                                   QOVAFailureBlock failure)
{
    QOVARequestArguments arguments;
    arguments.values = std::move(values);
    QOVARequestBlocks blocks;
    blocks.success = std::move(success);
    blocks.failure = std::move(failure);
    forwardHID(request, std::move(arguments), std::move(blocks));
}

// --- firmware ---

void QOVABaseUSBDevice::upgradeDeviceFirmware(const QString &path, QOVAProgressBlock progress,
                                              QOVASuccessBlock success, QOVAUpgradeFailedBlock failed,
                                              QOVAUpgradeStatusBlock status)
{
    if (!m_subConfirmDFUObject)
        return;
    m_subConfirmDFUObject->deviceFirmwareUpdategrade_DFU(path, std::move(progress), std::move(success),
                                                         std::move(failed), std::move(status));
}

// --- general, Bluetooth, Wi-Fi ---

void QOVABaseUSBDevice::getUSBDeviceGeneralInformationWithBlock(QOVACompletionBlock success,
                                                                QOVAFailureBlock failure)
{
    QOVA_LOG(INFO, HID, "Get Orbrin GeneralInformation");
    forwardGet(R::GeneralGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceGeneralInformationWithBlock(
    const QString &deviceName, const QString &countryRegion, const QString &ntpMode,
    const QString &ntpServer, bool cameraVividMode, QOVASuccessBlock success, QOVAFailureBlock failure)
{
    forwardPut(R::GeneralSetWithVividMode, {deviceName, countryRegion, ntpMode, ntpServer, cameraVividMode},
               std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceGeneralInformationWithBlock(
    const QString &deviceName, const QString &countryRegion, const QString &ntpMode,
    const QString &ntpServer, QOVASuccessBlock success, QOVAFailureBlock failure)
{
    forwardPut(R::GeneralSet, {deviceName, countryRegion, ntpMode, ntpServer}, std::move(success),
               std::move(failure));
}

void QOVABaseUSBDevice::getUSBDeviceDeviceInformationWithBlock(QOVACompletionBlock success,
                                                               QOVAFailureBlock failure)
{
    QOVAHIDProtocol *hid = m_subProtocolHIDObject;
    if (!hid)
        return;
    joinedGet(R::DeviceInfoGet, std::move(success), std::move(failure),
              [hid](QOVACompletionBlock done, QOVAFailureBlock failed) {
                  const QOVABuiltRequest built = QOVARequestCatalogue::build(R::DeviceInfoGet, {});
                  hid->getInformationFromUSBDevice_HID(built.replyClass, built.head, std::move(done),
                                                       std::move(failed));
              });
}

void QOVABaseUSBDevice::getUSBBloothInformationwithBlock(QOVACompletionBlock success,
                                                         QOVAFailureBlock failure)
{
    forwardGet(R::BluetoothGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceBloothEnable(bool enable, bool autoPairEnable, bool bleEnable,
                                                 QOVASuccessBlock success, QOVAFailureBlock failure)
{
    forwardPut(R::BluetoothSet, {enable, autoPairEnable, bleEnable}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceBlueAutoPair(QOVASuccessBlock success, QOVAFailureBlock failure)
{
    forwardPut(R::BluetoothPair, {}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceWifiEnable(bool enable, QOVASuccessBlock success,
                                               QOVAFailureBlock failure)
{
    forwardPut(R::WifiEnable, {enable}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBWifiStatusWithBlock(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::WifiStatusGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBWifiInformationListWithBlock(QOVACompletionBlock success,
                                                           QOVAFailureBlock failure)
{
    forwardGet(R::WifiListGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBWifiConnetcedWithBlock(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::WifiSavedGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::connectDeviceSpecficWifi(const QJsonObject &wifiParams, QOVASuccessBlock success,
                                                 QOVAFailureBlock failure)
{
    // The families put the join parameters in different places; each family
    // has exactly one of the two connect requests.
    QOVAHIDProtocol *hid = m_subProtocolHIDObject;
    const R request = hid && hid->implementsRequest_HID(R::WifiConnectNetwork) ? R::WifiConnectNetwork
                                                                               : R::WifiConnect;
    forwardPut(request, {wifiParams}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::disconnectDeviceSpecficWifi(const QJsonObject &params, QOVASuccessBlock success,
                                                    QOVAFailureBlock failure)
{
    forwardPut(R::WifiDisconnect, {params}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setDeviceWifiSecurityType(const QJsonObject &wifiParams, QOVASuccessBlock success,
                                                  QOVAFailureBlock failure)
{
    forwardPut(R::WifiSecurityTypeSet, {wifiParams}, std::move(success), std::move(failure));
}

// --- files and logs ---

void QOVABaseUSBDevice::getUSBDeviceConfigFile(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::ConfigFileGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceConfigFileWithFilePath(const QString &filePath,
                                                           QOVASuccessBlock success,
                                                           QOVAFailureBlock failure)
{
    QOVARequestArguments arguments;
    arguments.filePath = filePath;
    QOVARequestBlocks blocks;
    blocks.success = std::move(success);
    blocks.failure = std::move(failure);
    forwardHID(R::ConfigFilePut, std::move(arguments), std::move(blocks));
}

void QOVABaseUSBDevice::getUSBDeviceLog(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::SystemLogGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBDeviceCoredumpLog(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::CoredumpLogGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::usbUSBRemoteControlUpdate(const QString &, const QString &filePath,
                                                  QOVAProgressBlock progress, QOVASuccessBlock success,
                                                  QOVAFailureBlock failed)
{
    QOVARequestArguments arguments;
    arguments.filePath = filePath;
    QOVARequestBlocks blocks;
    blocks.progress = std::move(progress);
    blocks.success = std::move(success);
    blocks.failure = std::move(failed);
    forwardHID(R::RemoteControlUpgrade, std::move(arguments), std::move(blocks));
}

// --- provisioning, maintenance, administration ---

void QOVABaseUSBDevice::setUSBDeviceProvisionInformation(const QString &serverUrl, const QString &name,
                                                         const QString &password, const QString &mode,
                                                         const QString &type, QOVASuccessBlock success,
                                                         QOVAFailureBlock failure)
{
    forwardPut(R::ProvisionServerSet, {serverUrl, name, password, mode, type}, std::move(success),
               std::move(failure));
}

void QOVABaseUSBDevice::getUSBDeviceProvisionServerInformation(QOVACompletionBlock success,
                                                               QOVAFailureBlock failure)
{
    forwardGet(R::ProvisionServerGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceDhcpOption(const QVariant &option, QOVASuccessBlock success,
                                               QOVAFailureBlock failure)
{
    forwardPut(R::DhcpOptionSet, {option}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::sendUSBDeviceOpsCmd(const QString &action, QOVASuccessBlock success,
                                            QOVAFailureBlock failure)
{
    forwardPut(R::Ops, {action}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::loginUSBDeviceAdmin(const QString &password, QOVASuccessBlock success,
                                            QOVAFailureBlock failure)
{
    forwardPut(R::AdminLogin, {password}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::modifyAdminPassword(const QString &oldPassword, const QString &newPassword,
                                            QOVASuccessBlock success, QOVAFailureBlock failure)
{
    forwardPut(R::AdminPasswordChange, {oldPassword, newPassword}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setSimpePasswordWithStatus(bool enable, QOVASuccessBlock success,
                                                   QOVAFailureBlock failure)
{
    forwardPut(R::SimplePasswordSet, {enable}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getSimplePasswordStatus(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::SimplePasswordGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBDevicePasswordEnableModel(QOVACompletionBlock success,
                                                        QOVAFailureBlock failure)
{
    forwardGet(R::PasswordEnableGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBDeviceOob(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::OobGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::cancelUSBRequset(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::Cancel, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::syncDesktopTimeToOrbrin(qint64 time, const QString &timeZone,
                                                QOVASuccessBlock success, QOVAFailureBlock failure)
{
    forwardPut(R::TimeSync, {time, timeZone}, std::move(success), std::move(failure));
}

// --- audio ---

void QOVABaseUSBDevice::setUSBAudioSetting(bool noiseBlocker, bool acousticBeam, bool stereo, bool bass,
                                           QOVASuccessBlock success, QOVAFailureBlock failure)
{
    forwardPut(R::AudioSet, {noiseBlocker, acousticBeam, stereo, bass}, std::move(success),
               std::move(failure));
}

void QOVABaseUSBDevice::setUSBAudioOrbrinSetting(bool noiseBlocker, const QString &acousticBeam,
                                                 bool stereo, bool bass, QOVASuccessBlock success,
                                                 QOVAFailureBlock failure)
{
    forwardPut(R::AudioOrbrinSet, {noiseBlocker, acousticBeam, stereo, bass}, std::move(success),
               std::move(failure));
}

void QOVABaseUSBDevice::getUSBAudioSetting(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::AudioGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBAudioOrbrinSetting(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::AudioOrbrinGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::requestUSBDiagnosticRecord(bool start, QOVAVoidBlock notification,
                                                   QOVACompletionBlock success, QOVAFailureBlock failure)
{
    QOVARequestArguments arguments;
    arguments.url = start;
    QOVARequestBlocks blocks;
    blocks.notification = std::move(notification);
    blocks.completion = std::move(success);
    blocks.failure = std::move(failure);
    forwardHID(R::AudioDiagnosticRecord, std::move(arguments), std::move(blocks));
}

void QOVABaseUSBDevice::setUSBDeviceIntergratedMicrophones(bool enable, QOVASuccessBlock success,
                                                           QOVAFailureBlock failure)
{
    forwardPut(R::MicrophonesSet, {enable}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceSetAudioStereo(bool stereo, QOVASuccessBlock success,
                                                   QOVAFailureBlock failure)
{
    forwardPut(R::AudioStereoSet, {stereo}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBDeviceAudioStereo(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::AudioStereoGet, std::move(success), std::move(failure));
}

// --- camera requests over HID ---

void QOVABaseUSBDevice::getUSBConversationMode(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::ConversationGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBConversationMode(bool enable, QOVASuccessBlock success,
                                               QOVAFailureBlock failure)
{
    forwardPut(R::ConversationSet, {enable}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBLectureMode(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::LectureGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBLectureMode(bool enable, QOVASuccessBlock success, QOVAFailureBlock failure)
{
    forwardPut(R::LectureSet, {enable}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBDeviceTrackingFrame(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::TrackingFrameGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceTrackingFrame(const QString &zoomLevel, QOVASuccessBlock success,
                                                  QOVAFailureBlock failure)
{
    forwardPut(R::TrackingFrameSet, {zoomLevel}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceSmoothTracking(bool enable, QOVASuccessBlock success,
                                                   QOVAFailureBlock failure)
{
    forwardPut(R::SmoothTrackingSet, {enable}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBDeviceSmoothTracking(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::SmoothTrackingGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceCameraPreset(quint64 preset, const QString &action,
                                                 QOVASuccessBlock success, QOVAFailureBlock failure)
{
    QOVARequestArguments arguments;
    arguments.url = QVariant::fromValue(preset);
    arguments.values = {action};
    QOVARequestBlocks blocks;
    blocks.success = std::move(success);
    blocks.failure = std::move(failure);
    forwardHID(R::CameraPreset, std::move(arguments), std::move(blocks));
}

void QOVABaseUSBDevice::setUSBDeviceAutoTracking(bool groupFraming, bool talkerTracking,
                                                 const QString &trackingSpeed, const QString &framingSize,
                                                 QOVASuccessBlock success, QOVAFailureBlock failure)
{
    forwardPut(R::AutoTrackingSet, {groupFraming, talkerTracking, trackingSpeed, framingSize},
               std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBDeviceAutoTracking(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::AutoTrackingGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceOsd(bool enable, QOVASuccessBlock success, QOVAFailureBlock failure)
{
    forwardPut(R::OsdSet, {enable}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBDeviceOsd(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::OsdGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getUSBDeviceCameraExtensionFeature(QOVACompletionBlock success,
                                                           QOVAFailureBlock failure)
{
    forwardGet(R::CameraExtensionGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceCameraExtensionFeature(bool skinEnhancement, bool wdr,
                                                           bool participantCount,
                                                           QOVASuccessBlock success,
                                                           QOVAFailureBlock failure)
{
    forwardPut(R::CameraExtensionSet, {skinEnhancement, wdr, participantCount}, std::move(success),
               std::move(failure));
}

// --- network ---

void QOVABaseUSBDevice::getUSBNetworkConnectionInformation(QOVACompletionBlock success,
                                                           QOVAFailureBlock failure)
{
    QOVAHIDProtocol *hid = m_subProtocolHIDObject;
    if (!hid)
        return;
    const QOVABuiltRequest built = QOVARequestCatalogue::build(R::NetworkStatusGet, {});
    hid->getInformationFromUSBDevice_HID(built.replyClass, built.head, std::move(success),
                                         std::move(failure));
}

void QOVABaseUSBDevice::connectUSBNetwork(const QJsonObject &settings, QOVASuccessBlock success,
                                          QOVAFailureBlock failure)
{
    QOVAHIDProtocol *hid = m_subProtocolHIDObject;
    if (!hid)
        return;
    QOVARequestArguments arguments;
    arguments.body = settings;
    const QOVABuiltRequest built = QOVARequestCatalogue::build(R::NetworkSet, arguments);
    hid->putInformationToUSBDevice_HID(built.head, *built.body, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::enableVaskoNetwork(const QJsonObject &params, QOVASuccessBlock success,
                                           QOVAFailureBlock failure)
{
    QOVARequestArguments arguments;
    arguments.body = params;
    QOVARequestBlocks blocks;
    blocks.success = std::move(success);
    blocks.failure = std::move(failure);
    forwardHID(R::NetworkEnable, std::move(arguments), std::move(blocks));
}

void QOVABaseUSBDevice::getUSBDeviceMiscellaneousStatus(QOVACompletionBlock success,
                                                        QOVAFailureBlock failure)
{
    forwardGet(R::MiscellaneousGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceMiscellaneousStatus(bool powerInjector, bool compatibleMode,
                                                        QOVASuccessBlock success, QOVAFailureBlock failure)
{
    forwardPut(R::MiscellaneousSet, {powerInjector, compatibleMode}, std::move(success), std::move(failure));
}

// --- certificates ---

void QOVABaseUSBDevice::setUSBCSRInfoProvision(const QJsonObject &csrParams, QOVASuccessBlock success,
                                               QOVAFailureBlock failure)
{
    QOVARequestArguments arguments;
    arguments.body = csrParams;
    QOVARequestBlocks blocks;
    blocks.success = std::move(success);
    blocks.failure = std::move(failure);
    forwardHID(R::CsrInfoSet, std::move(arguments), std::move(blocks));
}

void QOVABaseUSBDevice::getUSBDeviceCsrProvisionFile(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::CsrFileGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::putUSBDeviceCertificateWithFilePath(const QString &filePath, const QString &typeUrl,
                                                            QOVASuccessBlock success,
                                                            QOVAFailureBlock failure)
{
    QOVARequestArguments arguments;
    arguments.url = typeUrl;
    arguments.filePath = filePath;
    QOVARequestBlocks blocks;
    blocks.success = std::move(success);
    blocks.failure = std::move(failure);
    forwardHID(R::CertificatePut, std::move(arguments), std::move(blocks));
}

void QOVABaseUSBDevice::deleteUSBDeviceCaCertificate(const QString &caType, QOVASuccessBlock success,
                                                     QOVAFailureBlock failure)
{
    forwardPut(R::CaDelete, {caType}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getInstalledCertificateinfo(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::CertInfoGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getValidateCertificateinfo(QOVACompletionBlock success, QOVAFailureBlock failure)
{
    forwardGet(R::ServerValidationGet, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getInstalledCertificateDetailInfo(const QString &url, QOVACompletionBlock success,
                                                          QOVAFailureBlock failure)
{
    QOVARequestArguments arguments;
    arguments.url = url;
    QOVARequestBlocks blocks;
    blocks.completion = std::move(success);
    blocks.failure = std::move(failure);
    forwardHID(R::CertDetailGet, std::move(arguments), std::move(blocks));
}

void QOVABaseUSBDevice::setUSBDeviceCertificatePassword(const QString &password, QOVASuccessBlock success,
                                                        QOVAFailureBlock failure)
{
    forwardPut(R::CertPasswordSet, {password}, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setUSBDeviceCertificateServerValidate(bool enable, QOVASuccessBlock success,
                                                              QOVAFailureBlock failure)
{
    forwardPut(R::ServerValidationSet, {enable}, std::move(success), std::move(failure));
}

// --- camera controls (UVC) ---

void QOVABaseUSBDevice::setZoomAbs(bool zoomIn, QOVASuccessBlock success, QOVAFailureBlock failure)
{
    consoleLine("QOVABaseUSBDevice::setZoomAbs");
    QOVAUVCProtocol *uvc = m_subProtocolUVCObject;
    if (uvc && uvc->implementsUVC(UVC::SetZoomAbs))
        uvc->setZoomAbs_UVC(zoomIn, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setZoomAbs(bool zoomIn, double multiple, QOVASuccessBlock success,
                                   QOVAFailureBlock failure)
{
    QOVAUVCProtocol *uvc = m_subProtocolUVCObject;
    if (uvc && uvc->implementsUVC(UVC::SetZoomAbsWithMultiple))
        uvc->setZoomAbs_UVC(zoomIn, truncatedMultiple(multiple), std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setPanTiltAbs(bool pan, bool direct, QOVASuccessBlock success,
                                      QOVAFailureBlock failure)
{
    consoleLine("QOVABaseUSBDevice::setPanTiltAbs");
    QOVAUVCProtocol *uvc = m_subProtocolUVCObject;
    if (uvc && uvc->implementsUVC(UVC::SetPanTiltAbs))
        uvc->setPanTiltAbs_UVC(pan, direct, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setPanTiltAbs(bool pan, bool direct, double multiple, QOVASuccessBlock success,
                                      QOVAFailureBlock failure)
{
    consoleLine("QOVABaseUSBDevice::setPanTiltAbs");
    QOVAUVCProtocol *uvc = m_subProtocolUVCObject;
    if (uvc && uvc->implementsUVC(UVC::SetPanTiltAbsWithMultiple))
        uvc->setPanTiltAbs_UVC(pan, direct, multiple, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::getCameraSettingDataWithModel(const QOVACameraSettingModelRef &model,
                                                      QOVASuccessBlock success, QOVAFailureBlock failure)
{
    consoleLine("QOVABaseUSBDevice::getCameraSettingDataWithModel");
    QOVAUVCProtocol *uvc = m_subProtocolUVCObject;
    if (uvc && uvc->implementsUVC(UVC::GetCameraSettingData))
        uvc->getCameraSettingDataWithModel_UVC(model, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::setCameraSettingDataWithModel(const QOVACameraSettingModelRef &model, bool isReset,
                                                      QOVASuccessBlock success, QOVAFailureBlock failure)
{
    consoleLine("QOVABaseUSBDevice::setCameraSettingDataWithModel");
    QOVAUVCProtocol *uvc = m_subProtocolUVCObject;
    if (uvc && uvc->implementsUVC(UVC::SetCameraSettingData))
        uvc->setCameraSettingDataWithModel_UVC(model, isReset, std::move(success), std::move(failure));
}

void QOVABaseUSBDevice::updateUVCControls()
{
    QOVAUVCProtocol *uvc = m_subProtocolUVCObject;
    if (uvc && uvc->implementsUVC(UVC::UpdateUVCControls))
        uvc->updateUVCControls_UVC();
}
