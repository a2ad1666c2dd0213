#pragma once
// What the tracking and framing page asks of its owner.

#include <QString>

class QOVACameraTrackingDelegate {
public:
    virtual ~QOVACameraTrackingDelegate() = default;
    virtual void getAutoTrackingStatus() = 0;
    virtual void setAutoTrackingStatus(bool groupFraming, bool talkerTracking, const QString &trackingSpeed,
                                       const QString &framingSize) = 0;
    virtual void getSmoothTrackingStatus() = 0;
    virtual void setSmoothTracking(bool enable) = 0;
    virtual void getMaximumZoomLevel() = 0;
    virtual void setMaximumZoomLevel(const QString &level) = 0;
};
