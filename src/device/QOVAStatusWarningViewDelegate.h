#pragma once
// The warning banner's owner (the status page) hides the banner when its
// close button is clicked.

class QOVAStatusWarningViewDelegate {
public:
    virtual ~QOVAStatusWarningViewDelegate() = default;
    virtual void closestatusWarningView() = 0;
};
