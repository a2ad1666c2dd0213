#include "QOVAFirmwareViewController.h"

#include "AppDelegate.h"
#include "QOVABoundedText.h"
#include "QOVAClientNetwork.h"
#include "QOVAColor.h"
#include "QOVAIOManager.h"
#include "QOVAManualUpdateWindow.h"
#include "QOVANavigationView.h"
#include "QOVANotificationCenter.h"
#include "QOVANotificationWindow.h"
#include "log/log.h"
#include "models/DeviceInfoModel.h"
#include "models/OOBModel.h"
#include "models/PasswordEnableModel.h"
#include "util/QOVABlockTimer.h"
#include "upgrader/FirmwareVerdict.h"
#include "version_compare.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>

#include <limits>

namespace {

constexpr int kNavigationHeight = 56;

std::function<void(const QString &)> &alertHandler()
{
    static std::function<void(const QString &)> handler;
    return handler;
}

QString text(const QVariantMap &info, const char *key)
{
    return info.value(QLatin1String(key)).toString();
}

QString imageForProductId(const QString &pid)
{
    switch (upgrader::firmwareFamilyType(pid)) {
    case 2: return QStringLiteral("Orbrin");
    case 4: return QStringLiteral("Vasko");
    default:
        return pid == QLatin1String("5c01") || pid == QLatin1String("5c02") ? QStringLiteral("KRD mini") : QString();
    }
}

// The integer value of a text: its leading decimal digits.
qint64 integerValue(const QString &value)
{
    qint64 n = 0;
    for (const QChar ch : value.trimmed()) {
        if (!ch.isDigit() || n > (std::numeric_limits<qint64>::max() - 9) / 10)
            break;
        n = n * 10 + ch.digitValue();
    }
    return n;
}

bool flag(const std::optional<QString> &value)
{
    if (!value)
        return false;
    const QString v = value->trimmed().toLower();
    return v == QLatin1String("true") || v == QLatin1String("yes") || integerValue(v) != 0;
}

} // namespace

QOVAFirmwareViewController::QOVAFirmwareViewController(QObject *parent)
    : QOVABaseViewController(parent)
{
}

QOVAFirmwareViewController::~QOVAFirmwareViewController()
{
    QOVANotificationCenter::defaultCenter().removeObserver(this);
    stopAllOOBChecks();
}

void QOVAFirmwareViewController::stopOOBCheck(const QString &serialNumber)
{
    m_checkingOOBDevices.removeAll(serialNumber);
    if (const auto timer = m_oobTimers.take(serialNumber))
        timer->invalidate();
}

void QOVAFirmwareViewController::stopAllOOBChecks()
{
    m_checkingOOBDevices.clear();
    for (const auto &timer : std::as_const(m_oobTimers))
        timer->invalidate();
    m_oobTimers.clear();
}

void QOVAFirmwareViewController::setAlertHandler(std::function<void(const QString &)> handler)
{
    alertHandler() = std::move(handler);
}

// ---------------------------------------------------------------- layout

void QOVAFirmwareViewController::viewDidLoad()
{
    QOVABaseViewController::viewDidLoad();
    QWidget *page = view();
    m_tipView = new QOVAUpgradeTipView(page);
    m_tipView->setTipViewDelegate(this);
    m_tipView->setGeometry(0, kNavigationHeight, 820, m_tipView->preferredHeight());

    m_scroll = new QScrollArea(page);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->setWidgetResizable(false);
    QPalette p = m_scroll->palette();
    p.setColor(QPalette::Window, colorWithString(QStringLiteral("f6f6f6"), 1.0));
    m_scroll->setPalette(p);
    m_scroll->setAutoFillBackground(true);
    m_scroll->viewport()->setPalette(p);
    m_scroll->viewport()->setAutoFillBackground(true);
    // The scroll bar has the application's look (QOVAScrollBarStyle).
    m_table = new QWidget;
    m_table->setPalette(p);
    m_table->setAutoFillBackground(true);
    m_table->resize(820, 544);
    m_scroll->setWidget(m_table);
    // The banner shows only once the update server names a newer version of
    // the application (checkApplicationUpdate).
    m_tipView->hide();
    layoutScrollView();
    m_tipView->raise();
    reloadTableView();
    checkApplicationUpdate();
}

