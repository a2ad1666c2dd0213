#include "QOVAImageView.h"

#include "platform/TimeScale.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QTimer>

QOVAImageView::QOVAImageView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QOVAImageView::~QOVAImageView() = default;

QString QOVAImageView::imagePath(const QString &name)
{
    if (name.isEmpty())
        return {};
    const QString base = QStringLiteral(":/images/") + name;
    for (const QString &candidate : {base + QStringLiteral(".svg"), base + QStringLiteral(".png"), base, name}) {
        if (QFile::exists(candidate))
            return candidate;
    }
    return {};
}

void QOVAImageView::setImageName(const QString &name)
{
    m_imageName = name;
    m_svg.reset();
    m_pixmap = QPixmap();
    const QString path = imagePath(name);
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        auto renderer = std::make_unique<QSvgRenderer>(path);
        if (renderer->isValid())
            m_svg = std::move(renderer);
    } else if (!path.isEmpty()) {
        m_pixmap.load(path);
    }
    update();
    emit imageNameChanged(name);
}

void QOVAImageView::setImage(const QPixmap &pixmap)
{
    m_imageName.clear();
    m_svg.reset();
    m_pixmap = pixmap;
    update();
}

bool QOVAImageView::hasImage() const
{
    return m_svg || !m_pixmap.isNull();
}

void QOVAImageView::setOpacity(double opacity)
{
    m_opacity = opacity;
    update();
}

void QOVAImageView::setImageScaling(ImageScaling scaling)
{
    m_scaling = scaling;
    update();
}

QRectF QOVAImageView::targetRect(const QSizeF &imageSize) const
{
    const QRectF bounds = rect();
    if (imageSize.isEmpty())
        return bounds;
    QSizeF size = imageSize;
    switch (m_scaling) {
    case ScaleAxesIndependently:
        return bounds;
    case ScaleNone:
        break;
    case ScaleProportionallyDown:
        if (size.width() > bounds.width() || size.height() > bounds.height())
            size.scale(bounds.size(), Qt::KeepAspectRatio);
        break;
    case ScaleProportionallyUpOrDown:
        size.scale(bounds.size(), Qt::KeepAspectRatio);
        break;
    }
    return QRectF(bounds.center().x() - size.width() / 2, bounds.center().y() - size.height() / 2,
                  size.width(), size.height());
}

void QOVAImageView::paintEvent(QPaintEvent *)
{
    if (!hasImage())
        return;
    QPainter p(this);
    p.setOpacity(m_opacity);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::Antialiasing);
    if (m_svg) {
        m_svg->render(&p, targetRect(m_svg->defaultSize()));
    } else {
        const QSizeF size = m_pixmap.deviceIndependentSize();
        p.drawPixmap(targetRect(size), m_pixmap, QRectF(m_pixmap.rect()));
    }
}

void QOVAImageView::setAnimationImages(const std::optional<QStringList> &names)
{
    m_animationImages = names;
}

void QOVAImageView::startAnimating()
{
    // One timer per call, with its own position; it ends itself once the view
    // has no list any more (or is gone).
    auto *timer = new QTimer(this);
    auto position = std::make_shared<qsizetype>(0);
    auto tick = [this, timer, position] {
        if (!m_animationImages) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        const QStringList &names = *m_animationImages;
        if (*position >= names.size())
            *position = 0;
        if (!names.isEmpty())
            setImageName(names.at(*position));
        *position += 1;
        if (*position >= names.size())
            *position = 0;
    };
    connect(timer, &QTimer::timeout, this, tick);
    timer->start(platform::scaledMs(500));
    tick();
}

void QOVAImageView::stopAnimating()
{
    m_animationImages.reset();
}
