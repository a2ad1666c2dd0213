// The DFU upgrader against simulated DFU 1.1 devices: status sequences,
// start states, faults, the blocks the device receives and the pauses
// between status requests.
#include "QOVADFUUpgrader.h"
#include "UpgraderSupport.h"

#include "platform/TimeScale.h"
#include "upgrader/ProgressTicker.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace upgradertest;

namespace {

const std::vector<int> kIntolerant = {0, 1, 4, 8, 11};
const std::vector<int> kTolerant = {0, 1, 4, 8, 11, 13};

// Passes every request to the device's DFU side and notes when each status
// request came and what poll time-out it answered.
class StatusTiming : public sim::SimControlHandler {
public:
    explicit StatusTiming(std::shared_ptr<sim::SimDfuHandler> inner) : m_inner(std::move(inner)) {}

    std::optional<platform::UsbError> handleControl(sim::SimDeviceHost &host,
                                                    const platform::UsbSetup &setup, uint8_t *data,
                                                    int *transferred) override
    {
        const auto at = std::chrono::steady_clock::now();
        auto result = m_inner->handleControl(host, setup, data, transferred);
        if (setup.bRequest == 3 && setup.bmRequestType == 0xA1 && result
            && *result == platform::UsbError::None && data) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_polls.push_back({at, uint32_t(data[1] | (data[2] << 8) | (data[3] << 16)), data[4]});
        }
        return result;
    }
    void modeChanged(sim::SimDeviceHost &host, sim::Mode mode) override { m_inner->modeChanged(host, mode); }
    bool handleReset(sim::SimDeviceHost &host) override { return m_inner->handleReset(host); }
    std::optional<platform::UsbError> refuseReset(sim::SimDeviceHost &host) override
    {
        return m_inner->refuseReset(host);
    }

    struct Poll {
        std::chrono::steady_clock::time_point at;
        uint32_t pollTimeout;
        uint8_t state;
    };
    std::vector<Poll> polls() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_polls;
    }

private:
    std::shared_ptr<sim::SimDfuHandler> m_inner;
    mutable std::mutex m_mutex;
    std::vector<Poll> m_polls;
};

// Answers the n-th status request with another state than the device's.
class StateRewrite : public sim::SimControlHandler {
public:
    StateRewrite(std::shared_ptr<sim::SimDfuHandler> inner, int at, uint8_t state)
        : m_inner(std::move(inner)), m_at(at), m_state(state) {}

    std::optional<platform::UsbError> handleControl(sim::SimDeviceHost &host,
                                                    const platform::UsbSetup &setup, uint8_t *data,
                                                    int *transferred) override
    {
        auto result = m_inner->handleControl(host, setup, data, transferred);
        if (setup.bRequest == 3 && setup.bmRequestType == 0xA1 && result && data && ++m_count == m_at)
            data[4] = m_state;
        return result;
    }
    void modeChanged(sim::SimDeviceHost &host, sim::Mode mode) override { m_inner->modeChanged(host, mode); }
    bool handleReset(sim::SimDeviceHost &host) override { return m_inner->handleReset(host); }
    std::optional<platform::UsbError> refuseReset(sim::SimDeviceHost &host) override
    {
        return m_inner->refuseReset(host);
    }

private:
    std::shared_ptr<sim::SimDfuHandler> m_inner;
    int m_at;
    uint8_t m_state;
    int m_count = 0;
};

// Passes every request on; the zero-length DNLOAD that ends a download is
// taken by the device but answered with an error (by default as if the
// device had already left the bus).
class FinalBlockUnanswered : public sim::SimControlHandler {
public:
    explicit FinalBlockUnanswered(std::shared_ptr<sim::SimDfuHandler> inner,
                                  platform::UsbError error = platform::UsbError::NoDevice)
        : m_inner(std::move(inner)), m_error(error) {}

    std::optional<platform::UsbError> handleControl(sim::SimDeviceHost &host,
                                                    const platform::UsbSetup &setup, uint8_t *data,
                                                    int *transferred) override
    {
        auto result = m_inner->handleControl(host, setup, data, transferred);
        if (setup.bRequest == 1 && setup.bmRequestType == 0x21 && setup.wLength == 0 && result)
            return m_error;
        return result;
    }
    void modeChanged(sim::SimDeviceHost &host, sim::Mode mode) override { m_inner->modeChanged(host, mode); }
    bool handleReset(sim::SimDeviceHost &host) override { return m_inner->handleReset(host); }
    std::optional<platform::UsbError> refuseReset(sim::SimDeviceHost &host) override
    {
        return m_inner->refuseReset(host);
    }

private:
    std::shared_ptr<sim::SimDfuHandler> m_inner;
    platform::UsbError m_error;
};

// Passes every request on, but holds the host's port reset up for a while
// before the device sees it, as a loaded machine may hold up the thread that
// sends it right after DETACH.
class HeldUpReset : public sim::SimControlHandler {
public:
    HeldUpReset(std::shared_ptr<sim::SimDfuHandler> inner, std::chrono::milliseconds delay)
        : m_inner(std::move(inner)), m_delay(delay) {}

