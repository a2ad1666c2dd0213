#pragma once
// One HID interface of one enumeration of a simulated device, as a HID
// manager reported it. Fails with -ENODEV once that enumeration has ended.

#include "platform/Hid.h"

#include <QByteArray>

#include <memory>
#include <mutex>

namespace sim {

class SimDevice;

class SimHidDevice : public platform::HidDevice {
public:
    SimHidDevice(std::shared_ptr<SimDevice> device, uint64_t connection, int hidInterface,
                 platform::HidIdentity identity);

    platform::HidIdentity identity() const override;
    int setFeatureReport(const uint8_t *data, size_t length) override;
    int getFeatureReport(uint8_t reportId, uint8_t *buffer, size_t length, size_t *actual) override;
    void setInputReportHandler(InputReportHandler handler) override;

    // Runs the input-report handler (on the manager's thread).
    void deliverInputReport(const QByteArray &report);

    std::shared_ptr<SimDevice> device() const { return m_device; }
    uint64_t connection() const { return m_connection; }
    int hidInterface() const { return m_interface; }

private:
    std::shared_ptr<SimDevice> m_device;
    uint64_t m_connection;
    int m_interface;
    platform::HidIdentity m_identity;
    mutable std::mutex m_mutex;
    InputReportHandler m_handler;
};

} // namespace sim
