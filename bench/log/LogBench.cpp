// The log core against spdlog set up the same way: asynchronous, a rotating
// file of 3 MiB over five files, every line flushed to the file, each line
// also written to standard output (sent to /dev/null here) without a flush
// per line, lines of the same length (107 bytes), and the same timing.
#include "common/BenchReport.h"
#include "log/log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <spdlog/async.h>
#include <spdlog/details/null_mutex.h>
#include <spdlog/sinks/base_sink.h>
#include <spdlog/sinks/rotating_file_sink.h>
#include <spdlog/spdlog.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Lines of the throughput runs: about 16 MB, so the 3 MiB files rotate and
// the oldest are deleted several times.
constexpr int kMessages = 150000;
// The pause between two timed calls: long enough that both writers keep up,
// so every call finds a short queue.
constexpr auto kPace = std::chrono::microseconds(10);

// Our line prefix is "[INFO]   [HID]         ": level and module padded to 9
// and 12 characters; spdlog's pattern spells the same text.
constexpr const char *kSpdPattern =
    "%Y-%m-%d %H:%M:%S.%E%e   [PID:%P][TID:%t] [INFO]   [HID]         %v";

// spdlog's own stdout sink flushes every line; ours flushes standard output
// once per batch. This one writes through stdio's buffer and leaves the
// flushing to stdio, which favours spdlog slightly.
class BufferedStdoutSink : public spdlog::sinks::base_sink<std::mutex> {
protected:
    void sink_it_(const spdlog::details::log_msg &msg) override
    {
        spdlog::memory_buf_t formatted;
        formatter_->format(msg, formatted);
        std::fwrite(formatted.data(), 1, formatted.size(), stdout);
    }
    void flush_() override {}
};

std::shared_ptr<spdlog::async_logger> makeSpdlog(const QString &folder, size_t queue,
                                                 spdlog::async_overflow_policy policy)
{
    spdlog::init_thread_pool(queue, 1);
    auto file = std::make_shared<spdlog::sinks::rotating_file_sink_mt>(
        (folder + "/spd.log").toStdString(), 3 * 1024 * 1024, 5);
    auto out = std::make_shared<BufferedStdoutSink>();
    auto logger = std::make_shared<spdlog::async_logger>(
        "bench", spdlog::sinks_init_list{out, file}, spdlog::thread_pool(), policy);
    logger->set_pattern(kSpdPattern);
    logger->flush_on(spdlog::level::trace);
    return logger;
}

// The newest file of a folder: the highest index of ours, spdlog's base name.
QString newestFile(const QString &folder, bool spd)
{
    if (spd)
        return folder + "/spd.log";
    QStringList names = QDir(folder).entryList({"*.log"}, QDir::Files, QDir::Name);
    return names.isEmpty() ? QString() : folder + "/" + names.last();
}

// True once the line with that id is at the end of the newest file.
bool lineWritten(const QString &folder, bool spd, int id)
{
    const QString path = newestFile(folder, spd);
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    file.seek(std::max<qint64>(0, file.size() - 200));
    return file.read(200).contains(QByteArray("msg_id is ") + QByteArray::number(id).rightJustified(6, '0'));
}

int fileCount(const QString &folder)
{
    return int(QDir(folder).entryList(QDir::Files).size());
}

// Times each call on its own; reports the median and 90th percentile as
// counters and the mean as the benchmark's time.
template <class Call>
void timeCalls(benchmark::State &state, Call call)
{
    std::vector<int64_t> ns;
    ns.reserve(1 << 20);
    int i = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        call(++i);
        const auto end = Clock::now();
        const int64_t took = std::chrono::duration_cast<std::chrono::nanoseconds>(end - start).count();
        state.SetIterationTime(double(took) * 1e-9);
        if (ns.size() < ns.capacity())
            ns.push_back(took);
        while (Clock::now() - start < kPace) {
        }
    }
    if (ns.empty())
        return;
    std::sort(ns.begin(), ns.end());
    state.counters["median_ns"] = double(ns[ns.size() / 2]);
    state.counters["p90_ns"] = double(ns[ns.size() * 9 / 10]);
    state.counters["p99_ns"] = double(ns[ns.size() * 99 / 100]);
}

} // namespace

