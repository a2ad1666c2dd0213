#include "QOVACaptureSource.h"

#include "QOVAMediaModule.h"

namespace {
QOVACaptureSource::Factory &installedFactory()
{
    static QOVACaptureSource::Factory factory;
    return factory;
}
} // namespace

void QOVACaptureSource::installFactory(Factory factory)
{
    installedFactory() = std::move(factory);
}

QOVACaptureSource *QOVACaptureSource::create(const QString &uniqueID, QObject *parent)
{
    if (const Factory &factory = installedFactory())
        return factory(uniqueID, parent);
    return QOVAMediaModule::createCaptureSource(uniqueID, parent);
}
