// The DFU file check: mapping, suffix parsing, CRC and ids, against files
// made here and by dfu-suffix.
#include "dfu_file.h"
#include "support/DfuFileMaker.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class DfuFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeFile(path, bytes));
        return path;
    }

    // Maps and parses a file; returns the parse result (or the map result
    // when mapping failed) and leaves the record in *out.
    int check(const QString &path, dfu_file *out)
    {
        out->name = path.toStdString();
        const int mapped = dfu_map_file(out);
        if (mapped != DFU_FILE_MAPPED)
            return mapped;
        return dfu_parse_suffix(out);
    }

    void TearDown() override
    {
        for (auto &f : mapped)
            dfu_unmap_file(&f);
    }
    std::vector<dfu_file> mapped;
};

TEST(DfuCrc, MatchesTheBitwiseDefinitionAtEveryLength)
{
    // "123456789" is the usual check value: 0xCBF43926 after the final
    // inversion, which suffixes leave out.
    const QByteArray digits = "123456789";
    EXPECT_EQ(dfu_crc32(0xFFFFFFFFu, reinterpret_cast<const uint8_t *>(digits.constData()), 9),
              ~0xCBF43926u);

    // Lengths around the 8-byte stride, and a running value split anywhere.
    const QByteArray data = randomBytes(77, 7);
    for (int len = 0; len <= data.size(); ++len) {
        const QByteArray part = data.left(len);
        const auto *p = reinterpret_cast<const uint8_t *>(part.constData());
        ASSERT_EQ(dfu_crc32(0xFFFFFFFFu, p, size_t(len)), slowDfuCrc(part)) << "length " << len;
        const int cut = len / 3;
        EXPECT_EQ(dfu_crc32(dfu_crc32(0xFFFFFFFFu, p, size_t(cut)), p + cut, size_t(len - cut)),
                  slowDfuCrc(part));
    }
}

TEST_F(DfuFileTest, ValidFileYieldsItsFieldsAndImage)
{
    const QByteArray image = randomBytes(5000);
    SuffixFields fields;
    fields.bcdDevice = 0x0304;
    fields.idProduct = 0x6E13;
    fields.bcdDFU = 0x011A;
    dfu_file f;
    ASSERT_EQ(check(write("good.dfu", withSuffix(image, fields)), &f), DFU_SUFFIX_VALID);
    mapped.push_back(f);
    EXPECT_EQ(f.size.total, 5016);
    EXPECT_EQ(f.size.suffix, 16);
    EXPECT_EQ(f.imageSize(), 5000);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(f.image()), int(f.imageSize())), image);
    EXPECT_EQ(f.bcdDevice, 0x0304);
    EXPECT_EQ(f.idProduct, 0x6E13);
    EXPECT_EQ(f.idVendor, 0x1D5C);
    EXPECT_EQ(f.bcdDFU, 0x011A);
    EXPECT_EQ(f.dwCRC, slowDfuCrc(withSuffix(image, fields).chopped(4)));
}

struct SuffixCase {
    const char *name;
    QByteArray bytes;
    int expected;
};

TEST_F(DfuFileTest, SuffixResultTable)
{
    const QByteArray image = randomBytes(300, 3);
    auto fields = [](auto change) {
        SuffixFields s;
        change(s);
        return s;
    };
    const QByteArray good = withSuffix(image);
    QByteArray flipped = good;
    flipped[10] = char(flipped[10] ^ 0x01);  // a bit of the image flipped after the CRC was made

    const std::vector<SuffixCase> cases = {
        {"good", good, DFU_SUFFIX_VALID},
        {"longer suffix", withSuffix(image, fields([](SuffixFields &s) { s.bLength = 40; })),
         DFU_SUFFIX_VALID},
        {"wrong crc", withSuffix(image, fields([](SuffixFields &s) { s.crc = 0x12345678; })),
         DFU_SUFFIX_CRC_MISMATCH},
        {"image changed", flipped, DFU_SUFFIX_CRC_MISMATCH},
        {"signature forwards", withSuffix(image, fields([](SuffixFields &s) { s.signature = "DFU"; })),
         DFU_SUFFIX_INVALID},
        {"bLength 15", withSuffix(image, fields([](SuffixFields &s) { s.bLength = 15; })),
         DFU_SUFFIX_INVALID},
        {"bLength beyond the file", withSuffix(QByteArray(10, 'x'),
                                               fields([](SuffixFields &s) { s.bLength = 27; })),
         DFU_SUFFIX_INVALID},
        {"15 bytes", good.right(15), DFU_SUFFIX_TOO_SHORT},
        {"suffix only", withSuffix(QByteArray()), DFU_SUFFIX_EMPTY_IMAGE},
        {"bLength covers the whole file", withSuffix(QByteArray(8, 'x'),
                                                     fields([](SuffixFields &s) { s.bLength = 24; })),
         DFU_SUFFIX_EMPTY_IMAGE},
        {"empty file", QByteArray(), DFU_FILE_MAP_FAILED},
    };
    for (const auto &c : cases) {
        dfu_file f;
        const int result = check(write(QString::fromLatin1(c.name), c.bytes), &f);
        EXPECT_EQ(result, c.expected) << c.name << ": " << dfu_file_result_name(result);
        if (f.firmware)
            mapped.push_back(f);
    }

    dfu_file missing;
    EXPECT_EQ(check(dir.filePath("no such file"), &missing), DFU_FILE_OPEN_FAILED);
    dfu_file folder;
    EXPECT_EQ(check(dir.path(), &folder), DFU_FILE_OPEN_FAILED);
}

