#pragma once
// Choosing a file to open without blocking the window: a dialog that lets
// the user pick one existing file matching a name filter. The answer comes
// later through the completion (1 OK with the chosen paths, 0 cancelled).
// Tests put a chooser of their own in place of the dialog.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

class QOVAOpenPanel {
public:
    using Completion = std::function<void(int result, const QStringList &paths)>;
    using Chooser = std::function<void(QWidget *parent, const QString &nameFilter, Completion completion)>;

    static void beginWithCompletionHandler(QWidget *parent, const QString &nameFilter, Completion completion);
    // None: the desktop's file dialog again.
    static void setChooser(Chooser chooser);
};
