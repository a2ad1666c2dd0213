// The device page controller's camera, tracking and on-screen display
// operations: each sends one request for the open device and pushes the
// answer into the page that asked.

#include "QOVADeviceInfoViewController.h"

#include "camera/QOVACameraSettingsView.h"
#include "camera/QOVACameraTrackingView.h"
#include "camera/QOVAOSDView.h"

#include "QOVAIOManager.h"
#include "log/log.h"
#include "models/AutoTrackingModel.h"
#include "models/CameraExtensionFeatureModel.h"
#include "models/OSDModel.h"
#include "models/SmoothTrackingModel.h"
#include "models/TrackingFrameModel.h"

#include <QDebug>
#include <QPointer>

namespace {

// The payload model of a reply, or none.
template <typename Model>
std::shared_ptr<const Model> cameraReplyModel(const QOVAReplyObject &reply)
{
    const auto *model = std::get_if<QOVAModelRef>(&reply);
    return model ? qova_model_cast<Model>(*model) : nullptr;
}

QOVAIOManager *cameraManager() { return QOVAIOManager::usbManagerShared(); }

} // namespace

// ------------------------------------------------------------- tracking

namespace {
constexpr char kTrackingPage[] = "cameraTrackingView";
constexpr char kCameraPage[] = "cameraSettingsView";

// The tracking page when it was built, whether or not it is shown; never
// builds it.
QOVACameraTrackingView *builtTrackingPageOf(QOVADeviceInfoViewController *controller)
{
    return controller ? qobject_cast<QOVACameraTrackingView *>(controller->builtPage(QLatin1String(kTrackingPage)))
                      : nullptr;
}
} // namespace

void QOVADeviceInfoViewController::getAutoTrackingStatus()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    cameraManager()->getAutoTracking(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            const auto model = cameraReplyModel<AutoTrackingModel>(reply);
            if (!model) {
                QOVA_LOG(ERROR, UI, "Get auto-tracking settings failure, reason is %s", "the reply holds no settings");
                return;
            }
            QOVA_LOG(INFO, UI, "Succeed to get auto-tracking settings.");
            if (!self)
                return;
            self->printLogForJsonModel(*model);
            if (auto *page = self->pageAs<QOVACameraTrackingView>(QLatin1String(kTrackingPage)))
                page->updateCameraTrackingUI(model->group_framing, model->talker_tracking, model->tracking_speed,
                                             model->framing_size);
        },
        readFailure("Get auto-tracking settings failure, reason is ", kTrackingPage));
}

void QOVADeviceInfoViewController::setAutoTrackingStatus(bool groupFraming, bool talkerTracking,
                                                         const QString &trackingSpeed, const QString &framingSize)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    auto page = [self] { return builtTrackingPageOf(self); };
    cameraManager()->setAutoTracking(
        serialNumber(), groupFraming, talkerTracking, trackingSpeed, framingSize,
        [page](const QString &) {
            QOVA_LOG(INFO, UI, "Succeed to set Group Framing.");
            if (QOVACameraTrackingView *p = page())
                p->showNotificationWindow(true, qtTrId("NOTIFICATION_TIP_SAVE_SUCCESSED"));
        },
        [self, page](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set Group Framing failure, reason is %s", qUtf8Printable(reason));
            // One Save writes up to three settings: their failures share
            // one toast.
            if (page())
                self->saveFailedToast(QLatin1String(kTrackingPage));
        });
}

void QOVADeviceInfoViewController::getSmoothTrackingStatus()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    cameraManager()->getSmoothTracking(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            const auto model = cameraReplyModel<SmoothTrackingModel>(reply);
            if (!model) {
                QOVA_LOG(ERROR, UI, "Request SmoothTracking Status info Failure: %s", "the reply holds no state");
                return;
            }
            QOVA_LOG(INFO, UI, "Get SmoothTracking Success!");
            if (!self)
                return;
            if (auto *page = self->pageAs<QOVACameraTrackingView>(QLatin1String(kTrackingPage)))
                page->updateSmoothTrackingStatus(model->smooth_transition_mode);
        },
        readFailure("Request SmoothTracking Status info Failure: ", kTrackingPage));
}

void QOVADeviceInfoViewController::setSmoothTracking(bool enable)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    auto page = [self] { return builtTrackingPageOf(self); };
    cameraManager()->setSmoothTracking(
        serialNumber(), enable,
        [page, enable](const QString &) {
            QOVA_LOG(INFO, UI, "Set SmoothTracking Mode Success!");
            if (QOVACameraTrackingView *p = page())
                p->smoothTrackingSaved(enable, true);
        },
        [self, page, enable](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set SmoothTracking Status info Failure: %s", qUtf8Printable(reason));
            if (QOVACameraTrackingView *p = page()) {
                p->smoothTrackingSaved(enable, false);
                self->saveFailedToast(QLatin1String(kTrackingPage));
            }
        });
}

