#include "sim/SimDevice.h"

#include "sim/SimBus.h"
#include "sim/SimFamily.h"

#include "log/log.h"
#include "platform/TimeScale.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cerrno>
#include <cstring>
#include <utility>

namespace sim {

namespace {

constexpr size_t kReceivedKept = 256;
// After a port reset in DFU mode the device is back in run mode after this.
constexpr int kResetReturnMs = 500;

QByteArray jsonValueText(const QJsonValue &value)
{
    QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return text.mid(1, text.size() - 2);
}

} // namespace

SimDevice::SimDevice(std::weak_ptr<SimBus> bus, SimDeviceConfig config)
    : m_bus(std::move(bus))
    , m_config(std::move(config))
{
    const FamilyInfo &info = familyInfo(m_config.family);
    if (m_config.firmwareVersion.isEmpty())
        m_config.firmwareVersion = QLatin1String(info.defaultVersion);
    if (m_config.deviceName.isEmpty())
        m_config.deviceName = QLatin1String(info.defaultDeviceName);
}

SimDevice::~SimDevice() = default;

Family SimDevice::family() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config.family;
}

Mode SimDevice::mode() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config.mode;
}

QString SimDevice::serialNumber() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config.serial;
}

QString SimDevice::firmwareVersion() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config.firmwareVersion;
}

void SimDevice::setFirmwareVersion(const QString &version)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.firmwareVersion = version;
}

QString SimDevice::deviceName() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config.deviceName;
}

void SimDevice::setDeviceName(const QString &name)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.deviceName = name;
}

QString SimDevice::productName() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QString name = QLatin1String(familyInfo(m_config.family).productName);
    if (m_config.mode == Mode::Dfu)
        name += QStringLiteral(" DFU");
    return name;
}

QString SimDevice::manufacturer() const
{
    return QLatin1String(familyInfo(family()).manufacturer);
}

uint16_t SimDevice::productId() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const FamilyInfo &info = familyInfo(m_config.family);
    return m_config.mode == Mode::Dfu ? info.dfuProductId : info.runProductId;
}

uint16_t SimDevice::bcdDevice() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_config.family == Family::Pirok)
        return versionToBcd(m_config.firmwareVersion);
    return 0x0100;
}

void SimDevice::runLater(int delayMs, std::function<void()> task)
{
    if (auto bus = m_bus.lock())
        bus->scheduler().post(platform::scaledMs(delayMs), std::move(task));
}

namespace {
// The after-reply work registered by the request handler running on this
// thread, and the device it runs for.
thread_local const void *collectingDevice = nullptr;
thread_local std::vector<std::pair<int, std::function<void()>>> *collectingWork = nullptr;
} // namespace

void SimDevice::runAfterReply(int delayMs, std::function<void()> task)
{
    if (collectingDevice == this && collectingWork) {
        collectingWork->emplace_back(delayMs, std::move(task));
        return;
    }
    runLater(delayMs, std::move(task));
}

void SimDevice::replyLater(const QJsonObject &head, int delayMs,
                           std::function<std::optional<SimReply>()> answer)
{
    uint64_t connection;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        connection = m_connection;
    }
    std::weak_ptr<SimDevice> weak = shared_from_this();
    runLater(delayMs, [weak, connection, head, answer = std::move(answer)] {
        auto device = weak.lock();
        if (!device)
            return;
        if (const std::optional<SimReply> reply = answer())
            device->deliverReply(connection, head, *reply, {});
    });
}

void SimDevice::releaseAfterRead(std::vector<AfterReply> &afterRead)
{
    for (AfterReply &work : afterRead)
        runLater(work.delayMs, std::move(work.task));
    afterRead.clear();
}

void SimDevice::setRequestHandler(std::shared_ptr<SimRequestHandler> handler)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requestHandler = std::move(handler);
}

std::shared_ptr<SimRequestHandler> SimDevice::requestHandler() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requestHandler;
}

void SimDevice::addControlHandler(std::shared_ptr<SimControlHandler> handler)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (handler)
        m_controlHandlers.push_back(std::move(handler));
}

