#include "QOVAPageKeyMonitor.h"

#include "QOVANotificationWindow.h"

#include <QApplication>
#include <QKeyEvent>

QOVAPageKeyMonitor::QOVAPageKeyMonitor(QWidget *page, std::function<bool(QKeyEvent *)> handler)
    : QObject(page)
    , m_page(page)
    , m_handler(std::move(handler))
{
    qApp->installEventFilter(this);
}

QOVAPageKeyMonitor::~QOVAPageKeyMonitor()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool QOVAPageKeyMonitor::isFrontmost(const QWidget *page)
{
    if (!page || !page->isVisible())
        return false;
    QWidget *active = QApplication::activeWindow();
    if (active != page->window()) {
        // A toast takes the activation for a moment; its window still counts.
        if (!qobject_cast<QOVANotificationWindow *>(active) || !active->parentWidget()
            || active->parentWidget()->window() != page->window())
            return false;
    }
    const QWidget *parent = page->parentWidget();
    if (!parent || page->isWindow())
        return true;
    const QObjectList &siblings = parent->children();
    for (auto it = siblings.crbegin(); it != siblings.crend(); ++it) {
        auto *widget = qobject_cast<QWidget *>(*it);
        if (!widget || widget->isWindow() || widget->isHidden())
            continue;
        return widget == page;
    }
    return false;
}

bool QOVAPageKeyMonitor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_page || !m_handler)
        return false;
    // A key press travels from the focus widget up to its window; it is
    // looked at once, where it starts.
    QWidget *start = QApplication::focusWidget();
    if (!start) {
        start = QApplication::activeWindow();
        // Under a toast that took the activation, keys still start at the
        // focus widget of the window it covers.
        if (qobject_cast<QOVANotificationWindow *>(start) && start->parentWidget()
            && start->parentWidget()->window()->focusWidget())
            start = start->parentWidget()->window()->focusWidget();
    }
    if (watched != start)
        return false;
    if (!isFrontmost(m_page))
        return false;
    return m_handler(static_cast<QKeyEvent *>(event));
}
