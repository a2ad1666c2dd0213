#include "QOVACameraControlView.h"

#include "QOVAColor.h"

#include <QDebug>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>

QOVAImageButton::QOVAImageButton(const QString &image, const QString &pressedImage, QWidget *parent)
    : QAbstractButton(parent), m_image(image), m_pressedImage(pressedImage)
{
    setFocusPolicy(Qt::NoFocus);
}

void QOVAImageButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QString name = isDown() ? m_pressedImage : m_image;
    // A disabled button shows its image greyed out, as the platform draws
    // disabled images, so it does not look as if it could be pressed.
    QIcon(QStringLiteral(":/images/%1").arg(name))
        .paint(&painter, rect(), Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
}

QOVACameraControlView::QOVACameraControlView(QWidget *parent) : QWidget(parent)
{
    setupUI();
}

void QOVACameraControlView::setupUI()
{
    auto make = [this](const char *name, const char *image, const char *pressed, const char *line,
                       void (QOVACameraControlDelegate::*operation)()) {
        auto *button = new QOVAImageButton(QLatin1String(image), QLatin1String(pressed), this);
        button->setObjectName(QLatin1String(name));
        connect(button, &QAbstractButton::clicked, this, [this, line, operation] {
            qDebug().noquote() << line;
            if (m_delegate)
                (m_delegate->*operation)();
        });
        button->show();
        return button;
    };
    m_zoomInButton = make("zoomInButton", "zoom_in_normal", "zoom_in_press", "zoom in",
                          &QOVACameraControlDelegate::cameraControlZoomIn);
    m_zoomOutButton = make("zoomOutButton", "zoom_out_normal", "zoom_out_press", "zoom out",
                           &QOVACameraControlDelegate::cameraControlZoomOut);
    m_upButton = make("upButton", "up_normal", "up_press", "up", &QOVACameraControlDelegate::cameraControlUp);
    m_leftButton = make("leftButton", "left_normal", "left_press", "left",
                        &QOVACameraControlDelegate::cameraControlLeft);
    m_rightButton = make("rightButton", "right_normal", "right_press", "right",
                         &QOVACameraControlDelegate::cameraControlRight);
    m_downButton = make("downButton", "down_normal", "down_press", "down",
                        &QOVACameraControlDelegate::cameraControlDown);

    const int width = 124;
    m_zoomInButton->setGeometry((width - 32) / 2, 12, 32, 44);
    m_zoomOutButton->setGeometry((width - 32) / 2, 56, 32, 44);
    m_upButton->setGeometry((width - 31) / 2, 100 + 14, 31, 31);
    m_leftButton->setGeometry(15, 145 + 2, 31, 31);
    m_rightButton->setGeometry(width - 15 - 31, 145 + 2, 31, 31);
    m_downButton->setGeometry((width - 31) / 2, 178 + 2, 31, 31);
}

void QOVACameraControlView::setCameraControlViewEnable(bool enable)
{
    for (QOVAImageButton *button :
         {m_zoomInButton, m_zoomOutButton, m_upButton, m_leftButton, m_rightButton, m_downButton})
        button->setEnabled(enable);
}

void QOVACameraControlView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 8, 8);
    painter.fillPath(path, colorWithString(QStringLiteral("e9f7fe"), 1.0));
}
