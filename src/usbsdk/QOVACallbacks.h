#pragma once
// Callback types of device requests. Every callback runs on the main thread
// unless its operation says otherwise.

#include "models/QOVAJSONModel.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <variant>

// What a completion callback receives: nothing, the raw reply bytes, or the
// payload model.
using QOVAReplyObject = std::variant<std::monostate, QByteArray, QOVAModelRef>;

using QOVACompletionBlock = std::function<void(const QOVAReplyObject &)>;
// "Success!" / "Success"; a flash's success gets the version the device
// reports after it (see QOVAIOManager::usbDeviceUpdate).
using QOVASuccessBlock = std::function<void(const QString &)>;
using QOVAFailureBlock = std::function<void(const QString &)>;   // a reason text
using QOVAProgressBlock = std::function<void(double)>;
using QOVAVoidBlock = std::function<void()>;
