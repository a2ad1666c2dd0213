#pragma once
// STAND-IN until the device page controller lands: the page of one open
// device with the place of its side menu (left 0, bottom 0, 210 x 544, and a
// 1-point line at left 210) and the device's name on the right. It offers
// what the application shell uses of the real controller; the real one
// replaces this file and its source as a whole.

#include "QOVABaseViewController.h"
#include "QOVADeviceListItem.h"
#include "QOVADeviceInfoViewControllerDelegate.h"
#include "menu/QOVATabControlView.h"

class QOVALabel;

class QOVADeviceInfoViewController : public QOVABaseViewController, public QOVATabControlViewDelegate {
    Q_OBJECT
public:
    explicit QOVADeviceInfoViewController(QObject *parent = nullptr);

    void setModel(const QOVADeviceListItemRef &model) { m_model = model; }
    QOVADeviceListItemRef model() const { return m_model; }
    void setDeviceInfoDelegate(QOVADeviceInfoViewControllerDelegate *delegate) { m_delegate = delegate; }
    QOVADeviceInfoViewControllerDelegate *deviceInfoDelegate() const { return m_delegate; }

    // Nothing runs on the stand-in's page, so both do nothing.
    void stopCameraPreview();
    void stopReportAudioMeters();

    // The side menu of the device's family and version, made on first use.
    QOVATabControlView *tabControlView();
    // The menu's layout for a product id text, or none.
    StrategyRef createFactoryDevice(const QString &productID);

    // QOVATabControlViewDelegate. The administrator group first asks the
    // device whether a password is set. The stand-in shows no real pages:
    // it names the page a choice would show ("adminSigninView" for the
    // sign-in page, else "<group>:<text>").
    void didSelectedIndexString(qint64 group, const QString &text) override;
    QString currentPageName() const { return m_currentPageName; }

protected:
    void viewDidLoad() override;

private:
    QOVADeviceListItemRef m_model;
    QOVADeviceInfoViewControllerDelegate *m_delegate = nullptr;
    QOVATabControlView *m_tabControlView = nullptr;
    void showPageStandIn(const QString &name);
    QString m_currentPageName;
    QOVALabel *m_pageLabel = nullptr;
};
