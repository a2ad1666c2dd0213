// The audio meters and audio test pages on the real application, against
// simulated devices; the microphones are synthetic.

#include "SettingsAppTestSupport.h"

#include "QOVAButton.h"
#include "QOVALabel.h"
#include "QOVAMaskView.h"
#include "QOVAProgressIndicator.h"
#include "certificates/QOVACertificateFilePanels.h"
#include "settings/QOVAAudioCapture.h"
#include "settings/QOVAAudioDiagnosticsView.h"
#include "settings/QOVAAudioDownloadWindow.h"
#include "settings/QOVAAudioIndicatorView.h"
#include "settings/QOVAAudioMetersView.h"
#include "settings/QOVAAudioTestWindow.h"

#include "sim/camera/SimAudioCapture.h"
#include "sim/catalogue/SimCatalogueRequestHandler.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>

using namespace settingsapptest;

namespace diagnosticstest {

constexpr float kSilence = -std::numeric_limits<float>::infinity();

// Synthetic microphones: a list of inputs, each with the levels it reports.
// Inputs count their starts and stops and know whether they run.
class SyntheticMicrophones : public QOVAAudioCapture {
public:
    struct Input final : public QOVAAudioInput {
        std::shared_ptr<SyntheticMicrophones> owner;
        QString id;
        ~Input() override { --owner->openInputs; }
        void start() override
        {
            ++owner->starts;
            owner->running = true;
            owner->startedOn = QThread::currentThread()->objectName();
        }
        void stop() override
        {
            ++owner->stops;
            owner->running = false;
        }
        bool isRunning() const override { return owner->running; }
        QVector<float> peakHoldLevels() const override
        {
            std::lock_guard<std::mutex> guard(owner->lock);
            return owner->levels.value(id);
        }
    };

    Authorization authorizationStatus() override { return authorization; }
    QList<QOVAAudioCaptureDevice> audioDevices() override
    {
        std::lock_guard<std::mutex> guard(lock);
        return devices;
    }
    std::unique_ptr<QOVAAudioInput> openInput(const QOVAAudioCaptureDevice &device, QString *) override
    {
        ++opened;
        ++openInputs;
        auto input = std::make_unique<Input>();
        input->owner = self.lock();
        input->id = device.uniqueID;
        return input;
    }
    void setLevels(const QString &id, const QVector<float> &channelLevels)
    {
        std::lock_guard<std::mutex> guard(lock);
        levels[id] = channelLevels;
    }

    std::weak_ptr<SyntheticMicrophones> self;
    Authorization authorization = Authorization::Authorized;
    std::mutex lock;
    QList<QOVAAudioCaptureDevice> devices;
    QHash<QString, QVector<float>> levels;
    std::atomic<int> opened{0};
    std::atomic<int> openInputs{0};
    std::atomic<int> starts{0};
    std::atomic<int> stops{0};
    std::atomic<bool> running{false};
    QString startedOn;
};

// Answers the save panel with nextSave: at once, inside the call (the user
// chose before the archive came), or on a later turn of the loop.
class SavePanelAnswers : public QOVACertificateFilePanels {
public:
    std::optional<QString> nextSave;
    bool answerAtOnce = false;
    QString proposedName;
    QStringList suffixes;
    int asked = 0;
    int closed = 0;

    void chooseFile(const QStringList &, Completion done) override
    {
        QTimer::singleShot(0, [done] { done(std::nullopt); });
    }
    void saveFile(const QString &name, const QStringList &s, Completion done) override
    {
        ++asked;
        proposedName = name;
        suffixes = s;
        if (answerAtOnce)
            done(nextSave);
        else
            QTimer::singleShot(0, [done, answer = nextSave] { done(answer); });
    }
    void closePanels() override { ++closed; }
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool inEnabledLook(QOVAButton *button)
{
    return button->borderColor() == QColor(0x02, 0x77, 0xbd) && button->qovaButtonType() == 1;
}

// The remaining time each time a test window is shown, and the number of
// times a download window is.
class TestWindowShows : public QObject {
public:
    TestWindowShows() { qApp->installEventFilter(this); }
    ~TestWindowShows() override { qApp->removeEventFilter(this); }
    QStringList remaining;
    int downloads = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *window = qobject_cast<QOVAAudioTestWindow *>(watched))
                remaining << window->remainingTimeLabel()->stringValue();
            if (qobject_cast<QOVAAudioDownloadWindow *>(watched))
                ++downloads;
        }
        return false;
    }
};

