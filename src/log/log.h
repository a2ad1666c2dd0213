#pragma once
// The log core: one entry point for every part of the program. log_message
// formats and queues; one writer thread writes each record as one line to the
// current log file and to standard output.

#include <stdarg.h>
#include <sys/time.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    LOG_LEVEL_DEBUG = 0,
    LOG_LEVEL_INFO = 1,
    LOG_LEVEL_WARNING = 2,
    LOG_LEVEL_ERROR = 3,
};

enum {
    LOG_MODULE_UI = 0,
    LOG_MODULE_SOFTCLIENT = 1,
    LOG_MODULE_HID = 2,
    LOG_MODULE_DFU = 3,
    LOG_MODULE_UVC = 4,
    LOG_MODULE_OTHERS = 5,
};

void log_message(int level, int module, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
void log_start(void);
void log_stop(void);

// Non-zero while the writer runs, i.e. while a record would be written.
int log_is_running(void);

// The folder the log files go to. By default "Zentaro® Orvalinde/logs" under
// the user's data folder ($XDG_DATA_HOME, else ~/.local/share); a non-null
// path replaces it (tests use a temporary folder), null restores the default.
// Takes effect at the next log_start.
void log_set_folder(const char *folder);

// The wall clock records are stamped with; null restores gettimeofday.
typedef void (*log_clock_fn)(struct timeval *now);
void log_set_clock(log_clock_fn clock);

#ifdef __cplusplus
}
#endif

// Front end for C++ callers: the arguments are not evaluated and nothing is
// formatted while the log is not running. The format is checked by the
// compiler like printf; pass QString values through qUtf8Printable().
#define QOVA_LOG(level, module, ...)                                              \
    do {                                                                          \
        if (log_is_running())                                                     \
            log_message(LOG_LEVEL_##level, LOG_MODULE_##module, __VA_ARGS__);     \
    } while (0)
