#pragma once
// One camera's USB Video Class control channel: reads the video-control
// descriptors once, then sends class requests to the camera terminal and the
// processing unit. Every operation is synchronous and calls its success block
// ("Success") or failure block ("Failure") before it returns.

#include "QOVACallbacks.h"
#include "QOVACameraSettingModel.h"
#include "usb/USBDeviceLookup.h"

#include <QByteArray>

#include <cstdint>
#include <memory>

class QOVAUSBDeviceUVCInterface {
public:
    // Null when the device has no video-control interface (class 14,
    // subclass 1).
    static std::unique_ptr<QOVAUSBDeviceUVCInterface>
    initWithDeviceInterface(platform::UsbDeviceRef deviceInterface);
    ~QOVAUSBDeviceUVCInterface();

    QOVAUSBDeviceUVCInterface(const QOVAUSBDeviceUVCInterface &) = delete;
    QOVAUSBDeviceUVCInterface &operator=(const QOVAUSBDeviceUVCInterface &) = delete;

    // Points the process-wide control table at this camera's unit ids.
    void updateUVCControls();

    // One zoom step in or out.
    void setZoomAbs(bool zoomIn, QOVASuccessBlock success, QOVAFailureBlock failure);
    // Zoom by a multiple of the step; -1 picks a step from the current zoom.
    void setZoomAbs(bool zoomIn, qint64 multiple, QOVASuccessBlock success,
                    QOVAFailureBlock failure);
    // One pan (pan true) or tilt step; direct true moves right or up.
    void setPanTiltAbs(bool pan, bool direct, QOVASuccessBlock success, QOVAFailureBlock failure);
    // Pan or tilt by a multiple of the step; -1.0 picks a step from the zoom.
    void setPanTiltAbs(bool pan, bool direct, double multiple, QOVASuccessBlock success,
                       QOVAFailureBlock failure);

    // Fills the model from the camera. An unsupported control only clears
    // isSupported and calls neither block.
    void getCameraSettingDataWithModel(const QOVACameraSettingModelRef &model,
                                       QOVASuccessBlock success, QOVAFailureBlock failure);
    // Writes the model's value (or its default when isReset).
    void setCameraSettingDataWithModel(const QOVACameraSettingModelRef &model, bool isReset,
                                       QOVASuccessBlock success, QOVAFailureBlock failure);

    // What the descriptors said.
    uint8_t cameraTerminalId() const { return m_cameraTerminalId; }
    uint8_t processingUnitId() const { return m_processingUnitId; }
    uint16_t uvcVersion() const { return m_uvcVersion; }
    QByteArray terminalControlsAvailable() const { return m_terminalControlsAvailable; }
    QByteArray processingUnitControlsAvailable() const { return m_processingUnitControlsAvailable; }
    platform::UsbDeviceRef deviceInterface() const { return m_deviceInterface; }
    const USBInterfaceHandle &videoControlInterface() const { return m_videoControlInterface; }

    // Number of entries of the control table.
    static constexpr int kControlCount = 35;

private:
    QOVAUSBDeviceUVCInterface(platform::UsbDeviceRef device, USBInterfaceHandle videoControl);

    struct ControlRange {
        uint8_t min[8] = {};
        uint8_t max[8] = {};
        uint8_t step[8] = {};
    };
    struct ControlInfo {
        uint8_t def[8] = {};
        uint8_t cur[8] = {};
    };

    void readDescriptors();
    bool getData(uint8_t *buffer, uint8_t requestCode, int control);
    bool setData(const uint8_t *buffer, int control);
    bool getCapability(uint64_t *caps, int control);
    bool getRange(ControlRange *range, int control);
    bool getInfo(ControlInfo *info, int control);
    bool controlIsNotAvailable(const QOVACameraSettingModel &model) const;
    static qint64 transData(const uint8_t *buffer, int control);
    static qint64 mapValue(qint64 value, qint64 min, qint64 max);

    void zoom(bool zoomIn, bool withMultiple, qint64 multiple, const QOVASuccessBlock &success,
              const QOVAFailureBlock &failure);
    void panTilt(bool pan, bool direct, bool withMultiple, double multiple,
                 const QOVASuccessBlock &success, const QOVAFailureBlock &failure);

    uint64_t m_controlCaps = 0;
    ControlRange m_controlRange;
    ControlInfo m_controlInfo;
    uint8_t m_cameraTerminalId = 0;
    uint8_t m_processingUnitId = 0;
    uint16_t m_uvcVersion = 0;
    platform::UsbDeviceRef m_deviceInterface;
    USBInterfaceHandle m_videoControlInterface;
    QByteArray m_terminalControlsAvailable;
    QByteArray m_processingUnitControlsAvailable;
};

using QOVAUSBDeviceUVCInterfaceRef = std::shared_ptr<QOVAUSBDeviceUVCInterface>;
