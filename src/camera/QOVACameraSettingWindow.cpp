#include "QOVACameraSettingWindow.h"

#include "AppDelegate.h"
#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAGeometry.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVAWindow.h"
#include "log/log.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

namespace {

constexpr qint64 kAutoExposureModeIndex = 1;
constexpr qint64 kExposureTimeAbsIndex = 3;
constexpr qint64 kHueIndex = 22;
constexpr qint64 kWhiteBalanceTempIndex = 26;
constexpr qint64 kAutoWhiteBalanceTempIndex = 27;
constexpr qint64 kAutoHueIndex = 32;

constexpr double kButtonHeight = 19;
constexpr double kButtonBottom = 25.5;

// The automatic control whose check box rides on a value control's row.
qint64 autoPartnerOf(qint64 controlType)
{
    switch (controlType) {
    case kWhiteBalanceTempIndex: return kAutoWhiteBalanceTempIndex;
    case kExposureTimeAbsIndex: return kAutoExposureModeIndex;
    case kHueIndex: return kAutoHueIndex;
    default: return -1;
    }
}

QString powerLineTitle(qint64 value)
{
    switch (value) {
    case 0: return qtTrId("STRING_DISABLE");
    case 1: return QStringLiteral("50Hz");
    case 2: return QStringLiteral("60Hz");
    default: return QString();
    }
}

} // namespace

QOVACameraSettingWindow::QOVACameraSettingWindow()
    : QWidget(AppDelegate::mainWindowWidget(), Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("cameraSettingWindow"));
    resize(kWidth, kHeight);
    layoutFixedControls();
}

bool QOVACameraSettingWindow::isAutoControl(qint64 controlType)
{
    return controlType == kAutoWhiteBalanceTempIndex || controlType == kAutoExposureModeIndex
        || controlType == kAutoHueIndex;
}

QList<qint64> QOVACameraSettingWindow::powerLineValues(qint64 minValue, qint64 maxValue, qint64 step)
{
    // Four values can no longer all be among the three items: the walk stops
    // there, and a step of 0 or less walks by 1, so it always ends.
    const quint64 s = quint64(step > 0 ? step : 1);
    QList<qint64> values;
    if (minValue > maxValue)
        return values;
    qint64 v = minValue;
    while (true) {
        values << v;
        if (values.size() > 3 || quint64(maxValue) - quint64(v) < s)
            break;
        v = qint64(quint64(v) + s);
    }
    return values;
}

