// GLib's headers use names that Qt defines as macros: they come first.
#include <umockdev.h>

#include "UmockdevBus.h"
#include "V4l2ControlNode.h"
#include "platform/ThreadHop.h"

#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <glob.h>
#include <linux/hidraw.h>
#include <linux/ioctl.h>
#include <sys/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <future>
#include <mutex>
#include <thread>

namespace e2e {

namespace {

QString hex(const QByteArray &data)
{
    return QString::fromLatin1(data.toHex().toUpper());
}

struct CompletedUrb {
    UMockdevIoctlData *urb = nullptr;  // reference held until reaped
    int status = 0;
    int actualLength = 0;
};

// One emulated node and the device behind it. Lives as long as the process:
// a client may still hold a descriptor of a node that left.
struct Node {
    enum Kind { Hidraw, Usbfs, Video } kind = Hidraw;
    QString path;
    std::shared_ptr<EmulatedDevice> device;
    int hidIndex = 0;
    UvcUnits units;                    // video: where its controls are
    std::atomic<bool> gone{false};
    std::atomic<int> ioctls{0};
    UMockdevIoctlBase *handler = nullptr;

    std::mutex mutex;
    int masterFd = -1;                 // hidraw: the test's end of the node
    std::deque<QByteArray> inputReports;
    std::deque<CompletedUrb> completedUrbs;
    qsizetype readOffset = 0;          // usbfs: where the next descriptor read starts
};

void completeErrno(UMockdevIoctlClient *client, int error)
{
    umockdev_ioctl_client_complete(client, -1, error);
}

gboolean onHidrawIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer user)
{
    Node *node = static_cast<Node *>(user);
    if (node->gone.load()) {
        completeErrno(client, ENODEV);
        return TRUE;
    }
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
    if (_IOC_TYPE(request) != 'H')
        return FALSE;
    const size_t size = _IOC_SIZE(request);
    switch (_IOC_NR(request)) {
    case _IOC_NR(HIDIOCSFEATURE(0)):
    case _IOC_NR(HIDIOCGFEATURE(0)): {
        if (size == 0) {
            completeErrno(client, EINVAL);
            return TRUE;
        }
        UMockdevIoctlData *buffer = umockdev_ioctl_data_resolve(arg, 0, size, nullptr);
        if (!buffer) {
            completeErrno(client, EFAULT);
            return TRUE;
        }
        const bool set = _IOC_NR(request) == _IOC_NR(HIDIOCSFEATURE(0));
        const int result = set ? node->device->setFeatureReport(node->hidIndex, buffer->data, size)
                               : node->device->getFeatureReport(node->hidIndex, buffer->data, size);
        if (result < 0)
            completeErrno(client, -result);
        else
            umockdev_ioctl_client_complete(client, result, 0);
        g_object_unref(buffer);
        return TRUE;
    }
    case _IOC_NR(HIDIOCGRDESCSIZE):
    case _IOC_NR(HIDIOCGRDESC): {
        const QByteArray descriptor =
            node->device->description().hid.at(size_t(node->hidIndex)).reportDescriptor;
        UMockdevIoctlData *out = umockdev_ioctl_data_resolve(arg, 0, size, nullptr);
        if (!out) {
            completeErrno(client, EFAULT);
            return TRUE;
        }
        if (_IOC_NR(request) == _IOC_NR(HIDIOCGRDESCSIZE)) {
            *reinterpret_cast<int *>(out->data) = int(descriptor.size());
        } else {
            auto *rd = reinterpret_cast<hidraw_report_descriptor *>(out->data);
            const uint32_t count = std::min<uint32_t>(rd->size, uint32_t(descriptor.size()));
            std::memcpy(rd->value, descriptor.constData(), count);
        }
        umockdev_ioctl_client_complete(client, 0, 0);
        g_object_unref(out);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

// hidraw hands out one report per read. The node is a pty so that polling
// works; each queued report puts one byte into it, and a read drains those
// bytes, hands out one report and puts one byte back for each still queued.
gboolean onHidrawRead(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer user)
{
    Node *node = static_cast<Node *>(user);
    if (node->gone.load()) {
        completeErrno(client, ENODEV);
        return TRUE;
    }
    int error = 0;
    umockdev_ioctl_client_execute(client, &error, nullptr);
    UMockdevIoctlData *buffer = umockdev_ioctl_client_get_arg(client);

    std::lock_guard<std::mutex> lock(node->mutex);
    if (node->inputReports.empty()) {
        completeErrno(client, EAGAIN);
        return TRUE;
    }
    const QByteArray report = node->inputReports.front();
    node->inputReports.pop_front();
    const int count = std::min(int(report.size()), buffer->data_len);
    std::memcpy(buffer->data, report.constData(), size_t(count));
    if (!node->inputReports.empty() && node->masterFd >= 0) {
        const ssize_t written = ::write(node->masterFd, "r", 1);
        (void)written;
    }
    umockdev_ioctl_client_complete(client, count, 0);
    return TRUE;
}

// Reading a usbfs node gives the device descriptor and the configuration,
// as libusb does when it opens a node it has not listed itself. A read that
// ends the descriptors, or one at their end, starts the next one over.
gboolean onUsbfsRead(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer user)
{
    Node *node = static_cast<Node *>(user);
    if (node->gone.load()) {
        completeErrno(client, ENODEV);
        return TRUE;
    }
    UMockdevIoctlData *buffer = umockdev_ioctl_client_get_arg(client);
    const EmulatedDeviceDescription desc = node->device->description();
    const QByteArray all = desc.deviceDescriptor + desc.configuration;
    std::lock_guard<std::mutex> lock(node->mutex);
    const qsizetype wanted = buffer->data_len;
    const qsizetype count = std::min(wanted, all.size() - node->readOffset);
    std::memcpy(buffer->data, all.constData() + node->readOffset, size_t(count));
    node->readOffset += count;
    if (count == 0 || (node->readOffset == all.size() && count < wanted))
        node->readOffset = 0;
    umockdev_ioctl_client_complete(client, count, 0);
    return TRUE;
}

gboolean onUsbfsIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer user)
{
    Node *node = static_cast<Node *>(user);
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);

    if (node->gone.load() && request != USBDEVFS_REAPURBNDELAY && request != USBDEVFS_REAPURB
        && request != USBDEVFS_DISCARDURB) {
        completeErrno(client, ENODEV);
        return TRUE;
    }

    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        UMockdevIoctlData *caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(uint32_t), nullptr);
        *reinterpret_cast<uint32_t *>(caps->data) =
            USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
        umockdev_ioctl_client_complete(client, 0, 0);
        g_object_unref(caps);
        return TRUE;
    }
    case USBDEVFS_CONTROL: {
        // A synchronous request on the default pipe.
        UMockdevIoctlData *ctrlData =
            umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_ctrltransfer), nullptr);
        auto *ctrl = reinterpret_cast<usbdevfs_ctrltransfer *>(ctrlData->data);
        platform::UsbSetup setup{ctrl->bRequestType, ctrl->bRequest, ctrl->wValue, ctrl->wIndex,
                                 ctrl->wLength};
        UMockdevIoctlData *buffer = nullptr;
        if (ctrl->wLength > 0)
            buffer = umockdev_ioctl_data_resolve(ctrlData, G_STRUCT_OFFSET(usbdevfs_ctrltransfer, data),
                                                 ctrl->wLength, nullptr);
        int transferred = 0;
        const platform::UsbError answer =
            ctrl->wLength > 0 && !buffer
                ? platform::UsbError::Other
                : node->device->control(setup, buffer ? buffer->data : nullptr, &transferred);
        if (buffer)
            g_object_unref(buffer);
        g_object_unref(ctrlData);
        switch (answer) {
        case platform::UsbError::None: umockdev_ioctl_client_complete(client, transferred, 0); break;
        case platform::UsbError::Timeout: completeErrno(client, ETIMEDOUT); break;
        case platform::UsbError::NoDevice: completeErrno(client, ENODEV); break;
        default: completeErrno(client, EPIPE); break;
        }
        return TRUE;
    }
    case USBDEVFS_GET_SPEED:
        umockdev_ioctl_client_complete(client, 3 /* USB_SPEED_HIGH */, 0);
        return TRUE;
    case USBDEVFS_CONNECTINFO: {
        UMockdevIoctlData *info =
            umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_connectinfo), nullptr);
        auto *connect = reinterpret_cast<usbdevfs_connectinfo *>(info->data);
        connect->devnum = 0;
        connect->slow = 0;
        umockdev_ioctl_client_complete(client, 0, 0);
        g_object_unref(info);
        return TRUE;
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE:
    case USBDEVFS_SETINTERFACE:
    case USBDEVFS_SETCONFIGURATION:
    case USBDEVFS_CLEAR_HALT:
    case USBDEVFS_RESETEP:
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    case USBDEVFS_RESET:
        // A device that re-enumerates on the reset has left this node.
        if (node->device->reset() == platform::UsbError::None)
            umockdev_ioctl_client_complete(client, 0, 0);
        else
            completeErrno(client, ENODEV);
        return TRUE;
    case USBDEVFS_GETDRIVER:
    case USBDEVFS_IOCTL:
        completeErrno(client, ENODATA);
        return TRUE;
    case USBDEVFS_SUBMITURB: {
        UMockdevIoctlData *urbData =
            umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
        auto *urb = reinterpret_cast<usbdevfs_urb *>(urbData->data);
        if (urb->type != USBDEVFS_URB_TYPE_CONTROL || urb->buffer_length < 8) {
            g_object_unref(urbData);
            completeErrno(client, EINVAL);
            return TRUE;
        }
        UMockdevIoctlData *buffer = umockdev_ioctl_data_resolve(
            urbData, G_STRUCT_OFFSET(usbdevfs_urb, buffer), size_t(urb->buffer_length), nullptr);
        const uint8_t *raw = buffer->data;
        platform::UsbSetup setup;
        setup.bmRequestType = raw[0];
        setup.bRequest = raw[1];
        setup.wValue = uint16_t(raw[2] | raw[3] << 8);
        setup.wIndex = uint16_t(raw[4] | raw[5] << 8);
        setup.wLength = uint16_t(raw[6] | raw[7] << 8);
        int transferred = 0;
        platform::UsbError answer = platform::UsbError::Stall;
        if (setup.wLength <= urb->buffer_length - 8)
            answer = node->device->control(setup, buffer->data + 8, &transferred);
        CompletedUrb done;
        done.urb = urbData;  // keeps the reference
        done.actualLength = answer == platform::UsbError::None ? transferred : 0;
        switch (answer) {
        case platform::UsbError::None: done.status = 0; break;
        case platform::UsbError::Timeout: done.status = -ETIMEDOUT; break;
        case platform::UsbError::NoDevice: done.status = -ENODEV; break;
        default: done.status = -EPIPE; break;
        }
        g_object_unref(buffer);
        {
            std::lock_guard<std::mutex> lock(node->mutex);
            node->completedUrbs.push_back(done);
        }
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    }
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY: {
        CompletedUrb done;
        {
            std::lock_guard<std::mutex> lock(node->mutex);
            if (node->completedUrbs.empty()) {
                completeErrno(client, node->gone.load() ? ENODEV : EAGAIN);
                return TRUE;
            }
            done = node->completedUrbs.front();
            node->completedUrbs.pop_front();
        }
        auto *urb = reinterpret_cast<usbdevfs_urb *>(done.urb->data);
        urb->status = done.status;
        urb->actual_length = done.actualLength;
        UMockdevIoctlData *pointer = umockdev_ioctl_data_resolve(arg, 0, sizeof(void *), nullptr);
        umockdev_ioctl_data_set_ptr(pointer, 0, done.urb);
        umockdev_ioctl_client_complete(client, 0, 0);
        g_object_unref(pointer);
        g_object_unref(done.urb);
        return TRUE;
    }
    case USBDEVFS_DISCARDURB:
        // Every URB completes at once; there is nothing left to discard.
        completeErrno(client, EINVAL);
        return TRUE;
    default:
        return FALSE;
    }
}

