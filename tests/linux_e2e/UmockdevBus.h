#pragma once
// An emulated kernel for the Linux backend: devices plugged here appear in
// the umockdev testbed as a usb_device node with its sysfs attributes and
// "descriptors", its interface nodes, one hidraw node per HID interface and,
// for cameras, a video4linux node; "add" and "remove" uevents announce them.
// The nodes' ioctl and read calls are answered on a thread of the bus from
// the EmulatedDevice behind them: HIDIOCSFEATURE/HIDIOCGFEATURE and hidraw
// reads (input reports), and the usbdevfs calls libusb makes (control URBs
// go to the device's default pipe).
//
// Works only in a process running under libumockdev-preload; available()
// says whether this one does. There is one testbed per process.

#include "EmulatedDevice.h"

#include <QString>

#include <memory>
#include <vector>

namespace e2e {

struct PluggedDevice {
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

    // Puts the device on the emulated bus. With announce, "add" uevents
    // follow (parents first); without, it is simply present, as at start-up.
    PluggedDevice plug(std::shared_ptr<EmulatedDevice> device, bool announce = true);

    // Sends the "add" uevents of a device plugged without announcing it.
    void announce(const PluggedDevice &plugged);

    // "remove" uevents (children first), then the nodes vanish. Calls still
    // made on descriptors opened before fail with ENODEV.
    void unplug(const PluggedDevice &plugged);

    // Raises an input report on a hidraw node (as the device would).
    void raiseInputReport(const QString &hidrawNode, const QByteArray &report);

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
