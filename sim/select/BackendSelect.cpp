#include "platform/Backend.h"

#include <QByteArray>
#include <QtGlobal>

namespace platform {

// Filled in when the simulated bus and the Linux backend land.
void installBackendFromEnvironment()
{
    qFatal("no device backend is built yet");
}

} // namespace platform