gboolean onVideoIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer user)
{
    Node *node = static_cast<Node *>(user);
    if (node->gone.load()) {
        completeErrno(client, ENODEV);
        return TRUE;
    }
    ++node->ioctls;
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
    const size_t size = _IOC_SIZE(request);
    if (_IOC_TYPE(request) != 'V' || size == 0) {
        completeErrno(client, ENOTTY);
        return TRUE;
    }
    UMockdevIoctlData *data = umockdev_ioctl_data_resolve(arg, 0, size, nullptr);
    if (!data) {
        completeErrno(client, EFAULT);
        return TRUE;
    }
    const int result = answerV4l2Ioctl(*node->device, node->units, request, data->data);
    if (result < 0)
        completeErrno(client, -result);
    else
        umockdev_ioctl_client_complete(client, 0, 0);
    g_object_unref(data);
    return TRUE;
}

QString text(gchar *owned)
{
    QString out = QString::fromUtf8(owned);
    g_free(owned);
    return out;
}

} // namespace

struct UmockdevBus::Private {
    UMockdevTestbed *testbed = nullptr;
    GMainContext *context = nullptr;
    GMainLoop *loop = nullptr;
    std::thread thread;
    std::mutex mutex;
    std::vector<std::unique_ptr<Node>> nodes;
    int nextAddress = 2;
    int nextPort = 1;
    int nextHidraw = 0;
    int nextHid = 1;
    int nextVideo = 0;

