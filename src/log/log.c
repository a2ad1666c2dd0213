// Placeholder until the writer lands: prints to standard output while started.
#include "log/log.h"

#include <stdio.h>

static int running;

void log_message(int level, int module, const char *format, ...)
{
    (void)level;
    (void)module;
    if (!running)
        return;
    va_list ap;
    va_start(ap, format);
    vprintf(format, ap);
    va_end(ap);
    putchar('\n');
}

void log_start(void) { running = 1; }
void log_stop(void) { running = 0; }
int log_is_running(void) { return running; }
