#pragma once
// The set-up wizard of the video bar (product id 6e17): the shared steps
// (QOVASetupWizardController) with the Wi-Fi page as the network step.

#include "QOVAHalvexWiFiView.h"
#include "QOVAHalvexWiFiViewDelegate.h"
#include "QOVASetupWizardController.h"

class QOVAHalvexOOBViewController : public QOVASetupWizardController, public QOVAHalvexWiFiViewDelegate {
    Q_OBJECT
public:
    explicit QOVAHalvexOOBViewController(QObject *parent = nullptr);

    QOVAHalvexWiFiView *wifiView();
    QOVAHalvexOOBBaseView *networkPage() override { return wifiView(); }

    // QOVAHalvexWiFiViewDelegate
    void getWiFiList() override;
    void connectOOBWifiWithNetWorkName(const QJsonObject &params) override;
    void wifiStatus() override;
    void gotoOOBProvisionView() override;
    void wifiEnable(bool enable) override;

protected:
    bool isVaskoWizard() const override { return false; }
    QString countryStepDeviceName() const override { return QStringLiteral("Zentaro Halvex"); }
    const char *signInSuccessLog() const override { return "OOB Sign in successfully."; }
    const char *passwordSuccessLog() const override { return "Modify Password Success!"; }
    const char *passwordFailureLog() const override { return "Orbrin Modify Password Failure, reason is %s"; }
    const char *provisionReadFailureLog() const override { return "Requset Provision failure, reason is %s"; }
    void networkPageShown(bool added) override;
    void stopNetworkPage() override;
    void forgetNetworkPage() override { m_wifiView = nullptr; }

private:
    QPointer<QOVAHalvexWiFiView> m_wifiView;
};
