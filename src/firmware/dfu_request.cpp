#include "dfu_request.h"

#include "log/log.h"
#include "platform/Backend.h"
#include "platform/TimeScale.h"

#include <cstdio>

namespace {

bool parseHex16(const QString &text, uint16_t *value)
{
    // At most 11 characters, as the identity texts are short.
    if (text.isEmpty() || text.size() > 11)
        return false;
    bool ok = false;
    const uint v = text.toUInt(&ok, 16);
    if (!ok || v > 0xFFFF)
        return false;
    *value = uint16_t(v);
    return true;
}

bool isVaskoProduct(const QString &productId)
{
    return productId.compare(QLatin1String("6e12"), Qt::CaseInsensitive) == 0
        || productId.compare(QLatin1String("6e13"), Qt::CaseInsensitive) == 0;
}

unsigned requestTimeout() { return unsigned(platform::scaledMs(DFU_REQUEST_TIMEOUT_MS)); }

dfu_io_result controlOut(const dfu_interface &interface, uint8_t request, uint16_t value,
                         uint16_t length, const uint8_t *data)
{
    if (!interface.device)
        return kDfuIoNoDevice;
    platform::UsbSetup setup;
    setup.bmRequestType = DFU_REQUEST_OUT;
    setup.bRequest = request;
    setup.wValue = value;
    setup.wIndex = interface.number;
    setup.wLength = length;
    int transferred = 0;
    // The platform interface takes a writable buffer in both directions.
    const auto error = interface.device->controlTransfer(setup, const_cast<uint8_t *>(data),
                                                         requestTimeout(), &transferred);
    return dfu_io_result_from(error);
}

dfu_io_result controlIn(const dfu_interface &interface, uint8_t request, uint16_t length,
                        uint8_t *data, int *transferred)
{
    *transferred = 0;
    if (!interface.device)
        return kDfuIoNoDevice;
    platform::UsbSetup setup;
    setup.bmRequestType = DFU_REQUEST_IN;
    setup.bRequest = request;
    setup.wValue = 0;
    setup.wIndex = interface.number;
    setup.wLength = length;
    return dfu_io_result_from(
        interface.device->controlTransfer(setup, data, requestTimeout(), transferred));
}

} // namespace

dfu_io_result dfu_io_result_from(platform::UsbError error)
{
    switch (error) {
    case platform::UsbError::None: return kDfuIoSuccess;
    case platform::UsbError::NoDevice: return kDfuIoNoDevice;
    case platform::UsbError::Timeout: return kDfuIoTimeout;
    case platform::UsbError::Stall: return kDfuIoPipeStalled;
    case platform::UsbError::Access: return kDfuIoExclusiveAccess;
    case platform::UsbError::NotFound: return kDfuIoNotFound;
    case platform::UsbError::Other: return kDfuIoError;
    }
    return kDfuIoError;
}

platform::UsbDeviceRef find_usb_device_interface(const QString &vendorId, const QString &productId,
                                                 const QString &serialNumber)
{
    uint16_t vid = 0, pid = 0;
    if (!parseHex16(vendorId, &vid) || !parseHex16(productId, &pid) || !platform::hasBackend())
        return nullptr;

    const bool cutSerial = isVaskoProduct(productId);
    platform::UsbDeviceRef found;
    for (const auto &device : platform::backend().usbBus().devices()) {
        if (!device)
            continue;
        const platform::UsbDeviceInfo info = device->info();
        if (info.vendorId != vid || info.productId != pid)
            continue;
        QString serial;
        if (info.serialNumber)
            serial = *info.serialNumber;
        else if (info.usbSerialNumber)
            serial = *info.usbSerialNumber;
        else
            continue;
        if (cutSerial) {
            const qsizetype dot = serial.indexOf(QLatin1Char('.'));
            if (dot >= 0)
                serial.truncate(dot);
        }
        if (serial == serialNumber)
            found = device;
    }
    return found;
}

std::optional<dfu_interface> find_dfu_interface(const platform::UsbDeviceRef &device)
{
    if (!device)
        return std::nullopt;
    for (const auto &intf : device->info().interfaces) {
        if (intf.interfaceClass == DFU_INTERFACE_CLASS
            && intf.interfaceSubClass == DFU_INTERFACE_SUBCLASS) {
            dfu_interface result;
            result.device = device;
            result.number = intf.number;
            result.alternateSetting = intf.alternateSetting;
            result.extra = intf.extra;
            return result;
        }
    }
    return std::nullopt;
}

