#pragma once
// The base of every page controller. Its view is one 820 x 600 page, made on
// first use; the application delegate puts it under the navigation bar of the
// main window. The controller owns the page's mask (dimmed or invisible) and
// its spinner.

#include <QObject>
#include <QPointer>
#include <QWidget>

class QOVAMaskView;
class QOVAProgressIndicator;

class QOVABaseViewController : public QObject {
    Q_OBJECT
public:
    explicit QOVABaseViewController(QObject *parent = nullptr);
    ~QOVABaseViewController() override;

    // The page, loaded on first use (loadView, then viewDidLoad).
    QWidget *view();
    bool isViewLoaded() const { return !m_view.isNull(); }

    // Called by the application delegate around showing the page.
    virtual void viewWillAppear();
    virtual void viewDidAppear();
    // Another page took this one's place in the main window (the default
    // does nothing).
    virtual void didLeaveMainWindow();

    void setupBasicUI();
    void setupBackgroundColor();

    // The dimming mask (alpha 0.3): YES puts it on top of the page, NO takes
    // it away whatever number of YES calls came before.
    void showMaskView(bool show);
    // The same mask fully transparent: the page keeps its look but takes no
    // clicks.
    void showInvisibleMaskView(bool show);
    // The dimming mask with the spinner on top of it.
    void showMaskViewWithProgress(bool show);

    QOVAMaskView *maskView();
    QOVAProgressIndicator *progressIndicator();

protected:
    // Makes the page widget; the default is a plain widget.
    virtual QWidget *loadView();
    // After the view is made: the base sizes and colours it.
    virtual void viewDidLoad();

private:
    void showMask(bool show, double alpha);

    QPointer<QWidget> m_view;
    QPointer<QOVAMaskView> m_maskView;
    QPointer<QOVAProgressIndicator> m_progressIndicator;
};