void QOVAFirmwareViewController::layoutScrollView()
{
    if (!m_scroll)
        return;
    const int top = m_tipView && !m_tipView->isHidden() ? m_tipView->geometry().bottom() + 1 : kNavigationHeight;
    m_scroll->setGeometry(0, top, 820, view()->height() - top);
}

void QOVAFirmwareViewController::checkApplicationUpdate()
{
    QPointer<QOVAFirmwareViewController> self(this);
    QOVAClientNetwork::sharedClientNetwork()->checkApplicationVersion(
        [self](const std::optional<QOVANetworkError> &error, const QString &version) {
            if (!self || !self->m_tipView)
                return;
            const QString own = QCoreApplication::applicationVersion();
            const bool newer = !error && firmware_version_is_newer(own, version, 1);
            QOVA_LOG(INFO, UI, "Application version %s, newest %s", qUtf8Printable(own),
                     error ? "unknown" : qUtf8Printable(version));
            self->m_tipView->setHidden(!newer);
            self->layoutScrollView();
        });
}

void QOVAFirmwareViewController::closeUpgradeTipView()
{
    if (m_scroll)
        m_scroll->setGeometry(0, kNavigationHeight, 820, view()->height() - kNavigationHeight);
}

qint64 QOVAFirmwareViewController::rowHeight(const QOVAFirmwareModel &model)
{
    if (model.type == 5)
        return 52;
    if (model.type == 6)
        return 16;
    return 110;
}

// ---------------------------------------------------------------- start

void QOVAFirmwareViewController::initData()
{
    // Rows whose update runs stay (with their sections): their download or
    // flashing reports back to them. Everything else starts anew.
    auto running = [](const QOVAFirmwareModelRef &row) {
        return row->upgradeState == 4 || row->upgradeState == 6;
    };
    QList<QOVAFirmwareSectionRef> sections;
    for (const QOVAFirmwareSectionRef &section : std::as_const(m_sectionList)) {
        section->deviceList.removeIf([&](const QOVAFirmwareModelRef &row) { return !running(row); });
        if (!section->deviceList.isEmpty())
            sections.append(section);
    }
    m_sectionList = sections;
    stopAllOOBChecks();
    registerObservers();
    reloadTableView();
}

void QOVAFirmwareViewController::registerObservers()
{
    if (m_observersRegistered)
        return;
    m_observersRegistered = true;
    auto &center = QOVANotificationCenter::defaultCenter();
    auto info = [](const QOVANotification &n) { return n.userInfo.value_or(QVariantMap()); };
    center.addObserver(QStringLiteral("QOVADeviceAutoCheckUpdate"), this,
                       [this](const QOVANotification &) { autoCheckAll(); });
    center.addObserver(QStringLiteral("QOVARemoteControlSleep"), this,
                       [this, info](const QOVANotification &n) { remoteSleep(info(n)); });
    center.addObserver(QStringLiteral("QOVARemoteControlActive"), this,
                       [this, info](const QOVANotification &n) { remoteActive(info(n)); });
    center.addObserver(QStringLiteral("QOVARemoteControlPair"), this,
                       [this, info](const QOVANotification &n) { remotePaired(info(n)); });
    center.addObserver(QStringLiteral("QOVARemoteControlUnPair"), this,
                       [this, info](const QOVANotification &n) { remoteUnpaired(info(n)); });
    center.addObserver(QStringLiteral("QOVARemoteControlUpgrade"), this,
                       [this, info](const QOVANotification &n) { remoteUpgraded(info(n)); });
}

// ---------------------------------------------------------------- arrival

