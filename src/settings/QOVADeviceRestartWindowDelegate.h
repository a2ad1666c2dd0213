#pragma once
// Owner of the restart-needed prompt (the miscellaneous page).

class QOVADeviceRestartWindowDelegate {
public:
    virtual ~QOVADeviceRestartWindowDelegate() = default;
    virtual void restartDeviceMiscellaneous() = 0;
};
