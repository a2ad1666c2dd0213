#pragma once
// Flashes one device with one DFU image over USB DFU 1.1: checks the
// device's DFU state, detaches it from run mode, waits for it to come back in
// DFU mode, downloads the image block by block, follows manifestation and
// waits for the device to come back in run mode with the new firmware.
//
// The protocol runs on a Qt state machine with named states on a worker
// thread of its own, one event at a time from the machine's queue; blocking
// waits (the pause before the first block, the device's poll time-outs, the
// re-enumeration waits) block only that thread. Progress is an estimate by
// elapsed time over the family's expected duration.
//
// Every job ends exactly once: with the success callback or the failure
// callback (code 0, 1 for firmware the device reports corrupt, 2 for a lost
// device); after that no further USB request is sent. The success callback
// gets the version the device reports once it is back in run mode (its
// version string, or "major.0.minor" for the small camera); the text is
// empty only when that could not be read and nothing needed it (no package
// version was given and the device said that manifestation went well).
// Status codes:
//   0 started, 1 DETACH sent, 2 DETACH failed, 3 not seen in DFU mode,
//   4 seen in DFU mode, 8 manifestation done, 9 USB reset failed,
//   10 not back in run mode, 11 back in run mode, 12 failed because the
//   device is gone, 13 failed for another reason (also just before success
//   when the device ended manifestation in dfuIDLE).
//
// However manifestation ended, the device back in run mode (11) is judged by
// the version it reports, with its family's version rule (the one the
// firmware page offers updates by, firmware_version_is_newer), not by exact
// text (upgrader/FirmwareVerdict.h):
//   - with the package's version (QOVADeviceModel::flashingVersion): a
//     version not older than the package's is success; the version the
//     device ran before is a failure ("STRING_UPDATE_NOT_INSTALLED"); any
//     other, or none that can be read, fails as "STRING_UPDATE_NOT_CONFIRMED";
//   - without it (a local file): success when the device said that
//     manifestation went well, when it was in DFU mode before, or when it
//     reports another version than before; otherwise it could not be
//     confirmed. Both failures are reported with 13 and code 0.
// Some devices restart into the new firmware as soon as the whole image is
// in, so the last block's answer or the status request after it finds no
// device. Only a device that is gone from the bus (a "no device" result, or
// a time-out or I/O error after which it is no longer found in DFU mode) has
// left: the job waits for it in run mode (8, then 11 or 10) and judges it as
// above; not seen again within the reset wait, it fails as a lost device
// (10, 12, code 2) that says so ("STRING_UPDATE_NOT_BACK"). A device still
// on the bus in DFU mode that stops answering fails as any DFU request
// failure does (13, code 0), and stays where it is for another try.
// None of the callbacks runs on the main thread.

#include "QOVACallbacks.h"
#include "QOVADeviceModel.h"
#include "QOVAUpgradeManager.h"
#include "dfu_file.h"
#include "dfu_request.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

class QStateMachine;
class QEventLoop;

namespace upgrader {
class DfuState;
class ProgressTicker;
class WorkerThread;
} // namespace upgrader

class QOVADFUUpgrader : public std::enable_shared_from_this<QOVADFUUpgrader> {
public:
    // Waits and expected duration of a family, in seconds, before the time
    // scale.
    struct Delays {
        double detachDelay = 6;   // for the device in DFU mode after DETACH
        double resetDelay = 8;    // for the device back in run mode
        double upgradeTime = 60;  // expected duration of the whole job
    };
    static Delays delaysForProduct(const QString &productId, uint16_t transferSize);

    // The DFU-mode product id of a run-mode one and back; other ids stay.
    static QString dfuModeProductId(const QString &productId);
    static QString runModeProductId(const QString &productId);

    // Opens the device of the model and reads its DFU functional descriptor,
    // on the calling thread. Nothing when there is no model, the device or
    // its DFU interface cannot be opened, or it cannot take a download.
    static std::shared_ptr<QOVADFUUpgrader> initWithFirmwareModel(const QOVADeviceModelRef &model);

    ~QOVADFUUpgrader();

    // Ends a job still running without reporting an outcome (its owner is
    // going away) and waits for its thread, unless called on that thread.
    // No USB request and no callback follow once it has returned.
    void cancel();

