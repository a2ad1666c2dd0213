#pragma once
// Base of the network dialogs (Wi-Fi join windows, IPv4 and 802.1X
// settings): a child window of the main window with a picture at the top left
// and a bold title beside it. show() centres it over the main window's
// content and dims the page; orderOut() hides it, lifts the dimming and takes
// every view out of the window, so a closed dialog is never shown again.
// Views taken out stay alive (they are kept in a hidden holder) so that a
// dialog can still read its controls after closing.
//
// Subclasses put their controls into contentView(), set the title through
// titleLabel() (or setTitleText, which also sizes the label's height), may
// replace the picture of wifiImageView(), and call adjustToSize() when their
// content grows or shrinks.

#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

class QOVAButton;
class QOVAImageView;
class QOVALabel;

class QOVAWifiBaseWindow : public QWidget {
    Q_OBJECT
public:
    // A dialog centred over the main window at show().
    QOVAWifiBaseWindow(double width, double height);
    // A dialog that keeps its own origin at show(); frame in screen points.
    explicit QOVAWifiBaseWindow(const QRectF &frame);
    ~QOVAWifiBaseWindow() override;

    QSizeF windowSize() const { return m_windowSize; }
    QRectF windowFrame() const { return m_windowFrame; }
    bool defaultCenter() const { return m_defaultCenter; }
    QWidget *parentView() const { return m_parentView; }

    // The widget the dialog's views live in (the whole window).
    QWidget *contentView() const { return m_contentView; }
    QOVAImageView *wifiImageView();
    QOVALabel *titleLabel();
    // Sets the title and gives the label the height its text needs.
    void setTitleText(const QString &text);

    // Sized to windowSize, placed (centred unless made with a frame), shown
    // above the main window, key, with the page dimmed.
    virtual void show();
    // New size, centred again over the view show() placed it on. windowSize
    // keeps its value.
    void adjustToSize(double width, double height);
    // Hidden, page mask lifted, every view taken out of the window.
    void orderOut();

    // The dialog button look: enabled and highlighted (the accent fill),
    // enabled, or disabled at half opacity whatever the highlight.
    static void formatButton(QOVAButton *button, bool enabled, bool highlighted);

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void setupBaseUI();
    void placeCentred(double width, double height, const QWidget *view);

    QSizeF m_windowSize;
    QRectF m_windowFrame;
    bool m_defaultCenter = true;
    QPointer<QWidget> m_parentView;
    QWidget *m_contentView = nullptr;
    QWidget *m_removedViews = nullptr;
    QOVAImageView *m_wifiImageView = nullptr;
    QOVALabel *m_titleLabel = nullptr;
};
