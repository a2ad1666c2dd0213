#include "sim/SimFrameCodec.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstring>

namespace sim {

namespace {
uint16_t get16(const uint8_t *p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t get32(const uint8_t *p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
void set16(char *p, uint32_t v)
{
    p[0] = char(v & 0xFF);
    p[1] = char((v >> 8) & 0xFF);
}
void set32(char *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = char((v >> (8 * i)) & 0xFF);
}
} // namespace

bool SimRequestAssembler::headAnnouncesBody(const QByteArray &head)
{
    const QJsonObject object = QJsonDocument::fromJson(head).object();
    return object.value(QLatin1String("type")).toString() == QLatin1String("PUT");
}

void SimRequestAssembler::reset()
{
    m_active = false;
    m_overflow = false;
    m_current = SimReceivedRequest();
}

SimRequestAssembler::Result SimRequestAssembler::feed(const uint8_t *frame, size_t length)
{
    if (length < kShortReportSize)
        return Result::Malformed;
    const uint16_t payload = get16(frame + 1);
    const uint8_t flags = frame[3];

    auto append = [this](const uint8_t *data, int count) {
        int offset = 0;
        if (uint32_t(m_current.head.size()) < m_headLength) {
            const int n = int(std::min<uint32_t>(uint32_t(count), m_headLength - uint32_t(m_current.head.size())));
            m_current.head.append(reinterpret_cast<const char *>(data), n);
            offset = n;
        }
        const int rest = count - offset;
        if (rest <= 0)
            return;
        const uint32_t room = m_bodyLength - std::min<uint32_t>(m_bodyLength, uint32_t(m_current.body.size()));
        if (uint32_t(rest) > room)
            m_overflow = true;
        m_current.body.append(reinterpret_cast<const char *>(data + offset),
                              int(std::min<uint32_t>(uint32_t(rest), room)));
    };

    if (flags & kFlagFirst) {
        // A new message; whatever was half received is given up.
        reset();
        m_active = true;
        m_headLength = get16(frame + 4);
        m_bodyLength = get32(frame + 6);
        m_current.dataType = frame[10];
        m_current.bodyPresent = (flags & kFlagBody) || m_bodyLength > 0;
        const int data = std::clamp(int(payload) - 8, 0, kFirstFrameData);
        append(frame + 11, data);
    } else {
        if (!m_active)
            return Result::Stray;
        const int data = std::clamp(int(payload) - 1, 0, kShortChunk);
        append(frame + 4, data);
        if (flags & (kFlagBody | kFlagBodyEnd))
            m_current.bodyPresent = true;
    }
    m_current.frameFlags.push_back(flags);
    m_current.payloadSizes.push_back(payload);
    m_current.byte10.push_back(frame[10]);

    bool ends = flags & kFlagBodyEnd;
    if (!ends && (flags & kFlagHeadEnd) && m_bodyLength == 0) {
        // Without body bytes the message ends with its head, unless a head
        // too long for the first frame belongs to a PUT: its body, present
        // even when empty, comes in a report of its own that ends it.
        ends = (flags & kFlagFirst) || !headAnnouncesBody(m_current.head);
    }
    if (!ends)
        return Result::Incomplete;
    const bool whole = uint32_t(m_current.head.size()) == m_headLength
                       && uint32_t(m_current.body.size()) == m_bodyLength && !m_overflow;
    m_done = std::move(m_current);
    reset();
    return whole ? Result::Complete : Result::Malformed;
}

SimReceivedRequest SimRequestAssembler::take()
{
    SimReceivedRequest r = std::move(m_done);
    m_done = SimReceivedRequest();
    return r;
}

std::vector<SimFrame> encodeReply(const QByteArray &head, const QByteArray &body, uint8_t bodyType,
                                  const SimFrameFaults &faults)
{
    const uint32_t hl = uint32_t(head.size());
    const uint32_t bl = uint32_t(body.size());
    const QByteArray all = head + body;
    std::vector<SimFrame> frames;

    SimFrame first;
    first.reportId = kShortReportId;
    first.bytes = QByteArray(int(kShortReportSize), '\0');
    char *f = first.bytes.data();
    const int n = std::min<int>(int(all.size()), kFirstFrameData);
    uint8_t flags = kFlagFirst;
    if (hl > 0)
        flags |= kFlagHead;
    if (hl <= uint32_t(kFirstFrameData))
        flags |= kFlagHeadEnd;
    if (uint32_t(n) > hl)
        flags |= kFlagBody;
    if (bl > 0 && uint64_t(hl) + bl <= uint64_t(kFirstFrameData))
        flags |= kFlagBodyEnd;
    f[0] = char(kShortReportId);
    set16(f + 1, uint32_t(8 + n));
    f[3] = char(flags);
    set16(f + 4, faults.headLength.value_or(uint16_t(hl)));
    set32(f + 6, faults.bodyLength.value_or(bl));
    f[10] = char(bodyType);
    std::memcpy(f + 11, all.constData(), size_t(n));
    frames.push_back(first);

    const int64_t remaining = int64_t(hl) + int64_t(bl) - kFirstFrameData;
    if (remaining > 0) {
        const bool isLong = remaining > kLongReplyThreshold;
        const int chunk = isLong ? kLongChunk : kShortChunk;
        // As many reports as the data fills. The host's count rule reads one
        // more when the data fills the last chunk exactly; that read gets the
        // device's idle report.
        const int64_t count = (remaining + chunk - 1) / chunk;
        int64_t headPos = std::min<int64_t>(hl, kFirstFrameData);
        int64_t bodyPos = n - headPos;
        for (int64_t i = 0; i < count; ++i) {
            SimFrame frame;
            frame.reportId = isLong ? kLongReportId : kShortReportId;
            frame.bytes = QByteArray(int(isLong ? kLongReportSize : kShortReportSize), '\0');
            QByteArray data;
            uint8_t type;
            const int64_t headLeft = hl - headPos;
            const int64_t bodyLeft = bl - bodyPos;
            if (headLeft > 0) {
                if (headLeft > chunk) {
                    type = kTypeHead;
                    data = head.mid(int(headPos), chunk);
                    headPos += chunk;
                } else {
                    data = head.mid(int(headPos));
                    headPos = hl;
                    const int64_t room = chunk - headLeft;
                    if (bodyLeft == 0) {
                        type = kTypeHeadEnd;
                    } else if (bodyLeft <= room) {
                        type = kTypeHeadEndBodyEnd;
                        data += body.mid(int(bodyPos));
                        bodyPos = bl;
                    } else {
                        type = kTypeHeadEndBody;
                        data += body.mid(int(bodyPos), int(room));
                        bodyPos += room;
                    }
                }
            } else if (bodyLeft > chunk) {
                // Full chunks are plain body frames; the last frame ends the body.
                type = kTypeBody;
                data = body.mid(int(bodyPos), chunk);
                bodyPos += chunk;
            } else {
                type = kTypeBodyEnd;
                data = body.mid(int(bodyPos));
                bodyPos = bl;
            }
            char *p = frame.bytes.data();
            p[0] = char(frame.reportId);
            set16(p + 1, uint32_t(1 + data.size()));
            p[3] = char(type);
            std::memcpy(p + 4, data.constData(), size_t(data.size()));
            frames.push_back(frame);
        }
        frames.back().idleReadAfter = remaining % chunk == 0;
    }
    if (faults.typeAt >= 0 && size_t(faults.typeAt) < frames.size())
        frames[size_t(faults.typeAt)].bytes[3] = char(faults.type);
    return frames;
}

} // namespace sim
