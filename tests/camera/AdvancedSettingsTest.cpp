// The advanced image settings window on the real application against a
// simulated camera's control store: what it reads and shows, how slider
// values are rounded and kept in range before they are written, the
// power-line items a range leaves, and what Cancel and Reset write back.

#include "camera/CameraPageTestSupport.h"

#include "camera/QOVACameraSettingItem.h"
#include "camera/QOVACameraSettingWindow.h"

#include "QOVALabel.h"
#include "QOVAPopUpButton.h"

#include <QCheckBox>
#include <QSlider>

using namespace cameratest;

namespace {

constexpr auto kPU = sim::SimUvcUnit::ProcessingUnit;
constexpr uint8_t kBrightnessSel = 0x02;
constexpr uint8_t kPowerLineSel = 0x05;
constexpr uint8_t kGammaSel = 0x09;
constexpr uint8_t kWhiteBalanceSel = 0x0A;
constexpr uint8_t kAutoWhiteBalanceSel = 0x0B;

constexpr qint64 kBrightness = 18;
constexpr qint64 kGamma = 25;
constexpr qint64 kWhiteBalance = 26;
constexpr qint64 kExposure = 3;
constexpr qint64 kHue = 22;
constexpr qint64 kBacklight = 17;

// SET_CUR requests the camera took for one processing-unit control.
QList<qint64> writesTo(const std::shared_ptr<sim::SimUvcControlHandler> &uvc, uint8_t selector)
{
    QList<qint64> out;
    for (const auto &request : uvc->requests()) {
        if (request.setup.bRequest != 0x01 || (request.setup.wValue >> 8) != selector
            || (request.setup.wIndex >> 8) != uvc->config().processingUnitId)
            continue;
        qint64 v = 0;
        for (int i = int(request.data.size()) - 1; i >= 0; --i)
            v = (v << 8) | uint8_t(request.data[i]);
        if (request.data.size() == 2)
            v = int16_t(v);
        out << v;
    }
    return out;
}

int allWrites(const std::shared_ptr<sim::SimUvcControlHandler> &uvc)
{
    int n = 0;
    for (const auto &request : uvc->requests())
        n += request.setup.bRequest == 0x01;
    return n;
}

class AdvancedSettingsFixture : public CameraPageFixture {
protected:
    SimHandle camera;
    std::shared_ptr<sim::SimUvcControlHandler> uvc;
    QOVACameraSettingsView *view = nullptr;

    void SetUp() override
    {
        CameraPageFixture::SetUp();
        openPage();   // a failure here skips the test
    }

    void openPage()
    {
        camera = plugDevice(sim::Family::Orbrin, "ORADV", "1.3.0.5");
        uvc = uvcOf(camera);
        ASSERT_TRUE(uvc);
        view = openCameraPage("ORADV");
        ASSERT_TRUE(view);
        ASSERT_TRUE(waitUntil([&] { return requestCount(camera, "auto_tracking") > 0; }));
        view->updateWithGroupFraming(false, false);
    }

    QOVACameraSettingWindow *openWindow()
    {
        QPointer<QOVACameraSettingWindow> before = view->settingWindow();
        click(view->advanceButton());
        QOVACameraSettingWindow *window = nullptr;
        waitUntil([&] {
            window = view->settingWindow();
            return window && window != before && window->isVisible();
        });
        return window;
    }

    void closeWithSave(QOVACameraSettingWindow *window)
    {
        QPointer<QOVACameraSettingWindow> guard(window);
        click(window->okButton());
        ASSERT_TRUE(waitUntil([&] { return !guard || !guard->isVisible(); }));
    }
};

} // namespace

TEST(CameraSettingRounding, NearestMultipleOfTheStepThenTheRange)
{
    struct Case {
        double v;
        qint64 step, min, max, expected;
    };
    const Case cases[] = {
        {10.4, 1, -100, 100, 10}, {10.5, 1, -100, 100, 11}, {-10.4, 1, -100, 100, -10},
        {-10.5, 1, -100, 100, -11}, {0.4, 1, -100, 100, 0}, {0, 1, -100, 100, 0},
        {14.9, 10, -100, 100, 10}, {15, 10, -100, 100, 20}, {-14.9, 10, -100, 100, -10},
        {-15, 10, -100, 100, -20},
        {100, 8, 0, 100, 100},    // 104 is past the maximum
        {4, 10, 3, 50, 3},        // 0 is below the minimum
        {7, 0, 0, 100, 7}, {7, -5, 0, 100, 7},  // no step: every value
        {1e300, 1, 0, 100, 100}, {-1e300, 1, -5, 100, -5},
    };
    for (const Case &c : cases)
        EXPECT_EQ(QOVACameraSettingItem::roundedValue(c.v, c.step, c.min, c.max), c.expected)
            << c.v << " step " << c.step << " range " << c.min << ".." << c.max;
}

