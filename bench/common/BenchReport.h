#pragma once
// The benchmark report goes to the original standard output while the code
// under test (the log writer's echo) writes to /dev/null. The report stream
// writes to a duplicate of the original descriptor, so a redirected output
// file is neither reopened nor truncated, and std::cout is pointed back at
// its own buffer before the report stream goes away.

#include <ext/stdio_filebuf.h>

#include <cstdio>
#include <iostream>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

class BenchReport {
public:
    BenchReport()
    {
        std::fflush(stdout);
        m_fd = dup(1);
        if (m_fd < 0)
            return;
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 1);
            close(null);
        }
        m_buffer = std::make_unique<__gnu_cxx::stdio_filebuf<char>>(m_fd, std::ios::out);
        m_saved = std::cout.rdbuf(m_buffer.get());
    }
    ~BenchReport()
    {
        if (!m_buffer)
            return;
        std::cout.flush();
        std::cout.rdbuf(m_saved);
        m_buffer.reset();  // closes the duplicate
    }
    BenchReport(const BenchReport &) = delete;
    BenchReport &operator=(const BenchReport &) = delete;

private:
    int m_fd = -1;
    std::unique_ptr<__gnu_cxx::stdio_filebuf<char>> m_buffer;
    std::streambuf *m_saved = nullptr;
};