void QOVAFirmwareViewController::addObjectWithUserInfo(const QVariantMap &userInfo)
{
    const QString serial = text(userInfo, "productSeriaNumber");
    for (const QOVAFirmwareModelRef &listed : std::as_const(m_deviceModelList)) {
        if (listed->type <= 4 && listed->type != 3 && listed->serialNumber == serial) {
            // The list is rebuilt below; the row is held on its own.
            const QOVAFirmwareModelRef row = listed;
            const QString version = text(userInfo, "productVersion");
            const bool changed = row->version != version || row->productId != text(userInfo, "productID");
            row->productId = text(userInfo, "productID");
            row->productName = text(userInfo, "productName");
            row->version = version;
            row->deviceName = text(userInfo, "productDeviceName");
            if (changed)
                rejudgeOffer(row);
            reloadTableView();
            upgrade_checkUpdateGroup(row);
            return;
        }
    }
    const QString pid = text(userInfo, "productID");
    if (pid == QLatin1String("6e17") || pid == QLatin1String("6e12")) {
        // One set-up question at a time per device: a repeated arrival while
        // it is asked adds nothing.
        if (m_checkingOOBDevices.contains(serial))
            return;
        QPointer<QOVAFirmwareViewController> self(this);
        getDeviceOOBStatus(serial, [self, userInfo, serial](bool pending) {
            if (!self || pending || self->rowFor(serial))
                return;
            self->addDeviceObjectWithUserInfo(userInfo);
        });
        return;
    }
    addDeviceObjectWithUserInfo(userInfo);
}

void QOVAFirmwareViewController::getDeviceOOBStatus(const QString &serialNumber,
                                                    std::function<void(bool pending)> complete)
{
    QPointer<QOVAFirmwareViewController> self(this);
    auto asking = std::make_shared<bool>(false);
    stopOOBCheck(serialNumber);
    m_checkingOOBDevices.append(serialNumber);
    m_oobTimers.insert(serialNumber, QOVABlockTimer::qova_scheduledTimerWithTimeInterval(
        5.0,
        [self, serialNumber, complete, asking](const QOVABlockTimerRef &timer) {
            if (!self || !self->m_checkingOOBDevices.contains(serialNumber)) {
                timer->invalidate();
                return;
            }
            if (*asking)
                return;
            *asking = true;
            std::weak_ptr<QOVABlockTimer> weakTimer = timer;
            QOVAIOManager::usbManagerShared()->getUSBDeviceOob(
                serialNumber,
                [self, serialNumber, complete, asking, weakTimer](const QOVAReplyObject &reply) {
                    *asking = false;
                    const auto *model = std::get_if<QOVAModelRef>(&reply);
                    const auto oob = model ? qova_model_cast<OOBModel>(*model) : nullptr;
                    const bool pending = oob && oob->isEnable();
                    QOVA_LOG(INFO, UI, "Get OOB status:%ld", long(pending ? 1 : 0));
                    if (auto t = weakTimer.lock())
                        t->invalidate();
                    if (!self || !self->m_checkingOOBDevices.contains(serialNumber))
                        return;
                    self->stopOOBCheck(serialNumber);
                    if (complete)
                        complete(pending);
                },
                [asking](const QString &reason) {
                    *asking = false;
                    qInfo("Get OOB status failed");
                    QOVA_LOG(ERROR, UI, "Get OOB status failure, reason is %s", qUtf8Printable(reason));
                });
        },
        true));
}

void QOVAFirmwareViewController::addDeviceObjectWithUserInfo(const QVariantMap &userInfo)
{
    const QString pid = text(userInfo, "productID");
    auto row = QOVAFirmwareModel::make();
    row->type = upgrader::firmwareFamilyType(pid);
    row->deviceImage = imageForProductId(pid);
    row->productName = text(userInfo, "productName");
    row->version = text(userInfo, "productVersion");
    row->isFolded = true;
    row->progress = 0.5;
    row->serialNumber = text(userInfo, "productSeriaNumber");
    row->productId = pid;
    row->vendorId = text(userInfo, "productVID");
    // Nothing is known until the update server answers ("Checking…").
    row->upgradeState = 3;
    row->deviceName = text(userInfo, "productDeviceName");
    AppDelegate *delegate = AppDelegate::sharedDelegate();
    row->uncheckedViewModel = !(delegate && delegate->currentController() == this);

    QOVAFirmwareSectionRef section = getFirmwareSection(row->type);
    if (!section) {
        section = std::make_shared<QOVAFirmwareSection>();
        section->type = row->type;
        section->productName = row->productName;
        m_sectionList.append(section);
    }
    section->deviceList.append(row);
    if (row->type == 2)
        checkSingleRemoteControl(row);
    reloadTableView();
    checkForUpdateForModel(row);
}

// ---------------------------------------------------------------- removal

