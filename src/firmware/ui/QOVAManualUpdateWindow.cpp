#include "QOVAManualUpdateWindow.h"

#include "AppDelegate.h"
#include "QOVAButton.h"
#include "platform/ThreadHop.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAIOManager.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "log/log.h"

#include <QPointer>
#include <QProgressBar>

#include <algorithm>
#include <cmath>

namespace {

QOVALabel *makeLabel(QWidget *parent, int type, double size, const QString &colour, double alpha = 1.0)
{
    auto *label = new QOVALabel(parent);
    label->setFont(fontWithSFProDisplay(size, type));
    label->setTextColor(colorWithString(colour, alpha));
    return label;
}

int labelHeight(QOVALabel *label, double width)
{
    return int(std::ceil(label->textSize(width).height()));
}

int labelWidth(QOVALabel *label)
{
    return int(std::ceil(label->textSize(1000).width())) + 2;
}

int buttonWidth(QOVAButton *button)
{
    return std::max(87, int(std::ceil(button->textLength())) + 5);
}

} // namespace

QOVAManualUpdateWindow::QOVAManualUpdateWindow(const QSizeF &size, const QString &filePath,
                                               const QString &currentVersion, const QString &fileVersion)
    : QOVAWindow(size.width(), size.height())
    , m_filePath(filePath)
    , m_currentVersion(currentVersion)
    , m_fileVersion(fileVersion)
{
    m_updateTitleLabel = makeLabel(this, QOVAFontBold, 14, QStringLiteral("000000"), 0.85);
    m_updateTitleLabel->setStringValue(qtTrId("STRING_RESCUE_MODE"));
    m_updateTitleLabel->setGeometry(34, 15, int(size.width()) - 68, labelHeight(m_updateTitleLabel, 352));

    m_tipLabel = makeLabel(this, QOVAFontRegular, 13, QStringLiteral("252525"));
    m_tipLabel->setStringValue(qtTrId("STRING_MANUAL_UPDATE_CONFIRM_TIP"));
    m_tipLabel->setGeometry(34, 42, 364, labelHeight(m_tipLabel, 364));

    const QString grey = QStringLiteral("2e2e2e");
    m_currentTitleLabel = makeLabel(this, QOVAFontRegular, 13, grey);
    m_currentTitleLabel->setStringValue(qtTrId("STRING_CURRENT_VERSION2"));
    const int currentTop = m_tipLabel->geometry().bottom() + 1 + 12;
    m_currentTitleLabel->setGeometry(34, currentTop, labelWidth(m_currentTitleLabel), 18);
    m_currentValueLabel = makeLabel(this, QOVAFontRegular, 13, grey);
    m_currentValueLabel->setStringValue(m_currentVersion);
    m_currentValueLabel->setGeometry(34 + 165, currentTop, labelWidth(m_currentValueLabel), 18);

    m_fileTitleLabel = makeLabel(this, QOVAFontRegular, 13, grey);
    m_fileTitleLabel->setStringValue(qtTrId("STRING_FILE_VERSION"));
    const int fileTop = currentTop + 18 + 9;
    m_fileTitleLabel->setGeometry(34, fileTop, labelWidth(m_fileTitleLabel), 18);
    m_fileValueLabel = makeLabel(this, QOVAFontRegular, 13, grey);
    m_fileValueLabel->setStringValue(m_fileVersion);
    m_fileValueLabel->setGeometry(34 + 165, fileTop, labelWidth(m_fileValueLabel), 18);

    m_updateButton = new QOVAButton(this);
    m_updateButton->setTextString(qtTrId("STRING_UPDATE"));
    formatButton(m_updateButton, true, true);
    connect(m_updateButton, &QOVAButton::clicked, this, [this] { clickUpdateButton(); });
    m_cancelButton = new QOVAButton(this);
    m_cancelButton->setTextString(qtTrId("STRING_CANCEL"));
    formatButton(m_cancelButton, true, false);
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { clickCancelButton(); });
    const int w = qRound(size.width());
    const int h = qRound(size.height());
    const int updateWidth = buttonWidth(m_updateButton);
    m_updateButton->setGeometry(w - 20 - updateWidth, h - 20 - 20, updateWidth, 20);
    const int cancelWidth = buttonWidth(m_cancelButton);
    m_cancelButton->setGeometry(m_updateButton->x() - 15 - cancelWidth, h - 20 - 20, cancelWidth, 20);

    m_updatingLabel = makeLabel(this, QOVAFontRegular, 10, QStringLiteral("6e6e6e"));
    m_updatingLabel->hide();
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setStyleSheet(QStringLiteral(
        "QProgressBar { border: none; background: #e0e0e0; border-radius: 2px; }"
        "QProgressBar::chunk { background: #0277bd; border-radius: 2px; }"));
    m_progress->hide();
    m_resultImageView = new QOVAImageView(this);
    m_resultImageView->setImageScaling(QOVAImageView::ScaleAxesIndependently);
    m_resultImageView->hide();
    m_resultLabel = makeLabel(this, QOVAFontRegular, 13, grey);
    m_resultLabel->hide();
    m_closeButton = new QOVAButton(this);
    m_closeButton->setTextString(qtTrId("STRING_CLOSE"));
    formatButton(m_closeButton, true, false);
    connect(m_closeButton, &QOVAButton::clicked, this, [this] { clickCloseButton(); });
    m_closeButton->hide();
}

