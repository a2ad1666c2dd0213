#include "DfuMachineParts.h"

#include <QStateMachine>

namespace upgrader {

DfuEvent::DfuEvent(QString name)
    : QEvent(eventType()), m_name(std::move(name))
{
}

QEvent::Type DfuEvent::eventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

DfuState::DfuState(const QString &name, QState *parent)
    : QState(parent)
{
    setObjectName(name);
}

void DfuState::onEntry(QEvent *event)
{
    QState::onEntry(event);
    if (m_enter)
        m_enter();
}

void DfuState::onExit(QEvent *event)
{
    if (m_exit)
        m_exit();
    QState::onExit(event);
}

DfuTransition::DfuTransition(QString eventName, std::function<bool()> live, Guard guard,
                             Action action, QState *source)
    : QAbstractTransition(source), m_eventName(std::move(eventName)), m_live(std::move(live)),
      m_guard(std::move(guard)), m_action(std::move(action))
{
}

bool DfuTransition::eventTest(QEvent *event)
{
    if (!event || event->type() != DfuEvent::eventType())
        return false;
    if (m_live && !m_live())
        return false;
    const auto *named = static_cast<const DfuEvent *>(event);
    if (!m_eventName.isEmpty() && named->name() != m_eventName)
        return false;
    return !m_guard || m_guard();
}

void DfuTransition::onTransition(QEvent *event)
{
    if (m_action)
        m_action(static_cast<const DfuEvent *>(event)->name());
}

} // namespace upgrader