    Node *attach(Node::Kind kind, const QString &path, std::shared_ptr<EmulatedDevice> device,
                 int hidIndex)
    {
        auto node = std::make_unique<Node>();
        node->kind = kind;
        node->path = path;
        node->device = std::move(device);
        node->hidIndex = hidIndex;
        node->handler = umockdev_ioctl_base_new();
        if (kind == Node::Hidraw) {
            g_signal_connect(node->handler, "handle-ioctl", G_CALLBACK(onHidrawIoctl), node.get());
            g_signal_connect(node->handler, "handle-read", G_CALLBACK(onHidrawRead), node.get());
        } else if (kind == Node::Video) {
            node->units = uvcUnits(node->device->description().configuration).value_or(UvcUnits{});
            g_signal_connect(node->handler, "handle-ioctl", G_CALLBACK(onVideoIoctl), node.get());
        } else {
            g_signal_connect(node->handler, "handle-ioctl", G_CALLBACK(onUsbfsIoctl), node.get());
            g_signal_connect(node->handler, "handle-read", G_CALLBACK(onUsbfsRead), node.get());
        }
        // The handlers run on the bus thread: attach there, so that the
        // node's sources belong to the context that thread iterates.
        struct Attach {
            UMockdevTestbed *testbed;
            QByteArray devnode;
            UMockdevIoctlBase *handler;
            std::promise<void> done;
        } request{testbed, path.toUtf8(), node->handler, {}};
        std::future<void> done = request.done.get_future();
        // GLib's queue is as hidden from the race check as Qt's.
        platform::handOver(&request);
        g_main_context_invoke(
            context,
            [](gpointer data) -> gboolean {
                auto *r = static_cast<Attach *>(data);
                platform::takeOver(r);
                GError *error = nullptr;
                if (!umockdev_testbed_attach_ioctl(r->testbed, r->devnode.constData(), r->handler,
                                                   &error)) {
                    qWarning("cannot attach to %s: %s", r->devnode.constData(),
                             error ? error->message : "?");
                    g_clear_error(&error);
                }
                r->done.set_value();
                return G_SOURCE_REMOVE;
            },
            &request);
        done.wait();
        Node *raw = node.get();
        nodes.push_back(std::move(node));
        return raw;
    }

