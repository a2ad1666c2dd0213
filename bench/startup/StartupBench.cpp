// Start to first frame of the application against a bare Qt window of the
// same size, and against that window with a menu bar and a line of text:
// runs the three programs in turn (fork and exec, timed from the fork), each
// the given number of times, and prints the medians and their ratios.
// Usage: bench_startup [runs] (default 21). The children run on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise, with their data
// and settings in a throwaway folder.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

long long monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// Milliseconds from fork to first frame, or a negative value on failure.
double runOnce(const std::string &program)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    const long long start = monotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("ORVALINDE_BENCH_START_NS", std::to_string(start).c_str(), 1);
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        execl(program.c_str(), program.c_str(), (char *)nullptr);
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[256];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    const auto at = text.find("first_frame_ns ");
    if (at == std::string::npos)
        return -1;
    return std::atoll(text.c_str() + at + 15) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const std::string folder = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath().toStdString();
    const std::string bare = folder + "/bench_startup_bare";
    const std::string app = folder + "/bench_startup_app";
    const std::string text = folder + "/bench_startup_text";

    QTemporaryDir home;
    setenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit().constData(), 1);
    setenv("XDG_CACHE_HOME", (home.path() + "/cache").toLocal8Bit().constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    // One unmeasured run of each, so all start from a warm page cache.
    runOnce(bare);
    runOnce(text);
    runOnce(app);
    std::vector<double> bareMs, textMs, appMs;
    for (int i = 0; i < runs; ++i) {
        const double b = runOnce(bare);
        const double t = runOnce(text);
        const double a = runOnce(app);
        if (b < 0 || t < 0 || a < 0) {
            std::fprintf(stderr, "a run did not report its first frame\n");
            return 1;
        }
        bareMs.push_back(b);
        textMs.push_back(t);
        appMs.push_back(a);
    }
    const double b = median(bareMs), t = median(textMs), a = median(appMs);
    std::printf("platform %s, %d runs each, median start to first frame:\n", std::getenv("QT_QPA_PLATFORM"), runs);
    std::printf("  bare Qt window            %.1f ms\n", b);
    std::printf("  window with menus, text   %.1f ms  (%.2f x bare)\n", t, t / b);
    std::printf("  application               %.1f ms  (%.2f x bare, %.2f x the window with text)\n", a, a / b,
                a / t);
    return 0;
}
