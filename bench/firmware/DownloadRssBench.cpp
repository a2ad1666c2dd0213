// Resident memory while a 64 MiB package downloads from a local nginx over
// HTTPS: the downloader appends chunks as they arrive, so the process should
// grow by about its read buffer, not by the package.
//
//   bench_download_rss [MiB]
#include "QOVAAFSessionSingleton.h"
#include "QOVADownloader.h"
#include "support/NginxServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <random>

namespace {

long rssKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("OrvalindeBench"));
    const qint64 mib = argc > 1 ? QByteArray(argv[1]).toLongLong() : 64;

    testsupport::NginxServer server;
    if (testsupport::NginxServer::nginxPath().isEmpty()) {
        std::fprintf(stderr, "nginx is not installed\n");
        return 0;
    }
    if (!server.start()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.why()));
        return 1;
    }
    {
        QByteArray package(mib << 20, '\0');
        std::mt19937 gen(3);
        for (char &c : package)
            c = char(gen());
        server.put(QStringLiteral("big.dfu"), package);
    }  // the package is not in this process's memory while it downloads
    QOVAAFSessionSingleton::setSslConfiguration(server.sslConfiguration());

    const long before = rssKiB();
    long peak = before;
    long samples = 0;
    QElapsedTimer timer;
    timer.start();
    int rc = 1;
    QOVADownloader downloader;
    downloader.setTargetVersion(QStringLiteral("1"));
    downloader.downloadFileFromPath(
        server.url(QStringLiteral("/files/big.dfu")),
        [&](qint64, qint64) {
            ++samples;
            const long now = rssKiB();
            if (now > peak)
                peak = now;
        },
        [&](const QString &path) {
            const double seconds = timer.elapsed() / 1000.0;
            std::printf("downloaded %lld MiB to %s in %.2f s (%.0f MiB/s)\n", mib, qPrintable(path),
                        seconds, mib / seconds);
            rc = 0;
            app.quit();
        },
        [&](const QOVANetworkError &error) {
            std::fprintf(stderr, "failed: %s\n", qPrintable(error.localizedDescription));
            app.quit();
        });
    app.exec();
    const long after = rssKiB();
    std::printf("VmRSS before %ld KiB, peak %ld KiB (+%ld KiB) over %ld progress calls, after %ld KiB\n",
                before, peak, peak - before, samples, after);
    return rc;
}
