#pragma once
// The tracking and framing page: tracking mode, speed, framing size,
// tracking frame (maximum zoom) and camera movement. The firmware version
// decides at creation whether the tracking frame and camera movement rows
// are offered, and on Save which writes go out. Consecutive requests of
// one showing or one Save are sent 10 ms apart (a timer, never a sleep).

#include "QOVADisplayBaseView.h"

#include <QPointer>

#include <functional>

class QOVAButton;
class QOVACameraTrackingDelegate;
class QOVALabel;
class QOVAPopUpButton;
class QTimer;

class QOVACameraTrackingView : public QOVADisplayBaseView {
    Q_OBJECT
public:
    explicit QOVACameraTrackingView(const QString &productID, QWidget *parent = nullptr);

    void setDelegate(QOVACameraTrackingDelegate *delegate);
    QOVACameraTrackingDelegate *delegate() const;

    // The firmware version number as the page reads it: skips to the first
    // digit or full stop, takes the run of such characters and reads it as
    // a single-precision number (0 when there is none), widened to double.
    static double scanVersion(const QString &version);
    // Whether a version text offers the tracking frame and camera movement.
    static bool hasFullLayout(const QString &version, double number);

    // Replies pushed in by the controller.
    void updateCameraTrackingUI(bool groupFraming, bool talkerTracking, const QString &trackingSpeed,
                                const QString &framingSize);
    void updateMaximumZoom(int level);
    void updateSmoothTrackingStatus(bool smooth);
    // The outcome of a Save's tracking frame or camera movement write: a
    // write that took is what the device now has; one that failed puts its
    // pop-up back to what the device had (the first item until it is known).
    void maximumZoomSaved(int level, bool saved);
    void smoothTrackingSaved(bool smooth, bool saved);

    void handleDisplayViewEvent() override;
    void cancelDisplayViewEvent() override;

    void handleTrackingModePopBtn();
    void updateSaveButton();
    void clickSaveButton();
    QString getTrackingSpeed() const;
    QString getFramingSize() const;

    QOVAPopUpButton *trackingModeButton() const { return m_trackingModeButton; }
    QOVAPopUpButton *trackingSpeedButton() const { return m_trackingSpeedButton; }
    QOVAPopUpButton *framingSizeButton() const { return m_framingSizeButton; }
    QOVAPopUpButton *maximumZoomButton() const { return m_maximumZoomButton; }
    QOVAPopUpButton *smoothTrackingButton() const { return m_smoothTrackingButton; }
    QOVAButton *saveButton() const { return m_saveButton; }
    QString trackingSpeed() const { return m_trackingSpeed; }
    QString framingSize() const { return m_framingSize; }
    QString productID() const { return m_productID; }
    double currVersion() const { return m_currVersion; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setupCameraTrackingUI();
    void setUPOldFWUI();
    void setDependentsEnabled(bool enabled);
    // Runs the steps one after the other, 10 ms (scaled) apart.
    void runSpaced(QList<std::function<void()>> steps);

    QString m_productID;
    double m_currVersion = 0;
    QString m_trackingSpeed;
    QString m_framingSize;
    // The titles of what the device has for the tracking frame and camera
    // movement.
    QString m_deviceZoomTitle;
    QString m_deviceSmoothTitle;
    QOVALabel *m_trackingModeLabel = nullptr;
    QOVALabel *m_trackingSpeedLabel = nullptr;
    QOVALabel *m_framingSizeLabel = nullptr;
    QOVALabel *m_maximumZoomLabel = nullptr;
    QOVALabel *m_smoothTrackingLabel = nullptr;
    QOVAPopUpButton *m_trackingModeButton = nullptr;
    QOVAPopUpButton *m_trackingSpeedButton = nullptr;
    QOVAPopUpButton *m_framingSizeButton = nullptr;
    QOVAPopUpButton *m_maximumZoomButton = nullptr;
    QOVAPopUpButton *m_smoothTrackingButton = nullptr;
    QOVAButton *m_saveButton = nullptr;
    QOVACameraTrackingDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateGuard;
    bool m_delegateGuarded = false;
    QPointer<QTimer> m_readTimer;
};
