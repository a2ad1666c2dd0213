#pragma once
// One simulated physical device: its identity in both modes, its USB
// descriptors, the device side of the HID request/reply exchange and the
// faults it can be told to show. Thread-safe: the host writes requests from
// one thread and reads replies from another.

#include "sim/SimDescriptors.h"
#include "sim/SimDeviceHost.h"
#include "sim/SimFrameCodec.h"

#include "platform/Hid.h"
#include "platform/Usb.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace sim {

class SimBus;

struct SimDeviceConfig {
    Family family = Family::Orbrin;
    QString serial;                 // as the device reports it over USB
    Mode mode = Mode::Run;
    QString firmwareVersion;        // empty: the family's default
    QString deviceName;             // empty: the family's default
    bool setupPending = false;      // the device asks for its out-of-box set-up
    SimDfuFunctional dfu;
    SimUvcLayout uvc;
};

// Faults the device shows until they are cleared. Frame indexes count the
// reports of one message from 0 (the first frame).
struct SimFaults {
    bool noReply = false;                 // requests are taken but never answered
    int replyDelayMs = 0;                 // added before each reply is announced
    std::optional<int> statusCode;        // replaces the handler's status
    std::optional<QString> statusString;
    QJsonObject headOverrides;            // applied over every reply head
    QStringList headRemovals;
    std::optional<QByteArray> rawHead;    // sent instead of every reply head
    int readFailAt = -1;                  // this read of each reply fails; the reply is dropped
    int setFailAt = -1;                   // this frame of each request is refused
    std::optional<uint16_t> firstFrameHeadLength;  // absurd lengths in the first reply frame
    std::optional<uint32_t> firstFrameBodyLength;
    int frameTypeAt = -1;                 // reply frame whose type byte is replaced
    uint8_t frameType = 4;
    int unplugAtFrame = -1;               // the device leaves the bus on this request frame
    bool stayAway = false;                // after leaving the bus it never comes back
};

class SimDevice : public SimDeviceHost, public std::enable_shared_from_this<SimDevice> {
public:
    SimDevice(std::weak_ptr<SimBus> bus, SimDeviceConfig config);
    ~SimDevice() override;

    // SimDeviceHost
    Family family() const override;
    Mode mode() const override;
    // Plugged as a device whose out-of-box set-up is pending (the request
    // handler installed at plugging takes it from here).
    bool isSetupPending() const { return m_config.setupPending; }
    QString serialNumber() const override;
    QString firmwareVersion() const override;
    void setFirmwareVersion(const QString &version) override;
    QString deviceName() const override;
    void setDeviceName(const QString &name) override;
    // Leaves the bus and comes back in mode after delayMs (scaled): the
    // bus's worker brings it back then, or the first look at the bus after
    // that time does (returnIfDue), whichever comes first.
    void reenumerate(Mode mode, int delayMs) override;
    void disconnect() override;
    void raiseInputReport(uint8_t kind, uint16_t code) override;
    QString productName() const override;
    void discardPartialReplies() override;
    void runLater(int delayMs, std::function<void()> task) override;
    void runAfterReply(int delayMs, std::function<void()> task) override;
    void replyLater(const QJsonObject &head, int delayMs, std::function<std::optional<SimReply>()> answer) override;

    QString manufacturer() const;
    uint16_t vendorId() const { return kVendorId; }
    uint16_t productId() const;          // of the current mode
    uint16_t bcdDevice() const;

    // Handlers. Without a request handler the device answers every request
    // with a plain success head echoing its message id.
    void setRequestHandler(std::shared_ptr<SimRequestHandler> handler);
    std::shared_ptr<SimRequestHandler> requestHandler() const;
    void addControlHandler(std::shared_ptr<SimControlHandler> handler);
    void removeControlHandler(const std::shared_ptr<SimControlHandler> &handler);
    // The control handlers, in the order they were added.
    std::vector<std::shared_ptr<SimControlHandler>> controlHandlers() const;

    SimFaults faults() const;
    void setFaults(const SimFaults &faults);
    void clearFaults();

