// Writes a DFU package for a simulated device: an image that names the
// version it installs, followed by a DFU suffix for the family's DFU-mode
// product id. The update server of scripts/run.sh serves these.
//
//   orvalinde-simfw FAMILY VERSION FILE
#include "dfu_file.h"
#include "sim/SimDeviceHost.h"
#include "sim/SimFamily.h"
#include "sim/dfu/SimDfuHandler.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: orvalinde-simfw orbrin|vasko|pirok|remote VERSION FILE\n");
        return 2;
    }
    const QString key = args.at(1);
    const QString version = args.at(2);
    uint16_t productId = 0xFFFF;
    if (key != QLatin1String("remote")) {
        const std::optional<sim::Family> family = sim::familyFromKey(key);
        if (!family) {
            std::fprintf(stderr, "unknown family %s\n", qPrintable(key));
            return 2;
        }
        productId = sim::dfuProductId(*family);
    }

    QByteArray payload(256 * 1024, '\0');
    for (qsizetype i = 0; i < payload.size(); ++i)
        payload[i] = char((i * 131 + i / 977) & 0xFF);
    QByteArray file = sim::simFirmwareImage(version, payload);
    auto put16 = [&file](uint16_t v) {
        file.append(char(v & 0xFF));
        file.append(char(v >> 8));
    };
    put16(sim::versionToBcd(version));
    put16(productId);
    put16(DFU_SUFFIX_VENDOR_ID);
    put16(0x0100);
    file.append("UFD", 3);
    file.append(char(DFU_SUFFIX_LENGTH));
    const uint32_t crc = dfu_crc32(0xFFFFFFFFu, reinterpret_cast<const uint8_t *>(file.constData()),
                                   size_t(file.size()));
    for (int i = 0; i < 4; ++i)
        file.append(char((crc >> (8 * i)) & 0xFF));

    QFile out(args.at(3));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(file) != file.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args.at(3)));
        return 1;
    }
    return 0;
}
