#pragma once
// The error a network operation of the firmware update hands to its failure
// callback: the HTTP client's error, or one of the downloader's own.

#include <QNetworkReply>
#include <QString>

struct QOVANetworkError {
    // The downloader's own codes, above the HTTP client's error numbers.
    enum Code {
        BadFileName = 1001,    // the address names no usable file
        FileBusy = 1002,       // another download is writing the same file
        FileWrite = 1003,      // the destination cannot be created or written
        HttpStatus = 1004,     // the server answered with a status we cannot use
        RangeMismatch = 1005,  // a partial reply that does not start where the file ends
        Incomplete = 1006,     // the transfer ended before the file was whole
        Md5Mismatch = 1007,    // the file does not match the digest of the update check
        InsecureAddress = 1008, // an update address that is not https
        BadCheckReply = 1009,  // an update-check reply without a version or a package address
        TimedOut = 1010,       // the server did not answer, or stopped sending, in time
        ReplyTooLarge = 1011,  // an update-check reply larger than any real one
    };

    int code = 0;              // a Code, or a QNetworkReply::NetworkError
    QString localizedDescription;
    int httpStatus = 0;        // the reply's status, when there was one

    bool isCancelled() const { return code == QNetworkReply::OperationCanceledError; }

    static QOVANetworkError fromReply(const QNetworkReply *reply)
    {
        QOVANetworkError e;
        e.code = reply->error();
        e.localizedDescription = reply->errorString();
        e.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return e;
    }
    // Update checks and packages travel over HTTPS only; anything else is
    // refused with an InsecureAddress error, which is logged.
    static bool isSecureAddress(const QUrl &url)
    {
        return url.isValid() && url.scheme() == QLatin1String("https") && !url.host().isEmpty();
    }

    static QOVANetworkError make(Code code, const QString &description, int httpStatus = 0)
    {
        QOVANetworkError e;
        e.code = code;
        e.localizedDescription = description;
        e.httpStatus = httpStatus;
        return e;
    }
};