TEST_F(DfuFileTest, FailedParseLeavesNoIdsBehind)
{
    dfu_file f;
    SuffixFields s;
    s.signature = "XYZ";
    ASSERT_EQ(check(write("bad", withSuffix(randomBytes(40), s)), &f), DFU_SUFFIX_INVALID);
    mapped.push_back(f);
    EXPECT_EQ(f.size.suffix, 0);
    EXPECT_EQ(f.idVendor, 0xFFFF);
    EXPECT_EQ(f.idProduct, 0xFFFF);
    EXPECT_EQ(f.bcdDevice, 0xFFFF);
}

TEST(DfuIds, VendorAndProductMustFitTheDevice)
{
    struct Case {
        uint16_t vendor, product, device;
        int expected;
    } cases[] = {
        {0x1D5C, 0x6E18, 0x6E17, DFU_SUFFIX_VALID},        // DFU-mode id, device in run mode
        {0x1D5C, 0x6E17, 0x6E17, DFU_SUFFIX_VALID},
        {0x1D5C, 0x6E17, 0x6E18, DFU_SUFFIX_VALID},        // run-mode id, device in DFU mode
        {0x1D5C, 0x5C02, 0x5C01, DFU_SUFFIX_VALID},
        {0x1D5C, 0x6E13, 0x6E12, DFU_SUFFIX_VALID},
        {0x1D5C, 0x6E13, 0x6E17, DFU_SUFFIX_WRONG_DEVICE}, // another family
        {0x1D5C, 0x1234, 0x5C01, DFU_SUFFIX_WRONG_DEVICE},
        {0x0483, 0x6E18, 0x6E17, DFU_SUFFIX_WRONG_DEVICE}, // another vendor
        {0xFFFF, 0xFFFF, 0x6E17, DFU_SUFFIX_VALID},        // wildcards
        {0x1D5C, 0xFFFF, 0x5C02, DFU_SUFFIX_VALID},
        {0xFFFF, 0x6E12, 0x6E13, DFU_SUFFIX_VALID},
        {0xFFFF, 0x6E12, 0x5C01, DFU_SUFFIX_WRONG_DEVICE},
    };
    for (const auto &c : cases) {
        dfu_file f;
        f.idVendor = c.vendor;
        f.idProduct = c.product;
        EXPECT_EQ(dfu_check_ids(&f, c.device), c.expected)
            << std::hex << c.vendor << ":" << c.product << " for " << c.device;
    }
}

class DfuSuffixToolTest : public DfuFileTest {
protected:
    void SetUp() override
    {
        tool = QStandardPaths::findExecutable(QStringLiteral("dfu-suffix"));
        if (tool.isEmpty())
            GTEST_SKIP() << "dfu-suffix (Debian package dfu-util) is not installed";
    }
    int run(const QStringList &args, QByteArray *output = nullptr)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(tool, args);
        if (!p.waitForFinished(30000))
            return -1;
        if (output)
            *output = p.readAll();
        return p.exitCode();
    }
    QString tool;
};

TEST_F(DfuSuffixToolTest, FilesItMakesAreAccepted)
{
    struct Case {
        const char *vid, *pid, *did;
        uint16_t vendor, product, device;
        qsizetype imageSize;
    } cases[] = {
        {"1d5c", "6e18", "0102", 0x1D5C, 0x6E18, 0x0102, 4096},
        {"1d5c", "5c02", "1203", 0x1D5C, 0x5C02, 0x1203, 1},
        {"ffff", "ffff", "ffff", 0xFFFF, 0xFFFF, 0xFFFF, 100003},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QByteArray image = randomBytes(c.imageSize, uint32_t(++n));
        const QString path = write(QStringLiteral("tool%1.dfu").arg(n), image);
        QByteArray out;
        ASSERT_EQ(run({"-v", c.vid, "-p", c.pid, "-d", c.did, "-a", path}, &out), 0) << out.constData();

        dfu_file f;
        ASSERT_EQ(check(path, &f), DFU_SUFFIX_VALID) << c.pid;
        mapped.push_back(f);
        EXPECT_EQ(f.idVendor, c.vendor);
        EXPECT_EQ(f.idProduct, c.product);
        EXPECT_EQ(f.bcdDevice, c.device);
        EXPECT_EQ(f.bcdDFU, 0x0100);
        EXPECT_EQ(f.imageSize(), c.imageSize);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(f.image()), int(f.imageSize())), image);
    }
}

TEST_F(DfuSuffixToolTest, ItAgreesWithOurFilesAndCatchesTheSameCorruption)
{
    const QString good = write("ours.dfu", withSuffix(randomBytes(2222, 9)));
    QByteArray out;
    EXPECT_EQ(run({"-c", good}, &out), 0) << out.constData();

    // A file whose image changed after the suffix was written: the tool
    // reports the CRC, and so do we.
    QByteArray bytes = readFile(good);
    bytes[100] = char(bytes[100] ^ 0x40);
    const QString bad = write("corrupt.dfu", bytes);
    run({"-c", bad}, &out);
    EXPECT_TRUE(out.toLower().contains("crc")) << out.constData();
    dfu_file f;
    EXPECT_EQ(check(bad, &f), DFU_SUFFIX_CRC_MISMATCH);
    mapped.push_back(f);
}

} // namespace