    std::optional<platform::UsbError> handleControl(sim::SimDeviceHost &host,
                                                    const platform::UsbSetup &setup, uint8_t *data,
                                                    int *transferred) override
    {
        return m_inner->handleControl(host, setup, data, transferred);
    }
    void modeChanged(sim::SimDeviceHost &host, sim::Mode mode) override { m_inner->modeChanged(host, mode); }
    bool handleReset(sim::SimDeviceHost &host) override { return m_inner->handleReset(host); }
    std::optional<platform::UsbError> refuseReset(sim::SimDeviceHost &host) override
    {
        std::this_thread::sleep_for(m_delay);
        return m_inner->refuseReset(host);
    }

private:
    std::shared_ptr<sim::SimDfuHandler> m_inner;
    std::chrono::milliseconds m_delay;
};

// Keeps the simulated bus's worker thread busy until released (or
// destroyed), as a loaded machine may keep it from running: work the
// devices schedule from now on is due later and waits behind it.
class HeldUpWorker {
public:
    explicit HeldUpWorker(sim::SimScheduler &scheduler)
    {
        scheduler.post(0, [state = m_state] {
            std::unique_lock<std::mutex> lock(state->mutex);
            state->wake.wait(lock, [&] { return state->released; });
        });
    }
    ~HeldUpWorker() { release(); }
    void release()
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->released = true;
        m_state->wake.notify_all();
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable wake;
        bool released = false;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

class DfuUpgraderTest : public SimBusFixture {
protected:
    // Starts one job that records into job. A device given as stayAway is
    // told, once it is in DFU mode, not to come back.
    void start(const QOVADeviceModelRef &model, const QByteArray &image,
               std::shared_ptr<sim::SimDevice> stayAway = nullptr)
    {
        upgrader = QOVADFUUpgrader::initWithFirmwareModel(model);
        ASSERT_TRUE(upgrader);
        file = mapFile(writeDfuFile(QStringLiteral("fw.dfu"), image));
        upgrader->updateFirmwareWithFile(
            file, [this](double v) { job.progress(v); }, [this](const QString &t) { job.success(t); },
            [this](const QOVAError &e) { job.failed(e); },
            [this, stayAway](int s) {
                if (s == 4 && stayAway) {
                    sim::SimFaults faults;
                    faults.stayAway = true;
                    stayAway->setFaults(faults);
                }
                job.status(s);
            });
    }
    // Runs one job to its end and waits for its thread.
    void flash(const QOVADeviceModelRef &model, const QByteArray &image)
    {
        start(model, image);
        ASSERT_TRUE(job.waitForOutcome());
        upgrader->cancel();  // waits for the job's thread, which has ended
    }
    void TearDown() override
    {
        upgrader.reset();
        dfu_unmap_file(&file);
        SimBusFixture::TearDown();
    }

    // The serial of the n-th case's device; a network camera's carries a
    // sub-number after its first dot, as theirs do.
    static QString caseSerial(sim::Family family, const char *vaskoPrefix, const char *prefix, int n)
    {
        return family == sim::Family::Vasko ? QStringLiteral("%1%2.07").arg(QLatin1String(vaskoPrefix)).arg(n)
                                            : QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(n);
    }
    // The version a device of the family reports back in run mode after
    // plugForFlash(). The small camera's version is a BCD number it reports
    // as "major.0.minor".
    static QString versionAfterFlash(sim::Family family)
    {
        return family == sim::Family::Pirok ? QStringLiteral("12.0.9") : QStringLiteral("9.9");
    }
    Plugged plugForFlash(sim::Family family, const QString &serial, sim::SimDfuConfig config)
    {
        config.versionAfterUpdate = versionAfterFlash(family);
        return plug(family, serial, config);
    }

    std::vector<uint8_t> requestsAfterFirstDownload(const Plugged &p)
    {
        auto requests = p.handler->requests();
        auto first = std::find(requests.begin(), requests.end(), uint8_t(DFU_DNLOAD));
        return std::vector<uint8_t>(first, requests.end());
    }

    JobRecorder job;
    QOVADFUUpgraderRef upgrader;
    dfu_file file;
};

} // namespace

