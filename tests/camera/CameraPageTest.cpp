// The camera page on the real application with simulated cameras: the live
// test picture runs only while the page is on screen, the pad moves the
// simulated camera by the family's steps (a camera that does not follow is
// said in one toast at a time), and the preset panels send the preset
// requests.

#include "camera/CameraPageTestSupport.h"
#include "settings/app/SettingsAppTestSupport.h"

#include "camera/QOVACameraControlView.h"

#include <QImage>

#include <algorithm>

using namespace cameratest;

TEST(CameraControlNames, LookupIsExact)
{
    EXPECT_EQ(QOVACameraSettingsView::controlIndexForString("brightness"), 18u);
    EXPECT_EQ(QOVACameraSettingsView::controlIndexForString("zoom-abs"), 10u);
    EXPECT_EQ(QOVACameraSettingsView::controlIndexForString("scanning-mode"), 0u);
    EXPECT_EQ(QOVACameraSettingsView::controlIndexForString("analog-lock-status"), 34u);
    EXPECT_EQ(QOVACameraSettingsView::controlIndexForString("auto-hue"), 32u);
    EXPECT_EQ(QOVACameraSettingsView::controlMapping().size(), 35);
    for (const char *unknown : {"Brightness", "brightness ", ""})
        EXPECT_EQ(QOVACameraSettingsView::controlIndexForString(unknown), quint64(-1)) << unknown;
}

// A disabled pad (group framing on) looks disabled: each button shows its
// image in grey, where the enabled one shows it in colour.
TEST(CameraControlPad, DisabledButtonsShowTheirImagesGreyedOut)
{
    QOVACameraControlView pad;
    pad.resize(124, 225);
    const auto colours = [](QAbstractButton *button) {
        const QImage image = button->grab().toImage();
        int visible = 0, coloured = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = QColor::fromRgba(image.pixel(x, y));
                if (c.alpha() < 64)
                    continue;
                ++visible;
                if (std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 24)
                    ++coloured;
            }
        }
        return std::pair{visible, coloured};
    };
    for (QAbstractButton *button : pad.findChildren<QAbstractButton *>()) {
        SCOPED_TRACE(qPrintable(button->objectName()));
        pad.setCameraControlViewEnable(true);
        const auto [shownOn, colouredOn] = colours(button);
        EXPECT_GT(colouredOn, 0);
        pad.setCameraControlViewEnable(false);
        const auto [shownOff, colouredOff] = colours(button);
        EXPECT_GT(shownOff, shownOn / 2);   // still there, not faded away
        EXPECT_EQ(colouredOff, 0);
    }
}

