#include "HyperlinkTextField.h"

#include "WidgetTestSupport.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

struct HyperlinkFixture : ::testing::Test {
    TestWindow host{400, 200};
    HyperlinkTextField *field = new HyperlinkTextField(&host.window);
    UrlRecorder recorder;

    HyperlinkFixture()
    {
        field->setGeometry(10, 10, 160, 120);
        host.show();
    }
    // The middle of the character at a document position, in the field.
    QPoint pointOf(int position) const
    {
        QTextDocument *doc = field->document();
        const QTextBlock block = doc->findBlock(position);
        const QTextLayout *layout = block.layout();
        const int inBlock = position - block.position();
        const QTextLine line = layout->lineForTextPosition(inBlock);
        const QPointF origin = doc->documentLayout()->blockBoundingRect(block).topLeft() + layout->position();
        const double x = (line.cursorToX(inBlock) + line.cursorToX(inBlock + 1)) / 2;
        return (origin + QPointF(x, line.y() + line.height() / 2)).toPoint();
    }
    int lineOf(int position) const
    {
        const QTextBlock block = field->document()->findBlock(position);
        return block.layout()->lineForTextPosition(position - block.position()).lineNumber();
    }
};

TEST_F(HyperlinkFixture, WrappedLinkHasTheHandOnItsFirstLineOnlyButOpensFromEither)
{
    field->setHtml(QStringLiteral(
        "Please read the <a href=\"https://example.com/terms\">licence terms and conditions of use</a> first."));
    const auto infos = field->hyperlinkInfos();
    ASSERT_TRUE(infos.has_value());
    ASSERT_EQ(infos->size(), 1);
    const auto &link = infos->first();
    EXPECT_EQ(link.url, QUrl("https://example.com/terms"));
    EXPECT_EQ(field->document()->toPlainText().mid(link.start, link.length),
              QStringLiteral("licence terms and conditions of use"));
    const int first = link.start;
    const int last = link.start + link.length - 1;
    ASSERT_LT(lineOf(first), lineOf(last)) << "the link must wrap for this test";

    host.move(field, pointOf(first));
    EXPECT_EQ(field->cursor().shape(), Qt::PointingHandCursor);
    host.move(field, pointOf(last));
    EXPECT_EQ(field->cursor().shape(), Qt::ArrowCursor);
    host.move(field, pointOf(2));  // plain text before the link
    EXPECT_EQ(field->cursor().shape(), Qt::ArrowCursor);

    host.click(field, pointOf(last));
    ASSERT_EQ(recorder.opened.size(), 1);
    host.click(field, pointOf(first));
    EXPECT_EQ(recorder.opened.size(), 2);
    host.click(field, pointOf(2));
    host.click(field, QPoint(150, 110));  // below the text
    EXPECT_EQ(recorder.opened.size(), 2);
}

TEST_F(HyperlinkFixture, AdjacentLinksAreSeparateRecords)
{
    field->setHtml(QStringLiteral("<a href=\"https://a.example/\">one</a><a href=\"https://b.example/\">two</a>"));
    const auto infos = field->hyperlinkInfos();
    ASSERT_TRUE(infos.has_value());
    ASSERT_EQ(infos->size(), 2);
    EXPECT_EQ(infos->at(0).url, QUrl("https://a.example/"));
    EXPECT_EQ(infos->at(1).start, 3);
    host.click(field, pointOf(4));
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened[0], QUrl("https://b.example/"));
}

TEST_F(HyperlinkFixture, TextWithoutLinksDoesNothing)
{
    field->setHtml(QStringLiteral("Just a notice."));
    EXPECT_FALSE(field->hyperlinkInfos().has_value());
    host.move(field, pointOf(3));
    EXPECT_EQ(field->cursor().shape(), Qt::ArrowCursor);
    host.click(field, pointOf(3));
    EXPECT_TRUE(recorder.opened.isEmpty());
    EXPECT_EQ(field->focusPolicy(), Qt::NoFocus);  // never takes a caret
}

} // namespace
