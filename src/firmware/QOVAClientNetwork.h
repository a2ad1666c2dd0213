#pragma once
// The one client through which the firmware page talks to the update
// server: the update check per device family, and the package downloads,
// one QOVADownloader per package address.
//
// The update-check addresses come from the update configuration
// "OrvalindeApp.Config", a JSON object with the keys PIROK_CONFIG_URL,
// ORBRIN_CONFIG_URL, ORBRIN_REMOTECONTROLLER_CONFIG_URL and VASKO_CONFIG_URL.
// The built-in one is a resource of the application; a file of the same
// name in "Zentaro® Orvalinde" under the user's or the system's
// configuration folder replaces it, and ORVALINDE_UPDATE_CONFIG can name
// another file (for tests). Its optional key APPLICATION_CONFIG_URL names the
// address that tells the newest version of the application itself, and
// UPDATE_CA_CERTIFICATES names a
// PEM file of certificate authorities trusted for the update server besides
// the system's.

#include "QOVADownloader.h"
#include "QOVANetworkError.h"

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QOVAClientNetwork : public QObject {
    Q_OBJECT
public:
    // The longest an update check or the application-version request may
    // take, from the request to the last byte of the reply (scaled by the
    // time scale, see QOVADownloader::networkBoundMs). A request that has not finished by then is given up and
    // fails with TimedOut, which also frees its connection for the next one.
    static constexpr int kCheckTimeoutMs = 60 * 1000;
    // The largest reply of either request that is read. A real reply is a
    // few hundred bytes; a larger one fails with ReplyTooLarge as soon as
    // its announced length or the bytes received pass this, without being
    // read further.
    static constexpr qint64 kCheckReplyCap = 64 * 1024;

    // Error (none on success) and the reply's "version", "URL" and "md5".
    // A reply without a non-empty version and package address is a failed
    // check (BadCheckReply); md5 is null when the reply lacks it.
    using CheckResult = std::function<void(const std::optional<QOVANetworkError> &error,
                                           const QString &version, const QString &url,
                                           const QString &md5)>;

    // Created on first use, on the main thread.
    static QOVAClientNetwork *sharedClientNetwork();

    // Asks the update server of a family (1 Pirok, 2 Orbrin, 3 the Orbrin
    // remote control, 4 Vasko) for its newest firmware. The result arrives
    // once, on the main thread.
    void checkUpgrade(int type, CheckResult result);

    // Asks the address under the optional key APPLICATION_CONFIG_URL for the
    // newest version of this application (the reply's "version"). Without
    // the key, or when the server does not answer with a version, the result
    // carries an error. The result arrives once, on the main thread.
    using ApplicationResult = std::function<void(const std::optional<QOVANetworkError> &error,
                                                 const QString &version)>;
    void checkApplicationVersion(ApplicationResult result);

    // Starts the download of a package. md5 is the digest of the update
    // check; a finished file must match it before success (no check when it
    // is not a 32-digit hexadecimal text). Returns true, and does nothing
    // else, when a download of the same address is already under way.
    bool downloadFileFromPath(const QString &address, const QString &targetVersion,
                              const QString &md5, QOVADownloader::ProgressBlock progress,
                              QOVADownloader::SuccessBlock success,
                              QOVADownloader::FailedBlock failed);

    // True when a downloader's request under way has that address.
    bool isDownloaderExist(const QString &address) const;
    // Cancels every download of the address; each reaches its failure
    // callback with a cancel error.
    void cancelDownloader(const QString &address);

    QList<QOVADownloader *> downloaderList() const { return m_downloaderList; }

    // The update configuration in force, and the address for a family type
    // (empty for any other type or when the key is missing).
    static QJsonObject updateConfiguration();
    static QString configurationAddress(int type);

private:
    explicit QOVAClientNetwork(QObject *parent = nullptr);
    // A GET of a JSON object over https; an address that is not https is
    // refused with an InsecureAddress error carrying the refusal text. The
    // result arrives once, on the main thread, after this call returns.
    using JsonResult = std::function<void(const std::optional<QOVANetworkError> &error,
                                          const QJsonObject &object)>;
    void getJson(const QUrl &url, const QString &refusal, JsonResult result);
    void removeDownloader(QOVADownloader *downloader);

    QList<QOVADownloader *> m_downloaderList;
};
