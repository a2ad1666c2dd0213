#include "util/QOVACompactJson.h"

#include <QJsonDocument>

namespace QOVACompactJson {

namespace {

// Text that JSON writes as it stands: printable ASCII without '"' and '\'.
bool isPlain(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7E || u == u'"' || u == u'\\')
            return false;
    }
    return true;
}

void appendQuoted(QByteArray &out, const QString &text)
{
    out.append('"');
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char *p = out.data() + at;
    for (const QChar c : text)
        *p++ = char(c.unicode());
    out.append('"');
}

} // namespace

QByteArray toJson(const QJsonObject &object)
{
    QByteArray out;
    out.reserve(64);
    out.append('{');
    bool first = true;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QJsonValue value = it.value();
        if (!value.isString())
            return QJsonDocument(object).toJson(QJsonDocument::Compact);
        const QString key = it.key();
        const QString text = value.toString();
        if (!isPlain(key) || !isPlain(text))
            return QJsonDocument(object).toJson(QJsonDocument::Compact);
        if (!first)
            out.append(',');
        first = false;
        appendQuoted(out, key);
        out.append(':');
        appendQuoted(out, text);
    }
    out.append('}');
    return out;
}

} // namespace QOVACompactJson
