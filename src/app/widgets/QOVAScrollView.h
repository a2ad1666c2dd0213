#pragma once
// A scroll area whose wheel and trackpad scrolling can be switched off; it
// is off until the owner switches it on. While off, wheel events are
// swallowed: the content does not move and no enclosing view scrolls either.

#include <QScrollArea>

class QOVAScrollView : public QScrollArea {
    Q_OBJECT
public:
    explicit QOVAScrollView(QWidget *parent = nullptr);

    void setScrollingEnabled(bool enabled) { m_scrollingEnabled = enabled; }
    bool scrollingEnabled() const { return m_scrollingEnabled; }

protected:
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_scrollingEnabled = false;
};
