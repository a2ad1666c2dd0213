#include "QOVAAFSessionSingleton.h"

#include "QOVAClientNetwork.h"
#include "platform/ThreadHop.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QThread>

#include <mutex>

namespace {
std::mutex sslMutex;
QSslConfiguration &injectedConfiguration()
{
    static QSslConfiguration configuration = QOVAAFSessionSingleton::configuredSslConfiguration();
    return configuration;
}
} // namespace

// The system's trust, plus the authorities of the PEM file that the update
// configuration names under UPDATE_CA_CERTIFICATES (a server of one's own).
// Verification stays on either way.
QSslConfiguration QOVAAFSessionSingleton::configuredSslConfiguration()
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    const QString caFile =
        QOVAClientNetwork::updateConfiguration().value(QLatin1String("UPDATE_CA_CERTIFICATES")).toString();
    if (!caFile.isEmpty()) {
        const QList<QSslCertificate> extra = QSslCertificate::fromPath(caFile, QSsl::Pem);
        if (extra.isEmpty())
            qWarning("UPDATE_CA_CERTIFICATES: no certificate in %s", qUtf8Printable(caFile));
        configuration.addCaCertificates(extra);
    }
    return configuration;
}

QNetworkAccessManager *QOVAAFSessionSingleton::sharedHttpSessionManager()
{
    static QNetworkAccessManager *manager = [] {
        auto *m = new QNetworkAccessManager;
        if (auto *app = QCoreApplication::instance()) {
            if (m->thread() != app->thread())
                m->moveToThread(app->thread());
            QObject::connect(app, &QObject::destroyed, m, [m] { delete m; });
        }
        return m;
    }();
    return manager;
}

QSslConfiguration QOVAAFSessionSingleton::sslConfiguration()
{
    std::lock_guard<std::mutex> lock(sslMutex);
    return injectedConfiguration();
}

void QOVAAFSessionSingleton::setSslConfiguration(const QSslConfiguration &configuration)
{
    {
        std::lock_guard<std::mutex> lock(sslMutex);
        injectedConfiguration() = configuration;
    }
    // Connections kept open were made under the old trust; the next request
    // makes a new one.
    QNetworkAccessManager *manager = sharedHttpSessionManager();
    if (manager->thread() == QThread::currentThread())
        manager->clearConnectionCache();
    else
        platform::postTo(manager, [manager] { manager->clearConnectionCache(); });
}

QNetworkRequest QOVAAFSessionSingleton::request(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setSslConfiguration(sslConfiguration());
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    return request;
}
