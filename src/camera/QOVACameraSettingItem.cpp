#include "QOVACameraSettingItem.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAGeometry.h"
#include "QOVALabel.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QSlider>

#include <cmath>
#include <limits>

namespace {

int sliderBound(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QColor itemColor(bool supported, const char *color)
{
    return colorWithString(QLatin1String(supported ? color : "9b9b9b"), 1.0);
}

} // namespace

QOVACameraSettingItem::QOVACameraSettingItem(QOVACameraSettingModelRef model, QWidget *parent)
    : QWidget(parent), m_model(std::move(model))
{
    resize(kWidth, kHeight);
    const bool supported = m_model->isSupported();

    m_titleLabel = new QOVALabel(this);
    m_titleLabel->setFont(fontWithSFProDisplay(11, 1));
    m_titleLabel->setAlignment(QOVALabel::AlignRight);
    m_titleLabel->setTextColor(itemColor(supported, "2e2e2e"));
    m_titleLabel->setStringValue(QStringLiteral("%1:").arg(m_model->displayName()));
    qovaSetFrame(m_titleLabel, 0, 0, 140, kHeight);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("slider"));
    m_slider->setTracking(true);
    m_slider->setFocusPolicy(Qt::StrongFocus);
    qovaSetFrame(m_slider, 140 + 24, 2, 140, 20);

    m_valueLabel = new QOVALabel(this);
    m_valueLabel->setFont(fontWithSFProDisplay(10, 1));
    m_valueLabel->setTextColor(itemColor(supported, "666668"));
    qovaSetFrame(m_valueLabel, 140 + 24 + 140 + 16, 0, 26, kHeight);

    m_checkButton = new QCheckBox(this);
    m_checkButton->setObjectName(QStringLiteral("checkButton"));
    qovaSetFrame(m_checkButton, 140 + 24 + 140 + 16 + 26 + 16, (kHeight - 14) / 2.0, 14, 14);

    {
        const QSignalBlocker block(m_slider);
        m_slider->setRange(sliderBound(m_model->minValue()), sliderBound(std::max(m_model->minValue(), m_model->maxValue())));
        m_slider->setSingleStep(int(std::clamp<qint64>(m_model->stepValue(), 1, std::numeric_limits<int>::max())));
        m_slider->setPageStep(m_slider->singleStep());
    }
    reloadData();
    connect(m_slider, &QSlider::valueChanged, this, &QOVACameraSettingItem::sliderValueChanged);
    connect(m_checkButton, &QCheckBox::clicked, this, &QOVACameraSettingItem::selectAuto);
}

qint64 QOVACameraSettingItem::roundedValue(double v, qint64 step, qint64 minValue, qint64 maxValue)
{
    const qint64 s = step > 0 ? step : 1;
    const double half = double(s) / 2.0;
    const double shifted = v > 0 ? std::trunc(v + half) : std::trunc(v - half);
    // Out of the range a 64-bit number holds: the nearest end of the range.
    qint64 n;
    if (!(shifted < 9.2e18))
        n = maxValue;
    else if (!(shifted > -9.2e18))
        n = minValue;
    else
        n = (qint64(shifted) / s) * s;
    if (maxValue >= minValue)
        n = std::clamp(n, minValue, maxValue);
    return n;
}

bool QOVACameraSettingItem::partnerAutoOn() const
{
    const QOVACameraSettingModelRef partner = m_model->autoModel();
    return partner && partner->isSupported() && partner->canAutoSet();
}

void QOVACameraSettingItem::updateSliderEnabled()
{
    m_slider->setEnabled(m_model->isSupported() && !partnerAutoOn());
}

void QOVACameraSettingItem::showValue(qint64 value)
{
    const QSignalBlocker block(m_slider);
    m_slider->setValue(sliderBound(value));
    m_valueLabel->setStringValue(QString::number(value));
}

void QOVACameraSettingItem::reloadData()
{
    showValue(m_model->currentValue());
    const QOVACameraSettingModelRef partner = m_model->autoModel();
    if (!partner) {
        m_checkButton->hide();
    } else {
        m_checkButton->show();
        m_checkButton->setEnabled(partner->isSupported());
        m_checkButton->setChecked(partner->isSupported() && partner->canAutoSet());
    }
    updateSliderEnabled();
}

void QOVACameraSettingItem::sliderValueChanged(int value)
{
    const qint64 rounded =
        roundedValue(double(value), m_model->stepValue(), m_model->minValue(), m_model->maxValue());
    m_model->setCurrentValue(rounded);
    showValue(rounded);
    if (m_delegate)
        m_delegate->settingItemValueChanged(this, m_model);
}

void QOVACameraSettingItem::selectAuto(bool checked)
{
    const QOVACameraSettingModelRef partner = m_model->autoModel();
    if (!partner)
        return;
    partner->setCanAutoSet(checked);
    if (m_delegate)
        m_delegate->settingItemSetAutoMode(this, partner);
    m_slider->setEnabled(m_model->isSupported() && !checked);
}
