#pragma once
// The application's read-only text: drawn by the label itself so that it can
// wrap over several lines, sit at the top or in the middle of its height and
// be aligned left, right or centred. It shows its whole text as a tool tip,
// may open an address when clicked, and can let clicks fall through to the
// widget behind it.

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

class QOVALabel : public QWidget {
    Q_OBJECT
public:
    // Alignment values, as the pages give them.
    enum Alignment { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };
    // Line-break modes.
    enum LineBreakMode {
        ByWordWrapping = 0,
        ByCharWrapping = 1,
        ByClipping = 2,
        ByTruncatingHead = 3,
        ByTruncatingTail = 4,
        ByTruncatingMiddle = 5,
    };

    explicit QOVALabel(QWidget *parent = nullptr);

    // Text, tool tip and drawn text at once; a null text becomes "".
    void setStringValue(const QString &text);
    QString stringValue() const { return m_stringValue; }
    // The tool tip that shows the text as it stands, markup included.
    static QString toolTipForText(const QString &text);
    // Only the drawn text, without tool tip.
    void setTextString(const QString &text);
    QString textString() const { return m_textString; }

    void setTextColor(const QColor &color);
    QColor displayColor() const { return m_displayColor; }
    // Clear by default.
    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const { return m_backgroundColor; }

    void setAlignment(int alignment);
    int alignment() const { return m_alignment; }
    // 0: any number of lines. 1: one line, never measured taller than 15; a
    // text wider than the label ends in an ellipsis (the tool tip keeps it whole).
    void setMaximumNumberOfLines(int lines);
    int maximumNumberOfLines() const { return m_maximumNumberOfLines; }
    void setLineBreakMode(int mode);
    int lineBreakMode() const { return m_lineBreakMode; }

    // Opened with the desktop's default handler when the label is clicked.
    void setHyperlink(const QString &address);
    QString hyperlink() const { return m_hyperlink; }
    void setIsTopAlignment(bool top);
    bool isTopAlignment() const { return m_isTopAlignment; }
    // While set the label takes no clicks at all.
    void setCloseUserInteraction(bool closed);
    bool closeUserInteraction() const { return m_closeUserInteraction; }

    // Where the text is drawn: one rectangle, or one per line for text split
    // by line feeds and aligned right.
    QList<QRectF> textRects() const;
    // The size the text takes laid out in the given width (no height limit).
    QSizeF textSize(double width) const;

    // Each line as it is drawn: its text (elided where the label shows one
    // line that does not fit) and the start of its baseline.
    struct DrawnLine {
        QString text;
        QPointF baseline;
    };
    QList<DrawnLine> drawnLines() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    struct Piece {
        QString text;
        QRectF rect;
    };
    QList<Piece> pieces() const;

    QString m_stringValue;
    QString m_textString;
    QColor m_displayColor;
    QColor m_backgroundColor = Qt::transparent;
    int m_alignment = AlignLeft;
    int m_maximumNumberOfLines = 0;
    int m_lineBreakMode = ByWordWrapping;
    QString m_hyperlink;
    bool m_isTopAlignment = false;
    bool m_closeUserInteraction = false;
};
