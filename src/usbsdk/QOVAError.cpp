#include "QOVAError.h"

const QString QOVAError::kHIDErrorDomain = QStringLiteral("QOVAUSBHIDErrorDomain");
const QString QOVAError::kGenericErrorDomain = QStringLiteral("org.orvalinde.ErrorDomain");
const QString QOVAError::kLocalizedDescriptionKey = QStringLiteral("NSLocalizedDescription");

namespace {
QOVAError hidError(int code, const char *text)
{
    QVariantMap info;
    info.insert(QOVAError::kLocalizedDescriptionKey, QString::fromUtf8(text));
    return QOVAError(QOVAError::kHIDErrorDomain, code, info);
}
} // namespace

QOVAError::QOVAError(QString domain, int code, QVariantMap userInfo)
    : m_domain(std::move(domain)), m_code(code), m_userInfo(std::move(userInfo))
{
}

QOVAError QOVAError::errorSetReportFailure()
{
    return hidError(SetReportFailure, "Set reprort failure. Probably the USB-HID Have crashed.");
}

QOVAError QOVAError::errorMessageIDNotMatch()
{
    return hidError(MessageIDNotMatch,
                    "Bad report response. Probably the USB-HID information have gone.");
}

QOVAError QOVAError::errorResponseNotCorrect()
{
    return hidError(ResponseNotCorrect,
                    "Bad report response. Probably the USB-HID head information have some issue.");
}

QOVAError QOVAError::errorResponseOvertime()
{
    return hidError(ResponseOvertime, "Bad report response. USB-HID Response over time.");
}

QOVAError QOVAError::errorGetResponseFailure()
{
    return hidError(GetResponseFailure, "Bad reprort response. Probably the USB-HID Have crashed.");
}

QOVAError QOVAError::errorSetReportRejected()
{
    return hidError(SetReportRejected, "Reject");
}

QOVAError QOVAError::errorCode(int code, const QVariantMap &userInfo)
{
    return QOVAError(kGenericErrorDomain, code, userInfo);
}

QString QOVAError::localizedDescription() const
{
    const QVariant text = m_userInfo.value(kLocalizedDescriptionKey);
    if (text.isValid())
        return text.toString();
    return QStringLiteral("The operation couldn’t be completed. (%1 error %2.)")
        .arg(m_domain)
        .arg(m_code);
}
