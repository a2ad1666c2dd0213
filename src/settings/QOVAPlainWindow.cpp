#include "QOVAPlainWindow.h"

#include "AppDelegate.h"
#include "QOVAButton.h"
#include "QOVAColor.h"

#include <QCloseEvent>
#include <QPainter>

QOVAPlainWindow::QOVAPlainWindow(double width, double height, Mask mask)
    : QWidget(AppDelegate::mainWindowWidget(), Qt::Dialog | Qt::FramelessWindowHint)
    , m_windowSize(width, height)
    , m_mask(mask)
{
    resize(qRound(width), qRound(height));
}

QOVAPlainWindow::QOVAPlainWindow(const QRectF &frame, Mask mask)
    : QWidget(AppDelegate::mainWindowWidget(), Qt::Dialog | Qt::FramelessWindowHint)
    , m_windowSize(frame.size())
    , m_windowFrame(frame)
    , m_defaultCenter(false)
    , m_mask(mask)
{
    resize(qRound(frame.width()), qRound(frame.height()));
}

void QOVAPlainWindow::placeCentred(const QSizeF &size, const QRect &content)
{
    const int w = qRound(size.width());
    const int h = qRound(size.height());
    resize(w, h);
    move(content.x() + qRound((content.width() - w) * 0.5), content.y() + qRound((content.height() - h) * 0.5));
}

void QOVAPlainWindow::setMask(bool on)
{
    AppDelegate *delegate = AppDelegate::sharedDelegate();
    if (!delegate)
        return;
    if (m_mask == Mask::Dimming)
        delegate->showWindowMask(on);
    else
        delegate->showInvisibleWindowMask(on);
}

void QOVAPlainWindow::showWindow()
{
    m_parentView = AppDelegate::mainContentView();
    if (m_defaultCenter) {
        placeCentred(m_windowSize, AppDelegate::mainContentScreenRect());
    } else {
        resize(qRound(m_windowSize.width()), qRound(m_windowSize.height()));
    }
    show();
    raise();
    activateWindow();
    setMask(true);
}

void QOVAPlainWindow::orderOut()
{
    hide();
    setMask(false);
}

void QOVAPlainWindow::closeEvent(QCloseEvent *event)
{
    // The windows offer no way to be closed by the desktop; their owners
    // hide them.
    event->ignore();
}

void QOVAPlainWindow::adjustToSize(double width, double height)
{
    QRect content = AppDelegate::mainContentScreenRect();
    if (m_parentView)
        content = QRect(m_parentView->mapToGlobal(QPoint(0, 0)), m_parentView->size());
    placeCentred(QSizeF(width, height), content);
}

void QOVAPlainWindow::setButtonEnabled(QOVAButton *button, bool state)
{
    if (!button)
        return;
    button->setDisabled(!state);
    button->setQovaButtonType(state ? 1 : 0);
    button->setAlphaValue(state ? 1.0 : 0.5);
    button->setTextColor(colorWithString(state ? QStringLiteral("0277bd") : QStringLiteral("252525"), 1.0));
}

void QOVAPlainWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(colorWithString(QStringLiteral("bdbdbd"), 1.0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
