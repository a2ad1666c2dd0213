#include "QOVALogRedaction.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {

// scheme://[userinfo@]rest, where the user information ends at the last "@"
// before the first "/", "?" or "#" after the scheme.
const QRegularExpression &redaction_addressPattern()
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(\s*[A-Za-z][A-Za-z0-9+.\-]*://)([^/?#]*)@(.*)$)"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return pattern;
}

bool redaction_namesSecret(const QString &key)
{
    return key.contains(QLatin1String("password"), Qt::CaseInsensitive)
           || key.contains(QLatin1String("passwd"), Qt::CaseInsensitive)
           || key.compare(QLatin1String("privateKeyPass"), Qt::CaseInsensitive) == 0;
}

QJsonValue redaction_redact(const QString &key, const QJsonValue &value)
{
    if (value.isObject()) {
        QJsonObject out;
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            out.insert(it.key(), redaction_redact(it.key(), it.value()));
        return out;
    }
    if (value.isArray()) {
        QJsonArray out;
        for (const QJsonValue &item : value.toArray())
            out.append(redaction_redact(key, item));
        return out;
    }
    if (value.isString()) {
        if (redaction_namesSecret(key) && !value.toString().isEmpty())
            return QStringLiteral("***");
        return addressWithoutUserInfo(value.toString());
    }
    return value;
}

} // namespace

QString addressWithoutUserInfo(const QString &text)
{
    const QRegularExpressionMatch match = redaction_addressPattern().match(text);
    if (!match.hasMatch())
        return text;
    return match.captured(1) + match.captured(3);
}

QByteArray redactedJsonText(const QJsonObject &object)
{
    return QJsonDocument(redaction_redact(QString(), object).toObject()).toJson(QJsonDocument::Compact);
}
