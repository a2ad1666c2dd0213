#pragma once
// The owner of the side menu (the device page controller) is told every
// choice: the group (0 status, 1 user settings, 2 administrator settings,
// 3 diagnostics) and a text: "FirstView" for the group's first page,
// "Password" when the administrator group was chosen and still has to be
// opened, or the displayed title of the row that was picked.

#include <QString>
#include <QtGlobal>

class QOVATabControlViewDelegate {
public:
    virtual ~QOVATabControlViewDelegate() = default;
    virtual void didSelectedIndexString(qint64 group, const QString &text) = 0;
};
