#include "platform/linux/LinuxHidDevice.h"

#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {

namespace {
// The ioctl size field holds 14 bits.
constexpr size_t kMaxReportLength = (1u << 14) - 1;

int ioctlRetrying(int fd, unsigned long request, void *argument)
{
    int result;
    do {
        result = ::ioctl(fd, request, argument);
    } while (result < 0 && errno == EINTR);
    return result < 0 ? -errno : result;
}
} // namespace

LinuxHidDevice::LinuxHidDevice(HidIdentity identity, int fd)
    : m_identity(std::move(identity)), m_fd(fd)
{
}

LinuxHidDevice::~LinuxHidDevice()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

HidIdentity LinuxHidDevice::identity() const
{
    return m_identity;
}

int LinuxHidDevice::setFeatureReport(const uint8_t *data, size_t length)
{
    if (m_gone.load() || m_fd < 0)
        return -ENODEV;
    if (!data || length == 0 || length > kMaxReportLength)
        return -EINVAL;
    // The ioctl takes a writable buffer; keep the caller's bytes untouched.
    std::vector<uint8_t> report(data, data + length);
    const int result = ioctlRetrying(m_fd, HIDIOCSFEATURE(length), report.data());
    return result < 0 ? result : 0;
}

int LinuxHidDevice::getFeatureReport(uint8_t reportId, uint8_t *buffer, size_t length,
                                     size_t *actual)
{
    if (actual)
        *actual = 0;
    if (m_gone.load() || m_fd < 0)
        return -ENODEV;
    if (!buffer || length == 0 || length > kMaxReportLength)
        return -EINVAL;
    buffer[0] = reportId;
    const int result = ioctlRetrying(m_fd, HIDIOCGFEATURE(length), buffer);
    if (result < 0)
        return result;
    if (actual)
        *actual = std::min(size_t(result), length);
    return 0;
}

void LinuxHidDevice::setInputReportHandler(InputReportHandler handler)
{
    std::lock_guard<std::mutex> lock(m_handlerMutex);
    m_handler = std::move(handler);
}

void LinuxHidDevice::markGone()
{
    m_gone.store(true);
}

void LinuxHidDevice::deliverInputReport(const uint8_t *data, size_t length)
{
    if (m_gone.load())
        return;
    InputReportHandler handler;
    {
        std::lock_guard<std::mutex> lock(m_handlerMutex);
        handler = m_handler;
    }
    if (handler)
        handler(data, length);
}

} // namespace platform
