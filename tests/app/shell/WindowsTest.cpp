// Child windows over the main window: dialogs centred over the dimmed page,
// toasts under the navigation bar, the page mask and spinner.

#include "ShellTestSupport.h"

#include "QOVADisplayBaseView.h"
#include "QOVAMaskView.h"
#include "QOVANotificationWindow.h"
#include "WindowCompositing.h"
#include "QOVAProgressIndicator.h"
#include "QOVAWindow.h"

#include "QOVAButton.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include "platform/TimeScale.h"

#include <QAbstractAnimation>
#include <QElapsedTimer>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTest>

using namespace shelltest;

namespace {

class WindowsTest : public ShellFixture {
protected:
    // Toast periods a little longer than the other tests' so that the states
    // between fade-in and fade-out can be seen.
    void slowerToasts() { platform::setTimeScale(0.1); }
    void TearDown() override
    {
        ShellFixture::TearDown();
        platform::setTimeScale(0.01);
    }
    QRect content() const { return AppDelegate::mainContentScreenRect(); }
    QOVABaseViewController *page() const { return delegate()->currentController(); }
};

// Runs a window's running animations to their end at once: the states a
// toast passes through are checked where its animations end, not by catching
// them on the clock, which a busy machine does not keep.
bool fadingOut(QWidget *window)
{
    for (QPropertyAnimation *animation :
         window->findChildren<QPropertyAnimation *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (animation->state() == QAbstractAnimation::Running
            && animation->propertyName() == "windowOpacity" && animation->endValue().toDouble() == 0.0)
            return true;
    }
    return false;
}

void finishAnimations(QWidget *window)
{
    for (QAbstractAnimation *animation :
         window->findChildren<QAbstractAnimation *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (animation->state() == QAbstractAnimation::Running)
            animation->setCurrentTime(animation->totalDuration());
    }
}

} // namespace

TEST_F(WindowsTest, DialogIsCentredOverTheDimmedPageUntilClosed)
{
    launch();
    ASSERT_EQ(content().size(), QSize(820, 600));
    QOVAWindow dialog(400, 200);
    dialog.show();
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.isWindow());
    EXPECT_EQ(dialog.parentWidget(), delegate()->mainWindow());
    // Its lower-left corner 210 right of and 200 above the content's.
    EXPECT_EQ(dialog.geometry(), QRect(content().x() + 210, content().y() + 200, 400, 200));
    EXPECT_TRUE(page()->maskView()->isVisible());
    EXPECT_DOUBLE_EQ(page()->maskView()->alphaValue(), 0.3);
    shot(delegate()->mainWindow(), QStringLiteral("dialog_page_dimmed"));
    shot(&dialog, QStringLiteral("dialog"));

    dialog.adjustToSize(400, 300);
    EXPECT_EQ(dialog.geometry(), QRect(content().x() + 210, content().y() + 150, 400, 300));
    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(400, 200));

    // A second dialog closing takes the mask away all the same.
    QOVAWindow other(300, 100);
    other.show();
    other.close();
    EXPECT_FALSE(page()->maskView()->isVisible());
    EXPECT_TRUE(dialog.isVisible());
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(WindowsTest, DialogFollowsAMovedMainWindow)
{
    delegate()->mainWindow()->move(300, 200);
    QOVAWindow dialog(420, 280);
    dialog.show();
    EXPECT_EQ(dialog.pos(), content().topLeft() + QPoint(200, 160));
    dialog.close();
}

