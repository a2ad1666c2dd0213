#include "QOVACameraTrackingView.h"

#include "QOVACameraTrackingDelegate.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVADeviceModel.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "log/log.h"
#include "platform/TimeScale.h"

#include <QPainter>
#include <QPaintEvent>
#include <QTimer>

#include <cstdlib>

namespace {
constexpr int kTrackingDividerBottom = 45;
constexpr int kTrackingStepMs = 10;

QString trackingText(const char *key) { return qtTrId(key); }
// The pop-up titles of a maximum zoom level and of a camera movement.
QString zoomTitle(int level) { return QStringLiteral("%1x").arg(level); }
QString smoothTitle(bool smooth) { return trackingText(smooth ? "STRING_AUTO_PAN" : "STRING_CUT"); }

QString currentVersionText()
{
    return QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion();
}
} // namespace

QOVACameraTrackingView::QOVACameraTrackingView(const QString &productID, QWidget *parent)
    : QOVADisplayBaseView(parent), m_productID(productID)
{
    detailViewName()->setStringValue(trackingText("STRING_CAMERA_TRACKING"));
    const QString version = currentVersionText();
    m_currVersion = scanVersion(version);
    setupCameraTrackingUI();
    m_deviceZoomTitle = m_maximumZoomButton->titleOfSelectedItem();
    m_deviceSmoothTitle = m_smoothTrackingButton->titleOfSelectedItem();
    if (!hasFullLayout(version, m_currVersion))
        setUPOldFWUI();
}

double QOVACameraTrackingView::scanVersion(const QString &version)
{
    static const QString allowed = QStringLiteral("0123456789.");
    int start = 0;
    while (start < version.size() && !allowed.contains(version.at(start)))
        ++start;
    int end = start;
    while (end < version.size() && allowed.contains(version.at(end)))
        ++end;
    const QByteArray run = version.mid(start, end - start).toLatin1();
    if (run.isEmpty())
        return 0.0;
    // Single precision on purpose: V1.29 reads as 1.2899999..., below 1.29.
    const float number = std::strtof(run.constData(), nullptr);
    return double(number);
}

bool QOVACameraTrackingView::hasFullLayout(const QString &version, double number)
{
    if (version.startsWith(QLatin1Char('V')))
        return number >= 1.29;
    return number >= 1.19;
}

void QOVACameraTrackingView::setDelegate(QOVACameraTrackingDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateGuard = dynamic_cast<QObject *>(delegate);
    m_delegateGuarded = m_delegateGuard != nullptr;
}

QOVACameraTrackingDelegate *QOVACameraTrackingView::delegate() const
{
    if (m_delegateGuarded && !m_delegateGuard)
        return nullptr;
    return m_delegate;
}

