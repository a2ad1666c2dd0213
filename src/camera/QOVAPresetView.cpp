#include "QOVAPresetView.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

// ------------------------------------------------------------------ tile

QOVAPresetTile::QOVAPresetTile(int tag, const QString &title, QWidget *parent)
    : QWidget(parent), m_tag(tag), m_title(title)
{
}

void QOVAPresetTile::setTitle(const QString &title)
{
    m_title = title;
    update();
}

void QOVAPresetTile::setBorderWidth(int width)
{
    m_borderWidth = width;
    update();
}

void QOVAPresetTile::setAlphaValue(double alpha)
{
    m_alpha = alpha;
    update();
}

void QOVAPresetTile::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_alpha);
    const QColor accent = colorWithString(QStringLiteral("0277bd"), 1.0);
    QPainterPath outer;
    outer.addRoundedRect(QRectF(rect()), 8, 8);
    painter.setClipPath(outer);
    if (m_borderWidth > 0)
        painter.fillPath(outer, accent);
    QPainterPath inner;
    const double b = m_borderWidth;
    inner.addRoundedRect(QRectF(rect()).adjusted(b, b, -b, -b), qMax(0.0, 8 - b), qMax(0.0, 8 - b));
    painter.fillPath(inner, colorWithString(QStringLiteral("e9f7fe"), 1.0));
    painter.setPen(accent);
    painter.setFont(fontWithSFProDisplay(13, 1));
    painter.drawText(rect(), Qt::AlignCenter, m_title);
}

void QOVAPresetTile::mousePressEvent(QMouseEvent *event)
{
    event->setAccepted(isEnabled() && event->button() == Qt::LeftButton);
}

