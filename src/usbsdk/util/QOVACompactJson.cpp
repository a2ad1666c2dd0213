#include "util/QOVACompactJson.h"

#include <QJsonDocument>

namespace QOVACompactJson {

namespace {

// Writes "text" at p when it fits before end and JSON writes it as it stands
// (printable ASCII without '"' and '\'); false otherwise.
bool appendQuoted(char *&p, const char *end, const QString &text)
{
    if (end - p < text.size() + 2)
        return false;
    *p++ = '"';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7E || u == u'"' || u == u'\\')
            return false;
        *p++ = char(u);
    }
    *p++ = '"';
    return true;
}

QByteArray general(const QJsonObject &object, HeadValues *values)
{
    if (values) {
        values->msgID = object.value(QLatin1String("msg_id")).toString();
        values->url = object.value(QLatin1String("url")).toString();
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

QByteArray toJson(const QJsonObject &object, HeadValues *values)
{
    // A head is a few dozen bytes: it is written on the stack and copied
    // once; a longer object goes the general way.
    char buffer[256];
    char *p = buffer;
    const char *const end = buffer + sizeof buffer;
    *p++ = '{';
    HeadValues found;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QJsonValueConstRef value = it.value();
        if (!value.isString())
            return general(object, values);
        const QString key = it.key();
        const QString text = value.toString();
        if (p != buffer + 1)
            *p++ = ',';
        if (!appendQuoted(p, end, key) || p == end)
            return general(object, values);
        *p++ = ':';
        if (!appendQuoted(p, end, text) || p == end)
            return general(object, values);
        if (key == QLatin1String("msg_id"))
            found.msgID = text;
        else if (key == QLatin1String("url"))
            found.url = text;
    }
    *p++ = '}';
    if (values)
        *values = std::move(found);
    return QByteArray(buffer, p - buffer);
}

} // namespace QOVACompactJson
