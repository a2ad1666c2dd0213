#include "QOVAAudioDiagnosticsView.h"

#include "QOVASettingsStyle.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "certificates/QOVACertificateFilePanels.h"
#include "log/log.h"

#include <QPointer>
#include <QSaveFile>
#include <QtMath>

#include <algorithm>

using namespace settingsstyle;

namespace {

// Only a hidden window is left alone: hiding takes the page's mask away.
template <typename Window>
void hideAudioWindowIfShown(const QPointer<Window> &window)
{
    if (window && window->isVisible())
        window->orderOut();
}

// A window replaced by a new one, or left by its page, goes.
template <typename Window>
void releaseAudioWindow(QPointer<Window> &window)
{
    hideAudioWindowIfShown(window);
    if (window)
        window->deleteLater();
    window = nullptr;
}

} // namespace

QOVAAudioDiagnosticsView::QOVAAudioDiagnosticsView(const QString &productName, QWidget *parent)
    : QOVADisplayBaseView(parent)
    , m_productName(productName)
{
    detailViewName()->setStringValue(qtTrId("STRING_AUDIO_METER_TEST"));
    setupSpeakerTestView();
}

QOVAAudioDiagnosticsView::~QOVAAudioDiagnosticsView()
{
    // A page that goes mid-test (its device left) takes its windows and
    // their mask with it.
    releaseAudioWindow(m_audioTestWindow);
    releaseAudioWindow(m_audioDownloadWindow);
    if (m_savePanelOpen) {
        m_savePanelOpen = false;
        ++m_savePanelTicket;
        QOVACertificateFilePanels::shared().closePanels();
    }
}

void QOVAAudioDiagnosticsView::setupSpeakerTestView()
{
    m_tipLabel = rowLabel(this, qtTrId("STRING_AUDIO_DIAGNOSTICS_DESCRIPTION"), QStringLiteral("000000"), 13,
                          QOVAFontRegular);
    fitLabel(m_tipLabel, width() - 46 - 36);
    m_tipLabel->move(36, underSplitLine(this, 24));

    m_startTestButton = new QOVAButton(this);
    m_startTestButton->setTextFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_startTestButton->setTextString(qtTrId("STRING_START_TEST"));
    roundCorners(m_startTestButton, 12);
    setButtonEnabled(m_startTestButton, true);
    const int buttonWidth = pillWidth(m_startTestButton, 88);
    m_startTestButton->setGeometry(36, m_tipLabel->geometry().bottom() + 1 + 24, buttonWidth, 24);
    connect(m_startTestButton, &QOVAButton::clicked, this, [this] { clickAudioTestButton(); });
}

QString QOVAAudioDiagnosticsView::proposedFileName(const QString &productName, const QString &timestamp)
{
    QString base = productName;
    base.remove(QLatin1Char(' '));
    return QStringLiteral("%1AudioTest_%2.tar").arg(base, timestamp);
}

void QOVAAudioDiagnosticsView::setButtonEnabled(QOVAButton *button, bool state)
{
    settingsstyle::setOutlinedButtonLook(button, state);
}

void QOVAAudioDiagnosticsView::clickAudioTestButton()
{
    m_fileSavedPath.reset();
    m_audioTestData.reset();
    releaseAudioWindow(m_audioTestWindow);
    m_audioTestWindow = new QOVAAudioTestWindow(400, 170);
    m_audioTestWindow->setWindowDelegate(this);
    setButtonEnabled(m_startTestButton, false);
    m_audioTestWindow->showWindow();
    if (QOVAAudioDiagnosticsDelegate *d = delegate())
        d->audioDiagnosticRecord(true);
}

void QOVAAudioDiagnosticsView::stopAudioRecord()
{
    if (QOVAAudioDiagnosticsDelegate *d = delegate())
        d->audioDiagnosticRecord(false);
}

void QOVAAudioDiagnosticsView::showSaveFileWindow()
{
    hideAudioWindowIfShown(m_audioTestWindow);
    const quint64 ticket = ++m_savePanelTicket;
    m_savePanelOpen = true;
    QPointer<QOVAAudioDiagnosticsView> self(this);
    // The device hands out a tar archive: the panel offers that type, the
    // one the suggested name ends in.
    QOVACertificateFilePanels::shared().saveFile(
        proposedFileName(m_productName, getSystemTimestamp()), {QStringLiteral("tar")},
        [self, ticket](std::optional<QString> path) {
            if (!self || ticket != self->m_savePanelTicket || !self->m_savePanelOpen)
                return;
            self->m_savePanelOpen = false;
            self->savePanelAnswered(path);
        });
}

void QOVAAudioDiagnosticsView::savePanelAnswered(const std::optional<QString> &path)
{
    if (path) {
        QOVA_LOG(INFO, UI, "User selected OK to save audio test file.");
        if (m_audioTestData) {
            QOVA_LOG(INFO, UI, "Audio test file is ready, save to local directly.");
            writeArchive(*path, *m_audioTestData);
            setButtonEnabled(m_startTestButton, true);
            m_audioTestData.reset();
            return;
        }
        QOVA_LOG(INFO, UI, "Audio test file is still in transfering, save file path.");
        m_fileSavedPath = *path;
        releaseAudioWindow(m_audioDownloadWindow);
        m_audioDownloadWindow = new QOVAAudioDownloadWindow(400, 170);
        setButtonEnabled(m_startTestButton, false);
        m_audioDownloadWindow->showWindow();
        return;
    }
    QOVA_LOG(INFO, UI, "User selected Cancel to save audio test file.");
    setButtonEnabled(m_startTestButton, true);
    m_fileSavedPath.reset();
    if (m_audioTestData) {
        QOVA_LOG(INFO, UI, "Audio test file is ready, deleted it.");
        m_audioTestData.reset();
        return;
    }
    QOVA_LOG(INFO, UI, "Audio test file is still in transfering, cancel it.");
    if (QOVAAudioDiagnosticsDelegate *d = delegate())
        d->cancelAudioDiagnostic();
}

void QOVAAudioDiagnosticsView::saveAudioFile(const QByteArray &data)
{
    if (!m_fileSavedPath) {
        QOVA_LOG(INFO, UI, "User didn't select the saved path, save the test data temporarily.");
        m_audioTestData = data;
        return;
    }
    QOVA_LOG(INFO, UI, "User selected the saved path, write to local.");
    setButtonEnabled(m_startTestButton, true);
    hideAudioWindowIfShown(m_audioDownloadWindow);
    writeArchive(*m_fileSavedPath, data);
}

void QOVAAudioDiagnosticsView::writeArchive(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
    if (!written)
        showNotificationWindow(false, qtTrId("NOTIFICATION_GET_DIAGNOSTICS_FILE_FAILED"));
}

void QOVAAudioDiagnosticsView::closeAllWindows()
{
    m_fileSavedPath.reset();
    m_audioTestData.reset();
    setButtonEnabled(m_startTestButton, true);
    hideAudioWindowIfShown(m_audioTestWindow);
    hideAudioWindowIfShown(m_audioDownloadWindow);
    if (m_savePanelOpen) {
        m_savePanelOpen = false;
        ++m_savePanelTicket;
        QOVACertificateFilePanels::shared().closePanels();
    }
}
