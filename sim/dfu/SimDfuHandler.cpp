#include "sim/dfu/SimDfuHandler.h"

#include "sim/SimDevice.h"

#include "platform/TimeScale.h"

#include <cstring>

namespace sim {

namespace {

// Class requests and states of DFU 1.1, written out here on their own rather
// than shared with the host side, so that a mistake is not made twice.
enum : uint8_t {
    kDetach = 0, kDnload = 1, kUpload = 2, kGetStatus = 3, kClrStatus = 4, kGetState = 5, kAbort = 6,
};
enum : uint8_t {
    kAppIdle = 0, kAppDetach = 1, kDfuIdle = 2, kDnloadSync = 3, kDnBusy = 4, kDnloadIdle = 5,
    kManifestSync = 6, kManifest = 7, kManifestWaitReset = 8, kUploadIdle = 9, kDfuError = 10,
};
enum : uint8_t {
    kStatusOk = 0, kErrFirmware = 10, kErrUnknown = 14, kErrStalledPkt = 15,
};

std::chrono::milliseconds scaled(uint32_t ms)
{
    return std::chrono::milliseconds(platform::scaledMs(double(ms)));
}

} // namespace

SimDfuFunctional simDfuFunctional(const SimDfuConfig &config)
{
    SimDfuFunctional f;
    f.attributes = config.bmAttributes;
    f.detachTimeOutMs = config.wDetachTimeOut;
    f.transferSize = config.wTransferSize;
    f.bcdDfuVersion = 0x0110;
    return f;
}

std::shared_ptr<SimDfuHandler> attachSimDfu(const std::shared_ptr<SimDevice> &device,
                                            SimDfuConfig config)
{
    // The device's descriptor is what the host reads; the handler keeps to it.
    const SimDfuFunctional functional = device->dfuFunctional();
    config.bmAttributes = functional.attributes;
    config.wDetachTimeOut = functional.detachTimeOutMs;
    config.wTransferSize = functional.transferSize;
    const int run = buildConfiguration(device->family(), Mode::Run, functional, device->uvcLayout())
                        .layout.dfu;
    const int dfu = buildConfiguration(device->family(), Mode::Dfu, functional, device->uvcLayout())
                        .layout.dfu;
    config.runInterfaceNumber = uint8_t(run < 0 ? 0 : run);
    config.dfuInterfaceNumber = uint8_t(dfu < 0 ? 0 : dfu);
    auto handler = std::make_shared<SimDfuHandler>(config);
    device->addControlHandler(handler);
    return handler;
}

QByteArray simDfuFunctionalDescriptor(const SimDfuConfig &config)
{
    QByteArray d(9, '\0');
    d[0] = 9;
    d[1] = 0x21;
    d[2] = char(config.bmAttributes);
    d[3] = char(config.wDetachTimeOut & 0xFF);
    d[4] = char(config.wDetachTimeOut >> 8);
    d[5] = char(config.wTransferSize & 0xFF);
    d[6] = char(config.wTransferSize >> 8);
    d[7] = 0x10;  // bcdDFUVersion 1.1
    d[8] = 0x01;
    return d;
}

SimDfuHandler::SimDfuHandler(SimDfuConfig config)
    : m_config(std::move(config))
{
}

SimDfuConfig SimDfuHandler::config() const
{
    std::lock_guard lock(m_mutex);
    return m_config;
}

void SimDfuHandler::setConfig(const SimDfuConfig &config)
{
    std::lock_guard lock(m_mutex);
    m_config = config;
    if (!m_config.hangAfterFinalBlock)
        m_hung = false;
}

std::vector<SimDfuHandler::Block> SimDfuHandler::blocks() const
{
    std::lock_guard lock(m_mutex);
    return m_blocks;
}

QByteArray SimDfuHandler::receivedImage() const
{
    std::lock_guard lock(m_mutex);
    QByteArray image;
    for (const auto &block : m_blocks)
        image += block.data;
    return image;
}

QByteArray SimDfuHandler::installedImage() const
{
    std::lock_guard lock(m_mutex);
    return m_installed;
}

std::vector<uint8_t> SimDfuHandler::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

uint8_t SimDfuHandler::state() const
{
    std::lock_guard lock(m_mutex);
    const_cast<SimDfuHandler *>(this)->advanceByClock();
    return m_state;
}

uint8_t SimDfuHandler::status() const
{
    std::lock_guard lock(m_mutex);
    return m_status;
}

int SimDfuHandler::manifestCount() const
{
    std::lock_guard lock(m_mutex);
    return m_manifestCount;
}

void SimDfuHandler::enterMode(Mode mode)
{
    m_mode = mode;
    m_reportedPoll = 0;
    m_manifestStarted = false;
    m_manifestDone = false;
    m_gone = false;
    m_hung = false;
    if (mode == Mode::Run) {
        m_state = kAppIdle;
        m_status = kStatusOk;
        return;
    }
    m_state = m_config.initialDfuState.value_or(kDfuIdle);
    m_status = m_state == kDfuError ? kErrUnknown : kStatusOk;
}

void SimDfuHandler::modeChanged(SimDeviceHost &, Mode mode)
{
    std::lock_guard lock(m_mutex);
    enterMode(mode);
}

std::optional<platform::UsbError> SimDfuHandler::refuseReset(SimDeviceHost &)
{
    std::lock_guard lock(m_mutex);
    ++m_resetCount;
    if (m_config.failReset && *m_config.failReset == m_resetCount)
        return platform::UsbError::Other;
    return std::nullopt;
}

int SimDfuHandler::resetCount() const
{
    std::lock_guard lock(m_mutex);
    return m_resetCount;
}

bool SimDfuHandler::handleReset(SimDeviceHost &host)
{
    std::lock_guard lock(m_mutex);
    if (!m_mode)
        enterMode(host.mode());
    advanceByClock();
    if (m_state == kAppDetach) {
        leaveForDfu(host);
        return true;
    }
    if (m_state == kManifestWaitReset) {
        finishManifestation(host, 0);
        return true;
    }
    if (*m_mode == Mode::Dfu && m_status == kErrFirmware) {
        // No firmware to run: back in DFU mode, still reporting it.
        host.reenumerate(Mode::Dfu, m_config.reenumerateDelayMs);
        m_state = kDfuError;
        return true;
    }
    return false;
}

platform::UsbError SimDfuHandler::stall(uint8_t status)
{
    if (m_mode == Mode::Dfu) {
        m_state = kDfuError;
        m_status = status;
    } else if (m_state == kAppDetach) {
        m_state = kAppIdle;
    }
    return platform::UsbError::Stall;
}

void SimDfuHandler::advanceByClock()
{
    const auto now = Clock::now();
    if (m_state == kDnBusy && now >= m_busyUntil) {
        m_state = kDnloadSync;
    } else if (m_state == kManifest && now >= m_manifestUntil) {
        if (m_config.bmAttributes & 0x04) {
            m_state = kManifestSync;
            m_manifestDone = true;
        } else {
            m_state = kManifestWaitReset;
        }
    } else if (m_state == kAppDetach
               && now - m_detachedAt > std::chrono::milliseconds(m_config.wDetachTimeOut)) {
        // No reset within wDetachTimeOut. This window is the host's time to
        // send its reset, which the time scale does not make any quicker, so
        // it keeps its real length: scaled down it would fail a host that is
        // merely preempted between DETACH and the reset.
        m_state = kAppIdle;
    }
}

const char kSimFirmwareMarker[] = "ORVALINDE-SIM-FIRMWARE ";

QByteArray simFirmwareImage(const QString &version, const QByteArray &payload)
{
    return QByteArray(kSimFirmwareMarker) + version.toUtf8() + '\n' + payload;
}

QString simFirmwareVersionOf(const QByteArray &image)
{
    const QByteArray marker(kSimFirmwareMarker);
    if (!image.startsWith(marker))
        return {};
    const qsizetype end = image.indexOf('\n', marker.size());
    if (end < 0 || end - marker.size() > 64)
        return {};
    return QString::fromUtf8(image.mid(marker.size(), end - marker.size())).trimmed();
}

void SimDfuHandler::leaveForDfu(SimDeviceHost &host)
{
    if (m_config.neverReenumerate) {
        m_gone = true;
        host.disconnect();
        return;
    }
    host.reenumerate(Mode::Dfu, m_config.reenumerateDelayMs);
}

void SimDfuHandler::finishManifestation(SimDeviceHost &host, int extraDelayMs)
{
    if (m_config.keepOldFirmware) {
        // The image was not taken: back in run mode with what ran before.
        host.reenumerate(Mode::Run, extraDelayMs + m_config.reenumerateDelayMs);
        return;
    }
    QByteArray image;
    for (const auto &block : m_blocks)
        image += block.data;
    m_installed = image;
    ++m_manifestCount;
    if (!m_config.versionAfterUpdate.isEmpty())
        host.setFirmwareVersion(m_config.versionAfterUpdate);
    else if (const QString carried = simFirmwareVersionOf(image); !carried.isEmpty())
        host.setFirmwareVersion(carried);
    host.reenumerate(Mode::Run, extraDelayMs + m_config.reenumerateDelayMs);
}

std::optional<platform::UsbError> SimDfuHandler::handleControl(SimDeviceHost &host,
                                                               const platform::UsbSetup &setup,
                                                               uint8_t *data, int *transferred)
{
    const bool out = setup.bmRequestType == 0x21;
    const bool in = setup.bmRequestType == 0xA1;
    if ((!out && !in) || setup.bRequest > kAbort)
        return std::nullopt;

    std::lock_guard lock(m_mutex);
    if (!m_mode)
        enterMode(host.mode());
    const uint8_t interface =
        *m_mode == Mode::Run ? m_config.runInterfaceNumber : m_config.dfuInterfaceNumber;
    if ((setup.wIndex & 0xFF) != interface)
        return std::nullopt;
    if (transferred)
        *transferred = 0;
    if (m_gone)
        return platform::UsbError::NoDevice;
    m_requests.push_back(setup.bRequest);
    if (m_hung)
        return platform::UsbError::Timeout;
    advanceByClock();
    if (*m_mode == Mode::Run)
        return handleRun(host, setup, data, transferred);
    return handleDfu(host, setup, data, transferred);
}

std::optional<platform::UsbError> SimDfuHandler::handleRun(SimDeviceHost &host,
                                                           const platform::UsbSetup &setup,
                                                           uint8_t *data, int *transferred)
{
    switch (setup.bRequest) {
    case kDetach:
        if (setup.bmRequestType != 0x21 || m_config.stallDetach)
            return stall();
        m_state = kAppDetach;
        m_detachedAt = Clock::now();
        // A device that detaches by itself leaves at once; the others wait
        // for the host's reset.
        if (m_config.bmAttributes & 0x08)
            leaveForDfu(host);
        return platform::UsbError::None;
    case kGetStatus:
        return getStatus(host, data, setup.wLength, transferred);
    case kGetState:
        if (setup.wLength < 1 || !data)
            return stall();
        data[0] = m_state;
        *transferred = 1;
        return platform::UsbError::None;
    default:
        return stall();
    }
}

std::optional<platform::UsbError> SimDfuHandler::handleDfu(SimDeviceHost &host,
                                                           const platform::UsbSetup &setup,
                                                           uint8_t *data, int *transferred)
{
    const uint8_t request = setup.bRequest;

    if (m_state == kManifestWaitReset) {
        // Waits for a reset and answers nothing else; a DETACH that some hosts
        // send before their reset is taken without a word.
        if (request == kDetach)
            return platform::UsbError::None;
        return platform::UsbError::Timeout;
    }
    if (m_state == kDnBusy || m_state == kManifest)
        return stall();  // polled before the time it asked for

    switch (request) {
    case kGetStatus:
        return getStatus(host, data, setup.wLength, transferred);
    case kGetState:
        if (setup.wLength < 1 || !data)
            return stall();
        data[0] = m_state;
        *transferred = 1;
        return platform::UsbError::None;
    case kDnload:
        return download(host, setup, data);
    case kClrStatus:
        if (m_state != kDfuError)
            return stall();
        m_state = kDfuIdle;
        m_status = kStatusOk;
        return platform::UsbError::None;
    case kAbort:
        if (m_state == kDfuIdle || m_state == kDnloadSync || m_state == kDnloadIdle
            || m_state == kManifestSync || m_state == kUploadIdle) {
            m_state = kDfuIdle;
            return platform::UsbError::None;
        }
        return stall();
    case kUpload:
    case kDetach:
    default:
        return stall();
    }
}

platform::UsbError SimDfuHandler::getStatus(SimDeviceHost &host, uint8_t *data, uint16_t wLength,
                                            int *transferred)
{
    if (!data || wLength < 6)
        return stall();

    std::optional<int> selfReset;  // extra time before the device resets itself
    if (m_state == kDnloadSync) {
        if (m_blockBusy) {
            m_blockBusy = false;
            m_state = kDnBusy;
            m_busyUntil = Clock::now() + scaled(m_config.busyTimeMs);
            m_reportedPoll = m_config.pollTimeoutMs;
        } else {
            m_state = kDnloadIdle;
            m_reportedPoll = 0;
        }
    } else if (m_state == kManifestSync) {
        if (!m_manifestStarted) {
            m_manifestStarted = true;
            if (m_config.errFirmware) {
                m_state = kDfuError;
                m_status = kErrFirmware;
                m_reportedPoll = 0;
            } else {
                m_state = kManifest;
                m_reportedPoll = m_config.manifestPollTimeoutMs;
                m_manifestUntil = Clock::now() + scaled(m_config.manifestTimeMs);
                // A device that is not manifestation tolerant but detaches by
                // itself resets on its own at the end of manifestation.
                if (!(m_config.bmAttributes & 0x04) && (m_config.bmAttributes & 0x08))
                    selfReset = int(m_config.manifestTimeMs);
            }
        } else if (m_manifestDone) {
            // Manifestation tolerant: back to dfuIDLE, then the device resets
            // itself into the new firmware.
            m_state = kDfuIdle;
            m_reportedPoll = 0;
            selfReset = 0;
        }
    }

    const uint32_t poll = m_reportedPoll;
    uint8_t reply[6] = {m_status, uint8_t(poll & 0xFF), uint8_t((poll >> 8) & 0xFF),
                        uint8_t((poll >> 16) & 0xFF), m_state, 0};
    int length = 6;
    if (m_config.statusReplyLength)
        length = qBound(0, *m_config.statusReplyLength, 6);
    std::memcpy(data, reply, size_t(length));
    *transferred = length;

    if (selfReset)
        finishManifestation(host, *selfReset);
    return platform::UsbError::None;
}

platform::UsbError SimDfuHandler::download(SimDeviceHost &host, const platform::UsbSetup &setup,
                                           const uint8_t *data)
{
    if (setup.bmRequestType != 0x21)
        return stall();
    if (m_state != kDfuIdle && m_state != kDnloadIdle)
        return stall();
    if (!(m_config.bmAttributes & 0x01))
        return stall();

    if (setup.wLength == 0) {
        if (m_state != kDnloadIdle)
            return stall();  // nothing was downloaded
        m_blocks.push_back(Block{setup.wValue, {}});
        m_state = kManifestSync;
        m_manifestStarted = false;
        m_manifestDone = false;
        if (m_config.hangAfterFinalBlock) {
            m_hung = true;
            return platform::UsbError::None;
        }
        if (m_config.resetOnFinalBlock) {
            // Manifests and resets by itself at once, answering no status
            // request: back in run mode once manifestation is over.
            m_state = kManifest;
            finishManifestation(host, int(m_config.manifestTimeMs));
        }
        return platform::UsbError::None;
    }
    if (setup.wLength > m_config.wTransferSize || !data)
        return stall();

    if (m_state == kDfuIdle)
        m_blocks.clear();  // a new download
    if (m_config.unplugAfterBlocks && int(m_blocks.size()) >= *m_config.unplugAfterBlocks) {
        m_gone = true;
        host.disconnect();
        return platform::UsbError::NoDevice;
    }
    m_blocks.push_back(Block{setup.wValue,
                             QByteArray(reinterpret_cast<const char *>(data), setup.wLength)});
    m_state = kDnloadSync;
    m_blockBusy = m_config.busyTimeMs > 0;
    return platform::UsbError::None;
}

} // namespace sim
