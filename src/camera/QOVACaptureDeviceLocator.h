#pragma once
// Finds the capture node of a device's camera: the video4linux node with
// capture capability whose USB device gives the same unique id text as the
// device page builds for the device (location, vendor and product id,
// through the one shared function), and the computer's capture device on
// that node.

#include "QOVAVideoNodeEnumeration.h"

#include <QCameraDevice>
#include <QList>
#include <QString>

#include <memory>

class QOVACaptureDeviceLocator {
public:
    explicit QOVACaptureDeviceLocator(
        std::shared_ptr<QOVAVideoNodeEnumeration> enumeration = QOVAVideoNodeEnumeration::udev());

    // The capture node of the device with this unique id (the lowest index
    // when it has several); empty when there is none or the id is empty.
    QString captureNode(const QString &uniqueID) const;

    // The unique id text of the USB device a node belongs to; empty when
    // the node has no USB device.
    static QString uniqueIDOfNode(const QOVAVideoNode &node);
    static bool canCapture(const QOVAVideoNode &node);

    // The capture device among these whose id names the node.
    static QCameraDevice cameraDeviceForNode(const QString &node, const QList<QCameraDevice> &devices);

private:
    std::shared_ptr<QOVAVideoNodeEnumeration> m_enumeration;
};
