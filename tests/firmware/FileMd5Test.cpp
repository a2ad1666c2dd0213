// The digest a finished package is checked with, against Qt's MD5 over the
// same bytes, around the 64-byte block size and over a mapped megabyte.
#include "QOVADownloader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(FileMd5, SameDigestAsQtForEverySize)
{
    QTemporaryDir dir;
    for (const int size : {0, 1, 55, 56, 63, 64, 65, 128, 4096 + 7, (1 << 20) + 3}) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            bytes[i] = char((i * 131 + size) & 0xFF);
        const QString path = dir.filePath(QStringLiteral("p%1").arg(size));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        EXPECT_EQ(QOVADownloader::fileMd5(path),
                  QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()))
            << size;
    }
    EXPECT_TRUE(QOVADownloader::fileMd5(dir.filePath(QStringLiteral("missing"))).isEmpty());
}
