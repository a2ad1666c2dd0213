#pragma once
// The notification centre of the application: notifications by name, with an
// optional user-info map, delivered to observers. Device events are noticed on
// discovery and HID threads; postNotificationNameOnMainThread moves every post
// onto the main thread, where all observers run.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

struct QOVANotification {
    QString name;
    QObject *object = nullptr;              // every post of the application passes none
    std::optional<QVariantMap> userInfo;    // absent, not empty, when none was given
};

class QOVANotificationCenter {
public:
    using Observer = std::function<void(const QOVANotification &)>;
    using ObserverId = quint64;

    static QOVANotificationCenter &defaultCenter();

    // Adds an observer of the notifications of that name. With a context the
    // observer is skipped and dropped once the context is destroyed.
    ObserverId addObserver(const QString &name, QObject *context, Observer observer);
    void removeObserver(ObserverId id);
    // Every observer of that context (of that name only, when one is given).
    void removeObserver(QObject *context, const QString &name = QString());

    // Observes each name with a member function of the receiver (its
    // context); the ids are added to ids.
    template <class T>
    void addObservers(T *receiver, std::initializer_list<std::pair<const char *, void (T::*)()>> handlers,
                      std::vector<ObserverId> &ids)
    {
        for (const auto &[name, method] : handlers)
            ids.push_back(addObserver(QLatin1String(name), receiver,
                                      [receiver, method = method](const QOVANotification &) { (receiver->*method)(); }));
    }
    // Removes the observers of these ids and empties the list.
    void removeObservers(std::vector<ObserverId> &ids);

    // Posts on the calling thread: the observers have run when it returns.
    void postNotificationName(const QString &name, QObject *object = nullptr,
                              const std::optional<QVariantMap> &userInfo = std::nullopt);

    // Posts on the main thread: at once when called there, else queued for
    // the main thread without waiting. Posts from one thread arrive in order.
    void postNotificationNameOnMainThread(const QString &name, QObject *object,
                                          const std::optional<QVariantMap> &userInfo);

    // The main-thread half: reads "name", "object" and "userInfo" (an absent
    // key is none) and posts on the default centre.
    static void doPostNotification(const QVariantMap &info);

private:
    struct Entry {
        ObserverId id;
        QString name;
        bool hasContext;
        QPointer<QObject> context;
        std::shared_ptr<Observer> observer;
    };
    std::mutex m_mutex;
    std::vector<Entry> m_entries;
    ObserverId m_nextId = 1;
};
