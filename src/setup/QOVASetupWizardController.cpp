#include "QOVASetupWizardController.h"

#include "QOVAHalvexCompleteView.h"
#include "QOVAHalvexCountryView.h"
#include "QOVAHalvexDeviceNameView.h"
#include "QOVAHalvexPageIndicatorView.h"
#include "QOVAHalvexPasswordView.h"
#include "QOVAHalvexProvisionView.h"
#include "QOVAHalvexSignInView.h"

#include "AppDelegate.h"
#include "QOVADeviceListViewController.h"
#include "QOVAIOManager.h"
#include "device/QOVADeviceInfoViewController.h"
#include "firmware/ui/QOVAFirmwareViewController.h"
#include "log/log.h"

#include "ProvisionModel.h"
#include "ProvisionServerInfoModel.h"
#include "SimplePasswordModel.h"

#include "QOVALabel.h"
#include "QOVATextField.h"

#include <cstdio>

namespace {

template <typename Model>
std::shared_ptr<const Model> wizardReplyModel(const QOVAReplyObject &reply)
{
    const auto *model = std::get_if<QOVAModelRef>(&reply);
    return model ? qova_model_cast<Model>(*model) : nullptr;
}

} // namespace

QOVASetupWizardController::QOVASetupWizardController(QObject *parent)
    : QOVABaseViewController(parent)
{
}

QOVASetupWizardController::~QOVASetupWizardController() = default;

QString QOVASetupWizardController::serialNumber() const
{
    return m_model ? m_model->serialNumber : QString();
}

// --- showing and leaving --------------------------------------------------------

void QOVASetupWizardController::viewDidLoad()
{
    QOVABaseViewController::viewDidLoad();
    setupOOBView();
}

void QOVASetupWizardController::setupOOBView()
{
    pushPage(Step::SignIn);
}

void QOVASetupWizardController::viewWillAppear()
{
    QOVABaseViewController::viewWillAppear();
    // The pages of the set-up (provisioning among them) read the firmware
    // version of the open device: it is this device's from now on.
    if (!m_versionSet) {
        m_versionSet = true;
        storeCurrentDeviceVersion();
    }
}

void QOVASetupWizardController::didLeaveMainWindow()
{
    QOVABaseViewController::didLeaveMainWindow();
    if (m_left)
        return;
    m_left = true;
    QOVA_LOG(INFO, UI, "Leave the OOB wizard of %s", qUtf8Printable(serialNumber()));
    stopNetworkPage();
}

void QOVASetupWizardController::storeCurrentDeviceVersion() const
{
    if (m_model)
        QOVADeviceListViewController::storeCurrentDeviceVersion(*m_model);
}

// --- pages -------------------------------------------------------------------------

void QOVASetupWizardController::applyFamilyLook(QOVAHalvexOOBBaseView *page, bool networkLabel)
{
    if (!isVaskoWizard() || !page)
        return;
    if (m_model)
        page->setTitleText(m_model->productName);
    if (networkLabel) {
        page->pageIndicatorView()->wifiLabel()->setStringValue(qtTrId("STRING_NETWORK"));
        page->pageIndicatorView()->setupPageIndicatorView();
    }
}

QOVAHalvexSignInView *QOVASetupWizardController::signInView()
{
    if (!m_signInView) {
        m_signInView = new QOVAHalvexSignInView;
        m_signInView->setDelegate(this);
        applyFamilyLook(m_signInView, true);
    }
    return m_signInView;
}

QOVAHalvexPasswordView *QOVASetupWizardController::passwordView()
{
    if (!m_passwordView) {
        m_passwordView = new QOVAHalvexPasswordView;
        m_passwordView->setBaseViewDelegate(this);
        m_passwordView->setDelegate(this);
        applyFamilyLook(m_passwordView, false);
    }
    return m_passwordView;
}

QOVAHalvexCountryView *QOVASetupWizardController::countryView()
{
    if (!m_countryView) {
        m_countryView = new QOVAHalvexCountryView;
        m_countryView->setOobCountryViewDelegate(this);
        m_countryView->setBaseViewDelegate(this);
        applyFamilyLook(m_countryView, true);
    }
    return m_countryView;
}

