#pragma once
// What the on-screen display page asks of its owner.

class QOVAOSDView;

class QOVAOSDViewDelegate {
public:
    virtual ~QOVAOSDViewDelegate() = default;
    // Writes the state; answers with setOSDEnabled (success) or setOSDFailed.
    virtual void osdView(QOVAOSDView *page, bool enableOSD) = 0;
    // Reads the state; answers with setOSDEnabled.
    virtual void osdViewGetStatus(QOVAOSDView *page) = 0;
};
