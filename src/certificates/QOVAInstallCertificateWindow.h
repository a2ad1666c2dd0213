#pragma once
// The dialog that installs a certificate file on the device: the user picks
// the certificate type and a file, presses Install, and for a protected
// client certificate types the private key's password. The certificates
// page drives it into its busy, password, invalid-password or failed state,
// or closes it.

#include "QOVASecureTextView.h"
#include "QOVAWindow.h"

#include <QPointer>
#include <QStringList>

class QOVAButton;
class QOVAImageView;
class QOVALabel;
class QOVAMaskView;
class QOVAPopUpButton;
class QOVAProgressIndicator;
class QTimer;

class QOVAInstallCertificateWindowDelegate {
public:
    virtual ~QOVAInstallCertificateWindowDelegate() = default;
    virtual void verifyPassword(const QString &password) = 0;
    virtual void installCertificateWithFilepath(const QString &filePath, const QString &typeUrl) = 0;
};

class QOVAInstallCertificateWindow : public QOVAWindow, public QOVASecureTextViewDelegate {
    Q_OBJECT
public:
    // Largest certificate file sent to a device.
    static constexpr qint64 kMaximumFileSize = 1024 * 1024;
    // How long the busy state waits for the device's answer.
    static constexpr double kBusyTimeLimitMs = 30000;

    QOVAInstallCertificateWindow(double width, double height);

    void setInstallWindowDelegate(QOVAInstallCertificateWindowDelegate *delegate);
    QOVAInstallCertificateWindowDelegate *installWindowDelegate() const;

    // The resource name of a type's localised title ("" when none matches),
    // and the file suffixes the type accepts (empty: any).
    static QString resourceForTitle(const QString &title);
    static QStringList suffixesForTitle(const QString &title);

    QOVALabel *typeLabel() const { return m_typeLabel; }
    QOVAPopUpButton *typeButton() const { return m_typeButton; }
    QOVALabel *certificateLabel() const { return m_certificateLabel; }
    QOVAButton *chooseButton() const { return m_chooseButton; }
    QOVALabel *fileLabel() const { return m_fileLabel; }
    QOVAButton *installButton() const { return m_installButton; }
    QOVAButton *cancelButton() const { return m_cancelButton; }
    QOVAButton *nextButton() const { return m_nextButton; }
    QOVAButton *closeButton() const { return m_closeButton; }
    QOVASecureTextView *passwordTextfield() const { return m_passwordTextfield; }
    QOVALabel *errorLabel() const { return m_errorLabel; }
    QOVALabel *failedLabel() const { return m_failedLabel; }
    QOVAMaskView *maskView() const { return m_maskView; }
    QString filePath() const { return m_filePath; }
    bool isBusy() const;
    bool isFailedViewShown() const { return m_failedShown; }
    bool isPasswordViewShown() const { return m_passwordShown; }

    void openFileSelector();
    void installCertificate();
    void nextStep();
    void cancelInstall();
    void closeWindow();
    void showMaskView(bool show);
    void layoutPasswordView();
    void layoutInvalidPasswordView();
    void layoutFailedView();

    void secureTextViewTextChange(QOVASecureTextView *view, QLineEdit *field) override;

private:
    void layoutInstallCertificateView();
    void typeChanged();
    void fileChosen(const QString &path);
    QOVAButton *dialogButton(const char *key, bool enabled);
    void hideEverything();

    QOVALabel *m_titleLabel = nullptr;
    QOVALabel *m_errorLabel = nullptr;
    QOVALabel *m_typeLabel = nullptr;
    QOVAPopUpButton *m_typeButton = nullptr;
    QOVALabel *m_certificateLabel = nullptr;
    QOVAButton *m_chooseButton = nullptr;
    QOVALabel *m_fileLabel = nullptr;
    QOVAButton *m_cancelButton = nullptr;
    QOVAButton *m_installButton = nullptr;
    QOVALabel *m_passwordLabel = nullptr;
    QOVASecureTextView *m_passwordTextfield = nullptr;
    QOVAButton *m_nextButton = nullptr;
    QOVAButton *m_closeButton = nullptr;
    QOVAImageView *m_resultImageView = nullptr;
    QOVALabel *m_failedLabel = nullptr;
    QOVAProgressIndicator *m_indicator = nullptr;
    QOVAMaskView *m_maskView = nullptr;
    QTimer *m_busyTimer = nullptr;
    QString m_filePath;
    bool m_failedShown = false;
    bool m_passwordShown = false;
    QOVAInstallCertificateWindowDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateObject;
    bool m_delegateIsObject = false;
};
