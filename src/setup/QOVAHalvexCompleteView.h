#pragma once
// The last set-up page: the set-up is complete. Finish (the bar's Next,
// retitled) ends the set-up, Back returns to provisioning; no Skip.

#include "QOVAHalvexCompleteViewDelegate.h"
#include "QOVAHalvexOOBBaseView.h"

class QOVAImageView;

class QOVAHalvexCompleteView : public QOVAHalvexOOBBaseView {
    Q_OBJECT
public:
    explicit QOVAHalvexCompleteView(QWidget *parent = nullptr);

    void setDelegate(QOVAHalvexCompleteViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVAHalvexCompleteViewDelegate *delegate() const { return m_delegate.get(); }

    QOVAImageView *finishImageView() const { return m_finishImageView; }
    QOVALabel *finishTipLabel() const { return m_finishTipLabel; }
    // The tip's text (the camera wizard has its own); the tip keeps its
    // place and takes the height the text needs.
    void setFinishTipText(const QString &text);

    void pageControlGoNext(QOVAHalvexPageControlView *bar) override;

private:
    void setupOOBCompleteView();
    void layoutTip();

    QOVAWeakDelegate<QOVAHalvexCompleteViewDelegate> m_delegate;
    QOVAImageView *m_finishImageView = nullptr;
    QOVALabel *m_finishTipLabel = nullptr;
};
