#include "ITSwitch.h"
#include "QOVAColor.h"

#include "WidgetTestSupport.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>

namespace {

struct SwitchFixture : ::testing::Test {
    TestWindow host;
    ITSwitch *control = new ITSwitch(&host.window);
    QSignalSpy actions{control, &ITSwitch::triggered};
    QSignalSpy changes{control, &ITSwitch::checkedChanged};

    SwitchFixture()
    {
        control->setGeometry(20, 20, 38, 18);
        control->setTintColor(colorWithString("0077bd", 1.0));
        host.show();
    }
    void settle() { QTRY_VERIFY(!control->isAnimating()); }
    void drag(QPoint from, QPoint to)
    {
        host.press(control, from);
        host.move(control, QPoint((from.x() + to.x()) / 2, from.y()));
        host.move(control, to);
        host.release(control, to);
    }
};

TEST_F(SwitchFixture, ClickFlipsAndSendsOnce)
{
    host.click(control, QPoint(5, 9));
    EXPECT_TRUE(control->checked());
    EXPECT_EQ(actions.count(), 1);
    EXPECT_EQ(actions.at(0).at(0).value<ITSwitch *>(), control);
    settle();
    EXPECT_EQ(control->currentKnobRect(), QRectF(25, 3, 12, 12));
    EXPECT_EQ(control->currentTrackColor(), colorWithString("0077bd", 1.0));
    EXPECT_EQ(control->currentKnobInsideColor(), QColor(Qt::white));

    host.click(control, QPoint(30, 9));
    EXPECT_FALSE(control->checked());
    EXPECT_EQ(actions.count(), 2);
    settle();
    EXPECT_EQ(control->currentKnobRect(), QRectF(1, 3, 12, 12));
    EXPECT_EQ(control->currentTrackColor().alpha(), 0);
    EXPECT_EQ(control->currentKnobInsideColor(), colorWithString("666668", 1.0));
}

TEST_F(SwitchFixture, DragDecidesByTheHalfTheReleaseIsOn)
{
    struct Case {
        bool start;
        int endX;
        bool result;
        int sent;
    } const cases[] = {
        {false, 30, true, 1},   // dragged to the other side
        {false, 19, true, 1},   // exactly half the width counts as on
        {false, 18, false, 0},  // stays on the side of the current state
        {true, 25, true, 0},
        {true, 2, false, 1},
        {false, 80, true, 1},   // far outside the control on the right
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " -> x " << c.endX);
        control->setChecked(c.start);
        actions.clear();
        drag(QPoint(c.start ? 30 : 6, 9), QPoint(c.endX, 9));
        EXPECT_EQ(control->checked(), c.result);
        EXPECT_EQ(actions.count(), c.sent);
        EXPECT_FALSE(control->hasDragged());
    }
}

TEST_F(SwitchFixture, KnobFollowsTheDragBeforeRelease)
{
    host.press(control, QPoint(5, 9));
    host.move(control, QPoint(30, 9));
    EXPECT_TRUE(control->hasDragged());
    EXPECT_TRUE(control->isDraggingTowardsOn());
    settle();
    EXPECT_EQ(control->currentKnobRect().x(), 25);
    EXPECT_FALSE(control->checked());  // nothing decided until release
    EXPECT_EQ(actions.count(), 0);
    host.release(control, QPoint(30, 9));
    EXPECT_TRUE(control->checked());
}

TEST_F(SwitchFixture, SetCheckedNeverSendsTheAction)
{
    control->setChecked(true);
    control->setChecked(true);
    control->setChecked(false);
    EXPECT_EQ(actions.count(), 0);
    EXPECT_EQ(changes.count(), 2);  // only real changes reach what the state is bound to
}

TEST_F(SwitchFixture, KeysMoveTheKnobTowardsTheirSide)
{
    control->setFocus(Qt::TabFocusReason);
    QTest::keyClick(control, Qt::Key_Left);  // already off
    EXPECT_EQ(actions.count(), 0);
    QTest::keyClick(control, Qt::Key_Right);
    EXPECT_TRUE(control->checked());
    EXPECT_EQ(actions.count(), 1);
    QTest::keyClick(control, Qt::Key_Right);  // already on
    EXPECT_EQ(actions.count(), 1);
    QTest::keyClick(control, Qt::Key_Space);
    EXPECT_FALSE(control->checked());
    EXPECT_EQ(actions.count(), 2);
    QTest::keyClick(control, Qt::Key_Left);
    EXPECT_EQ(actions.count(), 2);
}

TEST_F(SwitchFixture, DisabledSwitchIsHalfOpaqueWithTheDisabledFillAndInert)
{
    control->setChecked(true);
    control->setEnabled(false);
    settle();
    EXPECT_DOUBLE_EQ(control->currentOpacity(), 0.5);
    EXPECT_EQ(control->currentTrackColor(), QColor(0, 0, 0, 51));

    host.click(control, QPoint(30, 9));
    drag(QPoint(30, 9), QPoint(2, 9));
    QTest::keyClick(control, Qt::Key_Left);
    QTest::keyClick(control, Qt::Key_Space);
    EXPECT_TRUE(control->checked());
    EXPECT_EQ(actions.count(), 0);

    control->setEnabled(true);
    settle();
    EXPECT_DOUBLE_EQ(control->currentOpacity(), 1.0);
    EXPECT_EQ(control->currentTrackColor(), colorWithString("0077bd", 1.0));
}

TEST_F(SwitchFixture, WithoutReceiversAClickStillFlips)
{
    ITSwitch lone(&host.window);
    lone.setGeometry(100, 100, 38, 18);
    lone.show();
    host.click(&lone, QPoint(5, 9));
    EXPECT_TRUE(lone.checked());
}

TEST_F(SwitchFixture, AccessibleAsACheckBox)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::CheckBox);
    EXPECT_TRUE(iface->state().checkable);
    EXPECT_FALSE(iface->state().checked);

    QAccessibleValueInterface *value = iface->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 0);
    value->setCurrentValue(1);
    EXPECT_TRUE(control->checked());
    EXPECT_EQ(actions.count(), 1);
    value->setCurrentValue(1);  // no change, no action
    EXPECT_EQ(actions.count(), 1);

    QAccessibleActionInterface *act = iface->actionInterface();
    ASSERT_NE(act, nullptr);
    EXPECT_TRUE(act->actionNames().contains(QAccessibleActionInterface::pressAction()));
    act->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(control->checked());
    EXPECT_EQ(actions.count(), 2);
    EXPECT_EQ(value->currentValue().toInt(), 0);
}

TEST(ITSwitchLook, DefaultsBeforeAnythingIsSet)
{
    ITSwitch control;
    QColor tint;
    tint.setRgbF(0.27f, 0.86f, 0.36f, 1.0f);
    EXPECT_EQ(control.tintColor(), tint);
    EXPECT_EQ(control.disabledBorderColor(), QColor(0, 0, 0, 51));
    EXPECT_EQ(control.disabledBackgroundColor(), QColor(0, 0, 0, 51));
    EXPECT_EQ(control.size(), QSize(38, 18));
    EXPECT_EQ(control.focusPolicy(), Qt::TabFocus);
}

} // namespace
