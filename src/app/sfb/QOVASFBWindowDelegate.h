#pragma once
// Who is told which button of the conferencing-client warning was pressed:
// 101 quit the client, 100 quit this application.

#include <QtGlobal>

class QOVASFBWindow;

class QOVASFBWindowDelegate {
public:
    virtual ~QOVASFBWindowDelegate() = default;
    virtual void terminateWithButtonTag(QOVASFBWindow *window, qint64 tag) = 0;
};