void SimDevice::removeControlHandler(const std::shared_ptr<SimControlHandler> &handler)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::erase(m_controlHandlers, handler);
}

std::vector<std::shared_ptr<SimControlHandler>> SimDevice::controlHandlers() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_controlHandlers;
}

SimFaults SimDevice::faults() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_faults;
}

void SimDevice::setFaults(const SimFaults &faults)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_faults = faults;
}

void SimDevice::clearFaults()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_faults = SimFaults();
}

SimDfuFunctional SimDevice::dfuFunctional() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config.dfu;
}

void SimDevice::setDfuFunctional(const SimDfuFunctional &dfu)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.dfu = dfu;
}

SimUvcLayout SimDevice::uvcLayout() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config.uvc;
}

void SimDevice::setUvcLayout(const SimUvcLayout &uvc)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.uvc = uvc;
}

bool SimDevice::isPresent() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_connection != 0;
}

uint64_t SimDevice::connection() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_connection;
}

bool SimDevice::isConnection(uint64_t connection) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return connection != 0 && connection == m_connection;
}

QByteArray SimDevice::deviceDescriptor() const
{
    return buildDeviceDescriptor(kVendorId, productId(), bcdDevice());
}

SimConfiguration SimDevice::configuration() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return buildConfiguration(m_config.family, m_config.mode, m_config.dfu, m_config.uvc);
}

QByteArray SimDevice::stringDescriptor(uint8_t index) const
{
    switch (index) {
    case 0:
        return buildLanguageDescriptor();
    case kStringManufacturer:
        return buildStringDescriptor(manufacturer());
    case kStringProduct:
        return buildStringDescriptor(productName());
    case kStringSerial:
        return buildStringDescriptor(serialNumber());
    case kStringVersion:
    case kStringDeviceName: {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!familyInfo(m_config.family).hasVersionStrings)
            return QByteArray();
        return buildStringDescriptor(index == kStringVersion ? m_config.firmwareVersion
                                                             : m_config.deviceName);
    }
    default:
        return QByteArray();
    }
}

bool SimDevice::hasInterface(uint64_t connection, int number) const
{
    if (!isConnection(connection))
        return false;
    for (const auto &iface : configuration().interfaces) {
        if (iface.number == number)
            return true;
    }
    return false;
}

std::vector<SimReceivedRequest> SimDevice::receivedRequests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

void SimDevice::clearReceivedRequests()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_received.clear();
    m_malformed = 0;
}

int SimDevice::malformedRequests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_malformed;
}

size_t SimDevice::pendingReplyFrames() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    size_t n = 0;
    for (const Reply &r : m_replies)
        n += r.frames.size();
    return n;
}

void SimDevice::discardPartialReplies()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (Reply &reply : m_replies) {
        if (reply.served > 0)
            releaseAfterRead(reply.afterRead);
    }
    std::erase_if(m_replies, [](const Reply &reply) { return reply.served > 0; });
}

void SimDevice::enteredBus(uint64_t connection)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_connection = connection;
}

void SimDevice::leftBus()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_connection = 0;
    m_replies.clear();
    m_idleReadOwed = 0;
    m_assembler.reset();
    m_requestFrame = 0;
}

void SimDevice::reenumerate(Mode mode, int delayMs)
{
    auto bus = m_bus.lock();
    if (!bus)
        return;
    const int delay = platform::scaledMs(delayMs);
    uint64_t ticket;
    bool stayAway;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ticket = ++m_returnTicket;
        stayAway = m_faults.stayAway;
        if (stayAway)
            m_pendingReturn.reset();
        else
            m_pendingReturn = PendingReturn{std::chrono::steady_clock::now() + std::chrono::milliseconds(delay),
                                            mode, ticket};
    }
    auto self = shared_from_this();
    bus->deviceLeaves(self);
    if (stayAway)
        return;
    std::weak_ptr<SimDevice> weak = self;
    bus->scheduler().post(delay, [weak, mode, ticket] {
        if (auto device = weak.lock())
            device->comeBack(mode, ticket);
    });
}

