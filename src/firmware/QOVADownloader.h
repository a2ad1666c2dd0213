#pragma once
// Downloads one firmware package into the application's data folder and
// resumes an interrupted download where it stopped. Per package address two
// settings remember the size the whole file will have ("<address>Size") and
// the firmware version it holds ("<address>Version"); with the file on disk
// they decide whether the package is complete, can be resumed, or must be
// fetched anew (checkLocalFile).
//
// Chunks are appended to the file as they arrive; the package is never held
// in memory whole. Every callback runs on the main thread.

#include "QOVANetworkError.h"

#include <QFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>

class QNetworkReply;

class QOVADownloader : public QObject {
    Q_OBJECT
public:
    // Bytes on disk and bytes the whole file will have (-1 while unknown).
    using ProgressBlock = std::function<void(qint64 received, qint64 expected)>;
    using SuccessBlock = std::function<void(const QString &path)>;
    using FailedBlock = std::function<void(const QOVANetworkError &error)>;

    enum LocalFileState {
        LocalFileComplete = 0,  // nothing to fetch
        LocalFilePartial = 1,   // resume from the file's end
        LocalFileNone = 2,      // fetch from byte 0
    };

    // The longest a transfer may go without a byte from the server (from
    // the request to the first byte, and between any two), scaled by the
    // time scale (networkBoundMs). A transfer idle for longer is given up and fails with
    // TimedOut; the partial file and its bookkeeping stay for a resume.
    static constexpr int kIdleTimeoutMs = 60 * 1000;
    // A bound of an exchange with the update server, scaled by the time
    // scale, but never below a few seconds: a round trip over the network
    // does not get faster when the program's periods are scaled down.
    static constexpr int kNetworkFloorMs = 4000;
    static int networkBoundMs(int milliseconds);

    explicit QOVADownloader(QObject *parent = nullptr);
    ~QOVADownloader() override;

    // Deletes a package this downloader kind wrote into the download folder
    // together with the bookkeeping of every address saved under that file,
    // so that the next download of it starts from byte 0. A file that a
    // download is writing at this moment is left to that download (false),
    // as is any path outside the download folder. Safe from any thread.
    static bool discardDownloadedFile(const QString &path);

    // The one entry: fetches, resumes, or reports the complete file.
    void downloadFileFromPath(const QString &address, ProgressBlock progress, SuccessBlock success,
                              FailedBlock failed);

    int checkLocalFile();
    void removeExpiredFile();
    // Ends the transfer under way; the failure callback gets a cancel error.
    void cancel();

    // The address of the request under way (empty when none).
    QUrl currentRequestUrl() const;

    QString targetVersion() const { return m_targetVersion; }
    void setTargetVersion(const QString &version) { m_targetVersion = version; }
    // The MD5 digest from the update check (32 hexadecimal digits, any case);
    // anything else means no check.
    QString expectedMd5() const { return m_expectedMd5; }
    void setExpectedMd5(const QString &md5) { m_expectedMd5 = md5; }
    qint64 fileLength() const { return m_fileLength; }
    qint64 currentLength() const { return m_currentLength; }
    QString destinationPath() const { return m_destinationPath; }
    void setDestinationPath(const QString &path) { m_destinationPath = path; }
    QString sourcePath() const { return m_sourcePath; }
    void setSourcePath(const QString &address) { m_sourcePath = address; }

    // The file's size in bytes; 0 when there is none.
    static qint64 fileSizeForPath(const QString &path);
    // The file name a package address is saved under; empty when the address
    // names no usable file.
    static QString getFileName(const QString &address);
    // The application's data folder (the one that holds "logs").
    static QString downloadFolder();
    // The settings keys of an address.
    static QString sizeKey(const QString &address);
    static QString versionKey(const QString &address);
    // The validators of the package a partial file came from (its ETag and
    // Last-Modified), so that a resume asks for the rest of that package only.
    static QString etagKey(const QString &address);
    static QString lastModifiedKey(const QString &address);
    // True when the digest text is one the downloader checks against.
    static bool isMd5(const QString &md5);
    // The MD5 digest of a file's contents as 32 lowercase hex digits; empty
    // when the file can't be read.
    static QString fileMd5(const QString &path);

private:
    void startTask();
    void handleHead();
    void handleData();
    void handleFinished();
    void failNow(const QOVANetworkError &error);
    void finishWithFile();
    void end();
    void removeKeys();
    // Drops the reply, the file and its bookkeeping and asks again from byte
    // 0; false when that was done once already.
    bool startOver();
    void dropReply();
    void idleTimedOut();
    static void removeKeysOf(const QString &address);

    QString m_targetVersion;
    QString m_expectedMd5;
    qint64 m_fileLength = 0;
    qint64 m_currentLength = 0;
    QString m_destinationPath;
    QString m_sourcePath;
    ProgressBlock m_progressBlock;
    SuccessBlock m_successBlock;
    FailedBlock m_failedBlock;

    QPointer<QNetworkReply> m_reply;
    QTimer m_idleTimer;
    QFile m_file;
    bool m_headHandled = false;
    bool m_retriedFromZero = false;
    bool m_claimed = false;   // the destination is registered as being written
    bool m_running = false;
    bool m_cancelled = false;
};
