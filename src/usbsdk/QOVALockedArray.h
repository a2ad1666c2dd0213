#pragma once
// An array whose operations run under the array's own recursive lock. Code
// that must keep the array still across several operations takes the same
// lock (withLock); the thread holding it may call the operations again.

#include <QList>

#include <mutex>
#include <utility>

template <class T>
class QOVALockedArray {
public:
    // Appends.
    void addSafeObject(const T &object)
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        m_objects.append(object);
    }

    // Removes every element equal to object.
    void removeSafeObject(const T &object)
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        m_objects.removeAll(object);
    }

    // Removes every element equal to one of others.
    void removeSafeObjectsInArray(const QList<T> &others)
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        m_objects.removeIf([&](const T &o) { return others.contains(o); });
    }

    // A copy of the elements.
    QList<T> objects() const
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        return m_objects;
    }

    qsizetype count() const
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        return m_objects.size();
    }

    // Runs f with the elements while holding the lock.
    template <class F>
    decltype(auto) withLock(F &&f)
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        return std::forward<F>(f)(m_objects);
    }

    std::recursive_mutex &lock() const { return m_lock; }

private:
    mutable std::recursive_mutex m_lock;
    QList<T> m_objects;
};
