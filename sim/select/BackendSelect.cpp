#include "platform/Backend.h"
#include "platform/linux/LinuxBackend.h"

#include "sim/SimBackend.h"
#include "sim/SimBus.h"
#include "sim/SimControlServer.h"
#include "sim/SimDevice.h"
#include "sim/catalogue/SimCatalogueRequestHandler.h"
#include "sim/dfu/SimDfuHandler.h"
#include "sim/uvc/SimUvcControlHandler.h"
#ifdef ORVALINDE_SIM_CAMERA
#include "sim/camera/SimCaptureSource.h"
#endif

#include "log/log.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace platform {

void installBackendFromEnvironment()
{
    const QByteArray devices = qgetenv("ORVALINDE_SIM_DEVICES");
    QByteArray choice = qgetenv("ORVALINDE_BACKEND").trimmed().toLower();
    if (choice.isEmpty())
        choice = devices.isEmpty() ? QByteArray("linux") : QByteArray("sim");

    if (choice == "linux") {
        installBackend(createLinuxBackend());
        return;
    }
    if (choice != "sim") {
        std::fprintf(stderr, "ORVALINDE_BACKEND must be \"sim\" or \"linux\", not \"%s\"\n",
                     choice.constData());
        qFatal("unknown device backend");
    }

    // Every simulated device gets the device side of each protocol: the
    // request catalogue, camera controls and firmware download.
    sim::registerUvcControls();
    sim::SimBus::addGlobalDeviceSetup([](sim::SimDevice &device) {
        if (auto handler = sim::makeCatalogueRequestHandler(device.family()))
            device.setRequestHandler(handler);
        sim::attachSimDfu(device.shared_from_this());
    });

    auto bus = sim::SimBus::shared();
    QString error;
    bus->plugList(QString::fromLocal8Bit(devices), &error);
    if (!error.isEmpty())
        std::fprintf(stderr, "ORVALINDE_SIM_DEVICES: %s\n", qPrintable(error));
#ifdef ORVALINDE_SIM_CAMERA
    sim::SimCaptureSource::install(bus);
#endif
    auto backend = std::make_shared<sim::SimBackend>(bus);
    const QString name = sim::SimControlServer::defaultName();
    if (!backend->startControlServer(name, &error))
        std::fprintf(stderr, "simulated bus: no control socket %s: %s\n", qPrintable(name),
                     qPrintable(error));
    installBackend(std::shared_ptr<Backend>(backend));
}

} // namespace platform
