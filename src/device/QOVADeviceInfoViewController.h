#pragma once
// STAND-IN until the device page controller lands: the page of one open
// device with the place of its side menu (left 0, bottom 0, 210 x 544, and a
// 1-point line at left 210) and the device's name on the right. It offers
// what the application shell uses of the real controller; the real one
// replaces this file and its source as a whole.

#include "QOVABaseViewController.h"
#include "QOVADeviceListItem.h"
#include "QOVADeviceInfoViewControllerDelegate.h"

class QOVADeviceInfoViewController : public QOVABaseViewController {
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

    // Where the side menu goes.
    QWidget *tabControlView();

protected:
    void viewDidLoad() override;

private:
    QOVADeviceListItemRef m_model;
    QOVADeviceInfoViewControllerDelegate *m_delegate = nullptr;
    QWidget *m_tabControlView = nullptr;
};
