#include "QOVAAudioSettingsView.h"

#include "QOVARestartWindow.h"
#include "QOVASettingsStyle.h"

#include "AppDelegate.h"
#include "ITSwitch.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVADeviceModel.h"
#include "log/log.h"

using namespace settingsstyle;

namespace {

// The beam-width choices: pop-up item, device value, picture.
struct FenceChoice {
    const char *key;
    const char *value;
    const char *image;
};
constexpr FenceChoice kFenceChoices[] = {
    {"STRING_OFF", "false", "Acoustic-off"},
    {"STRING_WIDE", "120", "Acoustic-wide"},
    {"STRING_MEDIUM", "90", "Acoustic-medium"},
    {"STRING_NARROW", "60", "Acoustic-narrow"},
};

constexpr int kAudioRowHeight = 36;

} // namespace

QOVAAudioSettingsView::QOVAAudioSettingsView(QWidget *parent)
    : QOVADisplayBaseView(parent)
{
    detailViewName()->setStringValue(qtTrId("STRING_AUDIO_SETTINGS"));
    setupAudioSettingsUI();
    m_lastFence = QStringLiteral("false");
}

QOVAAudioSettingsView::Row QOVAAudioSettingsView::makeRow(const QString &title, int top,
                                                          void (QOVAAudioSettingsView::*action)())
{
    Row row;
    row.name = rowLabel(this, title, QStringLiteral("2e2e2e"));
    row.name->setGeometry(36, top, 150, kAudioRowHeight);
    row.sw = rowSwitch(this);
    centreOn(row.sw, row.name, 200, 38, 18);
    connect(row.sw, &ITSwitch::triggered, this, [this, action] { (this->*action)(); });
    row.status = rowLabel(this, onOff(false));
    centreLabelOn(row.status, row.name, row.sw->geometry().right() + 1 + 8);
    return row;
}

void QOVAAudioSettingsView::setupAudioSettingsUI()
{
    m_beamForm = QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion() == QLatin1String("1.0");
    const QString quelvar = qtTrId("STRING_QUELVAR");
    int top = underSplitLine(this, 16);
    Row noise = makeRow(quelvar.isEmpty() || quelvar == QLatin1String("STRING_QUELVAR") ? QStringLiteral("Quelvar: ")
                                                                                      : quelvar,
                        top, &QOVAAudioSettingsView::clickNoiseBlockerEnable);
    m_noiseBlockerNameLabel = noise.name;
    m_noiseBlockerSwitch = noise.sw;
    m_noiseBlockerStatusLabel = noise.status;
    top += kAudioRowHeight;
    if (m_beamForm) {
        Row beam = makeRow(qtTrId("STRING_TARNWALL"), top, &QOVAAudioSettingsView::clickAcousticBeamEnable);
        m_acousticBeamNameLabel = beam.name;
        m_acousticBeamSwitch = beam.sw;
        m_acousticBeamStatusLabel = beam.status;
        top += kAudioRowHeight;
    }
    Row stereo = makeRow(qtTrId("STRING_STEREO"), top, &QOVAAudioSettingsView::clickStereoEnable);
    m_stereoNameLabel = stereo.name;
    m_stereoSwitch = stereo.sw;
    m_stereoStatusLabel = stereo.status;
    top += kAudioRowHeight;
    Row bass = makeRow(qtTrId("STRING_BASS"), top, &QOVAAudioSettingsView::clickBassEnable);
    m_bassNameLabel = bass.name;
    m_bassSwitch = bass.sw;
    m_bassStatusLabel = bass.status;
    // The conferencing client's stereo row sits where the bass row is and
    // is never shown.
    Row sfb = makeRow(qtTrId("STRING_STEREO_SFB"), top, &QOVAAudioSettingsView::clickStereoSFBEnable);
    m_stereoSFBNameLabel = sfb.name;
    m_stereoSFBSwitch = sfb.sw;
    m_stereoSFBStatusLabel = sfb.status;
    sfb.name->hide();
    sfb.sw->hide();
    sfb.status->hide();
    top += kAudioRowHeight;
    if (!m_beamForm) {
        m_fenceLabel = rowLabel(this, qtTrId("STRING_TARNWALL"), QStringLiteral("2e2e2e"));
        m_fenceLabel->setGeometry(36, top, 150, kAudioRowHeight);
        m_fenceButton = new QOVAPopUpButton(this);
        QStringList titles;
        for (const FenceChoice &choice : kFenceChoices)
            titles << qtTrId(choice.key);
        m_fenceButton->addItemsWithTitles(titles);
        m_fenceButton->setFontWithString(QStringLiteral("2e2e2e"), 1, 13, QOVAFontRegular);
        centreOn(m_fenceButton, m_fenceLabel, 199, 200, 24);
        connect(m_fenceButton, &QComboBox::activated, this, [this] { selectFence(); });
        m_fenceButton->show();
        m_fenceImageView = new QOVAImageView(this);
        m_fenceImageView->setImageScaling(QOVAImageView::ScaleAxesIndependently);
        m_fenceImageView->setImageName(QStringLiteral("Acoustic-off"));
        m_fenceImageView->setGeometry(200, m_fenceButton->geometry().bottom() + 1 + 26, 184, 120);
        m_fenceImageView->show();
    }
}

