#include "QOVADeviceListViewController.h"

#include "AppDelegate.h"
#include "QOVABoundedText.h"
#include "QOVACollectionViewItem.h"
#include "QOVANavigationView.h"

#include "device/QOVADeviceInfoViewController.h"
#include "firmware/ui/QOVAFirmwareViewController.h"
#include "setup/QOVAHalvexOOBViewController.h"
#include "setup/QOVAVaskoOOBViewController.h"

#include "QOVADeviceModel.h"
#include "QOVAIOManager.h"
#include "log/log.h"
#include "models/OOBModel.h"

#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimeZone>

namespace {

constexpr int kNavigationHeight = 56;
constexpr int kBottomMargin = 72;
constexpr int kInsetTop = 32;
constexpr int kInsetSide = 64;
constexpr int kInteritemSpacing = 10;

void fillItem(QOVADeviceListItem &item, const QVariantMap &info)
{
    item.productName = info.value(QStringLiteral("productName")).toString();
    item.serialNumber = info.value(QStringLiteral("productSeriaNumber")).toString();
    item.productId = info.value(QStringLiteral("productID")).toString();
    item.vendorId = info.value(QStringLiteral("productVID")).toString();
    item.deviceVersion = info.value(QStringLiteral("productVersion")).toString();
    item.productManufacturer = info.value(QStringLiteral("productManufacturer")).toString();
    item.locationID = info.value(QStringLiteral("productLID")).toString();
    item.productDeviceName = info.value(QStringLiteral("productDeviceName")).toString();
}

} // namespace

QOVADeviceListViewController::QOVADeviceListViewController(QObject *parent)
    : QOVABaseViewController(parent)
{
}

void QOVADeviceListViewController::viewDidLoad()
{
    QOVABaseViewController::viewDidLoad();
    QWidget *page = view();
    // The grid between the navigation bar (top 56) and 72 above the bottom.
    m_mainScrollview = new QScrollArea(page);
    m_mainScrollview->setObjectName(QStringLiteral("mainScrollview"));
    m_mainScrollview->setFrameShape(QFrame::NoFrame);
    // A scroll bar says that there are more tiles than fit.
    m_mainScrollview->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mainScrollview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_mainScrollview->setWidgetResizable(false);
    // The grid follows the width the scroll bar leaves.
    m_gridViewport = m_mainScrollview->viewport();
    m_gridViewport->installEventFilter(this);
    m_mainScrollview->setGeometry(0, kNavigationHeight, 820, 600 - kNavigationHeight - kBottomMargin);
    m_deviceCollectionView = new QWidget;
    m_deviceCollectionView->setObjectName(QStringLiteral("deviceCollectionView"));
    m_mainScrollview->setWidget(m_deviceCollectionView);
    // The grid has the page's own background.
    for (QWidget *w : {static_cast<QWidget *>(m_mainScrollview), m_mainScrollview->viewport(),
                       m_deviceCollectionView}) {
        w->setPalette(page->palette());
        w->setBackgroundRole(QPalette::Window);
        w->setAutoFillBackground(true);
    }
    layoutGrid();
}

bool QOVADeviceListViewController::eventFilter(QObject *watched, QEvent *event)
{
    // Compared by the pointer kept: the scroll area may be going down.
    if (watched == m_gridViewport && event->type() == QEvent::Resize)
        layoutGrid();
    return QOVABaseViewController::eventFilter(watched, event);
}

void QOVADeviceListViewController::viewDidAppear()
{
    reloadData();
    for (const QOVADeviceListItemRef &item : m_deviceItemList)
        item->uncheckedViewModel = false;
}

QList<QRect> QOVADeviceListViewController::tileFrames(int count, int width, int *contentHeight)
{
    QList<QRect> frames;
    const bool large = count < 3;
    const int tile = large ? 320 : 208;
    const int lineSpacing = large ? 32 : 24;
    const int available = width - 2 * kInsetSide;
    const int columns = std::max(1, (available + kInteritemSpacing) / (tile + kInteritemSpacing));
    // Full rows are spread from the left inset to the right one; a lone
    // device sits in the middle.
    const double spacing = columns > 1 ? double(available - columns * tile) / (columns - 1) : 0.0;
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int column = i % columns;
        int x = kInsetSide + qRound(column * (tile + spacing));
        if (count == 1)
            x = (width - tile) / 2;
        frames.append(QRect(x, kInsetTop + row * (tile + lineSpacing), tile, tile));
    }
    if (contentHeight) {
        const int rows = count == 0 ? 0 : (count + columns - 1) / columns;
        *contentHeight = kInsetTop + rows * tile + std::max(0, rows - 1) * lineSpacing;
    }
    return frames;
}

