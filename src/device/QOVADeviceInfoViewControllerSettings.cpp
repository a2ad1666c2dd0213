// The device page controller's operations behind the settings, maintenance
// and audio pages: each turns one page action into one device request and,
// on its outcome, logs, updates the asking page and shows a toast.

#include "QOVADeviceInfoViewController.h"

#include "QOVAIOManager.h"
#include "QOVANotificationWindow.h"
#include "log/log.h"
#include "models/AudioSettingModel.h"
#include "models/AudioSettingOrbrinModel.h"
#include "models/BloothModel.h"
#include "models/CancelModel.h"
#include "models/ConversationModeModel.h"
#include "models/LectureModeModel.h"
#include "models/MiscellaneousModel.h"
#include "models/OrbrinGeneralInformationModel.h"
#include "models/SimplePasswordModel.h"
#include "models/VaskoAudioSettingModel.h"
#include "ITSwitch.h"
#include "settings/QOVAAudioSettingsView.h"
#include "settings/QOVABLEFeatureView.h"
#include "settings/QOVABluetoothPairMode.h"
#include "settings/QOVAMiscellaneousView.h"
#include "settings/QOVAOrbrinGeneralView.h"

#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>

namespace {

// The payload model of a reply, or none when it carries another.
template <typename Model>
std::shared_ptr<const Model> settingsReplyModel(const QOVAReplyObject &reply)
{
    if (const auto *model = std::get_if<QOVAModelRef>(&reply))
        return qova_model_cast<Model>(*model);
    return nullptr;
}

// The raw bytes of a reply (none for a reply without body).
QByteArray settingsReplyBytes(const QOVAReplyObject &reply)
{
    if (const auto *bytes = std::get_if<QByteArray>(&reply))
        return *bytes;
    return QByteArray();
}

// A toast looks the same whichever page asks for it.
QOVANotificationWindow *settingsToast(bool success, const char *key)
{
    auto *toast = new QOVANotificationWindow;
    toast->setNotificationType(success ? 0 : 1);
    toast->setContentString(qtTrId(key));
    toast->show();
    return toast;
}

// Writes the bytes to the path as a whole or not at all: a refused write
// leaves no partial file behind, and any earlier file stays as it was.
bool settingsWriteFile(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

// ------------------------------------------------------------- general page

void QOVADeviceInfoViewController::getGeneralInformation()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinDeviceGeneralInformation(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            if (!self)
                return;
            QOVA_LOG(INFO, UI, "Get General Information Success!");
            auto model = settingsReplyModel<OrbrinGeneralInformationModel>(reply);
            if (!model)
                return;
            self->printLogForJsonModel(*model);
            if (auto *page = self->pageAs<QOVAOrbrinGeneralView>(QStringLiteral("orbrinGeneralView")))
                page->updateGeneralInformation(model->country_region, model->device_name, model->ntp_mode,
                                               model->ntp_server,
                                               model->camera_vivid_mode == QLatin1String("true"));
            self->tabControlView()->setDeviceName(model->device_name);
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get General Information failure: %s", qUtf8Printable(reason));
            if (!self)
                return;
            if (auto *page = qobject_cast<QOVAOrbrinGeneralView *>(self->builtPage(QStringLiteral("orbrinGeneralView"))))
                page->generalInformationUnavailable();
            self->readFailedToast(QStringLiteral("orbrinGeneralView"));
        });
}

void QOVADeviceInfoViewController::readFailedToast(const QString &getter)
{
    const QOVADisplayBaseView *page = builtPage(getter);
    if (!page || page != currentView() || m_readFailureSaid.contains(getter))
        return;
    m_readFailureSaid.insert(getter);
    settingsToast(false, "NOTIFICATION_TIP_READ_FAILED");
}

void QOVADeviceInfoViewController::saveFailedToast(const QString &getter)
{
    QPointer<QOVANotificationWindow> &last = m_saveFailureToasts[getter];
    if (last && last->isVisible())
        return;
    last = settingsToast(false, "NOTIFICATION_TIP_SAVE_FAILED");
}