QOVAHalvexDeviceNameView *QOVASetupWizardController::deviceNameView()
{
    if (!m_deviceNameView) {
        m_deviceNameView = new QOVAHalvexDeviceNameView;
        m_deviceNameView->setDeviceNameDelegate(this);
        m_deviceNameView->setBaseViewDelegate(this);
        if (isVaskoWizard()) {
            applyFamilyLook(m_deviceNameView, true);
            if (m_model) {
                m_deviceNameView->userNameTextField()->setStringValue(m_model->productDeviceName);
                m_deviceNameView->setSettingsModel(m_model);
            }
        }
    }
    return m_deviceNameView;
}

QOVAHalvexProvisionView *QOVASetupWizardController::provisionView()
{
    if (!m_provisionView) {
        m_provisionView = new QOVAHalvexProvisionView(m_model ? m_model->productId : QString());
        m_provisionView->setDelegate(this);
        m_provisionView->setBaseViewDelegate(this);
        applyFamilyLook(m_provisionView, true);
    }
    return m_provisionView;
}

QOVAHalvexCompleteView *QOVASetupWizardController::completeView()
{
    if (!m_completeView) {
        m_completeView = new QOVAHalvexCompleteView;
        m_completeView->setDelegate(this);
        m_completeView->setBaseViewDelegate(this);
        if (isVaskoWizard()) {
            applyFamilyLook(m_completeView, true);
            m_completeView->setFinishTipText(qtTrId("OOB_COMPLETE_TIP_VASKO"));
        }
    }
    return m_completeView;
}

QOVAHalvexOOBBaseView *QOVASetupWizardController::pageFor(Step step)
{
    switch (step) {
    case Step::SignIn:
        return signInView();
    case Step::Password:
        return passwordView();
    case Step::Country:
        return countryView();
    case Step::DeviceName:
        return deviceNameView();
    case Step::Network:
        return networkPage();
    case Step::Provision:
        return provisionView();
    case Step::Complete:
        return completeView();
    }
    return nullptr;
}

QOVAHalvexOOBBaseView *QOVASetupWizardController::topPage() const
{
    if (m_stack.isEmpty())
        return nullptr;
    return const_cast<QOVASetupWizardController *>(this)->pageFor(m_stack.last());
}

void QOVASetupWizardController::pushPage(Step step)
{
    if (QOVAHalvexOOBBaseView *under = topPage())
        under->setHidden(true);
    QOVAHalvexOOBBaseView *page = pageFor(step);
    if (!page)
        return;
    // Pages fill the view under the navigation bar (the top 56 points).
    page->setParent(view());
    page->setGeometry(0, 56, 820, 544);
    page->setHidden(false);
    page->raise();
    m_stack.append(step);
}

void QOVASetupWizardController::dropPage(Step step)
{
    switch (step) {
    case Step::DeviceName:
        if (m_deviceNameView) {
            m_deviceNameView->hide();
            m_deviceNameView->deleteLater();
        }
        m_deviceNameView = nullptr;
        break;
    case Step::Network:
        // The page stops being current for good.
        stopNetworkPage();
        if (QOVAHalvexOOBBaseView *page = networkPage()) {
            page->hide();
            page->deleteLater();
        }
        forgetNetworkPage();
        break;
    case Step::Provision:
        if (m_provisionView) {
            m_provisionView->hide();
            m_provisionView->deleteLater();
        }
        m_provisionView = nullptr;
        break;
    case Step::Complete:
        if (m_completeView) {
            m_completeView->hide();
            m_completeView->deleteLater();
        }
        m_completeView = nullptr;
        break;
    default:
        break;
    }
}

// --- Back and Skip ---------------------------------------------------------------------

void QOVASetupWizardController::pageControlGoBack()
{
    if (m_left || m_stack.isEmpty())
        return;
    const Step removed = m_stack.last();
    // Back is offered from the device name page on.
    if (removed != Step::DeviceName && removed != Step::Network && removed != Step::Provision
        && removed != Step::Complete)
        return;
    m_stack.removeLast();
    dropPage(removed);
    if (QOVAHalvexOOBBaseView *shown = topPage())
        shown->setHidden(false);
    if (removed == Step::Provision)
        networkPageShown(false);
}

void QOVASetupWizardController::pageControlSkip()
{
    if (m_left || m_stack.isEmpty())
        return;
    switch (m_stack.last()) {
    case Step::DeviceName:
        pushPage(Step::Network);
        networkPageShown(true);
        break;
    case Step::Network:
        networkPageLeft();
        pushPage(Step::Provision);
        break;
    case Step::Provision:
        pushPage(Step::Complete);
        break;
    default:
        break;
    }
}

// --- sign-in and password ---------------------------------------------------------------

