// The firmware page's update actions: the check and version compare, Update
// All and refresh, the download shared by every row of one package, flashing,
// the remote-control upgrade and cancel.
#include "QOVAFirmwareViewController.h"

#include "QOVAClientNetwork.h"
#include "QOVAIOManager.h"
#include "log/log.h"
#include "platform/ThreadHop.h"
#include "models/DeviceInfoModel.h"
#include "version_compare.h"

#include <QPointer>

void QOVAFirmwareViewController::checkForUpdateForModel(const QOVAFirmwareModelRef &model)
{
    if (!model || model->type < 1 || model->type > 4)
        return;
    checkUpgrade(model->type, model);
}

void QOVAFirmwareViewController::checkUpgrade(qint64 kind, const QOVAFirmwareModelRef &model, bool startAfter)
{
    QPointer<QOVAFirmwareViewController> self(this);
    const quint64 generation = ++model->checkGeneration;
    model->checking = true;
    if (model->upgradeState == 3 || model->upgradeState == 8)
        redrawRow(model);  // the button waits for the answer
    QOVAClientNetwork::sharedClientNetwork()->checkUpgrade(int(kind), [self, model, generation, startAfter](
                                                                            const std::optional<QOVANetworkError> &error,
                                                                            const QString &version, const QString &url,
                                                                            const QString &md5) {
        // A newer check of the row is under way: its answer decides.
        if (generation != model->checkGeneration)
            return;
        model->checking = false;
        if (!self)
            return;
        // A row whose update started meanwhile keeps its state.
        if (!model->canRefresh())
            return;
        if (error) {
            QOVA_LOG(ERROR, UI, "Firmware auto check failed,%s", qUtf8Printable(error->localizedDescription));
            if (model->isDFU() && model->hasNewVersion && !model->sourcePath.isEmpty()) {
                // A device left in DFU mode needs its firmware: the offer
                // it has stays through a passing failure.
                QOVA_LOG(INFO, UI, "The DFU-mode device %s keeps its offer of %s",
                         qUtf8Printable(model->serialNumber), qUtf8Printable(model->targetVersion));
                self->redrawRow(model);
                return;
            }
            // Nothing is known about a newer version: the row says that the
            // check failed and offers to ask again, never "Up to date".
            model->upgradeState = 3;
            model->failureText = qtTrId("STRING_CHECK_FAILED");
            model->failureDetail = error->localizedDescription;
            model->hasNewVersion = false;
        } else {
            // The server's answer is kept either way, so that the offer can
            // be judged again when the device's version changes.
            model->sourcePath = url;
            model->targetVersion = version;
            model->checksum = md5;
            model->offerIsStale = false;
            model->clearFailure();
            if (self->compareVersion(model->version, version, model->type) || model->isDFU()) {
                model->upgradeState = 1;
                model->hasNewVersion = true;
            } else {
                model->upgradeState = 0;
                model->updateDate = QDateTime::currentDateTime();
                model->hasNewVersion = false;
            }
        }
        self->reloadTableView();
        self->upgrade_checkUpdateGroup(model);
        if (startAfter && model->upgradeState == 1)
            self->startUpdateModel(model);
    });
}

void QOVAFirmwareViewController::rejudgeOffer(const QOVAFirmwareModelRef &model)
{
    // Only a row at rest with an answer of the server to judge by.
    if (!model || !model->canRefresh() || model->upgradeState == 3 || model->targetVersion.isEmpty()
        || model->sourcePath.isEmpty())
        return;
    const bool newer = model->isDFU() || compareVersion(model->version, model->targetVersion, model->type);
    QOVA_LOG(INFO, UI, "Version of %s is now %s, offered %s: %s", qUtf8Printable(model->serialNumber),
             qUtf8Printable(model->version), qUtf8Printable(model->targetVersion), newer ? "still newer" : "not newer");
    if (newer && (model->upgradeState == 0 || model->upgradeState == 7)) {
        model->upgradeState = 1;
        model->hasNewVersion = true;
    } else if (!newer && (model->upgradeState == 1 || model->upgradeState == 2 || model->upgradeState == 8)) {
        model->upgradeState = 0;
        model->updateDate = QDateTime::currentDateTime();
        model->hasNewVersion = false;
        model->clearFailure();
    }
}

