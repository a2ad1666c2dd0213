#include "QOVAUpgradeManager.h"

#include "QOVADFUUpgrader.h"
#include "QOVADownloader.h"
#include "dfu_file.h"
#include "upgrader/QOVAUpgraderDevice.h"

#include "log/log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <thread>

namespace {
std::mutex g_sharedMutex;
std::shared_ptr<QOVAUpgradeManager> g_shared;
} // namespace

QOVAUpgradeManager::QOVAUpgradeManager() = default;

QOVAUpgradeManager::~QOVAUpgradeManager()
{
    // Jobs still running end without an outcome when their upgraders go;
    // their files are released here.
    std::vector<Job> jobs;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        jobs.swap(upgraderDeviceList);
        waitingUpgraderList.clear();
    }
    for (const Job &job : jobs)
        job->upgrader->cancel();
    std::vector<std::string> released;
    for (const Job &job : jobs) {
        if (job->dfuFirmware.size.total > 0 && job->dfuFirmware.firmware
            && std::find(released.begin(), released.end(), job->dfuFirmware.name) == released.end()) {
            released.push_back(job->dfuFirmware.name);
            removeMapInMemory(job->dfuFirmware);
        }
    }
}

std::shared_ptr<QOVAUpgradeManager> QOVAUpgradeManager::sharedUpgradeManager()
{
    std::lock_guard<std::mutex> lock(g_sharedMutex);
    if (!g_shared)
        g_shared = std::make_shared<QOVAUpgradeManager>();
    return g_shared;
}

void QOVAUpgradeManager::setSharedUpgradeManager(std::shared_ptr<QOVAUpgradeManager> manager)
{
    std::lock_guard<std::mutex> lock(g_sharedMutex);
    g_shared = std::move(manager);
}

QOVAError QOVAUpgradeManager::getUpgradeError()
{
    return QOVAError::errorCode(
        0, {{QOVAError::kLocalizedDescriptionKey, qtTrId("STRING_UPDATE_FAILED")}});
}

int QOVAUpgradeManager::fileChecks() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_fileChecks;
}

int QOVAUpgradeManager::mappedFiles() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mappedFiles;
}

int QOVAUpgradeManager::waitingJobs() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(waitingUpgraderList.size());
}

int QOVAUpgradeManager::upgradingJobs() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(upgraderDeviceList.size());
}

// ---------------------------------------------------------------------------
// Queueing

void QOVAUpgradeManager::upgradeDevice(const QOVADeviceModelRef &model, const QString &path,
                                       QOVAProgressBlock progress, QOVASuccessBlock success,
                                       QOVAUpgradeFailedBlock failed, QOVAUpgradeStatusBlock status)
{
    if (path.isEmpty()) {
        if (failed)
            failed(getUpgradeError());
        return;
    }
    upgradeDFUdevice(model, path, std::move(progress), std::move(success), std::move(failed),
                     std::move(status));
}

void QOVAUpgradeManager::upgradeDFUdevice(const QOVADeviceModelRef &model, const QString &path,
                                          QOVAProgressBlock progress, QOVASuccessBlock success,
                                          QOVAUpgradeFailedBlock failed,
                                          QOVAUpgradeStatusBlock status)
{
    // Opens the device on the caller's thread.
    QOVADFUUpgraderRef upgrader = QOVADFUUpgrader::initWithFirmwareModel(model);
    if (!upgrader) {
        if (failed)
            failed(getUpgradeError());
        return;
    }
    QOVA_LOG(INFO, DFU, "upgradeDFUdevice:%s---path:%s",
             qUtf8Printable(model->productseriaNumber()), qUtf8Printable(path));
    auto job = std::make_shared<QOVAUpgraderDevice>();
    job->filePath = path;
    job->progressBlock = std::move(progress);
    job->successBlock = std::move(success);
    job->failedBlock = std::move(failed);
    job->statusBlock = std::move(status);
    job->deviceModel = model;
    job->upgrader = std::move(upgrader);

    enum { Join, Refuse, Wait, Check } next = Check;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (isUpgradingFileExistLocked(path)) {
            // Another device is being flashed from this file: same mapping,
            // no second check of its suffix, but its ids must fit this device.
            QOVA_LOG(ERROR, DFU, "upgrading file exist.");
            const dfu_file &running = getUpgraderByPathLocked(path)->dfuFirmware;
            if (fileFitsDevice(running, *model)) {
                job->dfuFirmware = running;
                job->joinedRunningFile = true;
                upgraderDeviceList.push_back(job);
                next = Join;
            } else {
                next = Refuse;
            }
        } else if (isCheckingFileExistLocked(path)) {
            QOVA_LOG(ERROR, DFU, "checking file exist.");
            waitingUpgraderList.push_back(job);
            next = Wait;
        } else {
            QOVA_LOG(ERROR, DFU, "add to waiting list, then check firmware.");
            QOVA_LOG(INFO, DFU, "checkFirmware:%s---path%s",
                     qUtf8Printable(model->productseriaNumber()), qUtf8Printable(path));
            waitingUpgraderList.push_back(job);
            ++m_fileChecks;
        }
    }
    if (next == Join) {
        QOVA_LOG(INFO, UI, "upgrade single device!");
        startUpgrader(job);
    } else if (next == Refuse) {
        refuseFile(job);
    } else if (next == Check) {
        checkFirmware(job);
    }
}

