#include "QOVAMiscellaneousView.h"

#include "QOVDeviceRestartWindow.h"
#include "QOVASettingsStyle.h"

#include "ITSwitch.h"
#include "QOVAColor.h"
#include "QOVADeviceModel.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "models/MiscellaneousModel.h"
#include "platform/TimeScale.h"

#include <QApplication>
#include <QJsonValue>
#include <QTimer>

using namespace settingsstyle;

namespace {
// The page's fixed gap under a divider before a group's text.
constexpr int kGroupGap = 25;  // 25.4 points

// A reply value read as a flag: true, a non-zero number, or a text that
// starts with a non-zero digit or with y/t (any case).
bool truthValue(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool();
    if (value.isDouble())
        return value.toDouble() != 0;
    if (value.isString()) {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return false;
        const QChar first = text.at(0).toLower();
        return first == QLatin1Char('y') || first == QLatin1Char('t') || (first >= QLatin1Char('1') && first <= QLatin1Char('9'));
    }
    return false;
}
} // namespace

QOVAMiscellaneousView::QOVAMiscellaneousView(QWidget *parent)
    : QOVADisplayBaseView(parent)
{
    detailViewName()->setStringValue(qtTrId("STRING_VASKO_COMPATIBLE_MODE_TITLE"));

    m_compatibleDocumentLabel = rowLabel(this, qtTrId("STRING_VASKO_COMPATIBLE_MODE_TIP"), QStringLiteral("212121"));
    m_compatibleDocumentLabel->setFont(QApplication::font());
    {
        QFont font = QApplication::font();
        font.setPixelSize(13);
        m_compatibleDocumentLabel->setFont(font);
    }
    m_compatibleDocumentLabel->setGeometry(36, underSplitLine(this, kGroupGap), 545, 60);
    m_compatibleMode = rowLabel(this, qtTrId("STRING_VASKO_COMPATIBLE_MODE"), QStringLiteral("212121"));
    m_compatibleMode->setGeometry(36, m_compatibleDocumentLabel->geometry().bottom() + 1, 150, 45);
    m_compatibleModeSwitch = rowSwitch(this);
    centreOn(m_compatibleModeSwitch, m_compatibleMode, 200, 38, 18);
    connect(m_compatibleModeSwitch, &ITSwitch::triggered, this, &QOVAMiscellaneousView::clickSwitchEnable);
    m_compatibleModeReminderLabel = rowLabel(this, onOff(false));
    setStatus(m_compatibleModeReminderLabel, m_compatibleModeSwitch, false, 16);

    const QString version = QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion();
    m_audioGroups = version == QLatin1String("V1.2") || version == QLatin1String("V1.3");
    if (m_audioGroups)
        setAudioSettingUI();

    m_stereoTimer = new QTimer(this);
    m_stereoTimer->setSingleShot(true);
    connect(m_stereoTimer, &QTimer::timeout, this, [this] {
        if (QOVAMiscellaneousViewDelegate *d = m_delegate.get())
            d->getAudioStereo();
    });
}

QWidget *QOVAMiscellaneousView::splitLineAt(int top)
{
    auto *line = new QWidget(this);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colorWithString(QStringLiteral("cbcbcb"), 1.0));
    line->setPalette(palette);
    line->setGeometry(36, top, 538, 1);
    line->show();
    return line;
}

