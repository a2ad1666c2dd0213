#pragma once
// The device list page: one tile per connected device in a scrolling grid,
// kept in step with the arrival and removal notifications. A click on a tile
// opens the device: the two HID families are first asked whether their
// out-of-box set-up is pending and, once per connection, get the computer's
// clock; then the set-up wizard or the device page opens. A Pirok opens its
// device page at once; a tile in recovery mode or updating does not open.

#include "QOVABaseViewController.h"
#include "QOVADeviceListItem.h"

#include "device/QOVADeviceInfoViewControllerDelegate.h"

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QVariantMap>

class AppDelegate;
class OOBModel;
class QOVACollectionViewItem;
class QScrollArea;

class QOVADeviceListViewControllerDelegate {
public:
    virtual ~QOVADeviceListViewControllerDelegate() = default;
    virtual void deviceNameUpdate(const QString &name, const QString &serialNumber) = 0;
};

class QOVADeviceListViewController : public QOVABaseViewController,
                                     public QOVADeviceInfoViewControllerDelegate {
    Q_OBJECT
public:
    explicit QOVADeviceListViewController(QObject *parent = nullptr);

    void setDeviceListViewControllerDelegate(QOVADeviceListViewControllerDelegate *delegate)
    {
        m_delegate = delegate;
    }

    void addObjectWithUserInfo(const QVariantMap &userInfo);
    void removeObjectWithUserInfo(const QVariantMap &userInfo);
    void updateDeviceStatus(qint64 status, const QString &serialNumber);
    qint64 getCurrentDeviceCount() const { return m_deviceItemList.size(); }
    QList<QOVADeviceListItemRef> getDeviceList() const { return m_deviceItemList; }

    // QOVADeviceInfoViewControllerDelegate: the device accepted a new name.
    void deviceName(const QString &name, const QString &serialNumber) override;
    void updateOrbrinDeviceName(const QString &name, const QString &serialNumber);

    // A click on the tile at that index.
    void didSelectItemAtIndex(int index);
    void routeToPageWithDeviceItem(const QOVADeviceListItemRef &item, bool oobEnabled);

    void viewDidAppear() override;

    // The grid as drawn now.
    QScrollArea *mainScrollview() const { return m_mainScrollview; }
    QWidget *deviceCollectionView() const { return m_deviceCollectionView; }
    QList<QOVACollectionViewItem *> tiles() const { return m_tiles; }

    // Where the tiles of n devices go inside a grid of that width, and the
    // height the grid's content needs.
    static QList<QRect> tileFrames(int count, int width, int *contentHeight = nullptr);
    // The clock value sent to a device: the local wall-clock time expressed
    // as milliseconds since 1970-01-01 00:00:00 UTC.
    static qint64 desktopTimeMilliseconds(const QDateTime &now);
    // Makes the device's firmware version ("major.minor" of its version
    // text) the version of the open device, which the device pages and the
    // set-up pages branch on.
    static void storeCurrentDeviceVersion(const QOVADeviceListItem &item);

protected:
    void viewDidLoad() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reloadData();
    void layoutGrid();
    void checkDeviceNotitfication();
    void syncTimeThenRoute(const QOVADeviceListItemRef &item, bool oobEnabled);

    QList<QOVADeviceListItemRef> m_deviceItemList;
    QScrollArea *m_mainScrollview = nullptr;
    QObject *m_gridViewport = nullptr;
    QWidget *m_deviceCollectionView = nullptr;
    QList<QOVACollectionViewItem *> m_tiles;
    QOVADeviceListViewControllerDelegate *m_delegate = nullptr;
};