std::optional<IOUSBDFUDescriptor> find_dfu_functional_descriptor(const dfu_interface &interface)
{
    const auto *p = reinterpret_cast<const uint8_t *>(interface.extra.constData());
    const qsizetype size = interface.extra.size();
    qsizetype offset = 0;
    while (offset + 2 <= size) {
        const uint8_t bLength = p[offset];
        const uint8_t type = p[offset + 1];
        if (bLength < 2 || offset + bLength > size)
            break;  // a malformed list ends the walk
        if (type == DFU_FUNCTIONAL_DESCRIPTOR_TYPE && bLength >= 7) {
            const uint8_t *d = p + offset;
            IOUSBDFUDescriptor desc;
            desc.bLength = d[0];
            desc.bDescriptorType = d[1];
            desc.bmAttributes = d[2];
            desc.wDetachTimeOut = uint16_t(d[3] | (d[4] << 8));
            desc.wTransferSize = uint16_t(d[5] | (d[6] << 8));
            return desc;
        }
        offset += bLength;
    }
    return std::nullopt;
}

bool dfu_descriptor_can_download(const IOUSBDFUDescriptor &descriptor)
{
    return descriptor.canDownload() && descriptor.wTransferSize > 0;
}

uint16_t dfu_block_size(const IOUSBDFUDescriptor &descriptor)
{
    return descriptor.wTransferSize < DFU_MAX_TRANSFER_SIZE ? descriptor.wTransferSize
                                                            : DFU_MAX_TRANSFER_SIZE;
}

dfu_io_result usb_open_device(const platform::UsbDeviceRef &device)
{
    if (!device)
        return kDfuIoError;
    const dfu_io_result ret = dfu_io_result_from(device->open());
    if (ret == kDfuIoSuccess)
        return kDfuIoSuccess;
    QOVA_LOG(ERROR, DFU, "failed to Open Device, errCode is 0x%08x.", ret);
    return ret;
}

dfu_io_result usb_open_interface(const dfu_interface &interface)
{
    if (!interface.device)
        return kDfuIoError;
    const dfu_io_result ret = dfu_io_result_from(interface.device->claimInterface(interface.number));
    if (ret == kDfuIoSuccess || ret == kDfuIoExclusiveAccess)
        return kDfuIoSuccess;
    QOVA_LOG(ERROR, DFU, "failed to Open Interface, errCode is 0x%08x.", ret);
    return ret;
}

dfu_io_result dfu_release_interface(const dfu_interface *interface)
{
    QOVA_LOG(INFO, DFU, "enter DFU_Intf releaseInterface");
    if (!interface || !interface->device) {
        QOVA_LOG(INFO, DFU, "DFU_Intf releaseInterface, no interface,return success");
        return kDfuIoSuccess;
    }
    const platform::UsbError error = interface->device->releaseInterface(interface->number);
    QOVA_LOG(INFO, DFU, "DFU_Intf USBInterfaceClose");
    // Releasing an interface that was never claimed, or of a device that has
    // gone, leaves nothing to undo.
    if (error != platform::UsbError::None && error != platform::UsbError::NotFound
        && error != platform::UsbError::NoDevice) {
        const dfu_io_result ret = dfu_io_result_from(error);
        QOVA_LOG(INFO, DFU, "close interface failed, error code is 0x%08x", ret);
        return ret;
    }
    QOVA_LOG(INFO, DFU, "DFU_Intf release interface");
    return kDfuIoSuccess;
}

dfu_io_result dfu_release_and_close(const platform::UsbDeviceRef &device)
{
    if (!device)
        return kDfuIoSuccess;
    const auto intf = find_dfu_interface(device);
    if (!intf) {
        QOVA_LOG(INFO, DFU, "can not get dfu interface");
        return kDfuIoSuccess;
    }
    const dfu_io_result ret = dfu_release_interface(&*intf);
    QOVA_LOG(INFO, DFU, "got dfu interface, now let's release it");
    if (ret != kDfuIoSuccess) {
        QOVA_LOG(INFO, DFU, "release Interface failed, error code is 0x%08x", ret);
        return ret;
    }
    // Closing a device that is not open is harmless here.
    device->close();
    QOVA_LOG(INFO, DFU, "release dfu interface successfully, now let's close the device");
    return kDfuIoSuccess;
}

