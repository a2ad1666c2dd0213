#pragma once
// A small host side for the simulated-device tests, written from the frame
// tables on its own: it frames requests into 257-byte reports and reads
// replies back report by report. It is not the application's reader.

#include "platform/Hid.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <cstring>
#include <functional>
#include <vector>

namespace simtest {

// Spins the event loop until pred holds (or a generous limit passes).
inline bool waitUntil(const std::function<bool()> &pred, int limitMs = 5000)
{
    QDeadlineTimer deadline(limitMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

inline void put16(QByteArray &f, int at, uint32_t v)
{
    f[at] = char(v & 0xFF);
    f[at + 1] = char((v >> 8) & 0xFF);
}

inline void put32(QByteArray &f, int at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        f[at + i] = char((v >> (8 * i)) & 0xFF);
}

inline uint32_t get16(const QByteArray &f, int at)
{
    return uint8_t(f[at]) | (uint32_t(uint8_t(f[at + 1])) << 8);
}

inline uint32_t get32(const QByteArray &f, int at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(uint8_t(f[at + i])) << (8 * i);
    return v;
}

// Request frames: head of at most 246 bytes, optional body.
inline std::vector<QByteArray> frameRequest(const QByteArray &head, const QByteArray *body, int dataType)
{
    std::vector<QByteArray> frames;
    const uint32_t h = uint32_t(head.size());
    const uint32_t b = body ? uint32_t(body->size()) : 0;
    auto blank = [dataType] {
        QByteArray f(257, '\0');
        f[0] = 6;
        f[10] = char(dataType);
        return f;
    };
    QByteArray first = blank();
    put16(first, 4, h);
    put32(first, 6, b);
    std::memcpy(first.data() + 11, head.constData(), h);
    if (h + b <= 246) {
        first[3] = char(body ? 0x1F : 0x1C);
        if (b)
            std::memcpy(first.data() + 11 + h, body->constData(), b);
        put16(first, 1, h + b + 8);
        frames.push_back(first);
        return frames;
    }
    first[3] = char(0x1C);
    put16(first, 1, h + 8);
    frames.push_back(first);
    const uint32_t count = b / 253 + 1;
    for (uint32_t i = 0; i < count; ++i) {
        QByteArray f = blank();
        const bool last = i + 1 == count;
        const uint32_t n = last ? b % 253 : 253;
        f[3] = char(last ? 0x03 : 0x02);
        put16(f, 1, n + 1);
        std::memcpy(f.data() + 4, body->constData() + i * 253, n);
        frames.push_back(f);
    }
    return frames;
}

inline int sendRequest(platform::HidDevice &device, const QByteArray &head, const QByteArray *body,
                       int dataType = 0)
{
    for (const QByteArray &f : frameRequest(head, body, dataType)) {
        const int rc = device.setFeatureReport(reinterpret_cast<const uint8_t *>(f.constData()),
                                               size_t(f.size()));
        if (rc != 0)
            return rc;
    }
    return 0;
}

struct ReadReply {
    bool ok = false;
    QByteArray head;
    QByteArray body;
    uint32_t headLength = 0;
    uint32_t bodyLength = 0;
    int furtherReads = 0;
    std::vector<uint8_t> reportIds;   // of the further reads
    std::vector<uint8_t> types;
    std::vector<uint32_t> payloadSizes;
};

// Reads one reply: first frame id 6 of 257 bytes, then the counted reports.
inline ReadReply readReply(platform::HidDevice &device)
{
    ReadReply r;
    QByteArray first(257, '\0');
    size_t actual = 0;
    if (device.getFeatureReport(6, reinterpret_cast<uint8_t *>(first.data()), 257, &actual) != 0)
        return r;
    const uint32_t hl = get16(first, 4);
    const uint32_t bl = get32(first, 6);
    r.headLength = hl;
    r.bodyLength = bl;
    const QByteArray data = first.mid(11, 246);
    if (uint64_t(hl) + bl <= 246) {
        r.head = data.left(int(hl));
        r.body = data.mid(int(hl), int(bl));
        r.ok = true;
        return r;
    }
    if (hl < 247) {
        r.head = data.left(int(hl));
        r.body = data.mid(int(hl));
    } else {
        r.head = data;
    }
    const uint64_t remaining = uint64_t(hl) + bl - 246;
    const bool isLong = remaining > 1264;
    const int chunk = isLong ? 2044 : 253;
    const uint8_t id = isLong ? 5 : 6;
    const int size = isLong ? 2048 : 257;
    const uint64_t count = remaining / uint64_t(chunk) + 1;
    for (uint64_t i = 0; i < count; ++i) {
        QByteArray f(size, '\0');
        if (device.getFeatureReport(id, reinterpret_cast<uint8_t *>(f.data()), size_t(size), &actual) != 0)
            return r;
        ++r.furtherReads;
        r.reportIds.push_back(uint8_t(f[0]));
        r.types.push_back(uint8_t(f[3]));
        r.payloadSizes.push_back(get16(f, 1));
        const QByteArray c = f.mid(4, chunk);
        auto headLeft = [&] { return qMax<qsizetype>(0, qsizetype(hl) - r.head.size()); };
        auto bodyLeft = [&] { return qMax<qsizetype>(0, qsizetype(bl) - r.body.size()); };
        switch (uint8_t(f[3])) {
        case 2:
            r.body += c.left(qMin<qsizetype>(chunk, bodyLeft()));
            break;
        case 3:
            r.body += c.left(qMin<qsizetype>(chunk, bodyLeft()));
            break;
        case 8:
            r.head += c.left(qMin<qsizetype>(chunk, headLeft()));
            break;
        case 12:
            r.head += c.left(qMin<qsizetype>(chunk, headLeft()));
            break;
        case 14: {
            const qsizetype n = qMin<qsizetype>(chunk, headLeft());
            r.head += c.left(n);
            r.body += c.mid(n, qMin<qsizetype>(chunk - n, bodyLeft()));
            break;
        }
        case 15: {
            const qsizetype n = qMin<qsizetype>(chunk, headLeft());
            r.head += c.left(n);
            r.body += c.mid(n, qMin<qsizetype>(chunk - n, bodyLeft()));
            break;
        }
        default:
            break;   // skipped, but it was one of the reads
        }
    }
    r.ok = true;
    return r;
}

} // namespace simtest
