#include "QOVACaptureDeviceLocator.h"

#include "platform/linux/UdevSupport.h"
#include "usbsdk/discovery/QOVACaptureIdentity.h"

#include <climits>

QOVACaptureDeviceLocator::QOVACaptureDeviceLocator(std::shared_ptr<QOVAVideoNodeEnumeration> enumeration)
    : m_enumeration(std::move(enumeration))
{
}

bool QOVACaptureDeviceLocator::canCapture(const QOVAVideoNode &node)
{
    return node.capabilities.split(QLatin1Char(':'), Qt::SkipEmptyParts).contains(QLatin1String("capture"));
}

QString QOVACaptureDeviceLocator::uniqueIDOfNode(const QOVAVideoNode &node)
{
    bool busOk = false, vendorOk = false, productOk = false;
    const uint32_t bus = node.busnum.toUInt(&busOk, 10);
    const uint32_t vendor = node.idVendor.toUInt(&vendorOk, 16);
    const uint32_t product = node.idProduct.toUInt(&productOk, 16);
    if (!busOk || !vendorOk || !productOk || node.devpath.isEmpty())
        return QString();
    return qova::discovery::captureUniqueID(platform::linuxudev::locationId(bus, node.devpath), vendor, product);
}

QString QOVACaptureDeviceLocator::captureNode(const QString &uniqueID) const
{
    if (uniqueID.isEmpty() || !m_enumeration)
        return QString();
    QString best;
    uint32_t bestIndex = UINT_MAX;
    for (const QOVAVideoNode &node : m_enumeration->videoNodes()) {
        if (node.devnode.isEmpty() || !canCapture(node) || uniqueIDOfNode(node) != uniqueID)
            continue;
        if (best.isEmpty() || node.index < bestIndex) {
            best = node.devnode;
            bestIndex = node.index;
        }
    }
    return best;
}

QCameraDevice QOVACaptureDeviceLocator::cameraDeviceForNode(const QString &node, const QList<QCameraDevice> &devices)
{
    if (node.isEmpty())
        return QCameraDevice();
    for (const QCameraDevice &device : devices) {
        if (QString::fromUtf8(device.id()) == node)
            return device;
    }
    // Some capture back ends put a scheme in front of the node's path.
    for (const QCameraDevice &device : devices) {
        if (QString::fromUtf8(device.id()).endsWith(node))
            return device;
    }
    return QCameraDevice();
}
