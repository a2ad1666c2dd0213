#pragma once
// Name of the joined network.

#include "QOVAModelField.h"
#include "Octets.h"

class MWiFissid final : public QOVAJSONModel {
    QOVA_JSON_MODEL(MWiFissid)

    std::shared_ptr<const Octets> octets;
};

inline const QOVAModelFields &MWiFissid::fields()
{
    static const QOVAModelFields table = {
        QOVAField::model("octets", &MWiFissid::octets),
    };
    return table;
}
