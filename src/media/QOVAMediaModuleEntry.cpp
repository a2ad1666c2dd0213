// The entry points of the capture module, found by name when the
// application opens it. Everything else the module uses of the application
// (the capture interfaces, the log, the udev helpers) is resolved from the
// executable, which exports it (see exports.list).

#include "camera/QOVAQtCaptureSource.h"
#include "settings/QOVAQtAudioCapture.h"

extern "C" Q_DECL_EXPORT QOVACaptureSource *orvalinde_media_create_capture_source(const QString &uniqueID,
                                                                                  QObject *parent)
{
    return new QOVAQtCaptureSource(uniqueID, parent);
}

extern "C" Q_DECL_EXPORT QOVAAudioCapture *orvalinde_media_create_audio_capture()
{
    return new QOVAQtAudioCapture;
}
