#pragma once
// Return and Tab for a page with several text fields. The monitor watches
// the application's key presses and hands one to its page only while that
// page is the one the user works on: shown, frontmost among its siblings (no
// later page, mask or dialog cover over it) and in the active window (or
// under one of its toasts). A handler that acts returns true, which ends the
// key press there (so Tab does not also move the focus its usual way).
// The monitor goes with its page.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QKeyEvent;

class QOVAPageKeyMonitor : public QObject {
    Q_OBJECT
public:
    QOVAPageKeyMonitor(QWidget *page, std::function<bool(QKeyEvent *)> handler);
    ~QOVAPageKeyMonitor() override;

    // Whether the page is the one the user works on now.
    static bool isFrontmost(const QWidget *page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_page;
    std::function<bool(QKeyEvent *)> m_handler;
};
