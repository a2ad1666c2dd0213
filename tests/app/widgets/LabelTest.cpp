#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include "TextFit.h"
#include "WidgetTestSupport.h"

#include <QDesktopServices>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <QUrl>

namespace {

double lineHeight(const QFont &font) { return QFontMetricsF(font).lineSpacing(); }

TEST(QOVALabelText, StringValueSetsTextAndToolTip)
{
    QOVALabel label;
    label.setStringValue(QString());
    EXPECT_EQ(label.textString(), QString(""));
    EXPECT_FALSE(label.textString().isNull());
    EXPECT_EQ(label.toolTip(), QString());
    label.setStringValue(QStringLiteral("Abc"));
    EXPECT_EQ(label.textString(), QStringLiteral("Abc"));
    EXPECT_EQ(label.toolTip(), QStringLiteral("Abc"));
    label.setTextString(QStringLiteral("Other"));
    EXPECT_EQ(label.toolTip(), QStringLiteral("Abc"));
}

TEST(QOVALabelText, MarkupInTheTextIsShownAsCharactersInTheToolTip)
{
    QOVALabel label;
    label.setStringValue(QStringLiteral("<b>x</b> <img src=x>"));
    EXPECT_EQ(label.textString(), QStringLiteral("<b>x</b> <img src=x>"));
    QTextDocument shown;
    shown.setHtml(label.toolTip());
    EXPECT_EQ(shown.toPlainText(), QStringLiteral("<b>x</b> <img src=x>"));
}

TEST(QOVALabelText, DefaultsToRegular13In2e2e2e)
{
    QOVALabel label;
    EXPECT_EQ(label.displayColor(), colorWithString("2e2e2e", 1.0));
    EXPECT_EQ(label.font(), fontWithSFProDisplay(13, 1));
    EXPECT_EQ(label.alignment(), QOVALabel::AlignLeft);
}

TEST(QOVALabelPlacement, OneLineIsCentredInTheHeightOrAtTheTop)
{
    QOVALabel label;
    label.resize(200, 40);
    label.setStringValue(QStringLiteral("Device name"));
    const double th = lineHeight(label.font());
    const double tw = QFontMetricsF(label.font()).horizontalAdvance(QStringLiteral("Device name"));

    struct Case {
        int alignment;
        double x;
    } const cases[] = {{QOVALabel::AlignLeft, 0}, {QOVALabel::AlignCenter, (200 - tw) * 0.5},
                       {QOVALabel::AlignRight, 200 - tw}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.alignment);
        label.setAlignment(c.alignment);
        label.setIsTopAlignment(false);
        QList<QRectF> rects = label.textRects();
        ASSERT_EQ(rects.size(), 1);
        EXPECT_NEAR(rects[0].x(), c.x, 0.01);
        EXPECT_NEAR(rects[0].y(), (40 - th) * 0.5 - 2, 0.01);
        EXPECT_NEAR(rects[0].height(), th, 0.01);
        label.setIsTopAlignment(true);
        rects = label.textRects();
        EXPECT_DOUBLE_EQ(rects[0].y(), -6.0);
    }
}

TEST(QOVALabelPlacement, RightAlignedLinesEachTakeTheirShareOfTheHeight)
{
    QOVALabel label;
    label.resize(120, 40);
    label.setAlignment(QOVALabel::AlignRight);
    label.setStringValue(QStringLiteral("one\ntwo"));
    const QFontMetricsF fm(label.font());
    const QList<QRectF> rects = label.textRects();
    ASSERT_EQ(rects.size(), 2);
    EXPECT_DOUBLE_EQ(rects[0].y(), 0.0);
    EXPECT_DOUBLE_EQ(rects[1].y(), 20.0);
    EXPECT_NEAR(rects[0].right(), 120.0, 0.01);
    EXPECT_NEAR(rects[1].right(), 120.0, 0.01);
    EXPECT_NEAR(rects[0].width(), fm.horizontalAdvance("one"), 0.01);
    EXPECT_NEAR(rects[1].width(), fm.horizontalAdvance("two"), 0.01);
}

TEST(QOVALabelPlacement, WrapsLongTextButOneLineIsCappedAt15)
{
    QOVALabel label;
    label.resize(80, 60);
    label.setStringValue(QStringLiteral("A rather long sentence that has to wrap"));
    const double th = lineHeight(label.font());
    EXPECT_GT(label.textRects()[0].height(), 2 * th - 0.01);

    label.setMaximumNumberOfLines(1);
    EXPECT_LE(label.textRects()[0].height(), 15.0);
    label.setFont(fontWithSFProDisplay(20, 1));  // taller than 15 on its own
    EXPECT_LE(label.textRects()[0].height(), 15.0);
}

// The tests measure text in the font the application draws with.
TEST(QOVALabelText, MeasuresInTheApplicationsLiberationSans)
{
    for (int type : {QOVAFontRegular, QOVAFontBold, QOVAFontBoldItalic})
        EXPECT_EQ(QFontInfo(fontWithSFProDisplay(13, type)).family(), QStringLiteral("Liberation Sans")) << type;
}

// A label sized to its own text (as the pages size field titles) shows every
// line whole: the lift above the centre does not cut the tops off.
TEST(QOVALabelPlacement, LabelSizedToItsTextShowsItWhole)
{
    for (double size : {10.0, 12.0, 13.0, 18.0, 24.0}) {
        for (int lines : {0, 1}) {
            SCOPED_TRACE(testing::Message() << size << " max lines " << lines);
            QOVALabel label;
            label.setFont(fontWithSFProDisplay(size, QOVAFontRegular));
            label.setMaximumNumberOfLines(lines);
            label.setStringValue(QStringLiteral("Confirm Password gjpq"));
            label.resize(label.sizeHint());
            EXPECT_TRUE(textfit::labelShowsWhole(&label));
        }
    }
}

