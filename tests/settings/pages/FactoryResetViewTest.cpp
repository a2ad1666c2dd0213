// The factory reset page: its confirmation and where the alert goes, and
// the rescue image check of the section the device page does not show.

#include "PageTestSupport.h"

#include "QOVAButton.h"
#include "dfu_file.h"
#include "settings/QOVAFactoryResetView.h"

#include <QCryptographicHash>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace settingstest;

namespace {

struct RecordingResetDelegate : QOVAFactoryResetDelegate {
    int resets = 0;
    void sendFactoryReset() override { ++resets; }
};

// Presses the alert's button with that text once the alert runs.
void answerAlert(QOVAFactoryResetView *page, const QString &button)
{
    auto *poll = new QTimer(page);
    QObject::connect(poll, &QTimer::timeout, page, [page, button, poll] {
        QMessageBox *alert = page->alert();
        if (!alert || !alert->isVisible())
            return;
        poll->deleteLater();
        for (QAbstractButton *b : alert->buttons()) {
            if (b->text() == button) {
                QTest::mouseClick(b, Qt::LeftButton);
                return;
            }
        }
        ADD_FAILURE() << "no button " << qPrintable(button);
    });
    poll->start(5);
}

QByteArray withSuffix(QByteArray data, uint16_t vendor, uint16_t product)
{
    auto le16 = [&](uint16_t v) { data.append(char(v & 0xff)).append(char(v >> 8)); };
    le16(0xFFFF);     // bcdDevice
    le16(product);
    le16(vendor);
    le16(0x0100);     // bcdDFU
    data.append("UFD", 3);
    data.append(char(16));
    const uint32_t crc = dfu_crc32(0xFFFFFFFFu, reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()));
    for (int i = 0; i < 4; ++i)
        data.append(char((crc >> (8 * i)) & 0xff));
    return data;
}

// An image, then 80 bytes of version text and digest, then the suffix.
QByteArray rescueImage(bool rightDigest, uint16_t product)
{
    const QByteArray image(4096, 'x');
    QByteArray digest = QCryptographicHash::hash(image, QCryptographicHash::Md5).toHex().toUpper();
    if (!rightDigest)
        digest[0] = digest[0] == '0' ? '1' : '0';
    QByteArray trailer = "V1.3.0.27 " + digest;
    trailer.resize(80, '\0');
    return withSuffix(image + trailer, DFU_SUFFIX_VENDOR_ID, product);
}

} // namespace

TEST(FactoryResetView, ResetAsksFirstAndCancelSendsNothing)
{
    PageHost<QOVAFactoryResetView> reset;
    RecordingResetDelegate delegate;
    reset.page->setDelegate(&delegate);
    reset.grab(QStringLiteral("settings_factory_reset.png"));
    EXPECT_GE(reset.page->restartButton()->width(), 88);

    answerAlert(reset.page, qtTrId("STRING_CANCEL"));
    click(reset.page->restartButton());
    EXPECT_EQ(delegate.resets, 0);
    answerAlert(reset.page, qtTrId("STRING_RESET"));
    click(reset.page->restartButton());
    EXPECT_EQ(delegate.resets, 1);

    // Without a delegate, Reset does nothing beyond closing the alert.
    reset.page->setDelegate(nullptr);
    answerAlert(reset.page, qtTrId("STRING_RESET"));
    click(reset.page->restartButton());
    EXPECT_EQ(delegate.resets, 1);
}

TEST(FactoryResetView, TheAlertIsCentredOnTheMainWindowWhateverItsWidth)
{
    const QRect main(100, 50, 820, 600);
    for (int width : {260, 420, 700}) {
        const QPoint origin = QOVAFactoryResetView::alertOrigin(main, QSize(width, 150), 544);
        EXPECT_EQ(origin.x() + width / 2, 100 + 410);
        EXPECT_EQ(origin.y() + 150, 50 + 600 - 272);
    }
}

TEST(FactoryResetView, RescueSectionAcceptsOnlyACheckedCameraImage)
{
    PageHost<QOVAFactoryResetView> reset;
    reset.page->addManualUpdateForVasko();
    reset.grab(QStringLiteral("settings_factory_reset_rescue.png"));
    EXPECT_TRUE(reset.page->updateButton()->disabled());

    QTemporaryDir dir;
    const struct {
        const char *name;
        QByteArray bytes;
        bool accepted;
    } files[] = {
        {"good.dfu", rescueImage(true, 0x6E13), true},
        {"digest.dfu", rescueImage(false, 0x6E13), false},
        {"product.dfu", rescueImage(true, 0x6E18), false},
        {"plain.dfu", QByteArray(300, 'x'), false},
    };
    QStringList opened;
    reset.page->setUpdateWindowOpener([&](const QString &path) { opened << path; });
    for (const auto &f : files) {
        SCOPED_TRACE(f.name);
        const QString path = dir.filePath(QLatin1String(f.name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(f.bytes);
        file.close();
        EXPECT_EQ(QOVAFactoryResetView::isStandardVaskoDFUFile(path), f.accepted);

        QOVAFactoryResetView::setFileChooser([path](QWidget *) { return path; });
        click(reset.page->chooseFileButton());
        EXPECT_EQ(reset.page->updateButton()->disabled(), !f.accepted);
        EXPECT_EQ(reset.page->checkFailedLabel()->isVisible(), !f.accepted);
        EXPECT_EQ(reset.page->fileNameLabel()->stringValue(), QLatin1String(f.name));
        if (f.accepted)
            click(reset.page->updateButton());
    }
    EXPECT_EQ(opened, QStringList{dir.filePath(QStringLiteral("good.dfu"))});
    QOVAFactoryResetView::setFileChooser(nullptr);
}
