#include "hid/QOVAHIDFrames.h"

#include <algorithm>
#include <cstring>

namespace QOVAHIDFrames {

namespace {

void putLE(uint8_t *p, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        p[i] = uint8_t(value >> (8 * i));
}

} // namespace

void pduPayloadContent(Frame &frame, uint8_t reportId, uint8_t flags, uint8_t dataType,
                       QByteArrayView headData, QByteArrayView bodyData, uint64_t headLength,
                       uint64_t bodyLength)
{
    frame.fill(0);
    frame[0] = reportId;
    frame[3] = flags;
    // The data type goes into byte 10 of every frame before the data is laid
    // in; a short further frame keeps it there.
    frame[10] = dataType;
    const bool first = flags & FlagFirst;
    const size_t offset = first ? kFirstFrameHeader : kFrameHeader;
    const size_t room = kReportSize - offset;
    const size_t h = std::min(size_t(headData.size()), room);
    const size_t b = std::min(size_t(bodyData.size()), room - h);
    if (first) {
        putLE(&frame[4], headLength, 2);
        putLE(&frame[6], bodyLength, 4);
        frame[10] = dataType;
    }
    if (h)
        std::memcpy(&frame[offset], headData.data(), h);
    if (b)
        std::memcpy(&frame[offset + h], bodyData.data(), b);
    putLE(&frame[1], (first ? 8 : 1) + h + b, 2);
}

bool pduFormateEncapsulating(QByteArrayView head, const QByteArray *body, uint8_t dataType,
                             std::vector<Frame> *frames)
{
    const uint64_t h = uint64_t(head.size());
    const uint64_t b = body ? uint64_t(body->size()) : 0;
    if (h > 0xFFFF || b > 0xFFFFFFFFull)
        return false;

    Frame frame;
    if (h + b <= kFirstFrameData) {
        pduPayloadContent(frame, kReportId,
                          body ? 0x1F : (FlagFirst | FlagHead | FlagHeadEnd), dataType, head,
                          body ? QByteArrayView(*body) : QByteArrayView(), h, b);
        frames->push_back(frame);
        return true;
    }

    if (h <= kFirstFrameData) {
        pduPayloadContent(frame, kReportId, FlagFirst | FlagHead | FlagHeadEnd, dataType, head, {},
                          h, b);
        frames->push_back(frame);
    } else {
        // A head longer than one first frame: its first 246 bytes, then head
        // frames of 253 bytes, the last of them marked as the head's end.
        pduPayloadContent(frame, kReportId, FlagFirst | FlagHead, dataType,
                          head.first(kFirstFrameData), {}, h, b);
        frames->push_back(frame);
        for (uint64_t pos = kFirstFrameData; pos < h; pos += kFrameData) {
            const uint64_t n = std::min<uint64_t>(kFrameData, h - pos);
            const uint8_t flags = pos + n == h ? (FlagHead | FlagHeadEnd) : FlagHead;
            pduPayloadContent(frame, kReportId, flags, dataType, head.sliced(qsizetype(pos), qsizetype(n)),
                              {}, 0, 0);
            frames->push_back(frame);
        }
        if (!body)
            return true;
    }

    // b / 253 + 1 body frames; the last carries b mod 253 bytes (none when b
    // is a multiple of 253) and ends the body.
    const uint64_t count = b / kFrameData + 1;
    frames->reserve(frames->size() + size_t(count));
    const QByteArrayView bytes = body ? QByteArrayView(*body) : QByteArrayView();
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t pos = i * kFrameData;
        const bool last = i + 1 == count;
        const uint64_t n = last ? b - pos : kFrameData;
        pduPayloadContent(frame, kReportId, last ? (FlagBody | FlagBodyEnd) : FlagBody, dataType,
                          {}, bytes.sliced(qsizetype(pos), qsizetype(n)), 0, 0);
        frames->push_back(frame);
    }
    return true;
}

std::optional<InputReport> parseInputReport(const uint8_t *data, size_t length)
{
    if (!data || length < 4 || data[0] != 9)
        return std::nullopt;
    InputReport report;
    report.kind = data[1];
    if (report.kind > InputReport::RemoteControl)
        return std::nullopt;
    report.code = uint16_t(data[2] | (data[3] << 8));
    report.remoteUpgradeNotice = report.kind == InputReport::Ready && data[2] == 1;
    return report;
}

} // namespace QOVAHIDFrames
