#pragma once
// What the provisioning server page asks of the device page controller.

#include <QString>

class QOVAProvisionDelegate {
public:
    virtual ~QOVAProvisionDelegate() = default;
    // Save: the settings to write (address, user name, password, mode, type).
    virtual void setProvisionWithUrl(const QString &url, const QString &name, const QString &password,
                                     const QString &mode, const QString &type) = 0;
    // The page became the visible page: the controller answers with
    // provisionModel.
    virtual void requestProvision() = 0;
    // Save in the automatic mode on firmware that takes a DHCP option, after
    // the settings.
    virtual void setDhcpOption(const QString &option) = 0;
};
