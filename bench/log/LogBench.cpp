// The log core against spdlog set up the same way: asynchronous, a rotating
// file of 3 MiB over five files, flushed after every line, each line also
// printed to standard output (sent to /dev/null here).
#include "log/log.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <spdlog/async.h>
#include <spdlog/sinks/rotating_file_sink.h>
#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMessages = 20000;

long long folderBytes(const QString &folder)
{
    long long total = 0;
    for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files))
        total += info.size();
    return total;
}

} // namespace

// Cost of one call on the calling thread while the writer runs.
static void BM_LogMessageCall(benchmark::State &state)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    log_set_folder(folder.c_str());
    log_start();
    int i = 0;
    for (auto _ : state)
        log_message(LOG_LEVEL_INFO, LOG_MODULE_HID, "The msg_id is %d, the msg_url is %s", ++i,
                    "device_info");
    log_stop();
    log_set_folder(nullptr);
}
BENCHMARK(BM_LogMessageCall);

// The same call through QOVA_LOG while the log is stopped: nothing is
// formatted.
static void BM_LogMacroWhileStopped(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state)
        QOVA_LOG(INFO, HID, "The msg_id is %d, the msg_url is %s", ++i, "device_info");
}
BENCHMARK(BM_LogMacroWhileStopped);

static void BM_SpdlogCall(benchmark::State &state)
{
    QTemporaryDir dir;
    spdlog::init_thread_pool(8192, 1);
    auto file = std::make_shared<spdlog::sinks::rotating_file_sink_mt>(
        (dir.path() + "/spd.log").toStdString(), 3 * 1024 * 1024, 5);
    auto out = std::make_shared<spdlog::sinks::stdout_sink_mt>();
    auto logger = std::make_shared<spdlog::async_logger>(
        "bench", spdlog::sinks_init_list{out, file}, spdlog::thread_pool(),
        spdlog::async_overflow_policy::overrun_oldest);
    logger->set_pattern("%Y-%m-%d %H:%M:%S.%E%e   [PID:%P][TID:%t] [%l] [HID]  %v");
    logger->flush_on(spdlog::level::trace);
    int i = 0;
    for (auto _ : state)
        logger->info("The msg_id is {}, the msg_url is {}", ++i, "device_info");
    logger.reset();
    spdlog::shutdown();
}
BENCHMARK(BM_SpdlogCall);

// kMessages lines from the call of the first to the last line on disk.
static void BM_LogThroughput(benchmark::State &state)
{
    for (auto _ : state) {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        log_set_folder(folder.c_str());
        log_start();
        // One line first, to learn the length of a line.
        log_message(LOG_LEVEL_INFO, LOG_MODULE_HID, "The msg_id is %05d, the msg_url is %s", 0,
                    "device_info");
        while (folderBytes(dir.path()) == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        const long long line = folderBytes(dir.path());
        const auto start = std::chrono::steady_clock::now();
        for (int i = 1; i <= kMessages; ++i)
            log_message(LOG_LEVEL_INFO, LOG_MODULE_HID, "The msg_id is %05d, the msg_url is %s",
                        i, "device_info");
        while (folderBytes(dir.path()) < line * (kMessages + 1))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        log_stop();
        log_set_folder(nullptr);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kMessages);
}
BENCHMARK(BM_LogThroughput)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

static void BM_SpdlogThroughput(benchmark::State &state)
{
    for (auto _ : state) {
        QTemporaryDir dir;
        // A queue as long as the run, so the caller never waits, as ours.
        spdlog::init_thread_pool(kMessages + 1, 1);
        auto file = std::make_shared<spdlog::sinks::rotating_file_sink_mt>(
            (dir.path() + "/spd.log").toStdString(), 3 * 1024 * 1024, 5);
        auto out = std::make_shared<spdlog::sinks::stdout_sink_mt>();
        auto logger = std::make_shared<spdlog::async_logger>(
            "bench", spdlog::sinks_init_list{out, file}, spdlog::thread_pool(),
            spdlog::async_overflow_policy::block);
        logger->set_pattern("%Y-%m-%d %H:%M:%S.%E%e   [PID:%P][TID:%t] [%l] [HID]  %v");
        logger->flush_on(spdlog::level::trace);
        const auto start = std::chrono::steady_clock::now();
        for (int i = 1; i <= kMessages; ++i)
            logger->info("The msg_id is {:05d}, the msg_url is {}", i, "device_info");
        // Dropping the pool waits for every queued line to be written.
        logger.reset();
        spdlog::shutdown();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kMessages);
}
BENCHMARK(BM_SpdlogThroughput)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int saved = dup(1);
    std::freopen("/dev/null", "w", stdout);
    std::ofstream report("/proc/self/fd/" + std::to_string(saved));
    std::cout.rdbuf(report.rdbuf());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
