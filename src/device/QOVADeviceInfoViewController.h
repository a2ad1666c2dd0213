#pragma once
// The page controller of one open device: the side menu on the left (210 x
// 544 at the bottom left, a 1-point line at x 210) and the page area to its
// right (619 x 544 at x 211). It builds every page of its device lazily
// through the page table (QOVADevicePageFactory), swaps pages when the menu
// reports a choice, keeps the administrator pages behind the device
// password, polls the device's facts for the status page, and is the
// delegate of every page: each page action becomes one QOVAIOManager
// request whose outcome it pushes back into the page.
//
// Made by the device list (or the application delegate, or a set-up
// wizard): plain construction, then setModel and setDeviceInfoDelegate,
// before its view loads. Everything runs on the main thread.
//
// How an area plugs in (settings, camera, network, certificates,
// maintenance):
//   - its pages get a row in the page table (QOVADevicePageFactory.cpp),
//     which builds the page and makes this controller its delegate;
//   - its delegate interfaces are added to the base list below and its
//     operations are declared in the area's block at the end of the class;
//   - the operations are defined in QOVADeviceInfoViewController<Area>.cpp.
// Pages are reached by their getter (pageForGetter / pageAs); a page is
// built on first use and kept for the controller's life.

#include "QOVABaseViewController.h"
#include "QOVADeviceInfoViewControllerDelegate.h"
#include "QOVADisplayBaseView.h"
#include "QOVADeviceListItem.h"
#include "QOVAStatusBaseViewDelegate.h"
#include "menu/QOVATabControlView.h"
#include "models/QOVAJSONModel.h"
#include "settings/QOVALoginDelegate.h"
#include "certificates/QOVACertificatesViewDelegate.h"

#include <QHash>
#include <QPointer>
#include <QString>

class QOVAPirokStatusView;
class QOVAStatusBaseView;

