// Tolerant UTF-8 decoding.
#include "util/QOVADataEnhancement.h"

#include <gtest/gtest.h>

using namespace QOVADataEnhancement;

TEST(TolerantUTF8, Repair)
{
    const QByteArray r("\xEF\xBF\xBD");
    struct Case {
        QByteArray in;
        QByteArray out;
    };
    const Case cases[] = {
        {QByteArray("A\x80" "B"), "A" + r + "B"},
        {QByteArray("\xE2\x82\xAC"), QByteArray("\xE2\x82\xAC")},
        {QByteArray("x\xE2\x82"), "x" + r + r},
        {QByteArray("\x0C"), r},
        {QByteArray("\x09\x0A\x0D"), QByteArray("\x09\x0A\x0D")},
        {QByteArray("\xED\xA0\x80"), r + r + r},
        {QByteArray("\xF4\x8F\xBF\xBF"), QByteArray("\xF4\x8F\xBF\xBF")},
        {QByteArray("\xF4\x90\x80\x80"), r + r + r + r},
        {QByteArray("\xC0\xAF"), r + r},
        {QByteArray("\xE2\x28\xA1"), r + "(" + r},
        {QByteArray("a\0b", 3), "a" + r + "b"},
        {QByteArray(), QByteArray()},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(UTF8Data(c.in), c.out) << c.in.toHex().constData();
        EXPECT_TRUE(isValidUTF8(UTF8Data(c.in)));
    }
}

TEST(TolerantUTF8, DecodeRepairsOnlyInvalidData)
{
    // Valid text keeps its control characters; invalid text is repaired.
    EXPECT_EQ(utf8String(QByteArray("a\x0C" "b")), QString::fromUtf8("a\x0C" "b"));
    EXPECT_EQ(utf8String(QByteArray("a\x0C\xFF")), QString::fromUtf8("a\xEF\xBF\xBD\xEF\xBF\xBD"));
    EXPECT_FALSE(isValidUTF8(QByteArray("\xED\xA0\x80")));
    EXPECT_FALSE(isValidUTF8(QByteArray("\xE0\x80\x80")));  // overlong
    EXPECT_TRUE(isValidUTF8(QByteArray("\xF0\x9F\x98\x80")));
    // The same behind, between and across runs of plain ASCII.
    const QByteArray ascii("0123456789abcdef");
    EXPECT_FALSE(isValidUTF8(ascii + "\xED\xA0\x80" + ascii));
    EXPECT_FALSE(isValidUTF8(ascii + "xyz\xFF"));
    EXPECT_TRUE(isValidUTF8(QByteArray("0123456\xF0\x9F\x98\x80") + ascii));
    EXPECT_FALSE(isValidUTF8(QByteArray("0123456\xF0\x9F\x98") + ascii));
}
