#include "QOVAAudioCapture.h"

#include "QOVAMediaModule.h"

#include <mutex>

namespace {

std::mutex &captureLock()
{
    static std::mutex lock;
    return lock;
}

std::shared_ptr<QOVAAudioCapture> &installedCapture()
{
    static std::shared_ptr<QOVAAudioCapture> capture;
    return capture;
}

} // namespace

std::shared_ptr<QOVAAudioCapture> QOVAAudioCapture::shared()
{
    std::lock_guard<std::mutex> guard(captureLock());
    if (!installedCapture())
        installedCapture() = QOVAMediaModule::createAudioCapture();
    return installedCapture();
}

void QOVAAudioCapture::setShared(std::shared_ptr<QOVAAudioCapture> capture)
{
    std::lock_guard<std::mutex> guard(captureLock());
    installedCapture() = std::move(capture);
}

std::optional<int> QOVAAudioCapture::findMicrophone(const QList<QOVAAudioCaptureDevice> &devices,
                                                    const QString &serialNumber)
{
    if (serialNumber.isEmpty())
        return std::nullopt;
    std::optional<int> found;
    for (int i = 0; i < devices.size(); ++i) {
        const QString &id = devices[i].uniqueID;
        if (id.endsWith(QLatin1String(".monitor"), Qt::CaseInsensitive))
            continue;
        if (id.contains(serialNumber, Qt::CaseInsensitive))
            found = i;
    }
    return found;
}
