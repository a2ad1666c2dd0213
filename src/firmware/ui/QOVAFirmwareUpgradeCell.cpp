#include "QOVAFirmwareUpgradeCell.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVADate.h"
#include "QOVAFirmwareStatusView.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVAOpenPanel.h"
#include "QOVAUpgradeFailedTipView.h"

#include <QFontMetrics>
#include <QPointer>
#include <QProgressBar>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPictureRight = 48 + 76;
constexpr int kTextLeft = kPictureRight + 28;
constexpr int kBarLeft = 424;
constexpr int kBarTop = 46;
// The versions never reach the progress bar, the status mark or Update: a
// longer version text ends in an ellipsis (the tool tip shows it whole).
constexpr int kVersionMaxWidth = 220;

QString currentVersionText(const QOVAFirmwareModel &row)
{
    return QStringLiteral("%1 : %2").arg(qtTrId("STRING_CURRENT_VERSION"), row.version);
}

QString newVersionText(const QOVAFirmwareModel &row)
{
    return QStringLiteral("%1 : %2").arg(qtTrId("STRING_NEW_VERSION"), row.targetVersion);
}

QString twoVersionText(const QOVAFirmwareModel &row)
{
    return QStringLiteral("%1 : %2 \n%3 : %4")
        .arg(qtTrId("STRING_CURRENT_VERSION"), row.version, qtTrId("STRING_NEW_VERSION"), row.targetVersion);
}

// The row's check or install date; a row without one gets today and keeps it.
QString dateText(QOVAFirmwareModel &row)
{
    if (!row.updateDate.isValid())
        row.updateDate = QDateTime::currentDateTime();
    return customizeToString(row.updateDate);
}

void styleOutlined(QOVAButton *button, const QString &title)
{
    button->setQovaButtonType(1);
    button->setTextFont(fontWithSFProDisplay(12, QOVAFontRegular));
    button->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
    button->setTextString(title);
}

} // namespace

QOVAFirmwareUpgradeCell::QOVAFirmwareUpgradeCell(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);

    m_deviceImageView = new QOVAImageView(this);

    m_deviceNameLabel = new QOVALabel(this);
    m_deviceNameLabel->setFont(fontWithSFProDisplay(18, QOVAFontBoldItalic));
    m_deviceNameLabel->setTextColor(Qt::black);
    m_deviceNameLabel->setMaximumNumberOfLines(1);
    m_deviceNameLabel->setLineBreakMode(QOVALabel::ByTruncatingTail);

    m_versionLabel = new QOVALabel(this);
    m_versionLabel->setFont(fontWithSFProDisplay(12, QOVAFontRegular));
    m_versionLabel->setTextColor(colorWithString(QStringLiteral("6e6e6e"), 1.0));
    // Each version on its line, cut with an ellipsis where it is too wide,
    // as the status pages show a device's values.
    m_versionLabel->setLineBreakMode(QOVALabel::ByTruncatingTail);

    m_localUpdateButton = new QOVAButton(this);
    styleOutlined(m_localUpdateButton, qtTrId("STRING_LOCAL_UPDATE"));
    connect(m_localUpdateButton, &QOVAButton::clicked, this, [this] { clickLocalUpdateButton(); });

    m_updateButton = new QOVAButton(this);
    styleOutlined(m_updateButton, qtTrId("STRING_UPDATE"));
    connect(m_updateButton, &QOVAButton::clicked, this, [this] { clickUpdateButton(); });

    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setStyleSheet(QStringLiteral(
        "QProgressBar { border: none; background: #e0e0e0; border-radius: 2px; }"
        "QProgressBar::chunk { background: #0277bd; border-radius: 2px; }"));

    m_cancelButton = new QOVAButton(this);
    m_cancelButton->setTextString(qtTrId("STRING_CANCEL"));
    m_cancelButton->setTextFont(fontWithSFProDisplay(12, QOVAFontRegular));
    m_cancelButton->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
    m_cancelButton->setTextAlignment(0);
    m_cancelButton->setHidden(true);
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { clickCancelDownloadButton(); });

    m_remainingSizeLabel = new QOVALabel(this);
    m_remainingSizeLabel->setFont(fontWithSFProDisplay(10, QOVAFontRegular));
    m_remainingSizeLabel->setTextColor(colorWithString(QStringLiteral("6e6e6e"), 1.0));

    m_statusView = new QOVAFirmwareStatusView(this);
    m_failedView = new QOVAUpgradeFailedTipView(this);
    m_failedView->setHidden(true);

    resize(820, 110);
    layoutViews();
}

