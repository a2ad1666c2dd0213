// The device name rule window: five rule lines, Close, and the page mask.

#include "ShellTestSupport.h"

#include "QOVANameRuleWindow.h"

#include "QOVABaseViewController.h"
#include "QOVAButton.h"
#include "QOVALabel.h"
#include "QOVAMaskView.h"

#include <QPointer>
#include <QTest>

using namespace shelltest;

namespace {

class NameRuleWindowTest : public ShellFixture {
protected:
    QOVAMaskView *mask() const { return delegate()->currentController()->maskView(); }
    // Close deletes the window later; the wait reads it only while it exists.
    static void clickClose(QOVANameRuleWindow *target)
    {
        QPointer<QOVANameRuleWindow> window = target;
        QTest::mouseClick(window->closeButton(), Qt::LeftButton);
        waitUntil([&] { return window.isNull() || !window->isVisible(); });
    }
};

} // namespace

TEST_F(NameRuleWindowTest, ShowsTheFiveRulesInOrderWithCloseInTheCorner)
{
    launch();
    auto *window = new QOVANameRuleWindow(420, 210);
    window->show();
    const QStringList lines = window->describeLabel()->stringValue().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(lines[i], qtTrId(qPrintable(QStringLiteral("STRING_TIP_VASKO_NAME_RULE_%1").arg(i + 1))));
    EXPECT_FALSE(lines.last().isEmpty());
    EXPECT_EQ(window->titleLabel()->stringValue(), qtTrId("STRING_NAME_RULE"));

    EXPECT_EQ(window->size(), QSize(420, 210));
    const QRect content = AppDelegate::mainContentScreenRect();
    EXPECT_EQ(window->geometry().center(), content.center());
    EXPECT_EQ(window->titleLabel()->pos(), QPoint(37, 17));
    EXPECT_EQ(window->describeLabel()->y(), window->titleLabel()->geometry().bottom() + 1 + 13);
    const QRect close = window->closeButton()->geometry();
    EXPECT_EQ(close.height(), 19);
    EXPECT_GE(close.width(), 67);
    EXPECT_NEAR(420 - (close.x() + close.width()), 20.5, 1.0);
    EXPECT_NEAR(210 - (close.y() + close.height()), 20.5, 1.0);
    // The rule text fits above Close.
    EXPECT_LT(window->describeLabel()->geometry().bottom(), close.top());
    shot(window, QStringLiteral("name_rule_window"));
    shot(delegate()->mainWindow(), QStringLiteral("name_rule_window_over_page"));
    clickClose(window);
}

TEST_F(NameRuleWindowTest, EachWindowIsIndependentAndCloseGivesThePageBack)
{
    launch();
    QPointer<QOVANameRuleWindow> first = new QOVANameRuleWindow(420, 210);
    first->show();
    EXPECT_TRUE(mask()->isVisible());
    clickClose(first);
    EXPECT_FALSE(mask()->isVisible());
    waitUntil([&] { return first.isNull(); });
    EXPECT_TRUE(first.isNull());

    QPointer<QOVANameRuleWindow> second = new QOVANameRuleWindow(420, 210);
    second->show();
    EXPECT_TRUE(second->isVisible());
    EXPECT_TRUE(mask()->isVisible());
    clickClose(second);
    EXPECT_FALSE(mask()->isVisible());
}
