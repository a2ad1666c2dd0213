// The navigation bar on its own: styles, dots, the indicator and dragging.

#include "ShellTestSupport.h"

#include "QOVANavigationView.h"
#include "QOVASegmentItem.h"

#include "QOVAImageView.h"

#include <QTest>

using namespace shelltest;

TEST(NavigationView, StylesShowAndHideTogether)
{
    QOVANavigationView bar;
    bar.show();
    EXPECT_EQ(bar.size(), QSize(820, 56));
    EXPECT_EQ(bar.backgroundColor(), QColor(0x22, 0x22, 0x22));
    bar.setNavigationStyle(2);
    EXPECT_EQ(bar.backgroundColor(), QColor(0x02, 0x77, 0xbd));
    EXPECT_TRUE(bar.backButton()->isVisible());
    EXPECT_EQ(bar.backButton()->geometry(), QRect(8, 26, 24, 24));
    EXPECT_TRUE(bar.segmentView()->isVisible());
    EXPECT_TRUE(bar.indicateLine()->isVisible());
    bar.setNavigationStyle(3);
    EXPECT_EQ(bar.navigationStyle(), 2);
    EXPECT_TRUE(bar.backButton()->isVisible());
    bar.setNavigationStyle(1);
    EXPECT_FALSE(bar.backButton()->isVisible());
    EXPECT_TRUE(bar.segmentView()->isVisible());
    bar.setNavigationStyle(0);
    EXPECT_FALSE(bar.segmentView()->isVisible());
    EXPECT_FALSE(bar.indicateLine()->isVisible());
    EXPECT_FALSE(bar.backButton()->isVisible());
    EXPECT_EQ(bar.backgroundColor(), QColor(0x22, 0x22, 0x22));
}

TEST(NavigationView, DotsAndIndicator)
{
    QOVANavigationView bar;
    bar.setNavigationStyle(1);
    bar.show();
    QOVASegmentItem *settings = bar.settingItem();
    QOVASegmentItem *update = bar.updateItem();
    EXPECT_TRUE(settings->isSelected());
    EXPECT_EQ(settings->itemImageView()->imageName(), QStringLiteral("Device_select"));
    EXPECT_EQ(update->itemImageView()->imageName(), QStringLiteral("FirmwareUpdate_unselect"));
    const int gap = update->geometry().left() - settings->geometry().right() - 1;
    EXPECT_EQ(gap, 54);
    const auto centreUnder = [&](QOVASegmentItem *item) {
        const QRect g = item->geometry().translated(bar.segmentView()->pos());
        return std::abs(bar.indicateLine()->geometry().center().x() - g.center().x()) <= 1;
    };
    EXPECT_TRUE(centreUnder(settings));
    EXPECT_EQ(bar.indicateLine()->geometry().size(), QSize(100, 2));
    EXPECT_EQ(bar.indicateLine()->geometry().bottom(), 56 - 3 - 1);

    for (int bad : {2, -1}) {
        bar.showNotificationType(bad);
        bar.removeNotificationType(bad);
    }
    EXPECT_FALSE(settings->tipView()->isVisible());
    EXPECT_FALSE(update->tipView()->isVisible());

    // A dot on the selected segment stays; selecting that segment again
    // (already selected) does not hide it.
    bar.showNotificationType(0);
    bar.selectNavigateItem(0);
    EXPECT_TRUE(settings->tipView()->isVisible());
    EXPECT_EQ(settings->tipView()->geometry().topRight(), settings->itemImageView()->geometry().topRight());

    bar.showNotificationType(1);
    bar.selectNavigateItem(1);
    EXPECT_FALSE(update->tipView()->isVisible());
    EXPECT_TRUE(settings->tipView()->isVisible());
    EXPECT_TRUE(centreUnder(update));
    bar.selectNavigateItem(9);
    EXPECT_TRUE(centreUnder(update));
    bar.removeNotificationType(0);
    EXPECT_FALSE(settings->tipView()->isVisible());
    shot(&bar, QStringLiteral("navigation_bar"));
}

TEST(NavigationView, DraggingTheBarMovesTheWindowByThePointersMovement)
{
    QWidget window;
    window.resize(820, 600);
    auto *bar = new QOVANavigationView(&window);
    bar->setNavigationStyle(0);
    window.move(100, 100);
    window.show();
    const QPoint start = window.pos();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(700, 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(740, 50), bar->mapToGlobal(QPointF(740, 50)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &move);
    EXPECT_EQ(window.pos(), start + QPoint(40, 30));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(0, 0));
}
