// Blocks per second and host CPU per block while the DFU upgrader sends a
// 16 MiB image to a simulated device that asks for no poll time-out and
// takes 4096-byte blocks. Only the block loop is measured: from the device
// seen in DFU mode (status 4) to the end of manifestation (status 8).
//
// The device side runs inside each control transfer on the upgrader's own
// thread, so its CPU time is measured apart and taken off: "host" is what
// the upgrader, its state machine and the request layer cost. A read of the
// thread's CPU clock is a system call that costs about as much as a fifth of
// the host's work per block, so its cost is measured once per run and taken
// off both figures: each timed device call counts one read too many on the
// device's side and two on the whole thread.
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

// The device's DFU side, with the CPU time spent in it counted.
class TimedDfu : public sim::SimControlHandler {
public:
    explicit TimedDfu(std::shared_ptr<sim::SimDfuHandler> inner) : m_inner(std::move(inner)) {}
    std::optional<platform::UsbError> handleControl(sim::SimDeviceHost &host, const platform::UsbSetup &setup,
                                                    uint8_t *data, int *transferred) override
    {
        const double start = threadCpuSeconds();
        auto result = m_inner->handleControl(host, setup, data, transferred);
        cpu += threadCpuSeconds() - start;
        ++calls;
        return result;
    }
    void modeChanged(sim::SimDeviceHost &host, sim::Mode mode) override { m_inner->modeChanged(host, mode); }
    bool handleReset(sim::SimDeviceHost &host) override { return m_inner->handleReset(host); }

    double cpu = 0;  // written on the upgrader's thread only
    long long calls = 0;

private:
    std::shared_ptr<sim::SimDfuHandler> m_inner;
};

struct Phase {
    std::mutex mutex;
    std::condition_variable done;
    bool ended = false;
    bool succeeded = false;
    double wallStart = 0, wallEnd = 0;
    double cpuStart = 0, cpuEnd = 0;
    double simStart = 0, simEnd = 0;
    long long callsStart = 0, callsEnd = 0;
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

    double blocks = 0, hostCpu = 0, simCpu = 0, wall = 0, clockReads = 0;
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
        auto timed = std::make_shared<TimedDfu>(handler);
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
                    phase.simStart = timed->cpu;
                    phase.callsStart = timed->calls;
                } else if (status == 8) {
                    phase.wallEnd = wallSeconds();
                    phase.cpuEnd = threadCpuSeconds();
                    phase.simEnd = timed->cpu;
                    phase.callsEnd = timed->calls;
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
        const double w = phase.wallEnd - phase.wallStart;
        state.SetIterationTime(w);
        wall += w;
        blocks += double(handler->blocks().size());
        // One read of the clock, measured on this run's machine state.
        const double readStart = threadCpuSeconds();
        for (int i = 0; i < 10000; ++i)
            threadCpuSeconds();
        const double read = (threadCpuSeconds() - readStart) / 10001;
        const double reads = double(phase.callsEnd - phase.callsStart) * read;
        simCpu += phase.simEnd - phase.simStart - reads;
        hostCpu += (phase.cpuEnd - phase.cpuStart) - (phase.simEnd - phase.simStart) - reads;
        clockReads += reads;
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
    state.counters["clock_reads_us_per_block"] = 2 * clockReads / blocks * 1e6;
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
