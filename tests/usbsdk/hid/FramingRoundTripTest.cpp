// Requests framed by the host and put back together by the simulated device,
// and replies cut by the simulated device and read by the host, over sizes
// from nothing to tens of KiB, most of them around the report boundaries:
// the 246 data bytes of a first frame, multiples of 253 and 2044, and the
// switch to long reports above 1264 remaining bytes.
#include "hid/QOVAHIDFrames.h"
#include "hid/QOVAHIDReplyReader.h"
#include "sim/SimFrameCodec.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <random>

using namespace QOVAHIDFrames;

namespace {

QByteArray randomBytes(std::mt19937 &gen, int size)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char(gen() & 0xFF);
    return out;
}

// A request head of the given method and exactly size bytes (at least the
// size of the head with an empty url).
QByteArray requestHead(const char *method, int size)
{
    auto make = [method](int urlLength) {
        return QJsonDocument(QJsonObject{{"url", QString(urlLength, QLatin1Char('u'))},
                                         {"type", QLatin1String(method)},
                                         {"msg_id", QStringLiteral("7")}})
            .toJson(QJsonDocument::Compact);
    };
    const int bare = int(make(0).size());
    return make(std::max(0, size - bare));
}

// Sizes near every boundary of a part that starts after `before` bytes of
// the first frame, then random ones up to max.
std::vector<int> boundarySizes(std::mt19937 &gen, int before, int max, int randomCount)
{
    std::vector<int> sizes = {0, 1, 2};
    auto near = [&](int centre) {
        for (int d = -2; d <= 2; ++d) {
            if (centre + d >= 0 && centre + d <= max)
                sizes.push_back(centre + d);
        }
    };
    near(246 - before);
    near(246 - before + 1264);
    for (int k = 1; 246 - before + 253 * k <= max && k <= 12; ++k)
        near(246 - before + 253 * k);
    for (int k = 1; 246 - before + 2044 * k <= max; ++k)
        near(246 - before + 2044 * k);
    for (int k = 1; 253 * k <= max && k <= 12; ++k)
        near(253 * k);
    std::uniform_int_distribution<int> any(0, max);
    for (int i = 0; i < randomCount; ++i)
        sizes.push_back(any(gen));
    return sizes;
}

struct Reassembled {
    bool complete = false;
    size_t completedAt = 0;   // index of the frame that completed it
    sim::SimReceivedRequest request;
};

Reassembled sendThroughDevice(const std::vector<Frame> &frames)
{
    sim::SimRequestAssembler assembler;
    Reassembled out;
    for (size_t i = 0; i < frames.size(); ++i) {
        const auto result = assembler.feed(frames[i].data(), frames[i].size());
        if (result == sim::SimRequestAssembler::Result::Complete && !out.complete) {
            out.complete = true;
            out.completedAt = i;
            out.request = assembler.take();
        } else if (result != sim::SimRequestAssembler::Result::Incomplete) {
            ADD_FAILURE() << "frame " << i << " of " << frames.size() << " gave " << int(result);
        }
    }
    return out;
}

} // namespace

// A head too long for the first frame with a present but empty body: the
// body's own report ends the message; without a body the head's last report
// does.
TEST(FramingRoundTrip, LongHeadWithAnEmptyBodyEndsAtTheBodyReport)
{
    for (bool withBody : {true, false}) {
        SCOPED_TRACE(withBody);
        const QByteArray head = requestHead(withBody ? "PUT" : "GET", 600);
        const QByteArray empty;
        std::vector<Frame> frames;
        ASSERT_TRUE(pduFormateEncapsulating(head, withBody ? &empty : nullptr, 0, &frames));
        ASSERT_EQ(frames.size(), withBody ? 4u : 3u);
        const Reassembled r = sendThroughDevice(frames);
        ASSERT_TRUE(r.complete);
        EXPECT_EQ(r.completedAt, frames.size() - 1);
        EXPECT_EQ(r.request.head, head);
        EXPECT_TRUE(r.request.body.isEmpty());
        EXPECT_EQ(r.request.bodyPresent, withBody);
    }
}