void QOVAUpgradeManager::checkFirmware(const Job &job)
{
    // The file is mapped and its suffix parsed on a short-lived thread of
    // its own, so that a file that is slow to open holds up nothing else.
    std::weak_ptr<QOVAUpgradeManager> weakSelf = weak_from_this();
    const QString path = job->filePath;
    std::thread([weakSelf, job, path] {
        dfu_file file;
        file.name = path.toStdString();
        const int mapped = dfu_map_file(&file);
        bool valid = false;
        if (mapped == DFU_FILE_MAPPED) {
            const int parsed = dfu_parse_suffix(&file);
            valid = parsed == DFU_SUFFIX_VALID;
            if (!valid) {
                QOVA_LOG(ERROR, DFU, "firmware file %s: %s", file.name.c_str(),
                         dfu_file_result_name(parsed));
                dfu_unmap_file(&file);  // a rejected file keeps no mapping
            }
        } else {
            QOVA_LOG(ERROR, DFU, "firmware file %s: %s", file.name.c_str(),
                     dfu_file_result_name(mapped));
        }
        if (auto self = weakSelf.lock())
            self->checkFinished(job, valid, file);
        else if (valid)
            dfu_unmap_file(&file);
    }).detach();
}

void QOVAUpgradeManager::checkFinished(const Job &job, bool valid, const dfu_file &file)
{
    if (valid) {
        QOVA_LOG(INFO, DFU, "check is right firmware, start to upgrade devices.");
        QOVA_LOG(INFO, DFU,
                 "firmware file suffix information:\nDFU version is %04x\nVerdor ID is %04x\n"
                 "Product ID is %04x\nrelease number is %04x",
                 file.bcdDFU, file.idVendor, file.idProduct, file.bcdDevice);
        startUpgradeDevices(file);
        return;
    }
    QOVA_LOG(ERROR, DFU, "check firmware failed.");
    std::vector<Job> dropped;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        dropped = removeWaitingUpgraderDevicesLocked(job->filePath);
    }
    // A downloaded package that fails its check is never used again: the
    // next update fetches it anew. A file the user chose stays.
    if (isDownloadedPackage(job->filePath))
        removeLocalFirmware(job->filePath);
    // Every device that waited for the file is told, each once.
    const QOVAError error = getUpgradeError();
    for (const Job &waiting : dropped) {
        if (waiting->failedBlock)
            waiting->failedBlock(error);
    }
}

void QOVAUpgradeManager::startUpgradeDevices(const dfu_file &file)
{
    const QString path = QString::fromStdString(file.name);
    std::vector<Job> started;
    std::vector<Job> refused;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = waitingUpgraderList.begin(); it != waitingUpgraderList.end();) {
            if ((*it)->filePath == path) {
                if (fileFitsDevice(file, *(*it)->deviceModel)) {
                    (*it)->dfuFirmware = file;
                    upgraderDeviceList.push_back(*it);
                    started.push_back(*it);
                } else {
                    refused.push_back(*it);
                }
                it = waitingUpgraderList.erase(it);
            } else {
                ++it;
            }
        }
        if (!started.empty())
            ++m_mappedFiles;
    }
    if (started.empty()) {
        dfu_file unused = file;
        dfu_unmap_file(&unused);
    }
    for (const Job &job : refused)
        refuseFile(job);
    for (const Job &job : started) {
        QOVA_LOG(INFO, UI, "upgrade devices!");
        startUpgrader(job);
    }
}

void QOVAUpgradeManager::startUpgrader(const Job &job)
{
    std::weak_ptr<QOVAUpgradeManager> weakSelf = weak_from_this();
    std::weak_ptr<QOVAUpgraderDevice> weakJob = job;
    job->upgrader->updateFirmwareWithFile(
        job->dfuFirmware, job->progressBlock,
        [weakSelf, weakJob](const QString &text) {
            auto self = weakSelf.lock();
            auto job = weakJob.lock();
            if (self && job)
                self->upgradeSucceeded(job, text);
        },
        [weakSelf, weakJob](const QOVAError &error) {
            auto self = weakSelf.lock();
            auto job = weakJob.lock();
            if (self && job)
                self->upgradeFailed(job, error);
        },
        job->statusBlock);
}

bool QOVAUpgradeManager::fileFitsDevice(const dfu_file &file, const QOVADeviceModel &model)
{
    bool ok = false;
    const uint16_t productId = uint16_t(model.productPID().toUShort(&ok, 16));
    const int result = dfu_check_ids(&file, ok ? productId : 0);
    if (result == DFU_SUFFIX_VALID)
        return true;
    QOVA_LOG(ERROR, DFU, "firmware file %s names vendor %04x product %04x, not device %s (%s)",
             file.name.c_str(), file.idVendor, file.idProduct,
             qUtf8Printable(model.productseriaNumber()), qUtf8Printable(model.productPID()));
    return false;
}

