#pragma once
// One opened hidraw node. Feature reports go through the hidraw ioctls on the
// caller's thread; input reports are read by the LinuxHidManager that opened
// the node and handed to the handler on its thread. The node stays open for
// as long as anyone holds the device, so a request racing a removal fails
// with -ENODEV instead of touching a reused descriptor.

#include "platform/Hid.h"

#include <atomic>
#include <mutex>

namespace platform {

class LinuxHidDevice : public HidDevice {
public:
    LinuxHidDevice(HidIdentity identity, int fd);
    ~LinuxHidDevice() override;

    HidIdentity identity() const override;
    int setFeatureReport(const uint8_t *data, size_t length) override;
    int getFeatureReport(uint8_t reportId, uint8_t *buffer, size_t length,
                         size_t *actual) override;
    void setInputReportHandler(InputReportHandler handler) override;

    int fd() const { return m_fd; }

    // From now on every request fails with -ENODEV and no input is delivered.
    void markGone();
    bool isGone() const { return m_gone.load(); }

    // Called by the manager on its thread for each input report read.
    void deliverInputReport(const uint8_t *data, size_t length);

private:
    const HidIdentity m_identity;
    const int m_fd;
    std::atomic<bool> m_gone{false};
    std::mutex m_handlerMutex;
    InputReportHandler m_handler;
};

} // namespace platform