void QOVACameraTrackingView::setupCameraTrackingUI()
{
    const QFont captionFont = fontWithSFProDisplay(13, 1);
    auto makeCaption = [&](const char *name, const char *key) {
        auto *label = new QOVALabel(this);
        label->setObjectName(QLatin1String(name));
        label->setFont(captionFont);
        label->setStringValue(trackingText(key));
        label->show();
        return label;
    };
    auto makePopUp = [&](const char *name, const QStringList &titles) {
        auto *popUp = new QOVAPopUpButton(this);
        popUp->setObjectName(QLatin1String(name));
        popUp->addItemsWithTitles(titles);
        popUp->setFontWithString(QStringLiteral("2e2e2e"), 1.0, 13, 1);
        popUp->selectItemAtIndex(0);
        popUp->show();
        return popUp;
    };

    m_trackingModeLabel = makeCaption("trackingModeLabel", "STRING_CAMERA_TRACKING_MODE");
    m_trackingSpeedLabel = makeCaption("trackingSpeedLabel", "STRING_TRACKING_SPEED");
    m_framingSizeLabel = makeCaption("framingSizeLabel", "STRING_FRAMING_SIZE");
    m_maximumZoomLabel = makeCaption("maximumZoomLabel", "STRING_TRACKING_FRAME");
    m_smoothTrackingLabel = makeCaption("smoothTrackingLabel", "STRING_CAMERA_MOVEMENT");

    m_trackingModeButton = makePopUp("trackingModeButton", {trackingText("STRING_FRAME_GROUP"), trackingText("STRING_OFF"),
                                                            trackingText("STRING_FRAME_SPEAKER")});
    m_trackingSpeedButton = makePopUp("trackingSpeedButton", {trackingText("STRING_NORMAL"), trackingText("STRING_SLOW"),
                                                              trackingText("STRING_FAST")});
    m_framingSizeButton = makePopUp("framingSizeButton", {trackingText("STRING_MEDIUM"), trackingText("STRING_TIGHT"),
                                                          trackingText("STRING_WIDE")});
    m_maximumZoomButton = makePopUp("maximumZoomButton", {QStringLiteral("2x"), QStringLiteral("3x"),
                                                          QStringLiteral("4x")});
    m_smoothTrackingButton = makePopUp("smoothTrackingButton", {trackingText("STRING_AUTO_PAN"), trackingText("STRING_CUT")});

    // Captions 170 x 36 at x 36, pop-ups 200 x 24 at x 220 centred on them.
    auto placeRow = [](QOVALabel *caption, QOVAPopUpButton *popUp, int top) {
        caption->setGeometry(36, top, 170, 36);
        popUp->setGeometry(220, top + (36 - 24) / 2, 200, 24);
    };
    int top = kTrackingDividerBottom + 16;
    placeRow(m_trackingModeLabel, m_trackingModeButton, top);
    top += 36;
    placeRow(m_trackingSpeedLabel, m_trackingSpeedButton, top);
    top += 36;
    placeRow(m_framingSizeLabel, m_framingSizeButton, top);
    top += 36;
    placeRow(m_maximumZoomLabel, m_maximumZoomButton, top);
    // The camera movement caption sits right under the tracking frame pop-up.
    top = m_maximumZoomButton->geometry().bottom() + 1;
    placeRow(m_smoothTrackingLabel, m_smoothTrackingButton, top);

    m_saveButton = new QOVAButton(this);
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    m_saveButton->setQovaButtonType(1);
    m_saveButton->setTextString(trackingText("STRING_SAVE"));
    m_saveButton->setTextFont(fontWithSFProDisplay(13, 1));
    m_saveButton->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
    m_saveButton->setGeometry(36, m_smoothTrackingLabel->geometry().bottom() + 1 + 24, 88, 24);
    m_saveButton->show();

    connect(m_trackingModeButton, &QComboBox::activated, this, [this] { handleTrackingModePopBtn(); });
    for (QOVAPopUpButton *popUp :
         {m_trackingSpeedButton, m_framingSizeButton, m_maximumZoomButton, m_smoothTrackingButton})
        connect(popUp, &QComboBox::activated, this, [this] { updateSaveButton(); });
    connect(m_saveButton, &QOVAButton::clicked, this, [this] { clickSaveButton(); });
}

void QOVACameraTrackingView::setUPOldFWUI()
{
    m_maximumZoomLabel->hide();
    m_maximumZoomButton->hide();
    m_smoothTrackingLabel->hide();
    m_smoothTrackingButton->hide();
    m_saveButton->setGeometry(36, m_framingSizeLabel->geometry().bottom() + 1 + 24, 88, 24);
}

void QOVACameraTrackingView::paintEvent(QPaintEvent *event)
{
    QOVADisplayBaseView::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(0xff, 0xff, 0xff));
}

void QOVACameraTrackingView::runSpaced(QList<std::function<void()>> steps)
{
    if (steps.isEmpty())
        return;
    std::function<void()> first = steps.takeFirst();
    first();
    if (steps.isEmpty())
        return;
    QPointer<QOVACameraTrackingView> self(this);
    QTimer::singleShot(platform::scaledMs(kTrackingStepMs), this, [self, steps] {
        if (self)
            self->runSpaced(steps);
    });
}

