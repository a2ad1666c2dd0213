#pragma once
// The form in which the user enters the subject of a certificate signing
// request for the device to create: six fields, Create once all hold text.
// The outcome turns the window into a success view (with Download of
// "client.csr") or a failed view.

#include "QOVAWindow.h"

#include <QJsonObject>
#include <QPointer>

class QOVAButton;
class QOVAImageView;
class QOVALabel;
class QOVATextField;

class QOVACreateCertificateWindowDelegate {
public:
    virtual ~QOVACreateCertificateWindowDelegate() = default;
    virtual void createCertificateWithParameters(const QJsonObject &subject) = 0;
    virtual void downloadCertificate() = 0;
};

class QOVACreateCertificateWindow : public QOVAWindow {
    Q_OBJECT
public:
    enum { FieldCount = 6 };

    QOVACreateCertificateWindow(double width, double height);

    void setCreateWindowDelegate(QOVACreateCertificateWindowDelegate *delegate);
    QOVACreateCertificateWindowDelegate *createWindowDelegate() const;

    // The subject keys, in the order of the fields.
    static const char *const kSubjectKeys[FieldCount];

    QOVATextField *field(int index) const { return m_fields[index]; }
    QOVALabel *fieldLabel(int index) const { return m_labels[index]; }
    QOVAButton *createButton() const { return m_createButton; }
    QOVAButton *cancelButton() const { return m_cancelButton; }
    QOVAButton *downloadButton() const { return m_downloadButton; }
    QOVAButton *closeButton() const { return m_closeButton; }
    QOVAImageView *resultImageView() const { return m_resultImageView; }
    QOVALabel *resultLabel() const { return m_resultLabel; }
    QOVALabel *fileNameLabel() const { return m_fileNameLabel; }
    QOVALabel *failedLabel() const { return m_failedLabel; }
    bool isCreateSuccess() const { return m_isCreateSuccess; }
    bool isRequesting() const { return m_isRequesting; }

    void checkInputStatus();
    void createCertificate();
    void cancelCreate();
    void downloadCertificate();
    void layoutCreateSuccessView();
    void layoutCreateFailedView();

private:
    void layoutCreateCertificateView();
    void hideTheInputs(bool hide);
    QOVAButton *dialogButton(const char *key, bool enabled);

    QOVALabel *m_titleLabel = nullptr;
    QOVALabel *m_tipLabel = nullptr;
    QOVALabel *m_labels[FieldCount] = {};
    QOVATextField *m_fields[FieldCount] = {};
    QOVAButton *m_cancelButton = nullptr;
    QOVAButton *m_createButton = nullptr;
    QOVAImageView *m_resultImageView = nullptr;
    QOVALabel *m_resultLabel = nullptr;
    QOVALabel *m_fileNameLabel = nullptr;
    QOVAButton *m_downloadButton = nullptr;
    QOVALabel *m_failedLabel = nullptr;
    QOVAButton *m_closeButton = nullptr;
    bool m_isCreateSuccess = false;
    bool m_isRequesting = false;
    QOVACreateCertificateWindowDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateObject;
    bool m_delegateIsObject = false;
};