class DiagnosticsPagesTest : public SettingsAppFixture {
protected:
    void SetUp() override
    {
        SettingsAppFixture::SetUp();
        microphones = std::make_shared<SyntheticMicrophones>();
        microphones->self = microphones;
        QOVAAudioCapture::setShared(microphones);
        panels = std::make_shared<SavePanelAnswers>();
        QOVACertificateFilePanels::setShared(panels);
    }
    void TearDown() override
    {
        SettingsAppFixture::TearDown();
        QOVACertificateFilePanels::setShared(nullptr);
        QOVAAudioCapture::setShared(std::make_shared<devicetest::NoDesktopMicrophones>());
    }

    // Plugs a device and waits until the device manager holds it, not only
    // the device list: a device opened before then sends nothing.
    SimHandle plugReady(sim::Family family, const QString &serial, const QString &firmware = QString())
    {
        SimHandle handle = plugDevice(family, serial, firmware);
        EXPECT_TRUE(waitUntil([&] { return QOVAIOManager::usbManagerShared()->findDevice(serial) != nullptr; }));
        return handle;
    }

    // The input of a device as the desktop names a USB microphone.
    static QString inputId(const QString &serial)
    {
        return QStringLiteral("alsa_input.usb-Zentaro_Skarnfel_Tolm_USB_%1-02.analog-stereo").arg(serial);
    }

    // Opens the diagnostics group of a network camera: its first page is
    // the meters page.
    QOVAAudioMetersView *openMeters(const QString &serial)
    {
        EXPECT_TRUE(openDevicePage(serial));
        clickTab("STRING_DIAGNOSTICS");
        return waitForPage<QOVAAudioMetersView>("audioMetersView");
    }

    // Opens the audio test page of a video bar (the first of its group).
    QOVAAudioDiagnosticsView *openAudioTest(const QString &serial)
    {
        EXPECT_TRUE(openDevicePage(serial));
        clickTab("STRING_DIAGNOSTICS");
        return waitForPage<QOVAAudioDiagnosticsView>("audioDiagnosticsView");
    }

    // Starts a test from the page and waits for its window.
    QOVAAudioTestWindow *startTest(QOVAAudioDiagnosticsView *view)
    {
        QOVAAudioTestWindow *before = view->audioTestWindow();
        click(view->startTestButton());
        waitUntil([&] { return view->audioTestWindow() && view->audioTestWindow() != before; });
        return view->audioTestWindow();
    }

    // Back to idle: no window, no panel, no mask, Start in its enabled look.
    bool idle(QOVAAudioDiagnosticsView *view)
    {
        return !(view->audioTestWindow() && view->audioTestWindow()->isVisible())
               && !(view->audioDownloadWindow() && view->audioDownloadWindow()->isVisible())
               && !view->isSavePanelOpen() && !page()->maskView()->isVisible()
               && inEnabledLook(view->startTestButton());
    }

    std::shared_ptr<SyntheticMicrophones> microphones;
    std::shared_ptr<SavePanelAnswers> panels;
};

// ------------------------------------------------------------ meters

TEST(AudioMicrophoneLocator, FindsTheLastInputNamingTheSerialButNeverAMonitor)
{
    const auto list = [](std::initializer_list<const char *> ids) {
        QList<QOVAAudioCaptureDevice> devices;
        for (const char *id : ids)
            devices << QOVAAudioCaptureDevice{QLatin1String(id), QStringLiteral("name")};
        return devices;
    };
    const struct {
        const char *serial;
        QList<QOVAAudioCaptureDevice> devices;
        std::optional<int> found;
    } cases[] = {
        {"vs123", list({"alsa_input.pci-0000_00_1f.3.analog-stereo", "alsa_input.usb-Zentaro_VS123-02.mono"}), 1},
        {"VS123", list({"alsa_input.usb-zentaro_vs123-02.mono"}), 0},
        {"VS123", list({"usb-VS123-a", "alsa_input.pci.analog-stereo", "usb-vs123-b"}), 2},
        {"VS123", list({"usb-VS123-a", "alsa_output.usb-VS123-02.analog-stereo.monitor"}), 0},
        {"VS123", list({"alsa_output.usb-VS123-02.analog-stereo.Monitor"}), std::nullopt},
        {"VS123", list({"alsa_input.usb-VS12-02.mono", "alsa_input.pci.analog-stereo"}), std::nullopt},
        {"VS123", list({}), std::nullopt},
        {"", list({"alsa_input.usb-VS123-02.mono"}), std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.serial);
        EXPECT_EQ(QOVAAudioCapture::findMicrophone(c.devices, QLatin1String(c.serial)), c.found);
    }
}