TEST_F(WindowsTest, MaskBlocksClicksAndKeepsOneLook)
{
    launch();
    QOVABaseViewController *p = page();
    auto *button = new QPushButton(p->view());
    button->setGeometry(100, 100, 80, 30);
    button->show();
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });

    p->showInvisibleMaskView(true);
    p->showMaskView(true);
    EXPECT_DOUBLE_EQ(p->maskView()->alphaValue(), 0.3);
    p->showMaskView(false);
    p->showMaskView(true);
    p->showInvisibleMaskView(true);
    EXPECT_DOUBLE_EQ(p->maskView()->alphaValue(), 0.0);
    QTest::mouseClick(p->view()->childAt(QPoint(140, 115)), Qt::LeftButton);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(p->view()->childAt(QPoint(140, 115)), p->maskView());

    p->showMaskView(false);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);

    // The spinner sits on the mask, centred, and turns from its creation on.
    p->showMaskViewWithProgress(true);
    EXPECT_TRUE(p->progressIndicator()->isVisible());
    EXPECT_TRUE(p->progressIndicator()->isAnimating());
    EXPECT_EQ(p->progressIndicator()->geometry(), QRect(388, 278, 44, 44));
    p->showMaskView(true);
    p->showMaskViewWithProgress(false);
    EXPECT_FALSE(p->progressIndicator()->isVisible());
    EXPECT_FALSE(p->maskView()->isVisible());
}

TEST_F(WindowsTest, ToastSlidesInUnderTheBarAndGoesAwayByItself)
{
    launch();
    slowerToasts();
    auto *toast = new QOVANotificationWindow;
    QPointer<QOVANotificationWindow> alive(toast);
    toast->setNotificationType(0);
    toast->setContentString(QStringLiteral("Saved."));
    toast->show();
    EXPECT_EQ(toast->parentWidget(), delegate()->mainWindow());
    EXPECT_EQ(toast->geometry(), QRect(content().x() + 494, content().y() + 67, 300, 44));
    EXPECT_DOUBLE_EQ(toast->windowOpacity(), 0.0);
    // It slides 30 to the left while it fades in.
    finishAnimations(toast);
    EXPECT_DOUBLE_EQ(toast->windowOpacity(), 1.0);
    EXPECT_EQ(toast->pos(), content().topLeft() + QPoint(464, 67));
    EXPECT_EQ(toast->leftColor(), QColor(0x14, 0x72, 0x17));
    EXPECT_EQ(toast->rightColor(), QColor(0xea, 0xfe, 0xe9));
    EXPECT_EQ(toast->imageView()->imageName(), QStringLiteral("icon_caution_success"));
    EXPECT_EQ(toast->contentLabel()->geometry().topLeft(), QPoint(8, 8));
    EXPECT_EQ(toast->contentLabel()->width(), 233);
    EXPECT_LE(toast->contentLabel()->height(), 30);
    shot(delegate()->mainWindow(), QStringLiteral("toast_page"));
    shot(toast, QStringLiteral("toast_success"));
    // Four seconds (scaled) after showing it fades and is gone.
    EXPECT_TRUE(waitUntil([&] { return alive.isNull(); }));
}

TEST_F(WindowsTest, ToastCloseButtonFadesAtOnceAndTwoToastsShareTheirPlace)
{
    slowerToasts();
    auto *first = new QOVANotificationWindow;
    first->setNotificationType(1);
    first->setContentString(QStringLiteral("Failed."));
    first->show();
    auto *second = new QOVANotificationWindow;
    second->setNotificationType(1);
    second->show();
    QElapsedTimer sinceSecond;
    sinceSecond.start();
    EXPECT_EQ(first->geometry(), second->geometry());
    EXPECT_EQ(first->closeImageView()->imageName(), QStringLiteral("icon_close_red"));
    shot(first, QStringLiteral("toast_failure"));
    QPointer<QOVANotificationWindow> a(first), b(second);
    QTest::mouseClick(first->closeButton(), Qt::LeftButton, {}, QPoint(3, 3));
    // The button reports the click from the event loop; the click starts
    // the fade-out, at whose end the toast is hidden.
    ASSERT_TRUE(waitUntil([&] { return !a || fadingOut(a); }));
    finishAnimations(first);
    EXPECT_TRUE(a && !a->isVisible());
    // The other toast keeps its own schedule.
    if (sinceSecond.elapsed() < platform::scaledMs(4000)) {
        EXPECT_TRUE(b && b->isVisible());
    }
    EXPECT_TRUE(waitUntil([&] { return a.isNull() && b.isNull(); }));

    QOVANotificationWindow odd;
    odd.setNotificationType(2);
    EXPECT_EQ(odd.notificationType(), 2);
    EXPECT_EQ(odd.leftColor().alpha(), 0);
    EXPECT_FALSE(odd.imageView()->hasImage());
    odd.setContentString(QString(400, QLatin1Char('x')));
    EXPECT_EQ(odd.size(), QSize(300, 44));
}

