#include "QOVAUSBDeviceHIDInterface.h"

#include "CacheModel.h"
#include "QOVAError.h"
#include "QOVANotificationCenter.h"
#include "StatusModel.h"
#include "hid/QOVAHIDFrames.h"
#include "hid/QOVAHIDReplyReader.h"
#include "hidutil/IOHIDDevice_.h"
#include "log/log.h"
#include "platform/ThreadHop.h"
#include "util/QOVABlockTimer.h"
#include "util/QOVACompactJson.h"
#include "util/QOVADataEnhancement.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

using namespace QOVAHIDFrames;

namespace {

// Over-timer period of a request url; 10.0 means none.
constexpr double kNoOverTimer = 10.0;

bool isLogFetch(const QString &url)
{
    return url == QLatin1String("system_log") || url == QLatin1String("coredump_log");
}

bool isAudioRecording(const QString &url)
{
    return url == QLatin1String("audio_diagnostic_record_start")
        || url == QLatin1String("audio_diagnostic_record_stop");
}

double overTimerSeconds(const QString &url)
{
    if (isLogFetch(url))
        return 60.0;
    if (isAudioRecording(url))
        return 350.0;
    return kNoOverTimer;
}

// A remote control takes its firmware over the radio: its progress is shown
// over 60 s and the reply may come minutes after that.
constexpr double kRemoteControlUpgradeReplyWait = 600.0;

// The ordinary wait unless told otherwise: ORVALINDE_REPLY_WAIT (seconds,
// before the time scale) lets a test run give replies more room on a loaded
// machine; tests of the time-out set the wait they test.
double initialReplyWait()
{
    bool ok = false;
    const double seconds = qEnvironmentVariable("ORVALINDE_REPLY_WAIT").toDouble(&ok);
    return ok && seconds > 0 ? seconds : QOVAUSBDeviceHIDInterface::kDefaultReplyWait;
}

std::atomic<double> replyWaitOfOrdinaryRequests{initialReplyWait()};

// How long a request waits for its reply before it fails.
double replyWaitSeconds(const QString &url)
{
    if (const double over = overTimerSeconds(url); over != kNoOverTimer)
        return over;
    if (url == QLatin1String("remote_control_upgrade"))
        return kRemoteControlUpgradeReplyWait;
    return replyWaitOfOrdinaryRequests.load();
}

// How soon a request whose time is up looks again while a reply is read.
constexpr int kReplyInFlightRecheckMs = 5;

bool onMainThread()
{
    QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// A reply as the reading thread hands it to the main thread, decoded there
// once: the head's bytes (none when unreadable or not UTF-8) and the body's
// (none when the reply declares none); the head decoded into its status; and,
// for a successful reply to a request that waits for a payload model, the
// body decoded into the model its entry named at the time.
struct Reply {
    std::optional<QByteArray> head;
    std::optional<QByteArray> body;
    std::shared_ptr<const StatusModel> status;
    QString statusError;
    QString key;  // the status's message id, as the tables are keyed
    QString modelClass;  // empty when the body was not decoded
    QOVAModelRef model;
    QString modelError;
};

// The head decoded into its status model; the text is read as UTF-8 the way
// QString::fromUtf8 reads it (a leading byte-order mark is dropped).
std::shared_ptr<const StatusModel> decodeHead(const QByteArray &head, QString *error)
{
    QByteArray text = head;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    return qova_model_cast<StatusModel>(
        QOVAModelRegistry::modelFromJSONData(StatusModel::staticClassName(), text, error));
}

bool isPayloadModelClass(const QString &className)
{
    return !className.isEmpty() && className != QLatin1String("NSData");
}

} // namespace

struct QOVAUSBDeviceHIDInterface::Impl : std::enable_shared_from_this<Impl> {
    platform::UsbDeviceRef deviceInterface;
    platform::HidDeviceRef deviceRef;

    // Feature transfers of this device, one at a time.
    std::mutex transferMutex;
    std::unique_lock<std::mutex> lockTransfersForReading();

    // The interface's own lock: the tables, the last request and the timers.
    mutable std::mutex lock;
    // The requests waiting for a reply, by message id, oldest first: the
    // device answers in the order it is asked, so a reply goes to the oldest
    // request waiting under its id.
    QHash<QString, std::deque<CacheModel>> blockCache;
    quint64 lastTicket = 0;  // of the last request filed
    QHash<QString, QString> cache;  // message id -> url
    QString messageID;
    QString messageURL;
    QOVABlockTimerRef overTimer;

    std::atomic<bool> cancel{false};
    // Replies read (or being read) and not yet dispatched on the main thread.
    std::atomic<int> repliesInFlight{0};
    std::atomic<bool> remoteControl{false};

    // Main thread only.
    QOVAFailureBlock failureStringBlock;
    QOVAVoidBlock notificationBlock;
    QOVAProgressBlock progressBlock;
    QOVABlockTimerRef progressTimer;
    int progressCount = 1;