void QOVACameraTrackingView::handleDisplayViewEvent()
{
    QOVADisplayBaseView::handleDisplayViewEvent();
    // The three reads go out in this order, even on old firmware.
    QList<std::function<void()>> steps;
    steps << [this] { if (auto *d = delegate()) d->getAutoTrackingStatus(); }
          << [this] { if (auto *d = delegate()) d->getSmoothTrackingStatus(); }
          << [this] { if (auto *d = delegate()) d->getMaximumZoomLevel(); };
    runSpaced(steps);
}

void QOVACameraTrackingView::cancelDisplayViewEvent()
{
    QOVADisplayBaseView::cancelDisplayViewEvent();
}

void QOVACameraTrackingView::setDependentsEnabled(bool enabled)
{
    for (QOVAPopUpButton *popUp :
         {m_trackingSpeedButton, m_framingSizeButton, m_maximumZoomButton, m_smoothTrackingButton})
        popUp->setEnabled(enabled);
}

void QOVACameraTrackingView::handleTrackingModePopBtn()
{
    const QString title = m_trackingModeButton->titleOfSelectedItem();
    if (title == trackingText("STRING_FRAME_GROUP") || title == trackingText("STRING_FRAME_SPEAKER"))
        setDependentsEnabled(true);
    else if (title == trackingText("STRING_OFF"))
        setDependentsEnabled(false);
    m_saveButton->setDisabled(false);
}

void QOVACameraTrackingView::updateSaveButton()
{
    m_saveButton->setDisabled(false);
}

void QOVACameraTrackingView::updateCameraTrackingUI(bool groupFraming, bool talkerTracking,
                                                    const QString &trackingSpeed, const QString &framingSize)
{
    m_trackingSpeed = trackingSpeed;
    m_framingSize = framingSize;

    if (!groupFraming)
        m_trackingModeButton->selectItemWithTitle(trackingText("STRING_OFF"));
    else if (talkerTracking)
        m_trackingModeButton->selectItemWithTitle(trackingText("STRING_FRAME_SPEAKER"));
    else
        m_trackingModeButton->selectItemWithTitle(trackingText("STRING_FRAME_GROUP"));

    if (trackingSpeed == QLatin1String("Slow")) {
        m_trackingSpeedButton->selectItemWithTitle(trackingText("STRING_SLOW"));
    } else if (trackingSpeed == QLatin1String("Normal")) {
        m_trackingSpeedButton->selectItemWithTitle(trackingText("STRING_NORMAL"));
    } else if (trackingSpeed == QLatin1String("Fast")) {
        m_trackingSpeedButton->selectItemWithTitle(trackingText("STRING_FAST"));
    } else {
        QOVA_LOG(ERROR, UI, "Can't recognize the tracking speed %s!", qUtf8Printable(trackingSpeed));
        m_trackingSpeedButton->selectItemWithTitle(trackingText("STRING_NORMAL"));
    }

    if (framingSize == QLatin1String("Tight")) {
        m_framingSizeButton->selectItemWithTitle(trackingText("STRING_TIGHT"));
    } else if (framingSize == QLatin1String("Medium")) {
        m_framingSizeButton->selectItemWithTitle(trackingText("STRING_MEDIUM"));
    } else if (framingSize == QLatin1String("Wide")) {
        m_framingSizeButton->selectItemWithTitle(trackingText("STRING_WIDE"));
    } else {
        QOVA_LOG(ERROR, UI, "Can't recognize the framing size speed %s!", qUtf8Printable(framingSize));
        m_framingSizeButton->selectItemWithTitle(trackingText("STRING_TIGHT"));
    }

    handleTrackingModePopBtn();
    m_saveButton->setDisabled(true);
}