TEST_F(WindowsTest, ToastTakesItsRoundedShapeAsMaskWhereWindowsCannotShowThrough)
{
    slowerToasts();
    struct AskTheDisplayAgain {
        ~AskTheDisplayAgain() { windowcompositing::setTranslucentWindowsForTesting(std::nullopt); }
    } askAgain;
    for (const bool translucent : {false, true}) {
        SCOPED_TRACE(translucent ? "compositing display" : "bare X server");
        windowcompositing::setTranslucentWindowsForTesting(translucent);
        QOVANotificationWindow toast;
        toast.setNotificationType(1);
        toast.setContentString(QStringLiteral("Failed."));
        toast.show();
        const QRegion mask = toast.mask();
        if (translucent) {
            // The transparent corners show what lies behind.
            EXPECT_TRUE(mask.isEmpty());
            continue;
        }
        // The corners are not part of the window; the edges between them
        // and the whole inside are.
        for (const QPoint corner : {QPoint(0, 0), QPoint(299, 0), QPoint(0, 43), QPoint(299, 43), QPoint(1, 1)})
            EXPECT_FALSE(mask.contains(corner)) << corner.x() << "," << corner.y();
        for (const QPoint inside : {QPoint(150, 0), QPoint(150, 43), QPoint(0, 22), QPoint(299, 22), QPoint(8, 8),
                                    QPoint(291, 35), QPoint(150, 22)})
            EXPECT_TRUE(mask.contains(inside)) << inside.x() << "," << inside.y();
        shot(&toast, QStringLiteral("toast_masked"));
    }
}

TEST_F(WindowsTest, DialogButtonLooks)
{
    QOVAButton button;
    QOVAWindow::formatButton(&button, true, true);
    EXPECT_EQ(button.backgroundColor(), QColor(0x02, 0x77, 0xbd));
    EXPECT_EQ(button.textColor(), QColor(Qt::white));
    EXPECT_FALSE(button.disabled());
    QOVAWindow::formatButton(&button, true, false);
    EXPECT_EQ(button.backgroundColor(), QColor(Qt::white));
    EXPECT_EQ(button.textColor(), QColor(Qt::black));
    for (bool highlighted : {true, false}) {
        QOVAWindow::formatButton(&button, false, highlighted);
        EXPECT_TRUE(button.disabled());
        EXPECT_DOUBLE_EQ(button.alphaValue(), 0.5);
        EXPECT_EQ(button.backgroundColor(), QColor(Qt::white));
        EXPECT_EQ(button.textColor(), QColor(0x25, 0x25, 0x25));
    }
}

TEST_F(WindowsTest, SettingsPageBase)
{
    QWidget holder;
    holder.resize(820, 544);
    QOVADisplayBaseView pageView(&holder);
    EXPECT_EQ(pageView.geometry(), QRect(211, 0, 619, 544));
    EXPECT_EQ(pageView.splitLine()->geometry(), QRect(36, 44, 538, 1));
    EXPECT_EQ(pageView.detailViewName()->geometry().topLeft(), QPoint(36, 13));
    const QString stamp = QOVADisplayBaseView::getSystemTimestamp();
    EXPECT_EQ(stamp.size(), 14);
    EXPECT_TRUE(QDateTime::fromString(stamp, QStringLiteral("yyyyMMddHHmmss")).isValid());
}
