#pragma once
// The one firmware upgrade manager of the process: the entry the device
// family objects hand every firmware update to.

#include "QOVACallbacks.h"
#include "QOVADeviceModel.h"
#include "QOVAError.h"

#include <QString>

#include <functional>
#include <memory>

using QOVAUpgradeFailedBlock = std::function<void(const QOVAError &)>;
// Stage of the flashing state machine (0 started ... 13 ended); called on the
// state machine's own thread, never on the main thread.
using QOVAUpgradeStatusBlock = std::function<void(int)>;

class QOVAUpgradeManager {
public:
    virtual ~QOVAUpgradeManager();

    // The process-wide manager, made on first use.
    static std::shared_ptr<QOVAUpgradeManager> sharedUpgradeManager();
    // Puts another manager in place of the shared one (tests); null restores
    // a default one.
    static void setSharedUpgradeManager(std::shared_ptr<QOVAUpgradeManager> manager);

    // Flashes the firmware file at path into the device. No path: failed is
    // called at once with the update-failed error and nothing else happens.
    virtual void upgradeDevice(const QOVADeviceModelRef &model, const QString &path,
                               QOVAProgressBlock progress, QOVASuccessBlock success,
                               QOVAUpgradeFailedBlock failed, QOVAUpgradeStatusBlock status);

    // Code 0, described by the "STRING_UPDATE_FAILED" text.
    static QOVAError getUpgradeError();
};