TEST_F(DiagnosticsPagesTest, MetersShowEachChannelOnItsOwnBar)
{
    plugReady(sim::Family::Vasko, "VSMETERS");
    microphones->devices = {{QStringLiteral("alsa_input.pci-0000_00_1f.3.analog-stereo"), QStringLiteral("Built-in")},
                            {inputId(QStringLiteral("vsmeters")), QStringLiteral("Skarnfel Tolm USB")}};
    microphones->setLevels(inputId(QStringLiteral("vsmeters")), {-20.0f, kSilence});
    QOVAAudioMetersView *view = openMeters(QStringLiteral("VSMETERS"));
    ASSERT_TRUE(view);
    QOVAAudioIndicatorView *left = view->micInputLeftStrengthIndicator();
    QOVAAudioIndicatorView *right = view->micInputRightStrengthIndicator();

    // -20 dB fills the left bar to its middle, under the scale's "0";
    // silence leaves the right one empty.
    ASSERT_TRUE(waitUntil([&] { return left->doubleValue() == -20.0; }));
    EXPECT_EQ(right->doubleValue(), -40.0);
    EXPECT_EQ(left->minValue(), -40.0);
    EXPECT_EQ(left->maxValue(), 0.0);
    EXPECT_EQ(view->sessionQueue()->objectName(), QStringLiteral("audio session queue"));
    EXPECT_EQ(microphones->startedOn, QStringLiteral("audio session queue"));
    EXPECT_EQ(left->geometry(), QRect(36, left->y(), 330, 36));
    EXPECT_EQ(right->geometry(), QRect(36, left->geometry().bottom() + 1, 330, 36));
    EXPECT_EQ(left->indicator()->geometry(), QRect(130, 17, 200, 8));
    const QOVALabel *zero = left->scaleLabels().at(2);
    EXPECT_EQ(zero->stringValue(), QStringLiteral("0"));
    EXPECT_NEAR(zero->geometry().center().x(), left->indicator()->geometry().center().x(), 1);
    EXPECT_EQ(left->scaleLabels().first()->x(), 130);
    EXPECT_EQ(left->scaleLabels().last()->geometry().right(), left->indicator()->geometry().right());
    // Every scale text shows whole: its ink, in the label's font where the
    // label draws it, lies inside the label, and the label inside the meter
    // (which clips it) and clear of the bar below.
    for (const QOVALabel *label : left->scaleLabels()) {
        SCOPED_TRACE(label->stringValue().toStdString());
        const QList<QRectF> drawn = label->textRects();
        ASSERT_EQ(drawn.size(), 1);
        const QFontMetricsF metrics(label->font());
        const QRectF ink = metrics.boundingRect(label->stringValue())
                               .translated(drawn.first().x(), drawn.first().y() + metrics.ascent());
        EXPECT_TRUE(QRectF(label->rect()).adjusted(-0.5, -0.5, 0.5, 0.5).contains(ink))
            << ink.top() << ".." << ink.bottom() << " in a label " << label->height() << " tall";
        EXPECT_TRUE(left->rect().contains(label->geometry()));
        EXPECT_LE(label->geometry().bottom(), left->indicator()->geometry().top() - 1);
    }
    settledShot("audio_meters_page");

    // Levels beyond the bar are held at its ends; a level that is not a
    // number shows as the bottom.
    const struct {
        float level;
        double shown;
    } levels[] = {
        {0.0f, 0.0},      {6.0f, 0.0},       {-40.0f, -40.0},  {-75.0f, -40.0},
        {-9.5f, -9.5},    {kSilence, -40.0}, {-5.0f, -5.0},    {std::numeric_limits<float>::quiet_NaN(), -40.0},
    };
    for (const auto &l : levels) {
        SCOPED_TRACE(l.level);
        microphones->setLevels(inputId(QStringLiteral("vsmeters")), {l.level, l.level});
        EXPECT_TRUE(waitUntil([&] { return left->doubleValue() == l.shown && right->doubleValue() == l.shown; }));
    }
    EXPECT_EQ(microphones->opened, 1);
    EXPECT_EQ(view->setupResult(), QOVAAudioMetersView::Usable);
}

