#include "QOVADownloader.h"
#include "util/QOVAUserDefaults.h"

#include "QOVAAFSessionSingleton.h"
#include "log/log.h"
#include "platform/ThreadHop.h"
#include "platform/TimeScale.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <openssl/evp.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Destinations being written, across all downloaders of the process.
std::mutex busyMutex;
QSet<QString> &busyDestinations()
{
    static QSet<QString> set;
    return set;
}

bool claimDestination(const QString &path)
{
    std::lock_guard<std::mutex> lock(busyMutex);
    if (busyDestinations().contains(path))
        return false;
    busyDestinations().insert(path);
    return true;
}

void releaseDestination(const QString &path)
{
    std::lock_guard<std::mutex> lock(busyMutex);
    busyDestinations().remove(path);
}

// Content-Range of a 206 reply: "bytes first-last/total", total "*" when the
// server does not know it.
struct ContentRange {
    bool valid = false;
    qint64 first = 0;
    qint64 last = 0;
    qint64 total = -1;
};

ContentRange parseContentRange(const QByteArray &header)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*bytes\\s+(\\d+)-(\\d+)/(\\d+|\\*)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    ContentRange range;
    const auto m = re.match(QString::fromLatin1(header));
    if (!m.hasMatch())
        return range;
    bool ok1 = false, ok2 = false;
    range.first = m.captured(1).toLongLong(&ok1);
    range.last = m.captured(2).toLongLong(&ok2);
    if (!ok1 || !ok2 || range.last < range.first)
        return range;
    if (m.captured(3) != QLatin1String("*")) {
        bool ok = false;
        range.total = m.captured(3).toLongLong(&ok);
        if (!ok || range.total <= range.last)
            return range;
    }
    range.valid = true;
    return range;
}

constexpr qint64 kReadBufferSize = 1 << 20;

} // namespace

QOVADownloader::QOVADownloader(QObject *parent)
    : QObject(parent)
{
    m_idleTimer.setSingleShot(true);
    connect(&m_idleTimer, &QTimer::timeout, this, &QOVADownloader::idleTimedOut);
}

QOVADownloader::~QOVADownloader()
{
    dropReply();
    m_file.close();
    if (m_claimed)
        releaseDestination(m_destinationPath);
}

QString QOVADownloader::downloadFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Zentaro® Orvalinde");
}

QString QOVADownloader::sizeKey(const QString &address)
{
    // The address is percent-encoded so that its "/" does not make groups.
    return QString::fromLatin1(QUrl::toPercentEncoding(address)) + QStringLiteral("Size");
}

QString QOVADownloader::versionKey(const QString &address)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(address)) + QStringLiteral("Version");
}

QString QOVADownloader::etagKey(const QString &address)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(address)) + QStringLiteral("ETag");
}

QString QOVADownloader::lastModifiedKey(const QString &address)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(address)) + QStringLiteral("LastModified");
}

bool QOVADownloader::isMd5(const QString &md5)
{
    static const QRegularExpression re(QStringLiteral("^[0-9A-Fa-f]{32}$"));
    return re.match(md5).hasMatch();
}

namespace {

// libcrypto's MD5, opened on the first digest: the program does not load it
// at start. Without it the digest falls back to Qt's.
struct CryptoMd5 {
    decltype(&EVP_MD_CTX_new) ctxNew = nullptr;
    decltype(&EVP_MD_CTX_free) ctxFree = nullptr;
    decltype(&EVP_md5) md5 = nullptr;
    decltype(&EVP_DigestInit_ex) init = nullptr;
    decltype(&EVP_DigestUpdate) update = nullptr;
    decltype(&EVP_DigestFinal_ex) final = nullptr;

    bool usable() const { return ctxNew && ctxFree && md5 && init && update && final; }

    static const CryptoMd5 &shared()
    {
        static const CryptoMd5 crypto = [] {
            CryptoMd5 c;
            void *library = dlopen(ORVALINDE_LIBCRYPTO, RTLD_NOW | RTLD_LOCAL);
            if (!library) {
                QOVA_LOG(WARNING, OTHERS, "%s could not be opened, digests use the slower fallback",
                         ORVALINDE_LIBCRYPTO);
                return c;
            }
            c.ctxNew = reinterpret_cast<decltype(c.ctxNew)>(dlsym(library, "EVP_MD_CTX_new"));
            c.ctxFree = reinterpret_cast<decltype(c.ctxFree)>(dlsym(library, "EVP_MD_CTX_free"));
            c.md5 = reinterpret_cast<decltype(c.md5)>(dlsym(library, "EVP_md5"));
            c.init = reinterpret_cast<decltype(c.init)>(dlsym(library, "EVP_DigestInit_ex"));
            c.update = reinterpret_cast<decltype(c.update)>(dlsym(library, "EVP_DigestUpdate"));
            c.final = reinterpret_cast<decltype(c.final)>(dlsym(library, "EVP_DigestFinal_ex"));
            return c;
        }();
        return crypto;
    }
};

} // namespace

