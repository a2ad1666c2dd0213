#pragma once
// The device side of the simulated devices is assembled from handlers: the
// HID request handler (JSON requests carried in feature reports), and control
// handlers for the default pipe (standard requests, UVC, DFU). A handler talks
// back to its device through SimDeviceHost.

#include "platform/Usb.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

namespace sim {

enum class Family { Orbrin, Vasko, Pirok };
enum class Mode { Run, Dfu };

// Run-mode and DFU-mode product ids of a family.
uint16_t runProductId(Family family);
uint16_t dfuProductId(Family family);
constexpr uint16_t kVendorId = 0x1D5C;

// One reply to a HID request.
struct SimReply {
    int statusCode = 200;
    QString statusString = QStringLiteral("success");
    std::optional<QByteArray> body;   // JSON or raw bytes; none for no body
    // Overrides of the reply head for fault injection; applied over the
    // regular head keys (status_code, status_string, msg_id, diag_info).
    QJsonObject headOverrides;
    QStringList headRemovals;          // keys to drop from the head
    std::optional<QByteArray> rawHead; // sent instead of the JSON head
    bool silent = false;               // no reply at all
    int delayMs = 0;                   // before the reply is announced
    uint8_t bodyType = 0;              // byte 10 of the first frame: 0 JSON, 1 file
};

class SimDeviceHost {
public:
    virtual ~SimDeviceHost() = default;

    virtual Family family() const = 0;
    virtual Mode mode() const = 0;
    // Serial as the device reports it over USB (Vasko: with its ".NN" suffix).
    virtual QString serialNumber() const = 0;

    // Firmware version text served as string descriptor 0x58 (Orbrin, Vasko)
    // or bcdDevice (Pirok, e.g. "1203").
    virtual QString firmwareVersion() const = 0;
    virtual void setFirmwareVersion(const QString &version) = 0;
    virtual QString deviceName() const = 0;             // string descriptor 0x59
    virtual void setDeviceName(const QString &name) = 0;

    // Leaves the bus now and comes back in the given mode after delayMs
    // (scaled by the time scale). A device told to stay away never returns.
    virtual void reenumerate(Mode mode, int delayMs) = 0;
    virtual void disconnect() = 0;

    // Raises a 4-byte input report: 9, kind, code (little-endian).
    virtual void raiseInputReport(uint8_t kind, uint16_t code) = 0;

    // Product name as the device reports it (DFU mode: with " DFU").
    virtual QString productName() const { return QString(); }

    // Drops the replies the host has begun to read but not finished (a
    // cancelled read leaves them behind). Replies are otherwise served in
    // order, frame by frame, across requests.
    virtual void discardPartialReplies() {}

    // Runs task after delayMs (scaled by the time scale) on the device's
    // worker thread, e.g. to restart after the reply to a request has gone.
    virtual void runLater(int delayMs, std::function<void()> task)
    {
        (void)delayMs;
        task();
    }

    // Called while a request is handled: runs task delayMs (scaled) after
    // the host has read the whole reply to that request, as a device that
    // answers first and then acts (restarts, raises an event) does. Without
    // a reply to wait for, the delay counts from now.
    virtual void runAfterReply(int delayMs, std::function<void()> task)
    {
        runLater(delayMs, std::move(task));
    }

    // Answers the request of this head (again) later, as a device does that
    // answers once the work a request started is done: after delayMs
    // (scaled) answer runs on the device's worker thread, and the reply it
    // gives, if any, goes to the host like any other (faults apply). Nothing
    // is sent when the device has left the bus meanwhile.
    virtual void replyLater(const QJsonObject &head, int delayMs, std::function<std::optional<SimReply>()> answer)
    {
        (void)head;
        (void)delayMs;
        (void)answer;
    }
};


// Answers JSON requests (device side of the request catalogue).
class SimRequestHandler {
public:
    virtual ~SimRequestHandler() = default;
    // head: {"url", "type", "msg_id"}; body: JSON text (dataType 0) or file
    // bytes (dataType 1), empty when the request had none.
    virtual SimReply handleRequest(SimDeviceHost &host, const QJsonObject &head,
                                   const QByteArray &body, int dataType) = 0;
};

// Answers control transfers on the default pipe. Returns nothing when the
// request is not this handler's, so the next handler is asked.
class SimControlHandler {
public:
    virtual ~SimControlHandler() = default;
    virtual std::optional<platform::UsbError> handleControl(SimDeviceHost &host,
                                                            const platform::UsbSetup &setup,
                                                            uint8_t *data, int *transferred) = 0;
    // Called when the device changes mode or is reset.
    virtual void modeChanged(SimDeviceHost &, Mode) {}
    // A port reset from the host. Return true when the handler took care of
    // it (for example by re-enumerating); otherwise the device's own rule
    // applies: a reset in DFU mode brings it back in run mode.
    virtual bool handleReset(SimDeviceHost &) { return false; }
    // Asked first about every port reset: an error fails the reset, which
    // then changes nothing on the device.
    virtual std::optional<platform::UsbError> refuseReset(SimDeviceHost &) { return std::nullopt; }
};

} // namespace sim
