#include "QOVAHIDCameraFamilyDevice.h"

#include "log/log.h"

QOVAHIDCameraFamilyDevice::QOVAHIDCameraFamilyDevice(QOVADeviceModelRef model, const Traits &traits)
    : QOVACameraFamilyDevice(std::move(model), traits.panTiltWithMultiple), m_traits(traits)
{
    setDeviceSubClassDelegate();
    QOVA_LOG(INFO, HID, "Init the Device for %s", m_traits.className);
    const QOVADeviceModelRef current = this->model();
    if (current && !current->isDfuDevice())
        setUpUSBDeviceInterface();
}

QOVAHIDCameraFamilyDevice::~QOVAHIDCameraFamilyDevice() = default;

void QOVAHIDCameraFamilyDevice::deviceFirmwareUpdategrade_DFU(const QString &path,
                                                              QOVAProgressBlock progress,
                                                              QOVASuccessBlock success,
                                                              QOVAUpgradeFailedBlock failed,
                                                              QOVAUpgradeStatusBlock status)
{
    QOVA_LOG(INFO, HID, "%s DeviceFirmwareUodateGrade", m_traits.className);
    QOVACameraFamilyDevice::deviceFirmwareUpdategrade_DFU(path, std::move(progress),
                                                          std::move(success), std::move(failed),
                                                          std::move(status));
}

bool QOVAHIDCameraFamilyDevice::implementsRequest_HID(QOVARequest request) const
{
    return QOVARequestCatalogue::row(request).families & m_traits.familyFlag;
}

void QOVAHIDCameraFamilyDevice::sendRequest_HID(QOVARequest request,
                                                const QOVARequestArguments &arguments,
                                                const QOVARequestBlocks &blocks)
{
    for (const RequestLogLine &line : m_traits.requestLogLines) {
        if (line.request == request) {
            QOVA_LOG(INFO, HID, "%s", line.text);
            break;
        }
    }
    if (request == QOVARequest::CameraPreset && !m_traits.hasPreset(arguments.url.toULongLong()))
        return;
    if (const QOVAUSBDeviceHIDInterfaceRef &hid = hidChannel())
        QOVARequestCatalogue::send(*hid, request, arguments, blocks);
}

void QOVAHIDCameraFamilyDevice::getInformationFromUSBDevice_HID(const QString &className,
                                                                const QJsonObject &head,
                                                                QOVACompletionBlock success,
                                                                QOVAFailureBlock failure)
{
    if (const QOVAUSBDeviceHIDInterfaceRef &hid = hidChannel())
        hid->getInformationFromUSBDevice(className, head, std::move(success), std::move(failure));
}

void QOVAHIDCameraFamilyDevice::putInformationToUSBDevice_HID(const QJsonObject &head,
                                                              const QJsonObject &body,
                                                              QOVASuccessBlock success,
                                                              QOVAFailureBlock failure)
{
    if (const QOVAUSBDeviceHIDInterfaceRef &hid = hidChannel())
        hid->putInformationToUSBDevice(head, body, std::move(success), std::move(failure));
}
