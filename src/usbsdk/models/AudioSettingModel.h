#pragma once
// Audio settings (audio), general form: acoustic_beam is a boolean.

#include "QOVAModelField.h"

class AudioSettingModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(AudioSettingModel)

    bool noise_blocker = false;
    bool acoustic_beam = false;
    bool stereo = false;
    bool bass = false;

    bool isNoise_blocker() const { return noise_blocker; }
    bool isAcoustic_beam() const { return acoustic_beam; }
    bool isStereo() const { return stereo; }
    bool isBass() const { return bass; }
};

inline const QOVAModelFields &AudioSettingModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("noise_blocker", &AudioSettingModel::noise_blocker),
        QOVAField::boolean("acoustic_beam", &AudioSettingModel::acoustic_beam),
        QOVAField::boolean("stereo", &AudioSettingModel::stereo),
        QOVAField::boolean("bass", &AudioSettingModel::bass),
    };
    return table;
}