// Every combination of manifestation tolerance and WillDetach, for each
// family: the status codes, the blocks the device got, the model's product
// id, the device back in run mode with the new firmware, and the port resets
// the host sent: none to a device that detaches by itself, one after DETACH
// otherwise, and one more after manifestation when it is not tolerant.
TEST_F(DfuUpgraderTest, FlashesEveryFamilyWithEachDetachAndManifestationKind)
{
    struct Case {
        sim::Family family;
        uint8_t attributes;
        std::vector<int> statuses;
        int resets;
    } cases[] = {
        {sim::Family::Orbrin, 0x09, kIntolerant, 0}, {sim::Family::Orbrin, 0x0D, kTolerant, 0},
        {sim::Family::Vasko, 0x01, kIntolerant, 2},  {sim::Family::Vasko, 0x05, kTolerant, 1},
        {sim::Family::Pirok, 0x0D, kTolerant, 0},    {sim::Family::Pirok, 0x01, kIntolerant, 2},
    };
    const QByteArray image = testsupport::randomBytes(10000, 7);
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "family " << int(c.family) << " attributes " << int(c.attributes));
        const QString serial = caseSerial(c.family, "VK", "SN", n++);
        const QString newVersion = versionAfterFlash(c.family);
        const Plugged p = plugForFlash(c.family, serial, dfuConfig(c.attributes));
        const QOVADeviceModelRef model = modelFor(c.family, serial);
        job.reset();
        flash(model, image);

        EXPECT_EQ(job.statuses(), c.statuses);
        ASSERT_EQ(job.successes().size(), 1u);
        // Success carries the version the device reports back in run mode.
        EXPECT_EQ(job.successes().front(), newVersion);
        EXPECT_TRUE(job.failures().empty());

        // 10 blocks of 1024 bytes or less, numbered from 0, then the empty
        // block 10; the image without its suffix.
        const auto blocks = p.handler->blocks();
        ASSERT_EQ(blocks.size(), 11u);
        for (size_t i = 0; i < blocks.size(); ++i)
            EXPECT_EQ(blocks[i].number, i);
        EXPECT_TRUE(blocks.back().data.isEmpty());
        EXPECT_EQ(p.handler->installedImage(), image);
        EXPECT_EQ(p.handler->manifestCount(), 1);
        EXPECT_EQ(p.handler->resetCount(), c.resets);

        // Back in run mode with the new version; the model keeps its
        // run-mode id.
        EXPECT_TRUE(waitUntil([&] { return p.device->isPresent() && p.device->mode() == sim::Mode::Run; }));
        EXPECT_EQ(p.device->firmwareVersion(), newVersion);
        EXPECT_EQ(model->productPID(), QLatin1String(runPid(c.family)));

        // In DFU mode the device is never sent DETACH.
        const auto dfuRequests = requestsAfterFirstDownload(p);
        EXPECT_EQ(std::count(dfuRequests.begin(), dfuRequests.end(), uint8_t(DFU_DETACH)), 0);

        // Progress rose from 0.01 and none came after the outcome.
        const auto progress = job.progress();
        ASSERT_FALSE(progress.empty());
        EXPECT_DOUBLE_EQ(progress.front(), 0.01);
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        EXPECT_EQ(progress.size(), job.progressAtOutcome());
        upgrader.reset();
        dfu_unmap_file(&file);
    }
}

// A loaded machine holds threads up: the host between DETACH and its port
// reset (for far less than the device's wDetachTimeOut), or the simulated
// bus's worker that brings devices back after they re-enumerate. Neither
// changes what the device does, and the flash goes as on an idle machine.
TEST_F(DfuUpgraderTest, FlashGoesThroughWhenThreadsAreHeldUpAsOnALoadedMachine)
{
    struct Case {
        const char *name;
        sim::Family family;
        uint8_t attributes;
        bool resetHeldUp;
        bool workerHeldUp;
        std::vector<int> statuses;
        int resets;
    } cases[] = {
        {"reset held up, not tolerant", sim::Family::Vasko, 0x01, true, false, kIntolerant, 2},
        {"reset held up, tolerant", sim::Family::Pirok, 0x05, true, false, kTolerant, 1},
        {"bus worker held up, detaches by itself", sim::Family::Pirok, 0x09, false, true, kIntolerant, 0},
        {"bus worker held up, reset by the host", sim::Family::Vasko, 0x01, false, true, kIntolerant, 2},
    };
    const QByteArray image = testsupport::randomBytes(3000, 21);
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString serial = caseSerial(c.family, "VH", "PH", n++);
        const QString newVersion = versionAfterFlash(c.family);
        const Plugged p = plugForFlash(c.family, serial, dfuConfig(c.attributes));
        if (c.resetHeldUp) {
            // Five times the window the device would have at the tests'
            // time scale were it scaled, a twentieth of its real one.
            p.device->removeControlHandler(p.handler);
            p.device->addControlHandler(std::make_shared<HeldUpReset>(p.handler, std::chrono::milliseconds(50)));
        }
        std::optional<HeldUpWorker> worker;
        if (c.workerHeldUp)
            worker.emplace(bus->scheduler());
        const QOVADeviceModelRef model = modelFor(c.family, serial);
        job.reset();
        flash(model, image);

        EXPECT_EQ(job.statuses(), c.statuses);
        ASSERT_EQ(job.successes().size(), 1u);
        EXPECT_EQ(job.successes().front(), newVersion);
        EXPECT_EQ(p.handler->installedImage(), image);
        EXPECT_EQ(p.handler->resetCount(), c.resets);
        EXPECT_EQ(model->productPID(), QLatin1String(runPid(c.family)));
        worker.reset();
        EXPECT_TRUE(waitUntil([&] { return p.device->isPresent() && p.device->mode() == sim::Mode::Run; }));
        upgrader.reset();
        dfu_unmap_file(&file);
    }
}

