#pragma once
// Camera controls of a device family, forwarded to its UVC channel.

#include "QOVACallbacks.h"
#include "QOVACameraSettingModel.h"

class QOVAUVCProtocol {
public:
    enum class Operation {
        SetZoomAbs,
        SetZoomAbsWithMultiple,
        SetPanTiltAbs,
        SetPanTiltAbsWithMultiple,
        GetCameraSettingData,
        SetCameraSettingData,
        UpdateUVCControls,
    };

    virtual ~QOVAUVCProtocol() = default;

    // Whether this family has the operation (a property of its class).
    virtual bool implementsUVC(Operation operation) const = 0;

    virtual void setZoomAbs_UVC(bool zoomIn, QOVASuccessBlock success, QOVAFailureBlock failure) = 0;
    virtual void setZoomAbs_UVC(bool zoomIn, qint64 multiple, QOVASuccessBlock success,
                                QOVAFailureBlock failure) = 0;
    virtual void setPanTiltAbs_UVC(bool pan, bool direct, QOVASuccessBlock success,
                                   QOVAFailureBlock failure) = 0;
    // Only families that list SetPanTiltAbsWithMultiple have it.
    virtual void setPanTiltAbs_UVC(bool pan, bool direct, double multiple,
                                   QOVASuccessBlock success, QOVAFailureBlock failure)
    {
        (void)pan, (void)direct, (void)multiple, (void)success, (void)failure;
    }
    virtual void getCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model,
                                                   QOVASuccessBlock success,
                                                   QOVAFailureBlock failure) = 0;
    virtual void setCameraSettingDataWithModel_UVC(const QOVACameraSettingModelRef &model,
                                                   bool isReset, QOVASuccessBlock success,
                                                   QOVAFailureBlock failure) = 0;
    virtual void updateUVCControls_UVC() = 0;
};