bool QOVAFirmwareViewController::compareVersion(const QString &current, const QString &available, qint64 type)
{
    QOVA_LOG(INFO, DFU, "compare version, device type:%d, current version:%s,available version:%s", int(type),
             qUtf8Printable(current), qUtf8Printable(available));
    const bool newer = firmware_version_is_newer(current, available, type);
    if (newer)
        showNewVersionNotification();
    return newer;
}

void QOVAFirmwareViewController::upgrade_checkUpdateGroup(const QOVAFirmwareModelRef &model)
{
    if (!model)
        return;
    for (const QOVAFirmwareSectionRef &section : std::as_const(m_sectionList)) {
        const bool holds = std::any_of(section->deviceList.begin(), section->deviceList.end(),
                                       [&](const QOVAFirmwareModelRef &r) { return r->serialNumber == model->serialNumber; });
        if (!holds)
            continue;
        const bool canUpdate = std::any_of(section->deviceList.begin(), section->deviceList.end(),
                                           [](const QOVAFirmwareModelRef &r) {
                                               return r->upgradeState == 1 || r->upgradeState == 8;
                                           });
        section->updateDisabled = !canUpdate;
        reloadTableView();
        return;
    }
}

void QOVAFirmwareViewController::updateAllDevices(QOVAFirmwareListHeader *header)
{
    qInfo("updateAll");
    const QOVAFirmwareSectionRef section = m_sectionList.value(int(header->index()));
    if (!section)
        return;
    const QList<QOVAFirmwareModelRef> rows = section->deviceList;
    for (const QOVAFirmwareModelRef &row : rows) {
        if (row->upgradeState == 1 || row->upgradeState == 2 || row->upgradeState == 8)
            startUpdateModel(row);
    }
    section->updateDisabled = true;
    reloadTableView();
}

void QOVAFirmwareViewController::refreshStatus(QOVAFirmwareListHeader *header)
{
    qInfo("refresh");
    const QOVAFirmwareSectionRef section = m_sectionList.value(int(header->index()));
    if (!section)
        return;
    const QList<QOVAFirmwareModelRef> rows = section->deviceList;
    for (const QOVAFirmwareModelRef &row : rows) {
        if (row->canRefresh())
            checkForUpdateForModel(row);
    }
}

void QOVAFirmwareViewController::startUpdateModel(const QOVAFirmwareModelRef &model)
{
    if (!model || m_updatingList.contains(model))
        return;
    // Without a package address there is nothing to fetch: the row stays
    // offered and its address is asked for again.
    if (model->sourcePath.isEmpty()) {
        QOVA_LOG(ERROR, DFU, "No package address for %s, checking again", qUtf8Printable(model->serialNumber));
        checkForUpdateForModel(model);
        return;
    }
    // The last package did not match its digest: the server is asked for a
    // fresh digest and address first; its offer starts the download.
    if (model->offerIsStale) {
        QOVA_LOG(INFO, DFU, "The last package for %s did not match its digest, asking the update server again",
                 qUtf8Printable(model->serialNumber));
        if (model->type >= 1 && model->type <= 4)
            checkUpgrade(model->type, model, true);
        return;
    }
    model->progress = 0;
    model->upgradeState = 4;
    model->clearFailure();
    redrawRow(model);
    m_updatingList.append(model);
    setDeviceListStatus(2, model->serialNumber);

    QPointer<QOVAFirmwareViewController> self(this);
    downloadFirmwareForDevice(model, [self](const std::optional<QOVANetworkError> &error,
                                            const QOVAFirmwareModelRef &row) {
        if (!self)
            return;
        const QString source = row->sourcePath;
        // Every row of that address that still waits.
        QList<QOVAFirmwareModelRef> waiting;
        for (const QOVAFirmwareModelRef &r : std::as_const(self->m_updatingList)) {
            if (r->sourcePath == source)
                waiting.append(r);
        }
        if (!error) {
            self->upgradeAllForModels(row);
        } else {
            // Every row that waited for the package says that the download
            // failed and offers Update again. A cancelled transfer has no
            // rows left waiting; should one remain, it is offered again.
            for (const QOVAFirmwareModelRef &r : std::as_const(waiting)) {
                self->updateDeviceListModel(r);
                if (error->isCancelled()) {
                    r->upgradeState = r->isDFU() ? 2 : 1;
                } else {
                    r->upgradeState = 8;
                    if (error->code == QOVANetworkError::Md5Mismatch)
                        r->offerIsStale = true;
                    r->updateError.reset();
                    r->failureText = qtTrId("STRING_DOWNLOAD_FAILED");
                    r->failureDetail = error->localizedDescription;
                }
                self->redrawRow(r);
            }
        }
        for (const QOVAFirmwareModelRef &r : std::as_const(waiting))
            self->m_updatingList.removeAll(r);
        self->upgrade_checkUpdateGroup(row);
    });
}