// A one-line label keeps a text too long for it on one line inside its
// width, ending in an ellipsis, whatever its break mode; the tool tip
// shows the whole text, markup as it stands.
TEST(QOVALabelPlacement, OneLineLabelElidesLongTextAndKeepsItWholeInTheToolTip)
{
    const QString text = QStringLiteral("<b>SN</b>") + QStringLiteral("0123456789 ").repeated(500);
    for (int mode : {int(QOVALabel::ByWordWrapping), int(QOVALabel::ByCharWrapping), int(QOVALabel::ByTruncatingTail)}) {
        for (int type : {QOVAFontRegular, QOVAFontBoldItalic}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " font type " << type);
            QOVALabel label;
            label.setFont(fontWithSFProDisplay(13, type));
            label.setMaximumNumberOfLines(1);
            label.setLineBreakMode(mode);
            label.setStringValue(text);
            label.resize(195, 32);
            const QList<QOVALabel::DrawnLine> lines = label.drawnLines();
            ASSERT_EQ(lines.size(), 1);
            EXPECT_TRUE(lines.first().text.startsWith(QStringLiteral("<b>SN</b>0123")));
            EXPECT_TRUE(lines.first().text.endsWith(QChar(0x2026))) << qPrintable(lines.first().text);
            EXPECT_TRUE(textfit::labelShowsWhole(&label, true));
            EXPECT_EQ(label.stringValue(), text);
            EXPECT_TRUE(label.toolTip().contains(QStringLiteral("&lt;b&gt;SN&lt;/b&gt;0123")));
            EXPECT_TRUE(label.toolTip().contains(QStringLiteral("0123456789 ").repeated(500).toHtmlEscaped()));
        }
    }
    // A text that fits is drawn as it stands.
    QOVALabel label;
    label.setMaximumNumberOfLines(1);
    label.setStringValue(QStringLiteral("10.0.0.7"));
    label.resize(195, 32);
    ASSERT_EQ(label.drawnLines().size(), 1);
    EXPECT_EQ(label.drawnLines().first().text, QStringLiteral("10.0.0.7"));
}

// The rightmost column with ink in an image.
int rightmostInk(const QImage &image)
{
    int right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                right = std::max(right, x);
    return right;
}

TEST(QOVALabelPlacement, DrawsEveryCharacterOfItsMeasuredLines)
{
    for (const char *text : {"hover", "QOVAPasswordView", "QOVAScrollView", "empty, placeholder"}) {
        for (int alignment : {QOVALabel::AlignLeft, QOVALabel::AlignCenter, QOVALabel::AlignRight}) {
            SCOPED_TRACE(testing::Message() << text << " alignment " << alignment);
            QOVALabel label;
            label.setAttribute(Qt::WA_TranslucentBackground);
            label.resize(180, 14);
            label.setFont(fontWithSFProDisplay(10, 1));
            label.setAlignment(alignment);
            label.setStringValue(QString::fromLatin1(text));
            const QRectF r = label.textRects()[0];

            // The whole text drawn in one go at the same place.
            QImage expected(label.size(), QImage::Format_ARGB32_Premultiplied);
            expected.fill(Qt::transparent);
            QPainter p(&expected);
            p.setFont(label.font());
            p.drawText(QPointF(r.x(), r.y() + QFontMetricsF(label.font()).ascent()), label.textString());
            p.end();
            EXPECT_NEAR(rightmostInk(label.grab().toImage()), rightmostInk(expected), 1);
        }
    }
}

// Records which widget got a press.
struct PressTarget : QWidget {
    using QWidget::QWidget;
    int presses = 0;
    void mousePressEvent(QMouseEvent *e) override
    {
        ++presses;
        e->accept();
    }
};

TEST(QOVALabelClicks, SwallowsPressesUnlessClosedToInteraction)
{
    TestWindow host;
    auto *cell = new PressTarget(&host.window);
    cell->setGeometry(0, 0, 300, 200);
    auto *label = new QOVALabel(cell);
    label->setGeometry(10, 10, 100, 20);
    label->setStringValue(QStringLiteral("Status"));
    host.show();

    host.click(label, QPoint(5, 5));
    EXPECT_EQ(cell->presses, 0);

    label->setCloseUserInteraction(true);
    host.click(label, QPoint(5, 5));
    EXPECT_EQ(cell->presses, 1);
}

TEST(QOVALabelClicks, OpensItsHyperlinkOnRelease)
{
    UrlRecorder recorder;
    TestWindow host;
    auto *label = new QOVALabel(&host.window);
    label->setGeometry(10, 10, 100, 20);
    label->setStringValue(QStringLiteral("Support"));
    auto *plain = new QOVALabel(&host.window);
    plain->setGeometry(10, 50, 100, 20);
    host.show();

    host.click(plain, QPoint(5, 5));
    EXPECT_TRUE(recorder.opened.isEmpty());

    label->setHyperlink(QStringLiteral("https://support.example.com/help"));
    host.move(label, QPoint(5, 5));
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
    host.press(label, QPoint(5, 5));
    EXPECT_TRUE(recorder.opened.isEmpty());
    host.release(label, QPoint(5, 5));
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened[0], QUrl("https://support.example.com/help"));
    host.move(plain, QPoint(5, 5));
    EXPECT_EQ(label->cursor().shape(), Qt::ArrowCursor);
}

} // namespace
