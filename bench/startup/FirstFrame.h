#pragma once
// Reports the time from the launcher's fork to the first frame: the first
// paint event of any widget has run and the event loop has come round once
// more (the frame is flushed), then the process prints "first_frame_ns <n>"
// and quits.

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

inline long long monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

class FirstFrameProbe : public QObject {
public:
    explicit FirstFrameProbe(QWidget *window) : QObject(window) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [] {
                const char *start = std::getenv("ORVALINDE_BENCH_START_NS");
                const long long t0 = start ? std::atoll(start) : 0;
                std::printf("first_frame_ns %lld\n", monotonicNs() - t0);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};