void QOVADeviceListViewController::reloadData()
{
    if (!m_deviceCollectionView)
        return;
    // Tiles are made anew for every redraw.
    qDeleteAll(m_tiles);
    m_tiles.clear();
    const int count = m_deviceItemList.size();
    // One line per redraw that makes tiles, not one per tile: with many
    // devices a plug or unplug would otherwise write a line per device.
    if (count > 0)
        QOVA_LOG(ERROR, UI, "collectionView: QOVACollectionViewIteam itemForRepresentedObjectAtIndexPath");
    for (int i = 0; i < count; ++i) {
        auto *tile = new QOVACollectionViewItem(m_deviceCollectionView);
        tile->setCellLargeStyle(count < 3);
        connect(tile, &QOVACollectionViewItem::clicked, this, [this](QOVACollectionViewItem *sender) {
            didSelectItemAtIndex(m_tiles.indexOf(sender));
        });
        m_tiles.append(tile);
    }
    layoutGrid();
    for (int i = 0; i < count; ++i) {
        m_tiles[i]->updateWithItem(*m_deviceItemList[i]);
        m_tiles[i]->show();
    }
}

void QOVADeviceListViewController::layoutGrid()
{
    if (!m_mainScrollview)
        return;
    const QSize viewport = m_mainScrollview->viewport()->size();
    int contentHeight = 0;
    QList<QRect> frames = tileFrames(m_tiles.size(), viewport.width(), &contentHeight);
    // From the seventh device on the grid is taller than the page and
    // scrolls: the scroll bar then takes its width from the grid's right.
    int width = viewport.width();
    if (contentHeight > viewport.height() && !m_mainScrollview->verticalScrollBar()->isVisibleTo(m_mainScrollview)) {
        width = std::max(0, m_mainScrollview->width() - m_mainScrollview->verticalScrollBar()->sizeHint().width());
        frames = tileFrames(m_tiles.size(), width, &contentHeight);
    }
    m_deviceCollectionView->resize(width, std::max(viewport.height(), contentHeight));
    for (int i = 0; i < m_tiles.size(); ++i)
        m_tiles[i]->setGeometry(frames[i]);
}

void QOVADeviceListViewController::addObjectWithUserInfo(const QVariantMap &userInfo)
{
    view();
    const QString serial = userInfo.value(QStringLiteral("productSeriaNumber")).toString();
    for (const QOVADeviceListItemRef &item : m_deviceItemList) {
        if (item->serialNumber == serial) {
            fillItem(*item, userInfo);
            item->hasTime = false;
            item->status = item->isDFU() ? 1 : 0;
            reloadData();
            return;
        }
    }

    AppDelegate *delegate = AppDelegate::sharedDelegate();
    auto item = std::make_shared<QOVADeviceListItem>();
    fillItem(*item, userInfo);
    item->status = item->isDFU() ? 1 : 0;
    item->uncheckedViewModel = !(delegate && delegate->currentController() == this);
    m_deviceItemList.append(item);

    if (delegate) {
        QOVABaseViewController *current = delegate->currentController();
        const bool elsewhere = current
            && (current == delegate->firmwareController() || current == delegate->heldDeviceInfoController()
                || current == delegate->orbrinOobVC() || current == delegate->vaskoOobVC());
        if (elsewhere)
            delegate->navigationView()->showNotificationType(0);
    }
    reloadData();
}

void QOVADeviceListViewController::removeObjectWithUserInfo(const QVariantMap &userInfo)
{
    const QString serial = userInfo.value(QStringLiteral("productSeriaNumber")).toString();
    for (int i = 0; i < m_deviceItemList.size(); ++i) {
        if (m_deviceItemList[i]->serialNumber == serial) {
            m_deviceItemList.removeAt(i);
            break;
        }
    }
    reloadData();
    checkDeviceNotitfication();
}

void QOVADeviceListViewController::checkDeviceNotitfication()
{
    for (const QOVADeviceListItemRef &item : m_deviceItemList) {
        if (item->uncheckedViewModel)
            return;
    }
    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->navigationView()->removeNotificationType(0);
}

void QOVADeviceListViewController::updateDeviceStatus(qint64 status, const QString &serialNumber)
{
    for (const QOVADeviceListItemRef &item : m_deviceItemList) {
        if (item->serialNumber == serialNumber) {
            item->status = status;
            break;
        }
    }
    reloadData();
}

void QOVADeviceListViewController::deviceName(const QString &name, const QString &serialNumber)
{
    updateOrbrinDeviceName(name, serialNumber);
    if (m_delegate)
        m_delegate->deviceNameUpdate(name, serialNumber);
}

