#pragma once
// The bytes of the device control protocol over HID: requests cut into
// 257-byte feature reports (id 6), the 4-byte input report, and the layout of
// reply reports. Pure functions over bytes; the transfers live in
// QOVAUSBDeviceHIDInterface.

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace QOVAHIDFrames {

constexpr uint8_t kReportId = 6;          // 257-byte feature reports
constexpr uint8_t kLongReportId = 5;      // 2048-byte reply reports
constexpr size_t kReportSize = 257;
constexpr size_t kLongReportSize = 2048;
constexpr size_t kFirstFrameData = 246;   // data bytes of a first frame (offset 11)
constexpr size_t kFrameData = 253;        // data bytes of a further frame (offset 4)
constexpr size_t kLongFrameData = 2044;   // data bytes of a 2048-byte report
constexpr size_t kFirstFrameHeader = 11;
constexpr size_t kFrameHeader = 4;

enum Flag : uint8_t {
    FlagFirst = 0x10,    // offsets 4 to 10 hold the lengths and the data type
    FlagHead = 0x08,     // carries head bytes
    FlagHeadEnd = 0x04,  // the head ends here
    FlagBody = 0x02,     // carries body bytes
    FlagBodyEnd = 0x01,  // the body ends here
};

enum DataType : uint8_t { DataTypeJSON = 0, DataTypeFile = 1 };

using Frame = std::array<uint8_t, kReportSize>;

// Fills one frame: report id, payload size, flags, the data type in byte 10,
// then (first frame) the lengths and data from offset 11, or (further frame)
// data from offset 4.
void pduPayloadContent(Frame &frame, uint8_t reportId, uint8_t flags, uint8_t dataType,
                       QByteArrayView headData, QByteArrayView bodyData, uint64_t headLength,
                       uint64_t bodyLength);

// Cuts one request into frames appended to *frames. body is null when the
// request has none (an empty body is still a body). Returns false, adding
// nothing, when the head or the body is too long for its length field.
bool pduFormateEncapsulating(QByteArrayView head, const QByteArray *body, uint8_t dataType,
                             std::vector<Frame> *frames);

// The interrupt input report announcing replies and device events.
struct InputReport {
    enum Kind : uint8_t { NotReady = 0, Ready = 1, WiFi = 2, RemoteControl = 3 };
    uint8_t kind = 0;
    uint16_t code = 0;          // kinds 2 and 3
    bool remoteUpgradeNotice = false;  // kind 1 with byte 2 equal to 1
};

// Nothing for a report that is too short, does not start with 9, or is of an
// unknown kind.
std::optional<InputReport> parseInputReport(const uint8_t *data, size_t length);

} // namespace QOVAHIDFrames
