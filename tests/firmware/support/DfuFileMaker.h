#pragma once
// Builds DFU files for tests: an image followed by a 16-byte suffix whose
// fields can each be spoiled on purpose.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <optional>
#include <random>

namespace testsupport {

// CRC-32 bit by bit (reflected 0xEDB88320, initial all ones, no final
// inversion), kept apart from the table-driven one under test.
inline uint32_t slowDfuCrc(const QByteArray &bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (char ch : bytes) {
        crc ^= uint8_t(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? (0xEDB88320u ^ (crc >> 1)) : (crc >> 1);
    }
    return crc;
}

inline QByteArray randomBytes(qsizetype size, uint32_t seed = 1)
{
    std::mt19937 gen(seed);
    QByteArray out(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        out[i] = char(gen() & 0xFF);
    return out;
}

struct SuffixFields {
    uint16_t bcdDevice = 0x0102;
    uint16_t idProduct = 0x6E18;
    uint16_t idVendor = 0x1D5C;
    uint16_t bcdDFU = 0x0100;
    QByteArray signature = "UFD";
    uint8_t bLength = 16;
    std::optional<uint32_t> crc;  // none: the right CRC
};

inline QByteArray withSuffix(const QByteArray &image, const SuffixFields &fields = {})
{
    QByteArray out = image;
    auto put16 = [&out](uint16_t v) {
        out.append(char(v & 0xFF));
        out.append(char(v >> 8));
    };
    put16(fields.bcdDevice);
    put16(fields.idProduct);
    put16(fields.idVendor);
    put16(fields.bcdDFU);
    out.append(fields.signature.left(3));
    out.append(char(fields.bLength));
    const uint32_t crc = fields.crc.value_or(slowDfuCrc(out));
    for (int i = 0; i < 4; ++i)
        out.append(char((crc >> (8 * i)) & 0xFF));
    return out;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace testsupport
