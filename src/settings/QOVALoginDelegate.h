#pragma once
// What the administrator sign-in page asks of its owner (the device page
// controller): check the typed password with the device.

#include <QString>

class QOVALoginDelegate {
public:
    virtual ~QOVALoginDelegate() = default;
    virtual void loginUsingPassword(const QString &password) = 0;
};
