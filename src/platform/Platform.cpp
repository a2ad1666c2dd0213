#include "platform/Backend.h"
#include "platform/TimeScale.h"

#include <QtGlobal>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <mutex>

namespace platform {

const char *usbErrorName(UsbError error)
{
    switch (error) {
    case UsbError::None: return "none";
    case UsbError::NoDevice: return "no device";
    case UsbError::Timeout: return "time-out";
    case UsbError::Stall: return "stall";
    case UsbError::Access: return "busy or access";
    case UsbError::NotFound: return "not found";
    case UsbError::Other: return "other";
    }
    return "other";
}

UsbError UsbDevice::getStringDescriptor(uint8_t index, uint16_t languageId, uint8_t *data,
                                        int length, int *transferred)
{
    UsbSetup setup;
    setup.bmRequestType = 0x80;
    setup.bRequest = 6;  // GET_DESCRIPTOR
    setup.wValue = uint16_t(0x0300 | index);
    setup.wIndex = languageId;
    setup.wLength = uint16_t(qBound(0, length, 0xFFFF));
    return controlTransfer(setup, data, 1000, transferred);
}

namespace {
std::mutex backendMutex;
std::shared_ptr<Backend> installed;

double initialScale()
{
    const char *env = std::getenv("ORVALINDE_TIME_SCALE");
    if (env && *env) {
        char *end = nullptr;
        double v = std::strtod(env, &end);
        if (end != env && v > 0 && std::isfinite(v))
            return v;
    }
    return 1.0;
}

std::atomic<double> &scaleValue()
{
    static std::atomic<double> value{initialScale()};
    return value;
}
} // namespace

void installBackend(std::unique_ptr<Backend> backend)
{
    installBackend(std::shared_ptr<Backend>(std::move(backend)));
}

void installBackend(std::shared_ptr<Backend> backend)
{
    std::lock_guard<std::mutex> lock(backendMutex);
    installed = std::move(backend);
}

Backend &backend()
{
    std::lock_guard<std::mutex> lock(backendMutex);
    if (!installed)
        qFatal("no device backend installed");
    return *installed;
}

bool hasBackend()
{
    std::lock_guard<std::mutex> lock(backendMutex);
    return installed != nullptr;
}

double timeScale() { return scaleValue().load(); }

void setTimeScale(double factor)
{
    if (factor > 0 && std::isfinite(factor))
        scaleValue().store(factor);
}

int scaledMs(double milliseconds)
{
    if (milliseconds <= 0)
        return 0;
    double v = milliseconds * timeScale();
    if (v < 1)
        return 1;
    if (v > 2e9)
        return 2000000000;
    return int(std::lround(v));
}

std::chrono::milliseconds scaled(std::chrono::milliseconds duration)
{
    return std::chrono::milliseconds(scaledMs(double(duration.count())));
}

} // namespace platform