TEST_F(CameraPageFixture, VaskoPadMovesTheLivePictureAndPreviewStopsOffScreen)
{
    SimHandle camera = plugDevice(sim::Family::Vasko, "VACAM", "V1.3.2");
    auto uvc = uvcOf(camera);
    ASSERT_TRUE(uvc);
    QOVACameraSettingsView *view = openCameraPage("VACAM");
    ASSERT_TRUE(view);

    // The live picture runs and the extension features were asked.
    ASSERT_TRUE(waitUntil([&] { return framesOf(view) > 2; }));
    EXPECT_TRUE(view->isPreviewRunning());
    EXPECT_TRUE(waitUntil([&] { return requestCount(camera, "camera_extension_feature") > 0; }));
    EXPECT_EQ(requestCount(camera, "auto_tracking"), 0);
    ASSERT_TRUE(view->presetsView());
    EXPECT_FALSE(view->presetView());
    // The simulated camera frames the group: pad and presets are off until
    // a reply says otherwise.
    ASSERT_TRUE(waitUntil([&] { return view->trackingImageView()->imageName() == QLatin1String("icon-trackingOn"); }));
    EXPECT_FALSE(view->controlView()->rightButton()->isEnabled());
    view->updateWithGroupFraming(false, false);

    // At zoom 0 one pan step is 10 x 3600; tilt stays.
    uvc->setCurrent(sim::SimUvcUnit::CameraTerminal, kZoom, 0);
    const qint64 pan0 = uvc->current(sim::SimUvcUnit::CameraTerminal, kPanTilt, 0);
    const qint64 tilt0 = uvc->current(sim::SimUvcUnit::CameraTerminal, kPanTilt, 1);
    click(view->controlView()->rightButton());
    EXPECT_TRUE(waitUntil([&] { return uvc->current(sim::SimUvcUnit::CameraTerminal, kPanTilt, 0) == pan0 + 36000; }));
    EXPECT_EQ(uvc->current(sim::SimUvcUnit::CameraTerminal, kPanTilt, 1), tilt0);
    click(view->controlView()->zoomInButton());
    EXPECT_TRUE(waitUntil([&] { return uvc->current(sim::SimUvcUnit::CameraTerminal, kZoom) == 10; }));
    spin(200);
    shot(mainWindow(), "camera_page_vasko");

    // Home, Select: preset_0 restore; 4, Save: preset_4 save.
    camera.device->clearReceivedRequests();
    click(view->presetsView()->tileWithTag(0));
    click(view->presetsView()->selectButton());
    click(view->presetsView()->tileWithTag(4));
    click(view->presetsView()->saveButton());
    EXPECT_TRUE(waitUntil([&] { return presetRequests(camera).size() == 2; }));
    EXPECT_EQ(presetRequests(camera), (QStringList{"preset_0 restore", "preset_4 save"}));

    // Another page: the preview stops; back: it runs again.
    clickEntry("STRING_CAMERA_CONTROL");
    clickTab("STRING_DIAGNOSTICS");
    clickEntry("STRING_LOGS");
    ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() != QLatin1String("cameraSettingsView"); }));
    EXPECT_FALSE(view->isPreviewRunning());
    clickTab("STRING_USER_SETTINGS");
    clickEntry("STRING_CAMERA_CONTROL");
    ASSERT_TRUE(waitUntil([&] { return view->isPreviewRunning(); }));

    // The device list replaces the device page: the preview stops.
    delegate()->showDeviceController(delegate()->deviceListController());
    EXPECT_TRUE(waitUntil([&] { return !view->isPreviewRunning(); }));
}

// A camera that does not follow the pad: a toast says so, and clicks made
// while it is on screen add none; once it has gone the next failed click
// says it again.
TEST_F(CameraPageFixture, PadTheCameraDoesNotFollowShowsOneToastAtATime)
{
    settingsapptest::ToastRecorder toasts;
    SimHandle camera = plugDevice(sim::Family::Vasko, "VAPAD", "V1.3.2");
    auto uvc = uvcOf(camera);
    ASSERT_TRUE(uvc);
    QOVACameraSettingsView *view = openCameraPage("VAPAD");
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return view->trackingImageView()->imageName() == QLatin1String("icon-trackingOn"); }));
    view->updateWithGroupFraming(false, false);
    const qint64 zoom0 = uvc->current(sim::SimUvcUnit::CameraTerminal, kZoom);
    const qint64 pan0 = uvc->current(sim::SimUvcUnit::CameraTerminal, kPanTilt, 0);
    // The camera refuses every SET_CUR.
    uvc->setFault([](const platform::UsbSetup &setup) -> std::optional<platform::UsbError> {
        if (setup.bRequest == 0x01)
            return platform::UsbError::Stall;
        return std::nullopt;
    });
    auto failures = [this] {
        const QString log = logText();
        return int(log.count(QLatin1String("setZoomAbs failure")) + log.count(QLatin1String("setPanTiltAbs failure")));
    };
    QOVACameraControlView *pad = view->controlView();
    {
        // The toast stays its real four seconds over the clicks.
        ScopedTimeScale realTime(1.0);
        for (QWidget *button : {static_cast<QWidget *>(pad->zoomInButton()), static_cast<QWidget *>(pad->zoomInButton()),
                                static_cast<QWidget *>(pad->rightButton()), static_cast<QWidget *>(pad->upButton()),
                                static_cast<QWidget *>(pad->zoomInButton())})
            click(button);
        ASSERT_TRUE(waitUntil([&] { return failures() == 5; }));
    }
    EXPECT_EQ(toasts.texts, QStringList{qtTrId("NOTIFICATION_TIP_SAVE_FAILED")});
    EXPECT_EQ(uvc->current(sim::SimUvcUnit::CameraTerminal, kZoom), zoom0);
    EXPECT_EQ(uvc->current(sim::SimUvcUnit::CameraTerminal, kPanTilt, 0), pan0);

    // The user closes the toast: the next failed click shows a new one.
    QList<QOVANotificationWindow *> shown;
    for (QOVANotificationWindow *toast : mainWindow()->findChildren<QOVANotificationWindow *>())
        if (toast->isVisible())
            shown << toast;
    ASSERT_EQ(shown.size(), 1);
    QPointer<QOVANotificationWindow> first = shown.first();
    first->removeNotificationWindow();
    ASSERT_TRUE(waitUntil([&] { return !first || !first->isVisible(); }));
    click(pad->zoomInButton());
    ASSERT_TRUE(waitUntil([&] { return failures() == 6; }));
    EXPECT_EQ(toasts.texts.size(), 2);

    // A camera that follows again moves, and says nothing.
    uvc->setFault({});
    click(pad->zoomInButton());
    EXPECT_TRUE(waitUntil([&] { return uvc->current(sim::SimUvcUnit::CameraTerminal, kZoom) > zoom0; }));
    EXPECT_EQ(toasts.texts.size(), 2);
}

