#pragma once
// Read-only details of one installed certificate, as the device prints them,
// with Delete and Close. The window is bound to the certificate it shows:
// Delete reports that certificate's device type, whatever the page showed
// since.

#include "QOVAWindow.h"

#include <QPointer>

class QOVAButton;
class QOVALabel;
class QPlainTextEdit;
class QOVACertificateDetailWindow;

class QOVACertificateDetailWindowDelegate {
public:
    virtual ~QOVACertificateDetailWindowDelegate() = default;
    virtual void deleteCertificate(QOVACertificateDetailWindow *window) = 0;
};

class QOVACertificateDetailWindow : public QOVAWindow {
    Q_OBJECT
public:
    QOVACertificateDetailWindow(double width, double height);

    // Held weakly when the delegate is a QObject.
    void setDeleteDelegate(QOVACertificateDetailWindowDelegate *delegate);
    QOVACertificateDetailWindowDelegate *deleteDelegate() const;

    // The device type value of the certificate shown ("wifiCaCert", ...).
    void setCertificateType(const QString &caType) { m_certificateType = caType; }
    QString certificateType() const { return m_certificateType; }

    QOVALabel *titleLabel() const { return m_titleLabel; }
    QPlainTextEdit *detailTextView() const { return m_detailTextView; }
    QOVAButton *deleteButton() const { return m_deleteButton; }
    QOVAButton *closeButton() const { return m_closeButton; }

    // Delete: the window closes, then the delegate is told once.
    void deleteCertificate();
    void closeWindow();

private:
    void layoutCertificateDetailView();

    QOVALabel *m_titleLabel = nullptr;
    QPlainTextEdit *m_detailTextView = nullptr;
    QOVAButton *m_deleteButton = nullptr;
    QOVAButton *m_closeButton = nullptr;
    QString m_certificateType;
    bool m_deleted = false;
    QOVACertificateDetailWindowDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateObject;
    bool m_delegateIsObject = false;
};
