// The report framing as the simulated device does it: requests put back
// together from 257-byte reports, replies cut by the count rule, and the
// framing faults the device can show.

#include "SimTestHost.h"

#include "sim/SimBus.h"
#include "sim/SimHidDevice.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <mutex>

using namespace sim;
using namespace simtest;

namespace {

// Answers with whatever reply the test set, and remembers what came in.
class ScriptedHandler : public SimRequestHandler {
public:
    SimReply handleRequest(SimDeviceHost &, const QJsonObject &head, const QByteArray &body,
                           int dataType) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        heads.push_back(head);
        bodies.push_back(body);
        dataTypes.push_back(dataType);
        return reply;
    }
    std::mutex mutex;
    SimReply reply;
    std::vector<QJsonObject> heads;
    std::vector<QByteArray> bodies;
    std::vector<int> dataTypes;
};

QByteArray pattern(int size, char seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char(seed + i * 7 + i / 251);
    return b;
}

// A request head of exactly size bytes.
QByteArray sizedHead(int size, int msgId)
{
    QByteArray head;
    for (QString url; head.size() < size; url += QLatin1Char('u'))
        head = QJsonDocument(QJsonObject{{"url", url}, {"type", "GET"}, {"msg_id", QString::number(msgId)}})
                   .toJson(QJsonDocument::Compact);
    return head;
}

QByteArray requestHead(int msgId)
{
    return QJsonDocument(QJsonObject{{"url", "device_info"}, {"type", "GET"}, {"msg_id", QString::number(msgId)}})
        .toJson(QJsonDocument::Compact);
}

class SimFramingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bus = SimBus::create();
        device = bus->plug(Family::Orbrin, QStringLiteral("OR1"));
        handler = std::make_shared<ScriptedHandler>();
        device->setRequestHandler(handler);
        hid = hidOf(bus->connections().front());
    }

    static std::shared_ptr<SimHidDevice> hidOf(const SimConnectionRef &c)
    {
        return std::make_shared<SimHidDevice>(c->device, c->id, 0, c->hid.at(0));
    }

    // Sends a bare request and reads the reply the handler gives.
    ReadReply exchange(const QByteArray &head, const QByteArray &body)
    {
        handler->reply = SimReply();
        handler->reply.rawHead = head;
        handler->reply.body = body;
        EXPECT_EQ(sendRequest(*hid, requestHead(1), nullptr), 0);
        return readReply(*hid);
    }

    std::shared_ptr<SimBus> bus;
    std::shared_ptr<SimDevice> device;
    std::shared_ptr<ScriptedHandler> handler;
    std::shared_ptr<SimHidDevice> hid;
};

struct ReplyCase {
    int headLength;
    int bodyLength;
    int furtherReads;
    uint8_t reportId;                // of the further reads
    std::vector<uint8_t> types;
};

} // namespace

TEST_F(SimFramingTest, RepliesFollowTheCountRule)
{
    const std::vector<ReplyCase> cases = {
        {40, 0, 0, 0, {}},
        {40, 206, 0, 0, {}},                         // 246 bytes: the first frame alone
        {40, 207, 1, 6, {3}},                         // 247: one more 257-byte report
        {40, 206 + 253, 2, 6, {3, 0}},                // fills a chunk: the extra read gets the idle report
        {40, 206 + 1264, 5, 6, {2, 2, 2, 2, 3}},      // 1264 left: still 257-byte reports
        {40, 206 + 1265, 1, 5, {3}},                  // 1265 left: one 2048-byte report
        {40, 206 + 5000, 3, 5, {2, 2, 3}},
        {300, 0, 1, 6, {12}},                         // long heads end in a later report
        {300, 100, 1, 6, {15}},
        {600, 500, 4, 6, {8, 14, 2, 3}},
        {246 + 253, 0, 2, 6, {12, 0}},
        {40, 206 + 2044 * 2, 3, 5, {2, 3, 0}},        // long reports too

    };
    for (const ReplyCase &c : cases) {
        SCOPED_TRACE(testing::Message() << "head " << c.headLength << " body " << c.bodyLength);
        const QByteArray head = pattern(c.headLength, 'h');
        const QByteArray body = pattern(c.bodyLength, 'b');
        const ReadReply r = exchange(head, body);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.headLength, uint32_t(c.headLength));
        EXPECT_EQ(r.bodyLength, uint32_t(c.bodyLength));
        EXPECT_EQ(r.furtherReads, c.furtherReads);
        EXPECT_EQ(r.types, c.types);
        for (uint8_t id : r.reportIds)
            EXPECT_EQ(id, c.reportId);
        EXPECT_EQ(r.head, head);
        EXPECT_EQ(r.body, body);
        EXPECT_EQ(device->pendingReplyFrames(), 0u);
    }
}