TEST_F(DiagnosticsPagesTest, OneChannelMicrophoneMovesOnlyTheLeftBar)
{
    plugReady(sim::Family::Vasko, "VSMONO");
    microphones->devices = {{inputId(QStringLiteral("VSMONO")), QStringLiteral("Skarnfel Tolm USB")}};
    microphones->setLevels(inputId(QStringLiteral("VSMONO")), {-12.0f});
    QOVAAudioMetersView *view = openMeters(QStringLiteral("VSMONO"));
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return view->micInputLeftStrengthIndicator()->doubleValue() == -12.0; }));
    spin(30);
    EXPECT_EQ(view->micInputRightStrengthIndicator()->doubleValue(), -40.0);
}

TEST_F(DiagnosticsPagesTest, MetersWithoutAMicrophoneStayEmpty)
{
    const struct {
        const char *serial;
        QOVAAudioCapture::Authorization authorization;
        bool listed;
        qint64 setupResult;
    } cases[] = {
        {"VSDENIED", QOVAAudioCapture::Authorization::Denied, true, QOVAAudioMetersView::NotAuthorized},
        {"VSNOMIC", QOVAAudioCapture::Authorization::Authorized, false, QOVAAudioMetersView::ConfigurationFailed},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.serial);
        const QString serial = QLatin1String(c.serial);
        plugReady(sim::Family::Vasko, serial);
        microphones->authorization = c.authorization;
        microphones->devices = {{inputId(QStringLiteral("OTHER1")), QStringLiteral("Another")}};
        if (c.listed)
            microphones->devices << QOVAAudioCaptureDevice{inputId(serial), QStringLiteral("Skarnfel Tolm USB")};
        microphones->setLevels(inputId(serial), {-10.0f, -10.0f});
        microphones->setLevels(inputId(QStringLiteral("OTHER1")), {-10.0f, -10.0f});
        QOVAAudioMetersView *view = openMeters(serial);
        ASSERT_TRUE(view);
        ASSERT_TRUE(waitUntil([&] { return view->setupResult() == c.setupResult; }));
        spin(30);
        EXPECT_TRUE(view->isMetering());
        EXPECT_EQ(view->micInputLeftStrengthIndicator()->doubleValue(), -40.0);
        EXPECT_EQ(view->micInputRightStrengthIndicator()->doubleValue(), -40.0);
        EXPECT_EQ(microphones->opened, 0);
        unplug(serial);
    }
    EXPECT_TRUE(logText().contains(QStringLiteral("Can not find audio device!")));
}

TEST_F(DiagnosticsPagesTest, MetersStopWheneverThePageLeavesTheScreen)
{
    plugReady(sim::Family::Vasko, "VSLEAVE");
    microphones->devices = {{inputId(QStringLiteral("VSLEAVE")), QStringLiteral("Skarnfel Tolm USB")}};
    microphones->setLevels(inputId(QStringLiteral("VSLEAVE")), {-20.0f, -20.0f});
    QPointer<QOVAAudioMetersView> view = openMeters(QStringLiteral("VSLEAVE"));
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return microphones->running.load(); }));
    auto stopped = [&] { return !microphones->running && !(view && view->isMetering()); };
    auto running = [&] { return microphones->running && view && view->isMetering(); };

    // Another page of the group, and back: started again, not set up again.
    clickEntry("STRING_AUDIO_TEST");
    ASSERT_TRUE(waitUntil(stopped));
    clickEntry("STRING_AUDIO_METERS");
    ASSERT_TRUE(waitUntil(running));
    EXPECT_EQ(microphones->opened, 1);

    // The device list: the device page goes, and the microphone with it.
    delegate()->showDeviceController(delegate()->deviceListController());
    ASSERT_TRUE(waitUntil([&] { return !microphones->running && microphones->openInputs == 0 && !view; }));

    // The device again, then it leaves while its meters are shown.
    view = openMeters(QStringLiteral("VSLEAVE"));
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil(running));
    unplug(QStringLiteral("VSLEAVE"));
    EXPECT_TRUE(waitUntil([&] { return !microphones->running && !(view && view->isMetering()); }));
    EXPECT_EQ(microphones->opened, 2);
    EXPECT_EQ(microphones->starts, microphones->stops);
}

