#include "QOVANotificationCenter.h"

#include "log/log.h"
#include "platform/ThreadHop.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

QOVANotificationCenter &QOVANotificationCenter::defaultCenter()
{
    static QOVANotificationCenter center;
    return center;
}

QOVANotificationCenter::ObserverId QOVANotificationCenter::addObserver(const QString &name,
                                                                       QObject *context,
                                                                       Observer observer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const ObserverId id = m_nextId++;
    m_entries.push_back({id, name, context != nullptr, QPointer<QObject>(context),
                         std::make_shared<Observer>(std::move(observer))});
    return id;
}

void QOVANotificationCenter::removeObserver(ObserverId id)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::erase_if(m_entries, [id](const Entry &e) { return e.id == id; });
}

void QOVANotificationCenter::removeObservers(std::vector<ObserverId> &ids)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::erase_if(m_entries, [&ids](const Entry &e) { return std::find(ids.begin(), ids.end(), e.id) != ids.end(); });
    }
    ids.clear();
}

void QOVANotificationCenter::removeObserver(QObject *context, const QString &name)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::erase_if(m_entries, [&](const Entry &e) {
        return e.hasContext && e.context == context && (name.isEmpty() || e.name == name);
    });
}

void QOVANotificationCenter::postNotificationName(const QString &name, QObject *object,
                                                  const std::optional<QVariantMap> &userInfo)
{
    // Observers may add or remove observers while they run: call a snapshot.
    std::vector<std::pair<QPointer<QObject>, std::shared_ptr<Observer>>> targets;
    std::vector<bool> hasContext;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::erase_if(m_entries, [](const Entry &e) { return e.hasContext && !e.context; });
        for (const Entry &e : m_entries) {
            if (e.name == name) {
                targets.emplace_back(e.context, e.observer);
                hasContext.push_back(e.hasContext);
            }
        }
    }
    const QOVANotification notification{name, object, userInfo};
    for (size_t i = 0; i < targets.size(); ++i) {
        if (hasContext[i] && !targets[i].first)
            continue;
        (*targets[i].second)(notification);
    }
}

void QOVANotificationCenter::postNotificationNameOnMainThread(
    const QString &name, QObject *object, const std::optional<QVariantMap> &userInfo)
{
    QOVA_LOG(INFO, OTHERS, "%s: PostNotification %s",
             "-[NSNotificationCenter(NotificationCenterAdditions) "
             "postNotificationNameOnMainThread:object:userInfo:]",
             qUtf8Printable(name));
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        postNotificationName(name, object, userInfo);
        return;
    }
    QVariantMap info;
    if (!name.isNull())
        info.insert(QStringLiteral("name"), name);
    if (object)
        info.insert(QStringLiteral("object"), QVariant::fromValue(object));
    if (userInfo)
        info.insert(QStringLiteral("userInfo"), *userInfo);
    platform::postTo(app, [info] { doPostNotification(info); });
}

void QOVANotificationCenter::doPostNotification(const QVariantMap &info)
{
    std::optional<QVariantMap> userInfo;
    const auto it = info.constFind(QStringLiteral("userInfo"));
    if (it != info.constEnd())
        userInfo = it->toMap();
    defaultCenter().postNotificationName(info.value(QStringLiteral("name")).toString(),
                                         info.value(QStringLiteral("object")).value<QObject *>(),
                                         userInfo);
}
