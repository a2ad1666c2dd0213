#pragma once
// Smooth transition (smooth_transition).

#include "QOVAModelField.h"

class SmoothTrackingModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(SmoothTrackingModel)

    bool smooth_transition_mode = false;
};

inline const QOVAModelFields &SmoothTrackingModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("smooth_transition_mode", &SmoothTrackingModel::smooth_transition_mode),
    };
    return table;
}
