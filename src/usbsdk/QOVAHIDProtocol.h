#pragma once
// JSON requests of a device family over its HID channel. A family builds the
// requests of the catalogue its class supports; the set is fixed per class.

#include "QOVACallbacks.h"
#include "catalogue/QOVARequestCatalogue.h"

#include <QJsonObject>
#include <QString>

class QOVAHIDProtocol {
public:
    virtual ~QOVAHIDProtocol() = default;

    // Whether this family builds the request (a property of its class).
    virtual bool implementsRequest_HID(QOVARequest request) const = 0;
    // Builds the request and hands it to the family's HID channel; without a
    // channel nothing is sent and no callback runs.
    virtual void sendRequest_HID(QOVARequest request, const QOVARequestArguments &arguments,
                                 const QOVARequestBlocks &blocks) = 0;

    // Head and body passthroughs to the HID channel.
    virtual void getInformationFromUSBDevice_HID(const QString &className, const QJsonObject &head,
                                                 QOVACompletionBlock success,
                                                 QOVAFailureBlock failure) = 0;
    virtual void putInformationToUSBDevice_HID(const QJsonObject &head, const QJsonObject &body,
                                               QOVASuccessBlock success,
                                               QOVAFailureBlock failure) = 0;
};