void QOVAFirmwareViewController::removeObjectWithUserInfo(const QVariantMap &userInfo)
{
    const QString serial = text(userInfo, "productSeriaNumber");
    stopOOBCheck(serial);
    removeDeviceObjectWithSerialNumber(serial);
    checkDeviceNotification();
}

void QOVAFirmwareViewController::removeDeviceObjectWithSerialNumber(const QString &serialNumber)
{
    for (const QOVAFirmwareSectionRef &section : std::as_const(m_sectionList)) {
        for (const QOVAFirmwareModelRef &row : std::as_const(section->deviceList)) {
            if (row->serialNumber != serialNumber)
                continue;
            // A device that leaves the bus while it is being flashed comes
            // back in DFU mode and again in run mode: its row stays and
            // shows the outcome.
            if (row->upgradeState == 6 && row->type != 3)
                return;
            if (row->upgradeState == 4) {
                QOVA_LOG(INFO, DFU, "Device is removed.");
                m_updatingList.removeAll(row);
                if (isTheOnlyDownloadingModel(row)) {
                    QOVA_LOG(INFO, DFU, "Device is disconnected, and it is downloading from server,so cancel it.");
                    QOVAClientNetwork::sharedClientNetwork()->cancelDownloader(row->sourcePath);
                }
            }
            const QOVAFirmwareModelRef remote = row->remoteControl.lock();
            section->deviceList.removeAll(row);
            if (remote) {
                m_updatingList.removeAll(remote);
                section->deviceList.removeAll(remote);
            }
            if (section->deviceList.isEmpty())
                m_sectionList.removeAll(section);
            reloadTableView();
            return;
        }
    }
}

bool QOVAFirmwareViewController::isTheOnlyDownloadingModel(const QOVAFirmwareModelRef &model) const
{
    for (const QOVAFirmwareModelRef &row : m_updatingList) {
        if (row != model && row->sourcePath == model->sourcePath && row->upgradeState == 4)
            return false;
    }
    return true;
}

void QOVAFirmwareViewController::checkDeviceNotification()
{
    for (const QOVAFirmwareModelRef &row : std::as_const(m_deviceModelList)) {
        if (row->uncheckedViewModel && row->hasNewVersion)
            return;
    }
    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->navigationView()->removeNotificationType(1);
}

void QOVAFirmwareViewController::showNewVersionNotification()
{
    AppDelegate *delegate = AppDelegate::sharedDelegate();
    if (delegate && delegate->currentController() != this)
        delegate->navigationView()->showNotificationType(1);
}

void QOVAFirmwareViewController::updateFirmwareViewController(const QString &name, const QString &serialNumber)
{
    for (const QOVAFirmwareModelRef &row : std::as_const(m_deviceModelList)) {
        if (row->serialNumber == serialNumber && row->type != 3 && row->type <= 4) {
            row->deviceName = boundedShownText(name);
            redrawRow(row);
        }
    }
}

// ---------------------------------------------------------------- rows

QOVAFirmwareSectionRef QOVAFirmwareViewController::getFirmwareSection(qint64 type) const
{
    for (const QOVAFirmwareSectionRef &section : m_sectionList) {
        if (section->type == type)
            return section;
    }
    return nullptr;
}

QOVAFirmwareModelRef QOVAFirmwareViewController::rowFor(const QString &serialNumber, qint64 type) const
{
    for (const QOVAFirmwareSectionRef &section : m_sectionList) {
        for (const QOVAFirmwareModelRef &row : section->deviceList) {
            if (row->serialNumber == serialNumber && (type == 0 ? row->type != 3 : row->type == type))
                return row;
        }
    }
    return nullptr;
}

void QOVAFirmwareViewController::reloadTableView()
{
    QOVA_LOG(INFO, UI, "Reload firmware table view");
    QList<QOVAFirmwareModelRef> rows;
    for (const QPointer<QWidget> &old : std::as_const(m_separateViewList))
        delete old.data();
    m_separateViewList.clear();
    for (int i = 0; i < m_sectionList.size(); ++i) {
        if (i > 0) {
            auto *separator = new QWidget;
            separator->setAutoFillBackground(true);
            QPalette p = separator->palette();
            p.setColor(QPalette::Window, colorWithString(QStringLiteral("f6f6f6"), 1.0));
            separator->setPalette(p);
            m_separateViewList.append(separator);
            auto row = QOVAFirmwareModel::make();
            row->type = 6;
            row->index = i - 1;
            rows.append(row);
        }
        auto header = QOVAFirmwareModel::make();
        header->type = 5;
        header->index = i;
        header->productName = m_sectionList.at(i)->productName;
        rows.append(header);
        rows.append(m_sectionList.at(i)->deviceList);
    }
    m_deviceModelList = rows;
    layoutTable();
}

