#include "sim/SimZip.h"

#include "firmware/dfu_file.h"

#include <algorithm>

namespace sim {

namespace {

void zipPut16(QByteArray &out, uint32_t value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void zipPut32(QByteArray &out, uint32_t value)
{
    zipPut16(out, value & 0xFFFF);
    zipPut16(out, value >> 16);
}

constexpr uint32_t kLocalHeader = 0x04034b50;
constexpr uint32_t kCentralHeader = 0x02014b50;
constexpr uint32_t kEndOfCentralDirectory = 0x06054b50;
constexpr uint16_t kVersionNeeded = 10;            // 1.0: stored entries
constexpr uint16_t kVersionMadeBy = (3 << 8) | 20; // Unix, 2.0
constexpr uint16_t kUtf8Names = 1 << 11;
constexpr uint32_t kRegularFile = 0100644u << 16;  // mode in the external attributes

} // namespace

uint32_t crc32(const QByteArray &data)
{
    return ~dfu_crc32(0xFFFFFFFFu, reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()));
}

QByteArray storedZip(const QList<SimZipEntry> &entries, const QDateTime &modified)
{
    const QDate date = modified.date();
    const QTime time = modified.time();
    const uint16_t dosDate = uint16_t(((std::max(date.year(), 1980) - 1980) << 9) | (date.month() << 5) | date.day());
    const uint16_t dosTime = uint16_t((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2));

    QByteArray archive;
    QByteArray directory;
    for (const SimZipEntry &entry : entries) {
        const QByteArray name = entry.name.toUtf8();
        const uint32_t crc = crc32(entry.data);
        const uint32_t size = uint32_t(entry.data.size());
        const uint32_t offset = uint32_t(archive.size());

        zipPut32(archive, kLocalHeader);
        zipPut16(archive, kVersionNeeded);
        zipPut16(archive, kUtf8Names);
        zipPut16(archive, 0);   // stored
        zipPut16(archive, dosTime);
        zipPut16(archive, dosDate);
        zipPut32(archive, crc);
        zipPut32(archive, size);   // compressed size
        zipPut32(archive, size);
        zipPut16(archive, uint32_t(name.size()));
        zipPut16(archive, 0);   // no extra field
        archive += name;
        archive += entry.data;

        zipPut32(directory, kCentralHeader);
        zipPut16(directory, kVersionMadeBy);
        zipPut16(directory, kVersionNeeded);
        zipPut16(directory, kUtf8Names);
        zipPut16(directory, 0);
        zipPut16(directory, dosTime);
        zipPut16(directory, dosDate);
        zipPut32(directory, crc);
        zipPut32(directory, size);
        zipPut32(directory, size);
        zipPut16(directory, uint32_t(name.size()));
        zipPut16(directory, 0);   // extra field
        zipPut16(directory, 0);   // comment
        zipPut16(directory, 0);   // disk
        zipPut16(directory, 0);   // internal attributes
        zipPut32(directory, kRegularFile);
        zipPut32(directory, offset);
        directory += name;
    }
    const uint32_t directoryOffset = uint32_t(archive.size());
    archive += directory;
    zipPut32(archive, kEndOfCentralDirectory);
    zipPut16(archive, 0);   // this disk
    zipPut16(archive, 0);   // disk of the directory
    zipPut16(archive, uint32_t(entries.size()));
    zipPut16(archive, uint32_t(entries.size()));
    zipPut32(archive, uint32_t(directory.size()));
    zipPut32(archive, directoryOffset);
    zipPut16(archive, 0);   // no comment
    return archive;
}

} // namespace sim
