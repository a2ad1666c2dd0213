#include "HyperlinkTextField.h"

#include "QOVALinkOpener.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

HyperlinkTextField::HyperlinkTextField(QWidget *parent)
    : QWidget(parent)
    , m_document(new QTextDocument(this))
{
    m_document->setDocumentMargin(0);
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
    connect(m_document, &QTextDocument::contentsChanged, this, [this] { update(); });
}

void HyperlinkTextField::setHtml(const QString &html)
{
    m_document->setHtml(html);
    m_document->setTextWidth(width());
    update();
}

QSize HyperlinkTextField::sizeHint() const
{
    return m_document->size().toSize();
}

void HyperlinkTextField::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_document->setTextWidth(width());
}

void HyperlinkTextField::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    m_document->drawContents(&p, QRectF(rect()));
}

QRectF HyperlinkTextField::firstLineRect(int start, int length) const
{
    const QTextBlock block = m_document->findBlock(start);
    if (!block.isValid() || !block.layout())
        return {};
    const QTextLayout *layout = block.layout();
    const int inBlock = start - block.position();
    const QTextLine line = layout->lineForTextPosition(inBlock);
    if (!line.isValid())
        return {};
    const int end = std::min(inBlock + length, line.textStart() + line.textLength());
    const QPointF origin = m_document->documentLayout()->blockBoundingRect(block).topLeft() + layout->position();
    const double x1 = line.cursorToX(inBlock);
    const double x2 = line.cursorToX(end);
    return QRectF(origin.x() + std::min(x1, x2), origin.y() + line.y(), std::abs(x2 - x1), line.height());
}

std::optional<QList<HyperlinkTextField::HyperlinkInfo>> HyperlinkTextField::hyperlinkInfos() const
{
    QList<HyperlinkInfo> infos;
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            const QString href = format.isAnchor() ? format.anchorHref() : QString();
            if (href.isEmpty())
                continue;
            // Adjacent fragments with the same address form one run.
            if (!infos.isEmpty() && infos.last().url == QUrl(href)
                && infos.last().start + infos.last().length == fragment.position()) {
                infos.last().length += fragment.length();
                continue;
            }
            infos.append({fragment.position(), fragment.length(), {}, QUrl(href)});
        }
    }
    if (infos.isEmpty())
        return std::nullopt;
    for (HyperlinkInfo &info : infos)
        info.rect = firstLineRect(info.start, info.length);
    return infos;
}

void HyperlinkTextField::resetHyperlinkCursor(const QPointF &position)
{
    bool overLink = false;
    if (const auto infos = hyperlinkInfos()) {
        for (const HyperlinkInfo &info : *infos)
            overLink = overLink || info.rect.contains(position);
    }
    setCursor(overLink ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void HyperlinkTextField::mouseMoveEvent(QMouseEvent *event)
{
    resetHyperlinkCursor(event->position());
    event->accept();
}

void HyperlinkTextField::leaveEvent(QEvent *event)
{
    setCursor(Qt::ArrowCursor);
    QWidget::leaveEvent(event);
}

void HyperlinkTextField::mousePressEvent(QMouseEvent *event)
{
    // Nothing to select and no caret to place.
    event->accept();
}

void HyperlinkTextField::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const int index = m_document->documentLayout()->hitTest(event->position(), Qt::ExactHit);
    if (index < 0)
        return;
    const auto infos = hyperlinkInfos();
    if (!infos)
        return;
    for (const HyperlinkInfo &info : *infos) {
        if (index >= info.start && index < info.start + info.length)
            QOVALinkOpener::openURL(info.url);
    }
}
