#include "QOVACameraSettingsView.h"

#include "QOVACameraControlQueue.h"
#include "QOVACameraDelegate.h"
#include "QOVACaptureSource.h"
#include "QOVAPreviewView.h"

#include "AppDelegate.h"
#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "log/log.h"

#include <QPointer>
#include <QHideEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSysInfo>
#include <QTimer>

namespace {
constexpr int kCameraPageWidth = 619;
constexpr int kCameraDividerBottom = 45;
const char *const kControlNames[] = {
    "scanning-mode", "auto-exposure-mode", "auto-exposure-priority", "exposure-time-abs", "exposure-time-rel",
    "focus-abs", "focus-rel", "auto-focus", "iris-abs", "iris-rel", "zoom-abs", "zoom-rel", "pan-tilt-abs",
    "pan-tilt-rel", "roll-abs", "roll-rel", "privacy", "backlight-compensation", "brightness", "contrast", "gain",
    "power-line-frequency", "hue", "saturation", "sharpness", "gamma", "white-balance-temp",
    "auto-white-balance-temp", "white-balance-component", "auto-white-balance-component", "digital-multiplier",
    "digital-multiplier-limit", "auto-hue", "analog-video-standard", "analog-lock-status",
};

// The image settings of the advanced window, in its order; the last is the
// power-line frequency.
struct AdvanceSetting {
    const char *name;
    const char *displayKey;
};
const AdvanceSetting kAdvanceSettings[] = {
    {"brightness", "STRING_BRIGHTNESS"},
    {"contrast", "STRING_CONTRAST"},
    {"hue", "STRING_HUM"},
    {"auto-hue", "STRING_AUTO_HUM"},
    {"saturation", "STRING_SATURATION"},
    {"sharpness", "STRING_SHARPNESS"},
    {"gamma", "STRING_GAMMA"},
    {"white-balance-temp", "STRING_WHITE_BALANCE_TEMP"},
    {"auto-white-balance-temp", "STRING_AUTO_WHITE_BALANCE_TEMP"},
    {"backlight-compensation", "STRING_BACKLIGHT_COMP"},
    {"gain", "STRING_GAIN"},
    {"exposure-time-abs", "STRING_EXPOSURE_TIME_ABS"},
    {"auto-exposure-mode", "STRING_AUTO_EXPOSURE_TIME_ABS"},
    {"power-line-frequency", "STRING_POWERLINE_FREQUENCY"},
};

QOVACameraSettingModelRef newSettingModel(const AdvanceSetting &setting)
{
    auto model = std::make_shared<QOVACameraSettingModel>();
    model->setName(QLatin1String(setting.name));
    model->setDisplayName(qtTrId(setting.displayKey));
    model->setControlType(qint64(QOVACameraSettingsView::controlIndexForString(model->name())));
    return model;
}
} // namespace

QOVACameraSettingsView::QOVACameraSettingsView(const QString &uniqueID, QWidget *parent)
    : QOVADisplayBaseView(parent), m_uniqueID(uniqueID), m_productID(uniqueID.right(4))
{
    layoutCommon();
    if (m_productID == QLatin1String("6e12"))
        layoutVasko();
    QOVA_LOG(INFO, UI, "creat video preview layer.");
    QOVA_LOG(INFO, UI, "Current Opterating System is %s", qUtf8Printable(QSysInfo::prettyProductName()));
    m_controlQueue = new QOVACameraControlQueue(this);
    m_source = QOVACaptureSource::create(m_uniqueID, this);
}

QOVACameraSettingsView::~QOVACameraSettingsView()
{
    if (m_settingWindow) {
        m_settingWindow->setSettingDelegate(nullptr);
        delete m_settingWindow.data();
    }
    stopPreview();
}

void QOVACameraSettingsView::setDelegate(QOVACameraDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateGuard = dynamic_cast<QObject *>(delegate);
    m_delegateGuarded = m_delegateGuard != nullptr;
}

