#pragma once
// The base of the dialogs that open over the main window: a child window
// centred over the main window's content and kept above it, while the page
// below is dimmed and blocked by its mask. Subclasses add their content after
// construction and call show, close and adjustToSize.

#include <QPointer>
#include <QSize>
#include <QWidget>

class AppDelegate;
class QOVAButton;

class QOVAWindow : public QWidget {
    Q_OBJECT
public:
    // A dialog of the given size (the size show gives it).
    QOVAWindow(double width, double height);

    QSizeF windowSize() const { return m_windowSize; }
    QWidget *parentView() const { return m_parentView; }

    // Centred over the main window, above it, key; the page gets its mask.
    virtual void show();
    // Hidden, and the page mask taken away. The object stays.
    virtual void close();
    // New size, centred again over the content recorded by show.
    void adjustToSize(double width, double height);

    // One of the three looks of a dialog button: the default action (enabled
    // and highlighted), enabled, or disabled (whatever the highlight).
    static void formatButton(QOVAButton *button, bool enabled, bool highlighted);

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void centre(const QSizeF &size, const QRect &content);

    QSizeF m_windowSize;
    QPointer<QWidget> m_parentView;
};
