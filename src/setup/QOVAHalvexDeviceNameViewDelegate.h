#pragma once

#include <QString>

class QOVAHalvexDeviceNameViewDelegate {
public:
    virtual ~QOVAHalvexDeviceNameViewDelegate() = default;
    // Next with a name typed: the name exactly as typed.
    virtual void changeDeviceName(const QString &name) = 0;
};
