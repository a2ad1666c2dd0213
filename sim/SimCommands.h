#pragma once
// The commands of the control socket, run against a bus. One command is a
// list of words; the answer is ok or not and lines of text.

#include <QStringList>

#include <memory>

namespace sim {

class SimBus;

struct SimCommandResult {
    bool ok = false;
    QStringList lines;   // output, or one line saying what was wrong
};

SimCommandResult runSimCommand(SimBus &bus, const QStringList &words);

// Usage text of the commands (shared with the command-line tool).
QString simCommandUsage();

} // namespace sim