void QOVADeviceListViewController::updateOrbrinDeviceName(const QString &name, const QString &serialNumber)
{
    // The open device page passes the name on with every poll of its facts:
    // the grid is drawn again only when a name changed. The tile only shows
    // it: a name of any length is kept bounded.
    const QString shown = boundedShownText(name);
    bool changed = false;
    for (const QOVADeviceListItemRef &item : m_deviceItemList) {
        if (item->serialNumber == serialNumber && item->productDeviceName != shown) {
            item->productDeviceName = shown;
            changed = true;
        }
    }
    if (changed)
        reloadData();
}

qint64 QOVADeviceListViewController::desktopTimeMilliseconds(const QDateTime &now)
{
    const double seconds = now.toMSecsSinceEpoch() / 1000.0 + now.offsetFromUtc();
    return qint64(seconds * 1000.0);
}

void QOVADeviceListViewController::didSelectItemAtIndex(int index)
{
    const int count = m_deviceItemList.size();
    if (index < 0 || index >= count) {
        QOVA_LOG(WARNING, UI, "index %d is over the deviceItemList size %d", index, count);
        return;
    }
    QOVADeviceListItemRef item = m_deviceItemList[index];
    if (item->status != 0)
        return;

    AppDelegate *delegate = AppDelegate::sharedDelegate();
    if (item->productId != QLatin1String("6e17") && item->productId != QLatin1String("6e12")) {
        auto *controller = new QOVADeviceInfoViewController;
        if (delegate)
            delegate->setDeviceInfoController(controller);
        controller->setModel(item);
        controller->setDeviceInfoDelegate(this);
        if (delegate)
            delegate->showDeviceController(controller);
        return;
    }

    QPointer<QOVADeviceListViewController> self(this);
    QOVAIOManager::usbManagerShared()->getUSBDeviceOob(
        item->serialNumber,
        [self, item](const QOVAReplyObject &reply) {
            if (!self)
                return;
            bool enabled = false;
            if (const auto *model = std::get_if<QOVAModelRef>(&reply)) {
                if (auto oob = qova_model_cast<OOBModel>(*model))
                    enabled = oob->isEnable();
            }
            if (item->hasTime)
                self->routeToPageWithDeviceItem(item, enabled);
            else
                self->syncTimeThenRoute(item, enabled);
            QOVA_LOG(INFO, UI, "Get OOB status:%ld", long(enabled));
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get OOB status failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceListViewController::syncTimeThenRoute(const QOVADeviceListItemRef &item, bool oobEnabled)
{
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 milliseconds = desktopTimeMilliseconds(now);
    const QString zone = now.timeZoneAbbreviation();
    QPointer<QOVADeviceListViewController> self(this);
    QOVAIOManager::usbManagerShared()->syncDesktopTimeToOrbrin(
        item->serialNumber, milliseconds, zone,
        [self, item, oobEnabled, milliseconds](const QString &) {
            item->hasTime = true;
            if (self)
                self->routeToPageWithDeviceItem(item, oobEnabled);
            QOVA_LOG(INFO, UI, "Sync Desktop Time %lf to %s Successfully.", double(milliseconds),
                     qUtf8Printable(item->productDeviceName));
        },
        [item, milliseconds](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Sync Desktop Time %lf to %s failure, reason is %s", double(milliseconds),
                     qUtf8Printable(item->productDeviceName), qUtf8Printable(reason));
        });
}

void QOVADeviceListViewController::routeToPageWithDeviceItem(const QOVADeviceListItemRef &item, bool oobEnabled)
{
    AppDelegate *delegate = AppDelegate::sharedDelegate();
    if (!delegate)
        return;
    if (oobEnabled) {
        if (item->productId == QLatin1String("6e17")) {
            auto *wizard = new QOVAHalvexOOBViewController;
            wizard->setModel(item);
            delegate->setOrbrinOobVC(wizard);
            delegate->showDeviceController(wizard);
        } else {
            auto *wizard = new QOVAVaskoOOBViewController;
            wizard->setModel(item);
            delegate->setVaskoOobVC(wizard);
            delegate->showDeviceController(wizard);
        }
        return;
    }
    auto *controller = new QOVADeviceInfoViewController;
    controller->setDeviceInfoDelegate(this);
    delegate->setDeviceInfoController(controller);
    controller->setModel(item);
    storeCurrentDeviceVersion(*item);
    delegate->showDeviceController(controller);
}

void QOVADeviceListViewController::storeCurrentDeviceVersion(const QOVADeviceListItem &item)
{
    const QStringList parts = item.deviceVersion.split(QLatin1Char('.'));
    if (parts.size() >= 2)
        QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion(
            QStringLiteral("%1.%2").arg(parts[0], parts[1]));
}
