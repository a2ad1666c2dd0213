#pragma once
// A small device side of the HID protocol for the exchange tests: it puts the
// request frames back together, asks a handler for the reply, cuts the reply
// into reports (257-byte id 6, or 2048-byte id 5 for long replies) and raises
// the 4-byte input report on its own "discovery" thread, from that thread's
// event loop, as the platform layer does. Faults on demand.

#include "platform/Hid.h"
#include "platform/ThreadHop.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QThread>

#include <atomic>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

struct FakeReply {
    int statusCode = 200;
    QString statusString = QStringLiteral("success");
    std::optional<QByteArray> body;
    QJsonObject headOverrides;           // merged over the regular head
    QStringList headRemovals;            // keys dropped from the head
    std::optional<QByteArray> rawHead;   // sent instead of the JSON head
    std::optional<uint32_t> declaredBodyLength;  // lie about the body length
    bool silent = false;                 // no reply at all
    bool held = false;                   // kept until releaseHeld()
};

struct FakeRequest {
    QJsonObject head;
    QByteArray body;
    int dataType = 0;
    bool hadBody = false;
};

class FakeHidDevice : public platform::HidDevice {
public:
    using Handler = std::function<FakeReply(const FakeRequest &)>;

    FakeHidDevice()
    {
        m_thread.start();
        m_context.moveToThread(&m_thread);
    }
    ~FakeHidDevice() override
    {
        m_thread.quit();
        m_thread.wait();
    }

    // Returns once everything queued on the device's thread has run, so no
    // work there still holds the interface that reads from this device.
    void drain()
    {
        platform::runOn(&m_context, [] {});
    }

    void setHandler(Handler handler)
    {
        std::lock_guard<std::mutex> l(m_mutex);
        m_handler = std::move(handler);
    }

    // The k-th further read (0: the first frame) of every reply fails.
    void failGetAt(int k) { m_failGetAt = k; }
    void failSet(bool fail) { m_failSet = fail; }

    std::vector<FakeRequest> requests() const
    {
        std::lock_guard<std::mutex> l(m_mutex);
        return m_requests;
    }
    int getCount() const { return m_gets; }
    bool interleaved() const { return m_interleaved; }
    QThread *discoveryThread() { return &m_thread; }

    // Raises an input report from the discovery thread.
    void raiseInputReport(std::vector<uint8_t> report)
    {
        platform::postTo(&m_context, [this, report = std::move(report)] {
            InputReportHandler handler;
            {
                std::lock_guard<std::mutex> l(m_mutex);
                handler = m_input;
            }
            if (handler)
                handler(report.data(), report.size());
        });
    }

    void releaseHeld()
    {
        int n;
        {
            std::lock_guard<std::mutex> l(m_mutex);
            n = int(m_held.size());
            for (auto &r : m_held)
                m_replies.push_back(std::move(r));
            m_held.clear();
        }
        for (int i = 0; i < n; ++i)
            raiseInputReport({9, 1, 0, 0});
    }

    platform::HidIdentity identity() const override
    {
        platform::HidIdentity id;
        id.vendorId = 0x1D5C;
        id.productId = 0x6E17;
        id.serialNumber = QStringLiteral("FAKE0001");
        id.product = QStringLiteral("Zentaro Halvex");
        return id;
    }

    int setFeatureReport(const uint8_t *data, size_t length) override
    {
        if (m_inRead)
            m_interleaved = true;
        if (m_failSet)
            return -5;
        if (length != 257 || data[0] != 6)
            return -22;
        const uint8_t flags = data[3];
        const int payload = data[1] | data[2] << 8;
        if (flags & 0x10) {
            m_headLength = data[4] | data[5] << 8;
            m_bodyLength = uint32_t(data[6] | data[7] << 8 | data[8] << 16 | data[9] << 24);
            m_current = FakeRequest();
            m_current.dataType = data[10];
            m_current.hadBody = flags & 0x02;
            m_data = QByteArray(reinterpret_cast<const char *>(data + 11), payload - 8);
        } else {
            m_data.append(reinterpret_cast<const char *>(data + 4), payload - 1);
            if (flags & 0x02)
                m_current.hadBody = true;
        }
        const bool done = (flags & 0x01)
                          || ((flags & 0x04) && !(flags & 0x02) && m_bodyLength == 0);
        if (done)
            finish();
        return 0;
    }

