#pragma once
// The callbacks of one pending request, filed under its message id.

#include "QOVACallbacks.h"

#include <QString>

struct CacheModel {
    // Empty for a request without payload model (every PUT), "NSData" for a
    // raw-byte reply, else the class name of the payload model.
    QString classString;
    QOVACompletionBlock completionSuccessBlock;
    QOVASuccessBlock successBlock;
    QOVAFailureBlock failureBlock;
};
