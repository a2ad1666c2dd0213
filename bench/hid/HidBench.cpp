// Framing and reply reassembly throughput, and the host-side cost of one GET
// round trip against a simulated device that answers without delay.
#include "QOVAUSBDeviceHIDInterface.h"
#include "DeviceInfoModel.h"
#include "common/BenchReport.h"
#include "hid/QOVAHIDFrames.h"
#include "hid/QOVAHIDReplyReader.h"
#include "log/log.h"
#include "sim/SimBackend.h"
#include "sim/SimBus.h"
#include "sim/catalogue/SimCatalogueRequestHandler.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <thread>

using namespace QOVAHIDFrames;

static void BM_FrameRequest(benchmark::State &state)
{
    const QByteArray head = R"({"msg_id":"45","type":"PUT","url":"certificate"})";
    const QByteArray body(int(state.range(0)), 'b');
    std::vector<Frame> frames;
    for (auto _ : state) {
        frames.clear();
        pduFormateEncapsulating(head, &body, DataTypeFile, &frames);
        benchmark::DoNotOptimize(frames.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * (head.size() + body.size()));
}
BENCHMARK(BM_FrameRequest)->Arg(200)->Arg(4096)->Arg(1 << 20);

// The reports of one reply of the given body size, as a device sends them.
static std::vector<std::vector<uint8_t>> replyReports(uint32_t bodyLength)
{
    const QByteArray head = R"({"diag_info":"","msg_id":11,"status_code":200,"status_string":"success"})";
    const QByteArray all = head + QByteArray(int(bodyLength), 'x');
    std::vector<std::vector<uint8_t>> reports;
    std::vector<uint8_t> first(257, 0);
    first[0] = 6;
    first[4] = uint8_t(head.size());
    first[6] = uint8_t(bodyLength);
    first[7] = uint8_t(bodyLength >> 8);
    first[8] = uint8_t(bodyLength >> 16);
    memcpy(first.data() + 11, all.constData(), std::min<size_t>(246, all.size()));
    reports.push_back(first);
    const uint64_t rest = all.size() > 246 ? all.size() - 246 : 0;
    if (all.size() <= 246)
        return reports;
    const size_t size = rest > 1264 ? 2048 : 257;
    const uint64_t count = rest / (size - 4) + 1;
    size_t pos = 246;
    for (uint64_t i = 0; i < count; ++i) {
        std::vector<uint8_t> r(size, 0);
        r[0] = size == 2048 ? 5 : 6;
        const size_t n = std::min(size - 4, size_t(all.size()) - std::min(pos, size_t(all.size())));
        memcpy(r.data() + 4, all.constData() + pos, n);
        pos += n;
        r[3] = i + 1 == count ? 3 : 2;
        reports.push_back(std::move(r));
    }
    return reports;
}

static void BM_ReassembleReply(benchmark::State &state)
{
    const auto reports = replyReports(uint32_t(state.range(0)));
    for (auto _ : state) {
        QOVAHIDReplyReader reader;
        reader.begin(reports[0].data(), reports[0].size());
        for (size_t i = 1; i < reports.size(); ++i)
            reader.apply(reports[i].data(), reports[i].size());
        benchmark::DoNotOptimize(reader.body());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ReassembleReply)->Arg(1000)->Arg(64 << 10)->Arg(4 << 20);

// The simulated device's side of every transfer, with the CPU time spent in
// it counted, so it can be taken off the host's threads.
class TimedHidDevice : public platform::HidDevice {
public:
    explicit TimedHidDevice(platform::HidDeviceRef inner) : m_inner(std::move(inner)) {}
    platform::HidIdentity identity() const override { return m_inner->identity(); }
    int setFeatureReport(const uint8_t *data, size_t length) override
    {
        const int64_t start = threadCpuNs();
        const int status = m_inner->setFeatureReport(data, length);
        deviceNs += threadCpuNs() - start;
        ++calls;
        return status;
    }
    int getFeatureReport(uint8_t reportId, uint8_t *buffer, size_t length, size_t *actual) override
    {
        const int64_t start = threadCpuNs();
        const int status = m_inner->getFeatureReport(reportId, buffer, length, actual);
        deviceNs += threadCpuNs() - start;
        ++calls;
        return status;
    }
    void setInputReportHandler(InputReportHandler handler) override
    {
        m_inner->setInputReportHandler(std::move(handler));
    }

    static int64_t threadCpuNs() { return clockNs(CLOCK_THREAD_CPUTIME_ID); }
    static int64_t clockNs(clockid_t clock)
    {
        timespec ts{};
        clock_gettime(clock, &ts);
        return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    }

    std::atomic<int64_t> deviceNs{0};
    std::atomic<int64_t> calls{0};

private:
    platform::HidDeviceRef m_inner;
};

// One device_info GET after another to a simulated Orbrin on the simulated
// bus, each reply (about 600 bytes of body, three reports) decoded into
// DeviceInfoModel, as the device page asks for it. The HID manager runs on
// its own discovery thread and the callback on the main thread, as in the
// application. Arg: 1 with the log writer running, 0 without.
//
// host_cpu_us: CPU time of the two host threads (main and HID discovery) per
// GET, read from their thread clocks once per run, less the simulated
// device's own work inside each transfer (device_cpu_us, counted apart).
// Each transfer reads the thread clock twice (a system call of about a
// microsecond); the cost of one read is measured once per run and taken off
// per transfer from both figures, the device's interval holding about one
// read and the rest of the thread the other.
// The log writer's own thread is not in either figure; its caller-side cost
// is. Wall time per GET is the benchmark's time.
static void BM_GetRoundTrip(benchmark::State &state)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    if (state.range(0)) {
        log_set_folder(folder.c_str());
        log_start();
    }
    auto bus = sim::SimBus::create();
    auto backend = std::make_shared<sim::SimBackend>(bus);
    QThread discovery;
    discovery.start();
    QObject context;
    context.moveToThread(&discovery);
    std::unique_ptr<platform::HidManager> manager;
    std::atomic<platform::HidDevice *> found{nullptr};
    platform::HidDeviceRef matched;
    clockid_t discoveryClock{};
    QMetaObject::invokeMethod(
        &context,
        [&] {
            pthread_getcpuclockid(pthread_self(), &discoveryClock);
            manager = backend->createHidManager();
            manager->setCallbacks(
                [&](const platform::HidDeviceRef &d) {
                    matched = d;
                    found = d.get();
                },
                [](const platform::HidDeviceRef &) {});
            manager->open();
        },
        Qt::BlockingQueuedConnection);
    auto device = bus->plug(sim::Family::Orbrin, "OR20240001");
    device->setRequestHandler(sim::makeCatalogueRequestHandler(sim::Family::Orbrin));
    while (!found)
        QThread::usleep(100);
    auto timed = std::make_shared<TimedHidDevice>(matched);
    int64_t hostNs = 0, deviceNs = 0, transfers = 0;
    bool decoded = true;
    {
        QOVAUSBDeviceHIDInterface iface(nullptr, timed);
        const QJsonObject head{{"msg_id", "12"}, {"url", "device_info"}, {"type", "GET"}};
        const int64_t main0 = TimedHidDevice::threadCpuNs();
        const int64_t disc0 = TimedHidDevice::clockNs(discoveryClock);
        const int64_t dev0 = timed->deviceNs;
        const int64_t calls0 = timed->calls;
        for (auto _ : state) {
            bool done = false;
            iface.getInformationFromUSBDevice(
                "DeviceInfoModel", head,
                [&](const QOVAReplyObject &reply) {
                    done = true;
                    const auto *model = std::get_if<QOVAModelRef>(&reply);
                    decoded = decoded && model && qova_model_cast<DeviceInfoModel>(*model);
                },
                [&](const QString &error) {
                    done = true;
                    if (decoded)
                        std::fprintf(stderr, "GET failed: %s\n", qUtf8Printable(error));
                    decoded = false;
                });
            while (!done)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        const int64_t all = TimedHidDevice::threadCpuNs() - main0
                            + TimedHidDevice::clockNs(discoveryClock) - disc0;
        deviceNs = timed->deviceNs - dev0;
        hostNs = all - deviceNs;
        transfers = timed->calls - calls0;
    }
    QMetaObject::invokeMethod(&context, [&] { manager.reset(); }, Qt::BlockingQueuedConnection);
    discovery.quit();
    discovery.wait();
    if (state.range(0)) {
        log_stop();
        log_set_folder(nullptr);
    }
    if (!decoded) {
        state.SkipWithError("a reply did not decode into DeviceInfoModel");
        return;
    }
    const int64_t readStart = TimedHidDevice::threadCpuNs();
    for (int i = 0; i < 10000; ++i)
        TimedHidDevice::threadCpuNs();
    const double read = double(TimedHidDevice::threadCpuNs() - readStart) / 10001;
    const double n = double(state.iterations());
    const double reads = double(transfers) * read;
    state.counters["host_cpu_us"] = (double(hostNs) - reads) / n / 1000.0;
    state.counters["device_cpu_us"] = (double(deviceNs) - reads) / n / 1000.0;
    state.counters["transfers"] = double(transfers) / n;
    state.counters["clock_read_us"] = read / 1000.0;
}
BENCHMARK(BM_GetRoundTrip)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);

// The floors BM_GetRoundTrip is read against: the two thread hops of a GET
// without any of its work, counted the same way (CPU of both threads per
// round trip, from their thread clocks once per run).
//
// Qt: the main thread queues a call to a context object living on a QThread,
// which queues a call back to the main thread; the main thread waits in
// processEvents(WaitForMoreEvents), as BM_GetRoundTrip does.
static void BM_QtThreadRoundTrip(benchmark::State &state)
{
    QThread other;
    other.start();
    QObject context;
    context.moveToThread(&other);
    clockid_t otherClock{};
    QMetaObject::invokeMethod(
        &context, [&] { pthread_getcpuclockid(pthread_self(), &otherClock); },
        Qt::BlockingQueuedConnection);
    QCoreApplication *app = QCoreApplication::instance();
    bool done = false;
    const int64_t main0 = TimedHidDevice::threadCpuNs();
    const int64_t other0 = TimedHidDevice::clockNs(otherClock);
    for (auto _ : state) {
        done = false;
        QMetaObject::invokeMethod(
            &context,
            [&done, app] {
                QMetaObject::invokeMethod(app, [&done] { done = true; }, Qt::QueuedConnection);
            },
            Qt::QueuedConnection);
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const int64_t all = TimedHidDevice::threadCpuNs() - main0
                        + TimedHidDevice::clockNs(otherClock) - other0;
    other.quit();
    other.wait();
    state.counters["host_cpu_us"] = double(all) / double(state.iterations()) / 1000.0;
}
BENCHMARK(BM_QtThreadRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Raw: the benchmark's thread and one std::thread hand a token back and forth
// through two eventfds, each side waiting in poll().
static void BM_EventfdRoundTrip(benchmark::State &state)
{
    const int ping = eventfd(0, EFD_NONBLOCK);
    const int pong = eventfd(0, EFD_NONBLOCK);
    auto wait = [](int fd) {
        pollfd p{fd, POLLIN, 0};
        uint64_t value = 0;
        while (poll(&p, 1, -1) < 0 || read(fd, &value, sizeof value) != sizeof value) {
        }
        return value;
    };
    auto signal = [](int fd, uint64_t value) {
        while (write(fd, &value, sizeof value) != sizeof value) {
        }
    };
    clockid_t otherClock{};
    std::atomic<bool> ready{false};
    std::thread other([&] {
        pthread_getcpuclockid(pthread_self(), &otherClock);
        ready = true;
        // 2 asks for one more round trip, 1 for the end.
        while (wait(ping) == 2)
            signal(pong, 1);
    });
    while (!ready)
        std::this_thread::yield();
    const int64_t main0 = TimedHidDevice::threadCpuNs();
    const int64_t other0 = TimedHidDevice::clockNs(otherClock);
    for (auto _ : state) {
        signal(ping, 2);
        wait(pong);
    }
    const int64_t all = TimedHidDevice::threadCpuNs() - main0
                        + TimedHidDevice::clockNs(otherClock) - other0;
    signal(ping, 1);
    other.join();
    close(ping);
    close(pong);
    state.counters["host_cpu_us"] = double(all) / double(state.iterations()) / 1000.0;
}
BENCHMARK(BM_EventfdRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The log writer echoes every line to standard output: that goes to
    // /dev/null, the report to the original standard output.
    BenchReport report;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
