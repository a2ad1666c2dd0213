#pragma once
// What the camera page asks of its owner.

#include "QOVACameraSettingModel.h"

class QOVACameraDelegate {
public:
    virtual ~QOVACameraDelegate() = default;
    virtual void setZoomAbs(bool zoomIn) = 0;
    virtual void setPanTiltAbs(bool isPan, bool direct) = 0;
    virtual void getCameraSettingData(const QOVACameraSettingModelRef &model) = 0;
    virtual void setCameraSettingData(const QOVACameraSettingModelRef &model, bool isReset) = 0;
    virtual void updateUVCControls() = 0;
    virtual void setCameraPreset(quint64 index, const QString &action) = 0;
    virtual void getCameraExtensionFeature() = 0;
    virtual void setSkinEnhancement(bool enable) = 0;
    virtual void setWideDynamicRange(bool enable) = 0;
    virtual void setParticipantCount(bool enable) = 0;
    virtual void getCameraAutoTrackingStatus() = 0;
};
