// The log core against a temporary folder: line format, the 2303-byte cut,
// rotation at start and while running, the writer without a file.
#include "log/log.h"
#include "log/log_qt.h"
#include "platform/TimeScale.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kPrefix = "Zentaro\xC2\xAE Orvalinde";

struct timeval fixedNow;
void fixedClock(struct timeval *now) { *now = fixedNow; }

std::string readFile(const std::string &path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().toStdString();
}

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            out.push_back(text.substr(pos));
            break;
        }
        out.push_back(text.substr(pos, end - pos + 1));
        pos = end + 1;
    }
    return out;
}

bool fileExists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        // The file-open retry of the writer runs on the scaled clock.
        if (!getenv("ORVALINDE_TIME_SCALE"))
            platform::setTimeScale(0.01);
        folder = tmp.path().toStdString() + "/logs";
        log_set_folder(folder.c_str());
        log_set_clock(nullptr);
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override
    {
        log_stop();
        log_set_folder(nullptr);
        log_set_clock(nullptr);
    }

    std::string file(int index) const
    {
        return folder + "/" + kPrefix + std::to_string(index) + ".log";
    }

    // Waits until the file holds at least n lines (the writer is a thread of
    // its own; log_stop drops what it has not written yet).
    std::vector<std::string> waitForLines(const std::string &path, size_t n)
    {
        for (int i = 0; i < 2000; ++i) {
            auto l = lines(readFile(path));
            if (l.size() >= n)
                return l;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return lines(readFile(path));
    }

    void makeFile(int index, const std::string &content, off_t size = 0)
    {
        QDir().mkpath(QString::fromStdString(folder));
        int fd = ::open(file(index).c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, content.data(), content.size()), ssize_t(content.size()));
        if (size > 0) {
            ASSERT_EQ(::ftruncate(fd, size), 0);
        }
        ::close(fd);
    }

    QTemporaryDir tmp;
    std::string folder;
};

TEST_F(LogTest, LineFormatWithWholeMillisecondCountAndCalendarYear)
{
    struct Case {
        time_t seconds;
        long usec;
        int level;
        int module;
        const char *expectedHead;
    };
    // 1 March 2024 12:00:00.250 UTC; 30 December 2024, which belongs to ISO
    // week 1 of 2025 but is still in 2024.
    const Case cases[] = {
        {1709294400, 250000, LOG_LEVEL_INFO, LOG_MODULE_HID,
         "2024-03-01 12:00:00.1709294400250   [PID:%PID%][TID:%TID%] [INFO]   [HID]         "},
        {1735560000, 999, LOG_LEVEL_WARNING, LOG_MODULE_SOFTCLIENT,
         "2024-12-30 12:00:00.1735560000000   [PID:%PID%][TID:%TID%] [WARNING][SOFTCLIENT]  "},
        {1735560000, 7000, LOG_LEVEL_DEBUG, LOG_MODULE_OTHERS,
         "2024-12-30 12:00:00.1735560000007   [PID:%PID%][TID:%TID%] [DEBUG]  [OTHERS]      "},
        {1735560000, 0, LOG_LEVEL_ERROR, LOG_MODULE_UI,
         "2024-12-30 12:00:00.1735560000000   [PID:%PID%][TID:%TID%] [ERROR]  [UI]          "},
    };
    log_set_clock(fixedClock);
    log_start();
    for (const Case &c : cases) {
        fixedNow.tv_sec = c.seconds;
        fixedNow.tv_usec = c.usec;
        log_message(c.level, c.module, "message %d", int(&c - cases));
    }
    auto got = waitForLines(file(0), std::size(cases));
    ASSERT_EQ(got.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        std::string expected = cases[i].expectedHead;
        expected.replace(expected.find("%PID%"), 5, std::to_string(getpid()));
        expected.replace(expected.find("%TID%"), 5, std::to_string(gettid()));
        expected += "message " + std::to_string(i) + "\n";
        EXPECT_EQ(got[i], expected);
    }
}

TEST_F(LogTest, LongMessageIsCutAndTheNextLineStaysApart)
{
    log_start();
    const std::string big(3000, 'x');
    log_message(LOG_LEVEL_INFO, LOG_MODULE_UI, "%s", big.c_str());
    log_message(LOG_LEVEL_INFO, LOG_MODULE_UI, "after");
    auto got = waitForLines(file(0), 2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].size(), 2303u);
    EXPECT_EQ(got[0].back(), '\n');
    EXPECT_NE(got[0].find("[UI]          xxxx"), std::string::npos);
    EXPECT_EQ(got[1].substr(got[1].size() - 6), "after\n");
}