    int getFeatureReport(uint8_t reportId, uint8_t *buffer, size_t length,
                         size_t *actual) override
    {
        std::lock_guard<std::mutex> l(m_mutex);
        ++m_gets;
        if (m_frames.empty()) {
            if (m_replies.empty())
                return -32;
            m_frames = std::move(m_replies.front());
            m_replies.pop_front();
            m_readIndex = 0;
            m_inRead = true;
        }
        const int index = m_readIndex++;
        if (m_failGetAt >= 0 && index == m_failGetAt) {
            m_frames.clear();
            m_inRead = false;
            return -71;
        }
        std::vector<uint8_t> frame = std::move(m_frames.front());
        m_frames.pop_front();
        if (frame[0] != reportId || frame.size() != length)
            return -22;
        std::memcpy(buffer, frame.data(), length);
        *actual = length;
        if (m_frames.empty())
            m_inRead = false;
        return 0;
    }

    void setInputReportHandler(InputReportHandler handler) override
    {
        std::lock_guard<std::mutex> l(m_mutex);
        m_input = std::move(handler);
    }

private:
    void finish()
    {
        m_current.head = QJsonDocument::fromJson(m_data.left(m_headLength)).object();
        m_current.body = m_data.mid(m_headLength);
        FakeReply reply;
        {
            std::lock_guard<std::mutex> l(m_mutex);
            m_requests.push_back(m_current);
            if (m_handler)
                reply = m_handler(m_current);
        }
        if (reply.silent)
            return;
        auto frames = encode(reply, m_current.head.value("msg_id").toString().toLongLong());
        {
            std::lock_guard<std::mutex> l(m_mutex);
            if (reply.held) {
                m_held.push_back(std::move(frames));
                return;
            }
            m_replies.push_back(std::move(frames));
        }
        raiseInputReport({9, 1, 0, 0});
    }

    static std::deque<std::vector<uint8_t>> encode(const FakeReply &reply, qint64 msgId)
    {
        QByteArray head;
        if (reply.rawHead) {
            head = *reply.rawHead;
        } else {
            QJsonObject h{{"status_code", reply.statusCode},
                          {"status_string", reply.statusString},
                          {"msg_id", msgId},
                          {"diag_info", "none"}};
            for (auto it = reply.headOverrides.begin(); it != reply.headOverrides.end(); ++it)
                h.insert(it.key(), it.value());
            for (const QString &k : reply.headRemovals)
                h.remove(k);
            head = QJsonDocument(h).toJson(QJsonDocument::Compact);
        }
        const QByteArray body = reply.body.value_or(QByteArray());
        const uint64_t hl = uint64_t(head.size());
        const uint64_t bl = reply.declaredBodyLength ? *reply.declaredBodyLength : uint64_t(body.size());
        const QByteArray all = head + body;

        std::deque<std::vector<uint8_t>> frames;
        std::vector<uint8_t> first(257, 0);
        first[0] = 6;
        first[3] = 0x1C;
        first[4] = uint8_t(hl);
        first[5] = uint8_t(hl >> 8);
        for (int i = 0; i < 4; ++i)
            first[6 + i] = uint8_t(bl >> (8 * i));
        const size_t n0 = std::min<size_t>(246, size_t(all.size()));
        std::memcpy(first.data() + 11, all.constData(), n0);
        frames.push_back(first);
        if (hl + bl <= 246)
            return frames;

        const uint64_t rest = hl + bl - 246;
        const bool longReports = rest > 1264;
        const size_t size = longReports ? 2048 : 257;
        const size_t chunk = size - 4;
        const uint64_t count = rest / chunk + 1;
        uint64_t pos = 246;
        for (uint64_t i = 0; i < count; ++i) {
            std::vector<uint8_t> f(size, 0);
            f[0] = longReports ? 5 : 6;
            const uint64_t end = std::min<uint64_t>(pos + chunk, uint64_t(all.size()));
            const uint64_t n = end > pos ? end - pos : 0;
            if (n)
                std::memcpy(f.data() + 4, all.constData() + pos, n);
            uint8_t type = 0;
            if (pos < hl)
                type |= 0x08;
            if (pos < hl && end >= hl)
                type |= 0x04;
            if (end > hl)
                type |= 0x02;
            if (end >= hl + bl)
                type |= 0x02 | 0x01;
            f[3] = type;
            frames.push_back(std::move(f));
            pos = end;
        }
        return frames;
    }

    QThread m_thread;
    QObject m_context;
    mutable std::mutex m_mutex;
    Handler m_handler;
    InputReportHandler m_input;
    std::vector<FakeRequest> m_requests;
    std::deque<std::deque<std::vector<uint8_t>>> m_replies;
    std::vector<std::deque<std::vector<uint8_t>>> m_held;
    std::deque<std::vector<uint8_t>> m_frames;
    FakeRequest m_current;
    QByteArray m_data;
    int m_headLength = 0;
    uint32_t m_bodyLength = 0;
    int m_readIndex = 0;
    std::atomic<int> m_failGetAt{-1};
    std::atomic<bool> m_failSet{false};
    std::atomic<int> m_gets{0};
    std::atomic<bool> m_inRead{false};
    std::atomic<bool> m_interleaved{false};
};