void QOVAUpgradeManager::refuseFile(const Job &job)
{
    // The device has seen no request yet; dropping the upgrader closes it.
    QOVA_LOG(ERROR, DFU, "check firmware failed.");
    auto failed = std::move(job->failedBlock);
    job->upgrader.reset();
    if (failed)
        failed(getUpgradeError());
}

// ---------------------------------------------------------------------------
// Outcomes, on the upgraders' threads

void QOVAUpgradeManager::upgradeSucceeded(const Job &job, const QString &text)
{
    bool unmap = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        removeUpgradingLocked(job);
        unmap = !hasMappedJobLocked(job->filePath);
        if (unmap)
            --m_mappedFiles;
    }
    QOVA_LOG(INFO, UI, "upgrade success!");
    if (unmap) {
        QOVA_LOG(INFO, UI, "remove memory");
        removeMapInMemory(job->dfuFirmware);
    }
    if (job->successBlock)
        job->successBlock(text);
}

void QOVAUpgradeManager::upgradeFailed(const Job &job, const QOVAError &error)
{
    const bool corrupt = error.code() == 1;
    bool unmap = false;
    std::vector<Job> dropped;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        removeUpgradingLocked(job);
        unmap = !hasMappedJobLocked(job->filePath);
        if (unmap)
            --m_mappedFiles;
        if (corrupt)
            dropped = removeWaitingUpgraderDevicesLocked(job->filePath);
    }
    if (job->joinedRunningFile)
        QOVA_LOG(INFO, UI, "upgrade failed!");
    else
        QOVA_LOG(ERROR, UI, "upgrade failed!");

    if (corrupt) {
        QOVA_LOG(ERROR, UI, "local firmware is corrupt.");
        if (unmap) {
            removeMapInMemory(job->dfuFirmware);
            // Only a downloaded package goes; a file the user chose stays.
            if (isDownloadedPackage(job->filePath))
                removeLocalFirmware(job->filePath);
        }
    } else if (unmap) {
        QOVA_LOG(INFO, UI, "remove memory");
        removeMapInMemory(job->dfuFirmware);
    }
    for (const Job &waiting : dropped) {
        if (waiting->failedBlock)
            waiting->failedBlock(error);
    }
    if (job->failedBlock)
        job->failedBlock(error);
}

// ---------------------------------------------------------------------------
// Lists and files

QOVAUpgradeManager::Job QOVAUpgradeManager::getUpgraderByPathLocked(const QString &path) const
{
    for (const Job &job : upgraderDeviceList) {
        if (job->filePath == path)
            return job;
    }
    return nullptr;
}

bool QOVAUpgradeManager::hasMappedJobLocked(const QString &path) const
{
    return std::any_of(upgraderDeviceList.begin(), upgraderDeviceList.end(), [&](const Job &job) {
        return job->filePath == path && job->dfuFirmware.size.total > 0;
    });
}

bool QOVAUpgradeManager::isUpgradingFileExistLocked(const QString &path) const
{
    if (!hasMappedJobLocked(path))
        return false;
    QOVA_LOG(INFO, DFU, "Upgrading file is exist, update directly");
    return true;
}

bool QOVAUpgradeManager::isCheckingFileExistLocked(const QString &path) const
{
    return std::any_of(waitingUpgraderList.begin(), waitingUpgraderList.end(),
                       [&](const Job &job) { return job->filePath == path; });
}

std::vector<QOVAUpgradeManager::Job>
QOVAUpgradeManager::removeWaitingUpgraderDevicesLocked(const QString &path)
{
    std::vector<Job> removed;
    for (auto it = waitingUpgraderList.begin(); it != waitingUpgraderList.end();) {
        if ((*it)->filePath == path) {
            removed.push_back(*it);
            it = waitingUpgraderList.erase(it);
        } else {
            ++it;
        }
    }
    return removed;
}

void QOVAUpgradeManager::removeUpgradingLocked(const Job &job)
{
    upgraderDeviceList.erase(std::remove(upgraderDeviceList.begin(), upgraderDeviceList.end(), job),
                             upgraderDeviceList.end());
}

void QOVAUpgradeManager::removeMapInMemory(dfu_file &file)
{
    dfu_unmap_file(&file);
}

void QOVAUpgradeManager::removeLocalFirmware(const QString &path)
{
    // The downloader's own file: it goes with its bookkeeping, unless a
    // download is writing it again at this moment. A failure changes nothing
    // for the caller.
    QOVADownloader::discardDownloadedFile(path);
}

bool QOVAUpgradeManager::isDownloadedPackage(const QString &path)
{
    const QString folder = QDir(QOVADownloader::downloadFolder()).canonicalPath();
    const QString parent = QFileInfo(path).canonicalPath();
    return !folder.isEmpty() && parent == folder;
}