void QOVAMiscellaneousView::setAudioSettingUI()
{
    const QString dark = QStringLiteral("212121");
    m_splitAdudioSettingLine = splitLineAt(m_compatibleMode->geometry().bottom() + 1 + 12);
    m_enableMicrophone = rowLabel(this, qtTrId("STRING_ENABLE_MICROPHONE"), QStringLiteral("000000"), 18,
                                  QOVAFontBoldItalic);
    m_enableMicrophone->setGeometry(36, m_splitAdudioSettingLine->geometry().bottom() + 1 + kGroupGap, 545, 60);
    m_intergratedMicrophones = rowLabel(this, qtTrId("STRING_INTERGRATED_MICROPHONES"), dark);
    m_intergratedMicrophones->setGeometry(36, m_enableMicrophone->geometry().bottom() + 1 + 24, 150, 36);
    m_intergratedMicrophonesSwitch = rowSwitch(this);
    centreOn(m_intergratedMicrophonesSwitch, m_intergratedMicrophones, 200, 38, 18);
    connect(m_intergratedMicrophonesSwitch, &ITSwitch::triggered, this, &QOVAMiscellaneousView::clickSwitchEnable);
    m_intergratedMicrophonesStatus = rowLabel(this, onOff(false));
    setStatus(m_intergratedMicrophonesStatus, m_intergratedMicrophonesSwitch, false, 8);

    m_splitStereoLine = splitLineAt(m_intergratedMicrophones->geometry().bottom() + 1 + 12);
    m_stereoAudioGroupLabel = rowLabel(this, qtTrId("STRING_ENABLE_STEREO_AUDIO"), QStringLiteral("000000"), 18,
                                       QOVAFontBoldItalic);
    m_stereoAudioGroupLabel->setGeometry(36, m_splitStereoLine->geometry().bottom() + 1 + kGroupGap, 545, 60);
    m_audioStereo = rowLabel(this, qtTrId("STRING_STEREO_AUDIO"), dark);
    m_audioStereo->setGeometry(36, m_stereoAudioGroupLabel->geometry().bottom() + 1 + 24, 150, 36);
    m_audioStereoSwitch = rowSwitch(this);
    centreOn(m_audioStereoSwitch, m_audioStereo, 200, 38, 18);
    connect(m_audioStereoSwitch, &ITSwitch::triggered, this, &QOVAMiscellaneousView::clickSwitchEnable);
    m_audioStereoStatus = rowLabel(this, onOff(false));
    setStatus(m_audioStereoStatus, m_audioStereoSwitch, false, 8);
}

void QOVAMiscellaneousView::setStatus(QOVALabel *label, ITSwitch *sw, bool on, int gap)
{
    label->setStringValue(onOff(on));
    centreLabelOn(label, sw, sw->geometry().right() + 1 + gap);
}

void QOVAMiscellaneousView::handleDisplayViewEvent()
{
    if (QOVAMiscellaneousViewDelegate *d = m_delegate.get())
        d->getMiscellaneousInformation();
    // The stereo request follows at least 20 ms later, without holding up
    // the main thread.
    if (m_audioGroups)
        m_stereoTimer->start(platform::scaledMs(20));
}

void QOVAMiscellaneousView::cancelDisplayViewEvent()
{
    m_stereoTimer->stop();
}

void QOVAMiscellaneousView::clickSwitchEnable(ITSwitch *sender)
{
    QOVAMiscellaneousViewDelegate *d = m_delegate.get();
    if (sender == m_compatibleModeSwitch) {
        setStatus(m_compatibleModeReminderLabel, sender, sender->checked(), 16);
        // The page has no power-injector control: it always sends off.
        if (d)
            d->setMiscellaneousStatus(false, sender->checked());
    } else if (sender && sender == m_intergratedMicrophonesSwitch) {
        setStatus(m_intergratedMicrophonesStatus, sender, sender->checked(), 8);
        if (d)
            d->setIntegratedMicrophones(sender->checked());
        m_audioStereoSwitch->setEnabled(sender->checked());
        if (m_deviceRestartWindow)
            m_deviceRestartWindow->deleteLater();
        m_deviceRestartWindow = new QOVDeviceRestartWindow(420, 170);
        m_deviceRestartWindow->setDelegateDeviceRestart(this);
        m_deviceRestartWindow->showWindow();
    } else if (sender && sender == m_audioStereoSwitch) {
        setStatus(m_audioStereoStatus, sender, sender->checked(), 8);
        if (d)
            d->setAudioStereo(sender->checked());
    }
}

void QOVAMiscellaneousView::restartDeviceMiscellaneous()
{
    if (QOVAMiscellaneousViewDelegate *d = m_delegate.get())
        d->sendDeviceRestart();
}

void QOVAMiscellaneousView::updateMiscellaneousView(const std::shared_ptr<const MiscellaneousModel> &model)
{
    if (!model)
        return;
    m_compatibleModeSwitch->setChecked(model->isCompatible_mode());
    setStatus(m_compatibleModeReminderLabel, m_compatibleModeSwitch, model->isCompatible_mode(), 16);
    if (m_audioGroups) {
        const bool microphones = model->microphone_enable && truthValue(*model->microphone_enable);
        m_intergratedMicrophonesSwitch->setChecked(microphones);
        setStatus(m_intergratedMicrophonesStatus, m_intergratedMicrophonesSwitch, microphones, 8);
        m_audioStereoSwitch->setEnabled(microphones);
    }
}

void QOVAMiscellaneousView::updateAudoStereoView(bool stereo)
{
    if (!m_audioStereoSwitch || !m_audioStereoSwitch->isEnabled())
        return;
    m_audioStereoSwitch->setChecked(stereo);
    setStatus(m_audioStereoStatus, m_audioStereoSwitch, stereo, 8);
}