QOVAFailureBlock QOVADeviceInfoViewController::readFailure(const char *logPrefix, const char *getter)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    return [self, logPrefix, getter](const QString &reason) {
        QOVA_LOG(ERROR, UI, "%s%s", logPrefix, qUtf8Printable(reason));
        if (self)
            self->readFailedToast(QLatin1String(getter));
    };
}

QOVAFailureBlock QOVADeviceInfoViewController::saveFailure(const char *logPrefix, const char *getter)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    return [self, logPrefix, getter](const QString &reason) {
        QOVA_LOG(ERROR, UI, "%s%s", logPrefix, qUtf8Printable(reason));
        if (self)
            self->saveFailedToast(QLatin1String(getter));
    };
}

void QOVADeviceInfoViewController::generalSaved(const QString &name)
{
    tabControlView()->setDeviceName(name);
    transferDeviceName(name);
    settingsToast(true, "NOTIFICATION_TIP_SAVE_SUCCESSED");
}

void QOVADeviceInfoViewController::setGeneralInformationwitDeviceName(const QString &deviceName,
                                                                      const QString &countryRegion,
                                                                      const QString &ntpMode,
                                                                      const QString &ntpServer, bool cameraVividMode)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->setOrbrinDeviceGeneralInformation(
        serialNumber(), deviceName, countryRegion, ntpMode, ntpServer, cameraVividMode,
        [self, deviceName](const QString &) {
            if (self)
                self->generalSaved(deviceName);
        },
        [](const QString &reason) {
            settingsToast(false, "NOTIFICATION_TIP_SAVE_FAILED");
            QOVA_LOG(ERROR, UI, "Set General Information failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::setGeneralInformationwitDeviceName(const QString &deviceName,
                                                                      const QString &countryRegion,
                                                                      const QString &ntpMode,
                                                                      const QString &ntpServer)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->setOrbrinDeviceGeneralInformation(
        serialNumber(), deviceName, countryRegion, ntpMode, ntpServer,
        [self, deviceName](const QString &) {
            if (self)
                self->generalSaved(deviceName);
        },
        [](const QString &reason) {
            // The network camera refuses a name it does not accept with
            // "Reject".
            settingsToast(false, reason == QLatin1String("Reject") ? "STRING_DEVICE_INVALID"
                                                                    : "NOTIFICATION_TIP_SAVE_FAILED");
            QOVA_LOG(ERROR, UI, "Set General Information failure, reason is %s", qUtf8Printable(reason));
        });
}

// ----------------------------------------------------------- Bluetooth pages

void QOVADeviceInfoViewController::requestBloothInformation()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinBloothInformation(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            if (!self)
                return;
            QOVA_LOG(INFO, UI, "Get Blooth Information Success!");
            auto model = settingsReplyModel<BloothModel>(reply);
            if (!model)
                return;
            self->printLogForJsonModel(*model);
            if (auto *page = self->pageAs<QOVABLEFeatureView>(QStringLiteral("bleFeatureView")))
                page->bloothInformationStatus(model);
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "request bluetooth info failure, reason is %s", qUtf8Printable(reason));
            if (self)
                self->readFailedToast(QStringLiteral("bleFeatureView"));
        });
}

