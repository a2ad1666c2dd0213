#pragma once
// Audio settings (audio), video-bar form: acoustic_beam is text.

#include "QOVAModelField.h"

class AudioSettingOrbrinModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(AudioSettingOrbrinModel)

    bool noise_blocker = false;
    QString acoustic_beam;
    bool stereo = false;
    bool bass = false;

    bool isNoise_blocker() const { return noise_blocker; }
    bool isStereo() const { return stereo; }
    bool isBass() const { return bass; }
};

inline const QOVAModelFields &AudioSettingOrbrinModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("noise_blocker", &AudioSettingOrbrinModel::noise_blocker),
        QOVAField::text("acoustic_beam", &AudioSettingOrbrinModel::acoustic_beam),
        QOVAField::boolean("stereo", &AudioSettingOrbrinModel::stereo),
        QOVAField::boolean("bass", &AudioSettingOrbrinModel::bass),
    };
    return table;
}
