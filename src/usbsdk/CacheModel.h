#pragma once
// The callbacks of one pending request, filed under its message id.

#include "QOVACallbacks.h"
#include "util/QOVABlockTimer.h"

#include <QString>

struct CacheModel {
    // Empty for a request without payload model (every PUT), "NSData" for a
    // raw-byte reply, else the class name of the payload model.
    QString classString;
    QOVACompletionBlock completionSuccessBlock;
    QOVASuccessBlock successBlock;
    QOVAFailureBlock failureBlock;

    // Tells this request from a later one filed under the same message id.
    quint64 ticket = 0;
    // Ends the wait with a failure when no reply comes in time; stopped when
    // the entry leaves the table.
    QOVABlockTimerRef deadline;
};
