// Request framing, reply reassembly and the input report, over bytes only.
#include "hid/QOVAHIDFrames.h"
#include "hid/QOVAHIDReplyReader.h"

#include <gtest/gtest.h>

#include <vector>

using namespace QOVAHIDFrames;

namespace {

uint16_t payloadSize(const Frame &f) { return uint16_t(f[1] | f[2] << 8); }

QByteArray bytes(int n, char seed)
{
    QByteArray out(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        out[i] = char(seed + i % 50);
    return out;
}

struct ExpectedFrame {
    uint8_t flags;
    uint16_t payload;
};

TEST(RequestFraming, FramesFlagsAndPayloadSizes)
{
    struct Case {
        const char *name;
        int head;
        int body;  // -1: no body
        uint8_t dataType;
        std::vector<ExpectedFrame> frames;
    };
    const Case cases[] = {
        {"head alone", 40, -1, 0, {{0x1C, 48}}},
        {"empty body is a body", 40, 0, 0, {{0x1F, 48}}},
        {"sum 246 in one frame", 40, 206, 0, {{0x1F, 254}}},
        {"sum 247", 40, 207, 0, {{0x1C, 48}, {0x03, 208}}},
        {"body of 253", 40, 253, 0, {{0x1C, 48}, {0x02, 254}, {0x03, 1}}},
        {"file of 256", 40, 256, 1, {{0x1C, 48}, {0x02, 254}, {0x03, 4}}},
        {"head of 246 and a body", 246, 1, 0, {{0x1C, 254}, {0x03, 2}}},
        {"long head", 300, -1, 0, {{0x18, 254}, {0x0C, 55}}},
        {"long head and body", 600, 10, 0, {{0x18, 254}, {0x08, 254}, {0x0C, 102}, {0x03, 11}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray head = bytes(c.head, 'a');
        const QByteArray body = bytes(std::max(c.body, 0), 'A');
        std::vector<Frame> frames;
        ASSERT_TRUE(pduFormateEncapsulating(head, c.body >= 0 ? &body : nullptr, c.dataType,
                                            &frames));
        ASSERT_EQ(frames.size(), c.frames.size());
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i][0], 6) << i;
            EXPECT_EQ(frames[i][3], c.frames[i].flags) << i;
            EXPECT_EQ(payloadSize(frames[i]), c.frames[i].payload) << i;
        }
        const Frame &first = frames[0];
        EXPECT_EQ(first[4] | first[5] << 8, c.head);
        EXPECT_EQ(uint32_t(first[6] | first[7] << 8 | first[8] << 16 | first[9] << 24),
                  uint32_t(std::max(c.body, 0)));
        EXPECT_EQ(first[10], c.dataType);

        // The data, put back together from every frame, is head then body.
        QByteArray data;
        for (const Frame &f : frames) {
            const size_t offset = (f[3] & FlagFirst) ? 11 : 4;
            const size_t count = payloadSize(f) - ((f[3] & FlagFirst) ? 8 : 1);
            data.append(reinterpret_cast<const char *>(f.data() + offset), qsizetype(count));
        }
        EXPECT_EQ(data, head + (c.body >= 0 ? body : QByteArray()));
    }
}

TEST(RequestFraming, ShortFrameKeepsTheDataTypeAndZeroPadding)
{
    const QByteArray head = bytes(40, 'a');
    const QByteArray file = bytes(256, 'A');
    std::vector<Frame> frames;
    ASSERT_TRUE(pduFormateEncapsulating(head, &file, DataTypeFile, &frames));
    ASSERT_EQ(frames.size(), 3u);
    const Frame &last = frames[2];
    EXPECT_EQ(last[10], 1);  // three data bytes leave byte 10 as the sender set it
    for (size_t i = 7; i < kReportSize; ++i) {
        if (i != 10) {
            EXPECT_EQ(last[i], 0) << i;
        }
    }
    // A full further frame carries data in byte 10.
    EXPECT_EQ(frames[1][10], uint8_t(file[6]));
}

TEST(RequestFraming, HeadTooLongForItsLengthFieldIsRefused)
{
    const QByteArray head(0x10000, 'h');
    std::vector<Frame> frames;
    EXPECT_FALSE(pduFormateEncapsulating(head, nullptr, 0, &frames));
    EXPECT_TRUE(frames.empty());
}

// A first reply frame declaring the given lengths, with data from offset 11.
std::vector<uint8_t> firstFrame(uint32_t headLength, uint32_t bodyLength, const QByteArray &data)
{
    std::vector<uint8_t> f(kReportSize, 0);
    f[0] = 6;
    f[3] = 0x1C;
    f[4] = uint8_t(headLength);
    f[5] = uint8_t(headLength >> 8);
    for (int i = 0; i < 4; ++i)
        f[6 + i] = uint8_t(bodyLength >> (8 * i));
    std::copy(data.begin(), data.begin() + std::min<qsizetype>(data.size(), 246), f.begin() + 11);
    return f;
}

std::vector<uint8_t> further(size_t size, uint8_t type, const QByteArray &data)
{
    std::vector<uint8_t> f(size, 0);
    f[0] = size == kReportSize ? 6 : 5;
    f[3] = type;
    std::copy(data.begin(), data.begin() + std::min<qsizetype>(data.size(), qsizetype(size - 4)),
              f.begin() + 4);
    return f;
}

TEST(ReplyReader, NumberAndSizeOfFurtherReports)
{
    struct Case {
        uint32_t head;
        uint32_t body;
        uint8_t reportId;
        uint64_t reads;
    };
    const Case cases[] = {
        {40, 206, 0, 0},          // 246: the first frame is all
        {40, 207, 6, 1},          // 247
        {40, 246 + 1264 - 40, 6, 5},  // 1264 left: 5 reports of 257
        {40, 246 + 1265 - 40, 5, 1},  // 1265 left: 1 report of 2048
        {300, 0, 6, 1},
        {100, 1000000, 5, (100 + 1000000 - 246) / 2044 + 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.head << "+" << c.body);
        QOVAHIDReplyReader reader;
        auto f = firstFrame(c.head, c.body, {});
        const auto state = reader.begin(f.data(), f.size());
        if (c.reads == 0) {
            EXPECT_EQ(state, QOVAHIDReplyReader::State::Complete);
            continue;
        }
        ASSERT_EQ(state, QOVAHIDReplyReader::State::NeedReports);
        EXPECT_EQ(reader.reportId(), c.reportId);
        EXPECT_EQ(reader.reportSize(), c.reportId == 6 ? kReportSize : kLongReportSize);
        EXPECT_EQ(reader.reportsLeft(), c.reads);
    }
}

TEST(ReplyReader, BodyRebuiltInOrderBehindTheFirstFrame)
{
    const QByteArray head = bytes(30, 'a');
    const QByteArray body = bytes(216 + 253 * 2 + 100, 'A');
    QOVAHIDReplyReader reader;
    auto f = firstFrame(30, uint32_t(body.size()), head + body.left(216));
    ASSERT_EQ(reader.begin(f.data(), f.size()), QOVAHIDReplyReader::State::NeedReports);
    ASSERT_EQ(reader.reportsLeft(), 3u);
    auto r1 = further(kReportSize, 2, body.mid(216, 253));
    auto r2 = further(kReportSize, 2, body.mid(216 + 253, 253));
    // The last frame carries more than remains: only the declared rest is kept.
    auto r3 = further(kReportSize, 3, body.mid(216 + 506) + QByteArray(50, 'Z'));
    EXPECT_EQ(reader.apply(r1.data(), r1.size()), QOVAHIDReplyReader::State::NeedReports);
    EXPECT_EQ(reader.apply(r2.data(), r2.size()), QOVAHIDReplyReader::State::NeedReports);
    EXPECT_EQ(reader.apply(r3.data(), r3.size()), QOVAHIDReplyReader::State::Complete);
    EXPECT_EQ(reader.head(), head);
    EXPECT_EQ(reader.body(), body);
}

TEST(ReplyReader, LongHeadAndMixedFrameTypes)
{
    // Head of 600: 246 in the first frame, 253 by type 8, the rest (101) by
    // type 14 followed by body bytes; an unknown type 4 is skipped but counts.
    const QByteArray head = bytes(600, 'a');
    const QByteArray body = bytes(400, 'A');
    QOVAHIDReplyReader reader;
    auto f = firstFrame(600, 400, head.left(246));
    ASSERT_EQ(reader.begin(f.data(), f.size()), QOVAHIDReplyReader::State::NeedReports);
    const uint64_t reads = reader.reportsLeft();
    ASSERT_EQ(reads, (600 + 400 - 246) / 253 + 1);  // 3
    auto r1 = further(kReportSize, 8, head.mid(246, 253));
    auto r2 = further(kReportSize, 14, head.mid(499) + body.left(152));
    auto r3 = further(kReportSize, 4, QByteArray(253, 'Q'));
    reader.apply(r1.data(), r1.size());
    reader.apply(r2.data(), r2.size());
    EXPECT_EQ(reader.apply(r3.data(), r3.size()), QOVAHIDReplyReader::State::Complete);
    EXPECT_EQ(reader.head(), head);
    // The body got its first 152 bytes; the rest never came and stays zero.
    EXPECT_EQ(reader.body().left(152), body.left(152));
    EXPECT_EQ(reader.body().size(), 400);
    EXPECT_EQ(reader.body().mid(152), QByteArray(248, '\0'));

    // Type 15 ends both: the head's rest, then the body's rest.
    QOVAHIDReplyReader second;
    auto g = firstFrame(250, 10, head.left(246));
    ASSERT_EQ(second.begin(g.data(), g.size()), QOVAHIDReplyReader::State::NeedReports);
    auto r = further(kReportSize, 15, head.mid(246, 4) + body.left(10) + QByteArray(20, 'Z'));
    EXPECT_EQ(second.apply(r.data(), r.size()), QOVAHIDReplyReader::State::Complete);
    EXPECT_EQ(second.head(), head.left(250));
    EXPECT_EQ(second.body(), body.left(10));
}

// The head is complete in the first frame: a later report of a head-carrying
// type adds nothing to it, and its body bytes land where the body stands.
TEST(ReplyReader, HeadCompleteInTheFirstFrameTakesNoMoreHeadBytes)
{
    const QByteArray head = bytes(30, 'a');
    const QByteArray body = bytes(216 + 253 + 100, 'A');
    struct Case {
        uint8_t type;
        QByteArray data;  // of the second report
    } cases[] = {
        {12, QByteArray(253, 'Z')},
        {14, body.mid(216, 253)},
        {15, body.mid(216, 253)},
        {8, QByteArray(253, 'Z')},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.type));
        QOVAHIDReplyReader reader;
        auto f = firstFrame(30, uint32_t(body.size()), head + body.left(216));
        ASSERT_EQ(reader.begin(f.data(), f.size()), QOVAHIDReplyReader::State::NeedReports);
        ASSERT_EQ(reader.reportsLeft(), 2u);
        auto r1 = further(kReportSize, c.type, c.data);
        auto r2 = further(kReportSize, 3, body.mid(c.type == 14 ? 216 + 253 : 216));
        reader.apply(r1.data(), r1.size());
        EXPECT_EQ(reader.apply(r2.data(), r2.size()), QOVAHIDReplyReader::State::Complete);
        EXPECT_EQ(reader.head(), head);
        if (c.type == 14)
            EXPECT_EQ(reader.body(), body);
        else
            EXPECT_EQ(reader.body().left(216), body.left(216));
    }
}