void QOVACameraTrackingView::updateMaximumZoom(int level)
{
    m_deviceZoomTitle = zoomTitle(level);
    m_maximumZoomButton->selectItemWithTitle(m_deviceZoomTitle);
}

void QOVACameraTrackingView::updateSmoothTrackingStatus(bool smooth)
{
    m_deviceSmoothTitle = smoothTitle(smooth);
    m_smoothTrackingButton->selectItemWithTitle(m_deviceSmoothTitle);
}

void QOVACameraTrackingView::maximumZoomSaved(int level, bool saved)
{
    if (saved)
        m_deviceZoomTitle = zoomTitle(level);
    else
        m_maximumZoomButton->selectItemWithTitle(m_deviceZoomTitle);
}

void QOVACameraTrackingView::smoothTrackingSaved(bool smooth, bool saved)
{
    if (saved)
        m_deviceSmoothTitle = smoothTitle(smooth);
    else
        m_smoothTrackingButton->selectItemWithTitle(m_deviceSmoothTitle);
}

QString QOVACameraTrackingView::getTrackingSpeed() const
{
    const QString title = m_trackingSpeedButton->titleOfSelectedItem();
    if (title == trackingText("STRING_SLOW"))
        return QStringLiteral("Slow");
    if (title == trackingText("STRING_NORMAL"))
        return QStringLiteral("Normal");
    if (title == trackingText("STRING_FAST"))
        return QStringLiteral("Fast");
    return title;
}

QString QOVACameraTrackingView::getFramingSize() const
{
    const QString title = m_framingSizeButton->titleOfSelectedItem();
    if (title == trackingText("STRING_TIGHT"))
        return QStringLiteral("Tight");
    if (title == trackingText("STRING_MEDIUM"))
        return QStringLiteral("Medium");
    if (title == trackingText("STRING_WIDE"))
        return QStringLiteral("Wide");
    return title;
}

void QOVACameraTrackingView::clickSaveButton()
{
    const QString mode = m_trackingModeButton->titleOfSelectedItem();
    const bool off = mode == trackingText("STRING_OFF");
    if (!off) {
        m_trackingSpeed = getTrackingSpeed();
        m_framingSize = getFramingSize();
    } else if (m_trackingSpeed.isEmpty() || m_framingSize.isEmpty()) {
        // Off before any reply: the device never gets an empty word; the
        // pop-ups' current choices go instead.
        if (m_trackingSpeed.isEmpty())
            m_trackingSpeed = getTrackingSpeed();
        if (m_framingSize.isEmpty())
            m_framingSize = getFramingSize();
    }
    const bool groupFraming = !off;
    const bool talkerTracking = mode == trackingText("STRING_FRAME_SPEAKER");
    const QString speed = m_trackingSpeed;
    const QString framing = m_framingSize;

    // What goes out is decided now, from what the user sees at the click.
    const QString version = currentVersionText();
    QString level;
    if (hasFullLayout(version, m_currVersion)) {
        const QString frame = m_maximumZoomButton->titleOfSelectedItem();
        if (frame == QLatin1String("2x"))
            level = QStringLiteral("2");
        else if (frame == QLatin1String("3x"))
            level = QStringLiteral("3");
        else if (frame == QLatin1String("4x"))
            level = QStringLiteral("4");
    }
    const bool sendSmooth = m_currVersion >= 1.19;
    const bool smooth = m_smoothTrackingButton->titleOfSelectedItem() == trackingText("STRING_AUTO_PAN");

    QList<std::function<void()>> steps;
    steps << [this, groupFraming, talkerTracking, speed, framing] {
        if (auto *d = delegate())
            d->setAutoTrackingStatus(groupFraming, talkerTracking, speed, framing);
    };
    if (!level.isEmpty())
        steps << [this, level] { if (auto *d = delegate()) d->setMaximumZoomLevel(level); };
    if (sendSmooth)
        steps << [this, smooth] { if (auto *d = delegate()) d->setSmoothTracking(smooth); };
    runSpaced(steps);
}
