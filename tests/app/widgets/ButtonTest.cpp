#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"

#include "WidgetTestSupport.h"

#include <QFontMetricsF>
#include <QSignalSpy>

namespace {

struct ButtonFixture : ::testing::Test {
    TestWindow host;
    QOVAButton *button = new QOVAButton(&host.window);
    QSignalSpy clicked{button, &QOVAButton::clicked};

    ButtonFixture()
    {
        button->setGeometry(20, 20, 120, 30);
        button->setTextString(QStringLiteral("Save"));
        host.show();
    }
    const QColor accent = colorWithString(QStringLiteral("0277bd"), 1.0);
};

TEST_F(ButtonFixture, ClickSendsTheActionOnTheNextTurnOfTheEventLoop)
{
    // Straight to the widget, so that no events are processed in between.
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 0);
    QCoreApplication::processEvents();
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).value<QOVAButton *>(), button);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(ButtonFixture, ClickThroughTheWindowSendsOnce)
{
    host.move(button, QPoint(50, 15));
    host.click(button, QPoint(50, 15));
    QTRY_COMPARE(clicked.count(), 1);
}

TEST_F(ButtonFixture, PressDragOutReleaseSendsNothingAndRestoresTheOutline)
{
    button->setQovaButtonType(1);
    host.move(button, QPoint(50, 15));
    EXPECT_EQ(button->effectBackgroundColor(), colorWithString("0277bd", 0.8));  // hover
    host.press(button, QPoint(50, 15));
    EXPECT_EQ(button->effectBackgroundColor(), accent);  // pressed
    EXPECT_EQ(button->textColor(), QColor(Qt::white));
    EXPECT_EQ(button->borderWidth(), 0);
    host.move(button, QPoint(200, 15));  // outside, button still held
    host.release(button, QPoint(200, 15));
    QCoreApplication::processEvents();
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(button->effectBackgroundColor(), QColor(Qt::white));
    EXPECT_EQ(button->textColor(), accent);
    EXPECT_EQ(button->borderWidth(), 1);
    EXPECT_EQ(button->borderColor(), accent);
}

TEST_F(ButtonFixture, DraggingBackInBeforeReleaseStillClicks)
{
    host.move(button, QPoint(50, 15));
    host.press(button, QPoint(50, 15));
    host.move(button, QPoint(200, 15));
    host.move(button, QPoint(60, 15));
    host.release(button, QPoint(60, 15));
    QTRY_COMPARE(clicked.count(), 1);
}

TEST_F(ButtonFixture, DisabledOutlinedButtonIsDimmedAndInert)
{
    button->setQovaButtonType(1);
    button->setDisabled(true);
    EXPECT_DOUBLE_EQ(button->alphaValue(), 0.3);
    host.move(button, QPoint(50, 15));
    host.click(button, QPoint(50, 15));
    QCoreApplication::processEvents();
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(button->effectBackgroundColor(), QColor(Qt::white));  // no hover or pressed look
    EXPECT_EQ(button->borderWidth(), 1);

    button->setDisabled(false);
    EXPECT_DOUBLE_EQ(button->alphaValue(), 1.0);
    host.move(button, QPoint(51, 15));
    host.click(button, QPoint(51, 15));
    QTRY_COMPARE(clicked.count(), 1);
}

TEST_F(ButtonFixture, PlainButtonKeepsTheCallersLook)
{
    button->setBackgroundColor(colorWithString("ececec", 1.0));
    button->setTextColor(colorWithString("616161", 1.0));
    button->setDisabled(true);
    EXPECT_DOUBLE_EQ(button->alphaValue(), 1.0);  // only type 1 dims itself
    button->setDisabled(false);
    host.move(button, QPoint(50, 15));
    host.press(button, QPoint(50, 15));
    EXPECT_EQ(button->effectBackgroundColor(), colorWithString("ececec", 1.0));
    host.release(button, QPoint(50, 15));
    EXPECT_EQ(button->textColor(), colorWithString("616161", 1.0));
}

TEST(QOVAButtonText, TextLengthIsTheTitleWidthPlusTen)
{
    QOVAButton button;
    EXPECT_DOUBLE_EQ(button.textLength(), 10.0);
    button.setTextString(QStringLiteral("Advanced settings"));
    const double width = QFontMetricsF(fontWithSFProDisplay(13, 1)).size(0, QStringLiteral("Advanced settings")).width();
    EXPECT_DOUBLE_EQ(button.textLength(), width + 10.0);
    button.setTextFont(fontWithSFProDisplay(16, 3));
    EXPECT_GT(button.textLength(), width + 10.0);
}

TEST(QOVAButtonText, TitleIsCentredOrAtTheLeftEdgeAndTwoPointsLow)
{
    QOVAButton button;
    button.resize(200, 40);
    button.setTextString(QStringLiteral("OK"));
    const QSizeF text = QFontMetricsF(button.textFont()).size(0, QStringLiteral("OK"));
    QRectF r = button.titleRect();
    EXPECT_DOUBLE_EQ(r.x(), (200 - text.width()) * 0.5 + 1);
    EXPECT_DOUBLE_EQ(r.y(), (40 - text.height()) * 0.5 + 2);
    button.setTextAlignment(0);
    r = button.titleRect();
    EXPECT_DOUBLE_EQ(r.x(), 0.0);
}

TEST_F(ButtonFixture, CornerImageSitsBottomRightAndLetsClicksThrough)
{
    button->setImage(QStringLiteral("widgets_test_frame1"));
    EXPECT_EQ(button->imageView()->geometry(), QRect(120 - 7 - 16, 30 - 4 - 16, 16, 16));
    EXPECT_TRUE(button->imageView()->hasImage());
    host.move(button, QPoint(110, 15));  // over the image
    host.click(button, QPoint(110, 15));
    QTRY_COMPARE(clicked.count(), 1);
    button->hiddenImage(true);
    EXPECT_TRUE(button->imageView()->isHidden());
}

} // namespace
