#pragma once
// Qt's messages (qDebug, qInfo, qWarning, qCritical, qFatal, and the
// toolkit's own warnings) go into the log like every other line: installed
// once at start-up, so no call site needs to know.

#include <QtGlobal>

// Installs the handler; a second call changes nothing. While the log is not
// running a message goes where Qt would have sent it without the handler.
void log_install_qt_message_handler();

// The log level and module a Qt message is written with: debug, info and
// warning keep their level, critical and fatal are errors; messages of the
// application (the default category) are UI lines, the toolkit's own ("qt.")
// and any other category's are OTHERS.
struct QtMessageLogSlot {
    int level;
    int module;
};
QtMessageLogSlot log_slot_of_qt_message(QtMsgType type, const char *category);
