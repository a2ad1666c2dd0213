#pragma once
// Camera extension features (camera_extension_feature).

#include "QOVAModelField.h"

class CameraExtensionFeatureModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(CameraExtensionFeatureModel)

    bool participant_count = false;
    bool skin_enhancement = false;
    bool wide_dynamic_range = false;
    bool group_framing = false;
    bool talker_tracking = false;
};

inline const QOVAModelFields &CameraExtensionFeatureModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("participant_count", &CameraExtensionFeatureModel::participant_count),
        QOVAField::boolean("skin_enhancement", &CameraExtensionFeatureModel::skin_enhancement),
        QOVAField::boolean("wide_dynamic_range", &CameraExtensionFeatureModel::wide_dynamic_range),
        QOVAField::boolean("group_framing", &CameraExtensionFeatureModel::group_framing),
        QOVAField::boolean("talker_tracking", &CameraExtensionFeatureModel::talker_tracking),
    };
    return table;
}
