#include "QOVAHalvexOOBViewController.h"

#include "QOVAIOManager.h"
#include "log/log.h"

#include "WiFiStatusModel.h"
#include "WifiInfoModel.h"

namespace {

template <typename Model>
std::shared_ptr<const Model> wifiReplyModel(const QOVAReplyObject &reply)
{
    const auto *model = std::get_if<QOVAModelRef>(&reply);
    return model ? qova_model_cast<Model>(*model) : nullptr;
}

} // namespace

QOVAHalvexOOBViewController::QOVAHalvexOOBViewController(QObject *parent)
    : QOVASetupWizardController(parent)
{
}

QOVAHalvexWiFiView *QOVAHalvexOOBViewController::wifiView()
{
    if (!m_wifiView) {
        m_wifiView = new QOVAHalvexWiFiView;
        m_wifiView->setDelegate(this);
        m_wifiView->setBaseViewDelegate(this);
    }
    return m_wifiView;
}

void QOVAHalvexOOBViewController::networkPageShown(bool added)
{
    // A page newly put in front asks the Wi-Fi state; one shown again by
    // Back has followed the device all along.
    if (added)
        wifiStatus();
}

void QOVAHalvexOOBViewController::stopNetworkPage()
{
    if (m_wifiView)
        m_wifiView->stopEvents();
}

void QOVAHalvexOOBViewController::getWiFiList()
{
    if (!isActive())
        return;
    QPointer<QOVAHalvexOOBViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinWifiInformationList(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            if (!self || !self->isActive() || !self->m_wifiView)
                return;
            self->m_wifiView->updateOOBWiFiList(wifiReplyModel<WifiInfoModel>(reply));
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get OOB WiFi List failure, the reason is %s", qUtf8Printable(reason));
        });
}

void QOVAHalvexOOBViewController::connectOOBWifiWithNetWorkName(const QJsonObject &params)
{
    if (!isActive())
        return;
    QOVAIOManager::usbManagerShared()->connectDeviceSpecficWifi(
        params, serialNumber(), [](const QString &) { QOVA_LOG(INFO, UI, "Connect WiFi is Succseefu!"); },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Connect WiFi Failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVAHalvexOOBViewController::wifiStatus()
{
    if (!isActive())
        return;
    QPointer<QOVAHalvexOOBViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinWifiStatus(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            if (!self || !self->isActive() || !self->m_wifiView)
                return;
            const auto status = wifiReplyModel<WiFiStatusModel>(reply);
            if (!status) {
                QOVA_LOG(ERROR, UI, "Get WiFi Status is Failure: %s", "the reply holds no Wi-Fi status");
                return;
            }
            self->m_wifiView->updateOOBWiFiStatus(status);
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get WiFi Status is Failure: %s", qUtf8Printable(reason));
        });
}

void QOVAHalvexOOBViewController::gotoOOBProvisionView()
{
    if (!isActive() || topStep() != Step::Network)
        return;
    pushPage(Step::Provision);
}

void QOVAHalvexOOBViewController::wifiEnable(bool enable)
{
    if (!isActive())
        return;
    QOVAIOManager::usbManagerShared()->setDeviceWifiEnable(
        enable, serialNumber(),
        [](const QString &text) { QOVA_LOG(INFO, HID, "Put WiFi Enable Success:%s", qUtf8Printable(text)); },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "put wifi enable or disable Failure, reason is %s", qUtf8Printable(reason));
        });
}