TEST_F(LogTest, RotationAtStart)
{
    const off_t full = 0x300000;
    struct Case {
        const char *name;
        std::vector<std::pair<int, off_t>> before;  // index, size (0: small)
        // content marker expected per index after start and one line; "new"
        // means the file holds only the new line.
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {"five files, file 4 full",
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, full}},
         {"old1", "old2", "old3", "old4", "new"}},
        {"gap: files 0 and 2", {{0, 0}, {2, 0}}, {"old0", "old2+new"}},
        {"current file full", {{0, 0}, {1, full}}, {"old0", "old1", "new"}},
        {"no files", {}, {"new"}},
        {"five files, none full", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}},
         {"old0", "old1", "old2", "old3", "old4+new"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(QString::fromStdString(folder)).removeRecursively();
        for (auto [index, size] : c.before)
            makeFile(index, "old" + std::to_string(index) + "\n", size);
        log_start();
        log_message(LOG_LEVEL_INFO, LOG_MODULE_OTHERS, "the new line");
        const size_t last = c.after.size() - 1;
        const bool appended = c.after[last].find("+new") != std::string::npos;
        waitForLines(file(int(last)), appended ? 2 : 1);
        log_stop();
        for (size_t i = 0; i < c.after.size(); ++i) {
            const std::string content = readFile(file(int(i)));
            const std::string &want = c.after[i];
            if (want == "new") {
                EXPECT_EQ(lines(content).size(), 1u) << i;
                EXPECT_NE(content.find("the new line"), std::string::npos) << i;
            } else {
                const std::string marker = want.substr(0, 4) + "\n";
                EXPECT_EQ(content.compare(0, marker.size(), marker), 0) << i << ": " << want;
                EXPECT_EQ(content.find("the new line") != std::string::npos, appended && i == last)
                    << i;
            }
        }
        EXPECT_FALSE(fileExists(file(int(c.after.size()))));
    }
}

