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
#include "sim/camera/SimAudioCapture.h"
#include "sim/camera/SimCaptureSource.h"
#endif

#include "log/log.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace platform {

bool installBackendFromEnvironment(QString *error)
{
    const QByteArray devices = qgetenv("ORVALINDE_SIM_DEVICES");
    QByteArray choice = qgetenv("ORVALINDE_BACKEND").trimmed().toLower();
    if (choice.isEmpty())
        choice = devices.isEmpty() ? QByteArray("linux") : QByteArray("sim");

    if (choice == "linux") {
        installBackend(createLinuxBackend());
        return true;
    }
    if (choice != "sim") {
        if (error)
            *error = QStringLiteral("ORVALINDE_BACKEND must be \"sim\" or \"linux\", not \"%1\"")
                         .arg(QString::fromLocal8Bit(choice));
        return false;
    }

    // Every simulated device gets the device side of each protocol: the
    // request catalogue, camera controls and firmware download.
    sim::registerUvcControls();
    sim::SimBus::addGlobalDeviceSetup([](sim::SimDevice &device) {
        if (auto handler = sim::makeCatalogueRequestHandler(device.family())) {
            if (device.isSetupPending()) {
                if (auto state = std::dynamic_pointer_cast<sim::SimCatalogueRequestHandler>(handler))
                    state->setNeedsOob(true);
            }
            device.setRequestHandler(handler);
        }
        sim::attachSimDfu(device.shared_from_this());
    });

    auto bus = sim::SimBus::shared();
    QString problem;
    bus->plugList(QString::fromLocal8Bit(devices), &problem);
    if (!problem.isEmpty())
        std::fprintf(stderr, "ORVALINDE_SIM_DEVICES: %s\n", qPrintable(problem));
#ifdef ORVALINDE_SIM_CAMERA
    sim::SimCaptureSource::install(bus);
    sim::SimAudioCapture::install(bus);
#endif
    auto backend = std::make_shared<sim::SimBackend>(bus);
    const QString name = sim::SimControlServer::defaultName();
    if (!backend->startControlServer(name, &problem))
        std::fprintf(stderr, "simulated bus: no control socket %s: %s\n", qPrintable(name),
                     qPrintable(problem));
    installBackend(std::shared_ptr<Backend>(backend));
    return true;
}

} // namespace platform
