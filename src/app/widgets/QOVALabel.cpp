#include "QOVALabel.h"

#include <QTextDocument>

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALinkOpener.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct Line {
    QString text;
    double width = 0;
};

struct TextBlock {
    QList<Line> lines;
    double lineHeight = 0;
    double ascent = 0;
    QSizeF size;
};

bool truncates(int mode)
{
    return mode >= QOVALabel::ByClipping && mode <= QOVALabel::ByTruncatingMiddle;
}

// Lays the text out in the width given, line by line, stopping once the
// next line would not fit into maxHeight (the first line always counts).
// With oneLine the whole text is one line, its line feeds read as blanks,
// ending in an ellipsis where it does not fit (unless the mode clips).
TextBlock layOut(const QString &text, const QFont &font, int breakMode, double width,
                 double maxHeight = std::numeric_limits<double>::infinity(), bool oneLine = false)
{
    TextBlock block;
    const QFontMetricsF fm(font);
    block.lineHeight = fm.lineSpacing();
    block.ascent = fm.ascent();
    const double wrapWidth = width + 0.01;

    if (oneLine) {
        QString shown = text;
        shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (breakMode != QOVALabel::ByClipping) {
            const Qt::TextElideMode elide = breakMode == QOVALabel::ByTruncatingHead ? Qt::ElideLeft
                : breakMode == QOVALabel::ByTruncatingMiddle                       ? Qt::ElideMiddle
                                                                                   : Qt::ElideRight;
            // A slanted face reaches past its advance: the ellipsis stays
            // inside the width with its ink, not only with its advance.
            const double overhang = std::max(0.0, -fm.minRightBearing());
            if (fm.horizontalAdvance(shown) > wrapWidth)
                shown = fm.elidedText(shown, elide, std::max(0.0, wrapWidth - overhang));
        }
        block.lines.append({shown, fm.horizontalAdvance(shown)});
        block.size = QSizeF(block.lines.first().width, block.lineHeight);
        return block;
    }

    auto add = [&](const QString &lineText) {
        const double top = block.lines.size() * block.lineHeight;
        if (!block.lines.isEmpty() && top + block.lineHeight > maxHeight + 0.01)
            return false;
        block.lines.append({lineText, fm.horizontalAdvance(lineText)});
        return true;
    };

    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (const QString &paragraph : paragraphs) {
        if (truncates(breakMode)) {
            QString shown = paragraph;
            if (breakMode != QOVALabel::ByClipping) {
                const Qt::TextElideMode elide = breakMode == QOVALabel::ByTruncatingHead ? Qt::ElideLeft
                    : breakMode == QOVALabel::ByTruncatingMiddle                       ? Qt::ElideMiddle
                                                                                       : Qt::ElideRight;
                shown = fm.elidedText(paragraph, elide, wrapWidth);
            }
            if (!add(shown))
                break;
            continue;
        }
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(breakMode == QOVALabel::ByCharWrapping ? QTextOption::WrapAnywhere
                                                                  : QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        bool full = false;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(wrapWidth);
            QString lineText = paragraph.mid(line.textStart(), line.textLength());
            while (lineText.endsWith(QLatin1Char(' ')))
                lineText.chop(1);
            if (!add(lineText)) {
                full = true;
                break;
            }
        }
        layout.endLayout();
        if (full)
            break;
    }
    double tw = 0;
    for (const Line &l : block.lines)
        tw = std::max(tw, l.width);
    block.size = QSizeF(tw, block.lines.size() * block.lineHeight);
    return block;
}

} // namespace

QOVALabel::QOVALabel(QWidget *parent)
    : QWidget(parent)
{
    setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    setTextColor(colorWithString(QStringLiteral("2e2e2e"), 1.0));
    setMouseTracking(true);
}

void QOVALabel::setStringValue(const QString &text)
{
    const QString value = text.isNull() ? QString(QLatin1String("")) : text;
    m_stringValue = value;
    setToolTip(toolTipForText(value));
    m_textString = value;
    update();
}

QString QOVALabel::toolTipForText(const QString &text)
{
    // Tool tips take markup as rich text; a text that looks like markup (a
    // device name such as "<b>x</b>") is shown character for character.
    return Qt::mightBeRichText(text) ? QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(text.toHtmlEscaped())
                                     : text;
}

void QOVALabel::setTextString(const QString &text)
{
    m_textString = text.isNull() ? QString(QLatin1String("")) : text;
    update();
}

void QOVALabel::setTextColor(const QColor &color)
{
    m_displayColor = color;
    update();
}

void QOVALabel::setBackgroundColor(const QColor &color)
{
    m_backgroundColor = color;
    update();
}

void QOVALabel::setAlignment(int alignment)
{
    m_alignment = alignment;
    update();
}

void QOVALabel::setMaximumNumberOfLines(int lines)
{
    m_maximumNumberOfLines = lines;
    update();
}

void QOVALabel::setLineBreakMode(int mode)
{
    m_lineBreakMode = mode;
    update();
}