void QOVADeviceInfoViewController::bluetoothEnable(bool enable, bool autopairEnable, bool bleEnable)
{
    QOVAIOManager::usbManagerShared()->setDeviceBloothEnable(
        enable, autopairEnable, bleEnable, serialNumber(),
        [](const QString &) { QOVA_LOG(INFO, UI, "bluetooth enabled!"); },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "bluetooth enable failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::bluetoothEnabled()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinBloothInformation(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            if (!self)
                return;
            QOVA_LOG(INFO, UI, "Get BloothModel for StartPair Success!");
            auto model = settingsReplyModel<BloothModel>(reply);
            if (!model)
                return;
            self->printLogForJsonModel(*model);
            if (auto *page = self->pageAs<QOVABluetoothPairMode>(QStringLiteral("bluetoothPairModeView")))
                page->updatePairMode(model->isEnable());
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Request bluetooth info Failure: %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::bluetoothAutoPair()
{
    QOVAIOManager::usbManagerShared()->setOrbrinBluetoothAutoPairEnable(
        serialNumber(), [](const QString &) {}, [](const QString &) {});
}

// --------------------------------------------------- restart and factory reset

void QOVADeviceInfoViewController::sendSystemRestart()
{
    QOVAIOManager::usbManagerShared()->sendUSBDeviceOpsCmd(
        serialNumber(), QStringLiteral("restart"),
        [](const QString &) { QOVA_LOG(INFO, UI, "send system restart successfully."); },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Restart system restart failure, reason is %s.", qUtf8Printable(reason));
            settingsToast(false, "NOTIFICATION_REQUEST_REJECTED");
        });
}

void QOVADeviceInfoViewController::sendDeviceRestart()
{
    sendSystemRestart();
}

void QOVADeviceInfoViewController::sendFactoryReset()
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::sendFactoryReset");
    showMaskViewWithProgress(true);
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->sendUSBDeviceOpsCmd(
        serialNumber(), QStringLiteral("reset"),
        [self](const QString &) {
            QOVA_LOG(INFO, UI, "send factory reset successfully.");
            if (self)
                self->startResetTimer();
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Factory reset failure, reason is %s.", qUtf8Printable(reason));
            if (self)
                self->showMaskViewWithProgress(false);
            settingsToast(false, "NOTIFICATION_REQUEST_REJECTED");
        });
}

// ------------------------------------------------------------ lab features

void QOVADeviceInfoViewController::requestConversationModeInformation()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinConversationMode(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            QOVA_LOG(INFO, UI, "Get Conversation Mode Success!");
            if (!self)
                return;
            auto *page = dynamic_cast<QOVALabFeatureViewInterface *>(self->pageForGetter(QStringLiteral("labFeatureView")));
            if (auto model = settingsReplyModel<ConversationModeModel>(reply); model && page)
                page->conversationModeStatus(model);
        },
        readFailure("Request Conversation Mode Status info Failure: ", "labFeatureView"));
}

// A failed mode change puts the page's switch back, says so, and asks the
// device again: a change that failed on the way back (the device took it)
// is shown as the device has it once the answer comes.
void QOVADeviceInfoViewController::setconversationMode(bool enable)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->setOrbrinConversationMode(
        enable, serialNumber(), [](const QString &) { QOVA_LOG(INFO, UI, "Set Conversation Mode Success!"); },
        [self, enable](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set Conversation Mode Status info Failure: %s", qUtf8Printable(reason));
            if (!self)
                return;
            if (auto *page = dynamic_cast<QOVALabFeatureViewInterface *>(
                    self->pageForGetter(QStringLiteral("labFeatureView"))))
                page->setconversationModeFailed(enable);
            settingsToast(false, "NOTIFICATION_TIP_SAVE_FAILED");
            // The failure is said; the read that follows adds no second toast.
            self->m_readFailureSaid.insert(QStringLiteral("labFeatureView"));
            self->requestConversationModeInformation();
        });
}

void QOVADeviceInfoViewController::requestLectureModeInformation()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinLectureMode(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            QOVA_LOG(INFO, UI, "Get Lecture Mode Success!");
            if (!self)
                return;
            auto *page = dynamic_cast<QOVALabFeatureViewInterface *>(self->pageForGetter(QStringLiteral("labFeatureView")));
            if (auto model = settingsReplyModel<LectureModeModel>(reply); model && page)
                page->lectureModeStatus(model);
        },
        readFailure("Request Lecture Mode Status info Failure: ", "labFeatureView"));
}

