#pragma once
// The backend the process talks to devices through: chosen once at start-up
// (see installBackendFromEnvironment) and the same for every part.

#include "platform/Hid.h"
#include "platform/Usb.h"

#include <memory>

namespace platform {

class Backend {
public:
    virtual ~Backend() = default;
    virtual QString name() const = 0;
    virtual std::unique_ptr<HidManager> createHidManager() = 0;
    virtual UsbBus &usbBus() = 0;
};

// Installs the process-wide backend (replacing any earlier one; tests swap
// backends between cases).
void installBackend(std::unique_ptr<Backend> backend);
void installBackend(std::shared_ptr<Backend> backend);

// The installed backend. Aborts when none was installed.
Backend &backend();
bool hasBackend();

// Reads ORVALINDE_BACKEND ("sim" or "linux"; by default "sim" when
// ORVALINDE_SIM_DEVICES is set, else "linux") and installs that backend.
// False, with the reason in error, for any other value: nothing is
// installed. Defined by the backends library, not by the core.
bool installBackendFromEnvironment(QString *error = nullptr);

} // namespace platform
