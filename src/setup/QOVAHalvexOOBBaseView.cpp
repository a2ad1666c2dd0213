#include "QOVAHalvexOOBBaseView.h"

#include "QOVAHalvexPageControlView.h"
#include "QOVAHalvexPageIndicatorView.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAGeometry.h"
#include "QOVALabel.h"
#include "QOVANotificationWindow.h"

#include <QPainter>

QOVAHalvexOOBBaseView::QOVAHalvexOOBBaseView(QWidget *parent)
    : QWidget(parent)
{
    setGeometry(0, 0, 820, 544);
    setupBaseOOBView();
}

QOVALabel *QOVAHalvexOOBBaseView::titleLabel()
{
    if (!m_titleLabel) {
        m_titleLabel = new QOVALabel(this);
        m_titleLabel->setFont(fontWithSFProDisplay(24, 5));
        m_titleLabel->setTextColor(Qt::black);
        m_titleLabel->setStringValue(qtTrId("ZENTARO_HALVEX"));
        m_titleLabel->setToolTip(QString());
    }
    return m_titleLabel;
}

QOVALabel *QOVAHalvexOOBBaseView::subTitleLabel()
{
    if (!m_subTitleLabel) {
        m_subTitleLabel = new QOVALabel(this);
        m_subTitleLabel->setFont(fontWithSFProDisplay(20, 5));
        m_subTitleLabel->setTextColor(Qt::black);
    }
    return m_subTitleLabel;
}

QOVAHalvexPageControlView *QOVAHalvexOOBBaseView::pageControlView()
{
    if (!m_pageControlView) {
        m_pageControlView = new QOVAHalvexPageControlView(this);
        m_pageControlView->setHidden(true);
        m_pageControlView->setPageControlDelegate(this);
    }
    return m_pageControlView;
}

QOVAHalvexPageIndicatorView *QOVAHalvexOOBBaseView::pageIndicatorView()
{
    if (!m_pageIndicatorView) {
        m_pageIndicatorView = new QOVAHalvexPageIndicatorView(this);
        m_pageIndicatorView->setHidden(true);
    }
    return m_pageIndicatorView;
}

void QOVAHalvexOOBBaseView::setupBaseOOBView()
{
    setAutoFillBackground(false);
    titleLabel();
    subTitleLabel();
    pageIndicatorView();
    pageControlView();
    layoutFrame();
}

void QOVAHalvexOOBBaseView::setTitleText(const QString &text)
{
    titleLabel()->setStringValue(text);
    titleLabel()->setToolTip(QString());
    layoutFrame();
}

void QOVAHalvexOOBBaseView::setSubTitleText(const QString &text)
{
    subTitleLabel()->setStringValue(text);
    subTitleLabel()->setToolTip(QString());
    layoutFrame();
}

void QOVAHalvexOOBBaseView::layoutFrame()
{
    const int w = width();
    // A few points over the text's own width, so that rounding never makes
    // a one-line title wrap.
    const QSize title = titleLabel()->sizeHint() + QSize(8, 0);
    titleLabel()->setGeometry((w - title.width()) / 2, 32, title.width(), title.height());
    const QSize sub = subTitleLabel()->sizeHint() + QSize(8, 0);
    subTitleLabel()->setGeometry((w - sub.width()) / 2, titleLabel()->geometry().bottom() + 1 + 10, sub.width(),
                                 sub.height());
    pageIndicatorView()->setupPageIndicatorView();
    const QSize indicator = pageIndicatorView()->size();
    qovaSetFrame(pageIndicatorView(), (w - indicator.width()) / 2.0, 64, indicator.width(), indicator.height());
    qovaSetFrame(pageControlView(), (w - 280) / 2.0, 133, 280, 24);
}

void QOVAHalvexOOBBaseView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutFrame();
}

void QOVAHalvexOOBBaseView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
}

void QOVAHalvexOOBBaseView::formatButton(QOVAButton *button)
{
    if (!button)
        return;
    button->setQovaButtonType(1);
    button->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
}

void QOVAHalvexOOBBaseView::showNotificationWindow(bool success, const QString &text)
{
    auto *toast = new QOVANotificationWindow;
    toast->setNotificationType(success ? 0 : 1);
    toast->setContentString(text);
    toast->show();
}

void QOVAHalvexOOBBaseView::pageControlGoPrevious(QOVAHalvexPageControlView *)
{
    if (auto *delegate = baseViewDelegate())
        delegate->pageControlGoBack();
}

void QOVAHalvexOOBBaseView::pageControlSkip(QOVAHalvexPageControlView *)
{
    if (auto *delegate = baseViewDelegate())
        delegate->pageControlSkip();
}
