#pragma once
// Factory reset: an explanation and a red Reset button that asks for
// confirmation in a modal alert before telling the delegate to reset the
// device. The alert is centred on the 820-point-wide main window; the page
// is dimmed while it runs.
//
// The page also carries a rescue section for a network camera (a firmware
// file chooser, its check and an Update button) that the device page does
// not show; addManualUpdateForVasko() builds it.

#include "QOVADisplayBaseView.h"
#include "QOVALabel.h"
#include "QOVAButton.h"
#include "QOVAFactoryResetDelegate.h"

#include "menu/QOVAWeakDelegate.h"

#include <QMessageBox>
#include <QPointer>
#include <functional>

class QMessageBox;

class QOVAFactoryResetView : public QOVADisplayBaseView {
    Q_OBJECT
public:
    explicit QOVAFactoryResetView(QWidget *parent = nullptr);

    void setDelegate(QOVAFactoryResetDelegate *delegate) { m_delegate.set(delegate); }
    QOVAFactoryResetDelegate *delegate() const { return m_delegate.get(); }

    QOVALabel *systemRestartInfo() const { return m_systemRestartInfo; }
    QOVAButton *restartButton() const { return m_restartButton; }

    // Confirmation, then the reset.
    void clickResetButton();
    // The alert while it runs (tests answer it), else none.
    QMessageBox *alert() const { return m_alert; }
    // Where the alert goes for a main window frame and the page's height
    // (screen coordinates, top-left origin).
    static QPoint alertOrigin(const QRect &mainWindowFrame, const QSize &alertSize, int pageHeight);

    // --- rescue section
    void addManualUpdateForVasko();
    void openFileSelector();
    void clickUpdateButton();
    // A network camera's rescue image: a valid firmware suffix naming the
    // camera's update mode, and the digest stored in its last 96 bytes
    // matching the rest of the file.
    static bool isStandardVaskoDFUFile(const QString &path);
    void layoutCheckFailed();
    void layoutCheckSuccessed();
    QString chosenFilePath() const { return m_chosenFilePath; }
    QOVAButton *chooseFileButton() const { return m_chooseFileButton; }
    QOVAButton *updateButton() const { return m_updateButton; }
    QOVALabel *fileNameLabel() const { return m_fileNameLabel; }
    QOVALabel *checkFailedLabel() const { return m_checkFailedLabel; }

    // Seams: how a file is chosen (an empty path for none; none set: the
    // open dialog) and what Update
    // opens with the checked file.
    static void setFileChooser(std::function<QString(QWidget *parent)> chooser);
    void setUpdateWindowOpener(std::function<void(const QString &path)> opener) { m_opener = std::move(opener); }

private:
    QOVAWeakDelegate<QOVAFactoryResetDelegate> m_delegate;
    QPointer<QOVALabel> m_systemRestartInfo;
    QPointer<QOVAButton> m_restartButton;
    QPointer<QMessageBox> m_alert;

    QPointer<QOVALabel> m_rescueTitle;
    QPointer<QOVALabel> m_rescueTip;
    QPointer<QOVAButton> m_chooseFileButton;
    QPointer<QOVALabel> m_fileNameLabel;
    QPointer<QOVAButton> m_updateButton;
    QPointer<QOVALabel> m_checkFailedLabel;
    QString m_chosenFilePath;
    std::function<void(const QString &path)> m_opener;
};
