#pragma once
// A delegate held weakly: the owner of a menu part is told about clicks but
// never keeps its delegate alive. When the delegate is a QObject its
// destruction is noticed and the reference reads as empty from then on;
// other delegates must outlive the sender (as a parent does its children).

#include <QObject>
#include <QPointer>

template <typename Delegate>
class QOVAWeakDelegate {
public:
    void set(Delegate *delegate)
    {
        m_delegate = delegate;
        m_guard = dynamic_cast<QObject *>(delegate);
        m_guarded = m_guard != nullptr;
    }
    Delegate *get() const
    {
        if (m_guarded && m_guard.isNull())
            return nullptr;
        return m_delegate;
    }

private:
    Delegate *m_delegate = nullptr;
    QPointer<QObject> m_guard;
    bool m_guarded = false;
};
