// The log core. log_message formats into a fixed buffer and appends the
// record to a queue; one writer thread takes the records in order and writes
// each as one line to standard output and to the current log file.
//
// The caller's side is kept short: records come from a pool made at
// log_start (a fresh allocation only while the writer is more than a pool
// behind), the local time is broken down by the writer, and a caller wakes
// the writer only once it has gone to sleep after a while without records;
// until then the writer looks at the queue every millisecond. At most
// five files exist ("Zentaro® Orvalinde0.log" oldest ... "...4.log"); when the
// current one reaches 3 MiB the next index is opened, and once five exist the
// oldest is deleted and the others move down.
#include "log/log.h"

#include "platform/TimeScale.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr size_t kMessageSize = 2304;          // message text and terminator
constexpr size_t kLineSize = 2304;             // a line is at most 2303 bytes
constexpr long long kFullSize = 0x300000;      // 3 MiB: a file this big is full
constexpr int kMaxFiles = 5;
constexpr size_t kFileBacklogMax = 1024;       // lines kept while no file opens
constexpr size_t kPoolRecords = 256;          // records made at log_start
constexpr int kIdlePolls = 200;                // 1 ms polls before the writer sleeps
constexpr const char *kAppFolder = "Zentaro\xC2\xAE Orvalinde";
constexpr const char *kFilePrefix = "Zentaro\xC2\xAE Orvalinde";

// "[NAME]" padded to 9 (levels) and 12 (modules) characters, as the line
// format "%-9s%-12s" gives them; the last entry stands for a value out of range.
const char *const kLevelFields[] = {"[DEBUG]  ", "[INFO]   ", "[WARNING]", "[ERROR]  ", "[]       "};
const char *const kModuleFields[] = {"[UI]        ", "[SOFTCLIENT]", "[HID]       ",
                                     "[DFU]       ", "[UVC]       ", "[OTHERS]    ",
                                     "[]          "};

struct LogRecord {
    uint64_t milliseconds;
    time_t seconds;  // broken down into local time by the writer
    int level;
    int module;
    unsigned long pid;
    unsigned long thread;
    LogRecord *next;
    char message[kMessageSize];
};

// Everything below is guarded by mutex unless said otherwise.
std::mutex mutex;
std::condition_variable wake;
bool queueExists = false;
bool stopFlag = false;
bool writerWaiting = false;
LogRecord *head = nullptr;
LogRecord *tail = nullptr;
LogRecord *freeRecords = nullptr;
LogRecord *pool = nullptr;  // kPoolRecords records, made by the first log_start
std::string folderOverride;
bool hasFolderOverride = false;

std::atomic<int> running{0};
std::atomic<unsigned long> processId{0};
std::atomic<log_clock_fn> clockFn{nullptr};

// Only the thread that calls log_start/log_stop touches these.
std::mutex lifecycleMutex;
std::thread writer;

// Set by log_start before the writer starts, then owned by the writer.
std::string folder;      // empty: no data folder, standard output only
int currentIndex = 0;

void defaultClock(struct timeval *now) { gettimeofday(now, nullptr); }

std::string defaultFolder()
{
    std::string base;
    const char *xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char *home = std::getenv("HOME");
        if (!home || home[0] != '/')
            return {};
        base = std::string(home) + "/.local/share";
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    if (base == "/")
        return {};  // never write at the file-system root
    return base + "/" + kAppFolder + "/logs";
}

// Creates the folder and its parents (mode 0775) when missing.
bool makeFolder(const std::string &path)
{
    if (path.empty())
        return false;
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    for (size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/')
            continue;
        const std::string part = path.substr(0, pos);
        if (mkdir(part.c_str(), 0775) != 0 && errno != EEXIST)
            return false;
    }
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string filePath(int index)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s%d.log", kFilePrefix, index);
    return folder + "/" + name;
}