dfu_io_result usb_reset_device(const platform::UsbDeviceRef &device)
{
    if (!device)
        return kDfuIoNoDevice;
    const platform::UsbError error = device->reset();
    if (error == platform::UsbError::NoDevice)
        return kDfuIoSuccess;  // it re-enumerated, which is what a reset is for
    return dfu_io_result_from(error);
}

dfu_io_result dfu_detach(const dfu_interface &interface, uint16_t timeoutMs)
{
    return controlOut(interface, DFU_DETACH, timeoutMs, 0, nullptr);
}

dfu_io_result dfu_download(const dfu_interface &interface, uint16_t length, uint16_t blockNumber,
                           const uint8_t *data)
{
    if (length > DFU_MAX_TRANSFER_SIZE || (length > 0 && !data))
        return kDfuIoBadArgument;
    return controlOut(interface, DFU_DNLOAD, blockNumber, length, length ? data : nullptr);
}

dfu_io_result dfu_get_status(const dfu_interface &interface, dfu_status *status)
{
    status->bStatus = DFU_STATUS_ERR_UNKNOWN;
    status->bwPollTimeout = 0;
    status->bState = DFU_STATE_DFU_ERROR;
    status->iString = 0;

    uint8_t reply[6] = {};
    int transferred = 0;
    const dfu_io_result ret = controlIn(interface, DFU_GETSTATUS, sizeof reply, reply, &transferred);
    if (ret != kDfuIoSuccess)
        return ret;
    if (transferred < int(sizeof reply))
        return kDfuIoUnderrun;
    status->bStatus = reply[0];
    status->bwPollTimeout = uint32_t(reply[1]) | (uint32_t(reply[2]) << 8) | (uint32_t(reply[3]) << 16);
    status->bState = reply[4];
    status->iString = reply[5];
    return kDfuIoSuccess;
}

dfu_io_result dfu_clear_status(const dfu_interface &interface)
{
    return controlOut(interface, DFU_CLRSTATUS, 0, 0, nullptr);
}

dfu_io_result dfu_get_state(const dfu_interface &interface)
{
    uint8_t state = 0;
    int transferred = 0;
    const dfu_io_result ret = controlIn(interface, DFU_GETSTATE, 1, &state, &transferred);
    if (ret != kDfuIoSuccess)
        return ret;
    if (transferred < 1)
        return kDfuIoUnderrun;
    return state;
}

dfu_io_result dfu_abort(const dfu_interface &interface)
{
    return controlOut(interface, DFU_ABORT, 0, 0, nullptr);
}

const char *dfu_state_name(unsigned state)
{
    static const char *const names[] = {
        "appIDLE", "appDETACH", "dfuIDLE", "dfuDNLOAD-SYNC", "dfuDNBUSY", "dfuDNLOAD-IDLE",
        "dfuMANIFEST-SYNC", "dfuMANIFEST", "dfuMANIFEST-WAIT-RESET", "dfuUPLOAD-IDLE", "dfuERROR",
    };
    return state <= 10 ? names[state] : "UnKnown";
}

const char *dfu_status_name(unsigned status)
{
    static const char *const names[] = {
        "No error condition is present",
        "File is not targeted for use by this device",
        "File is for this device but fails some vendor-specific test",
        "Device is unable to write memory",
        "Memory erase function failed",
        "Memory erase check failed",
        "Program memory function failed",
        "Programmed memory failed verification",
        "Cannot program memory due to received address that is out of range",
        "Received DFU_DNLOAD with wLength = 0, but device does not think that it has all data yet",
        "Device's firmware is corrupt. It cannot return to run-time (non-DFU) operations",
        "iString indicates a vendor specific error",
        "Device detected unexpected USB reset signalling",
        "Device detected unexpected power on reset",
        "Something went wrong, but the device does not know what it was",
        "Device stalled an unexpected request",
    };
    return status <= 15 ? names[status] : "Unknown";
}
