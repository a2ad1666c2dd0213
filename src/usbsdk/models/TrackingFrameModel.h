#pragma once
// Maximum zoom level of tracking (maximum_zoom_level).

#include "QOVAModelField.h"

class TrackingFrameModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(TrackingFrameModel)

    qint32 zoom_level = 0;
};

inline const QOVAModelFields &TrackingFrameModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::integer("zoom_level", &TrackingFrameModel::zoom_level),
    };
    return table;
}