QString QOVAFirmwareUpgradeCell::downloadText(double progress, double totalSize)
{
    return QStringLiteral("%1 %2 MB, %3 %4 MB")
        .arg(qtTrId("STRING_DOWNLOAD"))
        .arg(progress * totalSize / 1024 / 1024, 0, 'f', 2)
        .arg(qtTrId("STRING_TOTAL"))
        .arg(totalSize / 1024 / 1024, 0, 'f', 2);
}

void QOVAFirmwareUpgradeCell::setProgressValue(double value)
{
    m_progress->setValue(int(std::lround(std::clamp(value, 0.0, 1.0) * 1000)));
}

void QOVAFirmwareUpgradeCell::updateWithModel(const QOVAFirmwareModelRef &model)
{
    if (!model)
        return;
    QOVAFirmwareModel &row = *model;
    m_updateModel = model;
    m_deviceImageView->setImageName(row.deviceImage);

    const bool typeBarOrCamera = row.type == 2 || row.type == 4;
    const bool runMode = (typeBarOrCamera && !row.isDFU()) || row.type == 3;
    if (runMode) {
        m_updateButton->setImage(QStringLiteral("upgrade_lock"));
        m_deviceNameLabel->setStringValue(row.deviceName.isEmpty() ? row.productName : row.deviceName);
    } else {
        m_updateButton->setImage(QString());
        m_deviceNameLabel->setStringValue(row.productName);
    }
    setProgressValue(row.progress);
    m_updateButton->hiddenImage(true);

    auto show = [](QWidget *w, bool shown) { w->setHidden(!shown); };
    m_failedView->setToolTip(QString());
    switch (row.upgradeState) {
    case 0:
    case 7:
        show(m_remainingSizeLabel, false);
        show(m_progress, false);
        show(m_updateButton, false);
        show(m_localUpdateButton, true);
        show(m_cancelButton, false);
        show(m_statusView, true);
        m_statusView->setViewStatus(row.upgradeState == 0 ? 0 : 1, dateText(row));
        show(m_failedView, false);
        m_versionLabel->setStringValue(currentVersionText(row));
        break;
    case 1:
    case 2:
        show(m_remainingSizeLabel, false);
        show(m_progress, false);
        show(m_updateButton, true);
        m_updateButton->setDisabled(false);
        m_updateButton->setTextString(qtTrId("STRING_UPDATE"));
        if (row.upgradeState == 1)
            m_updateButton->hiddenImage(false);
        show(m_localUpdateButton, true);
        show(m_cancelButton, false);
        show(m_statusView, false);
        show(m_failedView, false);
        if (row.upgradeState == 1)
            m_versionLabel->setStringValue(typeBarOrCamera && row.isDFU() ? newVersionText(row) : twoVersionText(row));
        else
            m_versionLabel->setStringValue(typeBarOrCamera ? newVersionText(row) : twoVersionText(row));
        break;
    case 3: {
        // Nothing is known about a newer version: neither the up-to-date
        // mark nor Update. While a check runs the button says so; once one
        // failed, the reason and a way to ask again.
        show(m_remainingSizeLabel, false);
        show(m_progress, false);
        show(m_updateButton, true);
        m_updateButton->setDisabled(row.isChecking());
        m_updateButton->setTextString(qtTrId(row.isChecking() ? "STRING_CHECKING" : "STRING_CHECK_AGAIN"));
        show(m_localUpdateButton, true);
        show(m_cancelButton, false);
        show(m_statusView, false);
        const bool failed = !row.failureText.isEmpty() || !row.isChecking();
        show(m_failedView, failed);
        if (failed) {
            m_failedView->showFailedString(row.failureText.isEmpty() ? qtTrId("STRING_CHECK_FAILED") : row.failureText);
            m_failedView->setToolTip(row.failureDetail);
        }
        m_versionLabel->setStringValue(currentVersionText(row));
        break;
    }
    case 4:
        show(m_remainingSizeLabel, true);
        m_remainingSizeLabel->setStringValue(downloadText(row.progress, row.totalSize));
        show(m_progress, true);
        show(m_updateButton, true);
        m_updateButton->setDisabled(true);
        m_updateButton->setTextString(qtTrId("STRING_DOWNLOADING"));
        show(m_localUpdateButton, false);
        show(m_cancelButton, true);
        show(m_statusView, false);
        show(m_failedView, false);
        m_versionLabel->setStringValue(typeBarOrCamera && row.isDFU() ? newVersionText(row) : twoVersionText(row));
        break;
    case 6:
        // An installation shows at most 99 % until its result is in.
        if (row.progress == 1.0)
            row.progress = 0.99;
        setProgressValue(row.progress);
        show(m_remainingSizeLabel, true);
        m_remainingSizeLabel->setStringValue(QStringLiteral("%1%").arg(qint64(row.progress * 100)));
        show(m_progress, true);
        show(m_updateButton, true);
        m_updateButton->setDisabled(true);
        m_updateButton->setTextString(qtTrId("STRING_INSTALLING"));
        show(m_localUpdateButton, false);
        show(m_cancelButton, false);
        show(m_statusView, false);
        show(m_failedView, false);
        m_versionLabel->setStringValue(typeBarOrCamera ? newVersionText(row) : twoVersionText(row));
        if (row.progress == 0 && row.isRemoteUpdating) {
            show(m_remainingSizeLabel, false);
            show(m_progress, false);
        }
        break;
    case 8:
        show(m_remainingSizeLabel, false);
        show(m_progress, false);
        m_progress->setValue(0);
        show(m_updateButton, true);
        // Disabled while the server is asked again before a new download.
        m_updateButton->setDisabled(row.isChecking());
        m_updateButton->setTextString(qtTrId("STRING_UPDATE"));
        if (row.type == 3 || (row.type == 2 && !row.isDFU()))
            m_updateButton->hiddenImage(false);
        show(m_localUpdateButton, true);
        show(m_cancelButton, false);
        show(m_statusView, false);
        show(m_failedView, true);
        if (!row.failureText.isEmpty()) {
            // A failure the page described itself (the download).
            m_failedView->showFailedString(row.failureText);
            m_failedView->setToolTip(row.failureDetail);
        } else if (row.type == 3) {
            m_failedView->showFailedString(qtTrId("STRING_UPDATE_FAILED"));
        } else if (row.type == 4) {
            const QString inCall = qtTrId("STRING_UPDATE_FAILED_INCALL");
            const QString description = row.updateError ? row.updateError->localizedDescription() : QString();
            m_failedView->showFailedString(description == inCall ? description : qtTrId("STRING_VASKO_DFU_TIP"));
        } else if (row.updateError) {
            m_failedView->showFailedTip(*row.updateError);
        } else {
            m_failedView->showFailedString(qtTrId("STRING_UPDATE_FAILED"));
        }
        m_versionLabel->setStringValue(row.type == 2 && row.isDFU() ? newVersionText(row) : twoVersionText(row));
        break;
    default:
        break;
    }

    if (row.type == 3) {
        m_localUpdateButton->setHidden(true);
        const QOVAFirmwareModelRef bar = row.relativeDeviceModel;
        // Asking the server needs neither the video bar nor the remote.
        if (row.upgradeState != 3
            && ((bar && (bar->upgradeState == 6 || bar->upgradeState == 4)) || !row.active))
            m_updateButton->setDisabled(true);
        if (!row.active && row.upgradeState == 1) {
            m_failedView->showFailedString(qtTrId("STRING_PRESS_TO_WAKEUP_REMOTE"));
            m_failedView->setHidden(false);
        }
    }
    if (row.type == 2 && row.upgradeState != 3) {
        const QOVAFirmwareModelRef remote = row.remoteControl.lock();
        if (remote && (remote->upgradeState == 6 || remote->upgradeState == 4))
            m_updateButton->setDisabled(true);
    }
    layoutViews();
}