    QOVADFUUpgrader(const QOVADFUUpgrader &) = delete;
    QOVADFUUpgrader &operator=(const QOVADFUUpgrader &) = delete;

    // Starts the job once and returns at once (always true). The file's
    // mapping must stay valid until the outcome has been reported.
    bool updateFirmwareWithFile(const dfu_file &file, QOVAProgressBlock progress,
                                QOVASuccessBlock successed, QOVAUpgradeFailedBlock failed,
                                QOVAUpgradeStatusBlock status);

    // The waits and duration of this job, set when it starts.
    Delays delays() const { return _delays; }

private:
    struct Private;
    QOVADFUUpgrader();

    // Device and interface handles.
    bool init_dfuDevice(const QOVADeviceModelRef &model);
    dfu_io_result openDevice();
    dfu_io_result openInterface();
    dfu_io_result closeDevice();
    dfu_io_result releaseInterface();

    // The job, on the worker thread.
    void runJob();
    bool initStateMachine();
    bool verifyDfuInitState();
    void startStateMachine();
    void schedule(const char *event);
    void tearDownStateMachine();

    // Requests and steps.
    unsigned getDeviceState();
    bool getDeviceStatus();
    void dfuStatusHandler();
    void dfuSendDetach();
    bool resetDevice(bool inDfuMode);
    void waitDfuAttach();
    void waitDfuReset();
    bool waitForDevice(double seconds);
    bool dfuDownloadFW();
    bool dfuCLRStatus(bool report);
    bool dfuAbortStatus();
    void reportError(bool dfuError, dfu_io_result ret);
    // The device stopped answering once the whole image was in: it is gone,
    // or failed a request and is no longer on the bus in DFU mode.
    bool deviceStoppedAnswering(dfu_io_result ret);
    // Whether the device is on the bus in DFU mode still, after a short
    // while for one that is on its way off it.
    bool stillOnTheBus();
    void deviceLeftAfterImage(dfu_io_result ret);
    // The version of the device back in run mode, as discovery reads it;
    // empty when it cannot be read.
    QString runModeVersion();
    // Judges the device back in run mode by the version it reports; false
    // when the job has failed on it.
    bool confirmNewFirmware();
    void failWith(int status, int code, const QString &description);
    void succeed();
    void reportStatus(int code);

    void startUpgradeTimer();
    void stopUpgradeTimer();

    // Sleeps on the worker thread; false when the job was cancelled.
    bool pause(int milliseconds);
    bool pauseUntil(std::chrono::steady_clock::time_point until);
    // Waits until bwPollTimeout of the last status has passed.
    bool waitPollTimeout();
    bool waitSinceStatus(uint32_t milliseconds);
    bool live() const;

    // Device.
    platform::UsbDeviceRef _dfuDevice;
    std::optional<dfu_interface> _dfuInterface;
    IOUSBDFUDescriptor _descriptor;
    QOVADeviceModelRef _model;
    uint8_t _intfIndex = 0;
    bool _isDeviceOpen = false;
    bool _isInterfaceOpen = false;
    bool _canDownload = false;
    bool _canUpload = false;
    bool _willDetach = false;
    bool _ManifestationTolerant = false;
    bool _waitForReset = false;
    // The device stopped answering once the whole image was in, without
    // saying how manifestation went.
    bool _leftAfterImage = false;
    QString _packageVersion;   // what the file installs, when known
    QString _versionBefore;    // the device's version in run mode at the start
    QString _reportedVersion;  // the version it came back with in run mode

    // Transfer.
    dfu_file _dfuFile;
    int64_t _remainingSize = 0;
    int64_t _sentSize = 0;
    int64_t _transCount = 0;
    int64_t _totalTransNum = 0;
    bool _isTransferFin = false;
    dfu_status dfuStatus;
    std::chrono::steady_clock::time_point _lastStatusAt;  // of the last GETSTATUS answer

    // Machine.
    QString _dfuEvent;
    QString _firstEvent;
    Delays _delays;
    bool m_finished = false;     // the outcome has been reported (worker thread only)

    // Callbacks.
    QOVAProgressBlock progressBlock;
    QOVASuccessBlock successBlock;
    QOVAUpgradeFailedBlock failedBlock;
    QOVAUpgradeStatusBlock statusBlock;

    std::unique_ptr<Private> d;
};

using QOVADFUUpgraderRef = std::shared_ptr<QOVADFUUpgrader>;
