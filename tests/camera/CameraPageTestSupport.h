#pragma once
// The camera page fixture: the real application with simulated cameras whose
// live picture is the simulated test picture, the camera page opened through
// the side menu, and the simulated camera's control store.

#include "device/DevicePageTestSupport.h"

#include "camera/QOVACameraSettingsView.h"
#include "camera/QOVACaptureSource.h"
#include "sim/camera/SimCaptureSource.h"
#include "sim/uvc/SimUvcControlHandler.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVAImageView.h"

namespace cameratest {

using namespace devicetest;

inline constexpr uint8_t kZoom = 11;
inline constexpr uint8_t kPanTilt = 13;

inline std::shared_ptr<sim::SimUvcControlHandler> uvcOf(const SimHandle &handle)
{
    for (const auto &h : handle.device->controlHandlers()) {
        if (auto uvc = std::dynamic_pointer_cast<sim::SimUvcControlHandler>(h))
            return uvc;
    }
    return nullptr;
}

inline QStringList presetRequests(const SimHandle &handle)
{
    QStringList out;
    for (const sim::SimReceivedRequest &request : handle.device->receivedRequests()) {
        const QJsonObject head = QJsonDocument::fromJson(request.head).object();
        const QString url = head.value("url").toString();
        if (url.startsWith("preset_"))
            out << url + " " + QJsonDocument::fromJson(request.body).object().value("action").toString();
    }
    return out;
}

class CameraPageFixture : public DevicePageFixture {
protected:
    void SetUp() override
    {
        sim::registerUvcControls();
        sim::SimCaptureSource::install(bus());
        DevicePageFixture::SetUp();
    }
    void TearDown() override
    {
        DevicePageFixture::TearDown();
        QOVACaptureSource::installFactory({});
    }

    QOVACameraSettingsView *openCameraPage(const QString &serial)
    {
        // The device list shows a device as soon as it is announced, a
        // moment before the device manager holds it; a click in between
        // asks a device that is not there yet, and nothing opens.
        EXPECT_TRUE(waitUntil([&] { return QOVAIOManager::usbManagerShared()->findDevice(serial) != nullptr; }))
            << qPrintable(serial);
        if (!openDevicePage(serial))
            return nullptr;
        clickTab("STRING_USER_SETTINGS");
        clickEntry("STRING_CAMERA_CONTROL");
        if (!waitUntil([&] { return page()->currentGetter() == QLatin1String("cameraSettingsView"); }))
            return nullptr;
        return page()->pageAs<QOVACameraSettingsView>("cameraSettingsView");
    }

    int framesOf(QOVACameraSettingsView *camera) const
    {
        auto *source = qobject_cast<sim::SimCaptureSource *>(camera->captureSource());
        return source ? source->framesSent() : -1;
    }
};

} // namespace cameratest
