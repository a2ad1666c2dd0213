#pragma once
// The file panel behind the network dialogs' choose-file rows: lets the user
// pick one existing file (no folders, no new folders) and answers once,
// later, on the main thread. Tests install a panel of their own.

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QOVAOpenPanel {
public:
    virtual ~QOVAOpenPanel() = default;
    // done gets the chosen file's path, or nothing when the user cancelled.
    using Completion = std::function<void(std::optional<QString> path)>;
    virtual void chooseFile(Completion done) = 0;

    // The panel in use: the desktop's file dialog unless one was installed.
    static QOVAOpenPanel &shared();
    // Installs a panel (nullptr returns to the desktop's).
    static void setShared(std::shared_ptr<QOVAOpenPanel> panel);
};
