#pragma once
// The page bar's three buttons, reported to the page that shows the bar.
// Each is optional: a page that does not care leaves it empty.

class QOVAHalvexPageControlView;

class QOVAHalvexPageControlDelegate {
public:
    virtual ~QOVAHalvexPageControlDelegate() = default;
    virtual void pageControlGoPrevious(QOVAHalvexPageControlView *) {}
    virtual void pageControlGoNext(QOVAHalvexPageControlView *) {}
    virtual void pageControlSkip(QOVAHalvexPageControlView *) {}
};