QOVACameraDelegate *QOVACameraSettingsView::delegate() const
{
    if (m_delegateGuarded && !m_delegateGuard)
        return nullptr;
    return m_delegate;
}

const QHash<QString, quint64> &QOVACameraSettingsView::controlMapping()
{
    static const QHash<QString, quint64> table = [] {
        QHash<QString, quint64> t;
        quint64 index = 0;
        for (const char *name : kControlNames)
            t.insert(QLatin1String(name), index++);
        return t;
    }();
    return table;
}

quint64 QOVACameraSettingsView::controlIndexForString(const QString &name)
{
    return controlMapping().value(name, quint64(-1));
}

void QOVACameraSettingsView::layoutCommon()
{
    detailViewName()->setStringValue(qtTrId("STRING_CAMERA_CONTROL"));

    m_trackingImageView = new QOVAImageView(this);
    m_trackingImageView->setObjectName(QStringLiteral("trackingImageView"));
    m_trackingImageView->setImageName(QStringLiteral("icon-trackingOff"));
    m_trackingImageView->setGeometry(kCameraPageWidth - 24 - 42, 1, 42, 42);
    m_trackingImageView->show();

    const int top = kCameraDividerBottom + 10;
    m_noPreviewView = new QOVAImageView(this);
    m_noPreviewView->setObjectName(QStringLiteral("noPreviewView"));
    m_noPreviewView->setImageName(QStringLiteral("camera_no_preview"));
    m_noPreviewView->setGeometry(36, top, 400, 225);
    m_noPreviewView->show();

    m_previewView = new QOVAPreviewView(this);
    m_previewView->setObjectName(QStringLiteral("previewView"));
    m_previewView->setGeometry(36, top, 400, 225);
    m_previewView->hide();

    m_controlView = new QOVACameraControlView(this);
    m_controlView->setObjectName(QStringLiteral("controlView"));
    m_controlView->setGeometry(kCameraPageWidth - 46 - 124, top, 124, 225);
    m_controlView->setDelegate(this);
    m_controlView->setCameraControlViewEnable(true);
    m_controlView->show();

    m_presetView = new QOVAPresetView(this);
    m_presetView->setObjectName(QStringLiteral("presetView"));
    m_presetView->setGeometry(36, top + 225 + 24, 524, 64);
    m_presetView->setDelegate(this);
    m_presetView->setCameraPresetEnable(true);
    m_presetView->show();

    m_advanceButton = QOVAButton::linkButton(this, qtTrId("STRING_CAMERA_ADVANCED_SETTINGS"),
                                             fontWithSFProDisplay(13, 1));
    m_advanceButton->setObjectName(QStringLiteral("advanceButton"));
    placeAdvanceButton(top + 225 + 24 + 64 + 24);
    m_advanceButton->show();
    connect(m_advanceButton, &QOVAButton::clicked, this, [this] { openAdvanceSetting(); });
}

void QOVACameraSettingsView::placeAdvanceButton(int top)
{
    m_advanceButton->setGeometry(36, top, 400, 36);
}

