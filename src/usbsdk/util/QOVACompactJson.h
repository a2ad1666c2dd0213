#pragma once
// The compact JSON text of a request head. An object whose values are all
// text of printable ASCII (no quote or backslash), as every request head is,
// is written directly; any other object goes through QJsonDocument. Both give
// the same bytes as QJsonDocument::toJson(QJsonDocument::Compact).

#include <QByteArray>
#include <QJsonObject>

namespace QOVACompactJson {

QByteArray toJson(const QJsonObject &object);

} // namespace QOVACompactJson
