#include "QOVANotificationWindow.h"

#include "AppDelegate.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "WindowCompositing.h"
#include "platform/TimeScale.h"

#include <QPainter>
#include <QPainterPath>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QRegion>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kWidth = 300;
constexpr int kHeight = 44;
constexpr double kToastCornerRadius = 8;

QPainterPath toastShape(const QRectF &rect)
{
    QPainterPath shape;
    shape.addRoundedRect(rect, kToastCornerRadius, kToastCornerRadius);
    return shape;
}
} // namespace

QOVANotificationWindow::QOVANotificationWindow()
    : QWidget(AppDelegate::mainWindowWidget(),
              Qt::Tool | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint)
{
    initNotificationWindowUI();
}

void QOVANotificationWindow::initNotificationWindowUI()
{
    setAttribute(Qt::WA_TranslucentBackground);
    // The toast never takes the keyboard: what the user types next still
    // goes to the field they were typing in (a password tried again).
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(kWidth, kHeight);

    m_leftView = new QWidget(this);
    m_leftView->setGeometry(0, 0, 36, kHeight);
    m_rightView = new QWidget(this);
    m_rightView->setGeometry(36, 0, kWidth - 36, kHeight);

    m_imageView = new QOVAImageView(m_leftView);
    m_imageView->setGeometry((36 - 24) / 2, (kHeight - 24) / 2, 24, 24);

    m_contentLabel = new QOVALabel(m_rightView);
    m_contentLabel->setFont(fontWithSFProDisplay(12, QOVAFontRegular));
    m_contentLabel->setGeometry(8, 8, 233, kHeight - 8 - 6);

    m_closeButton = new QOVAButton(m_rightView);
    m_closeButton->setBackgroundColor(Qt::transparent);
    m_closeButton->hiddenImage(true);
    m_closeButton->setGeometry(m_rightView->width() - 8 - 6, 8, 6, 6);
    m_closeImage = new QOVAImageView(m_closeButton);
    m_closeImage->setImageScaling(QOVAImageView::ScaleAxesIndependently);
    m_closeImage->setGeometry(0, 0, 6, 6);
    connect(m_closeButton, &QOVAButton::clicked, this, [this] { removeNotificationWindow(); });
}

void QOVANotificationWindow::setNotificationType(int type)
{
    m_notificationType = type;
    struct Kind {
        const char *left, *right, *icon, *close;
    };
    static const Kind kinds[] = {
        {"147217", "eafee9", "icon_caution_success", "icon_close_green"},
        {"c2322e", "ffe0e0", "icon_caution_failed", "icon_close_red"},
    };
    if (type != 0 && type != 1)
        return;
    const Kind &k = kinds[type];
    m_leftColor = colorWithString(QLatin1String(k.left), 1.0);
    m_rightColor = colorWithString(QLatin1String(k.right), 1.0);
    m_borderColor = m_leftColor;
    m_imageView->setImageName(QLatin1String(k.icon));
    m_closeImage->setImageName(QLatin1String(k.close));
    m_contentLabel->setTextColor(m_leftColor);
    update();
}

void QOVANotificationWindow::setContentString(const QString &text)
{
    m_contentString = text;
    m_contentLabel->setStringValue(text);
    // The text sits at the top of its 233 x 30 area: the label is made as
    // tall as the text (the label's own top alignment would clip the first
    // line's ascenders).
    const double textHeight = std::ceil(m_contentLabel->textSize(233).height());
    m_contentLabel->setGeometry(8, 8, 233, int(std::clamp(textHeight + 4, 1.0, 30.0)));
}

void QOVANotificationWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = toastShape(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    if (!mask().isEmpty()) {
        // Masked, nothing shows through: the smoothed edge pixels blend into
        // the toast's own colours, not into black.
        p.fillRect(m_leftView->geometry(), m_leftColor);
        p.fillRect(m_rightView->geometry(), m_rightColor);
    }
    p.setClipPath(shape);
    p.fillRect(m_leftView->geometry(), m_leftColor);
    p.fillRect(m_rightView->geometry(), m_rightColor);
    p.setClipping(false);
    p.setPen(QPen(m_borderColor, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
}

void QOVANotificationWindow::show()
{
    // 494 right of and 489 above the content's lower-left corner: the top
    // edge 67 below the content's top, just under the navigation bar.
    const QRect content = AppDelegate::mainContentScreenRect();
    const QPoint origin(content.x() + 494, content.y() + content.height() - 489 - kHeight);
    resize(kWidth, kHeight);
    move(origin);
    // Where the display shows no window through another, the corners
    // outside the rounded shape would be black: the shape becomes the
    // window's mask there. A compositing display keeps the smooth corners.
    if (windowcompositing::translucentWindows())
        clearMask();
    else
        setMask(QRegion(toastShape(QRectF(rect())).toFillPolygon().toPolygon()));
    setWindowOpacity(0.0);
    QWidget::show();
    raise();
    showAnimation(origin);
    QTimer::singleShot(platform::scaledMs(4000), this, [this] { fadeOut(true); });
}

void QOVANotificationWindow::showAnimation(const QPoint &start)
{
    auto *group = new QParallelAnimationGroup(this);
    auto *slide = new QPropertyAnimation(this, "pos", group);
    slide->setDuration(platform::scaledMs(1000));
    slide->setStartValue(start);
    slide->setEndValue(QPoint(start.x() - 30, start.y()));
    auto *fade = new QPropertyAnimation(this, "windowOpacity", group);
    fade->setDuration(platform::scaledMs(1000));
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    group->addAnimation(slide);
    group->addAnimation(fade);
    m_fade = fade;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void QOVANotificationWindow::removeNotificationWindow()
{
    fadeOut(false);
}

void QOVANotificationWindow::fadeOut(bool finalRemoval)
{
    // A fade-out replaces a fade-in still running.
    if (m_fade && m_fade->group())
        m_fade->group()->stop();
    auto *fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(platform::scaledMs(1000));
    fade->setStartValue(windowOpacity());
    fade->setEndValue(0.0);
    connect(fade, &QPropertyAnimation::finished, this, [this, finalRemoval] {
        hide();
        if (finalRemoval)
            deleteLater();
    });
    m_fade = fade;
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}