TEST_F(DiagnosticsPagesTest, SimulatedCameraMicrophoneMovesTheMeters)
{
    // What the run command's simulated devices show.
    sim::SimAudioCapture::install(bus());
    plugReady(sim::Family::Vasko, "VSSIMMIC");
    QOVAAudioMetersView *view = openMeters(QStringLiteral("VSSIMMIC"));
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] {
        return view->micInputLeftStrengthIndicator()->doubleValue() > -40.0
               && view->micInputRightStrengthIndicator()->doubleValue() > -40.0;
    }));
    EXPECT_EQ(view->setupResult(), QOVAAudioMetersView::Usable);
    // The left channel is a -20 dBFS tone: its bar stays at the middle, under
    // the scale's "0"; the right one is 10 dB quieter.
    EXPECT_NEAR(view->micInputLeftStrengthIndicator()->doubleValue(), -20.0, 1.0);
    EXPECT_NEAR(view->micInputRightStrengthIndicator()->doubleValue(), -30.0, 1.0);
    for (int step = 0; step < 400; ++step) {
        const double seconds = step * 0.05;
        const QVector<float> levels = sim::SimAudioCapture::levelsAt(seconds);
        ASSERT_EQ(levels.size(), 2);
        EXPECT_NEAR(levels[0], -20.0, 1.0) << seconds;
        EXPECT_NEAR(levels[1], -30.0, 1.0) << seconds;
    }
    settledShot("audio_meters_simulated");
}

// -------------------------------------------------------- audio test

TEST_F(DiagnosticsPagesTest, AudioTestCountsDownThreeMinutesAndPacksAtZero)
{
    SimHandle bar = plugReady(sim::Family::Orbrin, "ORCOUNT", "1.3.0.5");
    QOVAAudioDiagnosticsView *view = openAudioTest(QStringLiteral("ORCOUNT"));
    ASSERT_TRUE(view);
    EXPECT_GE(view->startTestButton()->width(), 88);
    EXPECT_EQ(view->startTestButton()->height(), 24);
    settledShot("audio_test_page");

    // The device keeps its answer: only the window's own countdown moves.
    sim::SimFaults silent;
    silent.noReply = true;
    bar.device->setFaults(silent);
    TestWindowShows shows;
    QOVAAudioTestWindow *window = startTest(view);
    ASSERT_TRUE(window);
    EXPECT_EQ(shows.remaining, QStringList{QStringLiteral("3:00")});
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(400, 170));
    EXPECT_TRUE(page()->maskView()->isVisible());
    EXPECT_FALSE(inEnabledLook(view->startTestButton()));
    ASSERT_TRUE(waitUntil([&] { return requestCount(bar, "audio_diagnostic_record_start") == 1; }));
    shot(mainWindow(), "audio_test_window_recording");

    // 180 ticks of the (scaled) second; a loaded machine may take a while.
    ASSERT_TRUE(waitUntil([&] { return window->isPacking(); }, 120000));
    EXPECT_EQ(window->remainingTimeLabel()->stringValue(), QStringLiteral("0:00"));
    EXPECT_FALSE(window->remainingTimeLabel()->isVisible());
    EXPECT_TRUE(window->stopButton()->disabled());
    EXPECT_TRUE(window->indicator() && window->indicator()->isVisible());
    EXPECT_FALSE(window->isCountingDown());
    EXPECT_TRUE(window->isVisible());
    shot(mainWindow(), "audio_test_window_packing");
    // Reaching zero does not ask the device to stop.
    spin(30);
    EXPECT_EQ(requestCount(bar, "audio_diagnostic_record_stop"), 0);
    bar.device->setFaults({});
}

