#pragma once
// The set-up wizard of the network camera (and of any other product that
// asks for a set-up): the shared steps (QOVASetupWizardController) with the
// network page as the network step, the product's name as every page's
// title, and the DHCP option after the provisioning settings.

#include "QOVAOOBVaskoNetworkView.h"
#include "QOVASetupWizardController.h"
#include "QOVAVaskoNetworkViewDelegate.h"

class QOVAVaskoOOBViewController : public QOVASetupWizardController, public QOVAVaskoNetworkViewDelegate {
    Q_OBJECT
public:
    explicit QOVAVaskoOOBViewController(QObject *parent = nullptr);

    QOVAOOBVaskoNetworkView *networkView();
    QOVAHalvexOOBBaseView *networkPage() override { return networkView(); }

    // QOVAVaskoNetworkViewDelegate
    void networkStatus() override;
    void connectIPV4WithDictionaryParams(const QJsonObject &params) override;
    void enableVaskoWiFi(const QJsonObject &params) override;
    void clickNextOnNetwork() override;

    // QOVAHalvexProvisionViewDelegate: the DHCP option.
    bool respondsToSetDHCPOptionStartup() const override { return true; }
    void setDHCPOptionStartup(const QString &option) override;

protected:
    void viewDidLoad() override;
    bool isVaskoWizard() const override { return true; }
    QString countryStepDeviceName() const override;
    const char *signInSuccessLog() const override { return "Vasko OOB Sign in successfully."; }
    const char *passwordSuccessLog() const override { return "Vasko modify Password Success!"; }
    const char *passwordFailureLog() const override { return "Vasko Modify Password Failure, reason is %s"; }
    const char *provisionReadFailureLog() const override { return "Requset Provision failure, The Reason is %s"; }
    void networkPageShown(bool added) override;
    void networkPageLeft() override;
    void stopNetworkPage() override;
    void forgetNetworkPage() override { m_networkView = nullptr; }

private:
    void restartNetworkTimer();

    QPointer<QOVAOOBVaskoNetworkView> m_networkView;
};
