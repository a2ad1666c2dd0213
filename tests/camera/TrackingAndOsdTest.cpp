// The tracking and on-screen display pages: the firmware version gate and
// what Save sends under it, the words sent when the device never answered,
// and both pages on the real application against simulated devices.

#include "device/DevicePageTestSupport.h"

#include "camera/QOVACameraTrackingDelegate.h"
#include "camera/QOVACameraTrackingView.h"
#include "camera/QOVAOSDView.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVADeviceModel.h"
#include "QOVALabel.h"
#include "QOVANotificationWindow.h"
#include "QOVAPopUpButton.h"

#include <QApplication>

using namespace devicetest;

namespace {

// A delegate that writes down every call, in order.
struct RecordingTrackingDelegate : QOVACameraTrackingDelegate {
    QStringList calls;
    void getAutoTrackingStatus() override { calls << "getAutoTracking"; }
    void setAutoTrackingStatus(bool group, bool talker, const QString &speed, const QString &framing) override
    {
        calls << QStringLiteral("setAutoTracking %1 %2 [%3] [%4]").arg(group).arg(talker).arg(speed, framing);
    }
    void getSmoothTrackingStatus() override { calls << "getSmooth"; }
    void setSmoothTracking(bool enable) override { calls << QStringLiteral("setSmooth %1").arg(enable); }
    void getMaximumZoomLevel() override { calls << "getZoom"; }
    void setMaximumZoomLevel(const QString &level) override { calls << "setZoom " + level; }
};

void choose(QOVAPopUpButton *popUp, const char *key)
{
    const int index = popUp->findText(qtTrId(key));
    ASSERT_GE(index, 0) << key;
    popUp->setCurrentIndex(index);
    emit popUp->activated(index);
}

bool toastWithText(const QString &text)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *toast = qobject_cast<QOVANotificationWindow *>(w); toast && toast->isVisible()) {
            for (QOVALabel *label : toast->findChildren<QOVALabel *>()) {
                if (label->stringValue() == text)
                    return true;
            }
        }
    }
    return false;
}

// The requests a simulated device received: "<msg_id> <url>" with the body.
QStringList requestsOf(const SimHandle &handle)
{
    QStringList out;
    for (const sim::SimReceivedRequest &request : handle.device->receivedRequests()) {
        const QJsonObject head = QJsonDocument::fromJson(request.head).object();
        out << QStringLiteral("%1 %2 %3")
                   .arg(head.value("msg_id").toVariant().toString(), head.value("url").toString(),
                        QString::fromUtf8(request.body));
    }
    return out;
}

QStringList withUrl(const QStringList &requests, const QString &url)
{
    QStringList out;
    for (const QString &r : requests) {
        if (r.section(' ', 1, 1) == url)
            out << r;
    }
    return out;
}

class TrackingPageAlone : public ::testing::Test {
protected:
    void SetUp() override { bus(); }
    void TearDown() override { QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion(QString()); }

    std::unique_ptr<QOVACameraTrackingView> makePage(const QString &version)
    {
        QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion(version);
        auto page = std::make_unique<QOVACameraTrackingView>(QStringLiteral("6e12"));
        page->setDelegate(&delegate);
        return page;
    }
    RecordingTrackingDelegate delegate;
};

} // namespace

TEST(TrackingVersionGate, SinglePrecisionNumberAgainstThePrefixThreshold)
{
    struct Case {
        const char *version;
        double number;
        bool full;
    };
    const Case cases[] = {
        {"1.18", 1.18f, false},
        {"1.19", 1.19f, true},      // 1.19000005 reaches 1.19
        {"V1.20", 1.20f, false},
        {"V1.29", 1.29f, false},    // 1.28999996 falls short of 1.29
        {"V1.30", 1.30f, true},
        {"v1.29", 1.29f, true},     // lower case: no prefix, held to 1.19
        {"1.29.0", 1.29f, true},    // the second full stop ends the number
        {"build", 0.0, false},
        {"", 0.0, false},
    };
    for (const Case &c : cases) {
        const double number = QOVACameraTrackingView::scanVersion(QLatin1String(c.version));
        EXPECT_EQ(number, c.number) << c.version;
        EXPECT_EQ(QOVACameraTrackingView::hasFullLayout(QLatin1String(c.version), number), c.full) << c.version;
    }
}

