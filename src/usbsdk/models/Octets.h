#pragma once
// A network name as raw bytes: buf holds the bytes as numbers.

#include "QOVAModelField.h"

class Octets final : public QOVAJSONModel {
    QOVA_JSON_MODEL(Octets)

    QJsonArray buf;
    qint64 count = 0;
};

inline const QOVAModelFields &Octets::fields()
{
    static const QOVAModelFields table = {
        QOVAField::array("buf", &Octets::buf),
        QOVAField::integer("count", &Octets::count),
    };
    return table;
}
