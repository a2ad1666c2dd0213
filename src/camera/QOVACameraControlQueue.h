#pragma once
// Camera control reads and writes go out one per turn of the event loop, in
// the order they were asked for: each is a synchronous USB Video Class
// exchange, and a run of them in one go would hold the main thread for all
// of them together.

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

class QOVACameraControlQueue : public QObject {
    Q_OBJECT
public:
    explicit QOVACameraControlQueue(QObject *parent = nullptr);

    void enqueue(std::function<void()> task);
    bool isEmpty() const { return m_tasks.empty(); }

private:
    void runNext();

    std::deque<std::function<void()>> m_tasks;
    QTimer m_timer;
};