void QOVACameraSettingWindow::layoutFixedControls()
{
    const QColor dark = colorWithString(QStringLiteral("2e2e2e"), 1.0);
    m_titleLabel = new QOVALabel(this);
    m_titleLabel->setFont(fontWithSFProDisplay(13, 3));
    m_titleLabel->setTextColor(Qt::black);
    m_titleLabel->setAlignment(QOVALabel::AlignCenter);
    m_titleLabel->setStringValue(qtTrId("STRING_CAMERA_SETTINGS"));
    m_titleLabel->setGeometry(0, 24, kWidth, 17);

    m_autoLabel = new QOVALabel(this);
    m_autoLabel->setFont(fontWithSFProDisplay(10, 1));
    m_autoLabel->setTextColor(dark);
    m_autoLabel->setAlignment(QOVALabel::AlignRight);
    m_autoLabel->setStringValue(qtTrId("STRING_AUTO"));
    constexpr int autoWidth = 40;
    m_autoLabel->setGeometry(kWidth / 2 + 156 - autoWidth / 2, 24 + 17 + 7, autoWidth, 12);

    m_resetButton = new QOVAButton(this);
    m_cancelButton = new QOVAButton(this);
    m_okButton = new QOVAButton(this);
    m_resetButton->setObjectName(QStringLiteral("resetButton"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_resetButton->setTextString(qtTrId("STRING_RESET"));
    m_cancelButton->setTextString(qtTrId("STRING_CANCEL"));
    m_okButton->setTextString(qtTrId("STRING_SAVE"));
    double width = 67;
    for (QOVAButton *button : {m_resetButton, m_cancelButton, m_okButton}) {
        button->setTextFont(fontWithSFProDisplay(12, 1));
        QOVAWindow::formatButton(button, true, false);
        width = std::max(width, button->textLength());
    }
    const double saveX = kWidth - 10 - width;
    const double cancelX = saveX - 10 - width;
    const double resetX = std::max(10.0, cancelX - 10 - width);
    qovaSetFrame(m_okButton, saveX, kButtonBottom, width, kButtonHeight);
    qovaSetFrame(m_cancelButton, cancelX, kButtonBottom, width, kButtonHeight);
    qovaSetFrame(m_resetButton, resetX, kButtonBottom, width, kButtonHeight);
    connect(m_resetButton, &QOVAButton::clicked, this, [this] { resetSettings(); });
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { cancelSettings(); });
    connect(m_okButton, &QOVAButton::clicked, this, [this] { saveSettings(); });

    const double labelBottom = kButtonBottom + kButtonHeight + 32;
    m_powerLineTitleLabel = new QOVALabel(this);
    m_powerLineTitleLabel->setFont(fontWithSFProDisplay(11, 1));
    m_powerLineTitleLabel->setAlignment(QOVALabel::AlignRight);
    m_powerLineTitleLabel->setTextColor(dark);
    m_powerLineTitleLabel->setStringValue(QStringLiteral("%1:").arg(qtTrId("STRING_POWERLINE_FREQUENCY")));
    qovaSetFrame(m_powerLineTitleLabel, 0, labelBottom, 140, 24);

    m_powerLinePopupButton = new QOVAPopUpButton(this);
    m_powerLinePopupButton->setObjectName(QStringLiteral("powerLinePopupButton"));
    m_powerLinePopupButton->addItemsWithTitles({powerLineTitle(0), powerLineTitle(1), powerLineTitle(2)});
    m_powerLinePopupButton->setFontWithString(QStringLiteral("2e2e2e"), 1, 11, 1);
    qovaSetFrame(m_powerLinePopupButton, 140 + 24, labelBottom + 2, 140, 20);
    connect(m_powerLinePopupButton, &QOVAPopUpButton::activated, this, [this] { handlePopBtn(); });
}

void QOVACameraSettingWindow::setSettingModelArray(const QList<QOVACameraSettingModelRef> &models)
{
    m_settingModelArray = models;
    for (qsizetype i = 0; i + 1 < m_settingModelArray.size(); ++i) {
        const QOVACameraSettingModelRef &model = m_settingModelArray.at(i);
        if (isAutoControl(model->controlType())) {
            model->setOriginalValue(model->canAutoSet() ? 1 : 0);
            continue;
        }
        model->setOriginalValue(model->currentValue());
        const qint64 partner = autoPartnerOf(model->controlType());
        if (partner >= 0)
            model->setAutoModel(getSettingModel(partner));
        auto *item = new QOVACameraSettingItem(model, this);
        item->setDelegate(this);
        const int k = int(m_settingItemList.size());
        qovaSetFrame(item, 0, 322 - 24 * k, QOVACameraSettingItem::kWidth, QOVACameraSettingItem::kHeight);
        item->show();
        m_settingItemList << item;
    }
    if (m_settingModelArray.isEmpty())
        return;
    const QOVACameraSettingModelRef &powerLine = m_settingModelArray.last();
    powerLine->setOriginalValue(powerLine->currentValue());
    const bool supported = powerLine->isSupported();
    m_powerLineTitleLabel->setTextColor(colorWithString(QLatin1String(supported ? "2e2e2e" : "9b9b9b"), 1.0));
    m_powerLinePopupButton->setEnabled(supported);
    if (supported) {
        const QList<qint64> values =
            powerLineValues(powerLine->minValue(), powerLine->maxValue(), powerLine->stepValue());
        const bool withinItems = !values.isEmpty() && std::all_of(values.begin(), values.end(), [](qint64 v) {
            return v >= 0 && v <= 2;
        });
        if (withinItems) {
            for (qint64 v = 0; v <= 2; ++v) {
                if (!values.contains(v)) {
                    const int index = m_powerLinePopupButton->findText(powerLineTitle(v));
                    if (index >= 0)
                        m_powerLinePopupButton->removeItem(index);
                }
            }
        }
        updatePowerLineFrequencyUI();
    }
}

QOVACameraSettingModelRef QOVACameraSettingWindow::getSettingModel(qint64 controlType) const
{
    for (const QOVACameraSettingModelRef &model : m_settingModelArray) {
        if (model->controlType() == controlType)
            return model;
    }
    return nullptr;
}

QOVACameraSettingItem *QOVACameraSettingWindow::itemForControl(qint64 controlType) const
{
    for (QOVACameraSettingItem *item : m_settingItemList) {
        if (item->settingModel()->controlType() == controlType)
            return item;
    }
    return nullptr;
}

void QOVACameraSettingWindow::updatePowerLineFrequencyUI()
{
    if (m_settingModelArray.isEmpty())
        return;
    const QString title = powerLineTitle(m_settingModelArray.last()->currentValue());
    if (title.isEmpty())
        return;
    const int index = m_powerLinePopupButton->findText(title);
    if (index >= 0)
        m_powerLinePopupButton->setCurrentIndex(index);
}

void QOVACameraSettingWindow::write(const QOVACameraSettingModelRef &model, bool isReset)
{
    if (m_settingDelegate)
        m_settingDelegate->setCameraSettingData(model, isReset);
}

void QOVACameraSettingWindow::settingItemValueChanged(QOVACameraSettingItem *, const QOVACameraSettingModelRef &model)
{
    write(model, false);
}

void QOVACameraSettingWindow::settingItemSetAutoMode(QOVACameraSettingItem *, const QOVACameraSettingModelRef &autoModel)
{
    write(autoModel, false);
}

void QOVACameraSettingWindow::handlePopBtn()
{
    if (m_settingModelArray.isEmpty())
        return;
    const QString title = m_powerLinePopupButton->titleOfSelectedItem();
    qint64 value = -1;
    for (qint64 v = 0; v <= 2; ++v) {
        if (title == powerLineTitle(v))
            value = v;
    }
    if (value < 0)
        return;
    const QOVACameraSettingModelRef &powerLine = m_settingModelArray.last();
    powerLine->setCurrentValue(value);
    write(powerLine, false);
}

void QOVACameraSettingWindow::resetSettings()
{
    QOVA_LOG(INFO, UI, "camera settings reseted");
    if (m_settingDelegate) {
        for (const QOVACameraSettingModelRef &model : m_settingModelArray) {
            if (!model->isSupported())
                continue;
            // An automatic control goes back to its default mode too, so
            // that its check box, its partner's slider and the camera agree.
            const bool autoDiffers =
                isAutoControl(model->controlType()) && model->canAutoSet() != model->defaultAutoValue();
            if (model->currentValue() == model->defaultValue() && !autoDiffers)
                continue;
            model->setCurrentValue(model->defaultValue());
            if (isAutoControl(model->controlType()))
                model->setCanAutoSet(model->defaultAutoValue());
            write(model, true);
        }
    }
    for (QOVACameraSettingItem *item : m_settingItemList)
        item->reloadData();
    updatePowerLineFrequencyUI();
}

void QOVACameraSettingWindow::cancelSettings()
{
    QOVA_LOG(INFO, UI, "camera settings canceled");
    closeWindow();
    if (!m_settingDelegate)
        return;
    for (const QOVACameraSettingModelRef &model : m_settingModelArray) {
        if (!model->isSupported())
            continue;
        if (isAutoControl(model->controlType())) {
            const bool original = model->originalValue() != 0;
            if (model->canAutoSet() != original) {
                model->setCanAutoSet(original);
                write(model, false);
            }
        } else if (model->currentValue() != model->originalValue()) {
            model->setCurrentValue(model->originalValue());
            write(model, false);
        }
    }
}

void QOVACameraSettingWindow::saveSettings()
{
    QOVA_LOG(INFO, UI, "camera settings saved");
    closeWindow();
}

void QOVACameraSettingWindow::show()
{
    const QRect content = AppDelegate::mainContentScreenRect();
    move(content.x() + (content.width() - kWidth) / 2, content.y() + (content.height() - kHeight) / 2);
    resize(kWidth, kHeight);
    m_open = true;
    QWidget::show();
    raise();
    activateWindow();
    if (AppDelegate *app = AppDelegate::sharedDelegate())
        app->showInvisibleWindowMask(true);
}

void QOVACameraSettingWindow::closeWindow()
{
    if (!m_open)
        return;
    hide();
}

void QOVACameraSettingWindow::finishClosing()
{
    // However the window went (its buttons, or the device leaving), the
    // page gets its clicks back and hears of it once.
    if (!m_open)
        return;
    m_open = false;
    if (m_settingDelegate)
        m_settingDelegate->settingWindowClosed();
    if (AppDelegate *app = AppDelegate::sharedDelegate())
        app->showInvisibleWindowMask(false);
    deleteLater();
}

void QOVACameraSettingWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        finishClosing();
}

void QOVACameraSettingWindow::closeEvent(QCloseEvent *event)
{
    // A close asked by the desktop is a Cancel.
    event->ignore();
    cancelSettings();
}

void QOVACameraSettingWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        cancelSettings();
        return;
    }
    QWidget::keyPressEvent(event);
}

void QOVACameraSettingWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(colorWithString(QStringLiteral("bdbdbd"), 1.0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
