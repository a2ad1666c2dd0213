#pragma once
// The camera page: the camera's live picture beside the zoom and pan/tilt
// pad, the preset panel of the family below, for the Vasko family three
// image feature switches, and the tracking icon in the top right corner.
// The picture runs only while the page is on screen.

#include "QOVACameraControlView.h"
#include "QOVACameraSettingWindow.h"
#include "QOVADisplayBaseView.h"
#include "QOVAPresetView.h"

#include <QHash>
#include <QPointer>

class ITSwitch;
class QMessageBox;
class QOVAButton;
class QOVACameraControlQueue;
class QOVACameraDelegate;
class QOVACaptureSource;
class QOVAImageView;
class QOVALabel;
class QOVAPreviewView;

class QOVACameraSettingsView : public QOVADisplayBaseView,
                               public QOVACameraControlDelegate,
                               public QOVAPresetViewDelegate,
                               public QOVACameraSettingWindowDelegate {
    Q_OBJECT
public:
    explicit QOVACameraSettingsView(const QString &uniqueID, QWidget *parent = nullptr);
    ~QOVACameraSettingsView() override;

    void setDelegate(QOVACameraDelegate *delegate);
    QOVACameraDelegate *delegate() const;

    QString uniqueID() const { return m_uniqueID; }
    QString productID() const { return m_productID; }

    void handleDisplayViewEvent() override;
    void cancelDisplayViewEvent() override;

    // Updates pushed in by the controller.
    void updateWithGroupFraming(bool groupFraming, bool talkerTracking);
    void updateCameraExtensionFeatureUI(bool skinEnhancement, bool wdr, bool participantCount);
    void updateSkinEnhancementUI(bool on);
    void updateWideDynamicRangeUI(bool on);
    void updateParticipantCountUI(bool on);
    bool getSkinEnhSwitchStatus() const;
    bool getWdrSwitchStatus() const;
    bool getPartCountSwitchStatus() const;

    // The index of a camera control name, all ones for an unknown name.
    static const QHash<QString, quint64> &controlMapping();
    static quint64 controlIndexForString(const QString &name);

    // Pad and preset panels.
    void cameraControlZoomIn() override;
    void cameraControlZoomOut() override;
    void cameraControlLeft() override;
    void cameraControlUp() override;
    void cameraControlRight() override;
    void cameraControlDown() override;
    void savePreset(quint64 index) override;
    void restorePreset(quint64 index) override;

    // The advanced image settings: every control is read afresh (one read
    // per turn of the event loop), then a new window opens with them.
    void openAdvanceSetting();
    // The fourteen settings the window shows, in its order, named and
    // indexed but not yet read.
    QList<QOVACameraSettingModelRef> getAllAdvanceSettings() const;
    // QOVACameraSettingWindowDelegate: writes go out in order, one per turn.
    void setCameraSettingData(const QOVACameraSettingModelRef &model, bool isReset) override;
    void settingWindowClosed() override;
    QOVACameraSettingWindow *settingWindow() const { return m_settingWindow; }
    QOVAButton *advanceButton() const { return m_advanceButton; }
    // The alert shown while the camera may not be used, while it is open.
    QMessageBox *permissionAlert() const { return m_permissionAlert; }

    QOVACameraControlView *controlView() const { return m_controlView; }
    QOVAPresetView *presetView() const { return m_presetView; }
    QOVAPresetsView *presetsView() const { return m_presetsView; }
    QOVAImageView *trackingImageView() const { return m_trackingImageView; }
    QOVAPreviewView *previewView() const { return m_previewView; }
    QOVACaptureSource *captureSource() const { return m_source; }
    ITSwitch *skinEnhSwitch() const { return m_skinEnhSwitch; }
    ITSwitch *wideDynamicRangeSwitch() const { return m_wideDynamicRangeSwitch; }
    ITSwitch *participantSwitch() const { return m_participantSwitch; }
    QOVALabel *skinEnhStatusLabel() const { return m_skinEnhStatusLabel; }
    bool isPreviewRunning() const;

public slots:
    void stopPreview();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void layoutCommon();
    void layoutVasko();
    void startPreview();
    void showNoPreview();
    void showPermissionAlert();
    void placeAdvanceButton(int top);
    void setSwitch(ITSwitch *sw, QOVALabel *status, bool on);

    QString m_uniqueID;
    QString m_productID;
    QOVACaptureSource *m_source = nullptr;
    QOVAPreviewView *m_previewView = nullptr;
    QOVAImageView *m_noPreviewView = nullptr;
    QOVACameraControlView *m_controlView = nullptr;
    QOVAPresetView *m_presetView = nullptr;
    QOVAPresetsView *m_presetsView = nullptr;
    QOVAImageView *m_trackingImageView = nullptr;
    QOVALabel *m_skinEnhLabel = nullptr;
    QOVALabel *m_wideDynamicRangeLabel = nullptr;
    QOVALabel *m_participantLabel = nullptr;
    ITSwitch *m_skinEnhSwitch = nullptr;
    ITSwitch *m_wideDynamicRangeSwitch = nullptr;
    ITSwitch *m_participantSwitch = nullptr;
    QOVALabel *m_skinEnhStatusLabel = nullptr;
    QOVALabel *m_wideDynamicRangeStatusLabel = nullptr;
    QOVALabel *m_participantStatusLabel = nullptr;
    QOVAButton *m_advanceButton = nullptr;
    QPointer<QOVACameraSettingWindow> m_settingWindow;
    QOVACameraControlQueue *m_controlQueue = nullptr;
    bool m_openingAdvanceSetting = false;
    bool m_alertPending = false;
    QMessageBox *m_permissionAlert = nullptr;
    QOVACameraDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateGuard;
    bool m_delegateGuarded = false;
};
