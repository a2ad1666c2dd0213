#include "QOVAWifiBaseWindow.h"

#include "AppDelegate.h"
#include "QOVAWindow.h"

#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QCloseEvent>
#include <QPainter>
#include <QtMath>

QOVAWifiBaseWindow::QOVAWifiBaseWindow(double width, double height)
    : QWidget(AppDelegate::mainWindowWidget(), Qt::Dialog | Qt::FramelessWindowHint)
    , m_windowSize(width, height)
    , m_defaultCenter(true)
{
    resize(qRound(width), qRound(height));
    setupBaseUI();
}

QOVAWifiBaseWindow::QOVAWifiBaseWindow(const QRectF &frame)
    : QWidget(AppDelegate::mainWindowWidget(), Qt::Dialog | Qt::FramelessWindowHint)
    , m_windowSize(frame.size())
    , m_windowFrame(frame)
    , m_defaultCenter(false)
{
    setGeometry(frame.toRect());
    setupBaseUI();
}

QOVAWifiBaseWindow::~QOVAWifiBaseWindow() = default;

void QOVAWifiBaseWindow::setupBaseUI()
{
    m_contentView = new QWidget(this);
    m_contentView->setGeometry(rect());
    m_removedViews = new QWidget(this);
    m_removedViews->hide();
    wifiImageView();
    titleLabel();
}

QOVAImageView *QOVAWifiBaseWindow::wifiImageView()
{
    if (!m_wifiImageView) {
        m_wifiImageView = new QOVAImageView(m_contentView);
        m_wifiImageView->setImageScaling(QOVAImageView::ScaleAxesIndependently);
        m_wifiImageView->setImageName(QStringLiteral("wifi"));
        m_wifiImageView->setGeometry(24, 14, 72, 72);
    }
    return m_wifiImageView;
}

QOVALabel *QOVAWifiBaseWindow::titleLabel()
{
    if (!m_titleLabel) {
        m_titleLabel = new QOVALabel(m_contentView);
        m_titleLabel->setFont(fontWithSFProDisplay(13, QOVAFontBold));
        m_titleLabel->setTextColor(Qt::black);
        setTitleText(qtTrId("STRING_FIND_JOIN_WIFI_NETWORK"));
    }
    return m_titleLabel;
}

void QOVAWifiBaseWindow::setTitleText(const QString &text)
{
    QOVALabel *label = titleLabel();
    label->setStringValue(text);
    const int height = qMax(0, qCeil(label->textSize(256).height()));
    label->setGeometry(144, 18, 256, height);
}

void QOVAWifiBaseWindow::placeCentred(double width, double height, const QWidget *view)
{
    const int w = qRound(width);
    const int h = qRound(height);
    QRect content = AppDelegate::mainContentScreenRect();
    if (view)
        content = QRect(view->mapToGlobal(QPoint(0, 0)), view->size());
    resize(w, h);
    move(content.x() + qRound((content.width() - w) * 0.5), content.y() + qRound((content.height() - h) * 0.5));
}

void QOVAWifiBaseWindow::show()
{
    AppDelegate *delegate = AppDelegate::sharedDelegate();
    m_parentView = AppDelegate::mainContentView();
    if (m_defaultCenter) {
        placeCentred(m_windowSize.width(), m_windowSize.height(), m_parentView);
    } else {
        const QPoint origin = pos();
        resize(qRound(m_windowSize.width()), qRound(m_windowSize.height()));
        move(origin);
    }
    QWidget::show();
    raise();
    activateWindow();
    if (delegate)
        delegate->showWindowMask(true);
}

void QOVAWifiBaseWindow::adjustToSize(double width, double height)
{
    placeCentred(width, height, m_parentView ? m_parentView.data() : AppDelegate::mainContentView());
}

void QOVAWifiBaseWindow::orderOut()
{
    hide();
    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->showWindowMask(false);
    const QList<QWidget *> views = m_contentView->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *view : views)
        view->setParent(m_removedViews);
}

void QOVAWifiBaseWindow::formatButton(QOVAButton *button, bool enabled, bool highlighted)
{
    // The same three looks as every dialog button of the application.
    QOVAWindow::formatButton(button, enabled, highlighted);
}

void QOVAWifiBaseWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(0xbd, 0xbd, 0xbd));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void QOVAWifiBaseWindow::closeEvent(QCloseEvent *event)
{
    // The desktop closing the dialog ends it like the dialog's own buttons.
    event->ignore();
    orderOut();
}

void QOVAWifiBaseWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_contentView->setGeometry(rect());
}
