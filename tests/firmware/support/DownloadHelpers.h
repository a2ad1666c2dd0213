#pragma once
// Runs downloads and update checks to their end in a local event loop.

#include "QOVAClientNetwork.h"
#include "QOVADownloader.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

namespace testsupport {

struct DownloadOutcome {
    bool finished = false;
    bool ok = false;
    int callbacks = 0;
    QString path;
    QOVANetworkError error;
    std::vector<std::pair<qint64, qint64>> progress;
};

// Waits for the outcome; a download that never ends fails the test by its
// ctest time-out, so the guard here is generous.
inline void waitFor(const bool &done)
{
    if (done)
        return;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done)
            loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(90000, &loop, &QEventLoop::quit);
    loop.exec();
    // Let anything queued behind the outcome run (a second callback would
    // show up here).
    QCoreApplication::processEvents();
}

inline std::function<void(qint64, qint64)> recordProgress(DownloadOutcome &o,
                                                          std::function<void(qint64, qint64)> also = {})
{
    return [&o, also](qint64 received, qint64 expected) {
        o.progress.emplace_back(received, expected);
        if (also)
            also(received, expected);
    };
}

inline QOVADownloader::SuccessBlock recordSuccess(DownloadOutcome &o)
{
    return [&o](const QString &path) {
        o.ok = true;
        o.path = path;
        o.finished = true;
        ++o.callbacks;
    };
}

inline QOVADownloader::FailedBlock recordFailure(DownloadOutcome &o)
{
    return [&o](const QOVANetworkError &error) {
        o.ok = false;
        o.error = error;
        o.finished = true;
        ++o.callbacks;
    };
}

inline DownloadOutcome download(const QString &address, const QString &version = QStringLiteral("1.4"),
                                const QString &md5 = QString(),
                                std::function<void(qint64, qint64)> onProgress = {})
{
    DownloadOutcome o;
    QOVADownloader d;
    d.setTargetVersion(version);
    d.setExpectedMd5(md5);
    d.downloadFileFromPath(address, recordProgress(o, onProgress), recordSuccess(o),
                           recordFailure(o));
    waitFor(o.finished);
    return o;
}

struct CheckOutcome {
    bool finished = false;
    std::optional<QOVANetworkError> error;
    QString version, url, md5;
};

inline CheckOutcome checkUpgrade(int type)
{
    CheckOutcome o;
    QOVAClientNetwork::sharedClientNetwork()->checkUpgrade(
        type, [&o](const std::optional<QOVANetworkError> &error, const QString &version,
                   const QString &url, const QString &md5) {
            o.error = error;
            o.version = version;
            o.url = url;
            o.md5 = md5;
            o.finished = true;
        });
    waitFor(o.finished);
    return o;
}

} // namespace testsupport