TEST_F(SimFramingTest, AFilledLastChunkIsFollowedByNoReportOfTheReply)
{
    // The reply's own reports end with the data; the host's extra read gets
    // the idle report, and the next reply is read whole behind it.
    const ReadReply r = exchange(pattern(40, 'h'), pattern(206 + 253, 'b'));
    ASSERT_EQ(r.payloadSizes.size(), 2u);
    EXPECT_EQ(r.payloadSizes[0], 254u);
    EXPECT_EQ(r.payloadSizes[1], 0u);
    const QByteArray body = pattern(300, 'n');
    const ReadReply next = exchange(pattern(40, 'h'), body);
    ASSERT_TRUE(next.ok);
    EXPECT_EQ(next.body, body);
    EXPECT_EQ(device->pendingReplyFrames(), 0u);
}

TEST_F(SimFramingTest, DefaultHeadEchoesTheMessageId)
{
    device->setRequestHandler(nullptr);
    ASSERT_EQ(sendRequest(*hid, requestHead(42), nullptr), 0);
    const ReadReply r = readReply(*hid);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.head, QByteArray(R"({"status_code":200,"status_string":"success","msg_id":42,"diag_info":""})"));
    EXPECT_TRUE(r.body.isEmpty());
}

TEST_F(SimFramingTest, RequestsArePutBackTogether)
{
    struct Case {
        int bodyLength;         // -1: no body
        int dataType;
        std::vector<uint8_t> flags;
    };
    const std::vector<Case> cases = {
        {-1, 0, {0x1C}},
        {206, 0, {0x1F}},
        {207, 0, {0x1C, 0x03}},
        {253, 0, {0x1C, 0x02, 0x03}},
        {256, 1, {0x1C, 0x02, 0x03}},
        {253 * 3 + 10, 1, {0x1C, 0x02, 0x02, 0x02, 0x03}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "body " << c.bodyLength);
        device->clearReceivedRequests();
        const QByteArray head = sizedHead(40, 1);
        ASSERT_EQ(head.size(), 40);
        const QByteArray body = pattern(qMax(0, c.bodyLength), 'z');
        ASSERT_EQ(sendRequest(*hid, head, c.bodyLength < 0 ? nullptr : &body, c.dataType), 0);
        const auto received = device->receivedRequests();
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].head, head);
        EXPECT_EQ(received[0].body, c.bodyLength < 0 ? QByteArray() : body);
        EXPECT_EQ(received[0].dataType, c.dataType);
        EXPECT_EQ(received[0].frameFlags, c.flags);
        EXPECT_EQ(device->malformedRequests(), 0);
        EXPECT_TRUE(readReply(*hid).ok);
    }
}

TEST_F(SimFramingTest, ShortContinuationFrameKeepsTheDataTypeOutOfTheBody)
{
    // 256 file bytes: the last frame carries 3 bytes while byte 10 still
    // holds the data type 1; only the 3 bytes belong to the body.
    const QByteArray body = pattern(256, 'f');
    auto frames = frameRequest(requestHead(5), &body, 1);
    ASSERT_EQ(frames.size(), 3u);
    ASSERT_EQ(uint8_t(frames[2][10]), 1);
    for (const auto &f : frames)
        ASSERT_EQ(hid->setFeatureReport(reinterpret_cast<const uint8_t *>(f.constData()), 257), 0);
    ASSERT_EQ(handler->bodies.size(), 1u);
    EXPECT_EQ(handler->bodies[0], body);
    EXPECT_EQ(handler->dataTypes[0], 1);
    EXPECT_EQ(handler->heads[0].value("msg_id").toString(), "5");
}

