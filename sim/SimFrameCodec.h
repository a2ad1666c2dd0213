#pragma once
// Device side of the report framing: requests arrive as 257-byte feature
// reports of id 6 and are put back together into head and body; replies are
// cut into a first 257-byte frame and further 257-byte (id 6) or 2048-byte
// (id 5) reports that the host reads one by one.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

constexpr size_t kShortReportSize = 257;
constexpr size_t kLongReportSize = 2048;
constexpr uint8_t kShortReportId = 6;
constexpr uint8_t kLongReportId = 5;
constexpr int kFirstFrameData = 246;
constexpr int kShortChunk = 253;
constexpr int kLongChunk = 2044;
// Above this many bytes left after the first frame a reply uses long reports.
constexpr int kLongReplyThreshold = 1264;

// Flags of request frames (byte 3).
enum : uint8_t {
    kFlagFirst = 0x10,
    kFlagHead = 0x08,
    kFlagHeadEnd = 0x04,
    kFlagBody = 0x02,
    kFlagBodyEnd = 0x01,
};

// Frame types of further reply reports (byte 3).
enum : uint8_t {
    kTypeBody = 2,
    kTypeBodyEnd = 3,
    kTypeHead = 8,
    kTypeHeadEnd = 12,
    kTypeHeadEndBody = 14,
    kTypeHeadEndBodyEnd = 15,
};

// One request as the device received it.
struct SimReceivedRequest {
    QByteArray head;
    QByteArray body;
    int dataType = 0;
    bool bodyPresent = false;
    std::vector<uint8_t> frameFlags;   // byte 3 of each frame, in order
    std::vector<uint16_t> payloadSizes;
    std::vector<uint8_t> byte10;       // byte 10 of each frame
};

class SimRequestAssembler {
public:
    enum class Result {
        Incomplete,   // more frames are expected
        Complete,     // take() gives the request
        Stray,        // a continuation frame with no message begun: dropped
        Malformed,    // the frames did not add up to the announced lengths: dropped
    };

    // One 257-byte frame (byte 0 is the report id 6).
    Result feed(const uint8_t *frame, size_t length);
    SimReceivedRequest take();
    bool inProgress() const { return m_active; }
    void reset();

private:
    static bool headAnnouncesBody(const QByteArray &head);

    bool m_active = false;
    uint32_t m_headLength = 0;
    uint32_t m_bodyLength = 0;
    bool m_overflow = false;
    SimReceivedRequest m_current;
    SimReceivedRequest m_done;
};

struct SimFrame {
    uint8_t reportId = kShortReportId;
    QByteArray bytes;   // the whole report, id in byte 0
    // The last frame of a reply whose data filled its last chunk exactly:
    // the host's count rule reads one report more, which gets the idle report.
    bool idleReadAfter = false;
};

// Deliberate damage to a reply's frames, for fault tests.
struct SimFrameFaults {
    std::optional<uint16_t> headLength;   // declared in the first frame instead of the real one
    std::optional<uint32_t> bodyLength;
    int typeAt = -1;                       // frame index (0 = first) whose type byte is replaced
    uint8_t type = 4;
};

std::vector<SimFrame> encodeReply(const QByteArray &head, const QByteArray &body,
                                  uint8_t bodyType, const SimFrameFaults &faults = {});

} // namespace sim
