#include "QOVADFUUpgrader.h"

#include "upgrader/DfuMachineParts.h"
#include "upgrader/FirmwareVerdict.h"
#include "upgrader/ProgressTicker.h"
#include "upgrader/WorkerThread.h"

#include "QOVAError.h"
#include "discovery/QOVADiscoveryRules.h"
#include "log/log.h"
#include "usb/USBControlRequest.h"
#include "platform/TimeScale.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QStateMachine>

#include <algorithm>
#include <chrono>
#include <map>

namespace {

const char *const kStateNames[] = {
    "appIDLE",          "appDETACH",   "dfuIDLE",
    "dfuDNLOAD_SYNC",   "dfuDNBUSY",   "dfuDNLOAD_IDLE",
    "dfuMANIFEST_SYNC", "dfuMANIFEST", "dfuMANIFEST_WAIT_RESET",
    "dfuUPLOAD_IDLE",   "dfuERROR",
};

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool sameId(const QString &a, const char *b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// Results that say the device is no longer there.
bool isGone(dfu_io_result ret)
{
    return ret == kDfuIoNoDevice || ret == kDfuIoNotResponding;
}

} // namespace

struct QOVADFUUpgrader::Private {
    std::unique_ptr<upgrader::WorkerThread> thread;
    upgrader::ProgressTicker ticker;
    QStateMachine *machine = nullptr;                  // worker thread only
    QEventLoop *loop = nullptr;                        // worker thread only
    std::map<QString, upgrader::DfuState *> states;    // worker thread only
    std::mutex cancelMutex;
    std::condition_variable cancelWake;
    std::atomic<bool> cancelled{false};
    bool started = false;
};

// ---------------------------------------------------------------------------
// Creation and the family's figures

QOVADFUUpgrader::QOVADFUUpgrader()
    : d(std::make_unique<Private>())
{
}

QOVADFUUpgrader::Delays QOVADFUUpgrader::delaysForProduct(const QString &productId,
                                                          uint16_t transferSize)
{
    Delays delays;
    if (sameId(productId, "6e17") || sameId(productId, "6e18")) {
        delays = {50, 90, transferSize <= 2048 ? 285.0 : 225.0};
    } else if (sameId(productId, "5c01") || sameId(productId, "5c02")) {
        delays = {12, 16, 60};
    } else if (sameId(productId, "6e12") || sameId(productId, "6e13")) {
        delays = {30, 25, 45};
    }
    return delays;
}

QString QOVADFUUpgrader::dfuModeProductId(const QString &productId)
{
    if (sameId(productId, "5c01"))
        return QStringLiteral("5c02");
    if (sameId(productId, "6e17"))
        return QStringLiteral("6e18");
    if (sameId(productId, "6e12"))
        return QStringLiteral("6e13");
    return productId;
}

QString QOVADFUUpgrader::runModeProductId(const QString &productId)
{
    if (sameId(productId, "5c02"))
        return QStringLiteral("5c01");
    if (sameId(productId, "6e18"))
        return QStringLiteral("6e17");
    if (sameId(productId, "6e13"))
        return QStringLiteral("6e12");
    return productId;
}

std::shared_ptr<QOVADFUUpgrader> QOVADFUUpgrader::initWithFirmwareModel(const QOVADeviceModelRef &model)
{
    QOVA_LOG(INFO, DFU, "initWithFirmwareModel.");
    if (!model) {
        QOVA_LOG(ERROR, DFU, "dev is nil.");
        return nullptr;
    }
    std::shared_ptr<QOVADFUUpgrader> upgrader(new QOVADFUUpgrader());
    if (!upgrader->init_dfuDevice(model))
        return nullptr;
    if (!dfu_descriptor_can_download(upgrader->_descriptor)) {
        QOVA_LOG(ERROR, DFU, "The device can not take a firmware download.");
        return nullptr;
    }
    return upgrader;
}

QOVADFUUpgrader::~QOVADFUUpgrader()
{
    cancel();
    // A job that ran has closed the device on its thread; one that never
    // started still holds the handles opened at creation.
    if (!d->started)
        closeDevice();
}

void QOVADFUUpgrader::cancel()
{
    {
        std::lock_guard<std::mutex> lock(d->cancelMutex);
        d->cancelled = true;
    }
    d->cancelWake.notify_all();
    upgrader::retire(std::move(d->thread));
    d->ticker.stop();
}

// ---------------------------------------------------------------------------
// Opening and closing

bool QOVADFUUpgrader::init_dfuDevice(const QOVADeviceModelRef &model)
{
    _model = model;
    if (_isDeviceOpen)
        closeDevice();
    _isDeviceOpen = false;
    _isInterfaceOpen = false;

    platform::UsbDeviceRef device = find_usb_device_interface(
        model->productVID(), model->productPID(), model->productseriaNumber());
    if (!device)
        return false;
    _dfuDevice = device;
    if (_waitForReset)
        return true;  // only looked for: the device runs its new firmware

    if (openDevice() != kDfuIoSuccess) {
        QOVA_LOG(ERROR, DFU, "failed to Open Device.");
        return false;
    }
    _dfuInterface = find_dfu_interface(_dfuDevice);
    if (!_dfuInterface) {
        QOVA_LOG(ERROR, DFU, "failed to get interface.");
        closeDevice();
        return false;
    }
    if (openInterface() != kDfuIoSuccess) {
        closeDevice();
        return false;
    }
    _intfIndex = _dfuInterface->number;
    const std::optional<IOUSBDFUDescriptor> descriptor = find_dfu_functional_descriptor(*_dfuInterface);
    if (!descriptor || descriptor->bmAttributes == 0) {
        closeDevice();
        return false;
    }
    _descriptor = *descriptor;
    const uint8_t attributes = _descriptor.bmAttributes;
    _canDownload = attributes & 0x01;
    _canUpload = attributes & 0x02;
    _ManifestationTolerant = attributes & 0x04;
    _willDetach = attributes & 0x08;
    QOVA_LOG(INFO, DFU,
             "DFU descriptor attributes 0x%02x [%sDownload, %sUpload, %sManifestation Tolerant, "
             "%sWillDetach, Reserved bits: 0x%02x, Timeout: %d, Transfer Size: %d]",
             attributes, _canDownload ? "" : "No ", _canUpload ? "" : "No ",
             _ManifestationTolerant ? "" : "Not ", _willDetach ? "" : "No ", attributes & 0xF0,
             int(_descriptor.wDetachTimeOut), int(_descriptor.wTransferSize));
    return true;
}

dfu_io_result QOVADFUUpgrader::openDevice()
{
    if (_isDeviceOpen)
        return kDfuIoSuccess;
    const dfu_io_result ret = usb_open_device(_dfuDevice);
    if (ret == kDfuIoSuccess)
        _isDeviceOpen = true;
    return ret;
}

dfu_io_result QOVADFUUpgrader::openInterface()
{
    if (_isInterfaceOpen)
        return kDfuIoSuccess;
    if (!_dfuInterface)
        return kDfuIoNotFound;
    const dfu_io_result ret = usb_open_interface(*_dfuInterface);
    if (ret == kDfuIoSuccess)
        _isInterfaceOpen = true;
    return ret;
}

dfu_io_result QOVADFUUpgrader::releaseInterface()
{
    QOVA_LOG(INFO, DFU, "enter QOVADFUUpgrader releaseInterface");
    if (!_isInterfaceOpen) {
        QOVA_LOG(INFO, DFU, "interface is not open, return success");
        return kDfuIoSuccess;
    }
    const dfu_io_result ret = dfu_release_interface(_dfuInterface ? &*_dfuInterface : nullptr);
    QOVA_LOG(INFO, DFU, "QOVADFUUpgrader release Interface");
    if (ret == kDfuIoSuccess) {
        QOVA_LOG(INFO, DFU, "QOVADFUUpgrader ret is success");
        _isInterfaceOpen = false;
    }
    return ret;
}

dfu_io_result QOVADFUUpgrader::closeDevice()
{
    QOVA_LOG(INFO, DFU, "enter QOVADFUUpgrader closeDevice");
    if (!_isDeviceOpen) {
        QOVA_LOG(INFO, DFU, "enter QOVADFUUpgrader closeDevice--device is not open");
        return kDfuIoSuccess;
    }
    if (_isInterfaceOpen) {
        const dfu_io_result ret = releaseInterface();
        if (ret != kDfuIoSuccess) {
            QOVA_LOG(INFO, DFU, "enter QOVADFUUpgrader closeDevice--release interface failed");
            return ret;
        }
    }
    QOVA_LOG(INFO, DFU, "enter QOVADFUUpgrader closeDevice--call close device");
    const dfu_io_result ret = dfu_release_and_close(_dfuDevice);
    if (ret == kDfuIoSuccess) {
        QOVA_LOG(INFO, DFU, "enter QOVADFUUpgrader closeDevice--close device successfully");
        _isDeviceOpen = false;
    }
    QOVA_LOG(INFO, DFU, "QOVADFUUpgrader closeDevice-- completely close device");
    return ret;
}

// ---------------------------------------------------------------------------
// Starting a job

bool QOVADFUUpgrader::updateFirmwareWithFile(const dfu_file &file, QOVAProgressBlock progress,
                                             QOVASuccessBlock successed,
                                             QOVAUpgradeFailedBlock failed,
                                             QOVAUpgradeStatusBlock status)
{
    if (d->started) {
        // One job per upgrader: a second start would share its device.
        QOVA_LOG(ERROR, DFU, "The upgrader has already been started.");
        if (failed)
            failed(QOVAUpgradeManager::getUpgradeError());
        return true;
    }
    d->started = true;
    progressBlock = std::move(progress);
    successBlock = std::move(successed);
    failedBlock = std::move(failed);
    statusBlock = std::move(status);
    _dfuFile = file;

    _remainingSize = _dfuFile.imageSize();
    const uint16_t blockSize = dfu_block_size(_descriptor);
    _totalTransNum = blockSize ? (_remainingSize + blockSize - 1) / blockSize : 0;
    QOVA_LOG(INFO, DFU, "total firmware size is %d. totoal transfer number is %d",
             int(_remainingSize), int(_totalTransNum));
    _transCount = 0;
    _sentSize = 0;
    _isTransferFin = false;
    _delays = delaysForProduct(_model->productPID(), _descriptor.wTransferSize);
    _leftAfterImage = false;
    _reportedVersion.clear();
    _packageVersion = _model->flashingVersion().trimmed();
    _versionBefore = _model->isDfuDevice() ? QString() : _model->productVersion().trimmed();

    std::shared_ptr<QOVADFUUpgrader> self = shared_from_this();
    d->thread = upgrader::makeWorker(QStringLiteral("dfu-upgrader"), [self] { self->runJob(); });
    d->thread->start();
    return true;
}

void QOVADFUUpgrader::startUpgradeTimer()
{
    const auto interval =
        std::chrono::milliseconds(platform::scaledMs(_delays.upgradeTime * 1000.0 / 100.0));
    d->ticker.start(interval, progressBlock);
}

void QOVADFUUpgrader::stopUpgradeTimer()
{
    d->ticker.stop();
}

// ---------------------------------------------------------------------------
// The machine, on the worker thread

void QOVADFUUpgrader::runJob()
{
    // The estimate starts on this thread, which gives its first step at
    // once: it comes before the outcome, which this thread reports too, and
    // never on the thread that started the job.
    if (live())
        startUpgradeTimer();
    {
        QStateMachine machine;
        machine.setObjectName(QStringLiteral("dfuStateMachine"));
        d->machine = &machine;
        reportStatus(0);
        if (initStateMachine() && live()) {
            QEventLoop loop;
            d->loop = &loop;
            QObject::connect(&machine, &QStateMachine::started, &machine,
                             [this] { startStateMachine(); });
            machine.start();
            if (live())
                loop.exec();
            d->loop = nullptr;
        }
        machine.stop();
        d->machine = nullptr;
        d->states.clear();
    }
    stopUpgradeTimer();
    closeDevice();
}

bool QOVADFUUpgrader::live() const
{
    return !m_finished && !d->cancelled.load();
}

bool QOVADFUUpgrader::initStateMachine()
{
    QStateMachine *machine = d->machine;
    for (const char *name : kStateNames) {
        auto *state = new upgrader::DfuState(QString::fromLatin1(name), machine);
        d->states.emplace(QString::fromLatin1(name), state);
    }
    auto state = [this](const char *name) { return d->states.at(QString::fromLatin1(name)); };

    state("dfuDNLOAD_SYNC")->setEnterAction([this] { dfuStatusHandler(); });
    state("dfuDNBUSY")->setEnterAction([this] {
        if (live() && waitPollTimeout())
            schedule("PollTimeout");
    });
    state("dfuDNLOAD_IDLE")->setEnterAction([this] {
        if (live() && dfuDownloadFW())
            schedule(_isTransferFin ? "TransferFin" : "DownloadSent");
    });
    state("dfuMANIFEST_SYNC")->setEnterAction([this] { dfuStatusHandler(); });
    state("dfuMANIFEST")->setExitAction([this] {
        // The device asked for this long before it is polled again; one
        // second when it named no time.
        if (live())
            waitSinceStatus(dfuStatus.bwPollTimeout ? dfuStatus.bwPollTimeout : 1000);
    });
    state("dfuERROR")->setEnterAction([this] {
        if (live())
            reportError(true, 0);
    });

    if (!verifyDfuInitState())
        return false;

    auto live = [this] { return this->live(); };
    auto add = [&](const char *from, const char *event, const char *to, bool logged,
                   std::function<void()> action, upgrader::DfuTransition::Guard guard = {}) {
        upgrader::DfuState *source = state(from);
        upgrader::DfuState *target = state(to);
        const QString fromName = QString::fromLatin1(from);
        const QString toName = QString::fromLatin1(to);
        auto *transition = new upgrader::DfuTransition(
            QString::fromLatin1(event), live, std::move(guard),
            [this, fromName, toName, logged, action = std::move(action)](const QString &) {
                if (!this->live())
                    return;
                if (logged)
                    QOVA_LOG(INFO, DFU, "StateMachine transaction _%s ---> _%s.",
                             qUtf8Printable(fromName), qUtf8Printable(toName));
                if (action)
                    action();
            },
            source);
        transition->setTargetState(target);
    };

    add("appIDLE", "PrepareDetach", "appDETACH", true, [this] { dfuSendDetach(); });
    add("appDETACH", "DetachSent", "dfuIDLE", true, [this] {
        if (_willDetach) {
            QOVA_LOG(INFO, DFU, "Device will detach and reattach...");
        } else {
            QOVA_LOG(INFO, DFU, "Resetting USB...");
            if (!resetDevice(false))
                return;
        }
        waitDfuAttach();
    });
    add("dfuIDLE", "PrepareDownload", "dfuDNLOAD_SYNC", true, [this] {
        if (pause(platform::scaledMs(1000)))
            dfuDownloadFW();
    });
    add("dfuDNLOAD_SYNC", "BlockInProgress", "dfuDNBUSY", false, {});
    add("dfuDNLOAD_SYNC", "BlockComplete", "dfuDNLOAD_IDLE", false, {});
    add("dfuDNBUSY", "PollTimeout", "dfuDNLOAD_SYNC", false, {});
    add("dfuDNLOAD_IDLE", "DownloadSent", "dfuDNLOAD_SYNC", false, {});
    add("dfuDNLOAD_IDLE", "TransferFin", "dfuMANIFEST_SYNC", true, {});
    add("dfuMANIFEST_SYNC", "PollTimeout", "dfuMANIFEST_SYNC", true, {});
    add("dfuMANIFEST_SYNC", "MNFSTInProg", "dfuMANIFEST", false, [this] {
        schedule(_ManifestationTolerant ? "PollTimeoutTol" : "PollTimeoutNoTol");
    });
    add("dfuMANIFEST_SYNC", "MNFSTFinTol", "dfuIDLE", true, [this] {
        QOVA_LOG(INFO, DFU, "DFU Done. Device will auto-reset.");
        reportStatus(8);
        waitDfuReset();
    });
    add("dfuIDLE", "ResetDone", "appIDLE", true, [this] {
        reportStatus(13);
        succeed();
    });
    add("dfuMANIFEST", "PollTimeoutTol", "dfuMANIFEST_SYNC", false, {}, [] { return true; });
    add("dfuMANIFEST", "PollTimeoutNoTol", "dfuMANIFEST_WAIT_RESET", true, [this] {
        if (!_willDetach && !resetDevice(true))
            return;
        reportStatus(8);
        waitDfuReset();
    });
    // The device left once the whole image was in: wait for it in run mode
    // as after a manifestation that ends in a reset.
    for (const char *from : {"dfuDNLOAD_IDLE", "dfuMANIFEST_SYNC"}) {
        add(from, "MNFSTDeviceLeft", "dfuMANIFEST_WAIT_RESET", true, [this] {
            reportStatus(8);
            waitDfuReset();
        });
    }
    add("dfuMANIFEST_WAIT_RESET", "ResetDone", "appIDLE", true, [this] {
        QOVA_LOG(INFO, DFU, "DFU Upgrade Success.");
        succeed();
    });
    for (const char *from : {"dfuIDLE", "dfuDNLOAD_SYNC", "dfuDNBUSY", "dfuDNLOAD_IDLE",
                             "dfuMANIFEST_SYNC", "dfuMANIFEST"})
        add(from, "DFUStatusError", "dfuERROR", true, {});

    // An event no transition of the current state takes (a status the
    // device should not be in at this point) ends the job as a DFU error
    // rather than leaving the machine waiting for ever. Added last, so it is
    // only chosen when nothing else is.
    for (const char *name : kStateNames) {
        const QString stateName = QString::fromLatin1(name);
        new upgrader::DfuTransition(
            QString(), live, {},
            [this, stateName](const QString &event) {
                if (!this->live())
                    return;
                QOVA_LOG(ERROR, DFU, "Unexpected event %s in state %s, device state is %s.",
                         qUtf8Printable(event), qUtf8Printable(stateName),
                         dfu_state_name(dfuStatus.bState));
                reportError(true, 0);
            },
            state(name));
    }
    return true;
}

bool QOVADFUUpgrader::verifyDfuInitState()
{
    QOVA_LOG(INFO, DFU, "Verify Device state before start SM.");
    auto begin = [this](const char *stateName, const char *event) {
        d->machine->setInitialState(d->states.at(QString::fromLatin1(stateName)));
        _firstEvent = QString::fromLatin1(event);
        return true;
    };

    const unsigned state = getDeviceState();
    switch (state) {
    case DFU_STATE_APP_IDLE:
        QOVA_LOG(INFO, DFU, "Device really in Runtime Mode, send DFU detach request..");
        return begin("appIDLE", "PrepareDetach");
    case DFU_STATE_APP_DETACH:
        QOVA_LOG(INFO, DFU, "Device really in DFU Mode, has sent DFU detach request..");
        return begin("appDETACH", "DetachSent");
    case DFU_STATE_DFU_IDLE:
        QOVA_LOG(INFO, DFU, "dfuIDLE, continuing...");
        return begin("dfuIDLE", "PrepareDownload");
    case DFU_STATE_DFU_DNLOAD_IDLE:
    case DFU_STATE_DFU_MANIFEST_SYNC:
    case DFU_STATE_DFU_MANIFEST:
    case DFU_STATE_DFU_UPLOAD_IDLE:
        QOVA_LOG(ERROR, DFU, "Aborting previous incomplete transfer!");
        if (!dfuAbortStatus())
            return false;
        break;
    case DFU_STATE_DFU_ERROR:
        QOVA_LOG(ERROR, DFU, "Clearing status!");
        if (!dfuCLRStatus(false))
            return false;
        break;
    default:
        break;
    }

    if (!pause(platform::scaledMs(1000)))
        return false;
    if (getDeviceState() == DFU_STATE_DFU_IDLE)
        return begin("dfuIDLE", "PrepareDownload");
    QOVA_LOG(ERROR, DFU, "Device is not ready to DFU upgrade!");
    reportError(true, 0);
    return false;
}

void QOVADFUUpgrader::startStateMachine()
{
    if (!live())
        return;
    schedule(qPrintable(_firstEvent));
    QOVA_LOG(INFO, DFU, "DFU StateMachine start!!!");
}

void QOVADFUUpgrader::schedule(const char *event)
{
    if (!live() || !d->machine)
        return;
    _dfuEvent = QString::fromLatin1(event);
    d->machine->postEvent(new upgrader::DfuEvent(_dfuEvent));
}

void QOVADFUUpgrader::tearDownStateMachine()
{
    QOVA_LOG(INFO, DFU, "tearDownStateMachine.");
    if (d->machine)
        d->machine->stop();
    if (d->loop)
        d->loop->quit();
    stopUpgradeTimer();
}

// ---------------------------------------------------------------------------
// Requests and steps

unsigned QOVADFUUpgrader::getDeviceState()
{
    if (!_dfuInterface)
        return kDfuIoNotFound;
    const dfu_io_result state = dfu_get_state(*_dfuInterface);
    QOVA_LOG(INFO, DFU, "get device state is %u - %s.", unsigned(state), dfu_state_name(state));
    return state;
}

bool QOVADFUUpgrader::getDeviceStatus()
{
    const dfu_io_result ret =
        _dfuInterface ? dfu_get_status(*_dfuInterface, &dfuStatus) : kDfuIoNotFound;
    _lastStatusAt = std::chrono::steady_clock::now();
    if (ret != kDfuIoSuccess) {
        QOVA_LOG(ERROR, DFU, "Failed to get device status. errCode is 0x%08x.", ret);
        if (_isTransferFin && deviceStoppedAnswering(ret))
            deviceLeftAfterImage(ret);
        else
            reportError(false, ret);
        return false;
    }
    return true;
}

bool QOVADFUUpgrader::pause(int milliseconds)
{
    return pauseUntil(std::chrono::steady_clock::now()
                      + std::chrono::milliseconds(std::max(0, milliseconds)));
}

bool QOVADFUUpgrader::pauseUntil(std::chrono::steady_clock::time_point until)
{
    std::unique_lock<std::mutex> lock(d->cancelMutex);
    return !d->cancelWake.wait_until(lock, until, [this] { return d->cancelled.load(); });
}

bool QOVADFUUpgrader::waitSinceStatus(uint32_t milliseconds)
{
    if (milliseconds == 0)
        return !d->cancelled.load();
    return pauseUntil(_lastStatusAt
                      + std::chrono::milliseconds(platform::scaledMs(double(milliseconds))));
}

bool QOVADFUUpgrader::waitPollTimeout()
{
    return waitSinceStatus(dfuStatus.bwPollTimeout);
}

void QOVADFUUpgrader::dfuStatusHandler()
{
    // The device named the time it needs before the next status request.
    if (!live() || !waitPollTimeout() || !getDeviceStatus())
        return;
    switch (dfuStatus.bState) {
    case DFU_STATE_DFU_IDLE: schedule("MNFSTFinTol"); break;
    case DFU_STATE_DFU_DNBUSY: schedule("BlockInProgress"); break;
    case DFU_STATE_DFU_DNLOAD_IDLE: schedule("BlockComplete"); break;
    case DFU_STATE_DFU_MANIFEST_SYNC: schedule("PollTimeout"); break;
    case DFU_STATE_DFU_MANIFEST: schedule("MNFSTInProg"); break;
    default: schedule("DFUStatusError"); break;
    }
}

void QOVADFUUpgrader::dfuSendDetach()
{
    reportStatus(1);
    QOVA_LOG(INFO, DFU, "Send DFU Detach command...");
    const dfu_io_result ret = dfu_detach(*_dfuInterface, _descriptor.wDetachTimeOut);
    if (ret != kDfuIoSuccess) {
        QOVA_LOG(ERROR, DFU, "Send DFU Detach command failed, errCode is 0x%08x", ret);
        reportStatus(2);
        reportError(false, ret);
        return;
    }
    closeDevice();
    schedule("DetachSent");
}

bool QOVADFUUpgrader::resetDevice(bool inDfuMode)
{
    QOVA_LOG(INFO, DFU, "Host issue USB reset.");
    // The handle may have been closed after DETACH: open it again for the
    // reset. A device that has already left needs no reset.
    dfu_io_result ret = openDevice();
    if (ret == kDfuIoSuccess)
        ret = openInterface();
    if (isGone(ret))
        return true;

    // In run mode the device is told once more to detach on the reset; in
    // DFU mode DETACH is not a request it takes, so only the reset is sent.
    if (!inDfuMode && ret == kDfuIoSuccess) {
        ret = dfu_detach(*_dfuInterface, _descriptor.wDetachTimeOut);
        if (isGone(ret))
            return true;
        if (ret != kDfuIoSuccess) {
            QOVA_LOG(ERROR, DFU, "send detach failed, errorCode is 0x%08x", ret);
            reportStatus(9);
            reportError(false, ret);
            return false;
        }
    }
    ret = usb_reset_device(_dfuDevice);
    if (ret != kDfuIoSuccess && !isGone(ret)) {
        QOVA_LOG(ERROR, DFU, "send reset failed, errorCode is 0x%08x", ret);
        reportStatus(9);
        reportError(false, ret);
        return false;
    }
    return true;
}

bool QOVADFUUpgrader::waitForDevice(double seconds)
{
    // Looked for at once and then once a second, on this thread; the first
    // look that finds it ends the wait, so the device is opened once.
    const int64_t deadline = nowMs() + platform::scaledMs(seconds * 1000.0);
    const int interval = platform::scaledMs(1000);
    for (;;) {
        if (init_dfuDevice(_model))
            return true;
        const int64_t left = deadline - nowMs();
        if (left <= 0)
            return false;
        if (!pause(int(std::min<int64_t>(interval, left))))
            return false;
    }
}

void QOVADFUUpgrader::waitDfuAttach()
{
    QOVA_LOG(INFO, DFU, "Wait device attach...");
    closeDevice();
    _model->setProductPID(dfuModeProductId(_model->productPID()));
    const bool found = waitForDevice(_delays.detachDelay);
    if (!live())
        return;
    if (found) {
        QOVA_LOG(INFO, DFU, "DFU Detach Success.");
        reportStatus(4);
        schedule("PrepareDownload");
    } else {
        QOVA_LOG(ERROR, DFU, "Lost Device after DFU Detach");
        reportStatus(3);
        reportError(false, kDfuIoNoDevice);
    }
}

void QOVADFUUpgrader::waitDfuReset()
{
    QOVA_LOG(INFO, DFU, "Wait device reset...");
    closeDevice();
    _model->setProductPID(runModeProductId(_model->productPID()));
    _waitForReset = true;
    const bool found = waitForDevice(_delays.resetDelay);
    if (!live())
        return;
    if (found) {
        QOVA_LOG(INFO, DFU, "DFU reset done.");
        reportStatus(11);
        if (!confirmNewFirmware())
            return;
        schedule("ResetDone");
    } else {
        QOVA_LOG(ERROR, DFU, "Lost Device after reset");
        reportStatus(10);
        if (_leftAfterImage) {
            // It took the whole image and restarted, and was not seen again.
            QOVA_LOG(ERROR, DFU, "Upgrade failed, Can't find the device.");
            failWith(12, 2, qtTrId("STRING_UPDATE_NOT_BACK"));
        } else {
            reportError(false, kDfuIoNoDevice);
        }
    }
}

bool QOVADFUUpgrader::dfuDownloadFW()
{
    if (!live())
        return false;
    const uint16_t blockSize = dfu_block_size(_descriptor);
    uint16_t length = 0;
    const uint8_t *data = nullptr;
    if (_remainingSize > 0 && blockSize != 0) {
        length = uint16_t(std::min<int64_t>(_remainingSize, blockSize));
        data = _dfuFile.image() + _sentSize;
    } else if (_remainingSize > 0) {
        // A device in DFU mode that takes no blocks cannot be given the
        // image; ending the download here would leave it with none.
        QOVA_LOG(ERROR, DFU, "The device takes no download blocks, %d bytes left.",
                 int(_remainingSize));
        reportError(true, 0);
        return false;
    } else {
        QOVA_LOG(INFO, DFU, "the last transction, length is 0.");
        if (_remainingSize == 0 && _sentSize == 0) {
            _remainingSize = _dfuFile.imageSize();
            QOVA_LOG(ERROR, DFU, "Error occured, remainingSize and sentSize are both 0");
        }
        _isTransferFin = true;
    }

    const dfu_io_result ret =
        dfu_download(*_dfuInterface, length, uint16_t(_transCount & 0xFFFF), data);
    if (ret != kDfuIoSuccess) {
        QOVA_LOG(ERROR, DFU, "Send DownloadDFUIamge Failed, errCode is 0x%08x", ret);
        if (_isTransferFin && deviceStoppedAnswering(ret))
            deviceLeftAfterImage(ret);
        else
            reportError(false, ret);
        return false;
    }
    ++_transCount;
    _remainingSize -= length;
    _sentSize += length;
    return true;
}

bool QOVADFUUpgrader::dfuCLRStatus(bool report)
{
    QOVA_LOG(ERROR, DFU,
             "Device Enter DFU Error State, Clear status and transitions to DFU_IDLE state.");
    const dfu_io_result ret = dfu_clear_status(*_dfuInterface);
    if (ret != kDfuIoSuccess) {
        QOVA_LOG(ERROR, DFU, "Failed to clear device status, errCode is 0x%08x", ret);
        reportError(false, ret);
        return false;
    }
    if (report) {
        reportError(true, 0);
        return false;
    }
    return true;
}

bool QOVADFUUpgrader::dfuAbortStatus()
{
    QOVA_LOG(ERROR, DFU, "Device is not DFU_IDLE state, abort imcomplete transfer.");
    const dfu_io_result ret = dfu_abort(*_dfuInterface);
    if (ret != kDfuIoSuccess) {
        QOVA_LOG(ERROR, DFU, "Failed to abort device status, errCode is 0x%08x", ret);
        reportError(false, ret);
        return false;
    }
    return true;
}

void QOVADFUUpgrader::reportStatus(int code)
{
    if (statusBlock)
        statusBlock(code);
}

bool QOVADFUUpgrader::deviceStoppedAnswering(dfu_io_result ret)
{
    // A stall or a short answer came from a device that is there and has
    // its say. A time-out or an I/O error may come from one that is
    // restarting, or from one that hangs in DFU mode: only a device that is
    // no longer on the bus has left.
    if (isGone(ret))
        return true;
    if (ret != kDfuIoTimeout && ret != kDfuIoError)
        return false;
    if (stillOnTheBus()) {
        QOVA_LOG(ERROR, DFU, "The device is still in DFU mode but does not answer (0x%08x).", ret);
        return false;
    }
    return true;
}

bool QOVADFUUpgrader::stillOnTheBus()
{
    // A restarting device can fail a request a moment before it is off the
    // bus: it is looked for a few times over a short while, and has left as
    // soon as one look misses it.
    const int64_t deadline = nowMs() + platform::scaledMs(2000);
    const int interval = platform::scaledMs(100);
    for (;;) {
        if (!find_usb_device_interface(_model->productVID(), _model->productPID(),
                                       _model->productseriaNumber()))
            return false;
        const int64_t left = deadline - nowMs();
        if (left <= 0 || !pause(int(std::min<int64_t>(interval, left))))
            return true;
    }
}

void QOVADFUUpgrader::deviceLeftAfterImage(dfu_io_result ret)
{
    QOVA_LOG(INFO, DFU,
             "The device stopped answering (0x%08x) after the whole image was sent; waiting for "
             "it to come back with the new firmware.",
             ret);
    _leftAfterImage = true;
    schedule("MNFSTDeviceLeft");
}

QString QOVADFUUpgrader::runModeVersion()
{
    using namespace qova::discovery;
    const QString productId = _model->productPID();
    // Just after it enumerates a device may not answer yet: a few tries.
    for (int attempt = 0; attempt < 5 && live(); ++attempt) {
        if (attempt > 0 && !pause(platform::scaledMs(200)))
            break;
        if (const platform::UsbDeviceRef device = _dfuDevice) {
            if (!usesStringDescriptorVersion(productId))
                return formatProductVersion(hexText(device->info().bcdDevice));
            if (const std::optional<QString> version = ReadUSBString(device, kVersionStringIndex))
                return version->trimmed();
        }
    }
    return {};
}

bool QOVADFUUpgrader::confirmNewFirmware()
{
    const QString version = runModeVersion();
    if (!live())
        return false;
    _reportedVersion = version;
    QOVA_LOG(INFO, DFU,
             "The device is back with firmware \"%s\" (package \"%s\", before \"%s\", manifestation %s).",
             qUtf8Printable(version), qUtf8Printable(_packageVersion), qUtf8Printable(_versionBefore),
             _leftAfterImage ? "not reported" : "reported done");
    const upgrader::FirmwareVerdict verdict =
        upgrader::judgeFirmware(version, _packageVersion, _versionBefore,
                                upgrader::firmwareFamilyType(_model->productPID()), !_leftAfterImage);
    switch (verdict) {
    case upgrader::FirmwareVerdict::Installed:
        return true;
    case upgrader::FirmwareVerdict::NotInstalled:
        QOVA_LOG(ERROR, DFU, "Upgrade failed, the device came back with the firmware it ran before.");
        failWith(13, 0, qtTrId("STRING_UPDATE_NOT_INSTALLED"));
        return false;
    case upgrader::FirmwareVerdict::NotConfirmed:
        break;
    }
    QOVA_LOG(ERROR, DFU, "Upgrade failed, the firmware the device came back with could not be confirmed.");
    failWith(13, 0, qtTrId("STRING_UPDATE_NOT_CONFIRMED"));
    return false;
}

void QOVADFUUpgrader::reportError(bool dfuError, dfu_io_result ret)
{
    if (!live())
        return;  // the job has already ended

    QString description;
    int code = 0;
    int status = 13;
    if (!dfuError && isGone(ret)) {
        QOVA_LOG(ERROR, DFU, "Upgrade failed, Can't find the device.");
        description = qtTrId("STRING_UPDATE_FAILED");
        code = 2;
        status = 12;
    } else {
        QOVA_LOG(ERROR, DFU, "Upgrade failed, Device Enter DFU Error state, status string is %s",
                 dfu_status_name(dfuStatus.bStatus));
        const bool refusedDetach =
            ret == kDfuIoPipeStalled && _dfuEvent == QLatin1String("PrepareDetach");
        description = qtTrId(refusedDetach ? "STRING_UPDATE_FAILED_INCALL" : "STRING_UPDATE_FAILED");
        code = dfuStatus.bStatus == DFU_STATUS_ERR_FIRMWARE ? 1 : 0;
    }
    failWith(status, code, description);
}

void QOVADFUUpgrader::failWith(int status, int code, const QString &description)
{
    if (!live())
        return;
    m_finished = true;
    reportStatus(status);
    stopUpgradeTimer();
    const QOVAError error =
        QOVAError::errorCode(code, {{QOVAError::kLocalizedDescriptionKey, description}});
    if (failedBlock)
        failedBlock(error);
    tearDownStateMachine();
}

void QOVADFUUpgrader::succeed()
{
    if (!live())
        return;
    m_finished = true;
    // No progress after the outcome.
    stopUpgradeTimer();
    if (successBlock)
        successBlock(_reportedVersion);
    tearDownStateMachine();
}
