#pragma once
// A zip archive as the devices hand out their logs: every entry stored
// (no compression), with its CRC-32, a local header per entry and the
// central directory at the end, so that any unzip reads it.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>

namespace sim {

struct SimZipEntry {
    QString name;       // path inside the archive, "/" between folders
    QByteArray data;
};

// The archive of the entries, stamped with the given time (local time, to
// two seconds as zip keeps it).
QByteArray storedZip(const QList<SimZipEntry> &entries,
                     const QDateTime &modified = QDateTime(QDate(2024, 1, 1), QTime(0, 0)));

// The CRC-32 of zip (and of Ethernet, PNG, gzip): reflected, polynomial
// 0xEDB88320, starting from and ending with all ones.
uint32_t crc32(const QByteArray &data);

} // namespace sim