void QOVADeviceInfoViewController::setLectureMode(bool enable)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->setOrbrinLectureMode(
        enable, serialNumber(), [](const QString &) { QOVA_LOG(INFO, UI, "Set Lecture Mode Success!"); },
        [self, enable](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set Lecture Mode Status info Failure: %s", qUtf8Printable(reason));
            if (!self)
                return;
            if (auto *page = dynamic_cast<QOVALabFeatureViewInterface *>(
                    self->pageForGetter(QStringLiteral("labFeatureView"))))
                page->setLectureModeFailed(enable);
            settingsToast(false, "NOTIFICATION_TIP_SAVE_FAILED");
            // The failure is said; the read that follows adds no second toast.
            self->m_readFailureSaid.insert(QStringLiteral("labFeatureView"));
            self->requestLectureModeInformation();
        });
}

// --------------------------------------------------------------- passwords

void QOVADeviceInfoViewController::modify(const QString &oldPassword, const QString &newPassword)
{
    QOVAIOManager::usbManagerShared()->modifyAdminPassword(
        serialNumber(), oldPassword, newPassword,
        [](const QString &) {
            QOVA_LOG(INFO, UI, "Modify Password Success!");
            settingsToast(true, "NOTIFICATION_TIP_SAVE_SUCCESSED");
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Modify Password Failure, reason is %s", qUtf8Printable(reason));
            if (reason == QLatin1String("invalid old password"))
                settingsToast(false, "NOTIFICATION_TIP_OLD_PWD_ERROR");
            else if (reason == QLatin1String("invalid new password"))
                settingsToast(false, "NOTIFICATION_TIP_NEW_PWD_ERROR");
            else
                // Any other refusal is a failed save too; the user is told.
                settingsToast(false, "NOTIFICATION_TIP_SAVE_FAILED");
        });
}

void QOVADeviceInfoViewController::updateSimplePassword(bool enabled)
{
    if (auto *page = dynamic_cast<QOVAPasswordSettingsViewInterface *>(
            pageForGetter(QStringLiteral("passwordSettingsView"))))
        page->updateSimplePasswordStatus(enabled);
}

void QOVADeviceInfoViewController::enableSimplePassword(bool enable)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->setOrbrinSimpePasswordWithStatus(
        serialNumber(), enable,
        [self, enable](const QString &) {
            QOVA_LOG(INFO, UI, "Set Simple Password Success!");
            if (self)
                self->updateSimplePassword(enable);
        },
        [self, enable](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set Simple Password Failure, reason is %s", qUtf8Printable(reason));
            if (self)
                self->updateSimplePassword(!enable);
        });
}

void QOVADeviceInfoViewController::requestSimplePassWordStatus()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinSimplePasswordStatus(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            QOVA_LOG(INFO, UI, "Get Simple Password Status Success!");
            auto model = settingsReplyModel<SimplePasswordModel>(reply);
            if (!self || !model)
                return;
            self->printLogForJsonModel(*model);
            self->updateSimplePassword(model->simple_password);
        },
        [self](const QString &reason) {
            if (self)
                self->updateSimplePassword(false);
            QOVA_LOG(ERROR, UI, "Get Simple Password Failure, reason is %s", qUtf8Printable(reason));
        });
}

// ------------------------------------------------------- miscellaneous page

void QOVADeviceInfoViewController::getMiscellaneousInformation()
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::getMiscellaneousInformation");
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getUSBDeviceMiscellaneousStatus(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            QOVA_LOG(INFO, UI, "Get MiscellaneousInformation Successfully.");
            auto model = settingsReplyModel<MiscellaneousModel>(reply);
            if (!self || !model)
                return;
            self->printLogForJsonModel(*model);
            if (auto *page = self->pageAs<QOVAMiscellaneousView>(QStringLiteral("miscellaneousView")))
                page->updateMiscellaneousView(model);
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get MiscellaneousInformation Failure, reason is %s", qUtf8Printable(reason));
            if (self)
                self->readFailedToast(QStringLiteral("miscellaneousView"));
        });
}