void QOVACameraSettingsView::layoutVasko()
{
    delete m_presetView;
    m_presetView = nullptr;
    const int top = kCameraDividerBottom + 10 + 225;
    m_presetsView = new QOVAPresetsView(this);
    m_presetsView->setObjectName(QStringLiteral("presetsView"));
    m_presetsView->setGeometry(36, top, 516, 84);
    m_presetsView->setDelegate(this);
    m_presetsView->show();

    auto makeRow = [this](const char *key, int rowTop, QOVALabel *&title, ITSwitch *&sw, QOVALabel *&status,
                          void (QOVACameraDelegate::*operation)(bool)) {
        title = new QOVALabel(this);
        QFont systemFont;
        systemFont.setPixelSize(13);
        title->setFont(systemFont);
        title->setTextColor(colorWithString(QStringLiteral("2e2e2e"), 1.0));
        title->setStringValue(qtTrId(key));
        title->setGeometry(36, rowTop, 150, 36);
        title->show();
        sw = new ITSwitch(this);
        sw->setTintColor(colorWithString(QStringLiteral("0077bd"), 1.0));
        sw->setGeometry(36 + 150 + 50, rowTop + (36 - 18) / 2, 38, 18);
        sw->show();
        status = new QOVALabel(this);
        status->setFont(fontWithSFProDisplay(13, 1));
        status->setTextColor(colorWithString(QStringLiteral("2e2e2e"), 1.0));
        status->setStringValue(qtTrId("STRING_OFF"));
        status->setGeometry(sw->geometry().right() + 1 + 8, rowTop, 80, 36);
        status->show();
        ITSwitch *target = sw;
        QOVALabel *label = status;
        connect(sw, &ITSwitch::triggered, this, [this, target, label, operation] {
            const bool on = target->checked();
            label->setStringValue(qtTrId(on ? "STRING_ON" : "STRING_OFF"));
            if (QOVACameraDelegate *d = delegate())
                (d->*operation)(on);
        });
    };
    int rowTop = top + 84 + 18;
    makeRow("STRING_SKIN_ENHANCEMENT", rowTop, m_skinEnhLabel, m_skinEnhSwitch, m_skinEnhStatusLabel,
            &QOVACameraDelegate::setSkinEnhancement);
    m_skinEnhSwitch->setObjectName(QStringLiteral("skinEnhSwitch"));
    rowTop += 36;
    makeRow("STRING_WIDE_DYNAMIC_RANGE", rowTop, m_wideDynamicRangeLabel, m_wideDynamicRangeSwitch,
            m_wideDynamicRangeStatusLabel, &QOVACameraDelegate::setWideDynamicRange);
    m_wideDynamicRangeSwitch->setObjectName(QStringLiteral("wideDynamicRangeSwitch"));
    rowTop += 36;
    makeRow("STRING_PARTICIPANT_COUNT", rowTop, m_participantLabel, m_participantSwitch, m_participantStatusLabel,
            &QOVACameraDelegate::setParticipantCount);
    m_participantSwitch->setObjectName(QStringLiteral("participantSwitch"));
    placeAdvanceButton(m_participantSwitch->geometry().bottom() + 1 + 18);
}

// ------------------------------------------------------------- preview

void QOVACameraSettingsView::handleDisplayViewEvent()
{
    QOVADisplayBaseView::handleDisplayViewEvent();
    QOVA_LOG(INFO, UI, "Handle Camrea Settings View Event");
    startPreview();
    QOVACameraDelegate *d = delegate();
    if (!d)
        return;
    d->updateUVCControls();
    if (m_productID == QLatin1String("6e12"))
        d->getCameraExtensionFeature();
    else if (m_productID == QLatin1String("6e17"))
        d->getCameraAutoTrackingStatus();
}

void QOVACameraSettingsView::cancelDisplayViewEvent()
{
    QOVADisplayBaseView::cancelDisplayViewEvent();
    QOVA_LOG(INFO, UI, "Cancel Camrea Settings View Event");
    stopPreview();
}

void QOVACameraSettingsView::hideEvent(QHideEvent *event)
{
    // Off screen the camera is left free for other programs.
    QOVADisplayBaseView::hideEvent(event);
    stopPreview();
}

void QOVACameraSettingsView::startPreview()
{
    if (!m_source)
        return;
    if (m_source->setupResult() == QOVACaptureSource::Usable) {
        m_source->start([view = QPointer<QOVAPreviewView>(m_previewView)](const QImage &frame) {
            if (view)
                view->showFrame(frame);
        });
        if (m_source->setupResult() == QOVACaptureSource::Usable) {
            m_previewView->show();
            m_previewView->raise();
            return;
        }
    }
    if (m_source->setupResult() == QOVACaptureSource::NotAuthorized) {
        // After the page's own requests, as a later turn of the event loop.
        if (!m_alertPending && !m_permissionAlert) {
            m_alertPending = true;
            QTimer::singleShot(0, this, [this] {
                m_alertPending = false;
                if (isVisible())
                    showPermissionAlert();
            });
        }
        return;
    }
    showNoPreview();
}