void QOVADeviceInfoViewController::getMaximumZoomLevel()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    cameraManager()->getNumberTrackingFrame(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            const auto model = cameraReplyModel<TrackingFrameModel>(reply);
            if (!model) {
                QOVA_LOG(ERROR, UI, "Get Tracking Frame info Failure: %s", "the reply holds no zoom level");
                return;
            }
            QOVA_LOG(INFO, UI, "Get Tracking Frame Success!");
            if (!self)
                return;
            if (auto *page = self->pageAs<QOVACameraTrackingView>(QLatin1String(kTrackingPage)))
                page->updateMaximumZoom(model->zoom_level);
        },
        readFailure("Get Tracking Frame info Failure: ", kTrackingPage));
}

void QOVADeviceInfoViewController::setMaximumZoomLevel(const QString &level)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    auto page = [self] { return builtTrackingPageOf(self); };
    const int zoom = level.toInt();
    cameraManager()->setNumberTrackingFrame(
        serialNumber(), level,
        [page, zoom](const QString &) {
            QOVA_LOG(INFO, UI, "Set Tracking Frame Success!");
            if (QOVACameraTrackingView *p = page())
                p->maximumZoomSaved(zoom, true);
        },
        [self, page, zoom](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set Tracking Frame Failure: %s", qUtf8Printable(reason));
            if (QOVACameraTrackingView *p = page()) {
                p->maximumZoomSaved(zoom, false);
                self->saveFailedToast(QLatin1String(kTrackingPage));
            }
        });
}

// -------------------------------------------------- on-screen display

void QOVADeviceInfoViewController::osdView(QOVAOSDView *page, bool enableOSD)
{
    QPointer<QOVAOSDView> target(page);
    cameraManager()->setOrbrinDeviceOsd(
        serialNumber(), enableOSD,
        [target, enableOSD](const QString &) {
            if (target)
                target->setOSDEnabled(enableOSD);
            QOVA_LOG(INFO, UI, "Set osd status successfully.");
        },
        [target](const QString &reason) {
            if (target)
                target->setOSDFailed();
            QOVA_LOG(ERROR, UI, "Set osd status Failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::osdViewGetStatus(QOVAOSDView *page)
{
    QPointer<QOVAOSDView> target(page);
    QPointer<QOVADeviceInfoViewController> self(this);
    cameraManager()->getUSBDeviceOsd(
        serialNumber(),
        [self, target](const QOVAReplyObject &reply) {
            const auto model = cameraReplyModel<OSDModel>(reply);
            if (!model) {
                QOVA_LOG(ERROR, UI, "Get osd status Failure, reason is %s", "the reply holds no state");
                return;
            }
            QOVA_LOG(INFO, UI, "Get osd status successfully.");
            if (self)
                self->printLogForJsonModel(*model);
            if (target)
                target->setOSDEnabled(model->enable);
        },
        readFailure("Get osd status Failure, reason is ", "osdView"));
}

// ---------------------------------------------------------------- camera page

namespace {
QOVACameraSettingsView *cameraPageOf(QOVADeviceInfoViewController *controller)
{
    return controller ? controller->pageAs<QOVACameraSettingsView>(QLatin1String(kCameraPage)) : nullptr;
}
} // namespace

void QOVADeviceInfoViewController::getCameraAutoTrackingStatus()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    cameraManager()->getAutoTracking(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            const auto model = cameraReplyModel<AutoTrackingModel>(reply);
            if (!model) {
                QOVA_LOG(ERROR, UI, "Get auto-tracking settings failure, reason is %s", "the reply holds no settings");
                return;
            }
            QOVA_LOG(INFO, UI, "Succeed to get auto-tracking settings.");
            if (QOVACameraSettingsView *page = cameraPageOf(self))
                page->updateWithGroupFraming(model->group_framing, model->talker_tracking);
        },
        readFailure("Get auto-tracking settings failure, reason is ", kCameraPage));
}

void QOVADeviceInfoViewController::updateUVCControls()
{
    cameraManager()->updateUVCControls(serialNumber());
}

// The pad's buttons fire as fast as they are clicked: while the camera does
// not move, one toast says so, not one per click.
void QOVADeviceInfoViewController::setZoomAbs(bool zoomIn)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::setZoomAbs");
    auto success = [](const QString &) { qDebug("SetZoomAbs Success."); };
    const QOVAFailureBlock failure = saveFailure("setZoomAbs failure, reason is ", kCameraPage);
    if (!m_model)
        return;
    if (m_model->isOrbrin())
        cameraManager()->setZoomAbs(serialNumber(), zoomIn, success, failure);
    else if (m_model->isVasko())
        cameraManager()->setZoomAbs(serialNumber(), zoomIn, -1.0, success, failure);
}

void QOVADeviceInfoViewController::setPanTiltAbs(bool isPan, bool direct)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::setPanTiltAbs");
    auto success = [](const QString &) { qDebug("setPanTiltAbs Success."); };
    const QOVAFailureBlock failure = saveFailure("setPanTiltAbs failure, reason is ", kCameraPage);
    if (!m_model)
        return;
    if (m_model->isOrbrin())
        cameraManager()->setPanTiltAbs(serialNumber(), isPan, direct, success, failure);
    else if (m_model->isVasko())
        cameraManager()->setPanTiltAbs(serialNumber(), isPan, direct, -1.0, success, failure);
}