// The file is read in 1 MiB pieces straight into the digest: a finished
// package is usually still in the page cache, so this runs at the speed of
// the MD5 rounds (mapping the file instead costs a page fault per 4 KiB).
QString QOVADownloader::fileMd5(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        QOVA_LOG(ERROR, UI, "load file error");
        return {};
    }
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    const CryptoMd5 &crypto = CryptoMd5::shared();
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(crypto.usable() ? crypto.ctxNew() : nullptr,
                                                                 crypto.ctxFree);
    std::optional<QCryptographicHash> fallback;
    if (!crypto.usable())
        fallback.emplace(QCryptographicHash::Md5);
    bool ok = fallback || (ctx && crypto.init(ctx.get(), crypto.md5(), nullptr) == 1);
    std::vector<char> buffer(size_t(1) << 20);
    while (ok) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        if (fallback)
            fallback->addData(QByteArrayView(buffer.data(), n));
        else
            ok = crypto.update(ctx.get(), buffer.data(), size_t(n)) == 1;
    }
    ::close(fd);
    if (!ok)
        return {};
    if (fallback)
        return QString::fromLatin1(fallback->result().toHex());
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (crypto.final(ctx.get(), digest, &length) != 1)
        return {};
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex());
}

qint64 QOVADownloader::fileSizeForPath(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.size() : 0;
}

QString QOVADownloader::getFileName(const QString &address)
{
    if (address.isEmpty())
        return {};
    // The last piece of the path, without query or fragment, decoded only
    // after the split so that an encoded "/" cannot make a path of it.
    const QUrl url(address);
    const QString encodedPath = url.isValid() ? url.path(QUrl::FullyEncoded) : address;
    const QString piece = encodedPath.section(QLatin1Char('/'), -1);
    const QString name = QUrl::fromPercentEncoding(piece.toUtf8());

    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
        || name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        return {};
    if (name.contains(QLatin1String("halvex")))
        return QStringLiteral("zentaroHalvex.zip.dfu");
    if (name.contains(QLatin1String("Skarnfel_Tolm")))
        return QStringLiteral("zentaroVasko.dfu");
    return name;
}

QUrl QOVADownloader::currentRequestUrl() const
{
    return m_reply ? m_reply->request().url() : QUrl();
}

int QOVADownloader::checkLocalFile()
{
    const auto settings = qova_user_defaults();
    const QVariant size = settings->value(sizeKey(m_sourcePath));
    const QVariant version = settings->value(versionKey(m_sourcePath));
    if (!size.isValid() || !version.isValid()) {
        removeExpiredFile();
        return LocalFileNone;
    }
    if (!QFileInfo::exists(m_destinationPath))
        return LocalFileNone;

    const qint64 onDisk = fileSizeForPath(m_destinationPath);
    const qint64 stored = size.toLongLong();
    if (onDisk > stored) {
        removeExpiredFile();
        return LocalFileNone;
    }
    if (version.toString() != m_targetVersion) {
        removeExpiredFile();
        return LocalFileNone;
    }
    return onDisk == stored ? LocalFileComplete : LocalFilePartial;
}

void QOVADownloader::removeExpiredFile()
{
    if (!m_destinationPath.isEmpty())
        QFile::remove(m_destinationPath);
}

void QOVADownloader::removeKeys()
{
    removeKeysOf(m_sourcePath);
}

void QOVADownloader::removeKeysOf(const QString &address)
{
    const auto settings = qova_user_defaults();
    settings->remove(sizeKey(address));
    settings->remove(versionKey(address));
    settings->remove(etagKey(address));
    settings->remove(lastModifiedKey(address));
    settings->sync();
}