    // Descriptor settings; they take effect at the next enumeration.
    SimDfuFunctional dfuFunctional() const;
    void setDfuFunctional(const SimDfuFunctional &dfu);
    SimUvcLayout uvcLayout() const;
    void setUvcLayout(const SimUvcLayout &uvc);

    bool isPresent() const;
    // Comes back now when a re-enumeration's time has come and the bus's
    // worker has not brought the device back yet (it may not have run on a
    // loaded machine).
    void returnIfDue();
    QByteArray deviceDescriptor() const;
    SimConfiguration configuration() const;   // of the current mode
    QByteArray stringDescriptor(uint8_t index) const;  // empty when the device has none

    // What the device received, for tests.
    std::vector<SimReceivedRequest> receivedRequests() const;
    void clearReceivedRequests();
    int malformedRequests() const;
    size_t pendingReplyFrames() const;

    // The bus side: every call names the enumeration (connection) it was
    // made on, and fails once that enumeration has ended.
    bool isConnection(uint64_t connection) const;
    int hidSetFeatureReport(uint64_t connection, int hidInterface, const uint8_t *data, size_t length);
    int hidGetFeatureReport(uint64_t connection, int hidInterface, uint8_t reportId, uint8_t *buffer,
                            size_t length, size_t *actual);
    platform::UsbError usbControl(uint64_t connection, const platform::UsbSetup &setup, uint8_t *data,
                                  int *transferred);
    platform::UsbError usbReset(uint64_t connection);
    bool hasInterface(uint64_t connection, int number) const;

    // Called by the bus when the device enters or leaves it.
    void enteredBus(uint64_t connection);
    void leftBus();
    uint64_t connection() const;

private:
    // Work to run once the host has read a reply (see runAfterReply).
    struct AfterReply {
        int delayMs = 0;
        std::function<void()> task;
    };
    struct Reply {
        std::deque<SimFrame> frames;
        int served = 0;
        std::vector<AfterReply> afterRead;
    };

    void handleRequest(const SimReceivedRequest &request);
    void deliverReply(uint64_t connection, const QJsonObject &head, const SimReply &reply,
                      std::vector<AfterReply> afterRead);
    void queueReply(uint64_t connection, std::vector<SimFrame> frames, std::vector<AfterReply> afterRead);
    // Starts the after-read work of a reply that is done with (read, or
    // given up by the host).
    void releaseAfterRead(std::vector<AfterReply> &afterRead);
    QByteArray buildHead(const SimReply &reply, const QJsonObject &requestHead, const SimFaults &faults) const;
    void comeBack(Mode mode, uint64_t ticket);
    void comeBackLocked(Mode mode, uint64_t ticket);  // m_returnMutex held

    // A re-enumeration under way.
    struct PendingReturn {
        std::chrono::steady_clock::time_point due;
        Mode mode = Mode::Run;
        uint64_t ticket = 0;
    };

    std::weak_ptr<SimBus> m_bus;
    mutable std::mutex m_mutex;
    SimDeviceConfig m_config;
    uint64_t m_connection = 0;          // 0 while off the bus
    uint64_t m_returnTicket = 0;
    std::optional<PendingReturn> m_pendingReturn;
    // Held through a whole return, so that the worker and a look at the bus
    // never bring the device back at the same time.
    std::mutex m_returnMutex;
    std::shared_ptr<SimRequestHandler> m_requestHandler;
    std::vector<std::shared_ptr<SimControlHandler>> m_controlHandlers;
    SimFaults m_faults;
    SimRequestAssembler m_assembler;
    int m_requestFrame = 0;             // frame index within the message being received
    std::deque<Reply> m_replies;
    uint8_t m_idleReadOwed = 0;         // report id of the idle read the host still makes
    std::vector<SimReceivedRequest> m_received;
    int m_malformed = 0;
};

// Answers every request with status 200 and the request's message id.
class SimEchoRequestHandler : public SimRequestHandler {
public:
    SimReply handleRequest(SimDeviceHost &host, const QJsonObject &head, const QByteArray &body,
                           int dataType) override;
};

} // namespace sim
