#pragma once
// Stereo setting of the network camera (audio).

#include "QOVAModelField.h"

class VaskoAudioSettingModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(VaskoAudioSettingModel)

    bool stereo = false;

    bool isStereo() const { return stereo; }
};

inline const QOVAModelFields &VaskoAudioSettingModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("stereo", &VaskoAudioSettingModel::stereo),
    };
    return table;
}
