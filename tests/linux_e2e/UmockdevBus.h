#pragma once
// An emulated kernel for the Linux backend: devices plugged here appear in
// the umockdev testbed as a usb_device node with its sysfs attributes and
// "descriptors", its interface nodes, one hidraw node per HID interface and,
// for cameras, a video4linux node; "add" and "remove" uevents announce them.
// The nodes' ioctl and read calls are answered on a thread of the bus from
// the EmulatedDevice behind them: HIDIOCSFEATURE/HIDIOCGFEATURE and hidraw
// reads (input reports), the usbdevfs calls libusb makes (control URBs go to
// the device's default pipe, USBDEVFS_RESET to its port reset) and the V4L2
// control ioctls of the camera node (see V4l2ControlNode.h).
//
// Works only in a process running under libumockdev-preload; available()
// says whether this one does. There is one testbed per process.

#include "EmulatedDevice.h"

#include <QString>

#include <memory>
#include <vector>

namespace e2e {

struct PluggedDevice {
    int port = 0;                       // 1-<port> under the root hub
    QString usbSyspath;
    QString usbNode;                    // /dev/bus/usb/BBB/DDD
    uint8_t busNumber = 0;
    uint8_t deviceAddress = 0;
    std::vector<QString> hidrawNodes;   // per HID interface
    std::vector<QString> hidrawSyspaths;
    QString videoNode;
    QString videoSyspath;
    std::shared_ptr<EmulatedDevice> device;
};

class UmockdevBus {
public:
    // Whether this process runs under the preload library; why not otherwise.
    static bool available(QString *whyNot);

    // The process's bus (created on first use; needs available()).
    static UmockdevBus &instance();

    // A port nobody used yet.
    int newPort();

    // Puts the device on the emulated bus at a port (a new one when 0; a
    // device that re-enumerates comes back at its port with a new address).
    // With announce, "add" uevents follow (parents first); without, it is
    // simply present, as at start-up.
    PluggedDevice plug(std::shared_ptr<EmulatedDevice> device, bool announce = true, int port = 0);

    // Sends the "add" uevents of a device plugged without announcing it.
    void announce(const PluggedDevice &plugged);

    // "remove" uevents (children first), then the nodes vanish. Calls still
    // made on descriptors opened before fail with ENODEV.
    void unplug(const PluggedDevice &plugged);

    // Raises an input report on a hidraw node (as the device would).
    void raiseInputReport(const QString &hidrawNode, const QByteArray &report);

    // How many ioctls the camera node of that name answered.
    int ioctlsOn(const QString &videoNode);

    // Makes a node unreadable for its owner (or readable again).
    bool setNodeAccessible(const QString &node, bool accessible);

    ~UmockdevBus();

private:
    UmockdevBus();
    void sendAdd(const PluggedDevice &plugged);
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace e2e