TEST_F(LogTest, RotationWhileRunning)
{
    // File 4 of five nearly full: the line that fills it still goes there, the
    // next one drops file 0 and opens a new file 4.
    for (int i = 0; i < 4; ++i)
        makeFile(i, "old" + std::to_string(i) + "\n");
    makeFile(4, "old4\n", 0x300000 - 10);
    log_start();
    log_message(LOG_LEVEL_INFO, LOG_MODULE_HID, "fills file four");
    waitForLines(file(4), 2);
    log_message(LOG_LEVEL_INFO, LOG_MODULE_HID, "first of the new file");
    for (int i = 0; i < 2000 && readFile(file(4)).substr(0, 4) == "old4"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    auto got = waitForLines(file(4), 1);
    log_stop();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_NE(got[0].find("first of the new file"), std::string::npos);
    EXPECT_EQ(readFile(file(0)).substr(0, 5), "old1\n");
    EXPECT_EQ(readFile(file(3)).substr(0, 5), "old4\n");
    EXPECT_NE(readFile(file(3)).find("fills file four"), std::string::npos);

    // Fewer than five: the next index is opened.
    QDir(QString::fromStdString(folder)).removeRecursively();
    makeFile(0, "old0\n", 0x300000 - 10);
    log_start();
    log_message(LOG_LEVEL_INFO, LOG_MODULE_HID, "fills file zero");
    waitForLines(file(0), 2);
    log_message(LOG_LEVEL_INFO, LOG_MODULE_HID, "into file one");
    got = waitForLines(file(1), 1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_NE(got[0].find("into file one"), std::string::npos);
}

TEST_F(LogTest, RecordsWhileStoppedAreDropped)
{
    log_message(LOG_LEVEL_INFO, LOG_MODULE_UI, "before start");
    EXPECT_FALSE(log_is_running());
    log_start();
    EXPECT_TRUE(log_is_running());
    log_message(LOG_LEVEL_INFO, LOG_MODULE_UI, "while running");
    waitForLines(file(0), 1);
    log_stop();
    EXPECT_FALSE(log_is_running());
    log_message(LOG_LEVEL_INFO, LOG_MODULE_UI, "after stop");
    QOVA_LOG(INFO, UI, "after stop %s", "through the macro");
    const auto got = lines(readFile(file(0)));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_NE(got[0].find("while running"), std::string::npos);
}

TEST_F(LogTest, MacroDoesNotEvaluateArgumentsWhileStopped)
{
    int evaluated = 0;
    auto arg = [&] { ++evaluated; return 1; };
    QOVA_LOG(INFO, UI, "%d", arg());
    EXPECT_EQ(evaluated, 0);
    log_start();
    QOVA_LOG(INFO, UI, "%d", arg());
    EXPECT_EQ(evaluated, 1);
}

// Standard output of the process goes to a file for the scope's life.
class StdoutCapture {
public:
    explicit StdoutCapture(const std::string &path) : path(path)
    {
        fflush(stdout);
        saved = dup(1);
        int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        dup2(fd, 1);
        ::close(fd);
    }
    ~StdoutCapture()
    {
        fflush(stdout);
        dup2(saved, 1);
        ::close(saved);
    }
    std::string text() const { return readFile(path); }

private:
    std::string path;
    int saved;
};

TEST_F(LogTest, WriterWithoutFileKeepsPrintingAndKeepsABoundedBacklog)
{
    // "logs" can't be made: its parent is a regular file.
    const std::string blocker = tmp.path().toStdString() + "/blocked";
    makeFile(0, "");  // creates the folder so the path below is ours
    QDir(QString::fromStdString(folder)).removeRecursively();
    { QFile f(QString::fromStdString(blocker)); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); }
    folder = blocker + "/logs";
    log_set_folder(folder.c_str());

    StdoutCapture capture(tmp.path().toStdString() + "/stdout.txt");
    log_start();
    const int total = 1500;
    for (int i = 0; i < total; ++i)
        log_message(LOG_LEVEL_INFO, LOG_MODULE_UI, "record %04d", i);
    for (int i = 0; i < 2000 && capture.text().find("record 1499") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    fflush(stdout);
    ASSERT_NE(capture.text().find("record 1499"), std::string::npos);
    ASSERT_NE(capture.text().find("record 0000"), std::string::npos);

    // The folder becomes possible: the writer opens the file within about a
    // (scaled) second and writes the newest 1024 records it kept.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(blocker)));
    auto got = waitForLines(file(0), 1024);
    log_stop();
    ASSERT_EQ(got.size(), 1024u);
    EXPECT_NE(got.front().find("record 0476"), std::string::npos);
    EXPECT_NE(got.back().find("record 1499"), std::string::npos);
}

TEST_F(LogTest, DefaultFolderUnderTheDataFolderAndNeverAtTheRoot)
{
    const char *oldHome = getenv("HOME");
    const std::string home = oldHome ? oldHome : "";
    const char *oldXdg = getenv("XDG_DATA_HOME");
    const std::string xdg = oldXdg ? oldXdg : "";

    log_set_folder(nullptr);
    setenv("XDG_DATA_HOME", tmp.path().toUtf8().constData(), 1);
    log_start();
    log_message(LOG_LEVEL_INFO, LOG_MODULE_UI, "in the data folder");
    folder = tmp.path().toStdString() + "/Zentaro\xC2\xAE Orvalinde/logs";
    EXPECT_EQ(waitForLines(file(0), 1).size(), 1u);
    log_stop();

    // Neither a data folder nor a home: standard output only.
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    const bool rootHadFolder = fileExists("/Zentaro\xC2\xAE Orvalinde");
    log_start();
    log_message(LOG_LEVEL_INFO, LOG_MODULE_UI, "nowhere to go");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    log_stop();
    if (!rootHadFolder) {
        EXPECT_FALSE(fileExists("/Zentaro\xC2\xAE Orvalinde"));
    }
    EXPECT_FALSE(fileExists("/" + kPrefix + "0.log"));

    if (oldHome)
        setenv("HOME", home.c_str(), 1);
    if (oldXdg)
        setenv("XDG_DATA_HOME", xdg.c_str(), 1);
}

} // namespace

// Lines written through Qt's message functions (the application's qInfo,
// the toolkit's warnings) reach the log file as log lines: the header, a
// level from the message type and a module from its category.
TEST_F(LogTest, QtMessagesReachTheLogFileWithTheHeader)
{
    log_install_qt_message_handler();
    log_set_clock(fixedClock);
    fixedNow.tv_sec = 1709294400;
    fixedNow.tv_usec = 0;
    log_start();
    static const QLoggingCategory toolkit("qt.widgets.test");
    struct Case {
        std::function<void()> write;
        const char *field;   // level and module as the line shows them
        const char *text;
    };
    const Case cases[] = {
        {[] { qInfo("Log Collector Clicked!"); }, "[INFO]   [UI]        ", "Log Collector Clicked!"},
        {[] { qDebug() << "received device match notification:" << 3; }, "[DEBUG]  [UI]        ",
         "received device match notification: 3"},
        {[] { qWarning("cannot listen on %s", "x"); }, "[WARNING][UI]        ", "cannot listen on x"},
        {[] { qCritical("broken"); }, "[ERROR]  [UI]        ", "broken"},
        {[] { qCWarning(toolkit) << "QWidget::setMinimumSize: negative"; }, "[WARNING][OTHERS]    ",
         "QWidget::setMinimumSize: negative"},
    };
    for (const Case &c : cases)
        c.write();
    auto got = waitForLines(file(0), std::size(cases));
    ASSERT_EQ(got.size(), std::size(cases));
    const std::string head = "2024-03-01 12:00:00.1709294400000   [PID:" + std::to_string(getpid()) + "][TID:"
                             + std::to_string(gettid()) + "] ";
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(got[i], head + cases[i].field + "  " + cases[i].text + "\n");

    // Stopped, the log takes nothing: the message goes where Qt sends it.
    log_stop();
    qInfo("after the stop");
    EXPECT_EQ(lines(readFile(file(0))).size(), std::size(cases));
}
