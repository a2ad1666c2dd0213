#pragma once
// Audio test: the device records a diagnostic audio test of up to three
// minutes and the archive it makes is saved on the computer. The page opens
// the test window, asks its delegate (the device page controller) to start
// and stop the recording, offers a save panel when the recording is done and
// writes the archive to the chosen path, whichever of the two comes first:
// the archive is held until a path is chosen, or the path until the archive
// arrives (the download window shows meanwhile). Files are written whole or
// not at all.

#include "QOVAAudioDiagnosticsDelegate.h"
#include "QOVAAudioDownloadWindow.h"
#include "QOVAAudioTestWindow.h"
#include "QOVADisplayBaseView.h"

#include "menu/QOVAWeakDelegate.h"

#include <QByteArray>
#include <QPointer>

#include <memory>
#include <optional>

class QOVAButton;
class QOVALabel;

class QOVAAudioDiagnosticsView : public QOVADisplayBaseView,
                                 public QOVAAudioDiagnosticsViewInterface,
                                 public QOVAAudioTestWindowDelegate {
    Q_OBJECT
public:
    explicit QOVAAudioDiagnosticsView(const QString &productName, QWidget *parent = nullptr);
    ~QOVAAudioDiagnosticsView() override;

    void setDelegate(QOVAAudioDiagnosticsDelegate *delegate) { m_delegate.set(delegate); }
    QOVAAudioDiagnosticsDelegate *delegate() const { return m_delegate.get(); }

    QOVALabel *tipLabel() const { return m_tipLabel; }
    QOVAButton *startTestButton() const { return m_startTestButton; }
    QOVAAudioTestWindow *audioTestWindow() const { return m_audioTestWindow; }
    QOVAAudioDownloadWindow *audioDownloadWindow() const { return m_audioDownloadWindow; }
    bool isSavePanelOpen() const { return m_savePanelOpen; }
    bool holdsAudioTestData() const { return m_audioTestData.has_value(); }
    std::optional<QString> fileSavedPath() const { return m_fileSavedPath; }

    // The name offered in the save panel: the product name without blanks,
    // "AudioTest_", the time stamp and ".tar".
    static QString proposedFileName(const QString &productName, const QString &timestamp);
    static void setButtonEnabled(QOVAButton *button, bool state);

    void clickAudioTestButton();

    // QOVAAudioTestWindowDelegate
    void stopAudioRecord() override;

    // QOVAAudioDiagnosticsViewInterface
    void showSaveFileWindow() override;
    void saveAudioFile(const QByteArray &data) override;
    void closeAllWindows() override;

private:
    void setupSpeakerTestView();
    void savePanelAnswered(const std::optional<QString> &path);
    void writeArchive(const QString &path, const QByteArray &data);

    QOVALabel *m_tipLabel = nullptr;
    QOVAButton *m_startTestButton = nullptr;
    // Child windows of the main window, which may take them first.
    QPointer<QOVAAudioTestWindow> m_audioTestWindow;
    QPointer<QOVAAudioDownloadWindow> m_audioDownloadWindow;
    // The save panel of the current test: open or not, and which one (the
    // answer of a panel closed meanwhile is not taken).
    bool m_savePanelOpen = false;
    quint64 m_savePanelTicket = 0;
    std::optional<QByteArray> m_audioTestData;
    std::optional<QString> m_fileSavedPath;
    QString m_productName;
    QOVAWeakDelegate<QOVAAudioDiagnosticsDelegate> m_delegate;
};