void QOVACameraSettingsView::showPermissionAlert()
{
    QMessageBox alert(window());
    m_permissionAlert = &alert;
    alert.setIcon(QMessageBox::Critical);
    alert.setText(qtTrId("Zentaro Orvalinde doesn't have permission to use the camera, please change privacy settings"));
    QPushButton *cancel = alert.addButton(qtTrId("STRING_CANCEL"), QMessageBox::RejectRole);
    QPushButton *settings = alert.addButton(qtTrId("Settings"), QMessageBox::AcceptRole);
    alert.setEscapeButton(cancel);
    alert.adjustSize();
    if (QWidget *main = window()) {
        const QRect frame = main->frameGeometry();
        alert.move(frame.x() + (820 - alert.width()) / 2, frame.y() + height() / 2);
    }
    alert.exec();
    m_permissionAlert = nullptr;
    if (alert.clickedButton() == settings) {
        // Access to a camera is granted by the rule that gives the logged-in
        // user the device's nodes.
        QOVA_LOG(WARNING, UI,
                 "The camera's video node cannot be opened: install the udev rule "
                 "\"70-orvalinde.rules\" and plug the camera again.");
    }
}

void QOVACameraSettingsView::showNoPreview()
{
    QOVA_LOG(ERROR, UI, "Unable to capture media");
    m_previewView->hide();
    m_noPreviewView->show();
}

void QOVACameraSettingsView::stopPreview()
{
    if (m_source && m_source->isRunning())
        m_source->stop();
}

bool QOVACameraSettingsView::isPreviewRunning() const
{
    return m_source && m_source->isRunning();
}

// ------------------------------------------------------------- updates

void QOVACameraSettingsView::updateWithGroupFraming(bool groupFraming, bool)
{
    m_trackingImageView->setImageName(groupFraming ? QStringLiteral("icon-trackingOn")
                                                   : QStringLiteral("icon-trackingOff"));
    m_trackingImageView->setToolTip(qtTrId(groupFraming ? "STRING_TRACKING_ON" : "STRING_TRACKING_OFF"));
    m_controlView->setCameraControlViewEnable(!groupFraming);
    if (m_productID == QLatin1String("6e17") && m_presetView)
        m_presetView->setCameraPresetEnable(!groupFraming);
    else if (m_productID == QLatin1String("6e12") && m_presetsView)
        m_presetsView->setCameraPresetEnable(!groupFraming);
}

void QOVACameraSettingsView::setSwitch(ITSwitch *sw, QOVALabel *status, bool on)
{
    if (!sw)
        return;
    QSignalBlocker block(sw);
    sw->setChecked(on);
    status->setStringValue(qtTrId(on ? "STRING_ON" : "STRING_OFF"));
}

void QOVACameraSettingsView::updateCameraExtensionFeatureUI(bool skinEnhancement, bool wdr, bool participantCount)
{
    updateSkinEnhancementUI(skinEnhancement);
    updateWideDynamicRangeUI(wdr);
    updateParticipantCountUI(participantCount);
}

void QOVACameraSettingsView::updateSkinEnhancementUI(bool on) { setSwitch(m_skinEnhSwitch, m_skinEnhStatusLabel, on); }
void QOVACameraSettingsView::updateWideDynamicRangeUI(bool on)
{
    setSwitch(m_wideDynamicRangeSwitch, m_wideDynamicRangeStatusLabel, on);
}
void QOVACameraSettingsView::updateParticipantCountUI(bool on)
{
    setSwitch(m_participantSwitch, m_participantStatusLabel, on);
}
bool QOVACameraSettingsView::getSkinEnhSwitchStatus() const { return m_skinEnhSwitch && m_skinEnhSwitch->checked(); }
bool QOVACameraSettingsView::getWdrSwitchStatus() const
{
    return m_wideDynamicRangeSwitch && m_wideDynamicRangeSwitch->checked();
}
bool QOVACameraSettingsView::getPartCountSwitchStatus() const
{
    return m_participantSwitch && m_participantSwitch->checked();
}

