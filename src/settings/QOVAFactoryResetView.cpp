#include "QOVAFactoryResetView.h"

#include "QOVASettingsStyle.h"

#include "AppDelegate.h"
#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFileDialogFolders.h"
#include "QOVALabel.h"
#include "dfu_file.h"
#include "log/log.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QtMath>

using namespace settingsstyle;

namespace {

std::function<QString(QWidget *)> &fileChooserOverride()
{
    static std::function<QString(QWidget *)> chooser;
    return chooser;
}

QString chooseFile(QWidget *parent)
{
    if (fileChooserOverride())
        return fileChooserOverride()(parent);
    using QOVAFileDialogFolders::Kind;
    const QString path = QFileDialog::getOpenFileName(parent, QString(), QOVAFileDialogFolders::startFolder(Kind::Firmware),
                                                      QStringLiteral("*.dfu"));
    QOVAFileDialogFolders::remember(Kind::Firmware, path);
    return path;
}

// The rescue image's update-mode product id.
constexpr uint16_t kVaskoUpdateProductId = 0x6E13;
constexpr int kDigestTrailer = 96;

} // namespace

QOVAFactoryResetView::QOVAFactoryResetView(QWidget *parent)
    : QOVADisplayBaseView(parent)
{
    detailViewName()->setStringValue(qtTrId("STRING_FACTORY_RESET"));
    m_systemRestartInfo = rowLabel(this, qtTrId("STRING_CLICK_TO_RESET"), QStringLiteral("000000"));
    fitLabel(m_systemRestartInfo, 538);
    m_systemRestartInfo->move(36, underSplitLine(this, 24));
    m_restartButton = destructiveButton(this, qtTrId("STRING_RESET"));
    m_restartButton->setGeometry(36, m_systemRestartInfo->geometry().bottom() + 1 + 24,
                                 pillWidth(m_restartButton, 88), 24);
    connect(m_restartButton, &QOVAButton::clicked, this, [this] { clickResetButton(); });
}

QPoint QOVAFactoryResetView::alertOrigin(const QRect &mainWindowFrame, const QSize &alertSize, int pageHeight)
{
    // Centred on the 820-point main window; the alert's bottom edge half the
    // page's height above the main window's bottom edge.
    const int x = mainWindowFrame.x() + (820 - alertSize.width()) / 2;
    const int bottom = mainWindowFrame.y() + mainWindowFrame.height() - pageHeight / 2;
    return QPoint(x, bottom - alertSize.height());
}

void QOVAFactoryResetView::clickResetButton()
{
    QMessageBox alert(window());
    m_alert = &alert;
    alert.setIcon(QMessageBox::Critical);
    alert.setText(qtTrId("STRING_FACTORY_RESET"));
    alert.setInformativeText(qtTrId("STRING_RESET_TIP_DESCRIPTION"));
    QPushButton *reset = alert.addButton(qtTrId("STRING_RESET"), QMessageBox::AcceptRole);
    QPushButton *cancel = alert.addButton(qtTrId("STRING_CANCEL"), QMessageBox::RejectRole);
    alert.setDefaultButton(reset);
    alert.setEscapeButton(cancel);
    alert.adjustSize();
    if (QWidget *main = AppDelegate::mainWindowWidget())
        alert.move(alertOrigin(main->frameGeometry(), alert.size(), height()));
    AppDelegate *app = AppDelegate::sharedDelegate();
    if (app)
        app->showWindowMask(true);
    alert.exec();
    m_alert = nullptr;
    const bool confirmed = alert.clickedButton() == reset;
    QOVA_LOG(INFO, UI, confirmed ? "Click Reset Button." : "Reset was canceled.");
    // The dimming goes before the reset is asked for: the device page puts
    // its own progress mask up for the reset, and it must stay.
    if (app)
        app->showWindowMask(false);
    if (confirmed) {
        if (QOVAFactoryResetDelegate *d = m_delegate.get())
            d->sendFactoryReset();
    }
}

// ------------------------------------------------------------ rescue section

void QOVAFactoryResetView::setFileChooser(std::function<QString(QWidget *)> chooser)
{
    fileChooserOverride() = std::move(chooser);
}

