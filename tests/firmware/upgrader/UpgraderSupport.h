#pragma once
// Shared pieces of the upgrader tests: a simulated bus installed as the
// backend, simulated devices with a DFU side, device models as discovery
// makes them, DFU files on disk, and a recorder of one job's callbacks.

#include "QOVADeviceModel.h"
#include "QOVAError.h"
#include "dfu_file.h"
#include "platform/Backend.h"
#include "sim/SimBackend.h"
#include "sim/SimBus.h"
#include "sim/dfu/SimDfuHandler.h"
#include "support/DfuFileMaker.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

namespace upgradertest {

inline const char *runPid(sim::Family family)
{
    switch (family) {
    case sim::Family::Orbrin: return "6e17";
    case sim::Family::Vasko: return "6e12";
    case sim::Family::Pirok: return "5c01";
    }
    return "";
}

inline const char *dfuPid(sim::Family family)
{
    switch (family) {
    case sim::Family::Orbrin: return "6e18";
    case sim::Family::Vasko: return "6e13";
    case sim::Family::Pirok: return "5c02";
    }
    return "";
}

// What one job reported, as its callbacks saw it.
class JobRecorder {
public:
    void reset()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_statuses.clear();
        m_progress.clear();
        m_progressAtOutcome = 0;
        m_successes.clear();
        m_failures.clear();
    }
    void status(int code)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_statuses.push_back(code);
    }
    void progress(double value)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_progress.push_back(value);
    }
    void success(const QString &text)
    {
        // Notified under the lock: the waiter may destroy the recorder as
        // soon as it sees the outcome.
        std::lock_guard<std::mutex> lock(m_mutex);
        m_successes.push_back(text);
        m_progressAtOutcome = m_progress.size();
        m_done.notify_all();
    }
    void failed(const QOVAError &error)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_failures.push_back(error);
        m_progressAtOutcome = m_progress.size();
        m_done.notify_all();
    }

    // Waits for the outcome; false when none came within a generous bound.
    bool waitForOutcome(int limitMs = 30000)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_done.wait_for(lock, std::chrono::milliseconds(limitMs),
                               [this] { return !m_successes.empty() || !m_failures.empty(); });
    }

    std::vector<int> statuses() const { std::lock_guard<std::mutex> l(m_mutex); return m_statuses; }
    std::vector<double> progress() const { std::lock_guard<std::mutex> l(m_mutex); return m_progress; }
    size_t progressAtOutcome() const { std::lock_guard<std::mutex> l(m_mutex); return m_progressAtOutcome; }
    std::vector<QString> successes() const { std::lock_guard<std::mutex> l(m_mutex); return m_successes; }
    std::vector<QOVAError> failures() const { std::lock_guard<std::mutex> l(m_mutex); return m_failures; }
    int outcomes() const
    {
        std::lock_guard<std::mutex> l(m_mutex);
        return int(m_successes.size() + m_failures.size());
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_done;
    std::vector<int> m_statuses;
    std::vector<double> m_progress;
    size_t m_progressAtOutcome = 0;
    std::vector<QString> m_successes;
    std::vector<QOVAError> m_failures;
};

struct Plugged {
    std::shared_ptr<sim::SimDevice> device;
    std::shared_ptr<sim::SimDfuHandler> handler;
};

// A fresh simulated bus for every test, installed as the backend.
class SimBusFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        bus = sim::SimBus::create();
        platform::installBackend(std::make_shared<sim::SimBackend>(bus));
    }
    void TearDown() override
    {
        bus->unplugAll();
        platform::installBackend(std::shared_ptr<platform::Backend>());
    }

    // A device that takes 1024-byte blocks, detaches by itself and comes
    // back with firmware "9.9".
    static sim::SimDfuConfig dfuConfig(uint8_t attributes = 0x09)
    {
        sim::SimDfuConfig c;
        c.bmAttributes = attributes;
        c.wTransferSize = 1024;
        c.versionAfterUpdate = QStringLiteral("9.9");
        return c;
    }

    Plugged plug(sim::Family family, const QString &serial, const sim::SimDfuConfig &config,
                 sim::Mode mode = sim::Mode::Run)
    {
        sim::SimDeviceConfig dc;
        dc.family = family;
        dc.serial = serial;
        dc.mode = mode;
        dc.dfu = sim::simDfuFunctional(config);
        Plugged p;
        p.device = bus->plug(dc);
        EXPECT_TRUE(p.device);
        if (p.device)
            p.handler = sim::attachSimDfu(p.device, config);
        return p;
    }

    // The device model as discovery makes it (Vasko serials without their
    // "." suffix).
    static QOVADeviceModelRef modelFor(sim::Family family, const QString &serial,
                                       sim::Mode mode = sim::Mode::Run)
    {
        auto model = std::make_shared<QOVADeviceModel>();
        model->setProductVID(QStringLiteral("1d5c"));
        model->setProductPID(QLatin1String(mode == sim::Mode::Run ? runPid(family) : dfuPid(family)));
        model->setProductseriaNumber(family == sim::Family::Vasko ? serial.section(QLatin1Char('.'), 0, 0)
                                                                  : serial);
        model->setDfuDevice(mode == sim::Mode::Dfu);
        return model;
    }

    // Writes image with a valid suffix (by default one made for the video
    // bar in DFU mode); the path.
    QString writeDfuFile(const QString &name, const QByteArray &image,
                         const testsupport::SuffixFields &fields = {})
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(testsupport::writeFile(path, testsupport::withSuffix(image, fields)));
        return path;
    }

    static dfu_file mapFile(const QString &path)
    {
        dfu_file file;
        file.name = path.toStdString();
        EXPECT_EQ(dfu_map_file(&file), DFU_FILE_MAPPED);
        EXPECT_EQ(dfu_parse_suffix(&file), DFU_SUFFIX_VALID);
        return file;
    }

    // Waits until pred holds, turning the main thread's event loop.
    template <typename Pred>
    static bool waitUntil(Pred pred, int limitMs = 30000)
    {
        QDeadlineTimer deadline(limitMs);
        while (!pred()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::usleep(200);
        }
        return true;
    }

    QTemporaryDir dir;
    std::shared_ptr<sim::SimBus> bus;
};

} // namespace upgradertest
