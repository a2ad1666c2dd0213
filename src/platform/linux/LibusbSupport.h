#pragma once
// The process's libusb context and the mapping of libusb and errno results
// onto platform::UsbError.

#include "platform/Usb.h"

struct libusb_context;

namespace platform::linuxusb {

// The shared context, created on first use. nullptr when libusb cannot start
// (no usbfs on this machine); the next call tries again.
libusb_context *sharedContext();

UsbError errorFromLibusb(int result);
UsbError errorFromErrno(int error);

// libusb on Linux refuses control transfers longer than this.
constexpr int kMaxControlTransfer = 4096;

} // namespace platform::linuxusb
