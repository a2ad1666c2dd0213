#pragma once
// The computer's microphones as the audio meters page sees them: the list of
// audio inputs, whether this program may record, and an opened input that
// reports the peak level of each of its channels. The application's capture
// backend decides what stands behind an input; the page only lists, opens,
// starts, stops and reads levels.
//
// Listing and opening run on the page's session thread; an input lives on
// that thread; its levels are read from any thread.

#include <QList>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

struct QOVAAudioCaptureDevice {
    QString uniqueID;
    QString localizedName;
};

// An opened microphone.
class QOVAAudioInput {
public:
    virtual ~QOVAAudioInput() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    // The peak-hold level of each channel in decibels relative to full scale
    // (silence is minus infinity); empty before any sound was taken in.
    virtual QVector<float> peakHoldLevels() const = 0;
};

class QOVAAudioCapture {
public:
    enum class Authorization { Authorized, Denied };

    virtual ~QOVAAudioCapture() = default;
    // Whether the microphones may be used at all.
    virtual Authorization authorizationStatus() = 0;
    virtual QList<QOVAAudioCaptureDevice> audioDevices() = 0;
    // The input of a listed device, or nothing with the reason in error.
    virtual std::unique_ptr<QOVAAudioInput> openInput(const QOVAAudioCaptureDevice &device, QString *error) = 0;

    // The capture in use: the desktop's audio inputs unless another was installed.
    static std::shared_ptr<QOVAAudioCapture> shared();
    // Installs a capture (nullptr returns to the desktop's).
    static void setShared(std::shared_ptr<QOVAAudioCapture> capture);

    // The device's own microphone among the inputs: the last one whose unique
    // ID contains the serial number, ignoring case. A monitor of an output
    // (an ID ending in ".monitor") is not a microphone and never matches.
    static std::optional<int> findMicrophone(const QList<QOVAAudioCaptureDevice> &devices,
                                             const QString &serialNumber);
};