TEST_F(SimFramingTest, NewFirstFrameDiscardsAPartialMessage)
{
    const QByteArray body = pattern(600, 'p');
    auto partial = frameRequest(requestHead(1), &body, 0);
    ASSERT_EQ(hid->setFeatureReport(reinterpret_cast<const uint8_t *>(partial[0].constData()), 257), 0);
    ASSERT_EQ(hid->setFeatureReport(reinterpret_cast<const uint8_t *>(partial[1].constData()), 257), 0);
    ASSERT_EQ(sendRequest(*hid, requestHead(2), nullptr), 0);
    ASSERT_EQ(handler->heads.size(), 1u);
    EXPECT_EQ(handler->heads[0].value("msg_id").toString(), "2");
    // The rest of the abandoned message is a stray frame now.
    ASSERT_EQ(hid->setFeatureReport(reinterpret_cast<const uint8_t *>(partial[2].constData()), 257), 0);
    EXPECT_EQ(handler->heads.size(), 1u);
}

TEST_F(SimFramingTest, MessageShorterThanAnnouncedIsDropped)
{
    auto frames = frameRequest(requestHead(3), nullptr, 0);
    put16(frames[0], 1, get16(frames[0], 1) - 5);   // five head bytes fewer than announced
    ASSERT_EQ(hid->setFeatureReport(reinterpret_cast<const uint8_t *>(frames[0].constData()), 257), 0);
    EXPECT_TRUE(handler->heads.empty());
    EXPECT_EQ(device->malformedRequests(), 1);
    EXPECT_EQ(device->pendingReplyFrames(), 0u);
}

TEST_F(SimFramingTest, ReportsOfAnotherSizeOrIdAreRefused)
{
    QByteArray shortReport(64, '\0');
    shortReport[0] = 6;
    EXPECT_NE(hid->setFeatureReport(reinterpret_cast<const uint8_t *>(shortReport.constData()), 64), 0);
    QByteArray wrongId(257, '\0');
    wrongId[0] = 5;
    EXPECT_NE(hid->setFeatureReport(reinterpret_cast<const uint8_t *>(wrongId.constData()), 257), 0);
    // Nothing to read before any request.
    QByteArray buffer(257, '\0');
    size_t actual = 0;
    EXPECT_NE(hid->getFeatureReport(6, reinterpret_cast<uint8_t *>(buffer.data()), 257, &actual), 0);
}

TEST_F(SimFramingTest, UnknownFrameTypeIsSkippedButCounted)
{
    SimFaults f;
    f.frameTypeAt = 1;
    f.frameType = 4;
    device->setFaults(f);
    const QByteArray body = pattern(600, 'u');
    const ReadReply r = exchange(pattern(40, 'h'), body);
    ASSERT_TRUE(r.ok);
    // 394 bytes after the first frame: two reads, the first of them skipped.
    EXPECT_EQ(r.furtherReads, 2);
    EXPECT_EQ(r.types, (std::vector<uint8_t>{4, 3}));
    EXPECT_EQ(device->pendingReplyFrames(), 0u);
    // The skipped report's bytes are missing; the last report's data follows
    // the first frame's directly.
    EXPECT_EQ(r.body.left(206 + 141), body.left(206) + body.mid(206 + 253));
}