void QOVADeviceInfoViewController::getCameraSettingData(const QOVACameraSettingModelRef &model)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::getCameraSettingData");
    QPointer<QOVADeviceInfoViewController> self(this);
    cameraManager()->getCameraSettingData(
        serialNumber(), model, [](const QString &) { qDebug("getCameraSettingData Success."); },
        [self, model](const QString &reason) {
            if (model)
                model->setIsSupported(false);
            QOVA_LOG(ERROR, UI, "getCameraSettingData failure, reason is %s", qUtf8Printable(reason));
            if (self)
                self->readFailedToast(QLatin1String(kCameraPage));
        });
}

void QOVADeviceInfoViewController::setCameraSettingData(const QOVACameraSettingModelRef &model, bool isReset)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::setCameraSettingData");
    cameraManager()->setCameraSettingData(
        serialNumber(), model, isReset, [](const QString &) { qDebug("setCameraSettingData Success."); },
        saveFailure("setCameraSettingData failure, reason is ", kCameraPage));
}

void QOVADeviceInfoViewController::setCameraPreset(quint64 index, const QString &action)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::setCameraPreset_%d", int(index));
    cameraManager()->setCameraPreset(
        serialNumber(), index, action, [](const QString &) { qDebug("setCameraPreset Success."); },
        saveFailure("setCameraPreset failure, reason is ", kCameraPage));
}

void QOVADeviceInfoViewController::getCameraExtensionFeature()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    cameraManager()->getUSBDeviceCameraExtensionFeature(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            const auto model = cameraReplyModel<CameraExtensionFeatureModel>(reply);
            if (!model) {
                QOVA_LOG(ERROR, UI, "Get Camera Extension Feature Status failure, reason is %s",
                         "the reply holds no features");
                return;
            }
            if (QOVACameraSettingsView *page = cameraPageOf(self)) {
                page->updateCameraExtensionFeatureUI(model->skin_enhancement, model->wide_dynamic_range,
                                                     model->participant_count);
                page->updateWithGroupFraming(model->group_framing, model->talker_tracking);
            }
            QOVA_LOG(INFO, UI, "Succeed to get Camera Extension Feature Status!");
        },
        readFailure("Get Camera Extension Feature Status failure, reason is ", kCameraPage));
}

void QOVADeviceInfoViewController::setSkinEnhancement(bool enable)
{
    QOVACameraSettingsView *page = cameraPageOf(this);
    const bool wdr = page && page->getWdrSwitchStatus();
    const bool count = page && page->getPartCountSwitchStatus();
    QPointer<QOVADeviceInfoViewController> self(this);
    cameraManager()->setUSBDeviceCameraExtensionFeature(
        serialNumber(), enable, wdr, count,
        [](const QString &) { QOVA_LOG(INFO, UI, "Succeed to set Skin Enhancement Status!"); },
        [self, enable](const QString &reason) {
            if (QOVACameraSettingsView *p = cameraPageOf(self)) {
                p->updateSkinEnhancementUI(!enable);
                self->saveFailedToast(QLatin1String(kCameraPage));
            }
            QOVA_LOG(ERROR, UI, "Set Skin Enhancement Status failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::setWideDynamicRange(bool enable)
{
    QOVACameraSettingsView *page = cameraPageOf(this);
    const bool skin = page && page->getSkinEnhSwitchStatus();
    const bool count = page && page->getPartCountSwitchStatus();
    QPointer<QOVADeviceInfoViewController> self(this);
    cameraManager()->setUSBDeviceCameraExtensionFeature(
        serialNumber(), skin, enable, count,
        [](const QString &) { QOVA_LOG(INFO, UI, "Succeed to set Wide Dynamic Range Status!"); },
        [self, enable](const QString &reason) {
            if (QOVACameraSettingsView *p = cameraPageOf(self)) {
                p->updateWideDynamicRangeUI(!enable);
                self->saveFailedToast(QLatin1String(kCameraPage));
            }
            QOVA_LOG(ERROR, UI, "Set Wide Dynamic Range Status failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::setParticipantCount(bool enable)
{
    QOVACameraSettingsView *page = cameraPageOf(this);
    const bool skin = page && page->getSkinEnhSwitchStatus();
    const bool wdr = page && page->getWdrSwitchStatus();
    QPointer<QOVADeviceInfoViewController> self(this);
    cameraManager()->setUSBDeviceCameraExtensionFeature(
        serialNumber(), skin, wdr, enable,
        [](const QString &) { QOVA_LOG(INFO, UI, "Succeed to set Participant Count Status!"); },
        [self, enable](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set Participant Count Status failure, reason is %s", qUtf8Printable(reason));
            if (QOVACameraSettingsView *p = cameraPageOf(self)) {
                p->updateParticipantCountUI(!enable);
                self->saveFailedToast(QLatin1String(kCameraPage));
            }
        });
}
