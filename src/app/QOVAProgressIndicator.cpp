#include "QOVAProgressIndicator.h"

#include "platform/TimeScale.h"

#include <QPainter>
#include <QTimer>

#include <cmath>

namespace {
constexpr int kSpokes = 12;
}

QOVAProgressIndicator::QOVAProgressIndicator(QWidget *parent)
    : QWidget(parent)
    , m_timer(new QTimer(this))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer->setInterval(platform::scaledMs(80));
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % kSpokes;
        if (isVisible())
            update();
    });
}

void QOVAProgressIndicator::startAnimation() { m_timer->start(); }
void QOVAProgressIndicator::stopAnimation() { m_timer->stop(); }
bool QOVAProgressIndicator::isAnimating() const { return m_timer->isActive(); }

void QOVAProgressIndicator::setSpokeColor(const QColor &color)
{
    m_spokeColor = color;
    update();
}

void QOVAProgressIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height());
    p.translate(width() / 2.0, height() / 2.0);
    for (int i = 0; i < kSpokes; ++i) {
        const int age = (m_step - i + kSpokes) % kSpokes;
        QColor c = m_spokeColor;
        c.setAlphaF(float(1.0 - age / double(kSpokes)));
        p.setPen(QPen(c, side / 14.0, Qt::SolidLine, Qt::RoundCap));
        p.save();
        p.rotate(i * 360.0 / kSpokes);
        p.drawLine(QPointF(0, -side * 0.22), QPointF(0, -side * 0.42));
        p.restore();
    }
}
