#include "QOVAVaskoOOBViewController.h"

#include "QOVAIOManager.h"
#include "log/log.h"

#include "NetworkInfoModel.h"

QOVAVaskoOOBViewController::QOVAVaskoOOBViewController(QObject *parent)
    : QOVASetupWizardController(parent)
{
}

void QOVAVaskoOOBViewController::viewDidLoad()
{
    QOVA_LOG(INFO, UI, "Enter Vasko OOB ViewController viewDidLoad");
    QOVABaseViewController::viewDidLoad();
    QOVA_LOG(INFO, UI, "Enter Vasko OOB ViewController setupOOBView");
    pushPage(Step::SignIn);
    QOVA_LOG(INFO, UI, "Leave Vasko OOB ViewController setupOOBView");
    QOVA_LOG(INFO, UI, "Leave Vasko OOB ViewController viewDidLoad");
}

QString QOVAVaskoOOBViewController::countryStepDeviceName() const
{
    return model() ? model()->productDeviceName : QString();
}

QOVAOOBVaskoNetworkView *QOVAVaskoOOBViewController::networkView()
{
    if (!m_networkView) {
        m_networkView = new QOVAOOBVaskoNetworkView;
        m_networkView->setBaseViewDelegate(this);
        m_networkView->setDelegate(this);
        applyFamilyLook(m_networkView, true);
    }
    return m_networkView;
}

void QOVAVaskoOOBViewController::networkPageShown(bool)
{
    if (m_networkView && isActive())
        m_networkView->handleDisplayViewEvent();
}

void QOVAVaskoOOBViewController::networkPageLeft()
{
    if (m_networkView)
        m_networkView->cancelDisplayViewEvent();
}

void QOVAVaskoOOBViewController::stopNetworkPage()
{
    if (m_networkView)
        m_networkView->cancelDisplayViewEvent();
}

void QOVAVaskoOOBViewController::restartNetworkTimer()
{
    if (isActive() && m_networkView)
        m_networkView->restartNetworkTimer();
}

void QOVAVaskoOOBViewController::networkStatus()
{
    if (!isActive())
        return;
    QPointer<QOVAVaskoOOBViewController> self(this);
    QOVAIOManager::usbManagerShared()->getVaskoNetworkConnectionInformation(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            if (!self || !self->isActive() || !self->m_networkView)
                return;
            const auto *model = std::get_if<QOVAModelRef>(&reply);
            self->m_networkView->networkModel(model ? qova_model_cast<NetworkInfoModel>(*model) : nullptr);
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "OOB Get NetworkStatus Failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVAVaskoOOBViewController::connectIPV4WithDictionaryParams(const QJsonObject &params)
{
    if (!isActive())
        return;
    QPointer<QOVAVaskoOOBViewController> self(this);
    QOVAIOManager::usbManagerShared()->connetcUSBNetwork(
        serialNumber(), params,
        [self](const QString &text) {
            QOVA_LOG(INFO, UI, "Connect NetworkStatus Success, %s", qUtf8Printable(text));
            if (self)
                self->restartNetworkTimer();
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Connect NetworkStatus Failure, reason is %s", qUtf8Printable(reason));
            if (self)
                self->restartNetworkTimer();
        });
}

void QOVAVaskoOOBViewController::enableVaskoWiFi(const QJsonObject &params)
{
    if (!isActive())
        return;
    QPointer<QOVAVaskoOOBViewController> self(this);
    QOVAIOManager::usbManagerShared()->enableVaskoNetwork(
        serialNumber(), params,
        [self](const QString &) {
            QOVA_LOG(INFO, UI, "Enable and Change Network Mode Successful!");
            if (self)
                self->restartNetworkTimer();
        },
        [self](const QString &) {
            QOVA_LOG(INFO, UI, "Enable and Change Network Mode Failuer!");
            if (self)
                self->restartNetworkTimer();
        });
}

void QOVAVaskoOOBViewController::clickNextOnNetwork()
{
    if (!isActive() || topStep() != Step::Network)
        return;
    networkPageLeft();
    pushPage(Step::Provision);
}

void QOVAVaskoOOBViewController::setDHCPOptionStartup(const QString &option)
{
    if (!isActive())
        return;
    QPointer<QOVAVaskoOOBViewController> self(this);
    QOVAIOManager::usbManagerShared()->setUSBDeviceDhcpOption(
        serialNumber(), option,
        [](const QString &) { QOVA_LOG(INFO, UI, "Set DHCP Option Success!"); },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set DHCP Option failure: %s", qUtf8Printable(reason));
            // The option did not reach the device: said on the page it was
            // set on (a toast shows whichever page is in front).
            if (!self || !self->isActive())
                return;
            if (QOVAHalvexOOBBaseView *page = self->topPage())
                page->showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_SAVE_FAILED"));
        });
}
