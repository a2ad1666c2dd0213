#include "QOVAAudioIndicatorView.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int kMeterCaptionWidth = 130;
constexpr int kMeterBarWidth = 200;
constexpr int kMeterBarHeight = 8;
constexpr int kMeterBarBottomInset = 11;

// The level bar: a rounded grey track filled from the left in the accent
// colour up to the value's share of the range.
class MeterLevelBar final : public QWidget {
public:
    MeterLevelBar(QOVAAudioIndicatorView *owner, QWidget *parent) : QWidget(parent), m_owner(owner)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const double radius = track.height() / 2;
        p.setPen(colorWithString(QStringLiteral("c9c9c9"), 1.0));
        p.setBrush(colorWithString(QStringLiteral("ececec"), 1.0));
        p.drawRoundedRect(track, radius, radius);
        const double span = m_owner->maxValue() - m_owner->minValue();
        const double share = span > 0 ? (m_owner->doubleValue() - m_owner->minValue()) / span : 0;
        if (share <= 0)
            return;
        QPainterPath clip;
        clip.addRoundedRect(track, radius, radius);
        p.setClipPath(clip);
        p.setPen(Qt::NoPen);
        p.setBrush(colorWithString(QStringLiteral("0277bd"), 1.0));
        p.drawRect(QRectF(track.left(), track.top(), track.width() * std::min(share, 1.0), track.height()));
    }

private:
    QOVAAudioIndicatorView *m_owner;
};

} // namespace

QOVAAudioIndicatorView::QOVAAudioIndicatorView(const QRect &frame, const QStringList &scaleArray, QWidget *parent)
    : QWidget(parent)
    , m_scaleArray(scaleArray)
{
    setGeometry(frame);
    setupUI();
}

void QOVAAudioIndicatorView::setupUI()
{
    const int h = height();
    m_indicatorLabel = new QOVALabel(this);
    m_indicatorLabel->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_indicatorLabel->setGeometry(0, h - 36, kMeterCaptionWidth, 36);

    m_minValue = m_scaleArray.isEmpty() ? -20 : m_scaleArray.first().toInt() - 20;
    m_maxValue = m_scaleArray.isEmpty() ? -20 : m_scaleArray.last().toInt() - 20;
    m_value = m_minValue;
    m_indicator = new MeterLevelBar(this, this);
    const int barTop = h - kMeterBarBottomInset - kMeterBarHeight;
    m_indicator->setGeometry(kMeterCaptionWidth, barTop, kMeterBarWidth, kMeterBarHeight);

    const int count = int(m_scaleArray.size());
    const int spacing = count > 1 ? int(float(kMeterBarWidth) / float(count - 1)) : 0;
    const QFont scaleFont = fontWithSFProDisplay(10, QOVAFontRegular);
    // Each scale text stands on the bar in a label that holds its line
    // whole: a label draws its line 2 points above its middle, so it is
    // 4 taller than the line (a 12-point label cut the figures' tops off).
    const int scaleHeight = int(std::ceil(QFontMetricsF(scaleFont).lineSpacing())) + 4;
    for (int i = 0; i < count; ++i) {
        auto *label = new QOVALabel(this);
        label->setFont(scaleFont);
        label->setTextColor(colorWithString(QStringLiteral("9b9b9b"), 1.0));
        label->setStringValue(m_scaleArray[i]);
        const int width = int(std::ceil(label->textSize(1000).width())) + 2;
        int x = kMeterCaptionWidth + i * spacing - width / 2;
        if (i == 0)
            x = kMeterCaptionWidth;
        else if (i == count - 1)
            x = kMeterCaptionWidth + kMeterBarWidth - width;
        label->setGeometry(x, barTop - scaleHeight, width, scaleHeight);
        m_scaleLabels << label;
    }
}

void QOVAAudioIndicatorView::updateIndicator(double value)
{
    if (std::isnan(value))
        value = m_minValue;
    if (value > m_maxValue)
        value = m_maxValue;
    if (value < m_minValue)
        value = m_minValue;
    if (value == m_value)
        return;
    m_value = value;
    m_indicator->update();
}
