#pragma once
// Shared pieces of the side menu tests: a shown window to click in, a
// recorder of what the menu reports, the menu built the way the device page
// builds it, and the English texts of the menu's keys.

#include "menu/QOVATabControlView.h"
#include "menu/QOVATabControlViewDelegate.h"
#include "menu/Strategy.h"

#include "QOVADeviceModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace menutest {

// Turns the event loop until pred holds; false when it never did within a
// generous bound (not a measured time).
template <typename Pred>
bool waitUntil(Pred pred, int limitMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

using Report = std::pair<qint64, QString>;

class Recorder : public QOVATabControlViewDelegate {
public:
    void didSelectedIndexString(qint64 group, const QString &text) override { reports.emplace_back(group, text); }
    std::vector<Report> take() { return std::exchange(reports, {}); }
    std::vector<Report> reports;
};

// The strategy class the device page picks for a product id.
inline QString strategyClassFor(const QString &productID)
{
    if (productID == QLatin1String("5c01"))
        return QStringLiteral("PirokStrategy");
    if (productID == QLatin1String("6e17"))
        return QStringLiteral("OrbrinStrategy");
    if (productID == QLatin1String("6e12"))
        return QStringLiteral("VaskoStrategy");
    return QString();
}

// A window holding one menu built in the device page's order.
struct MenuWindow {
    QWidget window;
    QOVATabControlView *menu = nullptr;
    Recorder recorder;

    MenuWindow(const QString &productID, const QString &version, const QString &name = QStringLiteral("Room 4"))
    {
        QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion(version);
        window.resize(QOVATabControlView::kWidth, QOVATabControlView::kHeight);
        menu = new QOVATabControlView(productID, &window);
        const StrategyRef strategy = Strategy::strategyWithClassName(strategyClassFor(productID));
        menu->setStategy(strategy);
        if (strategy)
            strategy->validateInput(menu);
        menu->setDeviceName(name);
        menu->setTabControlDelegate(&recorder);
        menu->move(0, 0);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QPoint at(const QWidget *child, QPoint p) const { return child->mapTo(&window, p); }
    QPoint centreOf(const QWidget *child) const { return at(child, child->rect().center()); }

    void click(const QWidget *child)
    {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, centreOf(child));
        QCoreApplication::processEvents();
    }
    // What a click at this window point would hit.
    QWidget *widgetAt(QPoint p) { return window.childAt(p); }

    bool settle() { return waitUntil([&] { return !menu->isAnimating(); }); }
};

inline QString english(const char *key)
{
    return qtTrId(key);
}

inline QStringList english(const QStringList &keys)
{
    QStringList out;
    for (const QString &k : keys)
        out.append(qtTrId(k.toLatin1().constData()));
    return out;
}

} // namespace menutest
