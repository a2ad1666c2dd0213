#pragma once
// A short read-only rich text in which some ranges are links (anchors with
// an address). The pointer turns into a pointing hand over the first line of
// each link, and a click on any character of a link opens its address with
// the desktop's default handler. The text can be neither selected nor edited.

#include <QList>
#include <QRectF>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <optional>

class QTextDocument;

class HyperlinkTextField : public QWidget {
    Q_OBJECT
public:
    struct HyperlinkInfo {
        int start = 0;   // the link run's characters
        int length = 0;
        QRectF rect;     // its first line's rectangle in the widget
        QUrl url;
    };

    explicit HyperlinkTextField(QWidget *parent = nullptr);

    // Rich text; links are <a href="..."> anchors styled by the caller.
    void setHtml(const QString &html);
    QTextDocument *document() const { return m_document; }

    // One record per run of the link attribute in text order, or none when
    // the text has no links.
    std::optional<QList<HyperlinkInfo>> hyperlinkInfos() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void resetHyperlinkCursor(const QPointF &position);
    QRectF firstLineRect(int start, int length) const;

    QTextDocument *m_document = nullptr;
};
