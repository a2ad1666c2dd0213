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

#include <algorithm>

namespace {
// The title keeps this much of the page free at either side.
constexpr int kTitleMargin = 36;
} // namespace

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
        // The product name a device reports may be long: one line that ends
        // in an ellipsis inside the page.
        m_titleLabel->setMaximumNumberOfLines(1);
        m_titleLabel->setLineBreakMode(QOVALabel::ByTruncatingTail);
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
    const int titleWidth = std::min(title.width(), std::max(0, w - 2 * kTitleMargin));
    titleLabel()->setGeometry((w - titleWidth) / 2, 32, titleWidth, title.height());
    // The whole title as a tool tip only where it had to be shortened.
    titleLabel()->setToolTip(titleWidth < title.width() ? QOVALabel::toolTipForText(titleLabel()->stringValue())
                                                        : QString());
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