// The progress estimate gives its first step on the thread that starts it,
// before start() returns: a job that ends soon after never goes without
// one, however late the estimate's own thread first runs. None comes after
// stop().
TEST(DfuProgressEstimate, FirstStepComesAtOnceOnTheStartingThreadAndNoneAfterStop)
{
    std::mutex mutex;
    std::condition_variable stepped;
    std::vector<double> values;
    std::vector<std::thread::id> threads;
    upgrader::ProgressTicker ticker;
    ticker.start(std::chrono::hours(1), [&](double v) {
        std::lock_guard<std::mutex> lock(mutex);
        values.push_back(v);
        threads.push_back(std::this_thread::get_id());
    });
    {
        std::lock_guard<std::mutex> lock(mutex);
        ASSERT_EQ(values, std::vector<double>{0.01});
        EXPECT_EQ(threads.front(), std::this_thread::get_id());
    }
    ticker.stop();
    EXPECT_EQ(values.size(), 1u);

    // Restarted with a short interval: the steps run on, in order, from 0.01.
    values.clear();
    ticker.start(std::chrono::milliseconds(1), [&](double v) {
        std::lock_guard<std::mutex> lock(mutex);
        values.push_back(v);
        stepped.notify_all();
    });
    {
        std::unique_lock<std::mutex> lock(mutex);
        stepped.wait_for(lock, std::chrono::seconds(30), [&] { return values.size() >= 3; });
    }
    ticker.stop();
    std::lock_guard<std::mutex> lock(mutex);
    const std::vector<double> stopped = values;
    ASSERT_GE(stopped.size(), 3u);
    for (size_t i = 0; i < stopped.size(); ++i)
        EXPECT_DOUBLE_EQ(stopped[i], double(i + 1) / 100.0);
}

// The device's own time-outs: every status request comes at least the
// bwPollTimeout of the previous answer later, while busy with a block and
// during manifestation (the device stalls a request that comes too soon).
TEST_F(DfuUpgraderTest, StatusRequestsWaitThePollTimeoutOfTheLastAnswer)
{
    sim::SimDfuConfig config = dfuConfig(0x0D);
    config.pollTimeoutMs = 300;
    config.busyTimeMs = 300;
    config.manifestPollTimeoutMs = 400;
    config.manifestTimeMs = 400;
    Plugged p = plug(sim::Family::Orbrin, QStringLiteral("OR1"), config);
    auto timing = std::make_shared<StatusTiming>(p.handler);
    p.device->removeControlHandler(p.handler);
    p.device->addControlHandler(timing);

    flash(modelFor(sim::Family::Orbrin, QStringLiteral("OR1")), testsupport::randomBytes(5000, 3));
    EXPECT_EQ(job.statuses(), kTolerant);
    EXPECT_EQ(job.successes().size(), 1u);

    const auto polls = timing->polls();
    ASSERT_GE(polls.size(), 12u);  // at least one busy answer per block, and manifestation
    int busy = 0;
    for (size_t i = 1; i < polls.size(); ++i) {
        if (polls[i - 1].state == DFU_STATE_DFU_DNBUSY)
            ++busy;
        const auto gap = polls[i].at - polls[i - 1].at;
        EXPECT_GE(gap, std::chrono::milliseconds(platform::scaledMs(polls[i - 1].pollTimeout)))
            << "status request " << i << " after state " << int(polls[i - 1].state);
    }
    EXPECT_EQ(busy, 5);
}

// An image whose length is a whole number of blocks: n full blocks, then
// the empty block numbered n.
TEST_F(DfuUpgraderTest, ImageOfWholeBlocksEndsWithAnEmptyBlockNumberedN)
{
    const Plugged p = plug(sim::Family::Pirok, QStringLiteral("PK1"), dfuConfig(0x09));
    const QByteArray image = testsupport::randomBytes(4096, 9);
    flash(modelFor(sim::Family::Pirok, QStringLiteral("PK1")), image);
    ASSERT_EQ(job.successes().size(), 1u);
    const auto blocks = p.handler->blocks();
    ASSERT_EQ(blocks.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(blocks[i].number, i);
        EXPECT_EQ(blocks[i].data.size(), 1024);
    }
    EXPECT_EQ(blocks[4].number, 4);
    EXPECT_TRUE(blocks[4].data.isEmpty());
    EXPECT_EQ(p.handler->installedImage(), image);
}

