#include "QOVAUpgradeManager.h"

#include "log/log.h"

#include <QCoreApplication>

#include <mutex>

namespace {
std::mutex g_sharedMutex;
std::shared_ptr<QOVAUpgradeManager> g_shared;
} // namespace

QOVAUpgradeManager::~QOVAUpgradeManager() = default;

std::shared_ptr<QOVAUpgradeManager> QOVAUpgradeManager::sharedUpgradeManager()
{
    std::lock_guard<std::mutex> lock(g_sharedMutex);
    if (!g_shared)
        g_shared = std::make_shared<QOVAUpgradeManager>();
    return g_shared;
}

void QOVAUpgradeManager::setSharedUpgradeManager(std::shared_ptr<QOVAUpgradeManager> manager)
{
    std::lock_guard<std::mutex> lock(g_sharedMutex);
    g_shared = std::move(manager);
}

void QOVAUpgradeManager::upgradeDevice(const QOVADeviceModelRef &, const QString &path,
                                       QOVAProgressBlock, QOVASuccessBlock,
                                       QOVAUpgradeFailedBlock failed, QOVAUpgradeStatusBlock)
{
    // Flashing is not available in this build: every request fails at once.
    QOVA_LOG(ERROR, DFU, "Firmware update of %s is not available", qUtf8Printable(path));
    if (failed)
        failed(getUpgradeError());
}

QOVAError QOVAUpgradeManager::getUpgradeError()
{
    return QOVAError::errorCode(
        0, {{QOVAError::kLocalizedDescriptionKey, qtTrId("STRING_UPDATE_FAILED")}});
}
