#include "QOVAFirmwareListHeader.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QVariantAnimation>

#include <algorithm>

QOVARefreshButton::QOVARefreshButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    m_animation = new QVariantAnimation(this);
    m_animation->setStartValue(0.0);
    m_animation->setEndValue(360.0);
    m_animation->setDuration(1000);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        m_angle = v.toDouble();
        update();
    });
    connect(m_animation, &QVariantAnimation::finished, this, [this] {
        m_angle = 0;
        update();
    });
}

void QOVARefreshButton::spin()
{
    m_animation->stop();
    m_animation->start();
}

bool QOVARefreshButton::isSpinning() const
{
    return m_animation->state() == QAbstractAnimation::Running;
}

void QOVARefreshButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    painter.rotate(m_angle);
    painter.translate(-width() / 2.0, -height() / 2.0);
    QSvgRenderer renderer(QOVAImageView::imagePath(QStringLiteral("refresh_normal")));
    renderer.render(&painter, QRectF(0, 0, width(), height()));
}

QOVAFirmwareListHeader::QOVAFirmwareListHeader(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);

    m_titleLabel = new QOVALabel(this);
    m_titleLabel->setFont(fontWithSFProDisplay(14, QOVAFontRegular));
    m_titleLabel->setTextColor(colorWithString(QStringLiteral("2e2e2e"), 1.0));
    m_titleLabel->setMaximumNumberOfLines(1);

    m_updateButton = new QOVAButton(this);
    m_updateButton->setTextString(qtTrId("STRING_UPDATE_ALL"));
    m_updateButton->setTextFont(fontWithSFProDisplay(12, QOVAFontRegular));
    m_updateButton->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
    connect(m_updateButton, &QOVAButton::clicked, this, [this] { updateAllDevices(); });

    m_refreshButton = new QOVARefreshButton(this);
    connect(m_refreshButton, &QAbstractButton::clicked, this, [this] { refreshStatus(); });

    m_separateLine = new QWidget(this);
    m_separateLine->setAutoFillBackground(true);
    QPalette lp = m_separateLine->palette();
    lp.setColor(QPalette::Window, colorWithString(QStringLiteral("cbcbcb"), 1.0));
    m_separateLine->setPalette(lp);

    resize(820, 52);
    layoutViews();
}

void QOVAFirmwareListHeader::setDeviceCount(qint64 count, const QString &productName)
{
    if (count == 1) {
        m_titleLabel->setStringValue(productName);
        m_updateButton->setHidden(true);
    } else {
        m_titleLabel->setStringValue(QStringLiteral("%1(%2)").arg(productName).arg(count));
        m_updateButton->setHidden(false);
    }
    layoutViews();
}

void QOVAFirmwareListHeader::setUpdateDisabled(bool disabled)
{
    m_updateButton->setDisabled(disabled);
}

void QOVAFirmwareListHeader::setUpdateButtonHidden(bool hidden)
{
    m_updateButton->setHidden(hidden);
}

void QOVAFirmwareListHeader::updateAllDevices()
{
    if (m_updateButton->disabled())
        return;
    if (m_delegate)
        m_delegate->updateAllDevices(this);
}

void QOVAFirmwareListHeader::refreshStatus()
{
    m_refreshButton->spin();
    if (m_delegate)
        m_delegate->refreshStatus(this);
}

void QOVAFirmwareListHeader::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutViews();
}

void QOVAFirmwareListHeader::layoutViews()
{
    const int w = width();
    const int h = height();
    const QSizeF title = m_titleLabel->textSize(600);
    const int titleHeight = int(std::ceil(title.height()));
    m_titleLabel->setGeometry(44, (h - titleHeight) / 2, int(std::ceil(title.width())) + 2, titleHeight);
    const int buttonWidth = std::max(98, int(std::ceil(m_updateButton->textLength())));
    m_updateButton->setGeometry(w - 74 - buttonWidth, (h - 16) / 2, buttonWidth, 16);
    m_refreshButton->setGeometry(w - 53 - 12, (h - 12) / 2, 12, 12);
    m_separateLine->setGeometry(44, h - 1 - 1, w - 88, 1);
}
