#pragma once
// What the certificates page asks of its owner (the device page controller).
// Every operation becomes one device request; outcomes come back through the
// page's update operations.

#include <QJsonObject>
#include <QString>

class QOVACertificatesViewDelegate {
public:
    virtual ~QOVACertificatesViewDelegate() = default;

    virtual void createCerificateSigningRequest(const QJsonObject &subject) = 0;
    virtual void downloadCertificateSigningRequestWithDownloadFilepath(const QString &path) = 0;
    virtual void installCertificateWithFilepath(const QString &filePath, const QString &typeUrl) = 0;
    virtual void deleteCertitificate(const QString &caType) = 0;
    virtual void getInstalledCertificateInformation() = 0;
    virtual void getInstalledCertificateDetailInformation(const QString &detailUrl) = 0;
    virtual void vertifyInputPrivateKey(const QString &password) = 0;
    virtual void validServerCertificate(bool enable) = 0;
    virtual void getValidateCertificateInfo() = 0;
};
