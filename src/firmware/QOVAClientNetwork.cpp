#include "QOVAClientNetwork.h"

#include "QOVAAFSessionSingleton.h"
#include "log/log.h"
#include "platform/ThreadHop.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QTimer>
#include <QtDebug>

#include <memory>

// The built-in configuration lives in a static library; its resource has to
// be registered by hand.
static void initConfigResource()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(config);
        return true;
    }();
    Q_UNUSED(done);
}

namespace {

QString configurationFile()
{
    const QString fromEnvironment = qEnvironmentVariable("ORVALINDE_UPDATE_CONFIG");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString installed = QStandardPaths::locate(
        QStandardPaths::GenericConfigLocation,
        QStringLiteral("Zentaro® Orvalinde/OrvalindeApp.Config"));
    if (!installed.isEmpty())
        return installed;
    return QStringLiteral(":/config/OrvalindeApp.Config");
}

QString member(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isString() ? value.toString() : QString();
}

} // namespace

QOVAClientNetwork::QOVAClientNetwork(QObject *parent)
    : QObject(parent)
{
}

QOVAClientNetwork *QOVAClientNetwork::sharedClientNetwork()
{
    static QOVAClientNetwork *client = [] {
        auto *c = new QOVAClientNetwork;
        if (auto *app = QCoreApplication::instance()) {
            if (c->thread() != app->thread())
                c->moveToThread(app->thread());
        }
        return c;
    }();
    return client;
}

QJsonObject QOVAClientNetwork::updateConfiguration()
{
    initConfigResource();
    QFile file(configurationFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString QOVAClientNetwork::configurationAddress(int type)
{
    const char *key = nullptr;
    switch (type) {
    case 1: key = "PIROK_CONFIG_URL"; break;
    case 2: key = "ORBRIN_CONFIG_URL"; break;
    case 3: key = "ORBRIN_REMOTECONTROLLER_CONFIG_URL"; break;
    case 4: key = "VASKO_CONFIG_URL"; break;
    default: return {};
    }
    return member(updateConfiguration(), key);
}

void QOVAClientNetwork::getJson(const QUrl &url, const QString &refusal, JsonResult result)
{
    if (!QOVANetworkError::isSecureAddress(url)) {
        const QOVANetworkError error = QOVANetworkError::make(QOVANetworkError::InsecureAddress, refusal);
        // Reported after this call returns, as a reply would be.
        QMetaObject::invokeMethod(this, [error, result = std::move(result)] {
            if (result)
                result(error, QJsonObject());
        }, Qt::QueuedConnection);
        return;
    }
    QNetworkReply *reply =
        QOVAAFSessionSingleton::sharedHttpSessionManager()->get(QOVAAFSessionSingleton::request(url));
    // The reply holds no more than this before it stops reading the socket;
    // what arrives is taken into the body at once, up to the cap.
    reply->setReadBufferSize(16 * 1024);
    struct Reading {
        QByteArray body;
        std::optional<QOVANetworkError> failure;  // our own reason to give up
    };
    auto reading = std::make_shared<Reading>();
    const auto giveUp = [reply, reading](QOVANetworkError error) {
        if (reading->failure || reply->isFinished())
            return;
        reading->failure = std::move(error);
        reply->abort();  // reports through finished, at once
    };
    const auto tooLarge = [giveUp](qint64 size) {
        giveUp(QOVANetworkError::make(QOVANetworkError::ReplyTooLarge,
                                      QStringLiteral("The update server's reply is larger than %1 bytes (%2)")
                                          .arg(kCheckReplyCap).arg(size)));
    };
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [giveUp] {
        giveUp(QOVANetworkError::make(QOVANetworkError::TimedOut,
                                      QStringLiteral("The update server did not answer in time")));
    });
    deadline->start(QOVADownloader::networkBoundMs(kCheckTimeoutMs));
    // Qt frees a reply's connections at times on its HTTP thread.
    using platform::markedSlot;
    connect(reply, &QNetworkReply::metaDataChanged, reply, markedSlot([reply, tooLarge] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > kCheckReplyCap)
            tooLarge(length.toLongLong());
    }));
    const auto take = [reply, reading, tooLarge] {
        while (!reading->failure && reply->bytesAvailable() > 0) {
            const QByteArray chunk = reply->read(kCheckReplyCap + 1 - reading->body.size());
            if (chunk.isEmpty())
                break;
            reading->body += chunk;
            if (reading->body.size() > kCheckReplyCap) {
                reading->body.clear();
                tooLarge(kCheckReplyCap + 1);
                return;
            }
        }
    };
    connect(reply, &QNetworkReply::readyRead, reply, markedSlot(take));
    connect(reply, &QNetworkReply::finished, this, markedSlot([reply, reading, take, deadline, result = std::move(result)] {
        deadline->stop();
        reply->deleteLater();
        if (!reading->failure && reply->error() == QNetworkReply::NoError)
            take();
        if (!result)
            return;
        if (reading->failure) {
            result(*reading->failure, QJsonObject());
            return;
        }
        if (reply->error() != QNetworkReply::NoError) {
            result(QOVANetworkError::fromReply(reply), QJsonObject());
            return;
        }
        // Anything but a JSON object reads as an empty one.
        result(std::nullopt, QJsonDocument::fromJson(reading->body).object());
    }));
}

