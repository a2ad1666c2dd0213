#include "hid/QOVAHIDReplyReader.h"

#include "hid/QOVAHIDFrames.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace QOVAHIDFrames;

namespace {

// Bytes still to come of a part whose write position is pos, at most room.
uint64_t remaining(uint64_t length, uint64_t pos, uint64_t room)
{
    return pos >= length ? 0 : std::min(length - pos, room);
}

} // namespace

void QOVAHIDReplyReader::write(QByteArray &buffer, uint64_t pos, const uint8_t *data, uint64_t n,
                               uint64_t declared)
{
    if (n == 0)
        return;
    if (uint64_t(buffer.size()) < pos + n) {
        // Room for the declared length up to 1 MiB at first, then doubling as
        // the data arrives: a device that claims much and sends little does
        // not make us allocate what it claims.
        if (uint64_t(buffer.capacity()) < pos + n) {
            const uint64_t want = buffer.capacity() == 0
                                      ? std::min<uint64_t>(declared, 1u << 20)
                                      : std::min<uint64_t>(declared, uint64_t(buffer.capacity()) * 2);
            buffer.reserve(qsizetype(std::max(pos + n, want)));
        }
        buffer.resize(qsizetype(pos + n), '\0');
    }
    std::memcpy(buffer.data() + pos, data, size_t(n));
}

QOVAHIDReplyReader::State QOVAHIDReplyReader::begin(const uint8_t *first, size_t length)
{
    uint8_t frame[kReportSize] = {};
    std::memcpy(frame, first, std::min(length, kReportSize));

    *this = QOVAHIDReplyReader();
    m_headLength = uint64_t(frame[4]) | uint64_t(frame[5]) << 8;
    m_bodyLength = uint64_t(frame[6]) | uint64_t(frame[7]) << 8 | uint64_t(frame[8]) << 16
                   | uint64_t(frame[9]) << 24;
    if (m_headLength > kMaxHeadLength || m_bodyLength > kMaxBodyLength)
        return State::Refused;

    const uint8_t *data = frame + kFirstFrameHeader;
    const uint64_t total = m_headLength + m_bodyLength;
    if (total <= kFirstFrameData) {
        m_singleFrame = true;
        write(m_head, 0, data, m_headLength, m_headLength);
        write(m_body, 0, data + m_headLength, m_bodyLength, m_bodyLength);
        return State::Complete;
    }

    if (m_headLength < kFirstFrameData + 1) {
        write(m_head, 0, data, m_headLength, m_headLength);
        m_headPos = m_headLength;  // the head is complete
        m_bodyPos = kFirstFrameData - m_headLength;
        write(m_body, 0, data + m_headLength, m_bodyPos, m_bodyLength);
    } else {
        write(m_head, 0, data, kFirstFrameData, m_headLength);
        m_headPos = kFirstFrameData;
    }

    // Long replies switch to 2048-byte reports once more than 1264 bytes
    // remain after the first frame.
    const uint64_t rest = total - kFirstFrameData;
    if (rest > 1264) {
        m_reportId = kLongReportId;
        m_reportSize = kLongReportSize;
        m_reportsLeft = rest / kLongFrameData + 1;
    } else {
        m_reportId = kReportId;
        m_reportSize = kReportSize;
        m_reportsLeft = rest / kFrameData + 1;
    }
    return State::NeedReports;
}

QOVAHIDReplyReader::State QOVAHIDReplyReader::apply(const uint8_t *report, size_t length)
{
    if (m_reportsLeft == 0)
        return State::Complete;
    --m_reportsLeft;

    const uint64_t chunk = m_reportSize - kFrameHeader;
    const uint8_t type = length > 3 ? report[3] : 0;
    // Data past the bytes actually read counts as zero.
    const uint8_t *data = report + kFrameHeader;
    std::vector<uint8_t> padded;
    if (length < m_reportSize) {
        padded.assign(m_reportSize, 0);
        std::memcpy(padded.data(), report, length);
        data = padded.data() + kFrameHeader;
    }

    switch (type) {
    case FlagBody: {  // 2: one chunk of the body
        const uint64_t n = remaining(m_bodyLength, m_bodyPos, chunk);
        write(m_body, m_bodyPos, data, n, m_bodyLength);
        m_bodyPos += n;
        break;
    }
    case FlagBody | FlagBodyEnd: {  // 3: the rest of the body
        const uint64_t n = remaining(m_bodyLength, m_bodyPos, chunk);
        write(m_body, m_bodyPos, data, n, m_bodyLength);
        m_bodyPos += n;
        break;
    }
    case FlagHead: {  // 8: one chunk of the head
        const uint64_t n = remaining(m_headLength, m_headPos, chunk);
        write(m_head, m_headPos, data, n, m_headLength);
        m_headPos += n;
        break;
    }
    case FlagHead | FlagHeadEnd: {  // 12: the rest of the head
        const uint64_t h = remaining(m_headLength, m_headPos, chunk);
        write(m_head, m_headPos, data, h, m_headLength);
        m_headPos += h;
        break;
    }
    case FlagHead | FlagHeadEnd | FlagBody: {  // 14: rest of the head, then body
        const uint64_t h = remaining(m_headLength, m_headPos, chunk);
        write(m_head, m_headPos, data, h, m_headLength);
        m_headPos += h;
        const uint64_t n = remaining(m_bodyLength, m_bodyPos, chunk - h);
        write(m_body, m_bodyPos, data + h, n, m_bodyLength);
        m_bodyPos += n;
        break;
    }
    case FlagHead | FlagHeadEnd | FlagBody | FlagBodyEnd: {  // 15: rest of both
        const uint64_t h = remaining(m_headLength, m_headPos, chunk);
        write(m_head, m_headPos, data, h, m_headLength);
        m_headPos += h;
        const uint64_t n = remaining(m_bodyLength, m_bodyPos, chunk - h);
        write(m_body, m_bodyPos, data + h, n, m_bodyLength);
        m_bodyPos += n;
        break;
    }
    default:
        break;  // skipped, but it still counts as one of the reads
    }
    return m_reportsLeft == 0 ? State::Complete : State::NeedReports;
}

// A part that arrived whole is handed over as it is, shared rather than
// copied; one that fell short is padded with zeros to its declared length.
QByteArray QOVAHIDReplyReader::head() const
{
    if (m_head.size() == qsizetype(m_headLength))
        return m_head;
    QByteArray out = m_head;
    out.resize(qsizetype(m_headLength), '\0');
    return out;
}

QByteArray QOVAHIDReplyReader::body() const
{
    if (m_body.size() == qsizetype(m_bodyLength))
        return m_body;
    QByteArray out = m_body;
    out.resize(qsizetype(m_bodyLength), '\0');
    return out;
}