TEST_F(CameraPageFixture, OrbrinPresetsAndTrackingIcon)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORCAM", "1.3.0.5");
    QOVACameraSettingsView *view = openCameraPage("ORCAM");
    ASSERT_TRUE(view);
    EXPECT_TRUE(waitUntil([&] { return requestCount(bar, "auto_tracking") > 0; }));
    ASSERT_TRUE(view->presetView());
    EXPECT_TRUE(waitUntil([&] { return logText().contains("Succeed to get auto-tracking settings."); }));
    view->updateWithGroupFraming(false, false);

    // Select and Save wait for a tile.
    EXPECT_TRUE(view->presetView()->saveButton()->disabled());
    bar.device->clearReceivedRequests();
    click(view->presetView()->tileWithTag(2));
    EXPECT_EQ(view->presetView()->tileWithTag(2)->borderWidth(), 4);
    EXPECT_EQ(view->presetView()->tileWithTag(2)->title(), qtTrId("STRING_PRESET_SETTING"));
    EXPECT_EQ(view->presetView()->tileWithTag(1)->title(), qtTrId("STRING_PRESET"));
    click(view->presetView()->saveButton());
    EXPECT_TRUE(waitUntil([&] { return presetRequests(bar) == QStringList{"preset_2 save"}; }));
    shot(mainWindow(), "camera_page_orbrin");

    // Group framing on: icon, pad and panel off; off again: tiles back,
    // Select and Save wait for a new pick.
    view->updateWithGroupFraming(true, false);
    EXPECT_EQ(view->trackingImageView()->imageName(), QStringLiteral("icon-trackingOn"));
    EXPECT_FALSE(view->controlView()->zoomInButton()->isEnabled());
    EXPECT_EQ(view->presetView()->tileWithTag(2)->alphaValue(), 0.6);
    EXPECT_TRUE(view->presetView()->saveButton()->disabled());
    view->updateWithGroupFraming(false, false);
    EXPECT_TRUE(view->controlView()->zoomInButton()->isEnabled());
    EXPECT_EQ(view->presetView()->tileWithTag(2)->alphaValue(), 1.0);
    EXPECT_TRUE(view->presetView()->saveButton()->disabled());

    // Removing the device stops the preview with the page.
    QPointer<QOVACameraSettingsView> guard(view);
    EXPECT_TRUE(view->isPreviewRunning());
    unplug("ORCAM");
    EXPECT_TRUE(waitUntil([&] { return !guard || !guard->isPreviewRunning(); }));
}

