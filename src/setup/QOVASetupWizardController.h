#pragma once
// The set-up wizard of a device that has never been set up, shared by the
// video bar's and the network camera's wizards: sign-in, password, country,
// device name, network, provisioning and completion, one device request per
// page, and at the end the device's own pages.
//
// Pages are made on first use and kept on an explicit stack: the page on
// top is the one the user sees, the pages under it are hidden. Back drops
// the top page (the next visit makes a new one); Skip adds the next page
// without a request. Leaving the wizard (another page shown: the
// navigation bar's back arrow, the device's removal or Finish) ends the
// network page's poll, list refresh and Wi-Fi events, and from then on the
// wizard sends nothing and ignores late answers.
//
//   auto *wizard = new QOVAHalvexOOBViewController;   // or the Vasko one
//   wizard->setModel(item);
//   appDelegate->setOrbrinOobVC(wizard);
//   appDelegate->showDeviceController(wizard);

#include "QOVABaseViewController.h"
#include "QOVADeviceListItem.h"

#include "QOVAHalvexCompleteViewDelegate.h"
#include "QOVAHalvexCountryViewDelegate.h"
#include "QOVAHalvexDeviceNameViewDelegate.h"
#include "QOVAHalvexOOBBaseViewDelegate.h"
#include "QOVAHalvexPasswordViewDelegate.h"
#include "QOVAHalvexProvisionViewDelegate.h"
#include "QOVAHalvexSignInViewDelegate.h"

#include <QList>
#include <QPointer>
#include <QVariantMap>

class QOVAHalvexCompleteView;
class QOVAHalvexCountryView;
class QOVAHalvexDeviceNameView;
class QOVAHalvexOOBBaseView;
class QOVAHalvexPasswordView;
class QOVAHalvexProvisionView;
class QOVAHalvexSignInView;

class QOVASetupWizardController : public QOVABaseViewController,
                                  public QOVAHalvexSignInViewDelegate,
                                  public QOVAHalvexPasswordViewDelegate,
                                  public QOVAHalvexOOBBaseViewDelegate,
                                  public QOVAHalvexCountryViewDelegate,
                                  public QOVAHalvexDeviceNameViewDelegate,
                                  public QOVAHalvexProvisionViewDelegate,
                                  public QOVAHalvexCompleteViewDelegate {
    Q_OBJECT
public:
    enum class Step { SignIn, Password, Country, DeviceName, Network, Provision, Complete };

    explicit QOVASetupWizardController(QObject *parent = nullptr);
    ~QOVASetupWizardController() override;

    void setModel(const QOVADeviceListItemRef &model) { m_model = model; }
    QOVADeviceListItemRef model() const { return m_model; }
    QString countryName() const { return m_countryName; }

    // The pages, made on first use.
    QOVAHalvexSignInView *signInView();
    QOVAHalvexPasswordView *passwordView();
    QOVAHalvexCountryView *countryView();
    QOVAHalvexDeviceNameView *deviceNameView();
    QOVAHalvexProvisionView *provisionView();
    QOVAHalvexCompleteView *completeView();
    // The family's network page.
    virtual QOVAHalvexOOBBaseView *networkPage() = 0;

    // The stack, bottom first, and the page on top.
    QList<Step> pageStack() const { return m_stack; }
    Step topStep() const { return m_stack.isEmpty() ? Step::SignIn : m_stack.last(); }
    QOVAHalvexOOBBaseView *topPage() const;
    // The page of a step (made when there is none).
    QOVAHalvexOOBBaseView *pageFor(Step step);
    // Whether the wizard was left (it is never shown again).
    bool hasLeft() const { return m_left; }

    // The application delegate shows and hides the wizard.
    void viewWillAppear() override;
    void didLeaveMainWindow() override;

    // QOVAHalvexSignInViewDelegate
    void signInWithPassword(const QString &password) override;
    // QOVAHalvexPasswordViewDelegate
    void modifyOldPassword(const QString &oldPassword, const QString &newPassword) override;
    void getSimplePasswordStatus() override;
    void enableSimplePassword(bool enable) override;
    // QOVAHalvexCountryViewDelegate
    void confirmSelectedCountry(const QString &country) override;
    // QOVAHalvexDeviceNameViewDelegate
    void changeDeviceName(const QString &name) override;
    // QOVAHalvexProvisionViewDelegate
    void requestProvisionSettings() override;
    void setProvisionWithUrl(const QString &url, const QString &name, const QString &password, const QString &mode,
                             const QString &type) override;
    // QOVAHalvexOOBBaseViewDelegate
    void pageControlGoBack() override;
    void pageControlSkip() override;
    // QOVAHalvexCompleteViewDelegate
    void finishOOBSetting() override;

    // The firmware page's record of the device.
    QVariantMap firmwareRecord() const;
    void addDeviceToFirmwarePage();

protected:
    void viewDidLoad() override;

    // Family differences.
    virtual bool isVaskoWizard() const = 0;
    // The device name the country step writes with the country.
    virtual QString countryStepDeviceName() const = 0;
    // The family's log texts.
    virtual const char *signInSuccessLog() const = 0;
    virtual const char *passwordSuccessLog() const = 0;
    virtual const char *passwordFailureLog() const = 0;
    virtual const char *provisionReadFailureLog() const = 0;
    // The network page became the page in front (added: newly put on the
    // stack; else shown again by Back), or stopped being it.
    virtual void networkPageShown(bool added) { Q_UNUSED(added); }
    virtual void networkPageLeft() {}
    // The network page is dropped or the wizard left: its poll, refresh and
    // events end for good.
    virtual void stopNetworkPage() = 0;
    virtual void forgetNetworkPage() = 0;

    // The serial number every request is addressed to.
    QString serialNumber() const;
    // True while requests may go out and answers be taken.
    bool isActive() const { return !m_left; }
    // Adds a page on top of the stack, hiding the one under it.
    void pushPage(Step step);
    // Gives a new page the family's title and step label.
    void applyFamilyLook(QOVAHalvexOOBBaseView *page, bool networkLabel);

private:
    void setupOOBView();
    void dropPage(Step step);
    void storeCurrentDeviceVersion() const;
    void finishProvisioning();

    QOVADeviceListItemRef m_model;
    QString m_countryName;
    QList<Step> m_stack;
    bool m_left = false;
    bool m_versionSet = false;

    QPointer<QOVAHalvexSignInView> m_signInView;
    QPointer<QOVAHalvexPasswordView> m_passwordView;
    QPointer<QOVAHalvexCountryView> m_countryView;
    QPointer<QOVAHalvexDeviceNameView> m_deviceNameView;
    QPointer<QOVAHalvexProvisionView> m_provisionView;
    QPointer<QOVAHalvexCompleteView> m_completeView;
};