void QOVASetupWizardController::signInWithPassword(const QString &password)
{
    if (m_left)
        return;
    QPointer<QOVASetupWizardController> self(this);
    const bool vasko = isVaskoWizard();
    QOVAIOManager::usbManagerShared()->loginDeviceUsingPassword(
        password, serialNumber(),
        [self](const QString &) {
            if (!self || self->m_left)
                return;
            QOVA_LOG(INFO, UI, "%s", self->signInSuccessLog());
            if (self->m_signInView)
                self->m_signInView->clearPassword();
            if (self->topStep() == Step::SignIn)
                self->pushPage(Step::Password);
        },
        [self, vasko](const QString &reason) {
            if (vasko)
                QOVA_LOG(ERROR, UI, "Vasko OOB Sign in failure, reason is %s", qUtf8Printable(reason));
            else
                QOVA_LOG(ERROR, UI, "OOB Sign in failure, reason is %s", qUtf8Printable(reason));
            if (self && !self->m_left && self->m_signInView)
                self->m_signInView->showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_LOGIN_FAILED"));
        });
}

void QOVASetupWizardController::modifyOldPassword(const QString &oldPassword, const QString &newPassword)
{
    if (m_left)
        return;
    QPointer<QOVASetupWizardController> self(this);
    QOVAIOManager::usbManagerShared()->modifyAdminPassword(
        serialNumber(), oldPassword, newPassword,
        [self](const QString &) {
            if (!self || self->m_left)
                return;
            QOVA_LOG(INFO, UI, "%s", self->passwordSuccessLog());
            if (self->m_passwordView)
                self->m_passwordView->clearPasswords();
            if (self->topStep() == Step::Password)
                self->pushPage(Step::Country);
        },
        [self](const QString &reason) {
            if (!self)
                return;
            QOVA_LOG(ERROR, UI, self->passwordFailureLog(), qUtf8Printable(reason));
            if (self->m_left || !self->m_passwordView)
                return;
            if (reason == QLatin1String("invalid old password"))
                self->m_passwordView->showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_OLD_PWD_ERROR"));
            else if (reason == QLatin1String("invalid new password"))
                self->m_passwordView->showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_NEW_PWD_ERROR"));
        });
}

void QOVASetupWizardController::getSimplePasswordStatus()
{
    if (m_left)
        return;
    QPointer<QOVASetupWizardController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinSimplePasswordStatus(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            if (!self || self->m_left || !self->m_passwordView)
                return;
            const auto model = wizardReplyModel<SimplePasswordModel>(reply);
            self->m_passwordView->updateOOBSimplePasswordStatus(model && model->isSimple_password());
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get OOB Simple Password failure, reason is %s", qUtf8Printable(reason));
            if (self && !self->m_left && self->m_passwordView)
                self->m_passwordView->updateOOBSimplePasswordStatus(false);
        });
}

void QOVASetupWizardController::enableSimplePassword(bool enable)
{
    if (m_left)
        return;
    QPointer<QOVASetupWizardController> self(this);
    QOVAIOManager::usbManagerShared()->setOrbrinSimpePasswordWithStatus(
        serialNumber(), enable,
        [](const QString &) { QOVA_LOG(INFO, UI, "Set OOB Simple Password successfully."); },
        [self, enable](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set OOB Simple Password failure, reason is %s", qUtf8Printable(reason));
            if (!self || self->m_left || !self->m_passwordView)
                return;
            // The tick goes back to what the device still has.
            self->m_passwordView->updateOOBSimplePasswordStatus(!enable);
            self->m_passwordView->showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_SAVE_FAILED"));
        });
}

// --- country and name ----------------------------------------------------------------------

