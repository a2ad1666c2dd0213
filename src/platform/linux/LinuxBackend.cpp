#include "platform/linux/LinuxBackend.h"

#include <QtGlobal>

namespace platform {

std::unique_ptr<Backend> createLinuxBackend()
{
    qFatal("the Linux backend is not built yet");
    return nullptr;
}

} // namespace platform
