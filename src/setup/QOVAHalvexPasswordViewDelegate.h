#pragma once

#include <QString>

class QOVAHalvexPasswordViewDelegate {
public:
    virtual ~QOVAHalvexPasswordViewDelegate() = default;
    // Confirm with equal new and confirmed passwords.
    virtual void modifyOldPassword(const QString &oldPassword, const QString &newPassword) = 0;
    // The page came into view: the wizard answers with
    // updateOOBSimplePasswordStatus.
    virtual void getSimplePasswordStatus() = 0;
    // The simple-password box was clicked; its new state.
    virtual void enableSimplePassword(bool enable) = 0;
};