TEST(FramingRoundTrip, RequestsFromHostToDevice)
{
    std::mt19937 gen(20261210);
    std::bernoulli_distribution coin(0.5);
    const std::vector<int> headSizes = {60, 120, 200, 240, 244, 245, 246, 247, 248, 400, 498, 499, 500, 1200};
    int cases = 0;
    for (int h : headSizes) {
        for (int b : boundarySizes(gen, h, 40 * 1024, 20)) {
            const bool present = b > 0 || coin(gen);
            const uint8_t dataType = present && coin(gen) ? 1 : 0;
            SCOPED_TRACE(testing::Message() << "head " << h << " body " << b << (present ? "" : " absent")
                                            << " type " << int(dataType));
            const QByteArray head = requestHead(present ? "PUT" : "GET", h);
            ASSERT_EQ(head.size(), h);
            const QByteArray body = randomBytes(gen, b);
            std::vector<Frame> frames;
            ASSERT_TRUE(pduFormateEncapsulating(head, present ? &body : nullptr, dataType, &frames));
            const Reassembled r = sendThroughDevice(frames);
            ASSERT_TRUE(r.complete);
            EXPECT_EQ(r.completedAt, frames.size() - 1);
            EXPECT_EQ(r.request.head, head);
            EXPECT_EQ(r.request.body, body);
            EXPECT_EQ(r.request.bodyPresent, present);
            EXPECT_EQ(r.request.dataType, dataType);
            ++cases;
        }
    }
    EXPECT_GT(cases, 500);
}

TEST(FramingRoundTrip, RepliesFromDeviceToHost)
{
    std::mt19937 gen(121026);
    const std::vector<int> headSizes = {0, 30, 100, 240, 245, 246, 247, 300, 450, 498, 499, 500, 751, 2100};
    int cases = 0;
    for (int h : headSizes) {
        for (int b : boundarySizes(gen, h, 48 * 1024, 20)) {
            SCOPED_TRACE(testing::Message() << "head " << h << " body " << b);
            const QByteArray head = randomBytes(gen, h);
            const QByteArray body = randomBytes(gen, b);
            const std::vector<sim::SimFrame> frames = sim::encodeReply(head, body, 0);
            ASSERT_FALSE(frames.empty());

            QOVAHIDReplyReader reader;
            const QByteArray &first = frames[0].bytes;
            auto state = reader.begin(reinterpret_cast<const uint8_t *>(first.constData()), size_t(first.size()));
            // The device sends the reports its data fills; the host's count
            // rule reads one more when the data fills the last chunk exactly,
            // and that read gets the idle (all-zero) report.
            const bool idleRead = frames.back().idleReadAfter;
            const uint64_t remaining = h + b > 246 ? uint64_t(h + b - 246) : 0;
            const uint64_t chunk = remaining > 1264 ? 2044 : 253;
            EXPECT_EQ(idleRead, remaining > 0 && remaining % chunk == 0);
            ASSERT_EQ(uint64_t(frames.size() - 1) + (idleRead ? 1 : 0), reader.reportsLeft());
            for (size_t i = 1; i < frames.size(); ++i) {
                ASSERT_EQ(state, QOVAHIDReplyReader::State::NeedReports);
                EXPECT_EQ(frames[i].reportId, reader.reportId());
                ASSERT_EQ(size_t(frames[i].bytes.size()), reader.reportSize());
                state = reader.apply(reinterpret_cast<const uint8_t *>(frames[i].bytes.constData()),
                                     size_t(frames[i].bytes.size()));
            }
            if (idleRead) {
                ASSERT_EQ(state, QOVAHIDReplyReader::State::NeedReports);
                std::vector<uint8_t> idle(reader.reportSize(), 0);
                idle[0] = reader.reportId();
                state = reader.apply(idle.data(), idle.size());
            }
            ASSERT_EQ(state, QOVAHIDReplyReader::State::Complete);
            EXPECT_EQ(reader.head(), head);
            EXPECT_EQ(reader.body(), body);
            ++cases;
        }
    }
    EXPECT_GT(cases, 500);
}