    // Sending (Part of the request path, main thread).
    bool requestDeivceUseDeviceInterface(const QByteArray &headBytes, const QByteArray *body,
                                         uint8_t dataType);
    bool setIOHIDDeviceReport(const std::vector<Frame> &frames);

    quint64 addInfoToCache(const QString &className, QOVASuccessBlock success,
                           QOVAFailureBlock failure, QOVACompletionBlock completion,
                           const QString &msgID);
    // Files the entry after any other waiting under its id; under the lock.
    // Gives the entry's ticket.
    quint64 fileEntryLocked(const QString &msgID, CacheModel entry);
    // The waiting entry of that request, or none; under the lock.
    CacheModel *entryLocked(const QString &msgID, quint64 ticket);
    // Takes the waiting entry of that request, or the oldest one waiting
    // under the id, out of the table; under the lock.
    std::optional<CacheModel> takeEntryLocked(const QString &msgID, quint64 ticket);
    std::optional<CacheModel> takeOldestLocked(const QString &msgID);
    // Forgets a request that could not be sent.
    void removeEntry(const QString &msgID, quint64 ticket);
    void startDeadline(const QString &msgID, quint64 ticket, double seconds);
    void requestTimedOut(const QString &msgID, quint64 ticket);
    void startOverTimer(double seconds);
    void stopOverTimer();
    bool overTimerRunning() const;
    void handleTimeoutEvent();
    void startProgressTimer();

    // Input reports and reply reading (HID discovery thread).
    void inputReport(const uint8_t *data, size_t length);
    void notificationFromDeviceWithData();
    Reply getResponseFromDeivceGetHeadandBodyJsonString();
    Reply parseDeviceResponse(const uint8_t *firstFrame, size_t length);
    void decodeReply(Reply &reply);
    void notificationFromDeviceWithWiFi(uint16_t code);
    void notificationFormDeviceWithRemoteControl(uint16_t code);

    // Dispatch (main thread).
    std::shared_ptr<const StatusModel> paraseHeadJsonWithString(const Reply &reply,
                                                                QString *error);
    void dispatch(const Reply &reply);

