// Main-thread posting, observers with contexts, and the locked array.
#include "QOVALockedArray.h"
#include "QOVANotificationCenter.h"
#include "log/log.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

namespace {

void processEvents()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

TEST(NotificationCenter, MainThreadPostRunsObserversBeforeReturning)
{
    auto &center = QOVANotificationCenter::defaultCenter();
    QObject context;
    std::vector<QOVANotification> seen;
    center.addObserver("TestMainPost", &context,
                       [&](const QOVANotification &n) { seen.push_back(n); });
    center.postNotificationNameOnMainThread("TestMainPost", nullptr,
                                            QVariantMap{{"productSeriaNumber", "S1"}});
    ASSERT_EQ(seen.size(), 1u);
    ASSERT_TRUE(seen[0].userInfo.has_value());
    EXPECT_EQ(seen[0].userInfo->value("productSeriaNumber").toString(), "S1");
    center.removeObserver(&context);
}

TEST(NotificationCenter, BackgroundPostIsQueuedInOrderOnTheMainThread)
{
    auto &center = QOVANotificationCenter::defaultCenter();
    QObject context;
    std::vector<int> order;
    std::vector<bool> onMain;
    std::vector<bool> hadUserInfo;
    center.addObserver("TestBackgroundPost", &context, [&](const QOVANotification &n) {
        order.push_back(n.userInfo ? n.userInfo->value("i").toInt() : -1);
        hadUserInfo.push_back(n.userInfo.has_value());
        onMain.push_back(QThread::currentThread() == qApp->thread());
    });
    std::thread poster([&] {
        center.postNotificationNameOnMainThread("TestBackgroundPost", nullptr, std::nullopt);
        for (int i = 0; i < 50; ++i)
            center.postNotificationNameOnMainThread("TestBackgroundPost", nullptr,
                                                    QVariantMap{{"i", i}});
    });
    poster.join();
    EXPECT_TRUE(order.empty());  // nothing ran while the main thread was away
    processEvents();
    ASSERT_EQ(order.size(), 51u);
    EXPECT_FALSE(hadUserInfo[0]);  // no user info stays none, not an empty map
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[size_t(i) + 1], i);
    for (bool main : onMain)
        EXPECT_TRUE(main);
    center.removeObserver(&context);
}

TEST(NotificationCenter, ObserversOfDestroyedContextsAndRemovedObserversAreNotCalled)
{
    auto &center = QOVANotificationCenter::defaultCenter();
    int calls = 0;
    auto *context = new QObject;
    center.addObserver("TestContext", context, [&](const QOVANotification &) { ++calls; });
    const auto id = center.addObserver("TestContext", nullptr,
                                       [&](const QOVANotification &) { calls += 10; });
    center.postNotificationName("TestContext");
    EXPECT_EQ(calls, 11);
    delete context;
    center.removeObserver(id);
    center.postNotificationName("TestContext");
    EXPECT_EQ(calls, 11);

    // An observer may remove itself while it runs.
    QObject self;
    center.addObserver("TestContext", &self, [&](const QOVANotification &) {
        ++calls;
        center.removeObserver(&self);
    });
    center.postNotificationName("TestContext");
    center.postNotificationName("TestContext");
    EXPECT_EQ(calls, 12);
}

TEST(NotificationCenter, EveryPostWritesOneLogLine)
{
    QTemporaryDir tmp;
    const std::string folder = tmp.path().toStdString();
    log_set_folder(folder.c_str());
    log_start();
    auto &center = QOVANotificationCenter::defaultCenter();
    center.postNotificationNameOnMainThread("TestLogged", nullptr, std::nullopt);
    std::thread([&] {
        center.postNotificationNameOnMainThread("TestLogged", nullptr, std::nullopt);
    }).join();
    processEvents();
    const QString path = tmp.path() + QString::fromUtf8("/Zentaro\xC2\xAE Orvalinde0.log");
    QByteArray text;
    for (int i = 0; i < 1000 && text.count("PostNotification TestLogged") < 2; ++i) {
        QThread::msleep(5);
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            text = f.readAll();
    }
    log_stop();
    log_set_folder(nullptr);
    EXPECT_EQ(text.count("[OTHERS]      -[NSNotificationCenter(NotificationCenterAdditions) "
                         "postNotificationNameOnMainThread:object:userInfo:]: PostNotification "
                         "TestLogged\n"),
              2);
}

TEST(LockedArray, OperationsUnderTheArraysOwnLock)
{
    QOVALockedArray<QString> array;
    for (const char *s : {"a", "b", "a", "c", "d"})
        array.addSafeObject(s);
    array.removeSafeObject("a");
    EXPECT_EQ(array.objects(), (QList<QString>{"b", "c", "d"}));
    array.removeSafeObjectsInArray({"b", "d", "x"});
    EXPECT_EQ(array.objects(), (QList<QString>{"c"}));

    // The lock is recursive: operations inside withLock do not deadlock.
    array.withLock([&](QList<QString> &objects) {
        array.addSafeObject("e");
        EXPECT_EQ(objects.size(), 2);
    });

    // Many threads at once lose nothing.
    QOVALockedArray<int> numbers;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 1000; ++i)
                numbers.addSafeObject(t * 1000 + i);
            for (int i = 0; i < 1000; i += 2)
                numbers.removeSafeObject(t * 1000 + i);
        });
    for (auto &th : threads)
        th.join();
    EXPECT_EQ(numbers.count(), 2000);
}

} // namespace