    Node *find(const QString &path)
    {
        // The newest node of that name: names come back after an unplug.
        for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
            if ((*it)->path == path)
                return it->get();
        }
        return nullptr;
    }
};

bool UmockdevBus::available(QString *whyNot)
{
    // The preload library must be mapped into this process; the environment
    // variable alone does not say so.
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libumockdev-preload"))
        return true;
    if (whyNot)
        *whyNot = QStringLiteral("libumockdev-preload is not loaded into this process "
                                 "(run the test through umockdev-wrapper or with "
                                 "LD_PRELOAD=libumockdev-preload.so.0; sanitizer builds cannot)");
    return false;
}

UmockdevBus &UmockdevBus::instance()
{
    static UmockdevBus bus;
    return bus;
}

UmockdevBus::UmockdevBus() : d(std::make_unique<Private>())
{
    d->testbed = umockdev_testbed_new();
    d->context = g_main_context_new();
    d->loop = g_main_loop_new(d->context, FALSE);
    d->thread = std::thread([this] {
        g_main_context_push_thread_default(d->context);
        g_main_loop_run(d->loop);
        g_main_context_pop_thread_default(d->context);
    });
}

UmockdevBus::~UmockdevBus()
{
    g_main_loop_quit(d->loop);
    if (d->thread.joinable())
        d->thread.join();
    g_main_loop_unref(d->loop);
    d->loop = nullptr;
    // The testbed and the handlers stay: clients may still hold descriptors
    // of emulated nodes until the process ends.
}