qint64 QOVAFirmwareViewController::getCanUpdateDeviceNumber(qint64 type) const
{
    qint64 n = 0;
    for (const QOVAFirmwareModelRef &row : m_deviceModelList) {
        if (row->type == type && (row->upgradeState == 1 || row->upgradeState == 8))
            ++n;
    }
    return n;
}

// The table: one view per row, stacked. Cells and headers are reused in
// order; separators are the views of the separator list.
void QOVAFirmwareViewController::layoutTable()
{
    if (!m_table)
        return;
    m_rowViews.clear();
    int nextCell = 0;
    int nextHeader = 0;
    int y = 0;
    const int width = 820;
    for (const QOVAFirmwareModelRef &row : std::as_const(m_deviceModelList)) {
        QWidget *v = nullptr;
        if (row->type == 6) {
            v = m_separateViewList.value(int(row->index));
            if (v)
                v->setParent(m_table);
        } else if (row->type == 5) {
            const QOVAFirmwareSectionRef section = m_sectionList.value(int(row->index));
            if (!section || section->deviceList.isEmpty()) {
                m_rowViews.append(nullptr);
                continue;
            }
            while (nextHeader < m_headerPool.size() && !m_headerPool.at(nextHeader))
                m_headerPool.removeAt(nextHeader);
            if (nextHeader == m_headerPool.size()) {
                auto *header = new QOVAFirmwareListHeader(m_table);
                header->setObjectName(QStringLiteral("cellHeader"));
                header->setDelegate(this);
                m_headerPool.append(header);
            }
            QOVAFirmwareListHeader *header = m_headerPool.at(nextHeader++);
            header->setIndex(row->index);
            header->setUpdateDisabled(section->updateDisabled);
            const QOVAFirmwareModelRef first = section->deviceList.first();
            header->setDeviceCount(section->deviceList.size(), first->productName);
            if (first->type == 2 || first->type == 4) {
                const auto sameType = std::count_if(section->deviceList.begin(), section->deviceList.end(),
                                                    [&](const QOVAFirmwareModelRef &r) { return r->type == first->type; });
                header->setDeviceCount(sameType, first->productName);
                header->setUpdateButtonHidden(true);
            } else if (first->type == 1) {
                header->setUpdateButtonHidden(getCanUpdateDeviceNumber(1) < 2);
            }
            v = header;
        } else {
            while (nextCell < m_cellPool.size() && !m_cellPool.at(nextCell))
                m_cellPool.removeAt(nextCell);
            if (nextCell == m_cellPool.size()) {
                auto *cell = new QOVAFirmwareUpgradeCell(m_table);
                cell->setObjectName(QStringLiteral("cell"));
                cell->setDelegate(this);
                m_cellPool.append(cell);
            }
            QOVAFirmwareUpgradeCell *cell = m_cellPool.at(nextCell++);
            cell->resize(width, 110);
            cell->updateWithModel(row);
            v = cell;
        }
        const int h = int(rowHeight(*row));
        if (v) {
            v->setGeometry(0, y, width, h);
            v->show();
        }
        m_rowViews.append(v);
        y += h;
    }
    for (int i = nextCell; i < m_cellPool.size(); ++i) {
        if (m_cellPool.at(i))
            m_cellPool.at(i)->hide();
    }
    for (int i = nextHeader; i < m_headerPool.size(); ++i) {
        if (m_headerPool.at(i))
            m_headerPool.at(i)->hide();
    }
    m_table->resize(width, std::max(y, 544));
}

QWidget *QOVAFirmwareViewController::viewAtRow(int row) const
{
    return m_rowViews.value(row);
}

QOVAFirmwareUpgradeCell *QOVAFirmwareViewController::cellFor(const QOVAFirmwareModelRef &model) const
{
    return qobject_cast<QOVAFirmwareUpgradeCell *>(viewAtRow(indexOfRow(model)));
}

