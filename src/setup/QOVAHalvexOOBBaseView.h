#pragma once
// The frame of every set-up page: an 820 x 544 white page with a title, a
// sub-title, the Back/Skip/Next bar and the five-step indicator. Bar and
// indicator start hidden; each page shows what it uses, sets its step and
// decides what its Next does. Back and Skip go to the wizard through the
// frame's delegate. Pages also get the accent-button look and the toast.

#include "menu/QOVAWeakDelegate.h"

#include "QOVAHalvexOOBBaseViewDelegate.h"
#include "QOVAHalvexPageControlDelegate.h"

#include <QPointer>
#include <QWidget>

class QOVAButton;
class QOVAHalvexPageControlView;
class QOVAHalvexPageIndicatorView;
class QOVALabel;

class QOVAHalvexOOBBaseView : public QWidget, public QOVAHalvexPageControlDelegate {
    Q_OBJECT
public:
    explicit QOVAHalvexOOBBaseView(QWidget *parent = nullptr);

    QOVALabel *titleLabel();
    QOVALabel *subTitleLabel();
    QOVAHalvexPageControlView *pageControlView();
    QOVAHalvexPageIndicatorView *pageIndicatorView();

    void setBaseViewDelegate(QOVAHalvexOOBBaseViewDelegate *delegate) { m_baseViewDelegate.set(delegate); }
    QOVAHalvexOOBBaseViewDelegate *baseViewDelegate() const { return m_baseViewDelegate.get(); }

    // Title and sub-title texts; the frame centres them again.
    void setTitleText(const QString &text);
    void setSubTitleText(const QString &text);

    // The outlined accent look of the page's own buttons.
    static void formatButton(QOVAButton *button);
    // A success (YES) or failure (NO) toast with the text.
    void showNotificationWindow(bool success, const QString &text);

    // QOVAHalvexPageControlDelegate: Back and Skip go to the wizard; Next is
    // each page's own.
    void pageControlGoPrevious(QOVAHalvexPageControlView *bar) override;
    void pageControlSkip(QOVAHalvexPageControlView *bar) override;

protected:
    // Centres title, sub-title, indicator and bar again.
    void layoutFrame();
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setupBaseOOBView();

    QPointer<QOVALabel> m_titleLabel;
    QPointer<QOVALabel> m_subTitleLabel;
    QPointer<QOVAHalvexPageControlView> m_pageControlView;
    QPointer<QOVAHalvexPageIndicatorView> m_pageIndicatorView;
    QOVAWeakDelegate<QOVAHalvexOOBBaseViewDelegate> m_baseViewDelegate;
};
