#pragma once
// The Linux backend: hidraw for HID reports, libudev for enumeration and
// hot-plug, libusb-1.0 for string descriptors, control transfers and reset,
// V4L2 for camera controls.

#include "platform/Backend.h"

#include <memory>

namespace platform {

std::unique_ptr<Backend> createLinuxBackend();

} // namespace platform
