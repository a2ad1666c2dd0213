#include "QOVAMediaModule.h"

#include "camera/QOVACaptureSource.h"
#include "settings/QOVAAudioCapture.h"

#include "log/log.h"

#include <QCoreApplication>
#include <QLibrary>

#include <mutex>

namespace {

using CreateCaptureSource = QOVACaptureSource *(*)(const QString &uniqueID, QObject *parent);
using CreateAudioCapture = QOVAAudioCapture *(*)();

struct Module {
    CreateCaptureSource createCaptureSource = nullptr;
    CreateAudioCapture createAudioCapture = nullptr;
};

QString &pathOverride()
{
    static QString path;
    return path;
}

// Opened once, on the first call, and kept open for the life of the process.
const Module &module()
{
    static Module loaded;
    static std::once_flag once;
    std::call_once(once, [] {
        QLibrary library(QOVAMediaModule::path());
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!library.load()) {
            QOVA_LOG(ERROR, UI, "The capture module could not be opened: %s",
                     qUtf8Printable(library.errorString()));
            return;
        }
        loaded.createCaptureSource =
            reinterpret_cast<CreateCaptureSource>(library.resolve("orvalinde_media_create_capture_source"));
        loaded.createAudioCapture =
            reinterpret_cast<CreateAudioCapture>(library.resolve("orvalinde_media_create_audio_capture"));
        if (!loaded.createCaptureSource || !loaded.createAudioCapture)
            QOVA_LOG(ERROR, UI, "The capture module %s lacks its entry points", qUtf8Printable(library.fileName()));
    });
    return loaded;
}

// A camera that cannot be set up.
class UnavailableCaptureSource : public QOVACaptureSource {
public:
    using QOVACaptureSource::QOVACaptureSource;
    SetupResult setupResult() const override { return ConfigurationFailed; }
    void start(FrameHandler) override {}
    void stop() override {}
    bool isRunning() const override { return false; }
};

// Microphones that cannot be listed.
class UnavailableAudioCapture : public QOVAAudioCapture {
public:
    Authorization authorizationStatus() override { return Authorization::Authorized; }
    QList<QOVAAudioCaptureDevice> audioDevices() override { return {}; }
    std::unique_ptr<QOVAAudioInput> openInput(const QOVAAudioCaptureDevice &, QString *error) override
    {
        if (error)
            *error = QStringLiteral("the capture module is missing");
        return nullptr;
    }
};

} // namespace

QOVACaptureSource *QOVAMediaModule::createCaptureSource(const QString &uniqueID, QObject *parent)
{
    if (const auto create = module().createCaptureSource)
        return create(uniqueID, parent);
    return new UnavailableCaptureSource(parent);
}

std::shared_ptr<QOVAAudioCapture> QOVAMediaModule::createAudioCapture()
{
    if (const auto create = module().createAudioCapture)
        return std::shared_ptr<QOVAAudioCapture>(create());
    return std::make_shared<UnavailableAudioCapture>();
}

QString QOVAMediaModule::path()
{
    if (!pathOverride().isEmpty())
        return pathOverride();
    return QCoreApplication::applicationDirPath() + QStringLiteral("/orvalinde-media.so");
}

void QOVAMediaModule::setPath(const QString &path)
{
    pathOverride() = path;
}

bool QOVAMediaModule::isAvailable()
{
    return module().createCaptureSource && module().createAudioCapture;
}
