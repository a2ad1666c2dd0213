// Throughput of the DFU file check on a 32 MiB firmware file: the CRC alone
// over memory, and the whole check (map, parse with CRC, unmap) on a file.
#include "dfu_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr size_t kImageSize = 32u << 20;

std::vector<uint8_t> makeFile()
{
    std::vector<uint8_t> bytes(kImageSize + 16);
    std::mt19937 gen(1);
    for (size_t i = 0; i < kImageSize; ++i)
        bytes[i] = uint8_t(gen());
    const uint8_t suffix[12] = {0x02, 0x01, 0x18, 0x6E, 0x5C, 0x1D, 0x00, 0x01, 'U', 'F', 'D', 16};
    for (size_t i = 0; i < 12; ++i)
        bytes[kImageSize + i] = suffix[i];
    const uint32_t crc = dfu_crc32(0xFFFFFFFFu, bytes.data(), kImageSize + 12);
    for (size_t i = 0; i < 4; ++i)
        bytes[kImageSize + 12 + i] = uint8_t(crc >> (8 * i));
    return bytes;
}

struct TempFile {
    std::string path;
    TempFile()
    {
        char name[] = "/tmp/dfu-bench-XXXXXX";
        const int fd = mkstemp(name);
        path = name;
        const auto bytes = makeFile();
        if (fd < 0 || write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
            std::abort();
        close(fd);
    }
    ~TempFile() { std::remove(path.c_str()); }
};

void BM_Crc32(benchmark::State &state)
{
    const auto bytes = makeFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(dfu_crc32(0xFFFFFFFFu, bytes.data(), bytes.size() - 4));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size() - 4));
}
BENCHMARK(BM_Crc32)->Unit(benchmark::kMillisecond);

void BM_MapAndParseSuffix(benchmark::State &state)
{
    static TempFile file;
    int64_t total = 0;
    for (auto _ : state) {
        dfu_file f;
        f.name = file.path;
        if (dfu_map_file(&f) != DFU_FILE_MAPPED || dfu_parse_suffix(&f) != DFU_SUFFIX_VALID) {
            state.SkipWithError("the file check failed");
            break;
        }
        total += f.size.total;
        dfu_unmap_file(&f);
    }
    state.SetBytesProcessed(total);
}
BENCHMARK(BM_MapAndParseSuffix)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
