#pragma once
// The status page shared by the Orbrin and Vasko families: the widgets every
// status page shows (model, name, versions, addresses, serial number,
// provisioning server with its dot, help reference, diagnostic code, Wi-Fi
// icon, warning banner), the 3-second poll of the device's facts through
// its delegate, and the writing of each reply into those widgets. The family
// pages create and place the widgets they use in setupStatusView and add
// their own fields in updateWithDeviceModel.
//
// Widgets are created by their getters on first use (and added to the page
// then); an update writes only to widgets that exist. Every text from the
// device is shown as plain text.

#include "QOVADisplayBaseView.h"
#include "QOVADeviceListItem.h"
#include "QOVAStatusBaseViewDelegate.h"
#include "QOVAStatusWarningViewDelegate.h"

#include <QPointer>
#include <QTimer>

class DeviceInfoModel;
class QOVAImageView;
class QOVALabel;
class QOVAStatusDotView;
class QOVAStatusWarningView;

class QOVAStatusBaseView : public QOVADisplayBaseView, public QOVAStatusWarningViewDelegate {
    Q_OBJECT
public:
    static constexpr int kStatusIntervalMs = 3000;

    // Keeps the item, titles the page with its product name, then runs
    // setupStatusView (subclasses construct through init()).
    explicit QOVAStatusBaseView(const QOVADeviceListItemRef &deviceModel, QWidget *parent = nullptr);
    ~QOVAStatusBaseView() override;

    QOVADeviceListItemRef deviceModel() const { return m_deviceModel; }
    void setStatusViewDelegate(QOVAStatusBaseViewDelegate *delegate);
    QOVAStatusBaseViewDelegate *statusViewDelegate() const;

    // Asks the delegate now and starts the poll unless it runs.
    void requestDeviceInfo();
    void startStatusTimer(int intervalMs);
    void handleStatusEvent();
    void cancelTimer();
    QTimer *statusTimer() const { return m_statusTimer; }

    void handleDisplayViewEvent() override;
    void cancelDisplayViewEvent() override;

    // Writes one reply into the widgets.
    virtual void updateWithDeviceModel(const DeviceInfoModel &model);

    // QOVAStatusWarningViewDelegate: the banner's close button.
    void closestatusWarningView() override;

    // Widgets, each made on first use.
    QOVALabel *deviceNameBigLabel();
    QOVAImageView *deviceWifiIcon();
    QWidget *splitLine1();
    QOVAImageView *deviceImage();
    QOVALabel *deviceModelTitleLabel();
    QOVALabel *deviceModelLabel();
    QOVALabel *deviceNameTitleLabel();
    QOVALabel *deviceNameLabel();
    QOVALabel *hardwareVersionTitleLabel();
    QOVALabel *hardwareVersionLabel();
    QOVALabel *softwareVersionTitleLabel();
    QOVALabel *softwareVersionLabel();
    QOVALabel *ipAddressTitleLabel();
    QOVALabel *ipAddressLabel();
    QOVALabel *macAddressTitleLabel();
    QOVALabel *macAddressLabel();
    QOVALabel *serialNumberTitleLabel();
    QOVALabel *serialNumberLabel();
    QOVALabel *provisionServerTitleLabel();
    QOVAStatusDotView *provisionStatusIcon();
    QOVALabel *provisionServerLabel();
    QOVALabel *referenceTitleLabel();
    QOVALabel *referenceLabel();
    QOVALabel *deviceDiagnosticTitileLable();
    QOVALabel *deviceDiagnosticLabel();
    QOVAStatusWarningView *warningView();

    // Whether a widget was made (for tests and subclasses).
    bool hasWarningView() const { return !m_warningView.isNull(); }
    bool hasDeviceDiagnosticLabel() const { return !m_deviceDiagnosticLabel.isNull(); }

    // The Wi-Fi image for a signal strength text (absent or not a number
    // counts as 0).
    static QString wifiImageForStrength(const QString &strength);
    // Whether a text reads as true: its first non-blank character is Y, y,
    // T, t or a digit 1 to 9.
    static bool readsAsTrue(const QString &text);

protected:
    // Where the subclass makes and places its widgets; runs once.
    virtual void setupStatusView() {}
    // Runs setupStatusView; called by the family page's constructor.
    void init();

    // Helpers for the family pages.
    QOVALabel *makeTitleLabel(const char *key);
    QOVALabel *makeValueLabel();
    // Places a title at (36, top) and its value at 200 on the same centre
    // line; returns the title's bottom.
    int placeRow(QOVALabel *title, QWidget *value, int top, int titleWidth = 150, int valueWidth = 195);
    // The provisioning row: dot at 200, label 5 to its right.
    int placeProvisionRow(int top, int titleWidth = 150);
    // Height of one row (32 unless the page needs its rows closer).
    void setRowHeight(int height) { m_rowHeight = height; }
    int rowHeight() const { return m_rowHeight; }

private:
    QOVALabel *label(QPointer<QOVALabel> &slot, const QString &name, int fontType, double size);
    QWidget *plainView(QPointer<QWidget> &slot, const QString &name);

    QOVADeviceListItemRef m_deviceModel;
    int m_rowHeight = 32;
    QOVAStatusBaseViewDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateGuard;
    bool m_delegateGuarded = false;
    QPointer<QTimer> m_statusTimer;

    QPointer<QOVALabel> m_deviceNameBigLabel;
    QPointer<QOVAImageView> m_deviceWifiIcon;
    QPointer<QWidget> m_splitLine1;
    QPointer<QOVAImageView> m_deviceImage;
    QPointer<QOVALabel> m_deviceModelTitleLabel;
    QPointer<QOVALabel> m_deviceModelLabel;
    QPointer<QOVALabel> m_deviceNameTitleLabel;
    QPointer<QOVALabel> m_deviceNameLabel;
    QPointer<QOVALabel> m_hardwareVersionTitleLabel;
    QPointer<QOVALabel> m_hardwareVersionLabel;
    QPointer<QOVALabel> m_softwareVersionTitleLabel;
    QPointer<QOVALabel> m_softwareVersionLabel;
    QPointer<QOVALabel> m_ipAddressTitleLabel;
    QPointer<QOVALabel> m_ipAddressLabel;
    QPointer<QOVALabel> m_macAddressTitleLabel;
    QPointer<QOVALabel> m_macAddressLabel;
    QPointer<QOVALabel> m_serialNumberTitleLabel;
    QPointer<QOVALabel> m_serialNumberLabel;
    QPointer<QOVALabel> m_provisionServerTitleLabel;
    QPointer<QOVAStatusDotView> m_provisionStatusIcon;
    QPointer<QOVALabel> m_provisionServerLabel;
    QPointer<QOVALabel> m_referenceTitleLabel;
    QPointer<QOVALabel> m_referenceLabel;
    QPointer<QOVALabel> m_deviceDiagnosticTitileLable;
    QPointer<QOVALabel> m_deviceDiagnosticLabel;
    QPointer<QOVAStatusWarningView> m_warningView;
};