TEST(ReplyReader, UntrustedLengths)
{
    struct Case {
        uint32_t head;
        uint32_t body;
        QOVAHIDReplyReader::State state;
    };
    const Case cases[] = {
        {65535, 256u << 20, QOVAHIDReplyReader::State::NeedReports},
        {10, (256u << 20) + 1, QOVAHIDReplyReader::State::Refused},
        // Would wrap to a small 32-bit sum and read far past the frame.
        {100, 0xFFFFFF00u, QOVAHIDReplyReader::State::Refused},
        {0xFFFF, 0xFFFFFFFFu, QOVAHIDReplyReader::State::Refused},
    };
    for (const Case &c : cases) {
        QOVAHIDReplyReader reader;
        auto f = firstFrame(c.head, c.body, {});
        EXPECT_EQ(reader.begin(f.data(), f.size()), c.state) << c.head << "+" << c.body;
    }

    // A short first frame reads as zero-filled, never past the buffer.
    QOVAHIDReplyReader reader;
    auto f = firstFrame(20, 0, bytes(20, 'a'));
    EXPECT_EQ(reader.begin(f.data(), 15), QOVAHIDReplyReader::State::Complete);
    EXPECT_EQ(reader.head(), bytes(4, 'a') + QByteArray(16, '\0'));
}

TEST(InputReport, Kinds)
{
    struct Case {
        std::vector<uint8_t> bytes;
        bool valid;
        uint8_t kind;
        uint16_t code;
        bool notice;
    };
    const Case cases[] = {
        {{9, 0, 0, 0}, true, 0, 0, false},
        {{9, 1, 0, 0}, true, 1, 0, false},
        {{9, 1, 1, 0}, true, 1, 1, true},
        {{9, 2, 4, 0}, true, 2, 4, false},
        {{9, 3, 0x02, 0x01}, true, 3, 0x0102, false},
        {{8, 1, 0, 0}, false, 0, 0, false},
        {{9, 4, 0, 0}, false, 0, 0, false},
        {{9, 1, 0}, false, 0, 0, false},
    };
    for (const Case &c : cases) {
        auto r = parseInputReport(c.bytes.data(), c.bytes.size());
        ASSERT_EQ(r.has_value(), c.valid);
        if (!r)
            continue;
        EXPECT_EQ(r->kind, c.kind);
        EXPECT_EQ(r->code, c.code);
        EXPECT_EQ(r->remoteUpgradeNotice, c.notice);
    }
}

} // namespace
