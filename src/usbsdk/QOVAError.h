#pragma once
// Error records of the device protocol: a domain, a code and a description.

#include <QString>
#include <QVariantMap>

class QOVAError {
public:
    // Domain of codes 1 to 6.
    static const QString kHIDErrorDomain;      // "QOVAUSBHIDErrorDomain"
    // Domain of errorCode(); used by the firmware update.
    static const QString kGenericErrorDomain;
    // userInfo key whose text is the description.
    static const QString kLocalizedDescriptionKey;  // "NSLocalizedDescription"

    enum Code {
        SetReportFailure = 1,
        MessageIDNotMatch = 2,
        ResponseNotCorrect = 3,
        ResponseOvertime = 4,
        GetResponseFailure = 5,
        SetReportRejected = 6,
    };

    QOVAError() = default;
    QOVAError(QString domain, int code, QVariantMap userInfo);

    static QOVAError errorSetReportFailure();
    static QOVAError errorMessageIDNotMatch();
    static QOVAError errorResponseNotCorrect();
    static QOVAError errorResponseOvertime();
    static QOVAError errorGetResponseFailure();
    static QOVAError errorSetReportRejected();
    static QOVAError errorCode(int code, const QVariantMap &userInfo);

    QString domain() const { return m_domain; }
    int code() const { return m_code; }
    QVariantMap userInfo() const { return m_userInfo; }
    // The description text of codes 1 to 6, or the userInfo's description.
    QString localizedDescription() const;

private:
    QString m_domain;
    int m_code = 0;
    QVariantMap m_userInfo;
};
