#pragma once
// The firmware page: every connected device of the three families, one
// group per family in the order the families first arrived, with the remote
// control of a video bar as a row under it; each row with its installed and
// offered firmware and the buttons to update it. The page follows device
// arrivals and removals, the remote-control events and the daily check, and
// runs the updates: the check per row, one shared download per package
// address, flashing through the device manager, the remote-control upgrade
// through a device request, the password gate and local DFU files.
//
// Everything runs on the main thread; flashing callbacks are passed to it.

#include "QOVABaseViewController.h"
#include "util/QOVABlockTimer.h"
#include "QOVAFirmwareListHeader.h"
#include "QOVAFirmwareModel.h"
#include "QOVAFirmwareSection.h"
#include "QOVAFirmwareUpgradeCell.h"
#include "QOVAUpgradeSignInWindow.h"
#include "QOVAUpgradeTipView.h"
#include "QOVANetworkError.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>

class DeviceInfoModel;
class QScrollArea;
class QOVAManualUpdateWindow;

class QOVAFirmwareViewController : public QOVABaseViewController,
                                   public QOVAFirmwareListHeaderDelegate,
                                   public QOVAFirmwareUpgradeCellDelegate,
                                   public QOVAUpgradeSignInDelegate,
                                   public QOVAUpgradeTipViewDelegate {
    Q_OBJECT
public:
    explicit QOVAFirmwareViewController(QObject *parent = nullptr);
    ~QOVAFirmwareViewController() override;

    // From the application delegate and the set-up wizards.
    void initData();
    void addObjectWithUserInfo(const QVariantMap &userInfo);
    void removeObjectWithUserInfo(const QVariantMap &userInfo);
    void updateFirmwareViewController(const QString &name, const QString &serialNumber);

    QList<QOVAFirmwareModelRef> getDeviceModelList() const { return m_deviceModelList; }
    QList<QOVAFirmwareSectionRef> sectionList() const { return m_sectionList; }
    QList<QOVAFirmwareModelRef> updatingList() const { return m_updatingList; }
    QStringList checkingOOBDevices() const { return m_checkingOOBDevices; }
    QOVAUpgradeSignInWindow *signInWindow() const { return m_signInWindow; }
    QOVAUpgradeTipView *tipView() const { return m_tipView; }
    QScrollArea *mainScrollview() const { return m_scroll; }
    // The first device or remote-control row of that serial number and type
    // (any device type when type is 0).
    QOVAFirmwareModelRef rowFor(const QString &serialNumber, qint64 type = 0) const;
    // The view shown for a row of the list (header, separator or cell).
    QWidget *viewAtRow(int row) const;
    QOVAFirmwareUpgradeCell *cellFor(const QOVAFirmwareModelRef &model) const;
    QOVAFirmwareListHeader *headerForSection(int section) const;

    void viewDidAppear() override;

    // Notification handlers.
    void autoCheckAll();
    void remoteSleep(const QVariantMap &userInfo);
    void remoteActive(const QVariantMap &userInfo);
    void remotePaired(const QVariantMap &userInfo);
    void remoteUnpaired(const QVariantMap &userInfo);
    void remoteUpgraded(const QVariantMap &userInfo);

    // Rows and table.
    void reloadTableView();
    void updateCellAtIndex(int index);
    void updateDeviceListModel(const QOVAFirmwareModelRef &model);
    void checkSingleRemoteControl(const QOVAFirmwareModelRef &model);
    QOVAFirmwareSectionRef getFirmwareSection(qint64 type) const;
    void showNewVersionNotification();
    void showDisconnectedAlert();
    static qint64 fileSizeForPath(const QString &path);
    static qint64 rowHeight(const QOVAFirmwareModel &model);

    // Update actions.
    void checkForUpdateForModel(const QOVAFirmwareModelRef &model);
    bool compareVersion(const QString &current, const QString &available, qint64 type);
    void upgrade_checkUpdateGroup(const QOVAFirmwareModelRef &model);
    void startUpdateModel(const QOVAFirmwareModelRef &model);

    // QOVAFirmwareListHeaderDelegate
    void updateAllDevices(QOVAFirmwareListHeader *header) override;
    void refreshStatus(QOVAFirmwareListHeader *header) override;
    // QOVAFirmwareUpgradeCellDelegate
    void updateIfNeedPassword(QOVAFirmwareUpgradeCell *cell) override;
    void cancelDownload(QOVAFirmwareUpgradeCell *cell) override;
    void performLocalDFU(QOVAFirmwareUpgradeCell *cell, const QString &filePath) override;
    void checkAgain(QOVAFirmwareUpgradeCell *cell) override;
    // QOVAUpgradeSignInDelegate
    void signInUsingPassword(const QString &password, const QOVAFirmwareModelRef &model) override;
    // QOVAUpgradeTipViewDelegate
    void closeUpgradeTipView() override;

    // What the "device internal issue" alert does (a modal message box by
    // default); tests replace it.
    static void setAlertHandler(std::function<void(const QString &text)> handler);

protected:
    void viewDidLoad() override;

private:
    void registerObservers();
    void getDeviceOOBStatus(const QString &serialNumber, std::function<void(bool pending)> complete);
    void addDeviceObjectWithUserInfo(const QVariantMap &userInfo);
    void removeDeviceObjectWithSerialNumber(const QString &serialNumber);
    bool isTheOnlyDownloadingModel(const QOVAFirmwareModelRef &model) const;
    void checkDeviceNotification();
    void addRemoteControl(const QOVAFirmwareModelRef &remote, const QOVAFirmwareModelRef &bar);
    QOVAFirmwareModelRef rowForView(QWidget *view) const;
    int indexOfRow(const QOVAFirmwareModelRef &model) const;
    void layoutTable();
    // The scroll view under the banner, or under the navigation bar while
    // the banner is hidden.
    void layoutScrollView();
    // Shows the banner when the update server names a newer version of the
    // application, hides it otherwise.
    void checkApplicationUpdate();
    void redrawRow(const QOVAFirmwareModelRef &model);
    qint64 getCanUpdateDeviceNumber(qint64 type) const;

    // startAfter: an offer in the answer starts the row's update.
    void checkUpgrade(qint64 kind, const QOVAFirmwareModelRef &model, bool startAfter = false);
    // After the row's version changed: the offer the server made is judged
    // again against the version the device now reports.
    void rejudgeOffer(const QOVAFirmwareModelRef &model);
    // complete gets the download's error when it failed.
    void downloadFirmwareForDevice(
        const QOVAFirmwareModelRef &model,
        std::function<void(const std::optional<QOVANetworkError> &, const QOVAFirmwareModelRef &)> complete);
    void reloadDownloadingCells(qint64 received, qint64 total, const QString &sourcePath);
    void upgradeAllForModels(const QOVAFirmwareModelRef &model);
    void updateDeviceRemoteControl(const QOVAFirmwareModelRef &model);
    void upgradeRemoteControl(const QOVAFirmwareModelRef &model);
    void removeFromUpdating(const QOVAFirmwareModelRef &model);
    void setDeviceListStatus(qint64 status, const QString &serialNumber);

    QList<QOVAFirmwareSectionRef> m_sectionList;
    QList<QOVAFirmwareModelRef> m_deviceModelList;
    QList<QPointer<QWidget>> m_separateViewList;
    QList<QOVAFirmwareModelRef> m_updatingList;
    QStringList m_checkingOOBDevices;
    // The repeating set-up question of each device in m_checkingOOBDevices;
    // a timer holds its block until it is invalidated, so each one is
    // stopped when its answer comes, its device leaves or the page goes.
    QHash<QString, std::shared_ptr<QOVABlockTimer>> m_oobTimers;
    void stopOOBCheck(const QString &serialNumber);
    void stopAllOOBChecks();
    QPointer<QOVAUpgradeSignInWindow> m_signInWindow;
    QPointer<QOVAUpgradeTipView> m_tipView;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_table = nullptr;
    QList<QPointer<QWidget>> m_rowViews;
    QList<QPointer<QOVAFirmwareUpgradeCell>> m_cellPool;
    QList<QPointer<QOVAFirmwareListHeader>> m_headerPool;
    bool m_observersRegistered = false;
};