// Faults: each job ends once, with the failure, the code and the status
// codes the caller acts on, and no request reaches the device afterwards.
TEST_F(DfuUpgraderTest, FaultsEndTheJobOnceWithTheirCodeAndStatuses)
{
    struct Case {
        const char *name;
        std::function<void(sim::SimDfuConfig &)> configure;
        bool stayAwayInDfuMode;
        std::vector<int> statuses;
        int code;
        const char *description;
    } cases[] = {
        {"never back in DFU mode", [](sim::SimDfuConfig &c) { c.neverReenumerate = true; }, false,
         {0, 1, 3, 12}, 2, "STRING_UPDATE_FAILED"},
        {"never back in run mode", [](sim::SimDfuConfig &) {}, true, {0, 1, 4, 8, 10, 12}, 2,
         "STRING_UPDATE_FAILED"},
        {"DETACH refused", [](sim::SimDfuConfig &c) { c.stallDetach = true; }, false, {0, 1, 2, 13}, 0,
         "STRING_UPDATE_FAILED_INCALL"},
        {"corrupt firmware", [](sim::SimDfuConfig &c) { c.errFirmware = true; }, false, {0, 1, 4, 13}, 1,
         "STRING_UPDATE_FAILED"},
        {"unplugged mid-download", [](sim::SimDfuConfig &c) { c.unplugAfterBlocks = 3; }, false,
         {0, 1, 4, 12}, 2, "STRING_UPDATE_FAILED"},
        {"short status reply", [](sim::SimDfuConfig &c) { c.statusReplyLength = 4; }, false,
         {0, 1, 4, 13}, 0, "STRING_UPDATE_FAILED"},
        // A device that does not detach by itself, whose port reset fails.
        {"reset after DETACH fails",
         [](sim::SimDfuConfig &c) { c.bmAttributes = 0x01; c.failReset = 1; }, false,
         {0, 1, 9, 13}, 0, "STRING_UPDATE_FAILED"},
        {"reset after manifestation fails",
         [](sim::SimDfuConfig &c) { c.bmAttributes = 0x01; c.failReset = 2; }, false,
         {0, 1, 4, 9, 13}, 0, "STRING_UPDATE_FAILED"},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString serial = QStringLiteral("OR%1").arg(n++);
        sim::SimDfuConfig config = dfuConfig(0x09);
        c.configure(config);
        const Plugged p = plug(sim::Family::Orbrin, serial, config);
        job.reset();
        start(modelFor(sim::Family::Orbrin, serial), testsupport::randomBytes(8000, n),
              c.stayAwayInDfuMode ? p.device : nullptr);
        ASSERT_TRUE(job.waitForOutcome());
        const size_t requestsAtOutcome = p.handler->requests().size();
        upgrader->cancel();

        EXPECT_EQ(job.statuses(), c.statuses);
        EXPECT_EQ(job.outcomes(), 1);
        ASSERT_EQ(job.failures().size(), 1u);
        EXPECT_EQ(job.failures().front().code(), c.code);
        EXPECT_EQ(job.failures().front().localizedDescription(), QLatin1String(c.description));
        EXPECT_EQ(p.handler->requests().size(), requestsAtOutcome);
        EXPECT_EQ(job.progress().size(), job.progressAtOutcome());
        upgrader.reset();
        dfu_unmap_file(&file);
    }
}

// A status the current state has no transition for (dfuMANIFEST-SYNC or
// dfuIDLE while blocks are still being sent) ends the job as a DFU error
// instead of leaving it waiting for ever.
TEST_F(DfuUpgraderTest, StatusWithNoTransitionEndsTheJob)
{
    for (uint8_t state : {uint8_t(DFU_STATE_DFU_MANIFEST_SYNC), uint8_t(DFU_STATE_DFU_IDLE)}) {
        SCOPED_TRACE(int(state));
        const QString serial = QStringLiteral("OR%1").arg(int(state));
        Plugged p = plug(sim::Family::Orbrin, serial, dfuConfig(0x09));
        p.device->removeControlHandler(p.handler);
        p.device->addControlHandler(std::make_shared<StateRewrite>(p.handler, 3, state));
        job.reset();
        flash(modelFor(sim::Family::Orbrin, serial), testsupport::randomBytes(8000, 4));
        EXPECT_EQ(job.statuses(), (std::vector<int>{0, 1, 4, 13}));
        ASSERT_EQ(job.failures().size(), 1u);
        EXPECT_EQ(job.failures().front().code(), 0);
        EXPECT_EQ(job.outcomes(), 1);
        EXPECT_EQ(p.handler->blocks().size(), 3u);  // nothing sent after the third answer
        upgrader.reset();
        dfu_unmap_file(&file);
    }
}

