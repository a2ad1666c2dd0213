#pragma once
// Owner of the bass restart prompt.

class QOVARestartWindowDelegate {
public:
    virtual ~QOVARestartWindowDelegate() = default;
    // The user declined: put the change back and close the prompt.
    virtual void cancelChange() = 0;
    // The user agreed: restart the device and close the prompt.
    virtual void restartDevice() = 0;
};