void QOVADeviceInfoViewController::setMiscellaneousStatus(bool powerInjector, bool compatibleMode)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::setMiscellaneousStatus");
    QOVAIOManager::usbManagerShared()->setUSBDeviceMiscellaneousStatus(
        serialNumber(), powerInjector, compatibleMode,
        [](const QString &text) { QOVA_LOG(INFO, UI, "Set MiscellaneousStatus Success, %s", qUtf8Printable(text)); },
        [](const QString &reason) {
            QOVA_LOG(INFO, UI, "Set MiscellaneousStatus Failuer: %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::setIntegratedMicrophones(bool enable)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::setIntegratedMicrophones");
    QOVAIOManager::usbManagerShared()->setUSBDeviceIntegratedMicrophones(
        serialNumber(), enable,
        [](const QString &text) {
            QOVA_LOG(INFO, UI, "Set setIntegratedMicrophones Success, %s", qUtf8Printable(text));
        },
        [](const QString &reason) {
            QOVA_LOG(INFO, UI, "Set setIntegratedMicrophones Failuer: %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::getAudioStereo()
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::getAudioStereo");
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getUSBDeviceAudioStereo(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            auto model = settingsReplyModel<VaskoAudioSettingModel>(reply);
            if (!self || !model)
                return;
            if (auto *page = self->pageAs<QOVAMiscellaneousView>(QStringLiteral("miscellaneousView")))
                page->updateAudoStereoView(model->stereo);
            self->printLogForJsonModel(*model);
            QOVA_LOG(INFO, UI, "Get getAudioStereo Successfully.");
        },
        [](const QString &reason) { QOVA_LOG(INFO, UI, "Get getAudioStereo Failuer, %s", qUtf8Printable(reason)); });
}

void QOVADeviceInfoViewController::setAudioStereo(bool enable)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::setAudioStereo");
    QOVAIOManager::usbManagerShared()->setUSBDeviceAudioStereo(
        serialNumber(), enable,
        [](const QString &text) { QOVA_LOG(INFO, UI, "Set setAudioStereo Success, %s", qUtf8Printable(text)); },
        [](const QString &reason) { QOVA_LOG(INFO, UI, "Set setAudioStereo Failuer, %s", qUtf8Printable(reason)); });
}

// -------------------------------------------------------------- log files

void QOVADeviceInfoViewController::logView(QOVALogViewInterface *view, const QString &downloadLogToPath)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    const QString path = downloadLogToPath;
    QOVAIOManager::usbManagerShared()->getDeviceLog(
        serialNumber(),
        [self, path](const QOVAReplyObject &reply) {
            QOVA_LOG(INFO, UI, "Get log Success!");
            if (self)
                self->stopLogDownloading();
            if (settingsWriteFile(path, settingsReplyBytes(reply))) {
                settingsToast(true, "NOTIFICATION_COLLECT_LOG_SUCCESSED");
                QOVA_LOG(INFO, UI, "Write log Success!");
            } else {
                settingsToast(false, "NOTIFICATION_COLLECT_LOG_ERROR");
            }
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get log Failure, reason is %s", qUtf8Printable(reason));
            if (self)
                self->stopLogDownloading();
            settingsToast(false, "NOTIFICATION_COLLECT_LOG_ERROR");
        });
    (void)view;
}

void QOVADeviceInfoViewController::stopLogDownloading()
{
    if (auto *page = dynamic_cast<QOVALogViewInterface *>(builtPage(QStringLiteral("logView"))))
        page->stopDownloadingAnimation();
}

void QOVADeviceInfoViewController::downloadCoredumpLogToPath(const QString &path)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getDeviceCoredumpLog(
        serialNumber(),
        [self, path](const QOVAReplyObject &reply) {
            if (self)
                self->stopLogDownloading();
            QOVA_LOG(INFO, UI, "Get coredump log Success!");
            const QByteArray bytes = settingsReplyBytes(reply);
            if (bytes.isEmpty()) {
                QOVA_LOG(INFO, UI, "There is no core dump logs!");
                settingsToast(false, "NOTIFICATION_COLLECT_LOG_WARNING");
            } else if (settingsWriteFile(path, bytes)) {
                settingsToast(true, "NOTIFICATION_COLLECT_LOG_SUCCESSED");
                QOVA_LOG(INFO, UI, "Write coredump log Success!");
            } else {
                QOVA_LOG(WARNING, UI, "Get coredump log Failure!");
                settingsToast(false, "NOTIFICATION_COLLECT_LOG_ERROR");
            }
        },
        [self](const QString &reason) {
            if (self)
                self->stopLogDownloading();
            QOVA_LOG(ERROR, UI, "Get coredump log Failure, reason is %s", qUtf8Printable(reason));
            settingsToast(false, "NOTIFICATION_COLLECT_LOG_ERROR");
        });
}

