#pragma once
// Tracking and framing (auto_tracking).

#include "QOVAModelField.h"

class AutoTrackingModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(AutoTrackingModel)

    bool group_framing = false;
    bool talker_tracking = false;
    QString tracking_speed;
    QString framing_size;

    bool isGroup_framing() const { return group_framing; }
    bool isTalker_tracking() const { return talker_tracking; }
};

inline const QOVAModelFields &AutoTrackingModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("group_framing", &AutoTrackingModel::group_framing),
        QOVAField::boolean("talker_tracking", &AutoTrackingModel::talker_tracking),
        QOVAField::text("tracking_speed", &AutoTrackingModel::tracking_speed),
        QOVAField::text("framing_size", &AutoTrackingModel::framing_size),
    };
    return table;
}