// A name of the set: the prefix, one digit 0 to 4, ".log".
bool isSetName(const char *name)
{
    const size_t prefix = std::strlen(kFilePrefix);
    return std::strncmp(name, kFilePrefix, prefix) == 0 && name[prefix] >= '0'
           && name[prefix] <= '4' && std::strcmp(name + prefix + 1, ".log") == 0;
}

// The names of the set in alphabetical order; false when the folder can't be
// listed.
bool listSet(std::vector<std::string> *names)
{
    names->clear();
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return false;
    while (struct dirent *entry = readdir(dir)) {
        if (isSetName(entry->d_name))
            names->emplace_back(entry->d_name);
    }
    closedir(dir);
    std::sort(names->begin(), names->end());
    return true;
}

int log_count_files()
{
    if (folder.empty())
        return 0;
    makeFolder(folder);
    std::vector<std::string> names;
    if (!listSet(&names)) {
        std::perror("scandir");
        return 0;
    }
    for (const std::string &name : names)
        std::printf("%s\n", name.c_str());
    return int(names.size());
}

// Deletes file 0 when asked, then gives the k-th file of the set index k.
// Going up never overwrites a file that still waits for its new index.
void log_renumber_files(bool dropFirst)
{
    if (dropFirst)
        unlink(filePath(0).c_str());
    std::vector<std::string> names;
    if (!listSet(&names))
        return;
    for (size_t k = 0; k < names.size(); ++k) {
        const std::string from = folder + "/" + names[k];
        const std::string to = filePath(int(k));
        if (from != to)
            std::rename(from.c_str(), to.c_str());
    }
}

long long log_file_size(const std::string &path)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return -1;
    return (long long)st.st_size;
}

// The date part of a line ("%Y-%m-%d %H:%M:%S" in local time), made once
// per second of the records' times.
class DateCache {
public:
    const char *text(time_t seconds)
    {
        if (!m_valid || seconds != m_seconds) {
            struct tm local;
            localtime_r(&seconds, &local);
            std::strftime(m_text, sizeof m_text, "%Y-%m-%d %H:%M:%S", &local);
            m_seconds = seconds;
            m_valid = true;
        }
        return m_text;
    }

private:
    bool m_valid = false;
    time_t m_seconds = 0;
    char m_text[64] = {};
};

// The line of a record, ended by a line feed and never longer than 2303
// bytes; returns its length.
size_t formatLine(const LogRecord &record, const char *date, char *line)
{
    const char *level = kLevelFields[record.level >= 0 && record.level < 4 ? record.level : 4];
    const char *module = kModuleFields[record.module >= 0 && record.module < 6 ? record.module : 6];
    int n = std::snprintf(line, kLineSize, "%s.%llu   [PID:%lu][TID:%lu] %s%s  %s\n", date,
                          (unsigned long long)record.milliseconds, record.pid, record.thread,
                          level, module, record.message);
    if (n < 0)
        return 0;
    if (size_t(n) >= kLineSize) {
        // Cut at 2303 bytes, keeping the line end so the next line stays apart.
        line[kLineSize - 2] = '\n';
        return kLineSize - 1;
    }
    return size_t(n);
}

bool inPool(const LogRecord *record)
{
    return pool && record >= pool && record < pool + kPoolRecords;
}

void releaseRecord(LogRecord *record)
{
    // under mutex
    if (inPool(record)) {
        record->next = freeRecords;
        freeRecords = record;
    } else {
        std::free(record);
    }
}

class Writer {
public:
    void run();

private:
    void openCurrent();
    void closeCurrent();
    void rotateFull();
    bool currentIsFull();
    void writeLine(const char *line, size_t length);

    FILE *file = nullptr;
    long long size = 0;
    std::chrono::steady_clock::time_point lastOpenTry;
    std::chrono::steady_clock::time_point lastMeasure;
    std::deque<std::string> backlog;
    DateCache dates;
};

