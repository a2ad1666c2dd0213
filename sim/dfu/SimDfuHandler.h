#pragma once
// The device side of USB DFU 1.1 for the simulated devices: the run-time
// states appIDLE and appDETACH, and in DFU mode dfuIDLE, the download states,
// manifestation and dfuERROR. DETACH makes the device leave the bus and come
// back in DFU mode; a finished manifestation brings it back in run mode with
// the new firmware version. Every block received is recorded so that a test
// can compare it with the image sent.
//
// Timing is lazy: a busy or manifesting device notes when it will be done and
// judges the next request by the clock, so the handler needs no timer. The
// device's own durations (busy, manifestation, re-enumeration) go through the
// time scale; the window in which it takes the host's reset after DETACH
// (wDetachTimeOut) does not, as it bounds how quickly the host acts, and the
// host's own pace is not scaled.

#include "sim/SimDescriptors.h"
#include "sim/SimDeviceHost.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace sim {

struct SimDfuConfig {
    // The DFU interface (the wIndex of the class requests) in each mode;
    // attachSimDfu fills them from the device's configurations.
    uint8_t runInterfaceNumber = 0;
    uint8_t dfuInterfaceNumber = 0;

    // DFU functional descriptor values: bit 0 can download, 1 can upload,
    // 2 manifestation tolerant, 3 will detach. The defaults are those of a
    // simulated device's descriptor (SimDfuFunctional).
    uint8_t bmAttributes = 0x09;
    uint16_t wDetachTimeOut = 1000;  // real milliseconds, not scaled (see above)
    uint16_t wTransferSize = 2048;

    // bwPollTimeout reported after a block; how long the device stays busy
    // with it (0: every block is done at once, no dfuDNBUSY).
    uint32_t pollTimeoutMs = 5;
    uint32_t busyTimeMs = 0;
    // bwPollTimeout reported when manifestation starts, and how long it takes.
    uint32_t manifestPollTimeoutMs = 50;
    uint32_t manifestTimeMs = 50;
    // Time off the bus when re-enumerating.
    int reenumerateDelayMs = 100;
    // The version the device runs after a good update (empty: unchanged).
    QString versionAfterUpdate;

    // Faults.
    bool stallDetach = false;                    // DETACH is stalled
    bool neverReenumerate = false;               // leaves the bus on DETACH and stays away
    std::optional<int> statusReplyLength;        // GETSTATUS answers this many bytes
    bool errFirmware = false;                    // manifestation ends in errFIRMWARE
    std::optional<uint8_t> initialDfuState;      // state on entering DFU mode (dfuERROR, dfuDNLOAD-IDLE)
    std::optional<int> unplugAfterBlocks;        // leaves the bus at the DNLOAD after this many blocks
    std::optional<int> failReset;                // the port reset with this number (1: the first) fails
    // Starts manifestation as soon as the final (zero-length) DNLOAD is in
    // and resets into the new firmware at its end by itself, without
    // waiting for the host's status requests: the device is off the bus
    // when the host asks for the status that would report manifestation.
    bool resetOnFinalBlock = false;
    // Manifestation does not take the image: the device reboots into the
    // firmware it ran before (its version unchanged).
    bool keepOldFirmware = false;
    // Takes the final (zero-length) DNLOAD and then hangs: it stays on the
    // bus in DFU mode and lets every further DFU request time out until it
    // leaves the bus (a re-plug or a port reset).
    bool hangAfterFinalBlock = false;
};

// The functional descriptor values of a configuration, for the device's
// descriptors, and its 9 bytes.
SimDfuFunctional simDfuFunctional(const SimDfuConfig &config);
QByteArray simDfuFunctionalDescriptor(const SimDfuConfig &config);

class SimDevice;
class SimDfuHandler;

// A simulated firmware image names the version it installs in a first line
// "ORVALINDE-SIM-FIRMWARE <version>\n"; simFirmwareVersionOf reads it back
// (empty when the bytes carry no such line). A device whose download ends
// with such an image runs that version afterwards, unless its configuration
// says otherwise (versionAfterUpdate).
extern const char kSimFirmwareMarker[];
QByteArray simFirmwareImage(const QString &version, const QByteArray &payload);
QString simFirmwareVersionOf(const QByteArray &image);

// Gives a simulated device the DFU device side. The descriptor values come
// from the device (plug it with simDfuFunctional(config) in its
// SimDeviceConfig to choose them); the rest of config is the handler's.
std::shared_ptr<SimDfuHandler> attachSimDfu(const std::shared_ptr<SimDevice> &device,
                                            SimDfuConfig config = {});

class SimDfuHandler : public SimControlHandler {
public:
    explicit SimDfuHandler(SimDfuConfig config = {});

    SimDfuConfig config() const;
    void setConfig(const SimDfuConfig &config);

    std::optional<platform::UsbError> handleControl(SimDeviceHost &host,
                                                    const platform::UsbSetup &setup,
                                                    uint8_t *data, int *transferred) override;
    void modeChanged(SimDeviceHost &host, Mode mode) override;
    // A reset in appDETACH enters DFU mode, one in dfuMANIFEST-WAIT-RESET
    // starts the new firmware, and a device whose firmware is corrupt stays
    // in DFU mode; any other reset follows the device's own rule.
    bool handleReset(SimDeviceHost &host) override;
    // Counts every port reset and fails the one config().failReset names.
    std::optional<platform::UsbError> refuseReset(SimDeviceHost &host) override;

    struct Block {
        uint16_t number = 0;
        QByteArray data;
    };
    // Blocks of the current (or last) download, the final empty one included.
    std::vector<Block> blocks() const;
    // The non-empty blocks of the current download joined.
    QByteArray receivedImage() const;
    // The image of the last download that was manifested.
    QByteArray installedImage() const;
    // bRequest of every class request received, in order.
    std::vector<uint8_t> requests() const;
    uint8_t state() const;
    uint8_t status() const;
    int manifestCount() const;
    // Port resets the host asked for, failed ones included.
    int resetCount() const;

private:
    using Clock = std::chrono::steady_clock;

    platform::UsbError stall(uint8_t status = 15 /* errSTALLEDPKT */);
    void advanceByClock();
    std::optional<platform::UsbError> handleRun(SimDeviceHost &host, const platform::UsbSetup &setup,
                                                uint8_t *data, int *transferred);
    std::optional<platform::UsbError> handleDfu(SimDeviceHost &host, const platform::UsbSetup &setup,
                                                uint8_t *data, int *transferred);
    platform::UsbError getStatus(SimDeviceHost &host, uint8_t *data, uint16_t wLength,
                                 int *transferred);
    platform::UsbError download(SimDeviceHost &host, const platform::UsbSetup &setup,
                                const uint8_t *data);
    void finishManifestation(SimDeviceHost &host, int extraDelayMs);
    void leaveForDfu(SimDeviceHost &host);
    void enterMode(Mode mode);

    mutable std::recursive_mutex m_mutex;
    std::optional<Mode> m_mode;
    SimDfuConfig m_config;
    uint8_t m_state = 0;
    uint8_t m_status = 0;
    uint32_t m_reportedPoll = 0;
    Clock::time_point m_busyUntil{};
    Clock::time_point m_manifestUntil{};
    Clock::time_point m_detachedAt{};
    bool m_blockBusy = false;
    bool m_manifestStarted = false;
    bool m_manifestDone = false;
    bool m_gone = false;
    bool m_hung = false;
    std::vector<Block> m_blocks;
    QByteArray m_installed;
    std::vector<uint8_t> m_requests;
    int m_manifestCount = 0;
    int m_resetCount = 0;
};

} // namespace sim