QOVAFirmwareListHeader *QOVAFirmwareViewController::headerForSection(int section) const
{
    for (int i = 0; i < m_deviceModelList.size(); ++i) {
        if (m_deviceModelList.at(i)->type == 5 && m_deviceModelList.at(i)->index == section)
            return qobject_cast<QOVAFirmwareListHeader *>(viewAtRow(i));
    }
    return nullptr;
}

int QOVAFirmwareViewController::indexOfRow(const QOVAFirmwareModelRef &model) const
{
    return model ? int(m_deviceModelList.indexOf(model)) : -1;
}

QOVAFirmwareModelRef QOVAFirmwareViewController::rowForView(QWidget *view) const
{
    const int i = int(m_rowViews.indexOf(view));
    return i >= 0 ? m_deviceModelList.value(i) : nullptr;
}

void QOVAFirmwareViewController::updateCellAtIndex(int index)
{
    if (index < 0 || index >= m_deviceModelList.size())
        return;
    if (auto *cell = qobject_cast<QOVAFirmwareUpgradeCell *>(viewAtRow(index)))
        cell->updateWithModel(m_deviceModelList.at(index));
}

void QOVAFirmwareViewController::redrawRow(const QOVAFirmwareModelRef &model)
{
    updateCellAtIndex(indexOfRow(model));
}

void QOVAFirmwareViewController::updateDeviceListModel(const QOVAFirmwareModelRef &model)
{
    if (!model)
        return;
    for (const QOVAFirmwareSectionRef &section : std::as_const(m_sectionList)) {
        for (const QOVAFirmwareModelRef &row : std::as_const(section->deviceList)) {
            if (row->serialNumber == model->serialNumber) {
                setDeviceListStatus(row->isDFU() ? 1 : 0, row->serialNumber);
                return;
            }
        }
    }
}

void QOVAFirmwareViewController::setDeviceListStatus(qint64 status, const QString &serialNumber)
{
    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->deviceListController()->updateDeviceStatus(status, serialNumber);
}

qint64 QOVAFirmwareViewController::fileSizeForPath(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? info.size() : 0;
}

void QOVAFirmwareViewController::showDisconnectedAlert()
{
    auto *toast = new QOVANotificationWindow;
    toast->setNotificationType(1);
    toast->setContentString(qtTrId("NOTIFICATION_DEVICE_DISCONNECTED"));
    toast->show();
}

// ---------------------------------------------------------------- page

void QOVAFirmwareViewController::viewDidAppear()
{
    QOVABaseViewController::viewDidAppear();
    QOVA_LOG(INFO, UI, "Enter firmware update page");
    const QList<QOVAFirmwareModelRef> rows = m_deviceModelList;
    for (const QOVAFirmwareModelRef &row : rows)
        row->uncheckedViewModel = false;
    for (const QOVAFirmwareModelRef &row : rows) {
        if (row->upgradeState != 6)
            checkSingleRemoteControl(row);
    }
}

void QOVAFirmwareViewController::autoCheckAll()
{
    if (m_tipView)
        checkApplicationUpdate();
    const QList<QOVAFirmwareSectionRef> sections = m_sectionList;
    for (const QOVAFirmwareSectionRef &section : sections) {
        const QList<QOVAFirmwareModelRef> rows = section->deviceList;
        for (const QOVAFirmwareModelRef &row : rows) {
            if (row->canRefresh())
                checkForUpdateForModel(row);
        }
    }
}

// ---------------------------------------------------------------- remote control