TEST_F(TrackingPageAlone, SaveSendsWhatTheVersionAllows)
{
    struct Case {
        const char *version;
        bool rowsShown;
        QStringList afterTracking;   // the writes following the tracking settings
    };
    const Case cases[] = {
        {"1.18", false, {}},
        {"1.19", true, {"setZoom 3", "setSmooth 0"}},
        {"V1.20", false, {"setSmooth 0"}},   // camera movement from the hidden pop-up
        {"V1.29", false, {"setSmooth 0"}},
        {"V1.30", true, {"setZoom 3", "setSmooth 0"}},
    };
    for (const Case &c : cases) {
        delegate.calls.clear();
        auto page = makePage(QLatin1String(c.version));
        page->updateMaximumZoom(3);
        page->updateSmoothTrackingStatus(false);
        EXPECT_EQ(!page->maximumZoomButton()->isHidden(), c.rowsShown) << c.version;
        EXPECT_EQ(!page->smoothTrackingButton()->isHidden(), c.rowsShown) << c.version;
        page->clickSaveButton();
        const QStringList expected =
            QStringList{"setAutoTracking 1 0 [Normal] [Medium]"} + c.afterTracking;
        EXPECT_TRUE(waitUntil([&] { return delegate.calls.size() >= expected.size(); })) << c.version;
        spin(5);
        EXPECT_EQ(delegate.calls, expected) << c.version;
    }
}

TEST_F(TrackingPageAlone, RepliesAndOffSaves)
{
    auto page = makePage(QStringLiteral("V1.30"));

    // Off before any reply: the pop-ups' words go out, never empty ones.
    choose(page->trackingModeButton(), "STRING_OFF");
    EXPECT_FALSE(page->trackingSpeedButton()->isEnabled());
    page->clickSaveButton();
    ASSERT_TRUE(waitUntil([&] { return !delegate.calls.isEmpty(); }));
    EXPECT_EQ(delegate.calls.first(), QStringLiteral("setAutoTracking 0 0 [Normal] [Medium]"));

    // An unknown word shows the default item, and Off sends the word back.
    delegate.calls.clear();
    page->updateCameraTrackingUI(true, false, QStringLiteral("fast"), QStringLiteral("Wide"));
    EXPECT_EQ(page->trackingSpeedButton()->titleOfSelectedItem(), qtTrId("STRING_NORMAL"));
    EXPECT_EQ(page->framingSizeButton()->titleOfSelectedItem(), qtTrId("STRING_WIDE"));
    EXPECT_TRUE(page->saveButton()->disabled());
    choose(page->trackingModeButton(), "STRING_OFF");
    EXPECT_FALSE(page->saveButton()->disabled());
    page->clickSaveButton();
    ASSERT_TRUE(waitUntil([&] { return !delegate.calls.isEmpty(); }));
    EXPECT_EQ(delegate.calls.first(), QStringLiteral("setAutoTracking 0 0 [fast] [Wide]"));

    // Any other mode sends the shown words.
    delegate.calls.clear();
    choose(page->trackingModeButton(), "STRING_FRAME_SPEAKER");
    EXPECT_TRUE(page->trackingSpeedButton()->isEnabled());
    page->clickSaveButton();
    ASSERT_TRUE(waitUntil([&] { return !delegate.calls.isEmpty(); }));
    EXPECT_EQ(delegate.calls.first(), QStringLiteral("setAutoTracking 1 1 [Normal] [Wide]"));

    // Group framing off shows Off whatever talker tracking says.
    page->updateCameraTrackingUI(false, true, QStringLiteral("Slow"), QStringLiteral("Tight"));
    EXPECT_EQ(page->trackingModeButton()->titleOfSelectedItem(), qtTrId("STRING_OFF"));
    EXPECT_FALSE(page->maximumZoomButton()->isEnabled());
}

TEST_F(DevicePageFixture, TrackingPageReadsAndSavesOnTheDevice)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORTRACK", "1.3.0.5");
    ASSERT_TRUE(openDevicePage("ORTRACK"));
    clickTab("STRING_ADMIN_SETTINGS");
    ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String("orbrinGeneralView"); }));
    bar.device->clearReceivedRequests();
    clickEntry("STRING_CAMERA_TRACKING");
    ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String("cameraTrackingView"); }));
    auto *tracking = page()->pageAs<QOVACameraTrackingView>("cameraTrackingView");
    ASSERT_TRUE(tracking);

    // The three reads, in order.
    ASSERT_TRUE(waitUntil([&] { return withUrl(requestsOf(bar), "maximum_zoom_level").size() == 1; }));
    // Only the tracking requests (the status poll runs alongside).
    const QStringList trackingUrls{"auto_tracking", "smooth_transition", "maximum_zoom_level"};
    QStringList ids;
    for (const QString &r : requestsOf(bar)) {
        if (trackingUrls.contains(r.section(' ', 1, 1)))
            ids << r.section(' ', 0, 0);
    }
    EXPECT_EQ(ids, (QStringList{"35", "56", "54"}));
    EXPECT_TRUE(waitUntil([&] { return tracking->saveButton()->disabled(); }));
    // The last reply is in before the user chooses.
    ASSERT_TRUE(waitUntil([&] { return logText().contains("Get Tracking Frame Success!"); }));
    shot(mainWindow(), "tracking_page");

    // Speaker tracking, fast, 4x, hard cut: one write each, one success toast.
    bar.device->clearReceivedRequests();
    choose(tracking->trackingModeButton(), "STRING_FRAME_SPEAKER");
    choose(tracking->trackingSpeedButton(), "STRING_FAST");
    tracking->maximumZoomButton()->setCurrentIndex(2);
    choose(tracking->smoothTrackingButton(), "STRING_CUT");
    click(tracking->saveButton());
    ASSERT_TRUE(waitUntil([&] { return withUrl(requestsOf(bar), "smooth_transition").size() == 1; }));
    QStringList sent;
    for (const QString &r : requestsOf(bar)) {
        if (trackingUrls.contains(r.section(' ', 1, 1)))
            sent << r;
    }
    ASSERT_EQ(sent.size(), 3);
    EXPECT_TRUE(sent[0].startsWith("16 auto_tracking"));
    const QJsonObject body = QJsonDocument::fromJson(sent[0].section(' ', 2).toUtf8()).object();
    EXPECT_TRUE(body.value("talker_tracking").toBool());
    EXPECT_TRUE(body.value("group_framing").toBool());
    EXPECT_EQ(body.value("tracking_speed").toString(), QStringLiteral("Fast"));
    EXPECT_TRUE(sent[1].startsWith("55 maximum_zoom_level")) << qPrintable(sent[1]);
    EXPECT_TRUE(sent[1].contains("4")) << qPrintable(sent[1]);
    EXPECT_TRUE(sent[2].startsWith("57 smooth_transition")) << qPrintable(sent[2]);
    EXPECT_TRUE(waitUntil([&] { return toastWithText(qtTrId("NOTIFICATION_TIP_SAVE_SUCCESSED")); }));

    // A refused write: the failure toast.
    sim::SimFaults faults;
    faults.statusCode = 500;
    bar.device->setFaults(faults);
    click(tracking->saveButton());
    EXPECT_TRUE(waitUntil([&] { return toastWithText(qtTrId("NOTIFICATION_TIP_SAVE_FAILED")); }));
    bar.device->setFaults({});
}

