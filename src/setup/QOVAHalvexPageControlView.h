#pragma once
// The set-up pages' bar, 280 x 24: Back at the left, Skip in the middle,
// Next at the right, each 88 wide. Clicks go to the bar's delegate.

#include "menu/QOVAWeakDelegate.h"

#include "QOVAHalvexPageControlDelegate.h"

#include <QPointer>
#include <QWidget>

class QOVAButton;

class QOVAHalvexPageControlView : public QWidget {
    Q_OBJECT
public:
    explicit QOVAHalvexPageControlView(QWidget *parent = nullptr);

    QOVAButton *previousButton();
    QOVAButton *nextButton();
    QOVAButton *skipButton();

    void setPageControlDelegate(QOVAHalvexPageControlDelegate *delegate) { m_delegate.set(delegate); }
    QOVAHalvexPageControlDelegate *pageControlDelegate() const { return m_delegate.get(); }

    void clickPreviousButton();
    void clickNextButton();
    void clickSkipButton();

private:
    void setupPageControlView();

    QPointer<QOVAButton> m_previousButton;
    QPointer<QOVAButton> m_nextButton;
    QPointer<QOVAButton> m_skipButton;
    QOVAWeakDelegate<QOVAHalvexPageControlDelegate> m_delegate;
};
