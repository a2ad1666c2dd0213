#pragma once
// Miscellaneous settings of a network camera: compatible mode, and on
// firmware "V1.2" and "V1.3" the integrated microphones and stereo audio.
// Every switch goes to the delegate at once. Switching the microphones asks
// the user to restart the device; stereo is usable only while the
// microphones are on.

#include "QOVADeviceRestartWindowDelegate.h"
#include "ITSwitch.h"
#include "QOVADisplayBaseView.h"
#include "settings/QOVDeviceRestartWindow.h"
#include "QOVALabel.h"
#include "QOVAMiscellaneousViewDelegate.h"

#include "menu/QOVAWeakDelegate.h"

#include <QPointer>
#include <memory>

class ITSwitch;
class MiscellaneousModel;
class QTimer;

class QOVAMiscellaneousView : public QOVADisplayBaseView, public QOVADeviceRestartWindowDelegate {
    Q_OBJECT
public:
    // Switch tags.
    enum { CompatibleModeTag = 200, MicrophonesTag = 300, StereoTag = 400 };

    explicit QOVAMiscellaneousView(QWidget *parent = nullptr);

    void setMiscellaneousDelegate(QOVAMiscellaneousViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVAMiscellaneousViewDelegate *miscellaneousDelegate() const { return m_delegate.get(); }

    // Asks for the settings, and 20 ms later for stereo (audio versions).
    void handleDisplayViewEvent() override;
    // A pending stereo request is dropped when the page goes away.
    void cancelDisplayViewEvent() override;
    void updateMiscellaneousView(const std::shared_ptr<const MiscellaneousModel> &model);
    // Ignored while the stereo switch is disabled.
    void updateAudoStereoView(bool stereo);

    bool hasAudioGroups() const { return m_audioGroups; }
    ITSwitch *compatibleModeSwitch() const { return m_compatibleModeSwitch; }
    QOVALabel *compatibleModeReminderLabel() const { return m_compatibleModeReminderLabel; }
    ITSwitch *intergratedMicrophonesSwitch() const { return m_intergratedMicrophonesSwitch; }
    QOVALabel *intergratedMicrophonesStatus() const { return m_intergratedMicrophonesStatus; }
    ITSwitch *audioStereoSwitch() const { return m_audioStereoSwitch; }
    QOVALabel *audioStereoStatus() const { return m_audioStereoStatus; }
    QOVDeviceRestartWindow *deviceRestartWindow() const { return m_deviceRestartWindow; }

    // One action for the three switches, told apart by tag.
    void clickSwitchEnable(ITSwitch *sender);
    // The restart prompt's Restart Now.
    void restartDeviceMiscellaneous() override;

private:
    void setAudioSettingUI();
    void setStatus(QOVALabel *label, ITSwitch *sw, bool on, int gap);
    QWidget *splitLineAt(int top);

    QOVAWeakDelegate<QOVAMiscellaneousViewDelegate> m_delegate;
    bool m_audioGroups = false;
    QTimer *m_stereoTimer = nullptr;
    QPointer<QOVDeviceRestartWindow> m_deviceRestartWindow;

    QPointer<QOVALabel> m_compatibleDocumentLabel;
    QPointer<QOVALabel> m_compatibleMode;
    QPointer<ITSwitch> m_compatibleModeSwitch;
    QPointer<QOVALabel> m_compatibleModeReminderLabel;
    QPointer<QWidget> m_splitAdudioSettingLine;
    QPointer<QOVALabel> m_enableMicrophone;
    QPointer<QOVALabel> m_intergratedMicrophones;
    QPointer<ITSwitch> m_intergratedMicrophonesSwitch;
    QPointer<QOVALabel> m_intergratedMicrophonesStatus;
    QPointer<QWidget> m_splitStereoLine;
    QPointer<QOVALabel> m_stereoAudioGroupLabel;
    QPointer<QOVALabel> m_audioStereo;
    QPointer<ITSwitch> m_audioStereoSwitch;
    QPointer<QOVALabel> m_audioStereoStatus;
};