// ------------------------------------------------------------- audio test

QOVAAudioDiagnosticsViewInterface *QOVADeviceInfoViewController::audioDiagnosticsPage()
{
    return dynamic_cast<QOVAAudioDiagnosticsViewInterface *>(builtPage(QStringLiteral("audioDiagnosticsView")));
}

void QOVADeviceInfoViewController::audioDiagnosticRecord(bool start)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::AudioDiagnosticRecord:%d", start ? 1 : 0);
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->requestOrbrinAudioDiagnosticRecord(
        serialNumber(), start,
        [self, start] {
            QOVA_LOG(INFO, UI, "Audio Record Finish! isStart:%d", start ? 1 : 0);
            if (auto *page = self ? self->audioDiagnosticsPage() : nullptr)
                page->showSaveFileWindow();
        },
        [self](const QOVAReplyObject &reply) {
            QOVA_LOG(INFO, UI, "Audio Record File is Ready!");
            if (auto *page = self ? self->audioDiagnosticsPage() : nullptr)
                page->saveAudioFile(settingsReplyBytes(reply));
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Audio Diagnostic Failure, reason is %s", qUtf8Printable(reason));
            if (auto *page = self ? self->audioDiagnosticsPage() : nullptr)
                page->closeAllWindows();
            settingsToast(false, "NOTIFICATION_GET_DIAGNOSTICS_FILE");
        });
}

void QOVADeviceInfoViewController::cancelAudioDiagnostic()
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::cancelAudioDiagnostic");
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->cancelOrbrinUSBRequset(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            QOVA_LOG(INFO, UI, "Cancel Audio Diagnostic Successfully.");
            if (auto model = settingsReplyModel<CancelModel>(reply); model && self)
                self->printLogForJsonModel(*model);
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Cancel Audio Diagnostic Failure, reason is %s", qUtf8Printable(reason));
        });
}

// --------------------------------------------------------- configuration

void QOVADeviceInfoViewController::getConfigFile(QOVADisplayBaseView *view, const QString &downloadFilepath)
{
    (void)view;
    const QString path = downloadFilepath;
    QOVAIOManager::usbManagerShared()->getDeviceConfigFile(
        serialNumber(),
        [path](const QOVAReplyObject &reply) {
            if (settingsWriteFile(path, settingsReplyBytes(reply))) {
                QOVA_LOG(INFO, UI, "Export config file successfully");
            } else {
                QOVA_LOG(INFO, UI, "Export config file failed, reason is failed to write file to local.");
                settingsToast(false, "NOTIFICATION_EXPORT_CONFIG_ERROR");
            }
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Export config file failure, reason is %s", qUtf8Printable(reason));
            settingsToast(false, "NOTIFICATION_EXPORT_CONFIG_ERROR");
        });
}

void QOVADeviceInfoViewController::importConfigFileFromPC(QOVADisplayBaseView *view, const QString &filePath)
{
    (void)view;
    // Only a readable file has something to send: anything else (a folder,
    // a file gone or unreadable) is refused here, before any request.
    const QFileInfo source(filePath);
    if (!source.isFile() || !source.isReadable()) {
        QOVA_LOG(ERROR, UI, "Import config file failure, reason is %s is not a readable file",
                 qUtf8Printable(filePath));
        settingsToast(false, "NOTIFICATION_IMPORT_CONFIG_ERROR");
        return;
    }
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->setUSBDeviceConfigFile(
        serialNumber(), filePath,
        [self](const QString &) {
            settingsToast(true, "NOTIFICATION_IMPORT_CONFIG_SUCCESSED");
            if (self)
                self->getDeviceInformation(nullptr);
        },
        [](const QString &reason) {
            settingsToast(false, "NOTIFICATION_IMPORT_CONFIG_ERROR");
            QOVA_LOG(ERROR, UI, "Import config file failure, reason is %s", qUtf8Printable(reason));
        });
}