void QOVAFirmwareViewController::downloadFirmwareForDevice(
    const QOVAFirmwareModelRef &model,
    std::function<void(const std::optional<QOVANetworkError> &, const QOVAFirmwareModelRef &)> complete)
{
    upgrade_checkUpdateGroup(model);
    QPointer<QOVAFirmwareViewController> self(this);
    const QString source = model->sourcePath;
    QOVAClientNetwork::sharedClientNetwork()->downloadFileFromPath(
        source, model->targetVersion, model->checksum,
        [self, source](qint64 received, qint64 total) {
            if (self)
                self->reloadDownloadingCells(received, total, source);
        },
        [self, model, complete](const QString &path) {
            if (!self)
                return;
            model->localFilePath = path;
            // Every row waiting for this package flashes the same file.
            for (const QOVAFirmwareModelRef &r : std::as_const(self->m_updatingList)) {
                if (r->sourcePath == model->sourcePath)
                    r->localFilePath = path;
            }
            complete(std::nullopt, model);
        },
        [self, model, complete](const QOVANetworkError &error) {
            if (!self)
                return;
            QOVA_LOG(ERROR, DFU, "Download of %s failed: %s", qUtf8Printable(model->sourcePath),
                     qUtf8Printable(error.localizedDescription));
            self->upgrade_checkUpdateGroup(model);
            complete(error, model);
        });
}

void QOVAFirmwareViewController::reloadDownloadingCells(qint64 received, qint64 total, const QString &sourcePath)
{
    for (const QOVAFirmwareModelRef &row : std::as_const(m_updatingList)) {
        if (row->sourcePath != sourcePath || row->upgradeState != 4)
            continue;
        row->progress = total > 0 ? double(received) / double(total) : 0;
        row->totalSize = double(total);
        const int index = indexOfRow(row);
        if (index < 0) {
            QOVA_LOG(INFO, DFU, "There is not a model in the device model list");
            continue;
        }
        if (auto *cell = qobject_cast<QOVAFirmwareUpgradeCell *>(viewAtRow(index)))
            cell->updateProgress(row->progress);
    }
}

void QOVAFirmwareViewController::upgradeAllForModels(const QOVAFirmwareModelRef &model)
{
    if (model->type == 3) {
        updateDeviceRemoteControl(model);
        return;
    }
    const double size = double(fileSizeForPath(model->localFilePath));
    const QList<QOVAFirmwareModelRef> waiting = m_updatingList;
    QPointer<QOVAFirmwareViewController> self(this);
    for (const QOVAFirmwareModelRef &row : waiting) {
        if (row->sourcePath != model->sourcePath || row->type == 3)
            continue;
        row->upgradeState = 6;
        row->progress = 0;
        row->totalSize = size;
        redrawRow(row);
        // Flashing reports from the flashing queue's threads; every report
        // acts on the main thread.
        auto onMain = [self](std::function<void()> fn) {
            platform::postToMain([self, fn = std::move(fn)] {
                if (self)
                    fn();
            });
        };
        QOVAIOManager::usbManagerShared()->usbDeviceUpdate(
            row->serialNumber, model->localFilePath, true,
            [self, row, onMain](double value) {
                onMain([self, row, value] {
                    if (row->upgradeState != 6)
                        return;
                    row->progress = value;
                    self->redrawRow(row);
                });
            },
            [self, row, onMain](const QString &reportedVersion) {
                onMain([self, row, reportedVersion] {
                    row->upgradeState = 7;
                    // What the device reports back in run mode, never the
                    // version it was asked to install.
                    if (!reportedVersion.isEmpty())
                        row->version = reportedVersion;
                    row->updateDate = QDateTime::currentDateTime();
                    row->hasNewVersion = false;
                    self->m_updatingList.removeAll(row);
                    self->reloadTableView();
                    self->upgrade_checkUpdateGroup(row);
                    self->updateDeviceListModel(row);
                });
            },
            [self, row, onMain](const QOVAError &error) {
                onMain([self, row, error] {
                    row->upgradeState = 8;
                    row->updateError = error;
                    self->reloadTableView();
                    self->updateDeviceListModel(row);
                    self->m_updatingList.removeAll(row);
                    self->upgrade_checkUpdateGroup(row);
                    if (error.code() == 2)
                        self->showDisconnectedAlert();
                });
            },
            row->targetVersion);
    }
}

