#include "platform/linux/V4l2UvcRoute.h"

#include "log/log.h"
#include "platform/linux/UdevSupport.h"
#include "platform/linux/V4l2UvcBridge.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace platform {

namespace {
class FdV4l2Ioctl : public V4l2Ioctl {
public:
    explicit FdV4l2Ioctl(int fd) : m_fd(fd) {}
    ~FdV4l2Ioctl() override { ::close(m_fd); }

    int ioctl(unsigned long request, void *argument) override
    {
        int result;
        do {
            result = ::ioctl(m_fd, request, argument);
        } while (result < 0 && errno == EINTR);
        return result < 0 ? -errno : 0;
    }

private:
    const int m_fd;
};
} // namespace

V4l2UvcRoute::V4l2UvcRoute(QString usbSyspath, uint8_t videoControlInterface,
                           uint8_t cameraTerminalId, uint8_t processingUnitId)
    : m_usbSyspath(std::move(usbSyspath)),
      m_videoControlInterface(videoControlInterface),
      m_cameraTerminalId(cameraTerminalId),
      m_processingUnitId(processingUnitId)
{
}

V4l2UvcRoute::~V4l2UvcRoute() = default;

QString V4l2UvcRoute::findVideoNode(const QString &usbSyspath)
{
    using namespace linuxudev;
    UdevPtr context = newUdev();
    if (!context)
        return {};
    EnumeratePtr enumerate(udev_enumerate_new(context.get()));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "video4linux") < 0
        || udev_enumerate_scan_devices(enumerate.get()) < 0)
        return {};
    QString best;
    uint32_t bestIndex = UINT_MAX;
    udev_list_entry *entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get()))
    {
        DevicePtr device(
            udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
        if (!device)
            continue;
        udev_device *usb =
            udev_device_get_parent_with_subsystem_devtype(device.get(), "usb", "usb_device");
        if (!usb || text(udev_device_get_syspath(usb)) != usbSyspath)
            continue;
        const QString node = text(udev_device_get_devnode(device.get()));
        const uint32_t index = sysattrNumber(device.get(), "index", 10, UINT_MAX - 1);
        if (!node.isEmpty() && index < bestIndex) {
            best = node;
            bestIndex = index;
        }
    }
    return best;
}

std::optional<UsbError> V4l2UvcRoute::handle(const UsbSetup &setup, uint8_t *data,
                                             int *transferred)
{
    if (!m_bridge) {
        const QString node = findVideoNode(m_usbSyspath);
        if (node.isEmpty())
            return std::nullopt;
        const QByteArray path = node.toLocal8Bit();
        const int fd = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            QOVA_LOG(WARNING, UVC, "cannot open %s: %s", path.constData(), std::strerror(errno));
            return std::nullopt;
        }
        QOVA_LOG(INFO, UVC, "camera controls through %s", path.constData());
        m_bridge = std::make_shared<V4l2UvcBridge>(std::make_unique<FdV4l2Ioctl>(fd),
                                                   m_videoControlInterface, m_cameraTerminalId,
                                                   m_processingUnitId);
    }
    std::optional<UsbError> result = m_bridge->handle(setup, data, transferred);
    if (result && *result == UsbError::NoDevice)
        m_bridge.reset();  // the node went away; look it up again next time
    return result;
}

} // namespace platform
