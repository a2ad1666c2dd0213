#pragma once
// One device's request channel over its HID interface. A family object hands
// it each request as a head ({"url", "type", "msg_id"}), an optional body and
// the callbacks to run when the reply arrives. The callbacks are filed under
// the message id; the request is framed into feature reports and sent; when
// the device's input report says a reply is ready, the reply is read on the
// HID discovery thread and dispatched on the main thread.
//
// Requests are issued from the main thread. Every callback runs on the main
// thread. Feature transfers of one device never interleave. Every request
// ends: a reply that does not come in time fails it (ordinaryReplyWait).

#include "QOVACallbacks.h"
#include "platform/Hid.h"
#include "platform/Usb.h"

#include <QJsonObject>
#include <QString>

#include <memory>
#include <optional>

class QOVAUSBDeviceHIDInterface {
public:
    // Registers the input-report handler on the HID device.
    QOVAUSBDeviceHIDInterface(platform::UsbDeviceRef deviceInterface,
                              platform::HidDeviceRef deviceRef);
    // Stops input-report delivery and the timers; replies still in flight are
    // dropped without calling back.
    ~QOVAUSBDeviceHIDInterface();

    QOVAUSBDeviceHIDInterface(const QOVAUSBDeviceHIDInterface &) = delete;
    QOVAUSBDeviceHIDInterface &operator=(const QOVAUSBDeviceHIDInterface &) = delete;

    // A GET. className names the payload model that parses the reply body,
    // "NSData" hands over the raw reply bytes.
    void getInformationFromUSBDevice(const QString &className, const QJsonObject &head,
                                     QOVACompletionBlock completion, QOVAFailureBlock failure);

    // A PUT with a JSON body (none when body is empty). success gets "Success!".
    void putInformationToUSBDevice(const QJsonObject &head,
                                   const std::optional<QJsonObject> &body,
                                   QOVASuccessBlock success, QOVAFailureBlock failure);

    // A PUT whose body is the contents of a file; an unreadable file sends the
    // head alone.
    void putFileDataToUSBDevice(const QJsonObject &head, const QString &filePath,
                                QOVASuccessBlock success, QOVAFailureBlock failure);

    // Makes the next reply read stop before its next transfer.
    void setCancel(bool cancel);
    bool isCancel() const;
    bool isRemoteControl() const;

    // Run when the reply to message 21 arrives.
    void setNotificationBlock(QOVAVoidBlock block);
    // Progress of a remote-control upgrade, 0 to 1.
    void setProgressBlock(QOVAProgressBlock block);

    // How long an ordinary request waits for its reply before it fails with
    // the over-time error (seconds, before the time scale). Log and
    // crash-file fetches wait 60 s, the audio test 350 s and a remote-control
    // upgrade 600 s. A late reply is dropped.
    static constexpr double kDefaultReplyWait = 10.0;
    // 0 or less: the default (ORVALINDE_REPLY_WAIT when set, else 10 s).
    static void setOrdinaryReplyWait(double seconds);
    static double ordinaryReplyWait();

    platform::HidDeviceRef deviceRef() const;
    platform::UsbDeviceRef deviceInterface() const;

    // Message id and url of the last request (the url of GETs only).
    QString messageID() const;
    QString messageURL() const;

    struct Impl;

private:
    std::shared_ptr<Impl> d;
};

using QOVAUSBDeviceHIDInterfaceRef = std::shared_ptr<QOVAUSBDeviceHIDInterface>;
