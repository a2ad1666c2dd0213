#pragma once
// The small prompt windows of the settings pages: a frameless child window
// of the main window, centred over its content when shown (or kept where its
// frame puts it), with a page mask on while it is open: the dimming mask, or
// the transparent one that only blocks clicks.
//
//   auto *w = new QOVAAudioDownloadWindow(420, 170);
//   w->showWindow();   // centred, invisible mask on
//   w->orderOut();     // hidden, mask off

#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

class QOVAButton;

class QOVAPlainWindow : public QWidget {
    Q_OBJECT
public:
    enum class Mask { Dimming, Invisible };

    // Centred when shown.
    QOVAPlainWindow(double width, double height, Mask mask);
    // Kept at the frame's origin (bottom-left, on the screen) when shown.
    QOVAPlainWindow(const QRectF &frame, Mask mask);

    QSizeF windowSize() const { return m_windowSize; }
    QRectF windowFrame() const { return m_windowFrame; }
    bool defaultCenter() const { return m_defaultCenter; }
    QWidget *parentView() const { return m_parentView; }

    virtual void showWindow();
    virtual void orderOut();
    // Another size, centred again over the content it was shown over.
    void adjustToSize(double width, double height);

    // A prompt button: outlined accent look when enabled, grey when not.
    static void setButtonEnabled(QOVAButton *button, bool state);

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void placeCentred(const QSizeF &size, const QRect &content);
    void setMask(bool on);

    QSizeF m_windowSize;
    QRectF m_windowFrame;
    bool m_defaultCenter = true;
    Mask m_mask;
    QPointer<QWidget> m_parentView;
};
