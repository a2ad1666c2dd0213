// The device page controller's camera, tracking and on-screen display
// operations: each sends one request for the open device and pushes the
// answer into the page that asked.

#include "QOVADeviceInfoViewController.h"

#include "camera/QOVACameraTrackingView.h"
#include "camera/QOVAOSDView.h"

#include "QOVAIOManager.h"
#include "log/log.h"
#include "models/AutoTrackingModel.h"
#include "models/OSDModel.h"
#include "models/SmoothTrackingModel.h"
#include "models/TrackingFrameModel.h"

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
            if (auto *page = self->pageAs<QOVACameraTrackingView>(QStringLiteral("cameraTrackingView")))
                page->updateCameraTrackingUI(model->group_framing, model->talker_tracking, model->tracking_speed,
                                             model->framing_size);
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get auto-tracking settings failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::setAutoTrackingStatus(bool groupFraming, bool talkerTracking,
                                                         const QString &trackingSpeed, const QString &framingSize)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    auto page = [self]() -> QOVACameraTrackingView * {
        return self ? self->pageAs<QOVACameraTrackingView>(QStringLiteral("cameraTrackingView")) : nullptr;
    };
    cameraManager()->setAutoTracking(
        serialNumber(), groupFraming, talkerTracking, trackingSpeed, framingSize,
        [page](const QString &) {
            QOVA_LOG(INFO, UI, "Succeed to set Group Framing.");
            if (QOVACameraTrackingView *p = page())
                p->showNotificationWindow(true, qtTrId("NOTIFICATION_TIP_SAVE_SUCCESSED"));
        },
        [page](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set Group Framing failure, reason is %s", qUtf8Printable(reason));
            if (QOVACameraTrackingView *p = page())
                p->showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_SAVE_FAILED"));
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
            if (auto *page = self->pageAs<QOVACameraTrackingView>(QStringLiteral("cameraTrackingView")))
                page->updateSmoothTrackingStatus(model->smooth_transition_mode);
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Request SmoothTracking Status info Failure: %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::setSmoothTracking(bool enable)
{
    cameraManager()->setSmoothTracking(
        serialNumber(), enable, [](const QString &) { QOVA_LOG(INFO, UI, "Set SmoothTracking Mode Success!"); },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set SmoothTracking Status info Failure: %s", qUtf8Printable(reason));
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
            if (auto *page = self->pageAs<QOVACameraTrackingView>(QStringLiteral("cameraTrackingView")))
                page->updateMaximumZoom(model->zoom_level);
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get Tracking Frame info Failure: %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::setMaximumZoomLevel(const QString &level)
{
    cameraManager()->setNumberTrackingFrame(
        serialNumber(), level, [](const QString &) { QOVA_LOG(INFO, UI, "Set Tracking Frame Success!"); },
        [](const QString &reason) { QOVA_LOG(ERROR, UI, "Set Tracking Frame Failure: %s", qUtf8Printable(reason)); });
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
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get osd status Failure, reason is %s", qUtf8Printable(reason));
        });
}