TEST(CameraSettingPowerLine, ValuesOfARangeEndWithoutLooping)
{
    using W = QOVACameraSettingWindow;
    EXPECT_EQ(W::powerLineValues(0, 2, 1), (QList<qint64>{0, 1, 2}));
    EXPECT_EQ(W::powerLineValues(1, 2, 1), (QList<qint64>{1, 2}));
    EXPECT_EQ(W::powerLineValues(0, 2, 0), (QList<qint64>{0, 1, 2}));
    EXPECT_EQ(W::powerLineValues(0, 2, -3), (QList<qint64>{0, 1, 2}));
    EXPECT_EQ(W::powerLineValues(0, std::numeric_limits<qint64>::max(), 1).size(), 4);
    EXPECT_EQ(W::powerLineValues(std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max(),
                                 std::numeric_limits<qint64>::max()).size(), 3);
    EXPECT_TRUE(W::powerLineValues(3, 1, 1).isEmpty());
}

TEST_F(AdvancedSettingsFixture, ReadsEveryControlAndShowsRowsWithTheirAutoPartners)
{
    ASSERT_TRUE(view);
    uvc->setCurrent(kPU, kBrightnessSel, 12);
    QOVACameraSettingWindow *window = openWindow();
    ASSERT_TRUE(window);

    // Fourteen records in the window's order, ten rows.
    const QList<QOVACameraSettingModelRef> models = window->settingModelArray();
    ASSERT_EQ(models.size(), 14);
    QStringList names;
    for (const auto &m : models)
        names << m->name();
    EXPECT_EQ(names, (QStringList{"brightness", "contrast", "hue", "auto-hue", "saturation", "sharpness", "gamma",
                                  "white-balance-temp", "auto-white-balance-temp", "backlight-compensation", "gain",
                                  "exposure-time-abs", "auto-exposure-mode", "power-line-frequency"}));
    EXPECT_EQ(window->settingItemList().size(), 10);
    QOVACameraSettingItem *brightness = window->itemForControl(kBrightness);
    ASSERT_TRUE(brightness);
    EXPECT_EQ(brightness->slider()->minimum(), -64);
    EXPECT_EQ(brightness->slider()->maximum(), 64);
    EXPECT_EQ(brightness->slider()->value(), 12);
    EXPECT_EQ(brightness->valueLabel()->stringValue(), "12");
    EXPECT_EQ(brightness->titleLabel()->stringValue(), qtTrId("STRING_BRIGHTNESS") + ":");
    EXPECT_TRUE(brightness->checkButton()->isHidden());

    // Automatic white balance and exposure are on: their sliders wait.
    QOVACameraSettingItem *whiteBalance = window->itemForControl(kWhiteBalance);
    ASSERT_TRUE(whiteBalance);
    EXPECT_FALSE(whiteBalance->checkButton()->isHidden());
    EXPECT_TRUE(whiteBalance->checkButton()->isChecked());
    EXPECT_FALSE(whiteBalance->slider()->isEnabled());
    EXPECT_EQ(whiteBalance->slider()->value(), 4600);
    QOVACameraSettingItem *exposure = window->itemForControl(kExposure);
    ASSERT_TRUE(exposure);
    EXPECT_TRUE(exposure->checkButton()->isChecked());
    EXPECT_FALSE(exposure->slider()->isEnabled());
    // The camera has no automatic hue: the box is there but cannot be used.
    QOVACameraSettingItem *hue = window->itemForControl(kHue);
    ASSERT_TRUE(hue);
    EXPECT_FALSE(hue->checkButton()->isHidden());
    EXPECT_FALSE(hue->checkButton()->isEnabled());
    EXPECT_TRUE(hue->slider()->isEnabled());
    EXPECT_TRUE(window->itemForControl(kBacklight)->checkButton()->isHidden());

    // Power line 0..2, current 1.
    EXPECT_EQ(window->powerLinePopupButton()->itemTitles(),
              (QStringList{qtTrId("STRING_DISABLE"), "50Hz", "60Hz"}));
    EXPECT_EQ(window->powerLinePopupButton()->titleOfSelectedItem(), "50Hz");
    EXPECT_EQ(view->presetView()->saveButton()->qovaButtonType(), 0);
    shot(mainWindow(), "camera_advanced_settings");

    // Save writes nothing and gives the preset buttons their look back.
    uvc->clearRequests();
    closeWithSave(window);
    EXPECT_EQ(allWrites(uvc), 0);
    EXPECT_EQ(view->presetView()->saveButton()->qovaButtonType(), 1);

    // A second opening reads the camera again.
    uvc->setCurrent(kPU, kBrightnessSel, -7);
    window = openWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->itemForControl(kBrightness)->slider()->value(), -7);
    closeWithSave(window);
}

