#pragma once
// Common part of the camera families that talk JSON over HID. On top of the
// camera family it opens both channels (none in DFU mode), builds the
// family's requests of the catalogue and passes heads and bodies through to
// the HID channel. What a family changes is described by its Traits.

#include "QOVACameraFamilyDevice.h"
#include "QOVAHIDProtocol.h"

#include <span>

class QOVAHIDCameraFamilyDevice : public QOVACameraFamilyDevice, public QOVAHIDProtocol {
public:
    // A line logged before a request of the family is sent.
    struct RequestLogLine {
        QOVARequest request;
        const char *text;
    };

    struct Traits {
        const char *className;           // as it appears in log lines
        int familyFlag;                  // QOVAFamilyFlag of the catalogue
        bool (*hasPreset)(quint64 preset);
        bool panTiltWithMultiple;
        std::span<const RequestLogLine> requestLogLines;
    };

    ~QOVAHIDCameraFamilyDevice() override;

    // QOVADFUProtocol
    void deviceFirmwareUpdategrade_DFU(const QString &path, QOVAProgressBlock progress,
                                       QOVASuccessBlock success, QOVAUpgradeFailedBlock failed,
                                       QOVAUpgradeStatusBlock status) override;

    // QOVAHIDProtocol
    bool implementsRequest_HID(QOVARequest request) const override;
    void sendRequest_HID(QOVARequest request, const QOVARequestArguments &arguments,
                         const QOVARequestBlocks &blocks) override;
    void getInformationFromUSBDevice_HID(const QString &className, const QJsonObject &head,
                                         QOVACompletionBlock success, QOVAFailureBlock failure) override;
    void putInformationToUSBDevice_HID(const QJsonObject &head, const QJsonObject &body,
                                       QOVASuccessBlock success, QOVAFailureBlock failure) override;

protected:
    // traits must outlive the object (families pass static data).
    QOVAHIDCameraFamilyDevice(QOVADeviceModelRef model, const Traits &traits);

private:
    const Traits &m_traits;
};
