// MD5 of a finished package (256 MiB, in the page cache) as the downloader
// checks it, against OpenSSL's own MD5 over the same file in the same run,
// and against the way it was computed before (QCryptographicHash reading
// through QFile).
#include "QOVADownloader.h"

#include <QCryptographicHash>
#include <QFile>

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr size_t kFileSize = 256u << 20;

struct Package {
    std::string path;
    QString expected;
    Package()
    {
        char name[] = "/tmp/md5-bench-XXXXXX";
        const int fd = mkstemp(name);
        path = name;
        std::vector<char> bytes(kFileSize);
        std::mt19937_64 gen(7);
        for (size_t i = 0; i + 8 <= bytes.size(); i += 8) {
            const uint64_t v = gen();
            memcpy(bytes.data() + i, &v, 8);
        }
        if (fd < 0 || write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
            std::abort();
        close(fd);
        expected = QString::fromLatin1(
            QCryptographicHash::hash(QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                                     QCryptographicHash::Md5).toHex());
    }
    ~Package() { std::remove(path.c_str()); }
};

Package &package()
{
    static Package p;
    return p;
}

void BM_FileMd5(benchmark::State &state)
{
    const QString path = QString::fromStdString(package().path);
    for (auto _ : state) {
        const QString digest = QOVADownloader::fileMd5(path);
        if (digest != package().expected) {
            state.SkipWithError("wrong digest");
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kFileSize));
}
BENCHMARK(BM_FileMd5)->Unit(benchmark::kMillisecond)->UseRealTime();

// OpenSSL's MD5 over the file read in 1 MiB pieces, as its own digest
// command does.
void BM_OpenSslMd5File(benchmark::State &state)
{
    std::vector<char> buffer(1u << 20);
    for (auto _ : state) {
        const int fd = open(package().path.c_str(), O_RDONLY);
        EVP_MD_CTX *ctx = EVP_MD_CTX_new();
        EVP_DigestInit_ex(ctx, EVP_md5(), nullptr);
        ssize_t n;
        while ((n = read(fd, buffer.data(), buffer.size())) > 0)
            EVP_DigestUpdate(ctx, buffer.data(), size_t(n));
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        EVP_DigestFinal_ex(ctx, digest, &length);
        EVP_MD_CTX_free(ctx);
        close(fd);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kFileSize));
}
BENCHMARK(BM_OpenSslMd5File)->Unit(benchmark::kMillisecond)->UseRealTime();

// The previous implementation, for reference.
void BM_QtMd5ThroughQFile(benchmark::State &state)
{
    const QString path = QString::fromStdString(package().path);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot open");
            break;
        }
        QCryptographicHash hash(QCryptographicHash::Md5);
        hash.addData(&file);
        benchmark::DoNotOptimize(hash.result());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kFileSize));
}
BENCHMARK(BM_QtMd5ThroughQFile)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    package();  // written before any timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