bool QOVADownloader::discardDownloadedFile(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = QDir(downloadFolder()).canonicalPath();
    if (folder.isEmpty() || info.canonicalPath() != folder)
        return false;
    const QString destination = downloadFolder() + QLatin1Char('/') + info.fileName();
    // Held while the file and its keys go, so that no download claims the
    // file in between and then finds half of its bookkeeping.
    std::lock_guard<std::mutex> lock(busyMutex);
    if (busyDestinations().contains(destination)) {
        QOVA_LOG(WARNING, UI, "%s is being downloaded again; it stays", qUtf8Printable(info.fileName()));
        return false;
    }
    const auto settings = qova_user_defaults();
    const QStringList keys = settings->childKeys();
    for (const QLatin1String suffix : {QLatin1String("Version"), QLatin1String("Size")}) {
        for (const QString &key : keys) {
            if (!key.endsWith(suffix))
                continue;
            const QString address = QUrl::fromPercentEncoding(key.left(key.size() - suffix.size()).toLatin1());
            if (getFileName(address) == info.fileName())
                removeKeysOf(address);
        }
    }
    return QFile::remove(destination);
}

bool QOVADownloader::startOver()
{
    if (m_retriedFromZero)
        return false;
    m_retriedFromZero = true;
    dropReply();
    m_file.close();
    removeExpiredFile();
    removeKeys();
    startTask();
    return true;
}

void QOVADownloader::downloadFileFromPath(const QString &address, ProgressBlock progress,
                                          SuccessBlock success, FailedBlock failed)
{
    if (m_running)
        return;  // one start per downloader
    m_running = true;
    m_cancelled = false;
    m_sourcePath = address;
    m_progressBlock = std::move(progress);
    m_successBlock = std::move(success);
    m_failedBlock = std::move(failed);
    QOVA_LOG(INFO, UI, "download from path:%s", qUtf8Printable(address));

    if (!QOVANetworkError::isSecureAddress(QUrl(address))) {
        QOVA_LOG(ERROR, UI, "package address \"%s\" refused: not https", qUtf8Printable(address));
        m_destinationPath.clear();
        QMetaObject::invokeMethod(this, [this] {
            failNow(QOVANetworkError::make(QOVANetworkError::InsecureAddress,
                                           QStringLiteral("The package address is not https")));
        }, Qt::QueuedConnection);
        return;
    }
    const QString name = getFileName(address);
    if (name.isEmpty()) {
        m_destinationPath.clear();
        // Reported after this call returns, as every other outcome.
        QMetaObject::invokeMethod(this, [this] {
            failNow(QOVANetworkError::make(QOVANetworkError::BadFileName,
                                           QStringLiteral("The address names no file")));
        }, Qt::QueuedConnection);
        return;
    }
    m_destinationPath = downloadFolder() + QLatin1Char('/') + name;

    // Nothing may touch a file another download is writing.
    if (!claimDestination(m_destinationPath)) {
        QMetaObject::invokeMethod(this, [this] {
            failNow(QOVANetworkError::make(QOVANetworkError::FileBusy,
                                           QStringLiteral("The file is already being downloaded")));
        }, Qt::QueuedConnection);
        return;
    }
    m_claimed = true;

    switch (checkLocalFile()) {
    case LocalFileComplete:
        m_currentLength = fileSizeForPath(m_destinationPath);
        m_fileLength = m_currentLength;
        QMetaObject::invokeMethod(this, [this] { finishWithFile(); }, Qt::QueuedConnection);
        break;
    case LocalFilePartial:
        m_currentLength = fileSizeForPath(m_destinationPath);
        startTask();
        break;
    default:
        m_currentLength = 0;
        startTask();
        break;
    }
}

void QOVADownloader::startTask()
{
    if (!QDir().mkpath(downloadFolder())) {
        QMetaObject::invokeMethod(this, [this] {
            failNow(QOVANetworkError::make(QOVANetworkError::FileWrite,
                                           QStringLiteral("Cannot create %1").arg(downloadFolder())));
        }, Qt::QueuedConnection);
        return;
    }
    m_currentLength = fileSizeForPath(m_destinationPath);
    m_fileLength = 0;
    m_headHandled = false;

    QNetworkRequest request = QOVAAFSessionSingleton::request(QUrl(m_sourcePath));
    request.setRawHeader("Range", QByteArray("bytes=") + QByteArray::number(m_currentLength) + '-');
    if (m_currentLength > 0) {
        // The rest only of the package the file holds the start of; a
        // changed package comes whole (a weak ETag cannot be used for this).
        const auto settings = qova_user_defaults();
        const QByteArray etag = settings->value(etagKey(m_sourcePath)).toByteArray();
        const QByteArray modified = settings->value(lastModifiedKey(m_sourcePath)).toByteArray();
        if (!etag.isEmpty() && !etag.startsWith("W/"))
            request.setRawHeader("If-Range", etag);
        else if (!modified.isEmpty())
            request.setRawHeader("If-Range", modified);
    }
    m_reply = QOVAAFSessionSingleton::sharedHttpSessionManager()->get(request);
    // The reply holds at most this much before it stops reading the socket.
    m_reply->setReadBufferSize(kReadBufferSize);
    // Qt frees a reply's connections at times on its HTTP thread.
    using platform::markedSlot;
    connect(m_reply, &QNetworkReply::readyRead, this, markedSlot([this] { handleData(); }));
    connect(m_reply, &QNetworkReply::finished, this, markedSlot([this] { handleFinished(); }));
    // Any sign of the server (the reply head, a chunk) starts the wait anew.
    const auto restartIdle = markedSlot([this] { m_idleTimer.start(); });
    connect(m_reply, &QNetworkReply::metaDataChanged, &m_idleTimer, restartIdle);
    connect(m_reply, &QNetworkReply::downloadProgress, &m_idleTimer, restartIdle);
    m_idleTimer.start(networkBoundMs(kIdleTimeoutMs));
}

