#pragma once
// The camera node's control ioctls as the uvcvideo driver answers them:
// VIDIOC_QUERYCTRL, VIDIOC_G_CTRL, VIDIOC_S_CTRL and VIDIOC_QUERYMENU become
// UVC class requests (GET_INFO, GET_MIN/MAX/RES/DEF, GET_CUR, SET_CUR) on the
// device's default pipe, so that the device's own control store is what the
// node reports and changes. Values are clamped to the range and rounded to
// the step, and one field of a two-field control (pan and tilt) is written
// back with the other field as the device holds it.

#include "EmulatedDevice.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace e2e {

struct UvcUnits {
    uint8_t videoControlInterface = 0;
    uint8_t cameraTerminalId = 0;
    uint8_t processingUnitId = 0;
};

// The unit ids the video-control descriptors of a configuration name.
std::optional<UvcUnits> uvcUnits(const QByteArray &configuration);

// Answers one V4L2 ioctl on the node; arg is the ioctl's argument. Returns 0
// or -errno (-ENOTTY for an ioctl that is not a control ioctl).
int answerV4l2Ioctl(EmulatedDevice &device, const UvcUnits &units, unsigned long request,
                    void *arg);

} // namespace e2e