class QOVADeviceInfoViewController : public QOVABaseViewController,
                                     public QOVATabControlViewDelegate,
                                     public QOVAStatusBaseViewDelegate,
                                     public QOVALoginDelegate,
                                     public QOVACertificatesViewDelegate {
    Q_OBJECT
public:
    explicit QOVADeviceInfoViewController(QObject *parent = nullptr);
    ~QOVADeviceInfoViewController() override;

    void setModel(const QOVADeviceListItemRef &model) { m_model = model; }
    QOVADeviceListItemRef model() const { return m_model; }
    QString serialNumber() const { return m_model ? m_model->serialNumber : QString(); }
    QString productId() const { return m_model ? m_model->productId : QString(); }
    // Held weakly: a delegate that is a QObject reads as none once deleted.
    void setDeviceInfoDelegate(QOVADeviceInfoViewControllerDelegate *delegate);
    QOVADeviceInfoViewControllerDelegate *deviceInfoDelegate() const;

    // The side menu of the device's family and version, made on first use.
    QOVATabControlView *tabControlView();
    // The 1-point line between the menu and the page area.
    QWidget *verticalLine();
    // The menu's layout strategy for a product id text, or none.
    StrategyRef createFactoryDevice(const QString &productID);

    // --- pages ---------------------------------------------------------
    // The page a getter names ("statusInfoView", "orbrinGeneralView", ...),
    // built through the page table on first use (not shown), or none when
    // the table has no page for it on this device.
    QOVADisplayBaseView *pageForGetter(const QString &getter);
    // The same, cast to the page's class (none when it is another class,
    // e.g. still the placeholder of an area that has not landed).
    template <typename Page>
    Page *pageAs(const QString &getter)
    {
        return qobject_cast<Page *>(pageForGetter(getter));
    }
    // The page of that getter when it was already built; never builds.
    QOVADisplayBaseView *builtPage(const QString &getter) const;
    // Forgets a built page: it leaves the screen and is deleted; the next
    // use of its getter builds a new one.
    void dropPage(const QString &getter);

    // The status page of the Orbrin ("6e17") or Vasko ("6e12") family; none
    // for other devices. Its first use makes this controller its delegate
    // and starts its poll.
    QOVAStatusBaseView *statusInfoView();
    // The Pirok family's status page; put into the view when built.
    QOVAPirokStatusView *pirokStatusView();

    QOVADisplayBaseView *currentView() const { return m_currentView; }
    // The getter of the current page (empty when none is shown).
    QString currentGetter() const;

    // The page for a menu choice, built if needed, or none.
    QOVADisplayBaseView *selectDisplayView(qint64 tab, const QString &subIndexString);
    QOVADisplayBaseView *selectDisplayView(qint64 tab, qint64 subIndex);
    // The getter a menu choice names, or an empty text (no page).
    QString getterForChoice(qint64 tab, const QString &subIndexString) const;
    QString getterForChoice(qint64 tab, qint64 subIndex) const;

    // Makes the page the current page: it is added to the page area, the
    // page shown before is told cancelDisplayViewEvent and leaves the
    // screen, and the new one is told handleDisplayViewEvent. The current
    // page again does nothing.
    void addBaseView(QOVADisplayBaseView *page);

    // --- menu (QOVATabControlViewDelegate) ------------------------------
    void didSelectedIndexString(qint64 tab, const QString &text) override;
    void didSelectedIndex(qint64 tab, qint64 subIndex);

    // --- device facts and identity --------------------------------------
    // QOVAStatusBaseViewDelegate: the status page's poll. Asks device_info
    // unless the previous request is still unanswered.
    void getDeviceInformation(QOVAStatusBaseView *page) override;
    bool isDeviceInformationPending() const { return m_deviceInfoPending; }
    // Tells the device list the device's new name.
    void transferDeviceName(const QString &name);
    // Logs a reply model as "<class> : <JSON>".
    void printLogForJsonModel(const QOVAModelRef &model);
    void printLogForJsonModel(const QOVAJSONModel &model);
    // The identity by which the device's camera is found among the capture
    // devices ("0x" + location + vendor id + product id); trims the leading
    // zeros of the model's location text.
    QString getUniqueID();

    // --- administrator gate (QOVALoginDelegate) --------------------------
    // Asks the device whether a password is set: shows the sign-in page when
    // one is, opens the administrator entries when none is.
    void checkAdminPassword();
    void loginUsingPassword(const QString &password) override;

    // Ends the progress mask 30 seconds (scaled) from now.
    void startResetTimer();
    bool isResetTimerPending() const;

    // Called by the application delegate when the application terminates.
    // The camera page is told stopPreview (a slot of that page) when it is
    // the page on screen; the meters page cancelDisplayViewEvent likewise.
    void stopCameraPreview();
    void stopReportAudioMeters();

    // Stops what the pages run while the device page is off screen: sent
    // when the page leaves the main window and when the controller goes.
    void viewDidDisappear();

    // --- Settings and maintenance pages ---------------------------------
    // (declared by the settings and maintenance areas)

    // --- Audio pages ----------------------------------------------------

    // --- Network pages --------------------------------------------------

    // --- Camera pages ---------------------------------------------------

    // --- Certificate pages ----------------------------------------------
    // The certificates page, built on first use.
    class QOVACertificatesView *certificatesView();
    void createCerificateSigningRequest(const QJsonObject &subject) override;
    void downloadCertificateSigningRequestWithDownloadFilepath(const QString &path) override;
    void installCertificateWithFilepath(const QString &filePath, const QString &typeUrl) override;
    void deleteCertitificate(const QString &caType) override;
    void getInstalledCertificateInformation() override;
    void getInstalledCertificateDetailInformation(const QString &detailUrl) override;
    void vertifyInputPrivateKey(const QString &password) override;
    void validServerCertificate(bool enable) override;
    void getValidateCertificateInfo() override;

    // --- Set-up and provisioning pages ----------------------------------

protected:
    void viewDidLoad() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool sameKind(QOVADisplayBaseView *page, QOVADisplayBaseView *current) const;
    void putIntoPageArea(QOVADisplayBaseView *page);

    QOVADeviceListItemRef m_model;
    QOVADeviceInfoViewControllerDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateGuard;
    bool m_delegateGuarded = false;
    QPointer<QOVATabControlView> m_tabControlView;
    QPointer<QWidget> m_verticalLine;
    QPointer<QOVADisplayBaseView> m_currentView;
    QHash<QString, QPointer<QOVADisplayBaseView>> m_pages;
    bool m_deviceInfoPending = false;
    bool m_disappeared = false;
    QPointer<QObject> m_resetTimer;
};
