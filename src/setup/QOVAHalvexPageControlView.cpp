#include "QOVAHalvexPageControlView.h"

#include "QOVAButton.h"
#include "QOVAColor.h"

QOVAHalvexPageControlView::QOVAHalvexPageControlView(QWidget *parent)
    : QWidget(parent)
{
    setupPageControlView();
}

QOVAButton *QOVAHalvexPageControlView::previousButton()
{
    if (!m_previousButton) {
        m_previousButton = new QOVAButton(this);
        m_previousButton->setQovaButtonType(1);
        m_previousButton->setTextString(qtTrId("BUTTON_ITEM_BACK"));
        connect(m_previousButton, &QOVAButton::clicked, this, [this] { clickPreviousButton(); });
    }
    return m_previousButton;
}

QOVAButton *QOVAHalvexPageControlView::nextButton()
{
    if (!m_nextButton) {
        m_nextButton = new QOVAButton(this);
        m_nextButton->setQovaButtonType(1);
        m_nextButton->setTextString(qtTrId("BUTTON_ITEM_NEXT"));
        connect(m_nextButton, &QOVAButton::clicked, this, [this] { clickNextButton(); });
    }
    return m_nextButton;
}

QOVAButton *QOVAHalvexPageControlView::skipButton()
{
    if (!m_skipButton) {
        m_skipButton = new QOVAButton(this);
        m_skipButton->setQovaButtonType(0);
        m_skipButton->setTextString(qtTrId("BUTTON_ITEM_SKIP"));
        m_skipButton->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
        connect(m_skipButton, &QOVAButton::clicked, this, [this] { clickSkipButton(); });
    }
    return m_skipButton;
}

void QOVAHalvexPageControlView::setupPageControlView()
{
    resize(280, 24);
    previousButton()->setGeometry(0, 0, 88, 24);
    skipButton()->setGeometry((280 - 88) / 2, 0, 88, 24);
    nextButton()->setGeometry(280 - 88, 0, 88, 24);
}

void QOVAHalvexPageControlView::clickPreviousButton()
{
    if (auto *delegate = pageControlDelegate())
        delegate->pageControlGoPrevious(this);
}

void QOVAHalvexPageControlView::clickNextButton()
{
    if (auto *delegate = pageControlDelegate())
        delegate->pageControlGoNext(this);
}

void QOVAHalvexPageControlView::clickSkipButton()
{
    if (auto *delegate = pageControlDelegate())
        delegate->pageControlSkip(this);
}
