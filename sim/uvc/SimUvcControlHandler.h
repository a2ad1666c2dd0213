#pragma once
// The camera side of the USB Video Class controls of a simulated device: it
// answers the class requests GET_INFO, GET_MIN, GET_MAX, GET_RES, GET_DEF,
// GET_CUR and SET_CUR addressed to the video-control interface, from a store
// of controls with their ranges, defaults and current values, and builds the
// class-specific video-control descriptors (header, camera terminal,
// processing unit, output terminal) whose bitmaps say which controls exist.

#include "sim/SimDeviceHost.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace sim {

// One control: each of its fields is fieldSize bytes, little-endian.
struct SimUvcControl {
    int fieldSize = 2;
    bool isSigned = false;
    std::vector<qint64> min, max, res, def, cur;
    // GET_INFO answer: bit 0 GET supported, bit 1 SET supported.
    uint8_t info = 0x03;

    int length() const { return fieldSize * int(cur.size()); }

    // A control with a single field.
    static SimUvcControl scalar(int fieldSize, bool isSigned, qint64 min, qint64 max, qint64 res,
                                qint64 def);
    // Two fields, such as pan and tilt.
    static SimUvcControl pair(int fieldSize, bool isSigned, qint64 minA, qint64 minB, qint64 maxA,
                              qint64 maxB, qint64 resA, qint64 resB, qint64 defA, qint64 defB);
};

// Units of the video function.
enum class SimUvcUnit { CameraTerminal, ProcessingUnit };

class SimUvcControlHandler : public SimControlHandler {
public:
    struct Config {
        uint8_t videoControlInterface = 0;
        uint8_t cameraTerminalId = 1;
        uint8_t processingUnitId = 2;
        uint8_t outputTerminalId = 3;
        uint16_t bcdUVC = 0x0110;
    };

    // With the store of a conference camera: zoom, pan/tilt, exposure,
    // focus, and the usual image controls.
    SimUvcControlHandler();
    explicit SimUvcControlHandler(const Config &config, bool withDefaultControls = true);

    // Selectors are the class's (zoom absolute is terminal selector 11).
    void setControl(SimUvcUnit unit, uint8_t selector, const SimUvcControl &control);
    void removeControl(SimUvcUnit unit, uint8_t selector);
    std::optional<SimUvcControl> control(SimUvcUnit unit, uint8_t selector) const;
    // The current value of one field.
    qint64 current(SimUvcUnit unit, uint8_t selector, int field = 0) const;
    void setCurrent(SimUvcUnit unit, uint8_t selector, qint64 value, int field = 0);

    void setUnitIds(uint8_t cameraTerminalId, uint8_t processingUnitId);
    // Takes the unit ids and the interface number from the simulated device
    // that asks, at every request, so that they always agree with the
    // descriptors that device presents.
    void setFollowsDevice(bool follows);
    const Config &config() const { return m_config; }

    // The bmControls bitmaps put into the descriptors. By default they follow
    // the store (a control is announced when it is there); an override stays
    // until cleared with std::nullopt. An empty override gives bControlSize 0.
    void overrideBitmap(SimUvcUnit unit, std::optional<QByteArray> bitmap);
    QByteArray bitmap(SimUvcUnit unit) const;

    // The class-specific descriptors that follow the video-control interface
    // descriptor, as the configuration descriptor carries them.
    QByteArray videoControlDescriptors() const;

    // Fault on demand: called before each request is answered; an error it
    // returns is the request's answer.
    using Fault = std::function<std::optional<platform::UsbError>(const platform::UsbSetup &)>;
    void setFault(Fault fault);

    // Every request answered (or refused), in order, with the bytes SET_CUR
    // carried.
    struct Request {
        platform::UsbSetup setup;
        QByteArray data;
    };
    std::vector<Request> requests() const;
    void clearRequests();

    std::optional<platform::UsbError> handleControl(SimDeviceHost &host,
                                                    const platform::UsbSetup &setup,
                                                    uint8_t *data, int *transferred) override;

private:
    static uint8_t streamingInterface(uint8_t videoControl) { return uint8_t(videoControl + 1); }
    SimUvcControl *find(SimUvcUnit unit, uint8_t selector);
    const SimUvcControl *find(SimUvcUnit unit, uint8_t selector) const;

    mutable std::mutex m_mutex;
    Config m_config;
    std::map<uint8_t, SimUvcControl> m_terminal;
    std::map<uint8_t, SimUvcControl> m_processing;
    std::optional<QByteArray> m_terminalBitmap;
    std::optional<QByteArray> m_processingBitmap;
    Fault m_fault;
    bool m_followsDevice = false;
    std::vector<Request> m_requests;
};

class SimDevice;

// Gives an Orbrin or Vasko device its camera controls (a handler that follows
// the device's video-control layout) and returns the handler; nothing for a
// family without a camera.
std::shared_ptr<SimUvcControlHandler> attachUvcControls(SimDevice &device);

// Attaches camera controls to every device plugged from now on, on every bus
// of the process. Registers once however often it is called.
void registerUvcControls();

} // namespace sim
