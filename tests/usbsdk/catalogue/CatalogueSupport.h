#pragma once
// A simulated Orbrin or Vasko device on its own bus, reached the way the
// application reaches it: a HID manager over the simulated backend reports
// the protocol interface, and a family object is made from a device model
// that holds it.

#include "QOVABaseUSBDevice.h"
#include "QOVADeviceModel.h"
#include "QOVAOrbrinDevice.h"
#include "QOVAVaskoDevice.h"
#include "sim/SimBackend.h"
#include "sim/SimBus.h"
#include "sim/SimDevice.h"
#include "sim/catalogue/SimOrbrinRequestHandler.h"
#include "sim/catalogue/SimVaskoRequestHandler.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QThread>

#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <optional>

// Readable failure output.
inline void PrintTo(const QJsonObject &object, std::ostream *os)
{
    *os << QJsonDocument(object).toJson(QJsonDocument::Compact).constData();
}

namespace sim {
inline void PrintTo(Family family, std::ostream *os)
{
    *os << (family == Family::Orbrin ? "Orbrin" : family == Family::Vasko ? "Vasko" : "Pirok");
}
} // namespace sim

namespace cataloguetest {

inline bool waitUntil(const std::function<bool()> &pred, int limitMs = 8000)
{
    QDeadlineTimer deadline(limitMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Lets queued work run for a moment (for checks that nothing happened).
inline void settle(int ms = 50)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

// What one request's callbacks received.
struct Outcome {
    int calls = 0;
    std::optional<QString> failure;
    std::optional<QString> success;
    std::optional<QOVAReplyObject> completion;

    QOVAFailureBlock failureBlock()
    {
        return [this](const QString &text) { ++calls, failure = text; };
    }
    QOVASuccessBlock successBlock()
    {
        return [this](const QString &text) { ++calls, success = text; };
    }
    QOVACompletionBlock completionBlock()
    {
        return [this](const QOVAReplyObject &object) { ++calls, completion = object; };
    }
    QOVAModelRef model() const
    {
        if (!completion || !std::holds_alternative<QOVAModelRef>(*completion))
            return nullptr;
        return std::get<QOVAModelRef>(*completion);
    }
    std::optional<QByteArray> bytes() const
    {
        if (!completion || !std::holds_alternative<QByteArray>(*completion))
            return std::nullopt;
        return std::get<QByteArray>(*completion);
    }
};

constexpr uint32_t kProtocolUsagePage = 0xFFA0;

class SimulatedFamilyDevice {
public:
    explicit SimulatedFamilyDevice(sim::Family family, const QString &firmware = QString(),
                                   bool dfuModel = false)
    {
        bus = sim::SimBus::create();
        sim::SimDeviceConfig config;
        config.family = family;
        config.serial = family == sim::Family::Orbrin ? QStringLiteral("OR30000001")
                                                      : QStringLiteral("VS30000002.01");
        config.firmwareVersion = firmware;
        device = bus->plug(config);
        if (family == sim::Family::Orbrin)
            handler = std::make_shared<sim::SimOrbrinRequestHandler>();
        else
            handler = std::make_shared<sim::SimVaskoRequestHandler>();
        device->setRequestHandler(handler);

        backend = std::make_unique<sim::SimBackend>(bus);
        manager = backend->createHidManager();
        manager->setDeviceMatching({{sim::kVendorId, sim::runProductId(family)}});
        manager->setCallbacks(
            [this](const platform::HidDeviceRef &d) {
                if (d->identity().primaryUsagePage != kProtocolUsagePage)
                    return;
                std::lock_guard<std::mutex> lock(mutex);
                hid = d;
            },
            [](const platform::HidDeviceRef &) {});
        manager->open();
        waitUntil([this] {
            std::lock_guard<std::mutex> lock(mutex);
            return hid != nullptr;
        });

        model = std::make_shared<QOVADeviceModel>();
        model->setProductVID(QStringLiteral("1d5c"));
        model->setProductPID(QString::asprintf("%04x", sim::runProductId(family)));
        model->setProductseriaNumber(config.serial);
        model->setDeviceRef(hid);
        model->setDfuDevice(dfuModel);
        if (family == sim::Family::Orbrin)
            object = std::make_shared<QOVAOrbrinDevice>(model);
        else
            object = std::make_shared<QOVAVaskoDevice>(model);
    }

    ~SimulatedFamilyDevice()
    {
        object.reset();
        manager->close();
    }

    bool ready() const { return hid != nullptr; }

    std::shared_ptr<sim::SimBus> bus;
    std::shared_ptr<sim::SimDevice> device;
    std::shared_ptr<sim::SimCatalogueRequestHandler> handler;
    std::unique_ptr<sim::SimBackend> backend;
    std::unique_ptr<platform::HidManager> manager;
    std::mutex mutex;
    platform::HidDeviceRef hid;
    QOVADeviceModelRef model;
    std::shared_ptr<QOVABaseUSBDevice> object;
};

} // namespace cataloguetest
