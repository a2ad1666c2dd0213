#pragma once
// SIGTERM (a logout, a service manager) and SIGINT (Ctrl+C in a terminal)
// delivered to the main thread's event loop: the handler only writes the
// signal's number into a pipe, and a socket notifier on the pipe's other end
// emits received() there, where the application quits as from its menu.
// One at a time; the previous handlers come back when it goes.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    bool isInstalled() const { return m_notifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
};
