// What the capture module takes from the executable that opens it (the
// symbols exports.list makes visible). An executable links only the parts of
// its static libraries that it uses itself: a part that only the module uses
// would be left out where nothing else in its object file is needed, and the
// module would then fail to open, with no camera picture and no microphone
// levels. This file is linked into every executable that opens the module and
// names one symbol of each such part, so that all of them are always there.
#include "camera/QOVACaptureSource.h"
#include "camera/QOVAVideoNodeEnumeration.h"
#include "log/log.h"
#include "platform/linux/UdevSupport.h"
#include "usbsdk/discovery/QOVACaptureIdentity.h"

#include <cstdint>
#include <typeinfo>

extern const void *const orvalinde_media_imports[];

[[gnu::used]] const void *const orvalinde_media_imports[] = {
    &QOVACaptureSource::staticMetaObject,
    &typeid(QOVACaptureSource),
    reinterpret_cast<const void *>(&QOVAVideoNodeEnumeration::udev),
    reinterpret_cast<const void *>(
        static_cast<QString (*)(uint32_t, uint32_t, uint32_t)>(&qova::discovery::captureUniqueID)),
    reinterpret_cast<const void *>(&platform::linuxudev::locationId),
    reinterpret_cast<const void *>(&log_message),
    reinterpret_cast<const void *>(&log_is_running),
};