void QOVAManualUpdateWindow::initForLocalDFU(const QString &serialNumber)
{
    m_localDFU = true;
    m_localDFUSerial = serialNumber;
    m_updateTitleLabel->setStringValue(qtTrId("STRING_LOCAL_UPDATE"));
    for (QWidget *w : {static_cast<QWidget *>(m_currentTitleLabel), static_cast<QWidget *>(m_currentValueLabel),
                       static_cast<QWidget *>(m_fileTitleLabel), static_cast<QWidget *>(m_fileValueLabel)})
        w->hide();
}

void QOVAManualUpdateWindow::show()
{
    QOVAWindow::show();
}

void QOVAManualUpdateWindow::removeAllViews()
{
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        child->hide();
}

void QOVAManualUpdateWindow::clickUpdateButton()
{
    if (m_stage != Stage::Confirmation)
        return;
    m_stage = Stage::Progress;
    removeAllViews();
    adjustToSize(420, 160);
    m_progress->setValue(0);
    m_progress->setGeometry((420 - 168) / 2, (160 - 5) / 2, 168, 5);
    m_progress->show();
    m_updatingLabel->setStringValue(m_localDFU ? qtTrId("STRING_UPDATING") : qtTrId("STRING_PROCESSING"));
    const int labelH = labelHeight(m_updatingLabel, 300);
    m_updatingLabel->setGeometry(m_progress->x(), m_progress->y() - 9 - labelH, labelWidth(m_updatingLabel), labelH);
    m_updatingLabel->show();
    startLocalUpdate();
}

void QOVAManualUpdateWindow::startLocalUpdate()
{
    const QString serial = m_localDFU ? m_localDFUSerial : m_updateSerial;
    QPointer<QOVAManualUpdateWindow> self(this);
    // The callbacks come from the flashing queue's threads; each acts on the
    // main thread, and not at all once the window is gone.
    auto onMain = [self](std::function<void(QOVAManualUpdateWindow *)> fn) {
        platform::postToMain([self, fn = std::move(fn)] {
            if (self)
                fn(self.data());
        });
    };
    QOVAIOManager::usbManagerShared()->usbDeviceUpdate(
        serial, m_filePath, true,
        [onMain](double value) {
            onMain([value](QOVAManualUpdateWindow *w) {
                if (w->m_stage == Stage::Progress)
                    w->m_progress->setValue(int(std::lround(std::clamp(value, 0.0, 1.0) * 1000)));
            });
        },
        [onMain](const QString &reportedVersion) {
            onMain([reportedVersion](QOVAManualUpdateWindow *w) {
                QOVA_LOG(INFO, DFU, "local update successfully.");
                w->updateSuccessLayout(reportedVersion);
            });
        },
        [onMain](const QOVAError &) {
            onMain([](QOVAManualUpdateWindow *w) {
                QOVA_LOG(INFO, DFU, "local update failed.");
                w->updateFailedLayout();
            });
        });
}

void QOVAManualUpdateWindow::showResult(bool success, const QString &reportedVersion)
{
    if (m_stage != Stage::Progress)
        return;
    m_stage = success ? Stage::Succeeded : Stage::Failed;
    m_updatingLabel->hide();
    m_progress->hide();
    m_resultImageView->setImageName(success ? QStringLiteral("update_successful") : QStringLiteral("alert"));
    m_resultImageView->setGeometry(30, 21, 60, 60);
    m_resultImageView->show();
    if (success)
        m_resultLabel->setStringValue(qtTrId("STRING_MANUAL_UPDATE_SUCCESS"));
    else
        m_resultLabel->setStringValue(m_localDFU ? qtTrId("STRING_UPDATE_FAILED")
                                                 : qtTrId("STRING_MANUAL_UPDATE_FAILED"));
    const int resultLeft = 30 + 60 + 26;
    m_resultLabel->setGeometry(resultLeft, 28, 280, labelHeight(m_resultLabel, 280));
    m_resultLabel->show();
    // The version the device reports now that it runs again; nothing when
    // it could not be read.
    if (success && !reportedVersion.isEmpty()) {
        const int top = m_resultLabel->geometry().bottom() + 1 + 4;
        m_currentTitleLabel->move(resultLeft, top);
        m_currentTitleLabel->show();
        m_currentValueLabel->setStringValue(reportedVersion);
        m_currentValueLabel->setMaximumNumberOfLines(1);
        const int valueLeft = m_currentTitleLabel->geometry().right() + 1 + 60;
        const int valueWidth = std::max(0, std::min(labelWidth(m_currentValueLabel), width() - 20 - valueLeft));
        m_currentValueLabel->setGeometry(valueLeft, top, valueWidth, m_currentTitleLabel->height());
        m_currentValueLabel->show();
    }
    const int closeWidth = buttonWidth(m_closeButton);
    m_closeButton->setGeometry(width() - 20 - closeWidth, height() - 20 - 20, closeWidth, 20);
    m_closeButton->show();
}

void QOVAManualUpdateWindow::updateSuccessLayout(const QString &reportedVersion)
{
    showResult(true, reportedVersion);
}

void QOVAManualUpdateWindow::updateFailedLayout()
{
    showResult(false);
}

void QOVAManualUpdateWindow::finish()
{
    close();
    deleteLater();
}

void QOVAManualUpdateWindow::clickCancelButton()
{
    if (m_stage == Stage::Confirmation)
        finish();
}

void QOVAManualUpdateWindow::clickCloseButton()
{
    if (m_stage != Stage::Succeeded && m_stage != Stage::Failed)
        return;
    const bool succeeded = m_stage == Stage::Succeeded;
    finish();
    // After a success the user stays where the update was started (the
    // firmware page, whose row now shows the new version); after a failure
    // the device list shows where the device stands.
    if (succeeded)
        return;
    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->showDeviceController(delegate->deviceListController());
}
