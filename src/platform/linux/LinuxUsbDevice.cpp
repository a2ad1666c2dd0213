#include "platform/linux/LinuxUsbDevice.h"

#include "log/log.h"
#include "platform/linux/LibusbSupport.h"
#include "platform/linux/LinuxHidManager.h"
#include "platform/linux/UsbDescriptorParser.h"
#include "platform/linux/V4l2UvcRoute.h"

#include <libusb.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {
constexpr uint8_t kVideoClass = 0x0E;
constexpr uint8_t kVideoControlSubClass = 0x01;
} // namespace

LinuxUsbDevice::LinuxUsbDevice(UsbDeviceInfo info, QString syspath, QString devnode)
    : m_info(std::move(info)), m_syspath(std::move(syspath)), m_devnode(std::move(devnode))
{
    const std::optional<UsbInterfaceInfo> videoControl =
        linuxusb::findInterface(m_info.interfaces, kVideoClass, kVideoControlSubClass);
    if (videoControl) {
        m_videoControlInterface = videoControl->number;
        const linuxusb::UvcUnitIds ids = linuxusb::uvcUnitIds(videoControl->extra);
        m_uvc = std::make_unique<V4l2UvcRoute>(m_syspath, videoControl->number,
                                               ids.cameraTerminalId, ids.processingUnitId);
    }
}

LinuxUsbDevice::~LinuxUsbDevice()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    closeLocked();
}

UsbDeviceInfo LinuxUsbDevice::info() const
{
    return m_info;
}

void LinuxUsbDevice::markGone()
{
    m_gone.store(true);
    // A request in flight keeps the handle until it returns; the next call
    // (or the destructor) closes it.
    std::unique_lock<std::mutex> lock(m_mutex, std::try_to_lock);
    if (lock.owns_lock())
        closeLocked();
}

UsbError LinuxUsbDevice::open()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return openLocked();
}

void LinuxUsbDevice::close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    closeLocked();
}

UsbError LinuxUsbDevice::openLocked()
{
    if (m_gone.load()) {
        closeLocked();
        return UsbError::NoDevice;
    }
    if (m_handle)
        return UsbError::None;
    libusb_context *context = linuxusb::sharedContext();
    if (!context)
        return UsbError::Other;

    int result = LIBUSB_ERROR_NOT_FOUND;
    libusb_device **list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    for (ssize_t i = 0; i < count; ++i) {
        if (libusb_get_bus_number(list[i]) == m_info.busNumber
            && libusb_get_device_address(list[i]) == m_info.deviceAddress) {
            result = libusb_open(list[i], &m_handle);
            break;
        }
    }
    if (list)
        libusb_free_device_list(list, 1);

    if (result == LIBUSB_ERROR_NOT_FOUND && !m_devnode.isEmpty()) {
        // libusb learns of new devices on its own thread and may not list
        // this one yet: open the node ourselves and hand it over.
        const QByteArray path = m_devnode.toLocal8Bit();
        const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            result = errno == EACCES || errno == EPERM ? LIBUSB_ERROR_ACCESS
                     : errno == ENOENT || errno == ENODEV ? LIBUSB_ERROR_NO_DEVICE
                                                          : LIBUSB_ERROR_IO;
        } else {
            result = libusb_wrap_sys_device(context, intptr_t(fd), &m_handle);
            if (result == LIBUSB_SUCCESS)
                m_wrappedFd = fd;
            else
                ::close(fd);
        }
    }

    if (result != LIBUSB_SUCCESS) {
        m_handle = nullptr;
        if (result == LIBUSB_ERROR_ACCESS) {
            QOVA_LOG(WARNING, OTHERS,
                     "usb: cannot open %s (no access); the udev rule \"%s\" is probably missing",
                     qUtf8Printable(m_info.path), kUdevRuleName);
        } else {
            QOVA_LOG(INFO, OTHERS, "usb: cannot open %s: %s", qUtf8Printable(m_info.path),
                     libusb_error_name(result));
        }
        return linuxusb::errorFromLibusb(result);
    }
    return UsbError::None;
}

void LinuxUsbDevice::closeLocked()
{
    if (m_handle) {
        libusb_close(m_handle);
        m_handle = nullptr;
    }
    if (m_wrappedFd >= 0) {
        ::close(m_wrappedFd);
        m_wrappedFd = -1;
    }
    m_claimed.clear();
}

UsbError LinuxUsbDevice::claimInterface(int number)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const UsbError opened = openLocked();
    if (opened != UsbError::None)
        return opened;
    const int result = libusb_claim_interface(m_handle, number);
    if (result == LIBUSB_SUCCESS)
        m_claimed.insert(number);
    return linuxusb::errorFromLibusb(result);
}

UsbError LinuxUsbDevice::releaseInterface(int number)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_handle || !m_claimed.count(number))
        return m_gone.load() ? UsbError::NoDevice : UsbError::NotFound;
    m_claimed.erase(number);
    return linuxusb::errorFromLibusb(libusb_release_interface(m_handle, number));
}

bool LinuxUsbDevice::isVideoControlRequest(const UsbSetup &setup) const
{
    return m_videoControlInterface >= 0
           && (setup.bmRequestType == 0x21 || setup.bmRequestType == 0xA1)
           && (setup.wIndex & 0xFF) == m_videoControlInterface;
}

UsbError LinuxUsbDevice::controlTransfer(const UsbSetup &setup, uint8_t *data,
                                         unsigned timeoutMs, int *transferred)
{
    if (transferred)
        *transferred = 0;
    if (setup.wLength > linuxusb::kMaxControlTransfer) {
        QOVA_LOG(WARNING, OTHERS, "usb: a control transfer of %u bytes is longer than %d",
                 unsigned(setup.wLength), linuxusb::kMaxControlTransfer);
        return UsbError::Other;
    }
    if (setup.wLength > 0 && !data)
        return UsbError::Other;

    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_gone.load()) {
        closeLocked();
        return UsbError::NoDevice;
    }
    if (m_uvc && isVideoControlRequest(setup)) {
        int count = 0;
        const std::optional<UsbError> answered = m_uvc->handle(setup, data, &count);
        if (answered) {
            if (transferred)
                *transferred = count;
            return *answered;
        }
    }

    const UsbError opened = openLocked();
    if (opened != UsbError::None)
        return opened;
    const int result = libusb_control_transfer(m_handle, setup.bmRequestType, setup.bRequest,
                                               setup.wValue, setup.wIndex, data, setup.wLength,
                                               timeoutMs);
    if (result >= 0) {
        if (transferred)
            *transferred = result;
        return UsbError::None;
    }
    const UsbError error = linuxusb::errorFromLibusb(result);
    if (error == UsbError::NoDevice)
        closeLocked();
    return error;
}

UsbError LinuxUsbDevice::reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const UsbError opened = openLocked();
    if (opened != UsbError::None)
        return opened;
    const int result = libusb_reset_device(m_handle);
    if (result == LIBUSB_ERROR_NOT_FOUND || result == LIBUSB_ERROR_NO_DEVICE) {
        // The device re-enumerated (or left): this handle is done.
        closeLocked();
        return UsbError::NoDevice;
    }
    return linuxusb::errorFromLibusb(result);
}

} // namespace platform
