#include "QOVAWorkspace.h"

#include "QOVAProcWorkspace.h"

#include <mutex>

namespace {
std::mutex workspaceMutex;
std::shared_ptr<QOVAWorkspace> workspace;
} // namespace

QOVAWorkspace *QOVAWorkspace::sharedWorkspace()
{
    std::lock_guard<std::mutex> lock(workspaceMutex);
    if (!workspace)
        workspace = std::make_shared<QOVAProcWorkspace>();
    return workspace.get();
}

void QOVAWorkspace::setSharedWorkspace(std::shared_ptr<QOVAWorkspace> replacement)
{
    std::lock_guard<std::mutex> lock(workspaceMutex);
    workspace = std::move(replacement);
}
