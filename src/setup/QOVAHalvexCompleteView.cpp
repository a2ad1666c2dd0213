#include "QOVAHalvexCompleteView.h"

#include "QOVAHalvexPageControlView.h"
#include "QOVAHalvexPageIndicatorView.h"

#include "QOVAButton.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QtMath>

QOVAHalvexCompleteView::QOVAHalvexCompleteView(QWidget *parent)
    : QOVAHalvexOOBBaseView(parent)
{
    setupOOBCompleteView();
}

void QOVAHalvexCompleteView::setupOOBCompleteView()
{
    setSubTitleText(qtTrId("OOB_COMPLETE"));
    pageControlView()->nextButton()->setTextString(qtTrId("BUTTON_ITEM_FINISH"));
    pageControlView()->setPageControlDelegate(this);
    pageControlView()->skipButton()->setHidden(true);
    pageControlView()->setHidden(false);
    pageIndicatorView()->setCurrentStep(4);
    pageIndicatorView()->setHidden(false);

    m_finishImageView = new QOVAImageView(this);
    m_finishImageView->setImageName(QStringLiteral("oob_complete"));
    m_finishImageView->setGeometry((width() - 76) / 2, subTitleLabel()->geometry().bottom() + 1 + 52, 76, 76);

    m_finishTipLabel = new QOVALabel(this);
    m_finishTipLabel->setFont(fontWithSFProDisplay(18, 5));
    m_finishTipLabel->setAlignment(QOVALabel::AlignCenter);
    m_finishTipLabel->setStringValue(qtTrId("OOB_COMPLETE_TIP"));
    m_finishTipLabel->setToolTip(QString());
    layoutTip();
}

void QOVAHalvexCompleteView::setFinishTipText(const QString &text)
{
    m_finishTipLabel->setStringValue(text);
    m_finishTipLabel->setToolTip(QString());
    layoutTip();
}

void QOVAHalvexCompleteView::layoutTip()
{
    const double height = m_finishTipLabel->textSize(280).height();
    m_finishTipLabel->setGeometry((width() - 280) / 2, m_finishImageView->geometry().bottom() + 1 + 46, 280,
                                  qCeil(height));
}

void QOVAHalvexCompleteView::pageControlGoNext(QOVAHalvexPageControlView *)
{
    if (auto *d = delegate())
        d->finishOOBSetting();
}