void QOVAClientNetwork::checkUpgrade(int type, CheckResult result)
{
    const QUrl url(configurationAddress(type));
    if (!QOVANetworkError::isSecureAddress(url))
        QOVA_LOG(ERROR, UI, "update check address \"%s\" refused: not https", qUtf8Printable(url.toString()));
    getJson(url, QStringLiteral("The update address is not https"),
            [result = std::move(result)](const std::optional<QOVANetworkError> &failure,
                                         const QJsonObject &object) {
        std::optional<QOVANetworkError> error = failure;
        const QString version = member(object, "version").trimmed();
        const QString url = member(object, "URL").trimmed();
        if (!error && (version.isEmpty() || url.isEmpty())) {
            // Nothing to offer: a reply that names no version or no package
            // is a failed check, never an update without an address.
            error = QOVANetworkError::make(
                QOVANetworkError::BadCheckReply,
                QStringLiteral("the update server's reply names no version or no package address"));
        }
        if (error && error->code != QOVANetworkError::InsecureAddress)
            qInfo("response error object:%s", qUtf8Printable(error->localizedDescription));
        if (!result)
            return;
        if (error)
            result(error, QString(), QString(), QString());
        else
            result(std::nullopt, version, url, member(object, "md5"));
    });
}

void QOVAClientNetwork::checkApplicationVersion(ApplicationResult result)
{
    const QUrl url(member(updateConfiguration(), "APPLICATION_CONFIG_URL"));
    getJson(url, QStringLiteral("No https address for the application's version"),
            [result = std::move(result)](const std::optional<QOVANetworkError> &failure,
                                         const QJsonObject &object) {
        std::optional<QOVANetworkError> error = failure;
        const QString version = member(object, "version").trimmed();
        if (!error && version.isEmpty())
            error = QOVANetworkError::make(QOVANetworkError::BadCheckReply,
                                           QStringLiteral("the reply names no application version"));
        if (error && error->code != QOVANetworkError::InsecureAddress)
            QOVA_LOG(WARNING, UI, "Application version check failed, %s", qUtf8Printable(error->localizedDescription));
        if (result)
            result(error, error ? QString() : version);
    });
}

bool QOVAClientNetwork::downloadFileFromPath(const QString &address, const QString &targetVersion,
                                             const QString &md5,
                                             QOVADownloader::ProgressBlock progress,
                                             QOVADownloader::SuccessBlock success,
                                             QOVADownloader::FailedBlock failed)
{
    for (const QOVADownloader *d : std::as_const(m_downloaderList)) {
        if (d->sourcePath() == address)
            return true;
    }
    auto *downloader = new QOVADownloader(this);
    downloader->setTargetVersion(targetVersion);
    downloader->setExpectedMd5(md5);
    m_downloaderList.append(downloader);
    downloader->downloadFileFromPath(
        address, std::move(progress),
        [this, downloader, success = std::move(success)](const QString &path) {
            removeDownloader(downloader);
            if (success)
                success(path);
        },
        [this, downloader, failed = std::move(failed)](const QOVANetworkError &error) {
            removeDownloader(downloader);
            if (failed)
                failed(error);
        });
    return false;
}

void QOVAClientNetwork::removeDownloader(QOVADownloader *downloader)
{
    if (m_downloaderList.removeOne(downloader))
        downloader->deleteLater();
}

bool QOVAClientNetwork::isDownloaderExist(const QString &address) const
{
    for (const QOVADownloader *d : m_downloaderList) {
        const QUrl url = d->currentRequestUrl();
        if (!url.isEmpty() && url.toString() == address)
            return true;
    }
    return false;
}

void QOVAClientNetwork::cancelDownloader(const QString &address)
{
    const QList<QOVADownloader *> downloaders = m_downloaderList;
    for (QOVADownloader *d : downloaders) {
        if (d->sourcePath() == address)
            d->cancel();
    }
}
