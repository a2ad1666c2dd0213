#pragma once
// USB DFU 1.1 class requests and the lookups around them: find a device by
// vendor id, product id and serial number, find its DFU interface and the
// DFU functional descriptor, open and claim, release and close, reset.
//
// Every function keeps no state of its own and returns an I/O result: 0 for
// success, else one of the codes below (printed as 0x%08x in log lines).

#include "platform/Usb.h"

#include <QString>

#include <cstdint>
#include <optional>

using dfu_io_result = uint32_t;

constexpr dfu_io_result kDfuIoSuccess = 0;
constexpr dfu_io_result kDfuIoError = 0xE00002BC;          // general error
constexpr dfu_io_result kDfuIoNoDevice = 0xE00002C0;       // the device is gone
constexpr dfu_io_result kDfuIoBadArgument = 0xE00002C2;
constexpr dfu_io_result kDfuIoExclusiveAccess = 0xE00002C5;
constexpr dfu_io_result kDfuIoUnsupported = 0xE00002C7;    // the device cannot do this
constexpr dfu_io_result kDfuIoNotOpen = 0xE00002CD;
constexpr dfu_io_result kDfuIoTimeout = 0xE00002D6;
constexpr dfu_io_result kDfuIoUnderrun = 0xE00002E8;       // a reply shorter than asked
constexpr dfu_io_result kDfuIoNotResponding = 0xE00002ED;
constexpr dfu_io_result kDfuIoNotFound = 0xE00002F0;
constexpr dfu_io_result kDfuIoPipeStalled = 0xE000404F;    // the device stalled the request

// The I/O result of a platform USB error.
dfu_io_result dfu_io_result_from(platform::UsbError error);

// DFU states (bState) and status codes (bStatus).
enum dfu_state : uint8_t {
    DFU_STATE_APP_IDLE = 0,
    DFU_STATE_APP_DETACH = 1,
    DFU_STATE_DFU_IDLE = 2,
    DFU_STATE_DFU_DNLOAD_SYNC = 3,
    DFU_STATE_DFU_DNBUSY = 4,
    DFU_STATE_DFU_DNLOAD_IDLE = 5,
    DFU_STATE_DFU_MANIFEST_SYNC = 6,
    DFU_STATE_DFU_MANIFEST = 7,
    DFU_STATE_DFU_MANIFEST_WAIT_RESET = 8,
    DFU_STATE_DFU_UPLOAD_IDLE = 9,
    DFU_STATE_DFU_ERROR = 10,
};

enum dfu_status_code : uint8_t {
    DFU_STATUS_OK = 0,
    DFU_STATUS_ERR_TARGET = 1,
    DFU_STATUS_ERR_FILE = 2,
    DFU_STATUS_ERR_WRITE = 3,
    DFU_STATUS_ERR_ERASE = 4,
    DFU_STATUS_ERR_CHECK_ERASED = 5,
    DFU_STATUS_ERR_PROG = 6,
    DFU_STATUS_ERR_VERIFY = 7,
    DFU_STATUS_ERR_ADDRESS = 8,
    DFU_STATUS_ERR_NOTDONE = 9,
    DFU_STATUS_ERR_FIRMWARE = 10,
    DFU_STATUS_ERR_VENDOR = 11,
    DFU_STATUS_ERR_USBR = 12,
    DFU_STATUS_ERR_POR = 13,
    DFU_STATUS_ERR_UNKNOWN = 14,
    DFU_STATUS_ERR_STALLEDPKT = 15,
};

// Class requests (bRequest).
enum dfu_request_code : uint8_t {
    DFU_DETACH = 0,
    DFU_DNLOAD = 1,
    DFU_UPLOAD = 2,
    DFU_GETSTATUS = 3,
    DFU_CLRSTATUS = 4,
    DFU_GETSTATE = 5,
    DFU_ABORT = 6,
};

constexpr uint8_t DFU_INTERFACE_CLASS = 0xFE;      // application specific
constexpr uint8_t DFU_INTERFACE_SUBCLASS = 0x01;
constexpr uint8_t DFU_FUNCTIONAL_DESCRIPTOR_TYPE = 0x21;
constexpr uint8_t DFU_REQUEST_OUT = 0x21;           // class, interface, host to device
constexpr uint8_t DFU_REQUEST_IN = 0xA1;            // class, interface, device to host

// Both time-outs of a class request, before the time scale.
constexpr unsigned DFU_REQUEST_TIMEOUT_MS = 5000;

// The largest control transfer libusb carries on Linux; blocks are never
// larger than this, whatever the descriptor offers.
constexpr uint16_t DFU_MAX_TRANSFER_SIZE = 4096;