TEST_F(AdvancedSettingsFixture, SliderValuesAreRoundedKeptInRangeAndWrittenAsTheyCome)
{
    ASSERT_TRUE(view);
    struct Case {
        qint64 min, max, step;
        int moveTo;          // slider position; INT_MAX: the End key
        qint64 written;
    };
    const Case cases[] = {
        {0, 100, 8, INT_MAX, 100},   // 104 would be past the maximum
        {-100, 100, 10, 14, 10},
        {-100, 100, 10, 15, 20},
        {-100, 100, 10, -15, -20},
        {3, 50, 10, 4, 3},           // 0 is below the minimum
        {0, 100, 0, 7, 7},           // no step: every value
        {0, 100, -4, 9, 9},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " step " << c.step << " to " << c.moveTo);
        uvc->setControl(kPU, kBrightnessSel, sim::SimUvcControl::scalar(2, true, c.min, c.max, c.step, c.min));
        uvc->setCurrent(kPU, kBrightnessSel, c.min);
        QOVACameraSettingWindow *window = openWindow();
        ASSERT_TRUE(window);
        QSlider *slider = window->itemForControl(kBrightness)->slider();
        uvc->clearRequests();
        if (c.moveTo == INT_MAX) {
            slider->setFocus();
            QTest::keyClick(slider, Qt::Key_End);
        } else {
            slider->setSliderPosition(c.moveTo);
        }
        EXPECT_TRUE(waitUntil([&] { return writesTo(uvc, kBrightnessSel) == QList<qint64>{c.written}; }))
            << writesTo(uvc, kBrightnessSel).size();
        EXPECT_EQ(uvc->current(kPU, kBrightnessSel), c.written);
        EXPECT_EQ(slider->value(), c.written);
        EXPECT_EQ(window->itemForControl(kBrightness)->valueLabel()->stringValue(), QString::number(c.written));
        closeWithSave(window);
    }

    // A drag writes every value the slider reports, in order.
    uvc->setControl(kPU, kBrightnessSel, sim::SimUvcControl::scalar(2, true, -64, 64, 1, 0));
    uvc->setCurrent(kPU, kBrightnessSel, 0);
    QOVACameraSettingWindow *window = openWindow();
    ASSERT_TRUE(window);
    QSlider *slider = window->itemForControl(kBrightness)->slider();
    uvc->clearRequests();
    slider->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(slider, Qt::Key_Right);
    slider->setSliderPosition(-5);
    EXPECT_TRUE(waitUntil([&] { return writesTo(uvc, kBrightnessSel).size() == 4; }));
    EXPECT_EQ(writesTo(uvc, kBrightnessSel), (QList<qint64>{1, 2, 3, -5}));
    closeWithSave(window);
}

TEST_F(AdvancedSettingsFixture, PowerLineItemsFollowTheRange)
{
    ASSERT_TRUE(view);
    struct Case {
        qint64 min, max, step, current;
        QStringList items;
        QString selected;
    };
    const QString off = qtTrId("STRING_DISABLE");
    const Case cases[] = {
        {1, 2, 1, 2, {"50Hz", "60Hz"}, "60Hz"},
        {0, 3, 1, 3, {off, "50Hz", "60Hz"}, off},   // 3 selects nothing new
        {0, 2, 2, 0, {off, "60Hz"}, off},
        {0, 2, 0, 1, {off, "50Hz", "60Hz"}, "50Hz"},  // no step: every value
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " step " << c.step);
        uvc->setControl(kPU, kPowerLineSel, sim::SimUvcControl::scalar(1, false, c.min, c.max, c.step, c.min));
        uvc->setCurrent(kPU, kPowerLineSel, c.current);
        QOVACameraSettingWindow *window = openWindow();
        ASSERT_TRUE(window);
        EXPECT_EQ(window->powerLinePopupButton()->itemTitles(), c.items);
        EXPECT_EQ(window->powerLinePopupButton()->titleOfSelectedItem(), c.selected);
        closeWithSave(window);
    }
}