TEST_F(CameraPageFixture, OpeningAnotherDeviceStopsThePreview)
{
    plugDevice(sim::Family::Vasko, "VAONE", "V1.3.2");
    plugDevice(sim::Family::Orbrin, "ORTWO", "1.3.0.5");
    QOVACameraSettingsView *view = openCameraPage("VAONE");
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return view->isPreviewRunning(); }));
    QPointer<QOVACameraSettingsView> guard(view);
    ASSERT_TRUE(openDevicePage("ORTWO"));
    EXPECT_TRUE(waitUntil([&] { return !guard || !guard->isPreviewRunning(); }));
}

TEST_F(CameraPageFixture, PresetRestoreMovesTheCameraAndItsPicture)
{
    SimHandle camera = plugDevice(sim::Family::Vasko, "VAPRE", "V1.3.2");
    auto uvc = uvcOf(camera);
    ASSERT_TRUE(uvc);
    QOVACameraSettingsView *view = openCameraPage("VAPRE");
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return view->trackingImageView()->imageName() == QLatin1String("icon-trackingOn"); }));
    view->updateWithGroupFraming(false, false);

    // The camera zoomed in and turned: stored under preset 2.
    constexpr auto terminal = sim::SimUvcUnit::CameraTerminal;
    uvc->setCurrent(terminal, kZoom, 60);
    uvc->setCurrent(terminal, kPanTilt, 40 * 3600, 0);
    uvc->setCurrent(terminal, kPanTilt, -10 * 3600, 1);
    click(view->presetsView()->tileWithTag(2));
    click(view->presetsView()->saveButton());
    ASSERT_TRUE(waitUntil([&] { return presetRequests(camera).contains("preset_2 save"); }));

    // Back home by the pad's way of moving: the controls change.
    uvc->setCurrent(terminal, kZoom, 0);
    uvc->setCurrent(terminal, kPanTilt, 0, 0);
    uvc->setCurrent(terminal, kPanTilt, 0, 1);
    const int framesBefore = framesOf(view);
    click(view->presetsView()->selectButton());
    EXPECT_TRUE(waitUntil([&] {
        return uvc->current(terminal, kZoom) == 60 && uvc->current(terminal, kPanTilt, 0) == 40 * 3600
            && uvc->current(terminal, kPanTilt, 1) == -10 * 3600;
    }));
    // The picture follows the restored position.
    ASSERT_TRUE(waitUntil([&] { return framesOf(view) > framesBefore + 2; }));
    spin(150);
    shot(mainWindow(), "camera_page_preset_restored");

    // Home was never stored: it takes the camera to its default position.
    click(view->presetsView()->tileWithTag(0));
    click(view->presetsView()->selectButton());
    EXPECT_TRUE(waitUntil([&] {
        return uvc->current(terminal, kZoom) == 0 && uvc->current(terminal, kPanTilt, 0) == 0
            && uvc->current(terminal, kPanTilt, 1) == 0;
    }));
}

TEST_F(CameraPageFixture, PreviewRestartsWhenTheCameraPageIsShownAgain)
{
    plugDevice(sim::Family::Orbrin, "ORBACK", "1.3.0.5");
    QOVACameraSettingsView *view = openCameraPage("ORBACK");
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return view->isPreviewRunning(); }));

    // The device list replaces the device page; the device opened again
    // shows its camera page with a running picture again.
    QPointer<QOVACameraSettingsView> guard(view);
    delegate()->showDeviceController(delegate()->deviceListController());
    ASSERT_TRUE(waitUntil([&] { return !guard || !guard->isPreviewRunning(); }));
    QOVACameraSettingsView *again = openCameraPage("ORBACK");
    ASSERT_TRUE(again);
    EXPECT_TRUE(waitUntil([&] { return again->isPreviewRunning() && framesOf(again) > 2; }));
    if (guard && guard != again) {
        EXPECT_FALSE(guard->isPreviewRunning());
    }
}