// A device that restarts by itself as soon as the whole image is in, so the
// status request after the last block (or the last block's own answer) finds
// it gone: the outcome is the version it comes back with, within the family's
// reset wait. A status the device does answer in manifestation is not
// second-guessed (see the corrupt firmware fault above).
TEST_F(DfuUpgraderTest, DeviceThatRestartsAfterTheLastBlockIsJudgedByTheVersionItComesBackWith)
{
    struct Case {
        const char *name;
        uint8_t attributes;
        QString packageVersion;     // what the caller says the file installs
        bool keepOldFirmware;
        bool stayAway;
        bool finalBlockUnanswered;
        std::vector<int> statuses;
        std::optional<int> failureCode;  // none: success
        const char *description;
    } cases[] = {
        {"back with the package's version", 0x09, QStringLiteral("12.0.9"), false, false, false,
         {0, 1, 4, 8, 11}, std::nullopt, ""},
        {"tolerant, reset by the host, back with the package's version", 0x05, QStringLiteral("12.0.9"),
         false, false, false, {0, 1, 4, 8, 11}, std::nullopt, ""},
        {"last block unanswered, back with the package's version", 0x09, QStringLiteral("12.0.9"), false,
         false, true, {0, 1, 4, 8, 11}, std::nullopt, ""},
        {"no package version, back with another one", 0x09, QString(), false, false, false,
         {0, 1, 4, 8, 11}, std::nullopt, ""},
        {"back with its old firmware", 0x09, QStringLiteral("12.0.9"), true, false, false,
         {0, 1, 4, 8, 11, 13}, 0, "STRING_UPDATE_NOT_INSTALLED"},
        {"no package version, back with the version it had", 0x09, QString(), true, false, false,
         {0, 1, 4, 8, 11, 13}, 0, "STRING_UPDATE_NOT_CONFIRMED"},
        {"never back", 0x09, QStringLiteral("12.0.9"), false, true, false, {0, 1, 4, 8, 10, 12}, 2,
         "STRING_UPDATE_NOT_BACK"},
    };
    const QByteArray image = testsupport::randomBytes(7000, 5);
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString serial = QStringLiteral("PK%1").arg(n++);
        sim::SimDfuConfig config = dfuConfig(c.attributes);
        config.resetOnFinalBlock = true;
        config.keepOldFirmware = c.keepOldFirmware;
        // The small camera reports its version as "major.0.minor".
        config.versionAfterUpdate = QStringLiteral("12.0.9");
        Plugged p = plug(sim::Family::Pirok, serial, config);
        if (c.finalBlockUnanswered) {
            p.device->removeControlHandler(p.handler);
            p.device->addControlHandler(std::make_shared<FinalBlockUnanswered>(p.handler));
        }
        const QString versionBefore = p.device->firmwareVersion();
        const QOVADeviceModelRef model = modelFor(sim::Family::Pirok, serial);
        model->setProductVersion(versionBefore);
        model->setFlashingVersion(c.packageVersion);

        job.reset();
        start(model, image, c.stayAway ? p.device : nullptr);
        ASSERT_TRUE(job.waitForOutcome());
        upgrader->cancel();

        EXPECT_EQ(job.statuses(), c.statuses);
        EXPECT_EQ(job.outcomes(), 1);
        if (!c.failureCode) {
            ASSERT_EQ(job.successes().size(), 1u);
            EXPECT_EQ(job.successes().front(), QStringLiteral("12.0.9"));
            EXPECT_EQ(p.handler->installedImage(), image);
            EXPECT_EQ(p.device->firmwareVersion(), QStringLiteral("12.0.9"));
        } else {
            ASSERT_EQ(job.failures().size(), 1u);
            EXPECT_EQ(job.failures().front().code(), *c.failureCode);
            EXPECT_EQ(job.failures().front().localizedDescription(), QLatin1String(c.description));
            if (c.keepOldFirmware) {
                EXPECT_EQ(p.device->firmwareVersion(), versionBefore);
            }
        }
        EXPECT_EQ(model->productPID(), QStringLiteral("5c01"));
        EXPECT_EQ(job.progress().size(), job.progressAtOutcome());
        upgrader.reset();
        dfu_unmap_file(&file);
    }
}

