#pragma once
// Told when the user moves the highlight of a side menu list to another row;
// the text is the title that row shows.

#include <QString>

class QOVASystemSettingViewDelegate {
public:
    virtual ~QOVASystemSettingViewDelegate() = default;
    virtual void didSubSelectedIndexString(const QString &title) = 0;
};
