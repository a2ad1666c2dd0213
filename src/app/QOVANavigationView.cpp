#include "QOVANavigationView.h"

#include "AppDelegate.h"
#include "QOVASegmentItem.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAImageView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kBarWidth = 820;
constexpr int kBarHeight = 56;
constexpr int kSegmentGap = 54;

// The white line under the selected segment, with rounded ends.
class IndicatorLine : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), 1.5, 1.5);
        p.fillPath(path, Qt::white);
    }
};

} // namespace

QOVANavigationView::QOVANavigationView(QWidget *parent)
    : QWidget(parent)
    , m_backgroundColor(colorWithString(QStringLiteral("222222"), 1.0))
{
    resize(kBarWidth, kBarHeight);
    m_segmentView = new QWidget(this);
    m_backButton = new QOVAButton(this);
    m_backButton->setBackgroundColor(Qt::transparent);
    m_backButton->hiddenImage(true);
    m_backImage = new QOVAImageView(m_backButton);
    m_backImage->setImageScaling(QOVAImageView::ScaleAxesIndependently);
    m_backImage->setImageName(QStringLiteral("back"));
    connect(m_backButton, &QOVAButton::clicked, this, [this] { navigationPop(); });
    m_indicateLine = new IndicatorLine(this);
    m_indicateLine->setAttribute(Qt::WA_TransparentForMouseEvents);
    layoutSegmentView();
}

void QOVANavigationView::layoutSegmentView()
{
    m_settingItem = new QOVASegmentItem(QStringLiteral("Device_unselect"), QStringLiteral("Device_select"),
                                        qtTrId("STRING_DEVICE_SETTINGS"), m_segmentView);
    m_settingItem->setTag(0);
    m_updateItem = new QOVASegmentItem(QStringLiteral("FirmwareUpdate_unselect"),
                                       QStringLiteral("FirmwareUpdate_select"),
                                       qtTrId("STRING_FIRMWARE_UPDATE"), m_segmentView);
    m_updateItem->setTag(1);
    for (QOVASegmentItem *item : {m_settingItem, m_updateItem})
        connect(item, &QOVAButton::clicked, this,
                [this](QOVAButton *sender) { didSelectedSegmentItem(static_cast<QOVASegmentItem *>(sender)); });

    // Each segment as wide as its caption, 54 apart, the pair centred.
    const int w0 = m_settingItem->contentWidth();
    const int w1 = m_updateItem->contentWidth();
    const int total = w0 + kSegmentGap + w1;
    m_segmentView->setGeometry((kBarWidth - total) / 2, 0, total, kBarHeight);
    m_settingItem->setGeometry(0, 0, w0, kBarHeight);
    m_updateItem->setGeometry(w0 + kSegmentGap, 0, w1, kBarHeight);

    // Back button 8 from the left, its bottom 6 above the bar's bottom.
    m_backButton->setGeometry(8, kBarHeight - 6 - 24, 24, 24);
    m_backImage->setGeometry(0, 0, 24, 24);

    m_settingItem->selected();
    m_updateItem->unSelected();
    placeIndicator(m_settingItem);
}

void QOVANavigationView::placeIndicator(QOVASegmentItem *item)
{
    // 100 x 2, its bottom 3 above the bar's bottom, centred on the segment.
    m_indicated = item;
    const QRect g = item->geometry().translated(m_segmentView->pos());
    m_indicateLine->setGeometry(g.center().x() + 1 - 50, kBarHeight - 3 - 2, 100, 2);
}

void QOVANavigationView::setNavigationStyle(qint64 style)
{
    switch (style) {
    case 0:
        m_backgroundColor = colorWithString(QStringLiteral("222222"), 1.0);
        m_segmentView->hide();
        m_backButton->hide();
        m_indicateLine->hide();
        break;
    case 1:
    case 2:
        m_backgroundColor = colorWithString(QStringLiteral("0277bd"), 1.0);
        m_segmentView->show();
        m_backButton->setVisible(style == 2);
        m_indicateLine->show();
        break;
    default:
        break;
    }
    if (style >= 0 && style <= 2)
        m_style = int(style);
    update();
}

void QOVANavigationView::selectNavigateItem(qint64 tag)
{
    for (QOVASegmentItem *item : {m_settingItem, m_updateItem}) {
        if (item->tag() == tag)
            changeIndicatorWithItem(item);
    }
}

void QOVANavigationView::showNotificationType(qint64 type)
{
    if (type == 0)
        m_settingItem->showNotification(true);
    else if (type == 1)
        m_updateItem->showNotification(true);
}

void QOVANavigationView::removeNotificationType(qint64 type)
{
    if (type == 0)
        m_settingItem->showNotification(false);
    else if (type == 1)
        m_updateItem->showNotification(false);
}

void QOVANavigationView::didSelectedSegmentItem(QOVASegmentItem *sender)
{
    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->switchNavigationView(sender->tag());
    changeIndicatorWithItem(sender);
}

void QOVANavigationView::changeIndicatorWithItem(QOVASegmentItem *item)
{
    if (item->tag() == 0) {
        m_settingItem->selected();
        m_updateItem->unSelected();
    } else {
        m_updateItem->selected();
        m_settingItem->unSelected();
    }
    placeIndicator(item);
}

void QOVANavigationView::navigationPop()
{
    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->showDeviceController(delegate->deviceListController());
    m_settingItem->showNotification(false);
}

void QOVANavigationView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.fillRect(event->rect(), m_backgroundColor);
}

// Window drag: the window follows the pointer by exactly its movement until
// the button is released.
void QOVANavigationView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !window()) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_lastPointer = event->globalPosition().toPoint();
    m_windowOrigin = window()->pos();
    event->accept();
}

void QOVANavigationView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const QPoint now = event->globalPosition().toPoint();
    m_windowOrigin += now - m_lastPointer;
    window()->move(m_windowOrigin);
    m_lastPointer = now;
    event->accept();
}

void QOVANavigationView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    event->accept();
}