void QOVAFirmwareViewController::updateDeviceRemoteControl(const QOVAFirmwareModelRef &model)
{
    const double size = double(fileSizeForPath(model->localFilePath));
    for (const QOVAFirmwareModelRef &row : std::as_const(m_updatingList)) {
        if (row->sourcePath == model->sourcePath)
            row->localFilePath = model->localFilePath;
    }
    QPointer<QOVAFirmwareViewController> self(this);
    QOVAIOManager::usbManagerShared()->getDeviceInformation(
        model->serialNumber,
        [self, model, size](const QOVAReplyObject &reply) {
            if (!self)
                return;
            QOVA_LOG(INFO, UI, "Get device information successfully.");
            const auto *ref = std::get_if<QOVAModelRef>(&reply);
            const auto info = ref ? qova_model_cast<DeviceInfoModel>(*ref) : nullptr;
            if (info && info->remote_active.value_or(0) != 0) {
                model->upgradeState = 6;
                model->progress = 0;
                model->totalSize = size;
                self->redrawRow(model);
                self->upgradeRemoteControl(model);
                return;
            }
            QOVA_LOG(INFO, UI, "Get device information successfully,but no remote control");
            if (const QOVAFirmwareModelRef remote = self->rowFor(model->serialNumber, 3)) {
                remote->active = false;
                remote->upgradeState = 1;
            }
            self->setDeviceListStatus(0, model->serialNumber);
            self->reloadTableView();
        },
        [self, model](const QString &reason) {
            QOVA_LOG(INFO, UI, "Get device information failure, reason is %s", qUtf8Printable(reason));
            if (!self)
                return;
            // The upgrade never started: the row is offered again and the
            // video bar is no longer shown as updating.
            model->upgradeState = 1;
            self->setDeviceListStatus(0, model->serialNumber);
            self->reloadTableView();
            self->upgrade_checkUpdateGroup(model);
        });
}

void QOVAFirmwareViewController::upgradeRemoteControl(const QOVAFirmwareModelRef &model)
{
    QPointer<QOVAFirmwareViewController> self(this);
    QOVAIOManager::usbManagerShared()->usbRemoteControlUpdate(
        model->serialNumber, model->localFilePath,
        [self, model](double value) {
            if (!self)
                return;
            model->progress = value;
            model->upgradeState = 6;
            self->redrawRow(model);
        },
        [self, model](const QString &) {
            if (!self)
                return;
            model->upgradeState = 7;
            model->version = model->targetVersion;
            model->updateDate = QDateTime::currentDateTime();
            model->hasNewVersion = false;
            self->reloadTableView();
            self->m_updatingList.removeAll(model);
            self->upgrade_checkUpdateGroup(model);
            self->setDeviceListStatus(0, model->serialNumber);
            QOVA_LOG(INFO, UI, "Upgrade remote control successfully.");
        },
        [self, model](const QString &) {
            if (!self)
                return;
            model->upgradeState = 8;
            self->reloadTableView();
            self->m_updatingList.removeAll(model);
            self->upgrade_checkUpdateGroup(model);
            self->setDeviceListStatus(0, model->serialNumber);
            QOVA_LOG(INFO, UI, "Upgrade remote control failed.");
        });
}

void QOVAFirmwareViewController::cancelDownload(QOVAFirmwareUpgradeCell *cell)
{
    const QOVAFirmwareModelRef row = rowForView(cell);
    if (!row)
        return;
    m_updatingList.removeAll(row);
    updateDeviceListModel(row);
    row->upgradeState = row->isDFU() ? 2 : 1;
    redrawRow(row);
    upgrade_checkUpdateGroup(row);
}

void QOVAFirmwareViewController::checkAgain(QOVAFirmwareUpgradeCell *cell)
{
    const QOVAFirmwareModelRef row = rowForView(cell);
    if (!row || !row->canRefresh() || row->isChecking())
        return;
    checkForUpdateForModel(row);
}
