#include "sfb/QOVASFBStereoFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString H = QStringLiteral("[HKEY_CURRENT_USER\\SOFTWARE\\MICROSOFT\\RTC\\ENGINE]");
const QString On = QStringLiteral("\"StereoConfiguration\"=dword:00000001");
const QString Off = QStringLiteral("\"StereoConfiguration\"=dword:00000000");
const QString Other = QStringLiteral("[HKEY_CURRENT_USER\\SOFTWARE\\OTHER]");

struct Case {
    const char *name;
    QString before;
    QString afterOn;
    QString afterOff;
};

} // namespace

TEST(SFBStereoFile, SwitchesTheStereoEntryLineByLine)
{
    const QString crlf = QStringLiteral("\r\n");
    const Case cases[] = {
        {"header and entry 0", H + crlf + Off,
         H + crlf + On, QString()},
        {"header and entry between other sections",
         Other + crlf + H + crlf + Off + crlf + Other + crlf,
         Other + crlf + H + crlf + On + crlf + Other + crlf,
         Other + crlf + Other + crlf},
        {"no header", Other + crlf + QStringLiteral("\"a\"=1"),
         Other + crlf + QStringLiteral("\"a\"=1") + crlf + H + crlf + On,
         Other + crlf + QStringLiteral("\"a\"=1")},
        {"lower-case header", H.toLower() + crlf + Off,
         H + crlf + On, QString()},
        {"header without entry keeps the section's other entries",
         H + crlf + QStringLiteral("\"Other\"=dword:00000002") + crlf,
         H + crlf + On + crlf + QStringLiteral("\"Other\"=dword:00000002") + crlf,
         H + crlf + QStringLiteral("\"Other\"=dword:00000002") + crlf},
        {"entry after blank lines", H + crlf + crlf + Off + crlf + QStringLiteral("\"x\"=1"),
         H + crlf + On + crlf + QStringLiteral("\"x\"=1"),
         H + crlf + crlf + QStringLiteral("\"x\"=1")},
        {"empty file", QString(), crlf + H + crlf + On, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(QOVASFBStereoFile::applyStereo(c.before, true), c.afterOn);
        EXPECT_EQ(QOVASFBStereoFile::applyStereo(c.before, false), c.afterOff);
    }
}

TEST(SFBStereoFile, RepeatedSwitchesDoNotGrowTheContent)
{
    const QString start = QStringLiteral("[X]\r\n\"a\"=1\r\n");
    QString content = QOVASFBStereoFile::applyStereo(start, true);
    const QString once = content;
    for (int i = 0; i < 5; ++i) {
        content = QOVASFBStereoFile::applyStereo(content, false);
        content = QOVASFBStereoFile::applyStereo(content, true);
    }
    EXPECT_EQ(content, once);
    EXPECT_EQ(QOVASFBStereoFile::applyStereo(content, false),
              QOVASFBStereoFile::applyStereo(QOVASFBStereoFile::applyStereo(content, false), false));
}

TEST(SFBStereoFile, HandlesAVeryLongLine)
{
    const QString longLine = H + QString(1 << 20, u'x');
    const QString content = QStringLiteral("[X]\r\n") + longLine + QStringLiteral("\r\n") + Off;
    // The header has trailing text on its line; it is still the header line.
    const QString on = QOVASFBStereoFile::applyStereo(content, true);
    EXPECT_TRUE(on.endsWith(On));
    EXPECT_LT(on.size(), content.size());
}

TEST(SFBStereoFile, ReadsAndWritesUtf16LittleEndianAtomically)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("prefs/rtcpal_registry.reg"));

    // Switching off with no file writes nothing.
    EXPECT_TRUE(QOVASFBStereoFile::setStereoEnable(path, false));
    EXPECT_FALSE(QFile::exists(path));

    ASSERT_TRUE(QOVASFBStereoFile::setStereoEnable(path, true));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    const QString expected = QOVASFBStereoFile::stereoSection();
    ASSERT_EQ(bytes.size(), expected.size() * 2);
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                                 bytes.size() / 2),
              expected);
    EXPECT_EQ(bytes.at(1), '\0');  // little-endian: the high byte of '[' follows it

    ASSERT_TRUE(QOVASFBStereoFile::setStereoEnable(path, false));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().isEmpty());
}

TEST(SFBStereoFile, KeepsAByteOrderMark)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rtcpal_registry.reg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QString text = H + QStringLiteral("\r\n") + Off;
    QByteArray bytes("\xff\xfe", 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    file.write(bytes);
    file.close();

    ASSERT_TRUE(QOVASFBStereoFile::setStereoEnable(path, true));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    EXPECT_TRUE(after.startsWith("\xff\xfe"));
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t *>(after.constData() + 2),
                                 (after.size() - 2) / 2),
              QOVASFBStereoFile::stereoSection());
}

TEST(SFBStereoFile, LeavesAnUnreadableFileAlone)
{
    QTemporaryDir dir;
    // A folder where the file should be: it exists but cannot be read.
    const QString path = dir.filePath(QStringLiteral("rtcpal_registry.reg"));
    ASSERT_TRUE(QDir().mkpath(path));
    EXPECT_FALSE(QOVASFBStereoFile::setStereoEnable(path, true));
    EXPECT_TRUE(QFileInfo(path).isDir());
}
