#include "QOVAScrollView.h"

#include <QScrollBar>
#include <QWheelEvent>

QOVAScrollView::QOVAScrollView(QWidget *parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    // The scroll bars take wheel events themselves; they obey the switch too.
    verticalScrollBar()->installEventFilter(this);
    horizontalScrollBar()->installEventFilter(this);
}

void QOVAScrollView::wheelEvent(QWheelEvent *event)
{
    if (m_scrollingEnabled) {
        QScrollArea::wheelEvent(event);
        return;
    }
    event->accept();
}

bool QOVAScrollView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && !m_scrollingEnabled
        && (watched == verticalScrollBar() || watched == horizontalScrollBar())) {
        event->accept();
        return true;
    }
    return QScrollArea::eventFilter(watched, event);
}
