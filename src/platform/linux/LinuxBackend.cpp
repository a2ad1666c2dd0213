#include "platform/linux/LinuxBackend.h"

#include "platform/linux/LinuxHidManager.h"
#include "platform/linux/LinuxUsbBus.h"

namespace platform {

namespace {
class LinuxBackend : public Backend {
public:
    QString name() const override { return QStringLiteral("linux"); }
    std::unique_ptr<HidManager> createHidManager() override
    {
        return std::make_unique<LinuxHidManager>();
    }
    UsbBus &usbBus() override { return m_usbBus; }

private:
    LinuxUsbBus m_usbBus;
};
} // namespace

std::unique_ptr<Backend> createLinuxBackend()
{
    return std::make_unique<LinuxBackend>();
}

} // namespace platform
