// The device page controller's side of the provisioning server page: read
// the device's provisioning settings, write them and the DHCP option, and
// show the outcome on the page.

#include "QOVADeviceInfoViewController.h"

#include "setup/QOVAProvisionServerView.h"

#include "QOVAIOManager.h"
#include "log/log.h"
#include "models/ProvisionServerInfoModel.h"

#include <QPointer>

namespace {

const char kProvisionServerView[] = "provisionServerView";

} // namespace

QOVAProvisionServerView *QOVADeviceInfoViewController::provisionServerView()
{
    return pageAs<QOVAProvisionServerView>(QLatin1String(kProvisionServerView));
}

void QOVADeviceInfoViewController::requestProvision()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinProvisionServerInformation(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            const QOVAModelRef *model = std::get_if<QOVAModelRef>(&reply);
            const auto info = model ? std::dynamic_pointer_cast<const ProvisionServerInfoModel>(*model) : nullptr;
            if (!info || !info->provision_server_info) {
                QOVA_LOG(ERROR, UI, "Requset Provision Failure, reason is %s", "the reply holds no settings");
                return;
            }
            if (!self)
                return;
            if (auto *page = qobject_cast<QOVAProvisionServerView *>(self->builtPage(QLatin1String(kProvisionServerView))))
                page->provisionModel(info->provision_server_info);
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Requset Provision Failure, reason is %s", qUtf8Printable(reason));
            if (self)
                self->readFailedToast(QLatin1String(kProvisionServerView));
        });
}

void QOVADeviceInfoViewController::setProvisionWithUrl(const QString &url, const QString &name,
                                                       const QString &password, const QString &mode,
                                                       const QString &type)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    const auto page = [self]() -> QOVAProvisionServerView * {
        return self ? qobject_cast<QOVAProvisionServerView *>(self->builtPage(QLatin1String(kProvisionServerView)))
                    : nullptr;
    };
    QOVAIOManager::usbManagerShared()->setUSBDeviceProvisionInformation(
        serialNumber(), url, name, password, mode, type,
        [page](const QString &) {
            QOVA_LOG(INFO, UI, "SetProvision Success");
            if (QOVAProvisionServerView *view = page()) {
                // Written: the password is not kept on screen.
                view->clearPassword();
                view->showNotificationWindow(true, qtTrId("NOTIFICATION_TIP_SAVE_SUCCESSED"));
            }
        },
        [page](const QString &reason) {
            QOVA_LOG(ERROR, UI, "SetProvision Failure: %s", qUtf8Printable(reason));
            if (QOVAProvisionServerView *view = page())
                view->showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_SAVE_FAILED"));
        });
}

void QOVADeviceInfoViewController::setDhcpOption(const QString &option)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->setUSBDeviceDhcpOption(
        serialNumber(), option,
        [](const QString &) { QOVA_LOG(INFO, UI, "Set DHCP Option Success!"); },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set DHCP Option failure: %s", qUtf8Printable(reason));
            // A refused option must not pass for saved behind the settings'
            // success toast.
            if (!self)
                return;
            if (auto *view = qobject_cast<QOVAProvisionServerView *>(self->builtPage(QLatin1String(kProvisionServerView))))
                view->showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_SAVE_FAILED"));
        });
}