int UmockdevBus::newPort()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->nextPort++;
}

PluggedDevice UmockdevBus::plug(std::shared_ptr<EmulatedDevice> device, bool announce, int port)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    const EmulatedDeviceDescription desc = device->description();
    PluggedDevice plugged;
    plugged.device = device;
    plugged.busNumber = 1;
    plugged.deviceAddress = uint8_t(d->nextAddress);
    d->nextAddress = d->nextAddress % 127 + 1;
    if (port <= 0)
        port = d->nextPort++;
    plugged.port = port;
    const QString name = QStringLiteral("1-%1").arg(port);
    const QString usbPath = QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/") + name;
    plugged.usbSyspath = QStringLiteral("/sys") + usbPath;
    plugged.usbNode = QStringLiteral("/dev/bus/usb/%1/%2")
                          .arg(plugged.busNumber, 3, 10, QLatin1Char('0'))
                          .arg(plugged.deviceAddress, 3, 10, QLatin1Char('0'));

    // Handlers first, so that the node answers as soon as it is announced.
    d->attach(Node::Usbfs, plugged.usbNode, device, 0);

    QString record;
    const auto hex4 = [](uint16_t v) { return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')); };
    // Attribute files end with a newline, as the kernel writes them.
    record += QStringLiteral("P: %1\nN: %2\n").arg(usbPath, plugged.usbNode.mid(5));
    record += QStringLiteral("E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\n");
    record += QStringLiteral("E: DEVNAME=%1\n").arg(plugged.usbNode);
    record += QStringLiteral("E: BUSNUM=%1\nE: DEVNUM=%2\n")
                  .arg(plugged.busNumber, 3, 10, QLatin1Char('0'))
                  .arg(plugged.deviceAddress, 3, 10, QLatin1Char('0'));
    record += QStringLiteral("E: PRODUCT=%1/%2/%3\n")
                  .arg(desc.vendorId, 0, 16).arg(desc.productId, 0, 16).arg(desc.bcdDevice, 0, 16);
    record += QStringLiteral("A: idVendor=%1\\n\nA: idProduct=%2\\n\nA: bcdDevice=%3\\n\n")
                  .arg(hex4(desc.vendorId), hex4(desc.productId), hex4(desc.bcdDevice));
    record += QStringLiteral("A: busnum=%1\\n\nA: devnum=%2\\n\nA: devpath=%3\\n\n")
                  .arg(plugged.busNumber).arg(plugged.deviceAddress).arg(port);
    record += QStringLiteral("A: manufacturer=%1\\n\nA: product=%2\\n\nA: serial=%3\\n\n")
                  .arg(desc.manufacturer, desc.product, desc.serial);
    record += QStringLiteral("A: bConfigurationValue=1\\n\nA: bNumConfigurations=1\\n\nA: speed=480\\n\n");
    record += QStringLiteral("A: dev=189:%1\\n\n").arg(plugged.deviceAddress);
    record += QStringLiteral("H: descriptors=%1\n\n").arg(hex(desc.deviceDescriptor + desc.configuration));

    // Interface nodes (first alternate setting of each).
    QStringList interfaceNumbers;
    {
        qsizetype offset = 0;
        const QByteArray &c = desc.configuration;
        while (offset + 9 <= c.size()) {
            const uint8_t length = uint8_t(c.at(offset));
            if (length < 2)
                break;
            if (uint8_t(c.at(offset + 1)) == 0x04 && uint8_t(c.at(offset + 3)) == 0) {
                const int number = uint8_t(c.at(offset + 2));
                const QString ifName = QStringLiteral("%1:1.%2").arg(name).arg(number);
                record += QStringLiteral("P: %1/%2\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n")
                              .arg(usbPath, ifName);
                record += QStringLiteral("A: bInterfaceNumber=%1\\n\nA: bInterfaceClass=%2\\n\n"
                                         "A: bInterfaceSubClass=%3\\n\nA: bInterfaceProtocol=%4\\n\n\n")
                              .arg(number, 2, 16, QLatin1Char('0'))
                              .arg(uint8_t(c.at(offset + 5)), 2, 16, QLatin1Char('0'))
                              .arg(uint8_t(c.at(offset + 6)), 2, 16, QLatin1Char('0'))
                              .arg(uint8_t(c.at(offset + 7)), 2, 16, QLatin1Char('0'));
            }
            offset += length;
        }
    }

    for (size_t i = 0; i < desc.hid.size(); ++i) {
        const QString ifPath =
            QStringLiteral("%1/%2:1.%3").arg(usbPath, name).arg(desc.hid[i].interfaceNumber);
        const QString hidName = QStringLiteral("0003:%1:%2.%3")
                                    .arg(hex4(desc.vendorId).toUpper(), hex4(desc.productId).toUpper())
                                    .arg(d->nextHid++, 4, 16, QLatin1Char('0'));
        const QString hidPath = ifPath + QLatin1Char('/') + hidName;
        record += QStringLiteral("P: %1\nE: SUBSYSTEM=hid\nE: DRIVER=hid-generic\n").arg(hidPath);
        record += QStringLiteral("E: HID_ID=0003:0000%1:0000%2\n")
                      .arg(hex4(desc.vendorId).toUpper(), hex4(desc.productId).toUpper());
        record += QStringLiteral("E: HID_NAME=%1 %2\nE: HID_UNIQ=%3\n")
                      .arg(desc.manufacturer, desc.product, desc.serial);
        record += QStringLiteral("H: report_descriptor=%1\n\n").arg(hex(desc.hid[i].reportDescriptor));

        const int index = d->nextHidraw++;
        const QString node = QStringLiteral("/dev/hidraw%1").arg(index);
        const QString hidrawPath = hidPath + QStringLiteral("/hidraw/hidraw%1").arg(index);
        record += QStringLiteral("P: %1\nN: hidraw%2\nE: SUBSYSTEM=hidraw\nE: DEVNAME=%3\n")
                      .arg(hidrawPath).arg(index).arg(node);
        record += QStringLiteral("A: dev=241:%1\\n\n\n").arg(index);
        plugged.hidrawNodes.push_back(node);
        plugged.hidrawSyspaths.push_back(QStringLiteral("/sys") + hidrawPath);
        d->attach(Node::Hidraw, node, device, int(i));
    }

    if (desc.videoControlInterface) {
        const int index = d->nextVideo++;
        plugged.videoNode = QStringLiteral("/dev/video%1").arg(index);
        const QString videoPath = QStringLiteral("%1/%2:1.%3/video4linux/video%4")
                                      .arg(usbPath, name)
                                      .arg(*desc.videoControlInterface)
                                      .arg(index);
        plugged.videoSyspath = QStringLiteral("/sys") + videoPath;
        record += QStringLiteral("P: %1\nN: video%2\nE: SUBSYSTEM=video4linux\nE: DEVNAME=%3\n")
                      .arg(videoPath).arg(index).arg(plugged.videoNode);
        record += QStringLiteral("A: index=0\\n\nA: name=%1\\n\nA: dev=81:%2\\n\n\n").arg(desc.product).arg(index);
        d->attach(Node::Video, plugged.videoNode, device, 0);
    }

    GError *error = nullptr;
    const QByteArray utf8 = record.toUtf8();
    if (!umockdev_testbed_add_from_string(d->testbed, utf8.constData(), &error)) {
        qWarning("cannot add the device: %s", error ? error->message : "?");
        g_clear_error(&error);
    }

    for (const QString &node : plugged.hidrawNodes) {
        Node *state = d->find(node);
        const QByteArray path = node.toUtf8();
        std::lock_guard<std::mutex> nodeLock(state->mutex);
        state->masterFd = umockdev_testbed_get_dev_fd(d->testbed, path.constData());
    }

    if (announce)
        sendAdd(plugged);
    return plugged;
}