// However the flash ended, the device back in run mode is judged by the
// version it reports, with its family's version rule: not older than the
// package's is success (carrying that version), the version it ran before is
// "not installed", anything else "could not be confirmed". Without a package
// version (a local file), a device that was in DFU mode and now runs is a
// success. A device that stops answering after the last block but is still
// on the bus in DFU mode has not left: it fails at once and stays there.
TEST_F(DfuUpgraderTest, DeviceBackInRunModeIsJudgedByItsVersionWhicheverWayTheFlashEnded)
{
    using sim::Family;
    const std::vector<int> intolerant = kIntolerant;
    const std::vector<int> intolerantFailed = {0, 1, 4, 8, 11, 13};
    const std::vector<int> fromDfuMode = {0, 8, 11};
    const std::vector<int> failedInDfuMode = {0, 1, 4, 13};
    struct Case {
        const char *name;
        Family family;
        sim::Mode mode;
        uint8_t attributes;
        QString packageVersion;
        QString versionAfter;  // what the device runs after a flash it takes
        bool keepOldFirmware;
        bool resetOnFinalBlock;
        bool hang;             // stays in DFU mode, answering nothing more
        std::optional<platform::UsbError> finalBlockError;
        std::vector<int> statuses;
        const char *outcome;   // the success's version, or the failure's text
        int failureCode;       // -1: success
    } cases[] = {
        {"video bar back with the package's version", Family::Orbrin, sim::Mode::Run, 0x09, "1.1.6", "1.1.6",
         false, false, false, {}, intolerant, "1.1.6", -1},
        {"video bar, tolerant, back with its old firmware", Family::Orbrin, sim::Mode::Run, 0x0D, "1.1.6",
         "1.1.6", true, false, false, {}, intolerantFailed, "STRING_UPDATE_NOT_INSTALLED", 0},
        {"network camera reset by the host, back with its old firmware", Family::Vasko, sim::Mode::Run, 0x01,
         "1.3.2-7", "1.3.2-7", true, false, false, {}, intolerantFailed, "STRING_UPDATE_NOT_INSTALLED", 0},
        {"small camera back with its old firmware", Family::Pirok, sim::Mode::Run, 0x09, "12.0.4", "12.0.4",
         true, false, false, {}, intolerantFailed, "STRING_UPDATE_NOT_INSTALLED", 0},
        {"small camera, package version written differently", Family::Pirok, sim::Mode::Run, 0x09, "12.0.04",
         "12.0.4", false, false, false, {}, intolerant, "12.0.4", -1},
        {"network camera, package version written differently", Family::Vasko, sim::Mode::Run, 0x09,
         "1.3.2-07", "1.3.2-7", false, false, false, {}, intolerant, "1.3.2-7", -1},
        {"video bar back with a newer version than the package's", Family::Orbrin, sim::Mode::Run, 0x09,
         "1.1.6", "1.1.7", false, false, false, {}, intolerant, "1.1.7", -1},
        {"small camera back with an older version that is not its old one", Family::Pirok, sim::Mode::Run,
         0x09, "12.0.9", "12.0.5", false, false, false, {}, intolerantFailed, "STRING_UPDATE_NOT_CONFIRMED", 0},
        {"still in DFU mode, time-outs after the last block", Family::Pirok, sim::Mode::Run, 0x09, "12.0.4",
         "12.0.4", false, false, true, {}, failedInDfuMode, "STRING_UPDATE_FAILED", 0},
        {"still in DFU mode, I/O error on the last block", Family::Pirok, sim::Mode::Run, 0x09, "12.0.4",
         "12.0.4", false, false, false, platform::UsbError::Other, failedInDfuMode, "STRING_UPDATE_FAILED", 0},
        {"I/O error on the last block as the device restarts", Family::Pirok, sim::Mode::Run, 0x09, "12.0.4",
         "12.0.4", false, true, false, platform::UsbError::Other, intolerant, "12.0.4", -1},
        {"in DFU mode, local file, back in run mode", Family::Orbrin, sim::Mode::Dfu, 0x09, QString(), "1.1.6",
         false, false, false, {}, fromDfuMode, "1.1.6", -1},
        {"in DFU mode, local file, restarts on the last block", Family::Orbrin, sim::Mode::Dfu, 0x09, QString(),
         "1.1.6", false, true, false, {}, fromDfuMode, "1.1.6", -1},
    };
    const QByteArray image = testsupport::randomBytes(6000, 11);
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString serial = caseSerial(c.family, "VJ", "JD", n++);
        sim::SimDfuConfig config = dfuConfig(c.attributes);
        config.versionAfterUpdate = c.versionAfter;
        config.keepOldFirmware = c.keepOldFirmware;
        config.resetOnFinalBlock = c.resetOnFinalBlock;
        config.hangAfterFinalBlock = c.hang;
        Plugged p = plug(c.family, serial, config, c.mode);
        if (c.finalBlockError) {
            p.device->removeControlHandler(p.handler);
            p.device->addControlHandler(std::make_shared<FinalBlockUnanswered>(p.handler, *c.finalBlockError));
        }
        const QString versionBefore = p.device->firmwareVersion();
        const QOVADeviceModelRef model = modelFor(c.family, serial, c.mode);
        model->setProductVersion(versionBefore);
        model->setFlashingVersion(c.packageVersion);

        job.reset();
        start(model, image);
        ASSERT_TRUE(job.waitForOutcome());
        upgrader->cancel();

        EXPECT_EQ(job.statuses(), c.statuses);
        EXPECT_EQ(job.outcomes(), 1);
        if (c.failureCode < 0) {
            ASSERT_EQ(job.successes().size(), 1u);
            EXPECT_EQ(job.successes().front(), QLatin1String(c.outcome));
            EXPECT_EQ(p.device->firmwareVersion(), QLatin1String(c.outcome));
        } else {
            ASSERT_EQ(job.failures().size(), 1u);
            EXPECT_EQ(job.failures().front().code(), c.failureCode);
            EXPECT_EQ(job.failures().front().localizedDescription(), QLatin1String(c.outcome));
        }
        if (c.keepOldFirmware) {
            EXPECT_EQ(p.device->firmwareVersion(), versionBefore);
        }
        if (c.hang || (c.finalBlockError && !c.resetOnFinalBlock)) {
            // Never left: still on the bus in DFU mode, for another try.
            EXPECT_TRUE(p.device->isPresent());
            EXPECT_EQ(p.device->mode(), sim::Mode::Dfu);
        }
        EXPECT_EQ(job.progress().size(), job.progressAtOutcome());
        upgrader.reset();
        dfu_unmap_file(&file);
    }
}

