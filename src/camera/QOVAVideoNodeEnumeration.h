#pragma once
// The computer's video4linux nodes as udev lists them, each with the facts
// of the USB device it belongs to. The capture lookup reads them through
// this interface; the udev one is the real list.

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>

struct QOVAVideoNode {
    QString devnode;        // "/dev/video0"
    QString capabilities;   // udev's ID_V4L_CAPABILITIES, such as ":capture:"
    uint32_t index = 0;     // the node's "index" attribute
    // The usb_device parent's attributes; empty without such a parent.
    QString busnum;
    QString devpath;
    QString idVendor;
    QString idProduct;
};

class QOVAVideoNodeEnumeration {
public:
    virtual ~QOVAVideoNodeEnumeration() = default;
    virtual QList<QOVAVideoNode> videoNodes() const = 0;

    // The nodes udev knows now.
    static std::shared_ptr<QOVAVideoNodeEnumeration> udev();
};
