#include "platform/linux/LibusbSupport.h"

#include "log/log.h"

#include <libusb.h>

#include <cerrno>
#include <mutex>

namespace platform::linuxusb {

libusb_context *sharedContext()
{
    static std::mutex mutex;
    static libusb_context *context = nullptr;
    static bool reported = false;
    std::lock_guard<std::mutex> lock(mutex);
    if (context)
        return context;
    const int result = libusb_init(&context);
    if (result != LIBUSB_SUCCESS) {
        context = nullptr;
        if (!reported) {
            QOVA_LOG(INFO, OTHERS, "libusb cannot start here: %s", libusb_error_name(result));
            reported = true;
        }
        return nullptr;
    }
    return context;
}

UsbError errorFromLibusb(int result)
{
    if (result >= 0)
        return UsbError::None;
    switch (result) {
    case LIBUSB_ERROR_NO_DEVICE: return UsbError::NoDevice;
    case LIBUSB_ERROR_TIMEOUT: return UsbError::Timeout;
    case LIBUSB_ERROR_PIPE: return UsbError::Stall;
    case LIBUSB_ERROR_BUSY:
    case LIBUSB_ERROR_ACCESS: return UsbError::Access;
    case LIBUSB_ERROR_NOT_FOUND: return UsbError::NotFound;
    default: return UsbError::Other;
    }
}

UsbError errorFromErrno(int error)
{
    switch (error) {
    case 0: return UsbError::None;
    case ENODEV:
    case ENOENT:
    case ESHUTDOWN: return UsbError::NoDevice;
    case ETIMEDOUT: return UsbError::Timeout;
    case EPIPE: return UsbError::Stall;
    case EBUSY:
    case EACCES:
    case EPERM: return UsbError::Access;
    case ENOTTY: return UsbError::NotFound;
    default: return UsbError::Other;
    }
}

} // namespace platform::linuxusb
