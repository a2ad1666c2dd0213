#pragma once
// Owner of the system restart page: restarts the open device.

class QOVASystemRestartDelegate {
public:
    virtual ~QOVASystemRestartDelegate() = default;
    virtual void sendSystemRestart() = 0;
};