void SimDevice::returnIfDue()
{
    std::lock_guard<std::mutex> returning(m_returnMutex);
    std::optional<PendingReturn> pending;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_pendingReturn && m_pendingReturn->due <= std::chrono::steady_clock::now())
            pending = m_pendingReturn;
    }
    if (pending)
        comeBackLocked(pending->mode, pending->ticket);
}

void SimDevice::comeBack(Mode mode, uint64_t ticket)
{
    std::lock_guard<std::mutex> returning(m_returnMutex);
    comeBackLocked(mode, ticket);
}

void SimDevice::comeBackLocked(Mode mode, uint64_t ticket)
{
    auto bus = m_bus.lock();
    if (!bus)
        return;
    Mode before;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (ticket != m_returnTicket || m_connection != 0)
            return;
        m_pendingReturn.reset();
        before = m_config.mode;
        m_config.mode = mode;
    }
    if (before != mode) {
        for (const auto &handler : controlHandlers())
            handler->modeChanged(*this, mode);
    }
    bus->deviceArrives(shared_from_this());
}

void SimDevice::disconnect()
{
    if (auto bus = m_bus.lock())
        bus->unplug(shared_from_this());
}

void SimDevice::raiseInputReport(uint8_t kind, uint16_t code)
{
    auto bus = m_bus.lock();
    if (!bus)
        return;
    QByteArray report(4, '\0');
    report[0] = char(9);
    report[1] = char(kind);
    report[2] = char(code & 0xFF);
    report[3] = char(code >> 8);
    bus->inputReport(shared_from_this(), 0, report);
}

int SimDevice::hidSetFeatureReport(uint64_t connection, int hidInterface, const uint8_t *data,
                                   size_t length)
{
    std::optional<SimReceivedRequest> complete;
    bool unplugNow = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (connection == 0 || connection != m_connection)
            return -ENODEV;
        if (hidInterface != 0)
            return -EPIPE;
        if (!data || length != kShortReportSize || data[0] != kShortReportId)
            return -EINVAL;
        const bool first = data[3] & kFlagFirst;
        const int index = first ? 0 : m_requestFrame;
        if (m_faults.unplugAtFrame == index) {
            unplugNow = true;
        } else if (m_faults.setFailAt == index) {
            m_assembler.reset();
            m_requestFrame = 0;
            return -EPIPE;
        } else {
            m_requestFrame = index + 1;
            switch (m_assembler.feed(data, length)) {
            case SimRequestAssembler::Result::Incomplete:
                break;
            case SimRequestAssembler::Result::Complete:
                complete = m_assembler.take();
                m_received.push_back(*complete);
                if (m_received.size() > kReceivedKept)
                    m_received.erase(m_received.begin());
                m_requestFrame = 0;
                break;
            case SimRequestAssembler::Result::Stray:
            case SimRequestAssembler::Result::Malformed:
                ++m_malformed;
                m_requestFrame = 0;
                break;
            }
        }
    }
    if (unplugNow) {
        disconnect();
        return -ENODEV;
    }
    if (complete)
        handleRequest(*complete);
    return 0;
}

QByteArray SimDevice::buildHead(const SimReply &reply, const QJsonObject &requestHead,
                                const SimFaults &faults) const
{
    if (faults.rawHead)
        return *faults.rawHead;
    if (reply.rawHead)
        return *reply.rawHead;

    QJsonValue msgId = requestHead.value(QStringLiteral("msg_id"));
    if (msgId.isString()) {
        bool ok = false;
        const int id = msgId.toString().toInt(&ok);
        if (ok)
            msgId = id;
    }
    // Keys in the order the device writes them.
    std::vector<std::pair<QString, QJsonValue>> keys = {
        {QStringLiteral("status_code"), faults.statusCode.value_or(reply.statusCode)},
        {QStringLiteral("status_string"), faults.statusString.value_or(reply.statusString)},
        {QStringLiteral("msg_id"), msgId.isUndefined() ? QJsonValue(0) : msgId},
        {QStringLiteral("diag_info"), QString()},
    };
    auto applyOverrides = [&keys](const QJsonObject &overrides) {
        for (auto it = overrides.begin(); it != overrides.end(); ++it) {
            bool found = false;
            for (auto &key : keys) {
                if (key.first == it.key()) {
                    key.second = it.value();
                    found = true;
                }
            }
            if (!found)
                keys.emplace_back(it.key(), it.value());
        }
    };
    applyOverrides(reply.headOverrides);
    applyOverrides(faults.headOverrides);
    QStringList removals = reply.headRemovals + faults.headRemovals;

    QByteArray text = "{";
    bool firstKey = true;
    for (const auto &key : keys) {
        if (removals.contains(key.first))
            continue;
        if (!firstKey)
            text += ',';
        firstKey = false;
        text += jsonValueText(key.first) + ':' + jsonValueText(key.second);
    }
    text += '}';
    return text;
}

