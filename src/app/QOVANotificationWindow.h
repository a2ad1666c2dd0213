#pragma once
// The toast: a 300 x 44 child window near the top right of the main window,
// green for success (type 0) and red for failure (type 1), with an icon, the
// message and a small close button. It slides 30 points to the left while
// fading in over one second; four seconds after it was shown it fades out
// over one second and hides. Each toast deletes itself after that.
//
//   auto *toast = new QOVANotificationWindow;
//   toast->setNotificationType(0);
//   toast->setContentString(text);
//   toast->show();

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

class QOVAButton;
class QOVAImageView;
class QOVALabel;
class QPropertyAnimation;

class QOVANotificationWindow : public QWidget {
    Q_OBJECT
public:
    QOVANotificationWindow();

    int notificationType() const { return m_notificationType; }
    void setNotificationType(int type);
    QString contentString() const { return m_contentString; }
    void setContentString(const QString &text);

    // Places the toast over the main window, fades it in and schedules its
    // removal.
    void show();
    // The slide and fade-in from the start position (top left, screen).
    void showAnimation(const QPoint &start);
    // The fade-out, then hidden. Also the close button's action.
    void removeNotificationWindow();

    QWidget *leftView() const { return m_leftView; }
    QWidget *rightView() const { return m_rightView; }
    QOVAImageView *imageView() const { return m_imageView; }
    QOVALabel *contentLabel() const { return m_contentLabel; }
    QOVAButton *closeButton() const { return m_closeButton; }
    QOVAImageView *closeImageView() const { return m_closeImage; }
    QColor leftColor() const { return m_leftColor; }
    QColor rightColor() const { return m_rightColor; }
    QColor borderColor() const { return m_borderColor; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void initNotificationWindowUI();
    void fadeOut(bool finalRemoval);

    int m_notificationType = 0;
    QString m_contentString;
    QWidget *m_leftView = nullptr;
    QWidget *m_rightView = nullptr;
    QOVAImageView *m_imageView = nullptr;
    QOVALabel *m_contentLabel = nullptr;
    QOVAButton *m_closeButton = nullptr;
    QOVAImageView *m_closeImage = nullptr;
    QColor m_leftColor = Qt::transparent;
    QColor m_rightColor = Qt::transparent;
    QColor m_borderColor = Qt::transparent;
    QPointer<QPropertyAnimation> m_fade;
};