void QOVAFirmwareViewController::checkSingleRemoteControl(const QOVAFirmwareModelRef &model)
{
    if (!model || model->type != 2)
        return;
    if (const QOVAFirmwareModelRef remote = model->remoteControl.lock()) {
        if (remote->upgradeState == 6 || remote->upgradeState == 4)
            return;
    }
    QPointer<QOVAFirmwareViewController> self(this);
    QOVAIOManager::usbManagerShared()->getDeviceInformation(
        model->serialNumber,
        [self, model](const QOVAReplyObject &reply) {
            if (!self)
                return;
            QOVA_LOG(INFO, UI, "Get device information successfully.");
            const auto *ref = std::get_if<QOVAModelRef>(&reply);
            const auto info = ref ? qova_model_cast<DeviceInfoModel>(*ref) : nullptr;
            if (!info)
                return;
            if (flag(info->show_alert))
                model->gotWarning = true;
            const QString remoteName = info->remote_name.value_or(QString());
            const QString remoteVersion = info->remote_fw_version.value_or(QString());
            if (!remoteName.isEmpty() && integerValue(remoteVersion) > 0) {
                QOVA_LOG(INFO, UI, "Get device information successfully,and there is remote control");
                auto remote = QOVAFirmwareModel::make();
                remote->productName = boundedShownText(remoteName);
                remote->version = remoteVersion;
                remote->isRemoteUpdating = info->remote_upgrading.value_or(0) != 0;
                remote->active = info->remote_active.value_or(0) != 0;
                remote->upgradeState = remote->isRemoteUpdating ? 6 : 3;
                model->deviceName = boundedShownText(info->device_name);
                self->addRemoteControl(remote, model);
            } else {
                QOVA_LOG(INFO, UI, "Get device information successfully,but no remote control");
                if (const QOVAFirmwareModelRef remote = model->remoteControl.lock()) {
                    if (const QOVAFirmwareSectionRef section = self->getFirmwareSection(2))
                        section->deviceList.removeAll(remote);
                    self->m_updatingList.removeAll(remote);
                }
                self->reloadTableView();
            }
        },
        [](const QString &reason) {
            QOVA_LOG(INFO, UI, "Get device information failed. reason is %s", qUtf8Printable(reason));
        });
}

void QOVAFirmwareViewController::addRemoteControl(const QOVAFirmwareModelRef &remote,
                                                  const QOVAFirmwareModelRef &bar)
{
    const QOVAFirmwareSectionRef section = getFirmwareSection(2);
    if (!section)
        return;
    if (const QOVAFirmwareModelRef existing = bar->remoteControl.lock()) {
        existing->productName = remote->productName;
        if (existing->version != remote->version) {
            existing->version = remote->version;
            rejudgeOffer(existing);
        }
        if ((existing->upgradeState == 0 || existing->upgradeState == 3) && !existing->isChecking())
            checkForUpdateForModel(existing);
        reloadTableView();
        upgrade_checkUpdateGroup(existing);
        return;
    }
    const int barIndex = int(section->deviceList.indexOf(bar));
    if (barIndex < 0)
        return;
    remote->type = 3;
    if (bar->type == 2)
        remote->deviceImage = QStringLiteral("Orbrin_remote");
    remote->relativeDeviceModel = bar;
    bar->remoteControl = remote;
    remote->serialNumber = bar->serialNumber;
    section->deviceList.insert(barIndex + 1, remote);
    reloadTableView();
    checkForUpdateForModel(remote);
}

void QOVAFirmwareViewController::remoteSleep(const QVariantMap &userInfo)
{
    const QString serial = text(userInfo, "productSeriaNumber");
    QOVA_LOG(INFO, UI, "Device remote control %s slept", qUtf8Printable(serial));
    if (const QOVAFirmwareModelRef remote = rowFor(serial, 3)) {
        remote->active = false;
        reloadTableView();
    }
}

void QOVAFirmwareViewController::remoteActive(const QVariantMap &userInfo)
{
    const QString serial = text(userInfo, "productSeriaNumber");
    QOVA_LOG(INFO, UI, "Device remote control %s actived", qUtf8Printable(serial));
    if (const QOVAFirmwareModelRef remote = rowFor(serial, 3)) {
        remote->active = true;
        reloadTableView();
    }
}

void QOVAFirmwareViewController::remotePaired(const QVariantMap &userInfo)
{
    const QString serial = text(userInfo, "productSeriaNumber");
    QOVA_LOG(INFO, UI, "Device remote control %s paired", qUtf8Printable(serial));
    if (const QOVAFirmwareModelRef bar = rowFor(serial, 2))
        checkSingleRemoteControl(bar);
}

void QOVAFirmwareViewController::remoteUnpaired(const QVariantMap &userInfo)
{
    const QString serial = text(userInfo, "productSeriaNumber");
    QOVA_LOG(INFO, UI, "Device remote control %s unpaired", qUtf8Printable(serial));
    const QOVAFirmwareSectionRef section = getFirmwareSection(2);
    if (!section)
        return;
    if (const QOVAFirmwareModelRef remote = rowFor(serial, 3)) {
        section->deviceList.removeAll(remote);
        m_updatingList.removeAll(remote);
    }
    if (const QOVAFirmwareModelRef bar = rowFor(serial, 2))
        bar->remoteControl.reset();
    reloadTableView();
}