void QOVAAudioSettingsView::setRow(ITSwitch *sw, QOVALabel *status, bool on)
{
    if (!sw)
        return;
    sw->setChecked(on);
    status->setStringValue(onOff(on));
    centreLabelOn(status, sw, sw->geometry().right() + 1 + 8);
}

void QOVAAudioSettingsView::handleDisplayViewEvent()
{
    if (QOVAAudioSettingsDelegate *d = m_delegate.get())
        d->getAudioSettingsStatus();
}

void QOVAAudioSettingsView::updateNoiseBlockerSwitch(bool noiseBlocker, bool acousticBeam, bool stereo, bool bass)
{
    setRow(m_noiseBlockerSwitch, m_noiseBlockerStatusLabel, noiseBlocker);
    setRow(m_acousticBeamSwitch, m_acousticBeamStatusLabel, acousticBeam);
    setRow(m_stereoSwitch, m_stereoStatusLabel, stereo);
    setRow(m_bassSwitch, m_bassStatusLabel, bass);
}

void QOVAAudioSettingsView::updateOrbrinNoiseBlockerSwitch(bool noiseBlocker, const QString &tarnwall, bool stereo,
                                                           bool bass)
{
    setRow(m_noiseBlockerSwitch, m_noiseBlockerStatusLabel, noiseBlocker);
    QString value = tarnwall;
    if (value == QLatin1String("true"))
        value = QStringLiteral("120");
    if (m_fenceButton) {
        for (const FenceChoice &choice : kFenceChoices) {
            if (value == QLatin1String(choice.value)) {
                m_fenceButton->selectItemWithTitle(qtTrId(choice.key));
                m_fenceImageView->setImageName(QLatin1String(choice.image));
                break;
            }
        }
        m_fenceButton->setFontWithString(QStringLiteral("2e2e2e"), 1, 13, QOVAFontRegular);
    }
    m_lastFence = value;
    setRow(m_stereoSwitch, m_stereoStatusLabel, stereo);
    setRow(m_bassSwitch, m_bassStatusLabel, bass);
}

void QOVAAudioSettingsView::clickNoiseBlockerEnable()
{
    QOVA_LOG(INFO, UI, "clickNoiseBlockerEnable!");
    if (QOVAAudioSettingsDelegate *d = m_delegate.get())
        d->setNoiseBlockerEnable(m_noiseBlockerSwitch->checked());
}

void QOVAAudioSettingsView::clickAcousticBeamEnable()
{
    QOVA_LOG(INFO, UI, "clickAcousticBeamEnable!");
    if (QOVAAudioSettingsDelegate *d = m_delegate.get())
        d->setAcousticBeamEnable(m_acousticBeamSwitch->checked());
}

void QOVAAudioSettingsView::clickStereoEnable()
{
    QOVA_LOG(INFO, UI, "clickStereoEnable!");
    if (QOVAAudioSettingsDelegate *d = m_delegate.get())
        d->setStereoEnable(m_stereoSwitch->checked());
}

void QOVAAudioSettingsView::clickBassEnable()
{
    QOVA_LOG(INFO, UI, "clickBassEnable!");
    m_bassStatusLabel->setStringValue(onOff(m_bassSwitch->checked()));
    centreLabelOn(m_bassStatusLabel, m_bassSwitch, m_bassSwitch->geometry().right() + 1 + 8);
    if (QOVAAudioSettingsDelegate *d = m_delegate.get())
        d->setBassEnable(m_bassSwitch->checked());
}

void QOVAAudioSettingsView::clickStereoSFBEnable()
{
    QOVA_LOG(INFO, UI, "clickStereoSFBEnable!");
    m_stereoSFBStatusLabel->setStringValue(onOff(m_stereoSFBSwitch->checked()));
    if (AppDelegate *app = AppDelegate::sharedDelegate())
        app->setSFBStereoEnable(m_stereoSFBSwitch->checked());
}

void QOVAAudioSettingsView::selectFence()
{
    const QString title = m_fenceButton->titleOfSelectedItem();
    QString value = QStringLiteral("false");
    for (const FenceChoice &choice : kFenceChoices) {
        if (title == qtTrId(choice.key)) {
            value = QLatin1String(choice.value);
            m_fenceImageView->setImageName(QLatin1String(choice.image));
            break;
        }
    }
    if (QOVAAudioSettingsDelegate *d = m_delegate.get())
        d->setOrbrinTarnwallFrom(m_lastFence, value);
    m_lastFence = value;
}

void QOVAAudioSettingsView::showRestartWindow()
{
    if (m_restartWindow)
        m_restartWindow->deleteLater();
    m_restartWindow = new QOVARestartWindow(420, 186);
    m_restartWindow->setWindowDelegate(this);
    m_restartWindow->showWindow();
}

void QOVAAudioSettingsView::cancelChange()
{
    const bool previous = !m_bassSwitch->checked();
    m_bassStatusLabel->setStringValue(onOff(previous));
    if (QOVAAudioSettingsDelegate *d = m_delegate.get())
        d->resetBassEnable(previous);
    if (m_restartWindow)
        m_restartWindow->orderOut();
}

void QOVAAudioSettingsView::restartDevice()
{
    if (QOVAAudioSettingsDelegate *d = m_delegate.get())
        d->restartDevice();
    if (m_restartWindow)
        m_restartWindow->orderOut();
}
