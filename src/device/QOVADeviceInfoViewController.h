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
#include "QOVACallbacks.h"
#include "QOVADeviceListItem.h"
#include "QOVAStatusBaseViewDelegate.h"
#include "menu/QOVATabControlView.h"
#include "models/QOVAJSONModel.h"
#include "settings/QOVAAudioDiagnosticsDelegate.h"
#include "settings/QOVAAudioSettingsDelegate.h"
#include "settings/QOVABloothAutoPairDelegate.h"
#include "settings/QOVABloothDelegate.h"
#include "settings/QOVAConfigurationViewDelegate.h"
#include "settings/QOVAFactoryResetDelegate.h"
#include "settings/QOVAGeneraDelegate.h"
#include "settings/QOVALabFeatureDelegate.h"
#include "settings/QOVALogViewDelegate.h"
#include "settings/QOVALoginDelegate.h"
#include "camera/QOVACameraDelegate.h"
#include "camera/QOVACameraTrackingDelegate.h"
#include "camera/QOVAOSDViewDelegate.h"
#include "certificates/QOVACertificatesViewDelegate.h"
#include "settings/QOVAMiscellaneousViewDelegate.h"
#include "settings/QOVAPasswordSettingDelegate.h"
#include "settings/QOVASystemRestartDelegate.h"
#include "setup/QOVAProvisionDelegate.h"
#include "network/QOVANetworkDelegate.h"
#include "network/QOVAWifiDelegate.h"

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QString>

class QOVANetworkView;
class QOVANotificationWindow;
class QOVAPirokStatusView;
class QOVAProvisionServerView;
class QOVAWiFISettingsView;
class QOVAStatusBaseView;
class QOVAAudioSettingsView;

class QOVADeviceInfoViewController : public QOVABaseViewController,
                                     public QOVATabControlViewDelegate,
                                     public QOVAStatusBaseViewDelegate,
                                     public QOVALoginDelegate,
                                     public QOVACameraDelegate,
                                     public QOVACameraTrackingDelegate,
                                     public QOVAOSDViewDelegate,
                                     public QOVAGeneraDelegate,
                                     public QOVABloothDelegate,
                                     public QOVABloothAutoPairDelegate,
                                     public QOVASystemRestartDelegate,
                                     public QOVAFactoryResetDelegate,
                                     public QOVALabFeatureDelegate,
                                     public QOVAPasswordSettingDelegate,
                                     public QOVAMiscellaneousViewDelegate,
                                     public QOVALogViewDelegate,
                                     public QOVAAudioDiagnosticsDelegate,
                                     public QOVAConfigurationViewDelegate,
                                     public QOVAAudioSettingsDelegate,
                                     public QOVAProvisionDelegate,
                                     public QOVAWifiDelegate,
                                     public QOVANetworkDelegate,
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
    // The pending reset timer's period in milliseconds, or -1 when none runs.
    int resetTimerInterval() const;

    // Called by the application delegate when the application terminates.
    // The camera page is told stopPreview (a slot of that page) when it is
    // the page on screen; the meters page cancelDisplayViewEvent likewise.
    void stopCameraPreview();
    void stopReportAudioMeters();

    // Stops what the pages run while the device page is off screen: sent
    // when the page leaves the main window and when the controller goes.
    void viewDidDisappear();

    // --- Settings and maintenance pages ---------------------------------
    // (QOVADeviceInfoViewControllerSettings.cpp)
    // QOVAGeneraDelegate
    void getGeneralInformation() override;
    void setGeneralInformationwitDeviceName(const QString &deviceName, const QString &countryRegion,
                                            const QString &ntpMode, const QString &ntpServer,
                                            bool cameraVividMode) override;
    void setGeneralInformationwitDeviceName(const QString &deviceName, const QString &countryRegion,
                                            const QString &ntpMode, const QString &ntpServer) override;
    // QOVABloothDelegate, QOVABloothAutoPairDelegate
    void requestBloothInformation() override;
    void bluetoothEnable(bool enable, bool autopairEnable, bool bleEnable) override;
    void bluetoothEnabled() override;
    void bluetoothAutoPair() override;
    // QOVASystemRestartDelegate, QOVAFactoryResetDelegate
    void sendSystemRestart() override;
    void sendFactoryReset() override;
    // QOVALabFeatureDelegate
    void requestConversationModeInformation() override;
    void setconversationMode(bool enable) override;
    void requestLectureModeInformation() override;
    void setLectureMode(bool enable) override;
    // QOVAPasswordSettingDelegate
    void modify(const QString &oldPassword, const QString &newPassword) override;
    void enableSimplePassword(bool enable) override;
    void requestSimplePassWordStatus() override;
    // QOVAMiscellaneousViewDelegate
    void getMiscellaneousInformation() override;
    void setMiscellaneousStatus(bool powerInjector, bool compatibleMode) override;
    void setIntegratedMicrophones(bool enable) override;
    void getAudioStereo() override;
    void setAudioStereo(bool enable) override;
    void sendDeviceRestart() override;
    // QOVALogViewDelegate: the device's files are written whole or not at all.
    void logView(QOVALogViewInterface *view, const QString &downloadLogToPath) override;
    void downloadCoredumpLogToPath(const QString &path) override;
    // QOVAAudioDiagnosticsDelegate
    void audioDiagnosticRecord(bool start) override;
    void cancelAudioDiagnostic() override;
    // QOVAConfigurationViewDelegate
    void getConfigFile(QOVADisplayBaseView *view, const QString &downloadFilepath) override;
    void importConfigFileFromPC(QOVADisplayBaseView *view, const QString &filePath) override;

