#pragma once
// A page of the settings area in a shown window of the device page's size,
// at the place the device page gives it, with the application's texts
// installed; clicks and keys go through QTest as a user's would.

#include "QOVADisplayBaseView.h"
#include "ITSwitch.h"
#include "QOVALabel.h"
#include "QOVADeviceModel.h"
#include "QOVATranslations.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

// Readable failures for texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << qPrintable(text) << '"';
}

namespace settingstest {

inline void installTexts()
{
    static const bool installed = [] {
        QOVATranslations::installAll(QLocale(QLocale::English));
        return true;
    }();
    (void)installed;
}

inline void setVersion(const QString &version)
{
    QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion(version);
}

// Holds a page the way the device page does.
template <typename Page>
struct PageHost {
    QWidget window;
    Page *page = nullptr;

    template <typename... Args>
    explicit PageHost(Args &&...args)
    {
        installTexts();
        window.resize(830, 544);
        page = new Page(std::forward<Args>(args)..., &window);
        page->move(211, 0);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Saves a picture of the page once its switches have settled.
    void grab(const QString &name)
    {
        const QList<ITSwitch *> switches = page->template findChildren<ITSwitch *>();
        (void)QTest::qWaitFor([&] {
            for (ITSwitch *s : switches)
                if (s->isAnimating())
                    return false;
            return true;
        }, 5000);
        page->grab().save(QDir::temp().filePath(name));
    }
};

// A click in the middle of the widget, through its window (hit testing
// included), then the events it posts are run.
inline void click(QWidget *widget)
{
    ASSERT_TRUE(widget);
    ASSERT_TRUE(widget->isVisible());
    QWidget *window = widget->window();
    ASSERT_TRUE(window->windowHandle());
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, widget->rect().center()));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Opens the pop-up with a click and picks the item with that title.
inline void choosePopUpItem(QComboBox *popUp, const QString &title)
{
    const int row = popUp->findText(title);
    ASSERT_GE(row, 0) << qPrintable(title);
    click(popUp);
    QAbstractItemView *list = popUp->view();
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible(); }, 5000));
    // The open list takes the item with the keyboard (a click right after
    // opening counts as the opening click's release).
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < row; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_FALSE(list->isVisible());
}

// Waits on a condition with the event loop running; fails after 5 s.
inline bool waitFor(const std::function<bool()> &condition)
{
    return QTest::qWaitFor(condition, 5000);
}

} // namespace settingstest