void Writer::openCurrent()
{
    lastOpenTry = std::chrono::steady_clock::now();
    if (folder.empty())
        return;
    if (!makeFolder(folder))
        return;
    file = std::fopen(filePath(currentIndex).c_str(), "a");
    if (!file)
        return;
    struct stat st;
    size = fstat(fileno(file), &st) == 0 ? (long long)st.st_size : 0;
    lastMeasure = std::chrono::steady_clock::now();
    // Lines printed while no file could be opened.
    while (!backlog.empty() && file) {
        writeLine(backlog.front().data(), backlog.front().size());
        backlog.pop_front();
        if (currentIsFull())
            rotateFull();
    }
}

void Writer::closeCurrent()
{
    if (file)
        std::fclose(file);
    file = nullptr;
}

// The size is tracked as lines are written; about once a second it is read
// again, so a file removed or grown by someone else is noticed. A size that
// can't be read counts as full.
bool Writer::currentIsFull()
{
    const auto now = std::chrono::steady_clock::now();
    if (now - lastMeasure >= std::chrono::seconds(1)) {
        lastMeasure = now;
        size = log_file_size(filePath(currentIndex));
        if (size < 0)
            return true;
    }
    return size >= kFullSize;
}

void Writer::rotateFull()
{
    closeCurrent();
    const int n = log_count_files();
    currentIndex = n == kMaxFiles ? kMaxFiles - 1 : n;
    if (n >= 1 && n <= kMaxFiles - 1)
        log_renumber_files(false);
    else if (n == kMaxFiles)
        log_renumber_files(true);
    openCurrent();
}

void Writer::writeLine(const char *line, size_t length)
{
    if (std::fwrite(line, 1, length, file) == length && std::fflush(file) == 0) {
        size += (long long)length;
    } else {
        // The file went bad (disk full, removed device): measure it next time.
        lastMeasure = {};
    }
}

void Writer::run()
{
    openCurrent();
    char line[kLineSize];
    int idlePolls = 0;
    std::unique_lock<std::mutex> lock(mutex);
    while (queueExists && !stopFlag) {
        if (!head && idlePolls < kIdlePolls) {
            // Recently busy: look again in a millisecond, so callers need
            // not wake us.
            ++idlePolls;
            wake.wait_for(lock, std::chrono::milliseconds(1));
            if (!head && !stopFlag)
                continue;
        } else if (!head) {
            writerWaiting = true;
            if (file || folder.empty()) {
                wake.wait(lock);
            } else {
                wake.wait_for(lock, std::chrono::milliseconds(platform::scaledMs(1000)));
            }
            writerWaiting = false;
        }
        idlePolls = 0;
        if (stopFlag)
            break;
        LogRecord *batch = head;
        head = tail = nullptr;
        lock.unlock();
        LogRecord *written = nullptr;
        unsigned writtenCount = 0;

        while (batch) {
            if (file && currentIsFull())
                rotateFull();
            if (!file && !folder.empty()
                && std::chrono::steady_clock::now() - lastOpenTry
                       >= std::chrono::milliseconds(platform::scaledMs(1000)))
                openCurrent();
            const size_t length = formatLine(*batch, dates.text(batch->seconds), line);
            std::fwrite(line, 1, length, stdout);
            if (file) {
                writeLine(line, length);
            } else if (!folder.empty()) {
                if (backlog.size() >= kFileBacklogMax)
                    backlog.pop_front();
                backlog.emplace_back(line, length);
            }
            LogRecord *done = batch;
            batch = batch->next;
            done->next = written;
            written = done;
            if (++writtenCount % 64 == 0 || !batch) {
                std::lock_guard<std::mutex> relock(mutex);
                while (written) {
                    LogRecord *next = written->next;
                    releaseRecord(written);
                    written = next;
                }
                if (stopFlag) {
                    // Records not yet written are dropped.
                    while (batch) {
                        LogRecord *next = batch->next;
                        releaseRecord(batch);
                        batch = next;
                    }
                }
            }
        }
        std::fflush(stdout);
        lock.lock();
        if (!file && !folder.empty() && !stopFlag
            && std::chrono::steady_clock::now() - lastOpenTry
                   >= std::chrono::milliseconds(platform::scaledMs(1000))) {
            lock.unlock();
            openCurrent();
            lock.lock();
        }
    }
    lock.unlock();
    closeCurrent();
}

} // namespace