// The device's state when the job starts decides where the machine begins.
TEST_F(DfuUpgraderTest, StartStateDecidesWhereTheJobBegins)
{
    struct Case {
        const char *name;
        sim::Mode mode;
        std::optional<uint8_t> initialDfuState;
        bool detachFirst;           // DETACH sent by hand before the job
        std::vector<int> statuses;
        std::optional<uint8_t> requestBeforeDownload;  // ABORT or CLRSTATUS
        bool succeeds;
    } cases[] = {
        {"appIDLE", sim::Mode::Run, std::nullopt, false, {0, 1, 4, 8, 11, 13}, std::nullopt, true},
        {"appDETACH", sim::Mode::Run, std::nullopt, true, {0, 4, 8, 11, 13}, std::nullopt, true},
        {"dfuIDLE", sim::Mode::Dfu, std::nullopt, false, {0, 8, 11, 13}, std::nullopt, true},
        {"dfuERROR", sim::Mode::Dfu, DFU_STATE_DFU_ERROR, false, {0, 8, 11, 13}, DFU_CLRSTATUS, true},
        {"dfuDNLOAD-IDLE", sim::Mode::Dfu, DFU_STATE_DFU_DNLOAD_IDLE, false, {0, 8, 11, 13}, DFU_ABORT, true},
        {"dfuDNLOAD-SYNC", sim::Mode::Dfu, DFU_STATE_DFU_DNLOAD_SYNC, false, {0, 13}, std::nullopt, false},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString serial = QStringLiteral("PK%1").arg(n++);
        sim::SimDfuConfig config = dfuConfig(0x05);  // tolerant, reset by the host
        config.wDetachTimeOut = 60000;                // stays in appDETACH until reset
        config.initialDfuState = c.initialDfuState;
        const Plugged p = plug(sim::Family::Pirok, serial, config, c.mode);
        const QOVADeviceModelRef model = modelFor(sim::Family::Pirok, serial, c.mode);
        if (c.detachFirst) {
            auto intf = find_dfu_interface(p.device ? find_usb_device_interface("1d5c", "5c01", serial) : nullptr);
            ASSERT_TRUE(intf);
            ASSERT_EQ(dfu_detach(*intf, 60000), kDfuIoSuccess);
        }
        job.reset();
        flash(model, testsupport::randomBytes(3000, n));

        EXPECT_EQ(job.statuses(), c.statuses);
        EXPECT_EQ(job.successes().size(), c.succeeds ? 1u : 0u);
        EXPECT_EQ(job.failures().size(), c.succeeds ? 0u : 1u);
        const auto requests = p.handler->requests();
        const auto download = std::find(requests.begin(), requests.end(), uint8_t(DFU_DNLOAD));
        if (c.requestBeforeDownload) {
            EXPECT_NE(std::find(requests.begin(), download, *c.requestBeforeDownload), download);
        }
        if (c.succeeds) {
            EXPECT_EQ(model->productPID(), QStringLiteral("5c01"));
        }
        upgrader.reset();
        dfu_unmap_file(&file);
    }
}

TEST(DfuUpgraderFigures, WaitsAndDurationsByFamily)
{
    struct Case {
        const char *pid;
        uint16_t transferSize;
        double detach, reset, duration;
    } cases[] = {
        {"6e17", 4096, 50, 90, 225}, {"6E18", 2048, 50, 90, 285}, {"5c01", 4096, 12, 16, 60},
        {"5C02", 1024, 12, 16, 60},  {"6e12", 4096, 30, 25, 45},  {"6e13", 64, 30, 25, 45},
        {"1234", 4096, 6, 8, 60},
    };
    for (const Case &c : cases) {
        const auto d = QOVADFUUpgrader::delaysForProduct(QLatin1String(c.pid), c.transferSize);
        EXPECT_EQ(d.detachDelay, c.detach) << c.pid;
        EXPECT_EQ(d.resetDelay, c.reset) << c.pid;
        EXPECT_EQ(d.upgradeTime, c.duration) << c.pid;
    }
    EXPECT_EQ(QOVADFUUpgrader::dfuModeProductId(QStringLiteral("6E17")), QStringLiteral("6e18"));
    EXPECT_EQ(QOVADFUUpgrader::runModeProductId(QStringLiteral("5c02")), QStringLiteral("5c01"));
    EXPECT_EQ(QOVADFUUpgrader::dfuModeProductId(QStringLiteral("6e13")), QStringLiteral("6e13"));
}

TEST_F(DfuUpgraderTest, DeviceThatIsNotThereOrTakesNoDownloadGivesNoUpgrader)
{
    EXPECT_FALSE(QOVADFUUpgrader::initWithFirmwareModel(nullptr));
    EXPECT_FALSE(QOVADFUUpgrader::initWithFirmwareModel(modelFor(sim::Family::Orbrin, QStringLiteral("none"))));
    plug(sim::Family::Orbrin, QStringLiteral("OR9"), dfuConfig(0x0A));  // no bitCanDnload
    EXPECT_FALSE(QOVADFUUpgrader::initWithFirmwareModel(modelFor(sim::Family::Orbrin, QStringLiteral("OR9"))));
}
