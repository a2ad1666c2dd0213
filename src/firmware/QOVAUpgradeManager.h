#pragma once
// The one firmware upgrade manager of the process: the queue every device is
// flashed through from a local DFU file. A device family object hands it the
// device model, the file and four callbacks; the manager checks the file's
// DFU suffix once per file while the other devices that need the same file
// wait, then flashes all of them at the same time, each with its own
// upgrader, and reports each device's outcome to its own callbacks.
//
// A file is mapped once and stays mapped while any device is flashed from
// it; a device that arrives for a file already being flashed joins with the
// same mapping. All of the manager's state is kept under one lock; no
// callback is called with it held. The callbacks run on background threads.

#include "QOVACallbacks.h"
#include "QOVADeviceModel.h"
#include "QOVAError.h"

#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

using QOVAUpgradeFailedBlock = std::function<void(const QOVAError &)>;
// Stage of the flashing state machine (0 started ... 13 ended); called on the
// state machine's own thread, never on the main thread.
using QOVAUpgradeStatusBlock = std::function<void(int)>;

struct dfu_file;
class QOVAUpgraderDevice;

class QOVAUpgradeManager : public std::enable_shared_from_this<QOVAUpgradeManager> {
public:
    // Make managers with std::make_shared: running jobs refer back to theirs.
    QOVAUpgradeManager();
    virtual ~QOVAUpgradeManager();

    QOVAUpgradeManager(const QOVAUpgradeManager &) = delete;
    QOVAUpgradeManager &operator=(const QOVAUpgradeManager &) = delete;

    // The process-wide manager, made on first use.
    static std::shared_ptr<QOVAUpgradeManager> sharedUpgradeManager();
    // Puts another manager in place of the shared one (tests); null restores
    // a default one.
    static void setSharedUpgradeManager(std::shared_ptr<QOVAUpgradeManager> manager);

    // Flashes the firmware file at path into the device. No path, or a
    // device that cannot be opened for flashing: failed is called at once
    // with the update-failed error. A file that cannot be mapped or has no
    // valid suffix fails every device waiting for it (code 0), and is deleted
    // when it is a downloaded package. Otherwise the
    // upgrader's outcome arrives unchanged (success with the version the
    // device reports after the flash; failure codes 0, 1 corrupt firmware,
    // 2 device lost); on code 1 the devices still waiting for that file fail
    // with the same error, and a downloaded package that no other device is
    // being flashed from is deleted.
    virtual void upgradeDevice(const QOVADeviceModelRef &model, const QString &path,
                               QOVAProgressBlock progress, QOVASuccessBlock success,
                               QOVAUpgradeFailedBlock failed, QOVAUpgradeStatusBlock status);

    // Code 0, described by the "STRING_UPDATE_FAILED" text.
    static QOVAError getUpgradeError();

    // What the manager holds now.
    int fileChecks() const;      // suffix checks begun since the manager was made
    int mappedFiles() const;     // files mapped now
    int waitingJobs() const;     // jobs waiting for the check of their file
    int upgradingJobs() const;   // jobs being flashed

private:
    using Job = std::shared_ptr<QOVAUpgraderDevice>;

    void upgradeDFUdevice(const QOVADeviceModelRef &model, const QString &path,
                          QOVAProgressBlock progress, QOVASuccessBlock success,
                          QOVAUpgradeFailedBlock failed, QOVAUpgradeStatusBlock status);
    void checkFirmware(const Job &job);
    void checkFinished(const Job &job, bool valid, const dfu_file &file);
    void startUpgradeDevices(const dfu_file &file);
    void startUpgrader(const Job &job);
    // Whether the ids in a file's suffix allow flashing it into the device.
    static bool fileFitsDevice(const dfu_file &file, const QOVADeviceModel &model);
    // Fails a job whose file was made for another device, before any request.
    void refuseFile(const Job &job);
    void upgradeSucceeded(const Job &job, const QString &text);
    void upgradeFailed(const Job &job, const QOVAError &error);

    // With m_mutex held.
    Job getUpgraderByPathLocked(const QString &path) const;
    bool isUpgradingFileExistLocked(const QString &path) const;
    bool hasMappedJobLocked(const QString &path) const;
    bool isCheckingFileExistLocked(const QString &path) const;
    std::vector<Job> removeWaitingUpgraderDevicesLocked(const QString &path);
    void removeUpgradingLocked(const Job &job);

    static void removeMapInMemory(dfu_file &file);
    static void removeLocalFirmware(const QString &path);
    static bool isDownloadedPackage(const QString &path);

    mutable std::mutex m_mutex;
    std::vector<Job> upgraderDeviceList;    // being flashed
    std::vector<Job> waitingUpgraderList;   // waiting for the check of their file
    int m_fileChecks = 0;
    int m_mappedFiles = 0;
};
