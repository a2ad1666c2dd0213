#pragma once
// Owner of the factory reset page: resets the open device.

class QOVAFactoryResetDelegate {
public:
    virtual ~QOVAFactoryResetDelegate() = default;
    virtual void sendFactoryReset() = 0;
};
