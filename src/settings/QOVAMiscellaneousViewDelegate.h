#pragma once
// Owner of the miscellaneous page of the network camera.

class QOVAMiscellaneousViewDelegate {
public:
    virtual ~QOVAMiscellaneousViewDelegate() = default;
    virtual void getMiscellaneousInformation() = 0;
    virtual void setMiscellaneousStatus(bool powerInjector, bool compatibleMode) = 0;
    virtual void setIntegratedMicrophones(bool enable) = 0;
    virtual void getAudioStereo() = 0;
    virtual void setAudioStereo(bool enable) = 0;
    virtual void sendDeviceRestart() = 0;
};
