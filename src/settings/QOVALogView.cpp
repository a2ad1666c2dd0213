#include "QOVALogView.h"

#include "QOVALogWindow.h"
#include "QOVASettingsStyle.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "certificates/QOVACertificateFilePanels.h"

#include <QPointer>
#include <QtMath>

using namespace settingsstyle;

namespace {

QOVAButton *downloadButton(QWidget *parent, int tag)
{
    auto *button = new QOVAButton(parent);
    button->setTextFont(fontWithSFProDisplay(13, QOVAFontRegular));
    button->setTextString(qtTrId("STRING_DOWNLOAD"));
    button->setTag(tag);
    roundCorners(button, 12);
    QOVALogView::setButtonEnabled(button, true);
    return button;
}

} // namespace

QOVALogView::QOVALogView(const QString &productId, const QString &productName, QWidget *parent)
    : QOVADisplayBaseView(parent)
    , m_productName(productName)
{
    detailViewName()->setStringValue(qtTrId("STRING_LOGS"));
    if (productId == QLatin1String("6e17"))
        setupLogAndCoredumpView();
    else
        setupLogView();
}

QOVALogView::~QOVALogView()
{
    // A page that goes while it collects (its device left) takes the mask
    // with it.
    if (m_logWindow && m_logWindow->isVisible())
        m_logWindow->orderOut();
}

void QOVALogView::setupLogView()
{
    m_sysLogTipLabel = rowLabel(this, qtTrId("STRING_DOWNLOAD_LOG"), QStringLiteral("000000"));
    fitLabel(m_sysLogTipLabel);
    m_sysLogTipLabel->move(36, underSplitLine(this, 24));
    m_sysLogDownloadButton = downloadButton(this, 1);
    m_sysLogDownloadButton->setGeometry(36, m_sysLogTipLabel->geometry().bottom() + 1 + 24, 88, 24);
    connect(m_sysLogDownloadButton, &QOVAButton::clicked, this, [this](QOVAButton *b) { startDownload(b); });
}

void QOVALogView::setupLogAndCoredumpView()
{
    setupLogView();
    m_coreDumpViewName = new QOVALabel(this);
    m_coreDumpViewName->setFont(fontWithSFProDisplay(18, 4));
    m_coreDumpViewName->setStringValue(qtTrId("STRING_CRASH_FILES"));
    m_coreDumpViewName->setGeometry(36, m_sysLogDownloadButton->geometry().bottom() + 1 + 37,
                                    qCeil(m_coreDumpViewName->textSize(1000).width()) + 2, 36);
    m_splitLine2 = new QWidget(this);
    m_splitLine2->setAutoFillBackground(true);
    QPalette line = m_splitLine2->palette();
    line.setColor(QPalette::Window, colorWithString(QStringLiteral("cbcbcb"), 1.0));
    m_splitLine2->setPalette(line);
    m_splitLine2->setGeometry(36, m_coreDumpViewName->geometry().bottom() + 1 + 9, 538, 1);
    m_coreLogTipLabel = rowLabel(this, qtTrId("STRING_DOWNLOAD_COREDUMP_LOG"), QStringLiteral("000000"), 13, 5);
    fitLabel(m_coreLogTipLabel);
    m_coreLogTipLabel->move(36, m_splitLine2->geometry().bottom() + 1 + 24);
    m_coreLogDownloadButton = downloadButton(this, 2);
    m_coreLogDownloadButton->setGeometry(36, m_coreLogTipLabel->geometry().bottom() + 1 + 24, 88, 24);
    connect(m_coreLogDownloadButton, &QOVAButton::clicked, this, [this](QOVAButton *b) { startDownload(b); });
}

QString QOVALogView::proposedFileName(const QString &productName, int tag, const QString &timestamp)
{
    QString base = productName;
    base.remove(QLatin1Char(' '));
    return QStringLiteral("%1%2_%3.zip").arg(base, tag == 2 ? QStringLiteral("CrashFile") : QStringLiteral("Log"),
                                             timestamp);
}

void QOVALogView::setButtonEnabled(QOVAButton *button, bool enabled)
{
    setOutlinedButtonLook(button, enabled);
}

void QOVALogView::startDownload(QOVAButton *button)
{
    const int tag = button ? button->tag() : 0;
    QPointer<QOVALogView> self(this);
    QOVACertificateFilePanels::shared().saveFile(
        proposedFileName(m_productName, tag, getSystemTimestamp()), {QStringLiteral("zip")},
        [self, tag](std::optional<QString> path) {
            if (!self || !path)
                return;
            self->startDownloadingAnimation();
            self->m_logWindow = std::make_unique<QOVALogWindow>(420, 150);
            self->m_logWindow->showWindow();
            QOVALogViewDelegate *d = self->logDelegate();
            if (!d)
                return;
            if (tag == 1)
                d->logView(self, *path);
            else if (tag == 2)
                d->downloadCoredumpLogToPath(*path);
        });
}

void QOVALogView::hideLogWindow()
{
    if (m_logWindow)
        m_logWindow->orderOut();
}

void QOVALogView::startDownloadingAnimation()
{
    setButtonEnabled(m_sysLogDownloadButton, false);
    setButtonEnabled(m_coreLogDownloadButton, false);
    hideLogWindow();
}

void QOVALogView::stopDownloadingAnimation()
{
    setButtonEnabled(m_sysLogDownloadButton, true);
    setButtonEnabled(m_coreLogDownloadButton, true);
    hideLogWindow();
}