TEST_F(AdvancedSettingsFixture, CancelWritesTheOpeningValuesBackAfterClosing)
{
    ASSERT_TRUE(view);
    QOVACameraSettingWindow *window = openWindow();
    ASSERT_TRUE(window);
    QPointer<QOVACameraSettingWindow> guard(window);

    // Brightness 0 -> 20, white balance to manual, 60 Hz: each written now.
    QSlider *brightness = window->itemForControl(kBrightness)->slider();
    brightness->setSliderPosition(20);
    QOVACameraSettingItem *whiteBalance = window->itemForControl(kWhiteBalance);
    click(whiteBalance->checkButton());
    EXPECT_TRUE(whiteBalance->slider()->isEnabled());
    QOVAPopUpButton *popUp = window->powerLinePopupButton();
    popUp->setCurrentIndex(popUp->findText("60Hz"));
    emit popUp->activated(popUp->currentIndex());
    EXPECT_TRUE(waitUntil([&] {
        return uvc->current(kPU, kBrightnessSel) == 20 && uvc->current(kPU, kAutoWhiteBalanceSel) == 0
            && uvc->current(kPU, kPowerLineSel) == 2;
    }));

    // Cancel: the window goes, then the camera gets its opening values.
    uvc->clearRequests();
    click(window->cancelButton());
    ASSERT_TRUE(waitUntil([&] { return !guard || !guard->isVisible(); }));
    EXPECT_TRUE(waitUntil([&] {
        return uvc->current(kPU, kBrightnessSel) == 0 && uvc->current(kPU, kAutoWhiteBalanceSel) == 1
            && uvc->current(kPU, kPowerLineSel) == 1;
    }));
    EXPECT_EQ(writesTo(uvc, kBrightnessSel), QList<qint64>{0});
    EXPECT_EQ(writesTo(uvc, kAutoWhiteBalanceSel), QList<qint64>{1});
    EXPECT_EQ(writesTo(uvc, kPowerLineSel), QList<qint64>{1});
    EXPECT_EQ(allWrites(uvc), 3);
    EXPECT_EQ(view->presetView()->saveButton()->qovaButtonType(), 1);

    // Opening and cancelling without changes writes nothing.
    window = openWindow();
    ASSERT_TRUE(window);
    guard = window;
    uvc->clearRequests();
    click(window->cancelButton());
    ASSERT_TRUE(waitUntil([&] { return !guard || !guard->isVisible(); }));
    spin(50);
    EXPECT_EQ(allWrites(uvc), 0);
}

TEST_F(AdvancedSettingsFixture, ResetBringsValuesAndAutomaticModesToTheDefaults)
{
    ASSERT_TRUE(view);
    // Away from the defaults: brightness, white balance manual, 60 Hz; the
    // camera has no gamma.
    uvc->setCurrent(kPU, kBrightnessSel, 30);
    uvc->setCurrent(kPU, kAutoWhiteBalanceSel, 0);
    uvc->setCurrent(kPU, kWhiteBalanceSel, 5000);
    uvc->setCurrent(kPU, kPowerLineSel, 2);
    uvc->removeControl(kPU, kGammaSel);
    QOVACameraSettingWindow *window = openWindow();
    ASSERT_TRUE(window);
    QOVACameraSettingItem *whiteBalance = window->itemForControl(kWhiteBalance);
    EXPECT_FALSE(whiteBalance->checkButton()->isChecked());
    EXPECT_TRUE(whiteBalance->slider()->isEnabled());
    QOVACameraSettingItem *gamma = window->itemForControl(kGamma);
    EXPECT_FALSE(gamma->slider()->isEnabled());

    uvc->clearRequests();
    click(window->resetButton());
    EXPECT_TRUE(waitUntil([&] { return allWrites(uvc) == 4; }));
    spin(50);
    EXPECT_EQ(allWrites(uvc), 4);
    EXPECT_EQ(writesTo(uvc, kBrightnessSel), QList<qint64>{0});
    EXPECT_EQ(writesTo(uvc, kWhiteBalanceSel), QList<qint64>{4600});
    EXPECT_EQ(writesTo(uvc, kAutoWhiteBalanceSel), QList<qint64>{1});
    EXPECT_EQ(writesTo(uvc, kPowerLineSel), QList<qint64>{1});

    // The window stays, showing what the camera now has.
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->itemForControl(kBrightness)->slider()->value(), 0);
    EXPECT_EQ(window->itemForControl(kBrightness)->valueLabel()->stringValue(), "0");
    EXPECT_TRUE(whiteBalance->checkButton()->isChecked());
    EXPECT_FALSE(whiteBalance->slider()->isEnabled());
    EXPECT_EQ(window->powerLinePopupButton()->titleOfSelectedItem(), "50Hz");
    EXPECT_FALSE(gamma->slider()->isEnabled());
    closeWithSave(window);
}

TEST_F(AdvancedSettingsFixture, TheWindowGoesWithItsDevice)
{
    ASSERT_TRUE(view);
    QPointer<QOVACameraSettingWindow> window = openWindow();
    ASSERT_TRUE(window);
    unplug("ORADV");
    EXPECT_TRUE(waitUntil([&] { return !window || !window->isVisible(); }));
    // The device list takes clicks again.
    EXPECT_TRUE(waitUntil([&] { return delegate()->currentController() == delegate()->deviceListController()
                                       || delegate()->currentController() == delegate()->mainController(); }));
}
