#pragma once
// A small device of the maker for the end-to-end tests of the Linux backend:
// the identity of a family, string descriptors (including 0x58 firmware
// version and 0x59 device name), and feature reports that are kept per id
// and read back. Requests on the default pipe other than GET_DESCRIPTOR
// stall.

#include "EmulatedDevice.h"

#include <QMap>

#include <mutex>

namespace e2e {

class TestDevice : public EmulatedDevice {
public:
    enum class Kind { Orbrin, Vasko, Pirok };
    TestDevice(Kind kind, QString serial);

    EmulatedDeviceDescription description() const override;
    int setFeatureReport(int hidIndex, const uint8_t *data, size_t length) override;
    int getFeatureReport(int hidIndex, uint8_t *buffer, size_t length) override;
    std::optional<platform::UsbError> control(const platform::UsbSetup &setup, uint8_t *data,
                                              int *transferred) override;

    QString firmwareVersion = QStringLiteral("1.2.3");
    QString deviceName = QStringLiteral("Meeting room");

    int featureReportsSet() const;

private:
    const Kind m_kind;
    EmulatedDeviceDescription m_description;
    mutable std::mutex m_mutex;
    QMap<uint8_t, QByteArray> m_reports;
    int m_setCount = 0;
};

} // namespace e2e