    QVariantMap serialUserInfo() const;
};

// ---------------------------------------------------------------- sending

bool QOVAUSBDeviceHIDInterface::Impl::requestDeivceUseDeviceInterface(const QByteArray &headBytes,
                                                                      const QByteArray *body,
                                                                      uint8_t dataType)
{
    std::vector<Frame> frames;
    if (!pduFormateEncapsulating(headBytes, body, dataType, &frames)) {
        QOVA_LOG(INFO, HID, "Request too long for its length fields: head %lld, body %lld bytes",
                 (long long)headBytes.size(), body ? (long long)body->size() : 0LL);
        return false;
    }
    return setIOHIDDeviceReport(frames);
}

bool QOVAUSBDeviceHIDInterface::Impl::setIOHIDDeviceReport(const std::vector<Frame> &frames)
{
    if (!deviceRef)
        return false;
    std::lock_guard<std::mutex> transfer(transferMutex);
    for (const Frame &frame : frames) {
        const int status = deviceRef->setFeatureReport(frame.data(), frame.size());
        if (status != 0) {
            QOVA_LOG(INFO, HID, "SetReport Error: Control request failed: %08x", unsigned(status));
            return false;
        }
        QOVA_LOG(INFO, HID, "Can Set Report Success!");
    }
    return true;
}

quint64 QOVAUSBDeviceHIDInterface::Impl::addInfoToCache(const QString &className,
                                                        QOVASuccessBlock success,
                                                        QOVAFailureBlock failure,
                                                        QOVACompletionBlock completion,
                                                        const QString &msgID)
{
    CacheModel entry;
    entry.classString = className;
    entry.successBlock = std::move(success);
    entry.failureBlock = std::move(failure);
    entry.completionSuccessBlock = std::move(completion);
    std::lock_guard<std::mutex> guard(lock);
    return fileEntryLocked(msgID, std::move(entry));
}

quint64 QOVAUSBDeviceHIDInterface::Impl::fileEntryLocked(const QString &msgID, CacheModel entry)
{
    entry.ticket = ++lastTicket;
    blockCache[msgID].push_back(std::move(entry));
    return lastTicket;
}

CacheModel *QOVAUSBDeviceHIDInterface::Impl::entryLocked(const QString &msgID, quint64 ticket)
{
    auto it = blockCache.find(msgID);
    if (it == blockCache.end())
        return nullptr;
    for (CacheModel &entry : *it) {
        if (entry.ticket == ticket)
            return &entry;
    }
    return nullptr;
}

std::optional<CacheModel> QOVAUSBDeviceHIDInterface::Impl::takeEntryLocked(const QString &msgID, quint64 ticket)
{
    auto it = blockCache.find(msgID);
    if (it == blockCache.end())
        return std::nullopt;
    std::deque<CacheModel> &waiting = *it;
    for (auto entry = waiting.begin(); entry != waiting.end(); ++entry) {
        if (entry->ticket != ticket)
            continue;
        std::optional<CacheModel> taken(std::move(*entry));
        waiting.erase(entry);
        if (waiting.empty())
            blockCache.erase(it);
        return taken;
    }
    return std::nullopt;
}

std::optional<CacheModel> QOVAUSBDeviceHIDInterface::Impl::takeOldestLocked(const QString &msgID)
{
    auto it = blockCache.find(msgID);
    if (it == blockCache.end())
        return std::nullopt;
    std::optional<CacheModel> taken(std::move(it->front()));
    it->pop_front();
    if (it->empty())
        blockCache.erase(it);
    return taken;
}

void QOVAUSBDeviceHIDInterface::Impl::removeEntry(const QString &msgID, quint64 ticket)
{
    std::optional<CacheModel> entry;
    {
        std::lock_guard<std::mutex> guard(lock);
        entry = takeEntryLocked(msgID, ticket);
        if (!blockCache.contains(msgID))
            cache.remove(msgID);
    }
    if (entry && entry->deadline)
        entry->deadline->invalidate();
}

// The deadline lives on the main thread, where requests are issued and
// replies dispatched; a request issued elsewhere has it started there.
void QOVAUSBDeviceHIDInterface::Impl::startDeadline(const QString &msgID, quint64 ticket,
                                                   double seconds)
{
    std::weak_ptr<Impl> weak = weak_from_this();
    if (!onMainThread()) {
        platform::postToMain([weak, msgID, ticket, seconds] {
            if (auto self = weak.lock())
                self->startDeadline(msgID, ticket, seconds);
        });
        return;
    }
    auto timer = QOVABlockTimer::qova_scheduledTimerWithTimeInterval(
        seconds,
        [weak, msgID, ticket](const QOVABlockTimerRef &) {
            if (auto self = weak.lock())
                self->requestTimedOut(msgID, ticket);
        },
        false);
    {
        std::lock_guard<std::mutex> guard(lock);
        if (CacheModel *entry = entryLocked(msgID, ticket)) {
            entry->deadline = timer;
            return;
        }
    }
    // Answered or failed before its deadline was set.
    timer->invalidate();
}

void QOVAUSBDeviceHIDInterface::Impl::requestTimedOut(const QString &msgID, quint64 ticket)
{
    // The device has said a reply is ready and it is being read or handed
    // on: it may be this request's, so look again once it has been.
    if (repliesInFlight.load() > 0) {
        std::weak_ptr<Impl> weak = weak_from_this();
        QTimer::singleShot(kReplyInFlightRecheckMs, QCoreApplication::instance(), [weak, msgID, ticket] {
            if (auto self = weak.lock())
                self->requestTimedOut(msgID, ticket);
        });
        return;
    }
    QOVAFailureBlock failure;
    {
        std::lock_guard<std::mutex> guard(lock);
        std::optional<CacheModel> entry = takeEntryLocked(msgID, ticket);
        if (!entry)
            return;
        failure = std::move(entry->failureBlock);
    }
    // The url entry stays: a late reply still parses, finds no handler and
    // is dropped.
    QOVA_LOG(INFO, HID, "No reply for msg_id %s in time, the request has failed!",
             qUtf8Printable(msgID));
    if (failure)
        failure(QOVAError::errorResponseOvertime().localizedDescription());
}

void QOVAUSBDeviceHIDInterface::Impl::startOverTimer(double seconds)
{
    if (seconds == kNoOverTimer)
        return;
    QOVA_LOG(INFO, HID, "Waiting For the Notification for %lf seconds...", seconds);
    std::weak_ptr<Impl> weak = weak_from_this();
    auto timer = QOVABlockTimer::qova_scheduledTimerWithTimeInterval(
        seconds,
        [weak](const QOVABlockTimerRef &) {
            if (auto self = weak.lock())
                self->handleTimeoutEvent();
        },
        false);
    QOVABlockTimerRef old;
    {
        std::lock_guard<std::mutex> guard(lock);
        old = std::exchange(overTimer, timer);
    }
    if (old)
        old->invalidate();
}

void QOVAUSBDeviceHIDInterface::Impl::stopOverTimer()
{
    QOVA_LOG(INFO, HID, "Stop The Over Timer!");
    QOVABlockTimerRef timer;
    {
        std::lock_guard<std::mutex> guard(lock);
        timer = std::exchange(overTimer, nullptr);
    }
    if (timer) {
        timer->invalidate();
        QOVA_LOG(INFO, HID, "Over Timer have been invalidated!");
    } else {
        QOVA_LOG(INFO, HID, "NO Timer!");
    }
}

bool QOVAUSBDeviceHIDInterface::Impl::overTimerRunning() const
{
    std::lock_guard<std::mutex> guard(lock);
    return overTimer && overTimer->isValid();
}

void QOVAUSBDeviceHIDInterface::Impl::handleTimeoutEvent()
{
    QOVA_LOG(INFO, HID, "Orbrin HID Interface Overtime!");
    for (const char *key : {"21", "11", "27"}) {
        QOVAFailureBlock failure;
        QOVABlockTimerRef deadline;
        {
            std::lock_guard<std::mutex> guard(lock);
            std::optional<CacheModel> entry = takeOldestLocked(QLatin1String(key));
            if (!entry)
                continue;
            failure = std::move(entry->failureBlock);
            deadline = std::move(entry->deadline);
        }
        if (deadline)
            deadline->invalidate();
        QOVA_LOG(INFO, HID, "Orbrin HID Handle Overtime!");
        platform::postToMain([failure] {
            if (failure)
                failure(QOVAError::errorResponseOvertime().localizedDescription());
        });
        return;
    }
    QOVA_LOG(INFO, HID, "Orbrin HID Handle Overtime, but can not find the msg id");
}

void QOVAUSBDeviceHIDInterface::Impl::startProgressTimer()
{
    if (progressTimer)
        progressTimer->invalidate();
    progressCount = 1;
    std::weak_ptr<Impl> weak = weak_from_this();
    progressTimer = QOVABlockTimer::qova_scheduledTimerWithTimeInterval(
        1.0,
        [weak](const QOVABlockTimerRef &) {
            auto self = weak.lock();
            if (!self)
                return;
            QOVA_LOG(INFO, HID, "Remote Controller is Updating!!!");
            if (self->progressCount <= 60) {
                const double progress = self->progressCount / 60.0;
                ++self->progressCount;
                if (self->progressBlock)
                    self->progressBlock(progress);
            }
        },
        true);
    progressTimer->fire();
}

// ----------------------------------------------------- HID discovery thread

// A device that answers at once says its reply is ready while the send that
// asked for it still holds the transfer lock, the sender only a few
// instructions from letting go. The reader gives way to it a few times
// before it sleeps on the lock: sleeping there costs a wake-up and two
// thread switches more per reply when both threads share a processor.
std::unique_lock<std::mutex> QOVAUSBDeviceHIDInterface::Impl::lockTransfersForReading()
{
    std::unique_lock<std::mutex> transfer(transferMutex, std::try_to_lock);
    for (int i = 0; i < 8 && !transfer.owns_lock(); ++i) {
        std::this_thread::yield();
        transfer.try_lock();
    }
    if (!transfer.owns_lock())
        transfer.lock();
    return transfer;
}

void QOVAUSBDeviceHIDInterface::Impl::inputReport(const uint8_t *data, size_t length)
{
    uint8_t bytes[4] = {};
    std::memcpy(bytes, data, std::min<size_t>(length, 4));
    QOVA_LOG(INFO, HID, "The inReport is %c %c %c %c", bytes[0] + 48, bytes[1] + 48,
             bytes[2] + 48, bytes[3] + 48);
    const auto report = parseInputReport(data, length);
    if (!report)
        return;
    switch (report->kind) {
    case InputReport::NotReady:
        QOVA_LOG(INFO, HID, "Response can not use, waiting......!");
        break;
    case InputReport::Ready:
        QOVA_LOG(INFO, HID, "Response is available!");
        if (report->remoteUpgradeNotice)
            remoteControl = true;
        else
            notificationFromDeviceWithData();
        break;
    case InputReport::WiFi:
        QOVA_LOG(INFO, HID, "WiFi status notification!");
        notificationFromDeviceWithWiFi(report->code);
        break;
    case InputReport::RemoteControl:
        QOVA_LOG(INFO, HID, "Remote Active notification!");
        notificationFormDeviceWithRemoteControl(report->code);
        break;
    default:
        break;
    }
}

void QOVAUSBDeviceHIDInterface::Impl::notificationFromDeviceWithData()
{
    ++repliesInFlight;
    stopOverTimer();
    Reply reply = getResponseFromDeivceGetHeadandBodyJsonString();
    decodeReply(reply);
    std::weak_ptr<Impl> weak = weak_from_this();
    platform::postToMain([weak, reply = std::move(reply)] {
        if (auto self = weak.lock()) {
            self->dispatch(reply);
            --self->repliesInFlight;
        }
    });
}

Reply QOVAUSBDeviceHIDInterface::Impl::getResponseFromDeivceGetHeadandBodyJsonString()
{
    QOVA_LOG(INFO, HID, "Response available,Ready to Get Report for first PDU Frame!");
    if (cancel.exchange(false)) {
        QOVA_LOG(INFO, HID, "Cancel the HID Handle!");
        return {};
    }
    if (!deviceRef)
        return {};
    std::unique_lock<std::mutex> transfer = lockTransfersForReading();
    uint8_t frame[kReportSize] = {};
    size_t actual = 0;
    const int status = deviceRef->getFeatureReport(kReportId, frame, kReportSize, &actual);
    if (status != 0) {
        QOVA_LOG(INFO, HID, "GetResponse Error: Control request failed: %08x", unsigned(status));
        return {};
    }
    QOVA_LOG(INFO, HID, "Can Get Response Success!");
    return parseDeviceResponse(frame, std::min(actual, kReportSize));
}

// Reads the rest of a reply (transfer lock held).
Reply QOVAUSBDeviceHIDInterface::Impl::parseDeviceResponse(const uint8_t *firstFrame, size_t length)
{
    QOVAHIDReplyReader reader;
    auto state = reader.begin(firstFrame, length);
    if (state == QOVAHIDReplyReader::State::Refused) {
        QOVA_LOG(INFO, HID, "Reply refused: head of %llu bytes, body of %llu bytes",
                 (unsigned long long)reader.headLength(), (unsigned long long)reader.bodyLength());
        return {};
    }
    if (reader.isSingleFrame()) {
        QOVA_LOG(INFO, HID, "No neee fetch more times, just once!");
        if (log_is_running()) {
            QOVA_LOG(INFO, HID, "The jsonHeadString is %s",
                     qUtf8Printable(QOVADataEnhancement::utf8String(reader.head())));
        }
    }
    std::vector<uint8_t> report;
    while (state == QOVAHIDReplyReader::State::NeedReports) {
        if (cancel.exchange(false)) {
            QOVA_LOG(INFO, HID, "Cancel the HID Handle!");
            return {};
        }
        report.assign(reader.reportSize(), 0);
        size_t actual = 0;
        const int status =
            deviceRef->getFeatureReport(reader.reportId(), report.data(), report.size(), &actual);
        if (status != 0) {
            QOVA_LOG(INFO, HID, "GetReport Error: Control request failed: %08x", unsigned(status));
            return {};
        }
        QOVA_LOG(INFO, HID, "Get Report Success!");
        state = reader.apply(report.data(), std::min(actual, report.size()));
    }

    Reply reply;
    QByteArray head = reader.head();
    if (QOVADataEnhancement::isValidUTF8(head))
        reply.head = std::move(head);
    if (reader.bodyLength() != 0)
        reply.body = reader.body();
    return reply;
}

// Decodes the head and, when the reply succeeded and its request waits for a
// payload model, the body, so the main thread gets the reply ready to hand on.
void QOVAUSBDeviceHIDInterface::Impl::decodeReply(Reply &reply)
{
    if (!reply.head)
        return;
    reply.status = decodeHead(*reply.head, &reply.statusError);
    if (!reply.status)
        return;
    reply.key = QString::number(reply.status->msg_id);
    if (reply.status->status_code != 200)
        return;
    QString className;
    {
        std::lock_guard<std::mutex> guard(lock);
        auto it = blockCache.constFind(reply.key);
        if (it != blockCache.cend())
            className = it->front().classString;
    }
    if (!isPayloadModelClass(className))
        return;
    reply.model = QOVAModelRegistry::modelFromJSONData(
        className, reply.body.value_or(QByteArray()), &reply.modelError);
    reply.modelClass = className;
}

namespace {

// A device event: the log line it writes and the notification it posts.
struct DeviceEvent {
    uint16_t code;
    const char *logLine;
    const char *notification;
};

const DeviceEvent kWiFiEvents[] = {
    {0, "wifi Connected!", "QOVAWiFiConnectedInformation"},
    {1, "wifi Disconnected", "QOVAWiFiDisconnectedInformation"},
    {2, "wifi Connecting!", "QOVAWiFiConnectingInformation"},
    {4, "wifi enable!", "QOVAWiFiEnableInformation"},
    {5, "wifi diable!", "QOVAWifiDisableInformation"},
};

const DeviceEvent kRemoteControlEvents[] = {
    {0, "Remote Control Sleep!", "QOVARemoteControlSleep"},
    {1, "Remote Control Active!", "QOVARemoteControlActive"},
    {2, "Remote Control unpair!", "QOVARemoteControlUnPair"},
    {3, "Remote Control pair!", "QOVARemoteControlPair"},
};

// The event of that code, logged; none for a code without one.
template <size_t N>
const DeviceEvent *findEvent(const DeviceEvent (&events)[N], uint16_t code)
{
    for (const DeviceEvent &event : events) {
        if (event.code == code) {
            QOVA_LOG(INFO, HID, "%s", event.logLine);
            return &event;
        }
    }
    return nullptr;
}

} // namespace

void QOVAUSBDeviceHIDInterface::Impl::notificationFromDeviceWithWiFi(uint16_t code)
{
    if (const DeviceEvent *event = findEvent(kWiFiEvents, code))
        QOVANotificationCenter::defaultCenter().postNotificationNameOnMainThread(
            QString::fromLatin1(event->notification), nullptr, std::nullopt);
}

void QOVAUSBDeviceHIDInterface::Impl::notificationFormDeviceWithRemoteControl(uint16_t code)
{
    QOVA_LOG(INFO, HID, "Remote Contorl Notifcation!!!");
    if (const DeviceEvent *event = findEvent(kRemoteControlEvents, code))
        QOVANotificationCenter::defaultCenter().postNotificationNameOnMainThread(
            QString::fromLatin1(event->notification), nullptr, serialUserInfo());
}

QVariantMap QOVAUSBDeviceHIDInterface::Impl::serialUserInfo() const
{
    QVariantMap info;
    if (auto serial = IOHIDDevice_GetSerialNumber(deviceRef))
        info.insert(QStringLiteral("productSeriaNumber"), *serial);
    return info;
}

// ------------------------------------------------------- main-thread dispatch

std::shared_ptr<const StatusModel>
QOVAUSBDeviceHIDInterface::Impl::paraseHeadJsonWithString(const Reply &reply, QString *error)
{
    if (!reply.head) {
        *error = QOVAError::errorGetResponseFailure().localizedDescription();
        return nullptr;
    }
    std::shared_ptr<const StatusModel> status = reply.status;
    if (!status) {
        *error = reply.statusError;
        return nullptr;
    }

    if (remoteControl.exchange(false)) {
        bool upgrading;
        {
            std::lock_guard<std::mutex> guard(lock);
            upgrading = cache.contains(QStringLiteral("33"));
        }
        if (!upgrading) {
            QVariantMap info = serialUserInfo();
            info.insert(QStringLiteral("remoteUpgrade"), status->status_code == 200);
            QOVANotificationCenter::defaultCenter().postNotificationNameOnMainThread(
                QStringLiteral("QOVARemoteControlUpgrade"), nullptr, info);
            if (status->status_code != 200) {
                QOVA_LOG(INFO, HID, "response status code %ld, the response status string is %s",
                         long(status->status_code), qUtf8Printable(status->status_string));
            }
        }
    }

    const QString &key = reply.key;
    {
        std::lock_guard<std::mutex> guard(lock);
        if (!cache.contains(key)) {
            QOVA_LOG(INFO, HID, "The messagID:%s Got the HID Response is not Correct",
                     qUtf8Printable(key));
            *error = QOVAError::errorMessageIDNotMatch().localizedDescription();
            return nullptr;
        }
        // The id stays known while another request waits under it.
        auto waiting = blockCache.constFind(key);
        if (waiting == blockCache.cend() || waiting->size() <= 1)
            cache.remove(key);
    }

    if (key == QLatin1String("33")) {
        if (progressTimer) {
            progressTimer->invalidate();
            progressTimer.reset();
        }
        if (progressBlock)
            progressBlock(1.0);
        if (status->status_string != QLatin1String("success")) {
            *error = QOVAError::errorResponseNotCorrect().localizedDescription();
            return nullptr;
        }
    }
    if (key == QLatin1String("21") && notificationBlock)
        notificationBlock();
    return status;
}

void QOVAUSBDeviceHIDInterface::Impl::dispatch(const Reply &reply)
{
    QString error;
    const auto status = paraseHeadJsonWithString(reply, &error);
    if (!status) {
        // A bad reply about a waiting request fails that request; any other
        // (one naming no request, or an id nothing was asked under) fails
        // the last request, if it still waits. A request that has given up
        // after its time, or that was answered, is not failed a second time.
        std::optional<CacheModel> entry;
        {
            std::lock_guard<std::mutex> guard(lock);
            if (!reply.key.isEmpty())
                entry = takeOldestLocked(reply.key);
            if (!entry)
                entry = takeEntryLocked(messageID, lastTicket);
        }
        if (!entry) {
            QOVA_LOG(INFO, HID, "Bad reply while no request waits: %s", qUtf8Printable(error));
            return;
        }
        if (entry->deadline)
            entry->deadline->invalidate();
        if (entry->failureBlock)
            entry->failureBlock(error);
        return;
    }

    const QString &key = reply.key;
    CacheModel entry;
    {
        std::lock_guard<std::mutex> guard(lock);
        std::optional<CacheModel> oldest = takeOldestLocked(key);
        if (!oldest) {
            QOVA_LOG(INFO, HID, "Have not this Handler, should quit this handle!");
            return;
        }
        entry = std::move(*oldest);
    }
    if (entry.deadline)
        entry.deadline->invalidate();

    auto fail = [&entry](const QString &text) {
        if (entry.failureBlock)
            entry.failureBlock(text);
    };
    auto complete = [&entry](const QOVAReplyObject &object) {
        if (entry.completionSuccessBlock)
            entry.completionSuccessBlock(object);
    };

    const qint64 code = status->status_code;
    if (code == 200) {
        if (entry.classString.isEmpty()) {
            if (entry.successBlock)
                entry.successBlock(QStringLiteral("Success!"));
        } else if (entry.classString == QLatin1String("NSData")) {
            // A reply without body hands over empty bytes.
            complete(reply.body.value_or(QByteArray()));
        } else {
            // A reply without body fails to decode like any other bad body.
            // The reading thread decoded it already unless the entry now
            // names another model.
            QString decodeError = reply.modelError;
            QOVAModelRef model = reply.model;
            if (reply.modelClass != entry.classString) {
                decodeError.clear();
                model = QOVAModelRegistry::modelFromJSONData(
                    entry.classString, reply.body.value_or(QByteArray()), &decodeError);
            }
            if (model)
                complete(model);
            else
                fail(decodeError);
        }
        return;
    }

    QOVA_LOG(INFO, HID, "response status code %ld, the response status string is %s", long(code),
             qUtf8Printable(status->status_string));
    if (key == QLatin1String("27") && code == 408
        && status->status_string.toLower() == QLatin1String("null")) {
        complete(std::monostate());
    } else if (key == QLatin1String("17")) {
        fail(status->status_string);
    } else if (code == 400) {
        fail(QOVAError::errorSetReportRejected().localizedDescription());
    } else if (key == QLatin1String("46") && code == 201) {
        fail(QStringLiteral("needPassword"));
    } else if (key == QLatin1String("46") && code == 408) {
        fail(QStringLiteral("fail"));
    } else {
        fail(QOVAError::errorResponseNotCorrect().localizedDescription());
    }
}

// ------------------------------------------------------------ public side

QOVAUSBDeviceHIDInterface::QOVAUSBDeviceHIDInterface(platform::UsbDeviceRef deviceInterface,
                                                     platform::HidDeviceRef deviceRef)
    : d(std::make_shared<Impl>())
{
    d->deviceInterface = std::move(deviceInterface);
    d->deviceRef = std::move(deviceRef);
    if (d->deviceRef) {
        std::weak_ptr<Impl> weak = d;
        d->deviceRef->setInputReportHandler([weak](const uint8_t *data, size_t length) {
            if (auto self = weak.lock())
                self->inputReport(data, length);
        });
    }
}

QOVAUSBDeviceHIDInterface::~QOVAUSBDeviceHIDInterface()
{
    if (d->deviceRef)
        d->deviceRef->setInputReportHandler({});
    if (d->progressTimer)
        d->progressTimer->invalidate();
    QOVABlockTimerRef over;
    std::vector<QOVABlockTimerRef> deadlines;
    {
        std::lock_guard<std::mutex> guard(d->lock);
        over = std::exchange(d->overTimer, nullptr);
        for (std::deque<CacheModel> &waiting : d->blockCache) {
            for (CacheModel &entry : waiting) {
                if (entry.deadline)
                    deadlines.push_back(std::move(entry.deadline));
            }
        }
    }
    if (over)
        over->invalidate();
    for (const QOVABlockTimerRef &deadline : deadlines)
        deadline->invalidate();
}

void QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(double seconds)
{
    replyWaitOfOrdinaryRequests = seconds > 0 ? seconds : initialReplyWait();
}

double QOVAUSBDeviceHIDInterface::ordinaryReplyWait()
{
    return replyWaitOfOrdinaryRequests.load();
}

void QOVAUSBDeviceHIDInterface::getInformationFromUSBDevice(const QString &className,
                                                            const QJsonObject &head,
                                                            QOVACompletionBlock completion,
                                                            QOVAFailureBlock failure)
{
    d->failureStringBlock = failure;
    QOVACompactJson::HeadValues values;
    const QByteArray headBytes = QOVACompactJson::toJson(head, &values);
    const QString &msgID = values.msgID;
    const QString &url = values.url;
    CacheModel entry;
    entry.classString = className;
    entry.failureBlock = std::move(failure);
    entry.completionSuccessBlock = std::move(completion);
    bool heldBack;
    quint64 ticket;
    {
        std::lock_guard<std::mutex> guard(d->lock);
        ticket = d->fileEntryLocked(msgID, std::move(entry));
        d->messageID = msgID;
        d->messageURL = url;
        d->cache.insert(msgID, url);
        heldBack = d->overTimer && d->overTimer->isValid();
    }
    QOVA_LOG(INFO, HID, "GET Information From Orbrin,The msg_id is %s, the msg_url is %s",
             qUtf8Printable(msgID), qUtf8Printable(url));

    // Every request ends: with its reply, or with a failure once it has
    // waited its time after it was sent (or held back).
    const double replyWait = replyWaitSeconds(url);

    // While a long request waits for its reply, GETs are filed but held back.
    if (heldBack && url != QLatin1String("audio_diagnostic_record_stop")) {
        d->startDeadline(msgID, ticket, replyWait);
        return;
    }

    // The time-out starts before the request leaves: a fast device may answer
    // (and stop the timer) before the send returns.
    const double seconds = overTimerSeconds(url);
    d->startOverTimer(seconds);
    if (!d->requestDeivceUseDeviceInterface(headBytes, nullptr, DataTypeJSON)) {
        if (seconds != kNoOverTimer)
            d->stopOverTimer();
        QOVA_LOG(INFO, HID, "No need to Wait for the Notification!");
        if (d->failureStringBlock)
            d->failureStringBlock(QOVAError::errorSetReportFailure().localizedDescription());
        d->removeEntry(msgID, ticket);
        return;
    }
    // A reply already read is dispatched on this thread only after this.
    d->startDeadline(msgID, ticket, replyWait);
}

namespace {
void putInformation(const std::shared_ptr<QOVAUSBDeviceHIDInterface::Impl> &d,
                    const QJsonObject &head, const QByteArray *body, uint8_t dataType,
                    QOVASuccessBlock success, QOVAFailureBlock failure);
}

void QOVAUSBDeviceHIDInterface::putInformationToUSBDevice(const QJsonObject &head,
                                                          const std::optional<QJsonObject> &body,
                                                          QOVASuccessBlock success,
                                                          QOVAFailureBlock failure)
{
    QByteArray bytes;
    if (body)
        bytes = QJsonDocument(*body).toJson(QJsonDocument::Compact);
    putInformation(d, head, body ? &bytes : nullptr, DataTypeJSON, std::move(success),
                   std::move(failure));
}

void QOVAUSBDeviceHIDInterface::putFileDataToUSBDevice(const QJsonObject &head,
                                                       const QString &filePath,
                                                       QOVASuccessBlock success,
                                                       QOVAFailureBlock failure)
{
    QFile file(filePath);
    std::optional<QByteArray> data;
    if (file.open(QIODevice::ReadOnly))
        data = file.readAll();
    putInformation(d, head, data ? &*data : nullptr, DataTypeFile, std::move(success),
                   std::move(failure));
}

namespace {
void putInformation(const std::shared_ptr<QOVAUSBDeviceHIDInterface::Impl> &d,
                    const QJsonObject &head, const QByteArray *body, uint8_t dataType,
                    QOVASuccessBlock success, QOVAFailureBlock failure)
{
    QOVACompactJson::HeadValues values;
    const QByteArray headBytes = QOVACompactJson::toJson(head, &values);
    const QString &msgID = values.msgID;
    const QString &url = values.url;
    QOVA_LOG(INFO, HID, "PUT Command to Orbrin,The msg_id is %s, the msg_url is %s",
             qUtf8Printable(msgID), qUtf8Printable(url));
    {
        std::lock_guard<std::mutex> guard(d->lock);
        d->messageID = msgID;
        d->cache.insert(msgID, url);
    }
    d->failureStringBlock = failure;
    const quint64 ticket = d->addInfoToCache(QString(), std::move(success), failure, nullptr, msgID);

    const bool upgrade = url == QLatin1String("remote_control_upgrade");
    if (upgrade)
        d->startOverTimer(60.0);
    if (!d->requestDeivceUseDeviceInterface(headBytes, body, dataType)) {
        if (upgrade)
            d->stopOverTimer();
        QOVA_LOG(INFO, HID, "Set Report Error, NO need to Wait Notification!");
        if (d->failureStringBlock)
            d->failureStringBlock(QOVAError::errorSetReportFailure().localizedDescription());
        d->removeEntry(msgID, ticket);
        return;
    }
    // A reply already read is dispatched on this thread only after this.
    d->startDeadline(msgID, ticket, replyWaitSeconds(url));
    if (upgrade)
        d->startProgressTimer();
}
} // namespace

void QOVAUSBDeviceHIDInterface::setCancel(bool cancel) { d->cancel = cancel; }
bool QOVAUSBDeviceHIDInterface::isCancel() const { return d->cancel; }
bool QOVAUSBDeviceHIDInterface::isRemoteControl() const { return d->remoteControl; }
void QOVAUSBDeviceHIDInterface::setNotificationBlock(QOVAVoidBlock block)
{
    d->notificationBlock = std::move(block);
}
void QOVAUSBDeviceHIDInterface::setProgressBlock(QOVAProgressBlock block)
{
    d->progressBlock = std::move(block);
}
platform::HidDeviceRef QOVAUSBDeviceHIDInterface::deviceRef() const { return d->deviceRef; }
platform::UsbDeviceRef QOVAUSBDeviceHIDInterface::deviceInterface() const
{
    return d->deviceInterface;
}
QString QOVAUSBDeviceHIDInterface::messageID() const
{
    std::lock_guard<std::mutex> guard(d->lock);
    return d->messageID;
}
QString QOVAUSBDeviceHIDInterface::messageURL() const
{
    std::lock_guard<std::mutex> guard(d->lock);
    return d->messageURL;
}