void UmockdevBus::announce(const PluggedDevice &plugged)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    sendAdd(plugged);
}

void UmockdevBus::sendAdd(const PluggedDevice &plugged)
{
    QStringList paths{plugged.usbSyspath};
    for (const QString &p : plugged.hidrawSyspaths)
        paths << p;
    if (!plugged.videoSyspath.isEmpty())
        paths << plugged.videoSyspath;
    for (const QString &p : paths) {
        const QByteArray path = p.toUtf8();
        umockdev_testbed_uevent(d->testbed, path.constData(), "add");
    }
}

void UmockdevBus::unplug(const PluggedDevice &plugged)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    // Children first, and the interfaces from the last one down, as the
    // kernel takes a device apart.
    QStringList paths;
    if (!plugged.videoSyspath.isEmpty())
        paths << plugged.videoSyspath;
    for (auto it = plugged.hidrawSyspaths.rbegin(); it != plugged.hidrawSyspaths.rend(); ++it)
        paths << *it;
    paths << plugged.usbSyspath;

    for (const QString &node : plugged.hidrawNodes) {
        if (Node *state = d->find(node))
            state->gone.store(true);
    }
    if (Node *state = d->find(plugged.usbNode))
        state->gone.store(true);
    if (!plugged.videoNode.isEmpty()) {
        if (Node *state = d->find(plugged.videoNode))
            state->gone.store(true);
    }

    for (const QString &p : paths) {
        const QByteArray path = p.toUtf8();
        umockdev_testbed_uevent(d->testbed, path.constData(), "remove");
    }
    const QByteArray usb = plugged.usbSyspath.toUtf8();
    umockdev_testbed_remove_device(d->testbed, usb.constData());

    // The testbed leaves the bus and class links of what it removed behind;
    // a device that comes back at the same port needs those names again.
    const QString root = text(umockdev_testbed_get_root_dir(d->testbed));
    for (const QString &pattern : {QStringLiteral("/sys/bus/*/devices/*"), QStringLiteral("/sys/class/*/*")}) {
        glob_t found{};
        const QByteArray expression = (root + pattern).toLocal8Bit();
        if (::glob(expression.constData(), GLOB_NOSORT, nullptr, &found) == 0) {
            for (size_t i = 0; i < found.gl_pathc; ++i) {
                struct stat target {};
                if (::stat(found.gl_pathv[i], &target) != 0 && errno == ENOENT)
                    ::unlink(found.gl_pathv[i]);   // points at nothing any more
            }
        }
        ::globfree(&found);
    }
}

void UmockdevBus::raiseInputReport(const QString &hidrawNode, const QByteArray &report)
{
    Node *state = nullptr;
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        state = d->find(hidrawNode);
    }
    if (!state || state->gone.load())
        return;
    std::lock_guard<std::mutex> lock(state->mutex);
    state->inputReports.push_back(report);
    if (state->masterFd >= 0) {
        const ssize_t written = ::write(state->masterFd, "r", 1);
        (void)written;
    }
}

int UmockdevBus::ioctlsOn(const QString &node)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    Node *state = d->find(node);
    return state ? state->ioctls.load() : 0;
}

bool UmockdevBus::setNodeAccessible(const QString &node, bool accessible)
{
    gchar *root = umockdev_testbed_get_root_dir(d->testbed);
    const QString path = text(root) + node;
    const QByteArray local = path.toLocal8Bit();
    // The node may be a link to the pty behind it: change what it points to.
    return ::chmod(local.constData(), accessible ? 0666 : 0000) == 0;
}

} // namespace e2e