void SimDevice::handleRequest(const SimReceivedRequest &request)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(request.head, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        QOVA_LOG(WARNING, HID, "simulated device %s: request head is not a JSON object",
                 qUtf8Printable(serialNumber()));
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_malformed;
        return;
    }
    const QJsonObject head = doc.object();

    std::shared_ptr<SimRequestHandler> handler;
    uint64_t connection;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        handler = m_requestHandler;
        connection = m_connection;
    }
    SimReply reply;
    std::vector<std::pair<int, std::function<void()>>> collected;
    collectingDevice = this;
    collectingWork = &collected;
    if (handler) {
        reply = handler->handleRequest(*this, head, request.body, request.dataType);
    } else {
        SimEchoRequestHandler echo;
        reply = echo.handleRequest(*this, head, request.body, request.dataType);
    }
    collectingDevice = nullptr;
    collectingWork = nullptr;
    std::vector<AfterReply> afterRead;
    for (auto &work : collected)
        afterRead.push_back(AfterReply{work.first, std::move(work.second)});

    deliverReply(connection, head, reply, std::move(afterRead));
}

void SimDevice::deliverReply(uint64_t connection, const QJsonObject &head, const SimReply &reply,
                             std::vector<AfterReply> afterRead)
{
    const SimFaults faults = this->faults();
    if (reply.silent || faults.noReply) {
        releaseAfterRead(afterRead);
        return;
    }
    SimFrameFaults frameFaults;
    frameFaults.headLength = faults.firstFrameHeadLength;
    frameFaults.bodyLength = faults.firstFrameBodyLength;
    frameFaults.typeAt = faults.frameTypeAt;
    frameFaults.type = faults.frameType;
    std::vector<SimFrame> frames = encodeReply(buildHead(reply, head, faults),
                                               reply.body.value_or(QByteArray()), reply.bodyType,
                                               frameFaults);
    const int delay = reply.delayMs + faults.replyDelayMs;
    if (delay <= 0) {
        queueReply(connection, std::move(frames), std::move(afterRead));
        return;
    }
    std::weak_ptr<SimDevice> weak = shared_from_this();
    runLater(delay, [weak, connection, frames = std::move(frames), afterRead = std::move(afterRead)]() mutable {
        if (auto device = weak.lock())
            device->queueReply(connection, std::move(frames), std::move(afterRead));
    });
}

void SimDevice::queueReply(uint64_t connection, std::vector<SimFrame> frames, std::vector<AfterReply> afterRead)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (connection == 0 || connection != m_connection)
            return;   // the device left the bus meanwhile: so does what it meant to do
        Reply reply;
        reply.frames.assign(std::make_move_iterator(frames.begin()),
                            std::make_move_iterator(frames.end()));
        reply.afterRead = std::move(afterRead);
        if (reply.frames.empty())
            releaseAfterRead(reply.afterRead);
        else
            m_replies.push_back(std::move(reply));
    }
    raiseInputReport(1, 0);
}