int QOVADownloader::networkBoundMs(int milliseconds)
{
    return std::max(platform::scaledMs(milliseconds), std::min(milliseconds, kNetworkFloorMs));
}

void QOVADownloader::idleTimedOut()
{
    if (!m_reply)
        return;
    QOVA_LOG(ERROR, UI, "no data from %s for %d ms, the download is given up", qUtf8Printable(m_sourcePath),
             m_idleTimer.interval());
    // The partial file and the keys stay for a resume.
    failNow(QOVANetworkError::make(QOVANetworkError::TimedOut,
                                   QStringLiteral("The update server stopped sending the package")));
}

void QOVADownloader::handleHead()
{
    m_headHandled = true;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    bool append = false;
    qint64 total = -1;

    if (status == 206) {
        const ContentRange range = parseContentRange(m_reply->rawHeader("Content-Range"));
        if (!range.valid || range.first != m_currentLength) {
            failNow(QOVANetworkError::make(
                QOVANetworkError::RangeMismatch,
                QStringLiteral("The server sent bytes from %1, the file ends at %2")
                    .arg(range.first).arg(m_currentLength), status));
            return;
        }
        const qint64 stored = qova_user_defaults()->value(sizeKey(m_sourcePath), -1).toLongLong();
        if (m_currentLength > 0 && range.total != stored) {
            // Another package than the one the file holds the start of.
            QOVA_LOG(WARNING, UI, "the package is now %lld bytes, not %lld: download it again",
                     range.total, stored);
            if (!startOver())
                failNow(QOVANetworkError::make(
                    QOVANetworkError::RangeMismatch,
                    QStringLiteral("The package changed while it was downloaded"), status));
            return;
        }
        append = true;
        total = range.total;
    } else if (status == 200) {
        // The server ignored the range and sends the whole package.
        m_currentLength = 0;
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() >= 0)
            total = length.toLongLong();
    } else if (status == 416 && startOver()) {
        // The range lay beyond what the server has: started over, once.
        return;
    } else {
        failNow(QOVANetworkError::make(QOVANetworkError::HttpStatus,
                                       QStringLiteral("The server answered with status %1").arg(status),
                                       status));
        return;
    }

    m_file.setFileName(m_destinationPath);
    const QIODevice::OpenMode mode = append ? (QIODevice::WriteOnly | QIODevice::Append)
                                            : (QIODevice::WriteOnly | QIODevice::Truncate);
    if (!m_file.open(mode)) {
        failNow(QOVANetworkError::make(QOVANetworkError::FileWrite,
                                       QStringLiteral("Cannot open %1: %2")
                                           .arg(m_destinationPath, m_file.errorString()), status));
        return;
    }
    m_fileLength = total;

    const auto settings = qova_user_defaults();
    if (!m_targetVersion.isEmpty())
        settings->setValue(versionKey(m_sourcePath), m_targetVersion);
    if (total >= 0)
        settings->setValue(sizeKey(m_sourcePath), total);
    else
        settings->remove(sizeKey(m_sourcePath));
    const auto storeValidator = [&](const QString &key, const QByteArray &value) {
        if (value.isEmpty())
            settings->remove(key);
        else
            settings->setValue(key, QString::fromLatin1(value));
    };
    storeValidator(etagKey(m_sourcePath), m_reply->rawHeader("ETag"));
    storeValidator(lastModifiedKey(m_sourcePath), m_reply->rawHeader("Last-Modified"));
    settings->sync();
    qInfo("destination:%s", qUtf8Printable(m_destinationPath));
}