TEST_F(DiagnosticsPagesTest, StoppedTestIsSavedWhicheverOfArchiveAndPathComesFirst)
{
    SimHandle bar = plugReady(sim::Family::Orbrin, "ORSAVE", "1.3.0.5");
    QOVAAudioDiagnosticsView *view = openAudioTest(QStringLiteral("ORSAVE"));
    ASSERT_TRUE(view);
    QTemporaryDir dir;
    const QByteArray archive = sim::SimCatalogueRequestHandler::audioTestArchive("ORSAVE");
    const struct {
        const char *name;
        bool pathFirst;
        QString path;
        bool written;
    } cases[] = {
        {"archive first", false, dir.filePath("archive first.tar"), true},
        {"path first", true, dir.filePath("path first.tar"), true},
        {"unwritable", false, dir.filePath("no/such/folder/x.tar"), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        toasts.texts.clear();
        panels->answerAtOnce = c.pathFirst;
        panels->nextSave = c.path;
        TestWindowShows shows;
        QOVAAudioTestWindow *window = startTest(view);
        ASSERT_TRUE(window);
        ASSERT_TRUE(waitUntil([&] { return bar.state->audioRecording(); }));
        click(window->stopButton());
        ASSERT_TRUE(waitUntil([&] { return window->isPacking() || !window->isVisible(); }));
        ASSERT_TRUE(waitUntil([&] { return idle(view); }));
        EXPECT_EQ(QFile::exists(c.path), c.written);
        if (c.written) {
            EXPECT_EQ(fileBytes(c.path), archive);
        }
        // The download window showed only while the path waited for the archive.
        EXPECT_EQ(shows.downloads, c.pathFirst ? 1 : 0);
        EXPECT_EQ(toasts.shown("NOTIFICATION_GET_DIAGNOSTICS_FILE_FAILED"), !c.written);
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^ZentaroHalvexAudioTest_\\d{14}\\.tar$"))
                    .match(panels->proposedName)
                    .hasMatch())
        << qPrintable(panels->proposedName);
    // The panel's one file type is the suggested name's own.
    EXPECT_EQ(panels->suffixes, QStringList{QFileInfo(panels->proposedName).suffix()});
    EXPECT_EQ(requestCount(bar, "audio_diagnostic_record_start"), 3);
    EXPECT_EQ(requestCount(bar, "audio_diagnostic_record_stop"), 3);
    EXPECT_EQ(requestCount(bar, "cancel"), 0);
}

TEST_F(DiagnosticsPagesTest, CancelledSaveDropsTheArchiveOrCancelsTheTransfer)
{
    SimHandle bar = plugReady(sim::Family::Orbrin, "ORCANCEL", "1.3.0.5");
    QOVAAudioDiagnosticsView *view = openAudioTest(QStringLiteral("ORCANCEL"));
    ASSERT_TRUE(view);
    const struct {
        const char *name;
        bool beforeArchive;
        int cancels;
    } cases[] = {
        {"archive held", false, 0},
        {"archive still coming", true, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        panels->answerAtOnce = c.beforeArchive;
        panels->nextSave.reset();
        const int asked = panels->asked;
        QOVAAudioTestWindow *window = startTest(view);
        ASSERT_TRUE(window);
        ASSERT_TRUE(waitUntil([&] { return bar.state->audioRecording(); }));
        click(window->stopButton());
        ASSERT_TRUE(waitUntil([&] { return panels->asked > asked && idle(view); }));
        EXPECT_TRUE(waitUntil([&] { return requestCount(bar, "cancel") == c.cancels; }));
        EXPECT_FALSE(view->fileSavedPath());
        EXPECT_FALSE(page()->maskView()->isVisible());
    }
    spin(30);
    EXPECT_EQ(requestCount(bar, "cancel"), 1);
}

TEST_F(DiagnosticsPagesTest, FailedRecordingClosesEveryWindowAndIsToasted)
{
    SimHandle bar = plugReady(sim::Family::Orbrin, "ORFAIL", "1.3.0.5");
    QOVAAudioDiagnosticsView *view = openAudioTest(QStringLiteral("ORFAIL"));
    ASSERT_TRUE(view);
    QTemporaryDir dir;
    const struct {
        const char *name;
        bool refused;   // else: never answered
    } cases[] = {
        {"reply 400", true},
        {"no reply", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        toasts.texts.clear();
        const int closed = panels->closed;
        if (c.refused) {
            bar.state->failRequest(QStringLiteral("audio_diagnostic_record_start"), true, 400, QStringLiteral("busy"));
        } else {
            sim::SimFaults silent;
            silent.noReply = true;
            bar.device->setFaults(silent);
        }
        panels->nextSave = dir.filePath(QStringLiteral("%1.tar").arg(QLatin1String(c.name)));
        ASSERT_TRUE(startTest(view));
        // The request gives up after its (scaled) 350 s.
        ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_GET_DIAGNOSTICS_FILE"); }, 60000));
        EXPECT_TRUE(waitUntil([&] { return idle(view); }));
        // A refusal still ends the recording, which opened the panel: it is closed again.
        EXPECT_EQ(panels->closed - closed, c.refused ? 1 : 0);
        spin(30);
        EXPECT_FALSE(QFile::exists(*panels->nextSave));
        EXPECT_FALSE(view->holdsAudioTestData());
        bar.state->clearRequestFailures();
        bar.device->setFaults({});
    }
}

} // namespace diagnosticstest