int SimDevice::hidGetFeatureReport(uint64_t connection, int hidInterface, uint8_t reportId,
                                   uint8_t *buffer, size_t length, size_t *actual)
{
    if (actual)
        *actual = 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (connection == 0 || connection != m_connection)
        return -ENODEV;
    if (hidInterface != 0 || !buffer || length == 0)
        return -EPIPE;
    if (m_idleReadOwed == reportId) {
        // The read the host's count rule adds after a reply that filled its
        // last chunk exactly: the idle report, all zero (no type, no data).
        m_idleReadOwed = 0;
        const size_t n = std::min(length, reportId == kLongReportId ? kLongReportSize : kShortReportSize);
        std::memset(buffer, 0, n);
        buffer[0] = reportId;
        if (actual)
            *actual = n;
        return 0;
    }
    m_idleReadOwed = 0;
    if (m_replies.empty())
        return -EPIPE;   // nothing to read: the device stalls
    Reply &reply = m_replies.front();
    if (m_faults.readFailAt == reply.served) {
        releaseAfterRead(reply.afterRead);
        m_replies.pop_front();
        return -EIO;
    }
    const SimFrame &frame = reply.frames.front();
    if (frame.reportId != reportId) {
        // The host reads something else than this reply holds: it has given
        // the reply up, and so does the device.
        releaseAfterRead(reply.afterRead);
        m_replies.pop_front();
        return -EPIPE;
    }
    const size_t n = std::min(length, size_t(frame.bytes.size()));
    std::memcpy(buffer, frame.bytes.constData(), n);
    if (actual)
        *actual = n;
    if (frame.idleReadAfter)
        m_idleReadOwed = reportId;
    reply.frames.pop_front();
    ++reply.served;
    if (reply.frames.empty()) {
        releaseAfterRead(reply.afterRead);
        m_replies.pop_front();
    }
    return 0;
}

platform::UsbError SimDevice::usbControl(uint64_t connection, const platform::UsbSetup &setup,
                                         uint8_t *data, int *transferred)
{
    int dummy = 0;
    if (!transferred)
        transferred = &dummy;
    *transferred = 0;
    if (!isConnection(connection))
        return platform::UsbError::NoDevice;

    auto answer = [&](const QByteArray &bytes) {
        if (bytes.isEmpty())
            return platform::UsbError::Stall;
        const int n = std::min<int>(setup.wLength, int(bytes.size()));
        if (n > 0 && data)
            std::memcpy(data, bytes.constData(), size_t(n));
        *transferred = data ? n : 0;
        return platform::UsbError::None;
    };

    if (setup.bRequest == 6 && setup.bmRequestType == 0x80) {
        const uint8_t type = uint8_t(setup.wValue >> 8);
        const uint8_t index = uint8_t(setup.wValue & 0xFF);
        switch (type) {
        case 1:
            return answer(deviceDescriptor());
        case 2:
            return answer(index == 0 ? configuration().bytes : QByteArray());
        case 3:
            return answer(stringDescriptor(index));
        default:
            return platform::UsbError::Stall;
        }
    }
    if (setup.bRequest == 6 && setup.bmRequestType == 0x81 && (setup.wValue >> 8) == 0x22) {
        const SimConfiguration config = configuration();
        if (setup.wIndex == config.layout.hid)
            return answer(hidReportDescriptor(false));
        if (config.layout.secondHid >= 0 && setup.wIndex == config.layout.secondHid)
            return answer(hidReportDescriptor(true));
        return platform::UsbError::Stall;
    }
    for (const auto &handler : controlHandlers()) {
        if (auto result = handler->handleControl(*this, setup, data, transferred))
            return *result;
    }
    return platform::UsbError::Stall;
}

platform::UsbError SimDevice::usbReset(uint64_t connection)
{
    if (!isConnection(connection))
        return platform::UsbError::NoDevice;
    for (const auto &handler : controlHandlers()) {
        if (auto refused = handler->refuseReset(*this))
            return *refused;
    }
    for (const auto &handler : controlHandlers()) {
        if (handler->handleReset(*this))
            return platform::UsbError::None;
    }
    if (mode() == Mode::Dfu)
        reenumerate(Mode::Run, kResetReturnMs);
    return platform::UsbError::None;
}

SimReply SimEchoRequestHandler::handleRequest(SimDeviceHost &, const QJsonObject &, const QByteArray &,
                                              int)
{
    return SimReply();
}

} // namespace sim
