#pragma once
// The base of every settings page shown beside the side menu (619 x 544 at
// x 211 of the device page): a title, a divider under it, a ready-made toast
// call, a time stamp for file names, and the two hooks the device page calls
// when the page is shown and when it is replaced.

#include <QPointer>
#include <QWidget>

class QOVALabel;

class QOVADisplayBaseView : public QWidget {
    Q_OBJECT
public:
    // Sized 619 x 544; placed at x 211, y 0 (bottom left) once it has a parent.
    explicit QOVADisplayBaseView(QWidget *parent = nullptr);

    QOVALabel *detailViewName();
    QWidget *splitLine();
    // The title's width from its left edge at 36 (the divider's 538 unless
    // set), for a page that shows something at the title's right end. The
    // title is one line; a longer one ends in an ellipsis.
    void setTitleWidth(int width);

    // A success (YES) or failure (NO) toast with the text.
    void showNotificationWindow(bool success, const QString &text);
    // Local time as 14 digits, yyyyMMddHHmmss.
    static QString getSystemTimestamp();

    // The page became the visible page / the page is replaced or goes away.
    virtual void handleDisplayViewEvent();
    virtual void cancelDisplayViewEvent();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void setupUI();
    void layoutTitle();

    QPointer<QOVALabel> m_detailViewName;
    QPointer<QWidget> m_splitLine;
    int m_titleWidth = 538;
};
