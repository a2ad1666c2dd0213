#pragma once
// Audio settings of a video bar: noise suppression, the acoustic beam,
// stereo and bass. On firmware "1.0" the beam is an on/off switch; on every
// other version it is the beam-width pop-up (Off, Wide, Medium, Narrow) with
// a picture of the pick-up zone. Each change goes to the delegate at once;
// the delegate pushes the device's values back through one of the two
// update operations, which never send anything themselves.

#include "QOVAAudioSettingsDelegate.h"
#include "ITSwitch.h"
#include "QOVADisplayBaseView.h"
#include "settings/QOVARestartWindow.h"
#include "QOVAPopUpButton.h"
#include "QOVALabel.h"
#include "QOVAImageView.h"
#include "QOVARestartWindowDelegate.h"

#include "menu/QOVAWeakDelegate.h"

#include <QPointer>

class ITSwitch;

class QOVAAudioSettingsView : public QOVADisplayBaseView, public QOVARestartWindowDelegate {
    Q_OBJECT
public:
    // Lays the rows out for the firmware version of the open device.
    explicit QOVAAudioSettingsView(QWidget *parent = nullptr);

    void setDelegate(QOVAAudioSettingsDelegate *delegate) { m_delegate.set(delegate); }
    QOVAAudioSettingsDelegate *delegate() const { return m_delegate.get(); }

    void handleDisplayViewEvent() override;
    // Version "1.0".
    void updateNoiseBlockerSwitch(bool noiseBlocker, bool acousticBeam, bool stereo, bool bass);
    // Every other version; "true" counts as Wide ("120").
    void updateOrbrinNoiseBlockerSwitch(bool noiseBlocker, const QString &tarnwall, bool stereo, bool bass);

    // The beam-width value last applied, in device form.
    QString lastFence() const { return m_lastFence; }
    bool isBeamForm() const { return m_beamForm; }

    ITSwitch *noiseBlockerSwitch() const { return m_noiseBlockerSwitch; }
    ITSwitch *acousticBeamSwitch() const { return m_acousticBeamSwitch; }
    ITSwitch *stereoSwitch() const { return m_stereoSwitch; }
    ITSwitch *bassSwitch() const { return m_bassSwitch; }
    QOVALabel *noiseBlockerStatusLabel() const { return m_noiseBlockerStatusLabel; }
    QOVALabel *acousticBeamStatusLabel() const { return m_acousticBeamStatusLabel; }
    QOVALabel *stereoStatusLabel() const { return m_stereoStatusLabel; }
    QOVALabel *bassStatusLabel() const { return m_bassStatusLabel; }
    QOVAPopUpButton *fenceButton() const { return m_fenceButton; }
    QOVAImageView *fenceImageView() const { return m_fenceImageView; }
    ITSwitch *stereoSFBRow() const { return m_stereoSFBSwitch; }

    // User actions.
    void clickNoiseBlockerEnable();
    void clickAcousticBeamEnable();
    void clickStereoEnable();
    void clickBassEnable();
    void clickStereoSFBEnable();
    void selectFence();

    // The bass restart prompt.
    void showRestartWindow();
    QOVARestartWindow *restartWindow() const { return m_restartWindow; }
    void cancelChange() override;
    void restartDevice() override;

private:
    struct Row {
        QOVALabel *name;
        ITSwitch *sw;
        QOVALabel *status;
    };
    Row makeRow(const QString &title, int top, void (QOVAAudioSettingsView::*action)());
    void setRow(ITSwitch *sw, QOVALabel *status, bool on);
    void setupAudioSettingsUI();

    QOVAWeakDelegate<QOVAAudioSettingsDelegate> m_delegate;
    QString m_lastFence;
    bool m_beamForm = false;
    QPointer<QOVARestartWindow> m_restartWindow;

    QPointer<QOVALabel> m_noiseBlockerNameLabel;
    QPointer<ITSwitch> m_noiseBlockerSwitch;
    QPointer<QOVALabel> m_noiseBlockerStatusLabel;
    QPointer<QOVALabel> m_acousticBeamNameLabel;
    QPointer<ITSwitch> m_acousticBeamSwitch;
    QPointer<QOVALabel> m_acousticBeamStatusLabel;
    QPointer<QOVALabel> m_stereoNameLabel;
    QPointer<ITSwitch> m_stereoSwitch;
    QPointer<QOVALabel> m_stereoStatusLabel;
    QPointer<QOVALabel> m_bassNameLabel;
    QPointer<ITSwitch> m_bassSwitch;
    QPointer<QOVALabel> m_bassStatusLabel;
    QPointer<QOVALabel> m_stereoSFBNameLabel;
    QPointer<ITSwitch> m_stereoSFBSwitch;
    QPointer<QOVALabel> m_stereoSFBStatusLabel;
    QPointer<QOVALabel> m_fenceLabel;
    QPointer<QOVAPopUpButton> m_fenceButton;
    QPointer<QOVAImageView> m_fenceImageView;
};