void QOVADownloader::handleData()
{
    if (!m_reply)
        return;
    if (!m_headHandled) {
        handleHead();
        if (!m_reply || !m_file.isOpen())
            return;  // failed, or started over
    }
    while (m_reply && m_reply->bytesAvailable() > 0) {
        const QByteArray chunk = m_reply->read(kReadBufferSize);
        if (chunk.isEmpty())
            break;
        if (m_file.write(chunk) != chunk.size() || !m_file.flush()) {
            failNow(QOVANetworkError::make(QOVANetworkError::FileWrite,
                                           QStringLiteral("Cannot write %1: %2")
                                               .arg(m_destinationPath, m_file.errorString())));
            return;
        }
        m_currentLength += chunk.size();
        if (m_progressBlock)
            m_progressBlock(m_currentLength, m_fileLength);
    }
}

void QOVADownloader::handleFinished()
{
    if (!m_reply)
        return;
    QNetworkReply *const reply = m_reply;
    const bool hasStatus = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    if (!m_headHandled && hasStatus) {
        handleHead();
        if (m_reply != reply)
            return;  // failed, or started over with a new reply
    }
    if (m_file.isOpen())
        handleData();
    if (!m_reply)
        return;

    if (m_reply->error() != QNetworkReply::NoError) {
        const QOVANetworkError error = QOVANetworkError::fromReply(m_reply);
        qInfo("File downloaded error:%s", qUtf8Printable(error.localizedDescription));
        failNow(error);  // the partial file and the keys stay for a resume
        return;
    }
    dropReply();
    m_file.close();

    const qint64 onDisk = fileSizeForPath(m_destinationPath);
    if (m_fileLength >= 0 && onDisk != m_fileLength) {
        failNow(QOVANetworkError::make(QOVANetworkError::Incomplete,
                                       QStringLiteral("Received %1 of %2 bytes")
                                           .arg(onDisk).arg(m_fileLength)));
        return;
    }
    finishWithFile();
}

void QOVADownloader::finishWithFile()
{
    if (m_cancelled) {
        QOVANetworkError error;
        error.code = QNetworkReply::OperationCanceledError;
        error.localizedDescription = QStringLiteral("Operation canceled");
        failNow(error);
        return;
    }
    if (!isMd5(m_expectedMd5)) {
        qInfo("File downloaded to: %s", qUtf8Printable(m_destinationPath));
        const QString path = m_destinationPath;
        auto success = m_successBlock;
        end();
        if (success)
            success(path);
        return;
    }

    // The digest is computed off the main thread; the answer comes back here.
    QPointer<QOVADownloader> self(this);
    const QString path = m_destinationPath;
    platform::runOnPool([self, path] {
        const QString digest = QOVADownloader::fileMd5(path);
        platform::postToMain([self, digest] {
            if (!self)
                return;
            if (self->m_cancelled) {
                self->finishWithFile();
                return;
            }
            if (digest.compare(self->m_expectedMd5, Qt::CaseInsensitive) != 0) {
                QOVA_LOG(ERROR, UI, "file md5 %s does not match %s", qUtf8Printable(digest),
                         qUtf8Printable(self->m_expectedMd5));
                self->removeExpiredFile();
                self->removeKeys();
                self->failNow(QOVANetworkError::make(QOVANetworkError::Md5Mismatch,
                                                     QStringLiteral("The file does not match its MD5 digest")));
                return;
            }
            self->m_expectedMd5.clear();  // checked
            self->finishWithFile();
        });
    });
}

void QOVADownloader::failNow(const QOVANetworkError &error)
{
    auto failed = m_failedBlock;
    end();
    if (failed)
        failed(error);
}

void QOVADownloader::dropReply()
{
    m_idleTimer.stop();
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->isRunning() && status >= 400) {
        // An error reply is about to end on its own (aborting it now makes
        // the client report its error twice); its small body is dropped.
        connect(reply, &QNetworkReply::finished, reply,
                platform::markedSlot([reply] { reply->deleteLater(); }));
        return;
    }
    if (reply->isRunning())
        reply->abort();
    reply->deleteLater();
}

void QOVADownloader::end()
{
    dropReply();
    m_file.close();
    m_currentLength = 0;
    m_fileLength = 0;
    if (m_claimed) {
        releaseDestination(m_destinationPath);
        m_claimed = false;
    }
    m_progressBlock = nullptr;
    m_successBlock = nullptr;
    m_failedBlock = nullptr;
}

void QOVADownloader::cancel()
{
    m_cancelled = true;
    if (m_reply) {
        // abort() reports through finished, with the cancel error.
        m_reply->abort();
    }
}
