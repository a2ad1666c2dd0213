#pragma once
// Owner of the audio settings page. Every change is written as the whole
// audio record; the owner pushes the values back into the page afterwards.

#include <QString>

class QOVAAudioSettingsDelegate {
public:
    virtual ~QOVAAudioSettingsDelegate() = default;
    virtual void setNoiseBlockerEnable(bool enable) = 0;
    virtual void setAcousticBeamEnable(bool enable) = 0;
    // Beam width changed, from the previous device value to the new one
    // ("false", "120", "90", "60").
    virtual void setOrbrinTarnwallFrom(const QString &from, const QString &to) = 0;
    virtual void setStereoEnable(bool enable) = 0;
    virtual void setBassEnable(bool enable) = 0;
    // Bass back to the given state after a declined restart.
    virtual void resetBassEnable(bool enable) = 0;
    virtual void getAudioSettingsStatus() = 0;
    virtual void restartDevice() = 0;
};
