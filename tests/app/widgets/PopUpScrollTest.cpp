#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAPopUpButton.h"
#include "QOVAScrollView.h"

#include "WidgetTestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

QFont itemFont(const QOVAPopUpButton &b, int i) { return b.itemData(i, Qt::FontRole).value<QFont>(); }
QVariant itemColor(const QOVAPopUpButton &b, int i) { return b.itemData(i, Qt::ForegroundRole); }

TEST(QOVAPopUpButtonStyle, StylesTheItemsPresentNowOnly)
{
    QOVAPopUpButton popUp;
    popUp.addItemsWithTitles({"Auto", "Manual", "Off"});
    popUp.setFontWithString(QStringLiteral("616161"), 1.0, 14, 1);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(itemColor(popUp, i).value<QBrush>().color(), colorWithString("616161", 1.0));
        EXPECT_EQ(itemFont(popUp, i), fontWithSFProDisplay(14, 1));
    }
    popUp.addItemWithTitle(QStringLiteral("Later"));
    EXPECT_FALSE(itemColor(popUp, 3).isValid());
    EXPECT_FALSE(popUp.itemData(3, Qt::FontRole).isValid());
}

TEST(QOVAPopUpButtonStyle, AddingATitleAgainMovesIt)
{
    QOVAPopUpButton popUp;
    popUp.addItemsWithTitles({"A", "B", "C"});
    popUp.addItemWithTitle(QStringLiteral("A"));
    EXPECT_EQ(popUp.itemTitles(), (QStringList{"B", "C", "A"}));
    popUp.insertItemWithTitle(QStringLiteral("A"), 1);
    EXPECT_EQ(popUp.itemTitles(), (QStringList{"B", "A", "C"}));
    popUp.selectItemAtIndex(2);
    EXPECT_EQ(popUp.titleOfSelectedItem(), QStringLiteral("C"));
    popUp.removeAllItems();
    EXPECT_TRUE(popUp.itemTitles().isEmpty());
}

TEST(QOVAPopUpButtonStyle, LongTitleEndsInAnEllipsisAndSitsFivePointsLeft)
{
    QOVAPopUpButton popUp;
    popUp.resize(120, 24);
    popUp.addItemWithTitle(QStringLiteral("A very long title that cannot fit into the button"));
    popUp.setFontWithString(QStringLiteral("616161"), 1.0, 14, 1);
    EXPECT_TRUE(popUp.shownTitle().endsWith(QChar(0x2026)));
    EXPECT_EQ(popUp.titleRect().x(), 3);
}

TEST(QOVAPopUpButtonStyle, FaceIsWhiteOrEcecec)
{
    TestWindow host;
    auto *popUp = new QOVAPopUpButton(&host.window);
    popUp->setGeometry(10, 10, 140, 24);
    host.show();
    const QPoint probe(100, 12);  // inside the face, away from title and arrow
    EXPECT_EQ(popUp->grab().toImage().pixelColor(probe), QColor(Qt::white));
    popUp->setEnabled(false);
    EXPECT_EQ(popUp->faceColor(), colorWithString("#ececec", 1.0));
    EXPECT_EQ(popUp->grab().toImage().pixelColor(probe), colorWithString("ececec", 1.0));
    // The edge shows over the fill.
    EXPECT_NE(popUp->grab().toImage().pixelColor(QPoint(70, 0)), colorWithString("ececec", 1.0));
}

TEST(QOVAPopUpButtonStyle, OpenListClosesWhenTheButtonLeavesItsWindow)
{
    TestWindow host;
    auto *popUp = new QOVAPopUpButton(&host.window);
    popUp->setGeometry(10, 10, 140, 24);
    popUp->addItemsWithTitles({"One", "Two"});
    host.show();
    popUp->showPopup();
    QTRY_VERIFY(popUp->view()->isVisible());
    popUp->setParent(nullptr);
    EXPECT_FALSE(popUp->view()->isVisible());
    delete popUp;
}

// A wheel turn as it reaches a widget. Qt hands an event that a widget
// leaves unaccepted on to its parent, so "accepted" is what decides whether
// an enclosing view sees it.
bool wheel(QWidget *target)
{
    const QPointF pos(5, 5);
    QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
    return event.isAccepted();
}

struct ScrollFixture : ::testing::Test {
    TestWindow host{300, 300};
    QOVAScrollView *view = new QOVAScrollView(&host.window);
    QWidget *content = new QWidget;
    QOVAPopUpButton *popUp = new QOVAPopUpButton(content);

    ScrollFixture()
    {
        view->setGeometry(0, 0, 300, 300);
        content->resize(280, 1200);
        view->setWidget(content);
        popUp->setGeometry(10, 150, 140, 24);
        popUp->addItemsWithTitles({"One", "Two", "Three"});
        host.show();
    }
    int at() const { return view->verticalScrollBar()->value(); }
};

TEST_F(ScrollFixture, NewScrollViewSwallowsTheWheelUntilSwitchedOn)
{
    EXPECT_FALSE(view->scrollingEnabled());
    // Over the content (the viewport gets what the content leaves) and over
    // the scroll bar itself.
    EXPECT_TRUE(wheel(view->viewport()));
    EXPECT_TRUE(wheel(view->verticalScrollBar()));
    EXPECT_EQ(at(), 0);

    view->setScrollingEnabled(true);
    EXPECT_TRUE(wheel(view->viewport()));
    EXPECT_GT(at(), 0);
    const int before = at();
    wheel(view->verticalScrollBar());
    EXPECT_GT(at(), before);
}

TEST_F(ScrollFixture, WheelOverAPopUpLeavesTheSelectionAndGoesOn)
{
    popUp->selectItemAtIndex(0);
    EXPECT_FALSE(wheel(popUp));  // not taken: it travels on to the page
    EXPECT_EQ(popUp->indexOfSelectedItem(), 0);
}

} // namespace