void QOVASetupWizardController::confirmSelectedCountry(const QString &country)
{
    if (m_left)
        return;
    QPointer<QOVASetupWizardController> self(this);
    const QString deviceName = countryStepDeviceName();
    QOVAIOManager::usbManagerShared()->setOrbrinDeviceGeneralInformation(
        serialNumber(), deviceName, country, QString(), QString(),
        [self, country, deviceName](const QString &) {
            if (!self || self->m_left)
                return;
            QOVA_LOG(INFO, UI, "Set OOB Device Country Success!");
            self->m_countryName = country;
            if (!self->isVaskoWizard() && self->m_model)
                self->m_model->productDeviceName = deviceName;
            if (self->topStep() == Step::Country)
                self->pushPage(Step::DeviceName);
            self->addDeviceToFirmwarePage();
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set OOB Device Country Failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVASetupWizardController::changeDeviceName(const QString &name)
{
    if (m_left)
        return;
    QPointer<QOVASetupWizardController> self(this);
    QOVAIOManager::usbManagerShared()->setOrbrinDeviceGeneralInformation(
        serialNumber(), name, m_countryName, QString(), QString(),
        [self, name](const QString &) {
            if (!self || self->m_left)
                return;
            QOVA_LOG(INFO, UI, "Set OOB Device GeneralInfoMation Success!");
            if (self->m_model)
                self->m_model->productDeviceName = name;
            if (self->topStep() == Step::DeviceName) {
                self->pushPage(Step::Network);
                self->networkPageShown(true);
            }
            self->addDeviceToFirmwarePage();
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set OOB Device GeneralInfoMation Failure, reason is %s", qUtf8Printable(reason));
            if (!self || self->m_left || !self->isVaskoWizard() || !self->m_deviceNameView)
                return;
            self->m_deviceNameView->showNotificationWindow(
                false, qtTrId(reason == QLatin1String("Reject") ? "STRING_DEVICE_INVALID"
                                                                : "NOTIFICATION_TIP_SAVE_FAILED"));
        });
}

// --- provisioning --------------------------------------------------------------------------

void QOVASetupWizardController::requestProvisionSettings()
{
    if (m_left)
        return;
    QPointer<QOVASetupWizardController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinProvisionServerInformation(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            // The answer goes to the provisioning page held now; a page that
            // Back has dropped gets nothing.
            if (!self || self->m_left || !self->m_provisionView)
                return;
            const auto info = wizardReplyModel<ProvisionServerInfoModel>(reply);
            self->m_provisionView->updateProvisionUI(info ? info->provision_server_info : nullptr);
        },
        [self](const QString &reason) {
            if (!self)
                return;
            QOVA_LOG(ERROR, UI, self->provisionReadFailureLog(), qUtf8Printable(reason));
            if (!self->m_left && self->m_provisionView)
                self->m_provisionView->updateProvisionUI(nullptr);
        });
}

void QOVASetupWizardController::setProvisionWithUrl(const QString &url, const QString &name,
                                                    const QString &password, const QString &mode,
                                                    const QString &type)
{
    if (m_left)
        return;
    QPointer<QOVASetupWizardController> self(this);
    // The set-up goes on only once the device has taken the settings: a
    // refusal leaves the page with its values for another try or a skip.
    QOVAIOManager::usbManagerShared()->setUSBDeviceProvisionInformation(
        serialNumber(), url, name, password, mode, type,
        [self](const QString &) {
            QOVA_LOG(INFO, UI, "SetProvision Success");
            if (self && !self->m_left)
                self->finishProvisioning();
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "SetProvision Failure, the reason is %s", qUtf8Printable(reason));
            if (self && !self->m_left && self->m_provisionView)
                self->m_provisionView->showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_SAVE_FAILED"));
        });
}

void QOVASetupWizardController::finishProvisioning()
{
    if (m_provisionView)
        m_provisionView->clearPassword();
    if (topStep() == Step::Provision)
        pushPage(Step::Complete);
}

// --- the end -------------------------------------------------------------------------------

void QOVASetupWizardController::finishOOBSetting()
{
    if (m_left)
        return;
    AppDelegate *delegate = AppDelegate::sharedDelegate();
    if (!delegate)
        return;
    auto *controller = new QOVADeviceInfoViewController;
    delegate->setDeviceInfoController(controller);
    controller->setModel(m_model);
    // The device pages are those of this device: its version gates them, and
    // its name changes reach the device list and the firmware page.
    controller->setDeviceInfoDelegate(delegate->deviceListController());
    storeCurrentDeviceVersion();
    delegate->showDeviceController(controller);
}

QVariantMap QOVASetupWizardController::firmwareRecord() const
{
    if (!m_model)
        return {};
    return QVariantMap{
        {QStringLiteral("productName"), m_model->productName},
        {QStringLiteral("productDeviceName"), m_model->productDeviceName},
        {QStringLiteral("productSeriaNumber"), m_model->serialNumber},
        {QStringLiteral("productID"), m_model->productId},
        {QStringLiteral("productVID"), m_model->vendorId},
        {QStringLiteral("productVersion"), m_model->deviceVersion},
    };
}

void QOVASetupWizardController::addDeviceToFirmwarePage()
{
    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->firmwareController()->addObjectWithUserInfo(firmwareRecord());
}