// Cost of one call on the calling thread while the writer runs and keeps up.
static void BM_LogMessageCall(benchmark::State &state)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    log_set_folder(folder.c_str());
    log_start();
    timeCalls(state, [](int i) {
        log_message(LOG_LEVEL_INFO, LOG_MODULE_HID, "The msg_id is %06d, the msg_url is %s",
                    i % 1000000, "device_info");
    });
    log_stop();
    log_set_folder(nullptr);
    state.counters["files"] = fileCount(dir.path());
}
BENCHMARK(BM_LogMessageCall)->UseManualTime();

static void BM_SpdlogCall(benchmark::State &state)
{
    QTemporaryDir dir;
    // Big enough that the pace never fills it.
    auto logger = makeSpdlog(dir.path(), 8192, spdlog::async_overflow_policy::block);
    timeCalls(state, [&logger](int i) {
        logger->info("The msg_id is {:06d}, the msg_url is {}", i % 1000000, "device_info");
    });
    logger.reset();
    spdlog::shutdown();
    state.counters["files"] = fileCount(dir.path());
}
BENCHMARK(BM_SpdlogCall)->UseManualTime();

// The same call through QOVA_LOG while the log is stopped: nothing is
// formatted.
static void BM_LogMacroWhileStopped(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state)
        QOVA_LOG(INFO, HID, "The msg_id is %06d, the msg_url is %s", ++i, "device_info");
}
BENCHMARK(BM_LogMacroWhileStopped);

// kMessages lines as fast as the caller can give them, from the first call
// until the last line is in the newest file (polled every 200 µs, the same
// way for both). Neither caller ever waits for its writer.
static void BM_LogThroughput(benchmark::State &state)
{
    int files = 0;
    for (auto _ : state) {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        log_set_folder(folder.c_str());
        log_start();
        const auto start = Clock::now();
        for (int i = 1; i <= kMessages; ++i)
            log_message(LOG_LEVEL_INFO, LOG_MODULE_HID, "The msg_id is %06d, the msg_url is %s",
                        i, "device_info");
        while (!lineWritten(dir.path(), false, kMessages))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        log_stop();
        log_set_folder(nullptr);
        files = fileCount(dir.path());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kMessages);
    state.counters["files"] = files;
}
BENCHMARK(BM_LogThroughput)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

static void BM_SpdlogThroughput(benchmark::State &state)
{
    int files = 0;
    for (auto _ : state) {
        QTemporaryDir dir;
        // A queue as long as the run, so the caller never waits, as ours.
        auto logger = makeSpdlog(dir.path(), kMessages + 1, spdlog::async_overflow_policy::block);
        const auto start = Clock::now();
        for (int i = 1; i <= kMessages; ++i)
            logger->info("The msg_id is {:06d}, the msg_url is {}", i, "device_info");
        while (!lineWritten(dir.path(), true, kMessages))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        logger.reset();
        spdlog::shutdown();
        files = fileCount(dir.path());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kMessages);
    state.counters["files"] = files;
}
BENCHMARK(BM_SpdlogThroughput)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// One line of each, to check that the two write lines of the same length.
static void BM_LineLengths(benchmark::State &state)
{
    QTemporaryDir ours, spd;
    log_set_folder(ours.path().toStdString().c_str());
    log_start();
    log_message(LOG_LEVEL_INFO, LOG_MODULE_HID, "The msg_id is %06d, the msg_url is %s", 1, "device_info");
    auto logger = makeSpdlog(spd.path(), 16, spdlog::async_overflow_policy::block);
    logger->info("The msg_id is {:06d}, the msg_url is {}", 1, "device_info");
    while (!lineWritten(ours.path(), false, 1))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    logger.reset();
    spdlog::shutdown();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    log_stop();
    log_set_folder(nullptr);
    for (auto _ : state) {
    }
    state.counters["ours_bytes"] = double(QFile(newestFile(ours.path(), false)).size());
    state.counters["spdlog_bytes"] = double(QFile(newestFile(spd.path(), true)).size());
}
BENCHMARK(BM_LineLengths)->Iterations(1);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    BenchReport report;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
