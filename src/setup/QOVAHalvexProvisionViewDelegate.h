#pragma once

#include <QString>

class QOVAHalvexProvisionViewDelegate {
public:
    virtual ~QOVAHalvexProvisionViewDelegate() = default;
    // Next: the settings to write (address, user name, password, mode, type).
    virtual void setProvisionWithUrl(const QString &url, const QString &name, const QString &password,
                                     const QString &mode, const QString &type) = 0;
    // The page came into view: the wizard answers with updateProvisionUI.
    virtual void requestProvisionSettings() = 0;
    // The DHCP option, after the settings, in the automatic mode on firmware
    // that takes one. Only a wizard that answers yes is asked.
    virtual bool respondsToSetDHCPOptionStartup() const { return false; }
    virtual void setDHCPOptionStartup(const QString &option) { Q_UNUSED(option); }
};
