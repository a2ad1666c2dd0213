// Blocks per second and host CPU per block while the DFU upgrader sends a
// 16 MiB image to a simulated device that asks for no poll time-out and
// takes 4096-byte blocks. Only the block loop is measured: from the device
// seen in DFU mode (status 4) to the end of manifestation (status 8).
//
// The device side runs inside each control transfer on the upgrader's own
// thread, so its CPU time is measured apart (by replaying the run's transfers
// into a fresh device side, timed once) and taken off: "host" is what the
// upgrader, its state machine and the request layer cost. The thread clocks
// are read once per run, never per block.
#include "QOVADFUUpgrader.h"
#include "dfu_file.h"
#include "platform/Backend.h"
#include "platform/TimeScale.h"
#include "sim/SimBackend.h"
#include "sim/SimBus.h"
#include "sim/dfu/SimDfuHandler.h"
#include "support/DfuFileMaker.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <ctime>
#include <mutex>
#include <vector>

namespace {

constexpr qsizetype kImageSize = 16 * 1024 * 1024;
constexpr int kBlockSize = 4096;

double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double wallSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// The device's DFU side. While recording, each transfer's setup is noted
// (no clock is read per transfer: a thread-clock read is a system call that
// would cost more than the work measured); the device's CPU time is then
// measured once per run by replaying the noted transfers into a fresh handler.
class RecordingDfu : public sim::SimControlHandler {
public:
    explicit RecordingDfu(std::shared_ptr<sim::SimDfuHandler> inner) : m_inner(std::move(inner)) {}
    std::optional<platform::UsbError> handleControl(sim::SimDeviceHost &host, const platform::UsbSetup &setup,
                                                    uint8_t *data, int *transferred) override
    {
        if (recording)
            setups.push_back(setup);
        return m_inner->handleControl(host, setup, data, transferred);
    }
    void modeChanged(sim::SimDeviceHost &host, sim::Mode mode) override { m_inner->modeChanged(host, mode); }
    bool handleReset(sim::SimDeviceHost &host) override { return m_inner->handleReset(host); }

    bool recording = false;               // written on the upgrader's thread only
    std::vector<platform::UsbSetup> setups;

private:
    std::shared_ptr<sim::SimDfuHandler> m_inner;
};

// CPU seconds the device side spends on those transfers, from a fresh handler
// in DFU mode; false when it does not answer them as it did in the run.
bool replayDeviceCpu(sim::SimDeviceHost &host, const sim::SimDfuConfig &config,
                     const std::vector<platform::UsbSetup> &setups, double *seconds)
{
    sim::SimDfuHandler fresh(config);
    fresh.modeChanged(host, sim::Mode::Dfu);
    std::vector<uint8_t> buffer(kBlockSize, 0);
    int failures = 0;
    const double start = threadCpuSeconds();
    for (const platform::UsbSetup &setup : setups) {
        int transferred = 0;
        if (fresh.handleControl(host, setup, buffer.data(), &transferred))
            ++failures;
    }
    *seconds = threadCpuSeconds() - start;
    return failures == 0;
}

struct Phase {
    std::mutex mutex;
    std::condition_variable done;
    bool ended = false;
    bool succeeded = false;
    double wallStart = 0, wallEnd = 0;
    double cpuStart = 0, cpuEnd = 0;
};

void BM_FlashSixteenMiB(benchmark::State &state)
{
    platform::setTimeScale(0.001);  // the fixed waits around the loop
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("image.dfu"));
    testsupport::writeFile(path, testsupport::withSuffix(testsupport::randomBytes(kImageSize, 3)));
    dfu_file file;
    file.name = path.toStdString();
    if (dfu_map_file(&file) != DFU_FILE_MAPPED || dfu_parse_suffix(&file) != DFU_SUFFIX_VALID) {
        state.SkipWithError("cannot map the image");
        return;
    }

    auto bus = sim::SimBus::create();
    platform::installBackend(std::make_shared<sim::SimBackend>(bus));

    double blocks = 0, hostCpu = 0, simCpu = 0, wall = 0;
    int n = 0;
    for (auto _ : state) {
        const QString serial = QStringLiteral("BENCH%1").arg(n++);
        sim::SimDfuConfig config;
        config.bmAttributes = 0x0D;
        config.wTransferSize = kBlockSize;
        config.pollTimeoutMs = 0;
        config.busyTimeMs = 0;
        sim::SimDeviceConfig dc;
        dc.family = sim::Family::Orbrin;
        dc.serial = serial;
        dc.dfu = sim::simDfuFunctional(config);
        auto device = bus->plug(dc);
        auto handler = sim::attachSimDfu(device, config);
        auto timed = std::make_shared<RecordingDfu>(handler);
        timed->setups.reserve(3 * (kImageSize / kBlockSize) + 16);
        device->removeControlHandler(handler);
        device->addControlHandler(timed);

        auto model = std::make_shared<QOVADeviceModel>();
        model->setProductVID(QStringLiteral("1d5c"));
        model->setProductPID(QStringLiteral("6e17"));
        model->setProductseriaNumber(serial);
        auto upgrader = QOVADFUUpgrader::initWithFirmwareModel(model);
        if (!upgrader) {
            state.SkipWithError("no upgrader");
            break;
        }
        Phase phase;
        auto finish = [&phase](bool ok) {
            std::lock_guard<std::mutex> lock(phase.mutex);
            phase.ended = true;
            phase.succeeded = ok;
            phase.done.notify_all();
        };
        upgrader->updateFirmwareWithFile(
            file, [](double) {}, [&](const QString &) { finish(true); }, [&](const QOVAError &) { finish(false); },
            [&](int status) {
                if (status == 4) {
                    phase.wallStart = wallSeconds();
                    phase.cpuStart = threadCpuSeconds();
                    timed->recording = true;
                } else if (status == 8) {
                    timed->recording = false;
                    phase.wallEnd = wallSeconds();
                    phase.cpuEnd = threadCpuSeconds();
                }
            });
        {
            std::unique_lock<std::mutex> lock(phase.mutex);
            phase.done.wait(lock, [&] { return phase.ended; });
        }
        upgrader->cancel();
        if (!phase.succeeded || handler->installedImage().size() != kImageSize) {
            state.SkipWithError("flash failed");
            break;
        }
        double deviceCpu = 0;
        if (!replayDeviceCpu(*device, config, timed->setups, &deviceCpu)) {
            state.SkipWithError("the replay was not answered as the run");
            break;
        }
        const double w = phase.wallEnd - phase.wallStart;
        state.SetIterationTime(w);
        wall += w;
        blocks += double(handler->blocks().size());
        simCpu += deviceCpu;
        hostCpu += (phase.cpuEnd - phase.cpuStart) - deviceCpu;
        bus->unplug(device);
    }
    platform::installBackend(std::shared_ptr<platform::Backend>());
    dfu_unmap_file(&file);
    if (wall <= 0)
        return;

    const double ceilingBytesPerSecond = 15.9e6;  // USB 2.0 high speed, control transfers
    state.counters["blocks_per_s"] = blocks / wall;
    state.counters["MB_per_s"] = blocks * kBlockSize / wall / 1e6;
    state.counters["host_cpu_us_per_block"] = hostCpu / blocks * 1e6;
    state.counters["sim_cpu_us_per_block"] = simCpu / blocks * 1e6;
    state.counters["ceiling_blocks_per_s"] = ceilingBytesPerSecond / kBlockSize;
    state.counters["host_share_of_ceiling_block_time"] =
        (hostCpu / blocks) / (kBlockSize / ceilingBytesPerSecond);
}

BENCHMARK(BM_FlashSixteenMiB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
