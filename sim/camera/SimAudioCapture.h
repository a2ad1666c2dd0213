#pragma once
// The microphones of the simulated devices: one audio input per device in
// run mode on the bus, named the way the desktop names a USB microphone
// (its id carries the device's serial number), whose levels are a
// synthetic sound: the left channel a -20 dBFS tone, the right one 10 dB
// quieter, both wavering by a decibel. Nothing is recorded or played.

#include "settings/QOVAAudioCapture.h"

#include <memory>

namespace sim {

class SimBus;

class SimAudioCapture : public QOVAAudioCapture {
public:
    explicit SimAudioCapture(std::shared_ptr<SimBus> bus);

    Authorization authorizationStatus() override { return Authorization::Authorized; }
    QList<QOVAAudioCaptureDevice> audioDevices() override;
    std::unique_ptr<QOVAAudioInput> openInput(const QOVAAudioCaptureDevice &device, QString *error) override;

    // Makes the audio meters page use the simulated microphones of this bus.
    static void install(std::shared_ptr<SimBus> bus);

    // The peak levels (dBFS, left and right) the microphones hold this many
    // seconds after they started.
    static QVector<float> levelsAt(double seconds);

private:
    std::shared_ptr<SimBus> m_bus;
};

} // namespace sim
