#pragma once
// Owner of the Bluetooth page: writes the three Bluetooth flags as one set
// and fetches them.

class QOVABloothDelegate {
public:
    virtual ~QOVABloothDelegate() = default;
    virtual void bluetoothEnable(bool enable, bool autopairEnable, bool bleEnable) = 0;
    virtual void requestBloothInformation() = 0;
};