private:
    void generalSaved(const QString &name);
    // A page's values could not be read from the device: said in a failure
    // toast while that page is the one shown, so defaults do not pass for
    // the device's values. A page that reads several things says it once
    // per showing, however many of its reads fail.
    void readFailedToast(const QString &getter);
    // A change made on the page did not reach the device: said in a failure
    // toast, but not again while the one last said for that page is still
    // on screen (the pad's buttons fire as fast as they are clicked, a
    // slider writes every value it passes, and one Save sends several
    // writes).
    void saveFailedToast(const QString &getter);
    // Failure callbacks that log "<logPrefix><reason>" and then say the
    // page's read, or its change, failed (as above).
    QOVAFailureBlock readFailure(const char *logPrefix, const char *getter);
    QOVAFailureBlock saveFailure(const char *logPrefix, const char *getter);
    void updateSimplePassword(bool enabled);
    void stopLogDownloading();
    QOVAAudioDiagnosticsViewInterface *audioDiagnosticsPage();

public:

    // --- Audio pages ----------------------------------------------------
    // QOVAAudioSettingsDelegate (QOVADeviceInfoViewControllerSettings.cpp):
    // the audio record is written whole, in the form of the firmware
    // version, and a refused change is turned back on the page.
    void getAudioSettingsStatus() override;
    void setNoiseBlockerEnable(bool enable) override;
    void setAcousticBeamEnable(bool enable) override;
    void setOrbrinTarnwallFrom(const QString &from, const QString &to) override;
    void setStereoEnable(bool enable) override;
    void setBassEnable(bool enable) override;
    void resetBassEnable(bool enable) override;
    void restartDevice() override;

private:
    QOVAAudioSettingsView *audioPage();
    bool audioBeamForm() const;
    void writeAudioRecord(int changedValue, bool beamForm, bool flag, const QString &previousFence,
                          const QString &newFence, const char *successLog, const char *failurePrefix);

public:

    // --- Network pages --------------------------------------------------
    // The video bar's Wi-Fi page (QOVAWifiDelegate); every reply goes to
    // the page as it is when the reply arrives.
    void wifiEnable(bool enable) override;
    void wifiStatus(QOVAWiFISettingsView *page) override;
    void wifiList(QOVAWiFISettingsView *page) override;
    void requestWiFiConnectedList() override;
    void connectWifiWithNetWorkName(const QJsonObject &params) override;
    void disconnectWifiWithParam(const QJsonObject &params) override;
    void setWifiSecurityType(const QJsonObject &params) override;
    void getWiFiCetificateInfo() override;
    // The network camera's network page (QOVANetworkDelegate).
    void networkStatus() override;
    void connectIPV4WithDictionaryParams(const QJsonObject &params) override;
    void enableVaskoWiFi(const QJsonObject &params) override;
    void cancelHIDHandle() override;
    void enableWiFiAutoConnect(const QJsonObject &params) override;
    void getNetWorkWiFiList() override;
    void connectVaskoWifiWithNetWorkName(const QJsonObject &params) override;
    void requestVaskoWiFiConnectedList() override;
    void disconnectVaskoWifiWithParam(const QJsonObject &params) override;
    QOVAWiFISettingsView *wifiSettignsView();
    QOVANetworkView *networkView();

    // --- Camera pages ---------------------------------------------------
    // Camera page (QOVACameraDelegate).
    void setZoomAbs(bool zoomIn) override;
    void setPanTiltAbs(bool isPan, bool direct) override;
    void getCameraSettingData(const QOVACameraSettingModelRef &model) override;
    void setCameraSettingData(const QOVACameraSettingModelRef &model, bool isReset) override;
    void updateUVCControls() override;
    void setCameraPreset(quint64 index, const QString &action) override;
    void getCameraExtensionFeature() override;
    void setSkinEnhancement(bool enable) override;
    void setWideDynamicRange(bool enable) override;
    void setParticipantCount(bool enable) override;
    void getCameraAutoTrackingStatus() override;
    // Tracking page (QOVACameraTrackingDelegate).
    void getAutoTrackingStatus() override;
    void setAutoTrackingStatus(bool groupFraming, bool talkerTracking, const QString &trackingSpeed,
                               const QString &framingSize) override;
    void getSmoothTrackingStatus() override;
    void setSmoothTracking(bool enable) override;
    void getMaximumZoomLevel() override;
    void setMaximumZoomLevel(const QString &level) override;
    // On-screen display page (QOVAOSDViewDelegate).
    void osdView(QOVAOSDView *page, bool enableOSD) override;
    void osdViewGetStatus(QOVAOSDView *page) override;

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
    // The provisioning server page, built on first use and kept.
    QOVAProvisionServerView *provisionServerView();
    // QOVAProvisionDelegate
    void requestProvision() override;
    void setProvisionWithUrl(const QString &url, const QString &name, const QString &password,
                             const QString &mode, const QString &type) override;
    void setDhcpOption(const QString &option) override;

protected:
    void viewDidLoad() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool sameKind(QOVADisplayBaseView *page, QOVADisplayBaseView *current) const;
    void putIntoPageArea(QOVADisplayBaseView *page);
    // Tells the page it is shown (again); a failed read of this showing is
    // said anew.
    void startShowing(QOVADisplayBaseView *page);

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
    // The getters of the pages whose failed read this showing has said.
    QSet<QString> m_readFailureSaid;
    // The last failed-change toast of each page, while it exists.
    QHash<QString, QPointer<QOVANotificationWindow>> m_saveFailureToasts;
};
