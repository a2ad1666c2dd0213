#include "QOVADisplayBaseView.h"

#include "QOVANotificationWindow.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "log/log.h"

#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>

QOVADisplayBaseView::QOVADisplayBaseView(QWidget *parent)
    : QWidget(parent)
{
    resize(619, 544);
    if (parent)
        move(211, parent->height() - 544);
    setupUI();
}

QOVALabel *QOVADisplayBaseView::detailViewName()
{
    if (!m_detailViewName) {
        m_detailViewName = new QOVALabel(this);
        m_detailViewName->setFont(fontWithSFProDisplay(18, QOVAFontBoldItalic));
        m_detailViewName->setTextColor(colorWithString(QStringLiteral("000000"), 1.0));
        m_detailViewName->setMaximumNumberOfLines(1);
        m_detailViewName->setLineBreakMode(QOVALabel::ByTruncatingTail);
        m_detailViewName->show();
    }
    return m_detailViewName;
}

QWidget *QOVADisplayBaseView::splitLine()
{
    if (!m_splitLine) {
        m_splitLine = new QWidget(this);
        m_splitLine->setAutoFillBackground(true);
        QPalette palette = m_splitLine->palette();
        palette.setColor(QPalette::Window, colorWithString(QStringLiteral("cbcbcb"), 1.0));
        m_splitLine->setPalette(palette);
        m_splitLine->show();
    }
    return m_splitLine;
}

void QOVADisplayBaseView::setupUI()
{
    detailViewName();
    splitLine();
    layoutTitle();
}

void QOVADisplayBaseView::layoutTitle()
{
    // Offsets from the page's top-left corner. Pages set the title's text
    // later, so it gets the divider's width and one line of its font.
    m_detailViewName->setGeometry(36, 13, m_titleWidth, 24);
    m_splitLine->setGeometry(36, 44, 538, 1);
}

void QOVADisplayBaseView::setTitleWidth(int width)
{
    m_titleWidth = std::max(0, width);
    layoutTitle();
}

void QOVADisplayBaseView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutTitle();
}

void QOVADisplayBaseView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.fillRect(event->rect(), Qt::white);
}

void QOVADisplayBaseView::mousePressEvent(QMouseEvent *event)
{
    qInfo("mouse down");
    event->accept();
}

void QOVADisplayBaseView::mouseReleaseEvent(QMouseEvent *event)
{
    qInfo("mouse up");
    event->accept();
}

void QOVADisplayBaseView::showNotificationWindow(bool success, const QString &text)
{
    auto *toast = new QOVANotificationWindow;
    toast->setNotificationType(success ? 0 : 1);
    toast->setContentString(text);
    toast->show();
}

QString QOVADisplayBaseView::getSystemTimestamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
}

void QOVADisplayBaseView::handleDisplayViewEvent()
{
    QOVA_LOG(INFO, UI, "HandleDisplayViewEvent!");
}

void QOVADisplayBaseView::cancelDisplayViewEvent()
{
    QOVA_LOG(INFO, UI, "Cancel DisplayView Event!");
}