extern "C" {

void log_message(int level, int module, const char *format, ...)
{
    if (!running.load(std::memory_order_relaxed))
        return;

    struct timeval now;
    log_clock_fn clock = clockFn.load(std::memory_order_relaxed);
    (clock ? clock : defaultClock)(&now);

    LogRecord *record = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (freeRecords) {
            record = freeRecords;
            freeRecords = record->next;
        }
    }
    if (!record) {
        record = static_cast<LogRecord *>(std::malloc(sizeof(LogRecord)));
        if (!record)
            return;
    }

    va_list ap;
    va_start(ap, format);
    int n = std::vsnprintf(record->message, kMessageSize, format, ap);
    va_end(ap);
    if (n < 0)
        record->message[0] = '\0';

    record->milliseconds =
        (uint64_t(now.tv_sec) * 1000000u + uint64_t(now.tv_usec)) / 1000u;
    record->seconds = now.tv_sec;
    record->level = level;
    record->module = module;
    record->pid = processId.load(std::memory_order_relaxed);
    thread_local const unsigned long threadNumber =
        (unsigned long)(uint64_t(gettid()) % 10000000000ull);
    record->thread = threadNumber;
    record->next = nullptr;

    std::lock_guard<std::mutex> lock(mutex);
    if (!queueExists) {
        releaseRecord(record);
        return;
    }
    const bool wasEmpty = !head;
    if (tail)
        tail->next = record;
    else
        head = record;
    tail = record;
    // Only the first record of an empty queue wakes a waiting writer.
    if (wasEmpty && writerWaiting)
        wake.notify_one();
}

void log_start(void)
{
    std::lock_guard<std::mutex> life(lifecycleMutex);
    if (writer.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopFlag = false;
        processId = (unsigned long)getpid();
        folder = hasFolderOverride ? folderOverride : defaultFolder();
    }

    const int n = log_count_files();
    if (n >= 1 && n <= kMaxFiles - 1)
        log_renumber_files(false);
    currentIndex = n > 0 ? n - 1 : 0;
    if (!folder.empty() && log_file_size(filePath(currentIndex)) >= kFullSize) {
        if (n == kMaxFiles)
            log_renumber_files(true);
        else
            currentIndex = n;
    }

    {
        std::lock_guard<std::mutex> lock(mutex);
        queueExists = true;
        if (!pool) {
            pool = static_cast<LogRecord *>(std::calloc(kPoolRecords, sizeof(LogRecord)));
            for (size_t i = 0; pool && i < kPoolRecords; ++i) {
                pool[i].next = freeRecords;
                freeRecords = &pool[i];
            }
        }
    }
    try {
        writer = std::thread([] { Writer().run(); });
    } catch (...) {
        std::fputs("Error creating thread\n", stderr);
        return;
    }
    running.store(1);
}

void log_stop(void)
{
    std::lock_guard<std::mutex> life(lifecycleMutex);
    running.store(0);
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopFlag = true;
        wake.notify_all();
    }
    if (writer.joinable())
        writer.join();
    std::lock_guard<std::mutex> lock(mutex);
    queueExists = false;
    while (head) {
        LogRecord *next = head->next;
        releaseRecord(head);
        head = next;
    }
    tail = nullptr;
    // The pool stays for the next log_start: a caller that passed the running
    // check just before the stop may still be filling one of its records.
}

int log_is_running(void) { return running.load(std::memory_order_relaxed); }

void log_set_folder(const char *path)
{
    std::lock_guard<std::mutex> lock(mutex);
    hasFolderOverride = path != nullptr;
    folderOverride = path ? path : "";
}

void log_set_clock(log_clock_fn clock) { clockFn.store(clock); }

} // extern "C"