// The DFU functional descriptor (the first seven bytes; the 9-byte form of
// DFU 1.1 adds bcdDFUVersion, which is not read).
struct IOUSBDFUDescriptor {
    uint8_t bLength = 0;
    uint8_t bDescriptorType = 0;
    uint8_t bmAttributes = 0;     // bit 0 can download, 1 can upload,
                                  // 2 manifestation tolerant, 3 will detach
    uint16_t wDetachTimeOut = 0;  // milliseconds
    uint16_t wTransferSize = 0;   // bytes

    bool canDownload() const { return bmAttributes & 0x01; }
    bool canUpload() const { return bmAttributes & 0x02; }
    bool manifestationTolerant() const { return bmAttributes & 0x04; }
    bool willDetach() const { return bmAttributes & 0x08; }
};

// The reply of GETSTATUS.
struct dfu_status {
    uint8_t bStatus = DFU_STATUS_OK;
    uint32_t bwPollTimeout = 0;   // milliseconds, 24 bits on the wire
    uint8_t bState = DFU_STATE_APP_IDLE;
    uint8_t iString = 0;
};

// A device's DFU interface: the device it belongs to and its number.
struct dfu_interface {
    platform::UsbDeviceRef device;
    uint8_t number = 0;
    uint8_t alternateSetting = 0;
    QByteArray extra;             // the class descriptors after the interface
};

// --- Lookup and opening -----------------------------------------------------

// The device on the bus with that vendor and product id (hexadecimal texts,
// "1d5c", "6e12") whose serial number is serialNumber. The Vasko family's
// USB serial carries a "." and a suffix: for its two product ids only the
// part before the first "." is compared. When several match, the last one.
platform::UsbDeviceRef find_usb_device_interface(const QString &vendorId, const QString &productId,
                                                 const QString &serialNumber);

// The first interface of class 0xFE, subclass 0x01 (any protocol, any
// alternate setting): the run-time DFU interface in run mode, the DFU-mode
// interface in DFU mode.
std::optional<dfu_interface> find_dfu_interface(const platform::UsbDeviceRef &device);

// The first descriptor of type 0x21 and bLength of at least 7 among the class
// descriptors that follow the DFU interface descriptor.
std::optional<IOUSBDFUDescriptor> find_dfu_functional_descriptor(const dfu_interface &interface);

// True when the descriptor allows a download: bitCanDnload set and a
// transfer size above 0 (a device that takes blocks of 0 bytes takes none).
bool dfu_descriptor_can_download(const IOUSBDFUDescriptor &descriptor);

// The block size to use with a device: wTransferSize, capped at what one
// control transfer can carry here. 0 when the device cannot take blocks.
uint16_t dfu_block_size(const IOUSBDFUDescriptor &descriptor);

// Opens the device. An exclusive-access result counts as success.
dfu_io_result usb_open_device(const platform::UsbDeviceRef &device);

// Claims the DFU interface. An interface another client holds counts as
// success, as for the device.
dfu_io_result usb_open_interface(const dfu_interface &interface);

// Releases the interface claimed by usb_open_interface.
dfu_io_result dfu_release_interface(const dfu_interface *interface);

// Releases the device's DFU interface and closes the device.
dfu_io_result dfu_release_and_close(const platform::UsbDeviceRef &device);

// USB port reset. A device that is already gone counts as reset.
dfu_io_result usb_reset_device(const platform::UsbDeviceRef &device);

// --- Class requests -----------------------------------------------------------

dfu_io_result dfu_detach(const dfu_interface &interface, uint16_t timeoutMs);
// One DNLOAD of length bytes at data as block blockNumber; length 0 is the
// final request. A block longer than DFU_MAX_TRANSFER_SIZE is refused.
dfu_io_result dfu_download(const dfu_interface &interface, uint16_t length, uint16_t blockNumber,
                           const uint8_t *data);
// Fills status from the 6-byte reply. It is first set to errUNKNOWN in
// dfuERROR, so a failed request (a reply shorter than 6 bytes included)
// leaves an error state in it.
dfu_io_result dfu_get_status(const dfu_interface &interface, dfu_status *status);
dfu_io_result dfu_clear_status(const dfu_interface &interface);
// The state byte on success, else the I/O result (always above 10).
dfu_io_result dfu_get_state(const dfu_interface &interface);
dfu_io_result dfu_abort(const dfu_interface &interface);

// --- Texts for log lines --------------------------------------------------------

const char *dfu_state_name(unsigned state);
const char *dfu_status_name(unsigned status);
