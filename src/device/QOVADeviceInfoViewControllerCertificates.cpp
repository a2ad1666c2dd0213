// The device page controller's side of the certificates page: each page
// action becomes one device request for the open device, whose outcome goes
// back into the page.

#include "QOVADeviceInfoViewController.h"

#include "QOVAIOManager.h"
#include "certificates/QOVACertificatesView.h"
#include "log/log.h"
#include "models/CertInfo.h"
#include "models/DetailInfo.h"
#include "models/ValidateCertificateModel.h"

#include <QPointer>
#include <QSaveFile>

#include <cstdio>

namespace {

using Self = QPointer<QOVADeviceInfoViewController>;

template <typename Model>
std::shared_ptr<const Model> replyModel(const QOVAReplyObject &reply)
{
    const auto *model = std::get_if<QOVAModelRef>(&reply);
    return model ? qova_model_cast<Model>(*model) : nullptr;
}

// Writes the whole file or nothing: a temporary file replaces the target.
bool writeAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

QOVACertificatesView *QOVADeviceInfoViewController::certificatesView()
{
    return pageAs<QOVACertificatesView>(QStringLiteral("certificatesView"));
}

void QOVADeviceInfoViewController::createCerificateSigningRequest(const QJsonObject &subject)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::createCerificateSigningRequest");
    Self self(this);
    QOVAIOManager::usbManagerShared()->setUSBCSRInfoProvision(
        serialNumber(), subject,
        [self](const QString &text) {
            QOVA_LOG(DEBUG, UI, "create Certificate Sign Request Success, %s", qUtf8Printable(text));
            if (self && self->certificatesView())
                self->certificatesView()->createCertificateSigningRequestSuccess(true);
        },
        [self](const QString &reason) {
            QOVA_LOG(DEBUG, UI, "create Cerfificate Sign Request Failure, %s", qUtf8Printable(reason));
            if (self && self->certificatesView())
                self->certificatesView()->createCertificateSigningRequestSuccess(false);
        });
}

void QOVADeviceInfoViewController::downloadCertificateSigningRequestWithDownloadFilepath(const QString &path)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::downloadCertificateSigningRequest");
    Self self(this);
    QOVAIOManager::usbManagerShared()->getUSBDeviceCsrProvisionFile(
        serialNumber(),
        [self, path](const QOVAReplyObject &reply) {
            const auto *bytes = std::get_if<QByteArray>(&reply);
            if (bytes && writeAtomically(path, *bytes)) {
                QOVA_LOG(INFO, UI, "Export config file successfully");
                return;
            }
            QOVA_LOG(INFO, UI, "Export config file failed, reason is failed to write file to local.");
            if (self && self->certificatesView())
                self->certificatesView()->downloadCertificateSigningRequestFailed();
        },
        [self](const QString &reason) {
            QOVA_LOG(DEBUG, UI, "Download CSR Failured ,The faiulre reason is %s", qUtf8Printable(reason));
            if (self && self->certificatesView())
                self->certificatesView()->downloadCertificateSigningRequestFailed();
        });
}

void QOVADeviceInfoViewController::installCertificateWithFilepath(const QString &filePath, const QString &typeUrl)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::installCertificateWithFilepath");
    Self self(this);
    QOVAIOManager::usbManagerShared()->putUSBDeviceCertificate(
        serialNumber(), filePath, typeUrl,
        [self](const QString &) {
            QOVA_LOG(INFO, UI, "Install Certificate successfully");
            if (!self || !self->certificatesView())
                return;
            self->certificatesView()->closeInstallCertificateWindow();
            self->certificatesView()->updateView();
        },
        [self](const QString &reason) {
            QOVA_LOG(DEBUG, UI, "Install Certificate Failure!");
            if (self && self->certificatesView())
                self->certificatesView()->popupFailureInstallWindow(reason);
        });
}

