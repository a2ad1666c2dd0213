#pragma once
// What a set-up page hands to its wizard: the page bar's Back and Skip.

class QOVAHalvexOOBBaseViewDelegate {
public:
    virtual ~QOVAHalvexOOBBaseViewDelegate() = default;
    virtual void pageControlGoBack() = 0;
    virtual void pageControlSkip() = 0;
};
