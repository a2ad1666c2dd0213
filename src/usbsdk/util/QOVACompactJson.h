#pragma once
// The compact JSON text of a request head. An object whose values are all
// text of printable ASCII (no quote or backslash), as every request head is,
// is written directly; any other object goes through QJsonDocument. Both give
// the same bytes as QJsonDocument::toJson(QJsonDocument::Compact).

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace QOVACompactJson {

// The "msg_id" and "url" of a head as text, as QJsonValue::toString() reads
// them (empty when missing or not text).
struct HeadValues {
    QString msgID;
    QString url;
};

// The text of object; when values is given, also its "msg_id" and "url",
// read on the way.
QByteArray toJson(const QJsonObject &object, HeadValues *values = nullptr);

} // namespace QOVACompactJson