void QOVADeviceInfoViewController::deleteCertitificate(const QString &caType)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::deleteCertitificate");
    Self self(this);
    QOVAIOManager::usbManagerShared()->deleteUSBDeviceCaCertificate(
        serialNumber(), caType,
        [self](const QString &) {
            QOVA_LOG(INFO, UI, "Delete Certitificate Successfully");
            if (self && self->certificatesView())
                self->certificatesView()->updateView();
        },
        [](const QString &) { QOVA_LOG(INFO, UI, "Delete Certitificate Failure"); });
}

void QOVADeviceInfoViewController::getInstalledCertificateInformation()
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::getInstalledCertificateInformation");
    Self self(this);
    QOVAIOManager::usbManagerShared()->getInstalledCertificateinfo(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            const auto info = replyModel<CertInfo>(reply);
            if (!info) {
                QOVA_LOG(INFO, UI, "Get Installed Certificateinfo Failure %s", "the reply holds no certificate list");
                return;
            }
            QOVA_LOG(INFO, UI, "Get Installed Certificateinfo Successfully");
            if (self && self->certificatesView())
                self->certificatesView()->updateInstalledCertificateView(info);
        },
        [](const QString &reason) {
            QOVA_LOG(INFO, UI, "Get Installed Certificateinfo Failure %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::getInstalledCertificateDetailInformation(const QString &detailUrl)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::getInstalledCertificateDetailInformation");
    Self self(this);
    QOVAIOManager::usbManagerShared()->getInstalledCertificateDetailInfo(
        serialNumber(), detailUrl,
        [self](const QOVAReplyObject &reply) {
            if (!self || !self->certificatesView())
                return;
            const auto detail = replyModel<DetailInfo>(reply);
            if (detail)
                self->certificatesView()->popupCertificateDetailWindow(detail->info);
            else
                self->certificatesView()->certificateDetailFailed();
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get certificate detail failure, reason is %s", qUtf8Printable(reason));
            if (self && self->certificatesView())
                self->certificatesView()->certificateDetailFailed();
        });
}

void QOVADeviceInfoViewController::vertifyInputPrivateKey(const QString &password)
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::vertifyInputPrivateKey");
    Self self(this);
    QOVAIOManager::usbManagerShared()->setUSBDeviceCertificatePassword(
        serialNumber(), password,
        [self](const QString &) {
            QOVA_LOG(INFO, UI, "Vertify input Password Certitificate Successfully");
            if (!self || !self->certificatesView())
                return;
            self->certificatesView()->closeInstallCertificateWindow();
            self->certificatesView()->updateView();
        },
        [self](const QString &) {
            QOVA_LOG(INFO, UI, "Vertify input Password Certitificate Failure");
            if (self && self->certificatesView())
                self->certificatesView()->vertifyPassword();
        });
}

void QOVADeviceInfoViewController::validServerCertificate(bool enable)
{
    Self self(this);
    QOVAIOManager::usbManagerShared()->setUSBDeviceCertificateServerValidate(
        serialNumber(), enable,
        [](const QString &) { QOVA_LOG(INFO, UI, "Set Valid Server Certitificate Successfully!"); },
        [self, enable](const QString &) {
            QOVA_LOG(INFO, UI, "Set Valid Server Certitificate Failure!");
            if (self && self->certificatesView())
                self->certificatesView()->validServerCertificateFailed(enable);
        });
}

void QOVADeviceInfoViewController::getValidateCertificateInfo()
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::getValidateCertificateInfo");
    Self self(this);
    QOVAIOManager::usbManagerShared()->getValidateCertificateinfo(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            const auto model = replyModel<ValidateCertificateModel>(reply);
            if (!model) {
                QOVA_LOG(INFO, UI, "Get getValidateCertificateInfo Failure %s", "the reply holds no validation state");
                return;
            }
            if (self && self->certificatesView())
                self->certificatesView()->updateValidateCertificate(*model);
            QOVA_LOG(INFO, UI, "Get getValidateCertificateInfo Successfully");
        },
        [](const QString &reason) {
            QOVA_LOG(INFO, UI, "Get getValidateCertificateInfo Failure %s", qUtf8Printable(reason));
        });
}