void QOVAFirmwareViewController::remoteUpgraded(const QVariantMap &userInfo)
{
    const QString serial = text(userInfo, "productSeriaNumber");
    QOVA_LOG(INFO, UI, "Device remote control %s upgraded", qUtf8Printable(serial));
    if (const QOVAFirmwareModelRef remote = rowFor(serial, 3)) {
        remote->upgradeState = userInfo.value(QStringLiteral("remoteUpgrade")).toBool() ? 7 : 8;
        reloadTableView();
    }
}

void QOVAFirmwareViewController::performLocalDFU(QOVAFirmwareUpgradeCell *cell, const QString &filePath)
{
    const QOVAFirmwareModelRef row = rowForView(cell);
    if (!row || row->type == 3)
        return;
    auto *window = new QOVAManualUpdateWindow(QSizeF(420, 220), filePath, row->version,
                                              QStringLiteral("Selected File Version"));
    window->initForLocalDFU(row->serialNumber);
    window->show();
}

void QOVAFirmwareViewController::updateIfNeedPassword(QOVAFirmwareUpgradeCell *cell)
{
    const QOVAFirmwareModelRef row = rowForView(cell);
    if (!row)
        return;
    if (row->gotWarning) {
        const QString message = qtTrId("STRING_DEVICE_DIAGNOSTIC_WARNING");
        if (alertHandler())
            alertHandler()(message);
        else
            QMessageBox::warning(AppDelegate::mainWindowWidget(), QStringLiteral("Zentaro Orvalinde"), message);
        return;
    }
    if (row->isDFU()) {
        startUpdateModel(row);
        return;
    }
    if (row->type == 2 || row->type == 4 || row->type == 3) {
        if (row->type == 3 && row->relativeDeviceModel && row->relativeDeviceModel->isDFU()) {
            QOVA_LOG(INFO, UI, "Attempt to update remote control for a DFU device.");
            return;
        }
        QPointer<QOVAFirmwareViewController> self(this);
        QOVAIOManager::usbManagerShared()->getOrbrinPasswordEnableModel(
            row->serialNumber,
            [self, row](const QOVAReplyObject &reply) {
                if (!self)
                    return;
                const auto *ref = std::get_if<QOVAModelRef>(&reply);
                const auto model = ref ? qova_model_cast<PasswordEnableModel>(*ref) : nullptr;
                if (!model || !model->isEnable_password()) {
                    self->startUpdateModel(row);
                    return;
                }
                if (self->m_signInWindow) {
                    self->m_signInWindow->orderOut();
                    self->m_signInWindow->deleteLater();
                }
                self->m_signInWindow = new QOVAUpgradeSignInWindow(QSizeF(420, 200), row);
                self->m_signInWindow->setSignInDelegate(self);
                self->m_signInWindow->showWindow();
            },
            [](const QString &reason) {
                QOVA_LOG(ERROR, DFU, "Failed to get password enable status, reason is %s", qUtf8Printable(reason));
            });
        return;
    }
    startUpdateModel(row);
}

void QOVAFirmwareViewController::signInUsingPassword(const QString &password, const QOVAFirmwareModelRef &model)
{
    if (!model)
        return;
    QPointer<QOVAFirmwareViewController> self(this);
    QOVAIOManager::usbManagerShared()->loginDeviceUsingPassword(
        password, model->serialNumber,
        [self, model](const QString &) {
            QOVA_LOG(INFO, DFU, "Sign in successfully.");
            if (!self)
                return;
            if (self->m_signInWindow)
                self->m_signInWindow->orderOut();
            self->startUpdateModel(model);
        },
        [self](const QString &reason) {
            QOVA_LOG(INFO, DFU, "Failed to sign in, reason is %s", qUtf8Printable(reason));
            if (self && self->m_signInWindow)
                self->m_signInWindow->showNotification(qtTrId("NOTIFICATION_TIP_LOGIN_FAILED"));
        });
}
