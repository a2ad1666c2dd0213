#pragma once
// Logs: saves the device's system log (and, on the video bar, its crash
// files) as an archive on the computer. The page asks where to save, shows
// the collecting window and hands the path to its delegate (the device page
// controller), which fetches and writes the file and ends the collecting
// state through stopDownloadingAnimation().

#include "QOVADisplayBaseView.h"
#include "QOVALogViewDelegate.h"
#include "QOVALogWindow.h"

#include "menu/QOVAWeakDelegate.h"

#include <memory>

class QOVAButton;
class QOVALabel;

class QOVALogView : public QOVADisplayBaseView, public QOVALogViewInterface {
    Q_OBJECT
public:
    QOVALogView(const QString &productId, const QString &productName, QWidget *parent = nullptr);
    ~QOVALogView() override;

    void setLogDelegate(QOVALogViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVALogViewDelegate *logDelegate() const { return m_delegate.get(); }

    QOVALabel *sysLogTipLabel() const { return m_sysLogTipLabel; }
    QOVAButton *sysLogDownloadButton() const { return m_sysLogDownloadButton; }
    QOVALabel *coreDumpViewName() const { return m_coreDumpViewName; }
    QOVALabel *coreLogTipLabel() const { return m_coreLogTipLabel; }
    QOVAButton *coreLogDownloadButton() const { return m_coreLogDownloadButton; }
    QOVALogWindow *logWindow() const { return m_logWindow.get(); }

    // The name offered for a download: the product name without blanks,
    // "Log_" (tag 1) or "CrashFile_" (tag 2), the time stamp and ".zip".
    static QString proposedFileName(const QString &productName, int tag, const QString &timestamp);

    void startDownload(QOVAButton *button);
    void startDownloadingAnimation();
    void stopDownloadingAnimation() override;
    QOVADisplayBaseView *displayView() override { return this; }
    static void setButtonEnabled(QOVAButton *button, bool enabled);

private:
    void setupLogView();
    void setupLogAndCoredumpView();
    void hideLogWindow();

    QOVALabel *m_sysLogTipLabel = nullptr;
    QOVAButton *m_sysLogDownloadButton = nullptr;
    QOVALabel *m_coreDumpViewName = nullptr;
    QWidget *m_splitLine2 = nullptr;
    QOVALabel *m_coreLogTipLabel = nullptr;
    QOVAButton *m_coreLogDownloadButton = nullptr;
    // The window of the current download; the next download replaces it.
    std::unique_ptr<QOVALogWindow> m_logWindow;
    QString m_productName;
    QOVAWeakDelegate<QOVALogViewDelegate> m_delegate;
};
