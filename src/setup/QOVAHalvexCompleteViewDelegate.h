#pragma once

class QOVAHalvexCompleteViewDelegate {
public:
    virtual ~QOVAHalvexCompleteViewDelegate() = default;
    // Finish: leave the set-up for the device's pages.
    virtual void finishOOBSetting() = 0;
};
