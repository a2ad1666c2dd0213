// Request heads written directly must be byte for byte what QJsonDocument
// writes, and everything else must still go through it.
#include "util/QOVACompactJson.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

TEST(CompactJson, SameBytesAsQJsonDocument)
{
    const QJsonObject cases[] = {
        {},
        {{"msg_id", "12"}, {"url", "device_info"}, {"type", "GET"}},
        {{"type", "PUT"}, {"url", "audio_diagnostic_record_stop"}, {"msg_id", "21"}},
        {{"url", ""}, {"msg_id", "1"}},
        {{"b", " ~!#$%&'()*+,-./:;<=>?@[]^_`{|}"}, {"a", "x"}},
        // Written by QJsonDocument: escapes, control and non-ASCII characters,
        // DEL, values other than text.
        {{"url", "say \"hi\""}},
        {{"url", "back\\slash"}},
        {{"url", "tab\there\nline"}},
        {{"url", QString::fromUtf8("caf\xC3\xA9 \xF0\x9F\x98\x80")}},
        {{"url", QString(QChar(0x7F))}},
        {{QString::fromUtf8("k\xC3\xA9y"), "v"}},
        {{"msg_id", 12}, {"url", "device_info"}},
        {{"flag", true}, {"none", QJsonValue()}, {"list", QJsonArray{1, "a"}}},
        {{"nested", QJsonObject{{"a", "b"}}}},
        // Longer than a head usually is.
        {{"msg_id", "7"}, {"url", QString(300, QLatin1Char('u'))}},
    };
    for (const QJsonObject &object : cases) {
        const QByteArray expected = QJsonDocument(object).toJson(QJsonDocument::Compact);
        EXPECT_EQ(QOVACompactJson::toJson(object), expected) << expected.constData();
        // The message id and url read on the way are what the object holds.
        QOVACompactJson::HeadValues values{QStringLiteral("stale"), QStringLiteral("stale")};
        EXPECT_EQ(QOVACompactJson::toJson(object, &values), expected);
        EXPECT_EQ(values.msgID, object.value(QLatin1String("msg_id")).toString()) << expected.constData();
        EXPECT_EQ(values.url, object.value(QLatin1String("url")).toString()) << expected.constData();
    }
}