TEST_F(SimFramingTest, ReplyFaults)
{
    // Status and head keys.
    SimFaults f;
    f.statusCode = 500;
    f.statusString = QStringLiteral("internal");
    f.headRemovals = {QStringLiteral("diag_info")};
    f.headOverrides = QJsonObject{{"msg_id", 99}};
    device->setFaults(f);
    device->setRequestHandler(nullptr);
    ASSERT_EQ(sendRequest(*hid, requestHead(7), nullptr), 0);
    ReadReply r = readReply(*hid);
    EXPECT_EQ(r.head, QByteArray(R"({"status_code":500,"status_string":"internal","msg_id":99})"));

    // Absurd lengths in the first frame; the frames behind it are as usual.
    f = SimFaults();
    f.firstFrameHeadLength = 0xFFFF;
    f.firstFrameBodyLength = 0xFFFFFFFFu;
    device->setFaults(f);
    ASSERT_EQ(sendRequest(*hid, requestHead(8), nullptr), 0);
    QByteArray first(257, '\0');
    size_t actual = 0;
    ASSERT_EQ(hid->getFeatureReport(6, reinterpret_cast<uint8_t *>(first.data()), 257, &actual), 0);
    EXPECT_EQ(actual, 257u);
    EXPECT_EQ(get16(first, 4), 0xFFFFu);
    EXPECT_EQ(get32(first, 6), 0xFFFFFFFFu);

    // No reply at all.
    f = SimFaults();
    f.noReply = true;
    device->setFaults(f);
    ASSERT_EQ(sendRequest(*hid, requestHead(9), nullptr), 0);
    EXPECT_EQ(device->pendingReplyFrames(), 0u);
}

TEST_F(SimFramingTest, FailingTransfersOnDemand)
{
    SimFaults f;
    f.readFailAt = 1;
    device->setFaults(f);
    handler->reply.body = pattern(600, 'r');
    ASSERT_EQ(sendRequest(*hid, requestHead(1), nullptr), 0);
    QByteArray buffer(257, '\0');
    size_t actual = 0;
    EXPECT_EQ(hid->getFeatureReport(6, reinterpret_cast<uint8_t *>(buffer.data()), 257, &actual), 0);
    EXPECT_NE(hid->getFeatureReport(6, reinterpret_cast<uint8_t *>(buffer.data()), 257, &actual), 0);
    // The broken reply is gone as a whole.
    EXPECT_EQ(device->pendingReplyFrames(), 0u);

    f = SimFaults();
    f.setFailAt = 1;
    device->setFaults(f);
    const QByteArray body = pattern(300, 's');
    EXPECT_NE(sendRequest(*hid, requestHead(2), &body), 0);
    EXPECT_EQ(handler->heads.size(), 1u);

    device->clearFaults();
    EXPECT_EQ(sendRequest(*hid, requestHead(3), &body), 0);
    EXPECT_EQ(handler->heads.size(), 2u);
    EXPECT_TRUE(readReply(*hid).ok);
}

TEST_F(SimFramingTest, LateReplyIsAnnouncedAfterItsDelay)
{
    handler->reply = SimReply();
    handler->reply.delayMs = 200;   // scaled down in tests
    ASSERT_EQ(sendRequest(*hid, requestHead(1), nullptr), 0);
    EXPECT_TRUE(waitUntil([&] { return device->pendingReplyFrames() == 1; }));
    EXPECT_TRUE(readReply(*hid).ok);
}

TEST_F(SimFramingTest, AbandonedRepliesDoNotBlockLaterOnes)
{
    // A long reply read with the wrong report id is given up as a whole.
    handler->reply.body = pattern(3000, 'a');
    ASSERT_EQ(sendRequest(*hid, requestHead(1), nullptr), 0);
    QByteArray buffer(2048, '\0');
    size_t actual = 0;
    ASSERT_EQ(hid->getFeatureReport(6, reinterpret_cast<uint8_t *>(buffer.data()), 257, &actual), 0);
    EXPECT_NE(hid->getFeatureReport(6, reinterpret_cast<uint8_t *>(buffer.data()), 257, &actual), 0);
    EXPECT_EQ(device->pendingReplyFrames(), 0u);

    // A read cut short leaves frames behind until the device drops them.
    handler->reply.body = pattern(600, 'c');
    ASSERT_EQ(sendRequest(*hid, requestHead(2), nullptr), 0);
    ASSERT_EQ(hid->getFeatureReport(6, reinterpret_cast<uint8_t *>(buffer.data()), 257, &actual), 0);
    handler->reply.body = pattern(10, 'n');
    ASSERT_EQ(sendRequest(*hid, requestHead(3), nullptr), 0);
    device->discardPartialReplies();
    const ReadReply r = readReply(*hid);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.body, pattern(10, 'n'));
}
