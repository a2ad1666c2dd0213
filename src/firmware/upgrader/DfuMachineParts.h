#pragma once
// Building blocks of the DFU upgrader's state machine on Qt StateMachine:
// events that carry a name, states with enter and exit actions, and
// transitions chosen by event name with an optional guard and an action.

#include <QAbstractTransition>
#include <QEvent>
#include <QState>
#include <QString>

#include <functional>

namespace upgrader {

// One named event of the machine ("PrepareDetach", "BlockComplete", ...).
class DfuEvent : public QEvent {
public:
    explicit DfuEvent(QString name);
    static QEvent::Type eventType();
    const QString &name() const { return m_name; }

private:
    QString m_name;
};

// A named state whose enter and exit actions are plain functions.
class DfuState : public QState {
public:
    DfuState(const QString &name, QState *parent);
    void setEnterAction(std::function<void()> action) { m_enter = std::move(action); }
    void setExitAction(std::function<void()> action) { m_exit = std::move(action); }

protected:
    void onEntry(QEvent *event) override;
    void onExit(QEvent *event) override;

private:
    std::function<void()> m_enter;
    std::function<void()> m_exit;
};

// A transition taken on the event of that name when the guard (if any)
// passes and the machine is still wanted (live() says so). An empty event
// name matches every named event: added last to a state, it catches the
// events no other transition of the state takes.
class DfuTransition : public QAbstractTransition {
public:
    using Guard = std::function<bool()>;
    using Action = std::function<void(const QString &eventName)>;

    DfuTransition(QString eventName, std::function<bool()> live, Guard guard, Action action,
                  QState *source);

protected:
    bool eventTest(QEvent *event) override;
    void onTransition(QEvent *event) override;

private:
    QString m_eventName;
    std::function<bool()> m_live;
    Guard m_guard;
    Action m_action;
};

} // namespace upgrader