void QOVAPresetTile::mouseReleaseEvent(QMouseEvent *event)
{
    if (isEnabled() && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(this);
}

// ------------------------------------------------------------------ base

QOVAPresetTile *QOVAPresetPanelBase::tileWithTag(int tag) const
{
    for (QOVAPresetTile *tile : m_tiles) {
        if (tile->tag() == tag)
            return tile;
    }
    return nullptr;
}

void QOVAPresetPanelBase::makeButtons(int cornerRadius)
{
    Q_UNUSED(cornerRadius);
    auto make = [this](const char *name, const char *key) {
        auto *button = new QOVAButton(this);
        button->setObjectName(QLatin1String(name));
        button->setQovaButtonType(1);
        button->setTextString(qtTrId(key));
        button->setTextFont(fontWithSFProDisplay(12, 1));
        button->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
        button->setDisabled(true);
        button->show();
        return button;
    };
    m_selectButton = make("selectButton", "STRING_SELECT");
    m_saveButton = make("saveButton", "STRING_SAVE");
    connect(m_selectButton, &QOVAButton::clicked, this, [this] { clickSelectButton(); });
    connect(m_saveButton, &QOVAButton::clicked, this, [this] { clickSaveButton(); });
    for (QOVAPresetTile *tile : m_tiles)
        connect(tile, &QOVAPresetTile::clicked, this, [this](QOVAPresetTile *t) { pick(t); });
}

void QOVAPresetPanelBase::pick(QOVAPresetTile *tile)
{
    m_saveButton->setDisabled(false);
    m_selectButton->setDisabled(false);
    m_presetIndex = quint64(tile->tag());
    for (QOVAPresetTile *t : m_tiles)
        t->setBorderWidth(t == tile ? 2 : 0);
}

void QOVAPresetPanelBase::setCameraPresetEnable(bool enable)
{
    for (QOVAPresetTile *tile : m_tiles) {
        tile->setEnabled(enable);
        if (enable) {
            tile->setAlphaValue(1.0);
        } else {
            tile->setBorderWidth(0);
            tile->setAlphaValue(0.6);
        }
    }
    if (!enable) {
        m_saveButton->setDisabled(true);
        m_selectButton->setDisabled(true);
    }
}

void QOVAPresetPanelBase::clickSelectButton()
{
    if (m_delegate)
        m_delegate->restorePreset(m_presetIndex);
}

void QOVAPresetPanelBase::clickSaveButton()
{
    if (m_delegate)
        m_delegate->savePreset(m_presetIndex);
}

// ------------------------------------------------------------ two presets

QOVAPresetView::QOVAPresetView(QWidget *parent) : QOVAPresetPanelBase(parent)
{
    m_presetIndex = 0;
    for (int tag : {1, 2}) {
        auto *tile = new QOVAPresetTile(tag, qtTrId("STRING_PRESET"), this);
        tile->setObjectName(tag == 1 ? QStringLiteral("firstPreset") : QStringLiteral("secondPreset"));
        tile->show();
        m_tiles << tile;
    }
    m_preset1ImageView = new QOVAImageView(this);
    m_preset1ImageView->setImageName(QStringLiteral("preset1"));
    m_preset2ImageView = new QOVAImageView(this);
    m_preset2ImageView->setImageName(QStringLiteral("preset2"));
    makeButtons(12);
    m_preset1ImageView->raise();
    m_preset2ImageView->raise();
    resize(524, 64);
}

void QOVAPresetView::resizeEvent(QResizeEvent *)
{
    const int top = (height() - 64) / 2;
    m_tiles[0]->setGeometry(0, top, 188, 64);
    m_tiles[1]->setGeometry(188 + 24, top, 188, 64);
    m_preset1ImageView->setGeometry(188 - 24, 0, 24, 24);
    m_preset2ImageView->setGeometry(188 + 24 + 188 - 24, 0, 24, 24);
    m_selectButton->setGeometry(width() - 100, 0, 100, 24);
    m_saveButton->setGeometry(width() - 100, height() - 24, 100, 24);
}

void QOVAPresetView::pick(QOVAPresetTile *tile)
{
    m_saveButton->setDisabled(false);
    m_selectButton->setDisabled(false);
    m_presetIndex = quint64(tile->tag());
    for (QOVAPresetTile *t : m_tiles) {
        const bool picked = t == tile;
        t->setBorderWidth(picked ? 4 : 0);
        t->setTitle(qtTrId(picked ? "STRING_PRESET_SETTING" : "STRING_PRESET"));
    }
}

void QOVAPresetView::setCameraPresetEnable(bool enable)
{
    QOVAPresetPanelBase::setCameraPresetEnable(enable);
    if (!enable) {
        for (QOVAPresetTile *t : m_tiles)
            t->setTitle(qtTrId("STRING_PRESET"));
    }
}

void QOVAPresetView::clickSaveButton()
{
    if (m_presetIndex == 0)
        return;
    QOVAPresetPanelBase::clickSaveButton();
}

void QOVAPresetView::disableButtons()
{
    m_selectButton->setQovaButtonType(0);
    m_saveButton->setQovaButtonType(0);
}

void QOVAPresetView::enableButtons()
{
    m_selectButton->setQovaButtonType(1);
    m_saveButton->setQovaButtonType(1);
}

// ------------------------------------------------------- Home and four

QOVAPresetsView::QOVAPresetsView(QWidget *parent) : QOVAPresetPanelBase(parent)
{
    m_presetIndex = quint64(-1);
    m_presetsTitleLabel = new QOVALabel(this);
    m_presetsTitleLabel->setObjectName(QStringLiteral("presetsTitleLabel"));
    m_presetsTitleLabel->setFont(fontWithSFProDisplay(13, 2));
    m_presetsTitleLabel->setStringValue(qtTrId("STRING_PRESETS"));
    m_presetsTitleLabel->show();
    const char *names[] = {"homePreset", "firstPreset", "secondPreset", "thirdPreset", "fourthPreset"};
    for (int tag = 0; tag <= 4; ++tag) {
        auto *tile = new QOVAPresetTile(tag, tag == 0 ? qtTrId("STRING_HOME") : QString::number(tag), this);
        tile->setObjectName(QLatin1String(names[tag]));
        tile->show();
        m_tiles << tile;
    }
    makeButtons(8);
    resize(516, 84);
}

void QOVAPresetsView::resizeEvent(QResizeEvent *)
{
    m_presetsTitleLabel->setGeometry(0, 0, 184, 36);
    m_tiles[0]->setGeometry(0, 36, 112, 48);
    int x = 112;
    for (int i = 1; i <= 4; ++i) {
        x += 8;
        m_tiles[i]->setGeometry(x, height() - 48, 64, 48);
        x += 64;
    }
    m_saveButton->setGeometry(x + 8, height() - 20, 88, 20);
    m_selectButton->setGeometry(x + 8, height() - 20 - 8 - 20, 88, 20);
}