TEST_F(DevicePageFixture, OnScreenDisplaySwitchFollowsTheDevice)
{
    SimHandle camera = plugDevice(sim::Family::Vasko, "VAOSD", "V1.3.2");
    ASSERT_TRUE(openDevicePage("VAOSD"));
    clickTab("STRING_DIAGNOSTICS");
    camera.device->clearReceivedRequests();
    clickEntry("STRING_OSD");
    ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String("osdView"); }));
    auto *osd = page()->pageAs<QOVAOSDView>("osdView");
    ASSERT_TRUE(osd);
    EXPECT_FALSE(osd->describeLabel()->stringValue().isEmpty());

    // The device's state (on) arrives.
    ASSERT_TRUE(waitUntil([&] { return osd->statusLabel()->stringValue() == qtTrId("STRING_ON"); }));
    EXPECT_TRUE(osd->osdSwitch()->checked());
    shot(mainWindow(), "osd_page");

    // Off, accepted.
    click(osd->osdSwitch());
    ASSERT_TRUE(waitUntil([&] { return osd->statusLabel()->stringValue() == qtTrId("STRING_OFF"); }));
    EXPECT_FALSE(osd->osdSwitch()->checked());
    const QStringList puts = withUrl(requestsOf(camera), "osd").filter(QRegularExpression("^24 "));
    ASSERT_EQ(puts.size(), 1);
    EXPECT_FALSE(QJsonDocument::fromJson(puts[0].section(' ', 2).toUtf8()).object().value("enable").toBool(true));

    // On, refused: the switch flips back to off.
    sim::SimFaults faults;
    faults.statusCode = 500;
    camera.device->setFaults(faults);
    click(osd->osdSwitch());
    ASSERT_TRUE(waitUntil([&] { return withUrl(requestsOf(camera), "osd").filter(QRegularExpression("^24 ")).size() == 2; }));
    EXPECT_TRUE(waitUntil([&] { return !osd->osdSwitch()->checked(); }));
    EXPECT_EQ(osd->statusLabel()->stringValue(), qtTrId("STRING_OFF"));
    camera.device->setFaults({});

    // Leaving the page asks once more.
    const int reads = withUrl(requestsOf(camera), "osd").filter(QRegularExpression("^23 ")).size();
    clickEntry("STRING_LOGS");
    EXPECT_TRUE(waitUntil([&] {
        return withUrl(requestsOf(camera), "osd").filter(QRegularExpression("^23 ")).size() == reads + 1;
    }));
}

TEST(OnScreenDisplayPage, DescribingTextByProductName)
{
    bus();
    EXPECT_FALSE(QOVAOSDView(QStringLiteral("Zentaro Halvex")).describeLabel()->stringValue().isEmpty());
    EXPECT_TRUE(QOVAOSDView(QStringLiteral("Another Camera")).describeLabel()->stringValue().isEmpty());
    // Each failure flips the switch once.
    QOVAOSDView page(QStringLiteral("Another Camera"));
    page.setOSDEnabled(true);
    page.setOSDFailed();
    EXPECT_FALSE(page.osdSwitch()->checked());
    EXPECT_EQ(page.statusLabel()->stringValue(), qtTrId("STRING_OFF"));
    page.setOSDFailed();
    EXPECT_TRUE(page.osdSwitch()->checked());
}
