#pragma once
// The settings pages on the real application: the device page fixture, plus
// a record of the toasts shown (they stay only a moment) and helpers for
// the pages' pop-ups and the device's request bodies.

#include "device/DevicePageTestSupport.h"

#include "ITSwitch.h"
#include "QOVANotificationWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QJsonArray>
#include <QPointer>

namespace settingsapptest {

using namespace devicetest;

// Records the text of every toast as it is shown.
class ToastRecorder : public QObject {
public:
    ToastRecorder() { qApp->installEventFilter(this); }
    ~ToastRecorder() override { qApp->removeEventFilter(this); }
    QStringList texts;
    bool shown(const char *key) const { return texts.contains(qtTrId(key)); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *toast = qobject_cast<QOVANotificationWindow *>(watched))
                texts << toast->contentString();
        }
        return false;
    }
};

class SettingsAppFixture : public DevicePageFixture {
protected:
    ToastRecorder toasts;

    // A picture of the main window once its switches have stopped moving.
    void settledShot(const char *name)
    {
        waitUntil([this] {
            for (ITSwitch *s : mainWindow()->findChildren<ITSwitch *>())
                if (s->isAnimating())
                    return false;
            return true;
        });
        shot(mainWindow(), QLatin1String(name));
    }

    // The current page as the given class, once it is that page.
    template <typename Page>
    Page *waitForPage(const char *getter)
    {
        Page *found = nullptr;
        waitUntil([&] {
            found = page() ? qobject_cast<Page *>(page()->currentView()) : nullptr;
            return found && page()->currentGetter() == QLatin1String(getter);
        });
        return found;
    }

    // Opens the administrator group (no password set) and one of its rows.
    void openAdminEntry(const char *key)
    {
        if (!entryCell(key))
            clickTab("STRING_ADMIN_SETTINGS");
        ASSERT_TRUE(waitUntil([&] { return entryCell(key) != nullptr; })) << key;
        clickEntry(key);
    }
    void openUserEntry(const char *key)
    {
        if (!entryCell(key))
            clickTab("STRING_USER_SETTINGS");
        ASSERT_TRUE(waitUntil([&] { return entryCell(key) != nullptr; })) << key;
        clickEntry(key);
    }

    // Leaves for the status page and comes back to the entry.
    void leaveAndReturnAdmin(const char *key)
    {
        clickTab("STRING_STATUS");
        ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String("statusInfoView"); }));
        openAdminEntry(key);
    }

    // Picks a pop-up item the way a user does: a click opens the list, the
    // keys choose.
    void choose(QComboBox *popUp, const QString &title)
    {
        const int row = popUp->findText(title);
        ASSERT_GE(row, 0) << qPrintable(title);
        click(popUp);
        QAbstractItemView *list = popUp->view();
        ASSERT_TRUE(waitUntil([list] { return list->isVisible(); }));
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < row; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    // Bodies of the requests of that url and method the device received.
    static QList<QJsonObject> bodies(const SimHandle &handle, const QString &url, const char *method = "PUT")
    {
        QList<QJsonObject> found;
        for (const sim::SimReceivedRequest &request : handle.device->receivedRequests()) {
            const QJsonObject head = QJsonDocument::fromJson(request.head).object();
            if (head.value(QStringLiteral("url")).toString() == url
                && head.value(QStringLiteral("type")).toString() == QLatin1String(method))
                found << QJsonDocument::fromJson(request.body).object();
        }
        return found;
    }
    static int count(const SimHandle &handle, const QString &url, const char *method)
    {
        return int(bodies(handle, url, method).size());
    }
};

} // namespace settingsapptest