void QOVALabel::setHyperlink(const QString &address)
{
    m_hyperlink = address;
}

void QOVALabel::setIsTopAlignment(bool top)
{
    m_isTopAlignment = top;
    update();
}

void QOVALabel::setCloseUserInteraction(bool closed)
{
    m_closeUserInteraction = closed;
    setAttribute(Qt::WA_TransparentForMouseEvents, closed);
}

QSizeF QOVALabel::textSize(double width) const
{
    return layOut(m_textString, font(), m_lineBreakMode, width).size;
}

QSize QOVALabel::sizeHint() const
{
    const QSizeF s = layOut(m_textString, font(), ByClipping, 1e6).size;
    return QSize(int(std::ceil(s.width())), int(std::ceil(s.height())));
}

QList<QOVALabel::Piece> QOVALabel::pieces() const
{
    const double w = width(), h = height();
    const bool oneLine = m_maximumNumberOfLines == 1;
    const double maxHeight = oneLine ? 15.0 : std::numeric_limits<double>::infinity();
    TextBlock block = layOut(m_textString, font(), m_lineBreakMode, w, maxHeight, oneLine);
    QSizeF size = block.size;
    if (oneLine)
        size.setHeight(std::min(size.height(), 15.0));
    const double tw = size.width(), th = size.height();
    double y = m_isTopAlignment ? -6.0 : (h - th) * 0.5 - 2;
    if (!m_isTopAlignment) {
        // The lift of 2 above the centre never pushes text out over the
        // label's edges: text that fits the height (one line as tall as it is
        // drawn, not as measured) stays inside it, and text taller than the
        // label is centred on it.
        const double drawn = oneLine ? std::max(th, block.lineHeight) : th;
        y = drawn <= h ? std::clamp(y, 0.0, h - drawn) : std::max(y, (h - drawn) * 0.5);
    }

    switch (m_alignment) {
    case AlignCenter:
        return {{m_textString, QRectF((w - tw) * 0.5, y, tw, th)}};
    case AlignRight: {
        const QStringList lines = m_textString.split(QLatin1Char('\n'));
        if (lines.size() == 1)
            return {{m_textString, QRectF(w - tw, y, tw, th)}};
        QList<Piece> result;
        for (qsizetype k = 0; k < lines.size(); ++k) {
            const QSizeF line = layOut(lines.at(k), font(), m_lineBreakMode, w).size;
            result.append({lines.at(k), QRectF(w - line.width(), k * (h / lines.size()), line.width(), line.height())});
        }
        return result;
    }
    default:
        // Left, and any alignment without a look of its own.
        return {{m_textString, QRectF(0, y, tw, th)}};
    }
}

QList<QRectF> QOVALabel::textRects() const
{
    QList<QRectF> rects;
    for (const Piece &p : pieces())
        rects.append(p.rect);
    return rects;
}

void QOVALabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_backgroundColor.alpha() > 0)
        p.fillRect(rect(), m_backgroundColor);
    if (m_textString.isEmpty())
        return;
    p.setFont(font());
    p.setPen(m_displayColor);
    for (const DrawnLine &line : drawnLines())
        p.drawText(line.baseline, line.text);
}

QList<QOVALabel::DrawnLine> QOVALabel::drawnLines() const
{
    QList<DrawnLine> lines;
    if (m_textString.isEmpty())
        return lines;
    const bool oneLine = m_maximumNumberOfLines == 1;
    for (const Piece &piece : pieces()) {
        // The lines as they were measured (in the label's width), each placed
        // by the alignment inside the piece's rectangle; lines below the
        // rectangle are not drawn, but the first one always is.
        const TextBlock block = layOut(piece.text, font(), m_lineBreakMode, width(),
                                       std::max(piece.rect.height(), 1.0), oneLine);
        for (qsizetype i = 0; i < block.lines.size(); ++i) {
            const Line &line = block.lines.at(i);
            double x = piece.rect.x();
            if (m_alignment == AlignCenter)
                x += (piece.rect.width() - line.width) * 0.5;
            else if (m_alignment == AlignRight)
                x += piece.rect.width() - line.width;
            else if (!line.text.isEmpty())
                // A slanted first letter (italic "Z") reaches left of its
                // origin: it starts at the left edge with its ink.
                x += std::max(0.0, -QFontMetricsF(font()).leftBearing(line.text.at(0)));
            const double baseline = piece.rect.y() + i * block.lineHeight + block.ascent;
            lines.append({line.text, QPointF(x, baseline)});
        }
    }
    return lines;
}

void QOVALabel::mousePressEvent(QMouseEvent *event)
{
    // Swallowed: the press goes no further.
    event->accept();
}

void QOVALabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (m_hyperlink.isEmpty())
        return;
    setCursor(Qt::PointingHandCursor);
    QOVALinkOpener::openURL(QUrl(m_hyperlink));
}

void QOVALabel::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (!m_hyperlink.isEmpty())
        setCursor(Qt::PointingHandCursor);
}

void QOVALabel::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (!m_hyperlink.isEmpty())
        setCursor(Qt::ArrowCursor);
}
