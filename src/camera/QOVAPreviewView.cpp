#include "QOVAPreviewView.h"

#include <QPainter>
#include <QPainterPath>

QOVAPreviewView::QOVAPreviewView(QWidget *parent) : QWidget(parent) {}

void QOVAPreviewView::showFrame(const QImage &frame)
{
    m_image = frame;
    update();
}

void QOVAPreviewView::clear()
{
    m_image = QImage();
    update();
}

void QOVAPreviewView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()), 8, 8);
    painter.setClipPath(clip);
    painter.fillRect(rect(), Qt::black);
    if (m_image.isNull())
        return;
    // Aspect fill: scale to cover, centre, crop the rest.
    const QSizeF scaled = QSizeF(m_image.size()).scaled(QSizeF(size()), Qt::KeepAspectRatioByExpanding);
    const QRectF target((width() - scaled.width()) / 2, (height() - scaled.height()) / 2, scaled.width(),
                        scaled.height());
    painter.drawImage(target, m_image);
}
