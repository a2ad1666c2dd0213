#pragma once
// Owner of the password page: changes the administrator password and the
// simple-password rule, and what the owner pushes back into the page.

#include <QString>

class QOVAPasswordSettingDelegate {
public:
    virtual ~QOVAPasswordSettingDelegate() = default;
    virtual void modify(const QString &oldPassword, const QString &newPassword) = 0;
    virtual void enableSimplePassword(bool enable) = 0;
    virtual void requestSimplePassWordStatus() = 0;
};

// The password page as its owner updates it.
class QOVAPasswordSettingsViewInterface {
public:
    virtual ~QOVAPasswordSettingsViewInterface() = default;
    virtual void updateSimplePasswordStatus(bool enabled) = 0;
};