void QOVAFirmwareUpgradeCell::updateProgress(double progress)
{
    setProgressValue(progress);
    if (m_updateModel)
        m_remainingSizeLabel->setStringValue(downloadText(m_updateModel->progress, m_updateModel->totalSize));
}

void QOVAFirmwareUpgradeCell::clickUpdateButton()
{
    if (!m_delegate)
        return;
    // After a failed check the button is "Check again".
    if (m_updateModel && m_updateModel->upgradeState == 3)
        m_delegate->checkAgain(this);
    else
        m_delegate->updateIfNeedPassword(this);
}

void QOVAFirmwareUpgradeCell::clickCancelDownloadButton()
{
    if (m_delegate)
        m_delegate->cancelDownload(this);
}

void QOVAFirmwareUpgradeCell::clickLocalUpdateButton()
{
    QPointer<QOVAFirmwareUpgradeCell> self(this);
    QOVAOpenPanel::beginWithCompletionHandler(
        this, QStringLiteral("DFU files (*.dfu)"), [self](int result, const QStringList &paths) {
            if (result == 1) {
                qInfo("OK");
                if (!self || !self->m_delegate)
                    return;
                for (const QString &path : paths)
                    self->m_delegate->performLocalDFU(self, path);
            } else if (result == 0) {
                qInfo("Cancel");
            } else if (result == -1000) {
                qInfo("Stop");
            }
        });
}