// ------------------------------------------------------- pad and presets

void QOVACameraSettingsView::cameraControlZoomIn() { if (auto *d = delegate()) d->setZoomAbs(true); }
void QOVACameraSettingsView::cameraControlZoomOut() { if (auto *d = delegate()) d->setZoomAbs(false); }
void QOVACameraSettingsView::cameraControlLeft() { if (auto *d = delegate()) d->setPanTiltAbs(true, false); }
void QOVACameraSettingsView::cameraControlRight() { if (auto *d = delegate()) d->setPanTiltAbs(true, true); }
void QOVACameraSettingsView::cameraControlUp() { if (auto *d = delegate()) d->setPanTiltAbs(false, true); }
void QOVACameraSettingsView::cameraControlDown() { if (auto *d = delegate()) d->setPanTiltAbs(false, false); }

void QOVACameraSettingsView::savePreset(quint64 index)
{
    if (auto *d = delegate())
        d->setCameraPreset(index, QStringLiteral("save"));
}

void QOVACameraSettingsView::restorePreset(quint64 index)
{
    if (auto *d = delegate())
        d->setCameraPreset(index, QStringLiteral("restore"));
}

// ---------------------------------------------------- advanced settings

QList<QOVACameraSettingModelRef> QOVACameraSettingsView::getAllAdvanceSettings() const
{
    QList<QOVACameraSettingModelRef> list;
    for (const AdvanceSetting &setting : kAdvanceSettings)
        list << newSettingModel(setting);
    return list;
}

void QOVACameraSettingsView::openAdvanceSetting()
{
    if (m_openingAdvanceSetting || (m_settingWindow && m_settingWindow->isOpen()))
        return;
    if (m_presetView)
        m_presetView->disableButtons();
    QOVACameraDelegate *d = delegate();
    if (!d) {
        // Nothing can be read, and nothing opens.
        if (m_presetView)
            m_presetView->enableButtons();
        return;
    }
    m_openingAdvanceSetting = true;
    auto list = std::make_shared<QList<QOVACameraSettingModelRef>>(getAllAdvanceSettings());
    for (const QOVACameraSettingModelRef &model : *list) {
        QPointer<QOVACameraSettingsView> self(this);
        m_controlQueue->enqueue([self, model] {
            if (!self)
                return;
            if (QOVACameraDelegate *dd = self->delegate())
                dd->getCameraSettingData(model);
        });
    }
    m_controlQueue->enqueue([this, list] {
        m_openingAdvanceSetting = false;
        if (!isVisible() || !delegate()) {
            // The page went while the settings were read.
            if (m_presetView)
                m_presetView->enableButtons();
            return;
        }
        auto *window = new QOVACameraSettingWindow();
        m_settingWindow = window;
        window->setSettingModelArray(*list);
        window->setSettingDelegate(this);
        window->show();
    });
}

void QOVACameraSettingsView::setCameraSettingData(const QOVACameraSettingModelRef &model, bool isReset)
{
    if (!model)
        return;
    // The record as it is now: a drag changes it again before this write
    // goes out, and every value it passed through is written in order.
    auto snapshot = std::make_shared<QOVACameraSettingModel>(*model);
    QPointer<QOVACameraSettingsView> self(this);
    m_controlQueue->enqueue([self, model = std::move(snapshot), isReset] {
        if (!self)
            return;
        if (QOVACameraDelegate *d = self->delegate())
            d->setCameraSettingData(model, isReset);
    });
}

void QOVACameraSettingsView::settingWindowClosed()
{
    if (m_presetView)
        m_presetView->enableButtons();
}