// ------------------------------------------------------------ audio page

namespace {

// The four values of the audio record as the page shows them now, with the
// beam in either form.
struct AudioRecord {
    bool noiseBlocker = false;
    bool beam = false;
    QString fence;
    bool stereo = false;
    bool bass = false;
};

AudioRecord audioRecordOf(QOVAAudioSettingsView *page)
{
    AudioRecord record;
    if (!page)
        return record;
    record.noiseBlocker = page->noiseBlockerSwitch()->checked();
    record.beam = page->acousticBeamSwitch() && page->acousticBeamSwitch()->checked();
    record.fence = page->lastFence();
    record.stereo = page->stereoSwitch()->checked();
    record.bass = page->bassSwitch()->checked();
    return record;
}

} // namespace

QOVAAudioSettingsView *QOVADeviceInfoViewController::audioPage()
{
    return pageAs<QOVAAudioSettingsView>(QStringLiteral("audioSettingsView"));
}

bool QOVADeviceInfoViewController::audioBeamForm() const
{
    return QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion() == QLatin1String("1.0");
}

void QOVADeviceInfoViewController::getAudioSettingsStatus()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    auto failed = [self](const QString &reason) {
        QOVA_LOG(ERROR, UI, "Get audio settings Failure, reason is %s", qUtf8Printable(reason));
        if (self)
            self->readFailedToast(QStringLiteral("audioSettingsView"));
    };
    if (audioBeamForm()) {
        QOVAIOManager::usbManagerShared()->getUSBAudioSetting(
            serialNumber(),
            [self](const QOVAReplyObject &reply) {
                QOVA_LOG(INFO, UI, "Succeed to get audio settings.");
                auto model = settingsReplyModel<AudioSettingModel>(reply);
                if (!self || !model)
                    return;
                self->printLogForJsonModel(*model);
                if (auto *page = self->audioPage())
                    page->updateNoiseBlockerSwitch(model->noise_blocker, model->acoustic_beam, model->stereo,
                                                   model->bass);
            },
            failed);
    } else {
        QOVAIOManager::usbManagerShared()->getUSBAudioOrbrinSetting(
            serialNumber(),
            [self](const QOVAReplyObject &reply) {
                QOVA_LOG(INFO, UI, "Succeed to get audio settings.");
                auto model = settingsReplyModel<AudioSettingOrbrinModel>(reply);
                if (!self || !model)
                    return;
                self->printLogForJsonModel(*model);
                if (auto *page = self->audioPage())
                    page->updateOrbrinNoiseBlockerSwitch(model->noise_blocker, model->acoustic_beam, model->stereo,
                                                         model->bass);
            },
            failed);
    }
}

// Which value of the record a write changes.
enum class AudioValue { NoiseBlocker, Beam, Stereo, Bass };

