#pragma once
#include <QString>


class QOVAHalvexSignInViewDelegate {
public:
    virtual ~QOVAHalvexSignInViewDelegate() = default;
    // Sign In: the password typed (the user is always the administrator).
    virtual void signInWithPassword(const QString &password) = 0;
};
