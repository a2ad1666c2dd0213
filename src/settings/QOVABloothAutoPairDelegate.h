#pragma once
// Owner of the pairing page: puts the device into pairing mode, and tells
// the page whether Bluetooth is on.

class QOVABloothAutoPairDelegate {
public:
    virtual ~QOVABloothAutoPairDelegate() = default;
    virtual void bluetoothAutoPair() = 0;
    virtual void bluetoothEnabled() = 0;
};