void QOVADeviceInfoViewController::writeAudioRecord(int changedValue, bool beamForm, bool flag,
                                                    const QString &previousFence, const QString &newFence,
                                                    const char *successLog, const char *failureLog)
{
    const auto changed = AudioValue(changedValue);
    AudioRecord sent = audioRecordOf(audioPage());
    switch (changed) {
    case AudioValue::NoiseBlocker:
        sent.noiseBlocker = flag;
        break;
    case AudioValue::Beam:
        sent.beam = flag;
        sent.fence = newFence;
        break;
    case AudioValue::Stereo:
        sent.stereo = flag;
        break;
    case AudioValue::Bass:
        sent.bass = flag;
        break;
    }
    // On a refusal the changed value goes back: a flag inverted, the beam
    // width to its previous value.
    AudioRecord reverted = sent;
    switch (changed) {
    case AudioValue::NoiseBlocker:
        reverted.noiseBlocker = !flag;
        break;
    case AudioValue::Beam:
        reverted.beam = !flag;
        reverted.fence = previousFence;
        break;
    case AudioValue::Stereo:
        reverted.stereo = !flag;
        break;
    case AudioValue::Bass:
        reverted.bass = !flag;
        break;
    }
    QPointer<QOVADeviceInfoViewController> self(this);
    auto show = [self, beamForm](const AudioRecord &record) {
        QOVAAudioSettingsView *page = self ? self->audioPage() : nullptr;
        if (!page)
            return;
        if (beamForm)
            page->updateNoiseBlockerSwitch(record.noiseBlocker, record.beam, record.stereo, record.bass);
        else
            page->updateOrbrinNoiseBlockerSwitch(record.noiseBlocker, record.fence, record.stereo, record.bass);
    };
    auto success = [show, sent, successLog](const QString &) {
        QOVA_LOG(INFO, UI, "%s", successLog);
        show(sent);
    };
    auto failure = [show, reverted, failureLog](const QString &reason) {
        QOVA_LOG(ERROR, UI, "%s, reason is %s", failureLog, qUtf8Printable(reason));
        show(reverted);
    };
    if (beamForm)
        QOVAIOManager::usbManagerShared()->setUSBAudioSetting(serialNumber(), sent.noiseBlocker, sent.beam,
                                                              sent.stereo, sent.bass, success, failure);
    else
        QOVAIOManager::usbManagerShared()->setUSBAudioOrbrinSetting(serialNumber(), sent.noiseBlocker, sent.fence,
                                                                    sent.stereo, sent.bass, success, failure);
}

void QOVADeviceInfoViewController::setNoiseBlockerEnable(bool enable)
{
    writeAudioRecord(int(AudioValue::NoiseBlocker), audioBeamForm(), enable, {}, {}, "Succeed to set Noise Blocker.",
                     "Set Noise Blocker Failure");
}

void QOVADeviceInfoViewController::setAcousticBeamEnable(bool enable)
{
    const QString fence = audioRecordOf(audioPage()).fence;
    writeAudioRecord(int(AudioValue::Beam), true, enable, fence, fence, "Succeed to set Acoustic Beam.",
                     "Set Acoustic Beam Failure");
}

void QOVADeviceInfoViewController::setOrbrinTarnwallFrom(const QString &from, const QString &to)
{
    const bool beam = audioRecordOf(audioPage()).beam;
    writeAudioRecord(int(AudioValue::Beam), false, beam, from, to, "Succeed to set Tarnwall.",
                     "Set Tarnwall Failure");
}

void QOVADeviceInfoViewController::setStereoEnable(bool enable)
{
    writeAudioRecord(int(AudioValue::Stereo), audioBeamForm(), enable, {}, {}, "Succeed to set Stereo.",
                     "Set Stereo Failure");
}

void QOVADeviceInfoViewController::setBassEnable(bool enable)
{
    writeAudioRecord(int(AudioValue::Bass), audioBeamForm(), enable, {}, {}, "Succeed to set Bass.",
                     "Set Bass Booat Failure");
}

void QOVADeviceInfoViewController::resetBassEnable(bool enable)
{
    writeAudioRecord(int(AudioValue::Bass), audioBeamForm(), enable, {}, {}, "Succeed to reset Bass.",
                     "Reset Bass Booat Failure");
}

void QOVADeviceInfoViewController::restartDevice()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->sendUSBDeviceOpsCmd(
        serialNumber(), QStringLiteral("restart"),
        [](const QString &) { QOVA_LOG(INFO, UI, "send system restart successfully."); },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Restart system failure, reason is %s.", qUtf8Printable(reason));
            settingsToast(false, "NOTIFICATION_REQUEST_REJECTED");
            if (auto *page = self ? self->audioPage() : nullptr)
                page->cancelChange();
        });
}
