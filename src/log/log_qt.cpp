#include "log/log_qt.h"

#include "log/log.h"

#include <QByteArray>
#include <QMessageLogContext>
#include <QString>

#include <atomic>
#include <cstring>

namespace {

std::atomic<QtMessageHandler> previousHandler{nullptr};
std::atomic<bool> installed{false};

void passOn(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (QtMessageHandler previous = previousHandler.load())
        previous(type, context, text);
}

void forwardToLog(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (!log_is_running()) {
        passOn(type, context, text);
        return;
    }
    const QtMessageLogSlot slot = log_slot_of_qt_message(type, context.category);
    log_message(slot.level, slot.module, "%s", text.toUtf8().constData());
    // The process ends right after a fatal message, before the writer gets
    // to it: it also goes to standard error the way Qt writes it.
    if (type == QtFatalMsg)
        passOn(type, context, text);
}

} // namespace

QtMessageLogSlot log_slot_of_qt_message(QtMsgType type, const char *category)
{
    int level = LOG_LEVEL_ERROR;
    switch (type) {
    case QtDebugMsg:
        level = LOG_LEVEL_DEBUG;
        break;
    case QtInfoMsg:
        level = LOG_LEVEL_INFO;
        break;
    case QtWarningMsg:
        level = LOG_LEVEL_WARNING;
        break;
    case QtCriticalMsg:
    case QtFatalMsg:
        level = LOG_LEVEL_ERROR;
        break;
    }
    const bool application = !category || std::strcmp(category, "default") == 0;
    return {level, application ? LOG_MODULE_UI : LOG_MODULE_OTHERS};
}

void log_install_qt_message_handler()
{
    if (installed.exchange(true))
        return;
    previousHandler.store(qInstallMessageHandler(forwardToLog));
}