void QOVAFactoryResetView::addManualUpdateForVasko()
{
    if (m_rescueTitle)
        return;
    int top = m_restartButton->geometry().bottom() + 1 + 40;
    m_rescueTitle = rowLabel(this, qtTrId("STRING_RESCUE_MODE"), QStringLiteral("000000"), 18, 4);
    fitLabel(m_rescueTitle);
    m_rescueTitle->move(36, top);
    m_rescueTip = rowLabel(this, qtTrId("STRING_MANUAL_UPDATE_TIP"), QStringLiteral("000000"));
    fitLabel(m_rescueTip, 538);
    m_rescueTip->move(36, m_rescueTitle->geometry().bottom() + 1 + 12);
    top = m_rescueTip->geometry().bottom() + 1 + 16;
    m_chooseFileButton = accentButton(this, qtTrId("STRING_CHOOSE_FILE"));
    m_chooseFileButton->setGeometry(36, top, pillWidth(m_chooseFileButton, 88), 24);
    connect(m_chooseFileButton, &QOVAButton::clicked, this, [this] { openFileSelector(); });
    m_fileNameLabel = rowLabel(this, QString());
    m_fileNameLabel->setGeometry(m_chooseFileButton->geometry().right() + 1 + 12, top, 300, 24);
    m_updateButton = accentButton(this, qtTrId("STRING_APPLY"));
    m_updateButton->setGeometry(36, top + 24 + 16, pillWidth(m_updateButton, 88), 24);
    m_updateButton->setDisabled(true);
    connect(m_updateButton, &QOVAButton::clicked, this, [this] { clickUpdateButton(); });
    m_checkFailedLabel = rowLabel(this, qtTrId("STRING_MANUAL_UPDATE_FILE_CHECK_FAILED"), QStringLiteral("d11b23"));
    fitLabel(m_checkFailedLabel, 538);
    m_checkFailedLabel->move(36, m_updateButton->geometry().bottom() + 1 + 8);
    m_checkFailedLabel->hide();
}

void QOVAFactoryResetView::openFileSelector()
{
    const QString path = chooseFile(this);
    if (path.isEmpty())
        return;
    m_chosenFilePath = path;
    m_fileNameLabel->setStringValue(QFileInfo(path).fileName());
    if (isStandardVaskoDFUFile(path))
        layoutCheckSuccessed();
    else
        layoutCheckFailed();
}

void QOVAFactoryResetView::layoutCheckFailed()
{
    m_updateButton->setDisabled(true);
    m_checkFailedLabel->show();
}

void QOVAFactoryResetView::layoutCheckSuccessed()
{
    m_updateButton->setDisabled(false);
    m_checkFailedLabel->hide();
}

void QOVAFactoryResetView::clickUpdateButton()
{
    if (m_updateButton->disabled() || m_chosenFilePath.isEmpty())
        return;
    QOVA_LOG(INFO, UI, "Rescue update from %s", qUtf8Printable(m_chosenFilePath));
    if (m_opener)
        m_opener(m_chosenFilePath);
}

bool QOVAFactoryResetView::isStandardVaskoDFUFile(const QString &path)
{
    dfu_file file;
    file.name = QFile::encodeName(path).toStdString();
    if (dfu_map_file(&file) != DFU_FILE_MAPPED)
        return false;
    bool ok = dfu_parse_suffix(&file) == DFU_SUFFIX_VALID && file.idVendor == DFU_SUFFIX_VENDOR_ID
              && file.idProduct == kVaskoUpdateProductId && file.size.total > kDigestTrailer;
    if (ok) {
        const auto *bytes = reinterpret_cast<const char *>(file.firmware);
        const qsizetype body = qsizetype(file.size.total - kDigestTrailer);
        const QByteArray trailer = QByteArray::fromRawData(bytes + body, kDigestTrailer);
        // The trailer holds the version text and the digest as 32 hex digits.
        static const QRegularExpression digestPattern(QStringLiteral("(?<![0-9A-Fa-f])[0-9A-Fa-f]{32}(?![0-9A-Fa-f])"));
        const QRegularExpressionMatch match = digestPattern.match(QString::fromLatin1(trailer));
        const QByteArray digest =
            QCryptographicHash::hash(QByteArrayView(bytes, body), QCryptographicHash::Md5).toHex();
        ok = match.hasMatch() && match.captured(0).toLatin1().toLower() == digest;
    }
    dfu_unmap_file(&file);
    return ok;
}