void QOVAFirmwareUpgradeCell::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutViews();
}

void QOVAFirmwareUpgradeCell::layoutViews()
{
    const int w = width();
    const int h = height();
    m_deviceImageView->setGeometry(48, 18, 76, 76);
    const int nameHeight = 22;
    m_deviceNameLabel->setGeometry(kTextLeft, 20, 250, nameHeight);
    const int versionTop = 20 + nameHeight + 9;
    const QFontMetrics metrics(m_versionLabel->font());
    const QStringList lines = m_versionLabel->stringValue().split(QLatin1Char('\n'));
    int versionWidth = 0;
    for (const QString &line : lines)
        versionWidth = std::max(versionWidth, std::min(metrics.horizontalAdvance(line) + 2, kVersionMaxWidth));
    m_versionLabel->setGeometry(kTextLeft, versionTop, versionWidth,
                                int(lines.size()) * metrics.lineSpacing() + 4);
    const int localWidth = std::max(128, int(std::ceil(m_localUpdateButton->textLength())));
    m_localUpdateButton->setGeometry(kTextLeft + versionWidth + 28, versionTop, localWidth, 24);
    const int updateWidth = std::max(128, int(std::ceil(m_updateButton->textLength())));
    const int updateLeft = w - 44 - updateWidth;
    m_updateButton->setGeometry(updateLeft, 38, updateWidth, 24);
    m_progress->setGeometry(kBarLeft, kBarTop, 168, 5);
    m_cancelButton->setGeometry(kBarLeft, kBarTop + 5 + 7, std::max(1, int(std::ceil(m_cancelButton->textLength())) - 10), 14);
    m_remainingSizeLabel->setGeometry(kBarLeft, 26, 200, 14);
    m_statusView->setGeometry(w - 24 - 128, (h - 36) / 2, 128, 36);
    // The failure tip ends 10 before Update and never covers the local
    // update button beside the versions: a long version text narrows it.
    int tipLeft = updateLeft - 10 - 212;
    if (!m_localUpdateButton->isHidden())
        tipLeft = std::max(tipLeft, m_localUpdateButton->geometry().right() + 1 + 8);
    m_failedView->setGeometry(tipLeft, 0, std::max(0, updateLeft - 10 - tipLeft), h);
}
