#pragma once
// Set-up pages are driven on their own: a page sits in a plain window of its
// size (as in the wizard, under which later pages may be stacked), its
// delegates record what they are told, and toasts are read off the screen.

#include "QOVATranslations.h"

#include "QOVAButton.h"
#include "QOVANotificationWindow.h"

#include "QOVADeviceModel.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace setuptest {

inline void installTexts()
{
    static const bool once = [] {
        QOVATranslations::installAll(QLocale(QLocale::English));
        return true;
    }();
    (void)once;
}

// Saves a picture of the widget under $ORVALINDE_SHOT_DIR when it is set.
inline void saveShot(QWidget *widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("ORVALINDE_SHOT_DIR");
    if (dir.isEmpty() || !widget)
        return;
    QDir().mkpath(dir);
    widget->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// The texts of the toasts on screen now, oldest first, each with its style
// (true: success).
struct Toast {
    bool success;
    QString text;
};
inline QList<Toast> toasts()
{
    QList<Toast> list;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *toast = qobject_cast<QOVANotificationWindow *>(w);
        if (toast && toast->isVisible())
            list.append({toast->notificationType() == 0, toast->contentString()});
    }
    return list;
}
inline void closeToasts()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QOVANotificationWindow *>(w))
            delete w;
    }
}

// A click as the user makes it, and the button's deferred action run.
inline void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Runs the event loop until the condition holds (false when it never does
// within a generous limit that is not a measured wait).
inline bool waitFor(const std::function<bool()> &condition)
{
    for (int i = 0; i < 2000 && !condition(); ++i)
        QTest::qWait(1);
    return condition();
}

// The window a page lives in while tested; the page is placed at its origin
// and the window made active.
class PageHost : public QWidget {
public:
    PageHost()
    {
        installTexts();
        resize(820, 544);
    }
    void showAndActivate()
    {
        show();
        activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(this));
    }
};

// Sets the firmware version of the open device for the test's lifetime.
class VersionScope {
public:
    explicit VersionScope(const QString &version)
        : m_old(QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion())
    {
        QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion(version);
    }
    ~VersionScope() { QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion(m_old); }

private:
    QString m_old;
};

} // namespace setuptest
