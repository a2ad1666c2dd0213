#include "QOVAColor.h"
#include "QOVADate.h"
#include "QOVAFont.h"
#include "QOVAGeometry.h"
#include "QOVAImageView.h"

#include <QFontInfo>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

struct ColorCase {
    const char *text;
    double alpha;
    int r, g, b;  // -1: the clear colour
};

TEST(ColorWithString, ParsesOnlySixHexDigitsAfterOptionalPrefixes)
{
    const ColorCase cases[] = {
        {"", 1.0, -1, 0, 0},
        {"#FFF", 1.0, -1, 0, 0},
        {"#0277bd80", 1.0, -1, 0, 0},      // eight digits: clear, not translucent
        {"#0X0277BD", 1.0, -1, 0, 0},      // "0X" after "#" is not a prefix
        {"0277bd", 1.0, 2, 119, 189},
        {"0x0277bd", 1.0, 2, 119, 189},
        {"#0277bd", 0.8, 2, 119, 189},
        {"0X#0277BD", 1.0, 2, 119, 189},
        {"  2E2E2E\n", 1.0, 46, 46, 46},
        {"ececec", 0.5, 236, 236, 236},
        {"zz77bd", 1.0, -1, 0, 0},         // not hexadecimal
    };
    for (const ColorCase &c : cases) {
        SCOPED_TRACE(c.text);
        const QColor color = colorWithString(QString::fromLatin1(c.text), c.alpha);
        if (c.r < 0) {
            EXPECT_EQ(color.alpha(), 0);
            continue;
        }
        EXPECT_EQ(color.red(), c.r);
        EXPECT_EQ(color.green(), c.g);
        EXPECT_EQ(color.blue(), c.b);
        EXPECT_NEAR(color.alphaF(), c.alpha, 0.002);
    }
}

TEST(FontWithSFProDisplay, PicksTheFaceByTypeInLiberationSans)
{
    struct Case {
        int type;
        bool bold, italic;
    } const cases[] = {{0, false, false}, {1, false, false}, {5, false, false}, {99, false, false},
                       {2, false, true},  {3, true, false},  {4, true, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        const QFont font = fontWithSFProDisplay(16, c.type);
        const QFontInfo info(font);
        EXPECT_EQ(info.family(), QStringLiteral("Liberation Sans"));
        EXPECT_EQ(info.bold(), c.bold);
        EXPECT_EQ(info.italic(), c.italic);
        EXPECT_EQ(info.pixelSize(), 16);
    }
}

TEST(CustomizeToString, WritesMonthDayYearInLocalTime)
{
    const QDateTime date(QDate(2024, 3, 5), QTime(12, 0), Qt::LocalTime);
    EXPECT_EQ(customizeToString(date), QStringLiteral("03/05/2024"));
    // A moment given in another zone is shown as the user's local date.
    const QDateTime utc = date.toUTC();
    EXPECT_EQ(customizeToString(utc), QStringLiteral("03/05/2024"));
}

TEST(QovaFrame, FlipsBottomLeftFramesIntoTheParent)
{
    EXPECT_EQ(qovaFrame(600, 20, 30, 100, 24), QRect(20, 600 - 30 - 24, 100, 24));
    EXPECT_EQ(qovaFrame(18, 1, 3, 12, 12), QRect(1, 3, 12, 12));

    QWidget parent;
    parent.resize(400, 300);
    QWidget child(&parent);
    qovaSetFrame(&child, 10, 0, 50, 20);  // on the parent's bottom edge
    EXPECT_EQ(child.geometry(), QRect(10, 280, 50, 20));
    EXPECT_EQ(qovaFrameOf(&child), QRectF(10, 0, 50, 20));
    // Two frames that touch in points still touch after rounding.
    const QRect a = qovaFrame(100, 0, 10.5, 10, 20.25);
    const QRect b = qovaFrame(100, 0, 30.75, 10, 5);
    EXPECT_EQ(a.top(), b.bottom() + 1);
}

TEST(ImageViewAnimation, CyclesThroughTheNamesUntilStopped)
{
    QOVAImageView view;
    const QStringList names{"widgets_test_frame1", "widgets_test_frame2", "widgets_test_frame3"};
    QSignalSpy shown(&view, &QOVAImageView::imageNameChanged);
    view.setAnimationImages(names);
    view.startAnimating();
    // The first name shows at once.
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(view.imageName(), names[0]);
    EXPECT_TRUE(view.hasImage());

    QTRY_VERIFY(shown.count() >= 5);
    QStringList seen;
    for (const auto &args : shown)
        seen.append(args.at(0).toString());
    EXPECT_EQ(seen.mid(0, 5), (QStringList{names[0], names[1], names[2], names[0], names[1]}));

    view.stopAnimating();
    EXPECT_FALSE(view.animationImages().has_value());
    const qsizetype atStop = shown.count();
    QTest::qWait(60);  // a dozen ticks at the test time scale
    EXPECT_LE(shown.count() - atStop, 1);
}

TEST(ImageViewAnimation, TakesNoClicks)
{
    QOVAImageView view;
    EXPECT_TRUE(view.testAttribute(Qt::WA_TransparentForMouseEvents));
    view.setImageName(QStringLiteral("no_such_image"));
    EXPECT_FALSE(view.hasImage());
}

} // namespace
