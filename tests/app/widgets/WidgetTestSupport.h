#pragma once
// A shown top-level window to put a widget in, so that clicks go through the
// window the way a user's do (hit testing, enter and leave included).

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

struct TestWindow {
    QWidget window;

    explicit TestWindow(int width = 300, int height = 200)
    {
        window.resize(width, height);
    }
    void show()
    {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QWindow *handle() { return window.windowHandle(); }
    // A point of a child widget in window coordinates.
    QPoint at(const QWidget *child, QPoint point) const { return child->mapTo(&window, point); }

    void press(const QWidget *child, QPoint p) { QTest::mousePress(handle(), Qt::LeftButton, {}, at(child, p)); }
    void release(const QWidget *child, QPoint p) { QTest::mouseRelease(handle(), Qt::LeftButton, {}, at(child, p)); }
    void move(const QWidget *child, QPoint p) { QTest::mouseMove(handle(), at(child, p)); }
    void click(const QWidget *child, QPoint p)
    {
        press(child, p);
        release(child, p);
    }
};

// Takes the place of the desktop's default handler for web addresses while
// it lives, and records what would have been opened.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder()
    {
        for (const char *scheme : {"http", "https"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UrlRecorder() override
    {
        for (const char *scheme : {"http", "https"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};
