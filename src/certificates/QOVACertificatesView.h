#pragma once
// The certificates page of a device: the switch for the device's validation
// of server certificates, the certificate signing request, and the table of
// installed certificates with their details, deletion and installation. The
// page never talks to the device: every action goes to its delegate, whose
// outcomes come back through the update operations below.

#include "QOVACertificateDetailWindow.h"
#include "QOVACertificatesViewDelegate.h"
#include "QOVACreateCertificateWindow.h"
#include "QOVADisplayBaseView.h"
#include "QOVAInstallCertificateWindow.h"
#include "models/CertInfo.h"
#include "models/ValidateCertificateModel.h"

#include <QList>
#include <QPointer>

#include <memory>

class ITSwitch;
class QOVAButton;
class QOVALabel;

// The shown text and detail address of a device's certificate type value.
namespace qovacert {
QString changeTypeFrom(const QString &deviceType);     // "" for an unknown value
QString detailUrlForText(const QString &shownText);    // "" for an unknown text
QString deviceTypeForText(const QString &shownText);   // "" for an unknown text
} // namespace qovacert

class QOVACaCell;

class QOVACaCellDelegate {
public:
    virtual ~QOVACaCellDelegate() = default;
    virtual void watchCertificateDetailInformation(const QString &shownType) = 0;
};

// One row of the table.
class QOVACaCell : public QWidget {
    Q_OBJECT
public:
    explicit QOVACaCell(QWidget *parent = nullptr);

    QOVALabel *issuedToLabel() const { return m_issuedToLabel; }
    QOVALabel *issuedByLabel() const { return m_issuedByLabel; }
    QOVALabel *expirationLabel() const { return m_expirationLabel; }
    QOVALabel *typeLabel() const { return m_typeLabel; }
    QOVALabel *noneLabel() const { return m_noneLabel; }
    QOVAButton *deleteButton() const { return m_deleteButton; }

    void setCellDelegate(QOVACaCellDelegate *delegate) { m_cellDelegate = delegate; }
    // YES: only "no records"; NO: the four columns and the button.
    void reLayoutCaCell(bool empty);
    void deleteCertificate();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QOVALabel *m_issuedToLabel = nullptr;
    QOVALabel *m_issuedByLabel = nullptr;
    QOVALabel *m_expirationLabel = nullptr;
    QOVALabel *m_typeLabel = nullptr;
    QOVALabel *m_noneLabel = nullptr;
    QOVAButton *m_deleteButton = nullptr;
    QOVACaCellDelegate *m_cellDelegate = nullptr;
};

// The header row of the table.
class QOVACertificateRecordView : public QWidget {
    Q_OBJECT
public:
    explicit QOVACertificateRecordView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

class QOVACertificatesView : public QOVADisplayBaseView,
                             public QOVACaCellDelegate,
                             public QOVACertificateDetailWindowDelegate,
                             public QOVACreateCertificateWindowDelegate,
                             public QOVAInstallCertificateWindowDelegate {
    Q_OBJECT
public:
    explicit QOVACertificatesView(const QString &productID, QWidget *parent = nullptr);

    void setCertificatesViewDelegate(QOVACertificatesViewDelegate *delegate);
    QOVACertificatesViewDelegate *certificatesViewDelegate() const;

    void handleDisplayViewEvent() override;
    void cancelDisplayViewEvent() override;

    // --- outcomes from the delegate -------------------------------------
    void updateInstalledCertificateView(const std::shared_ptr<const CertInfo> &model);
    void updateValidateCertificate(const ValidateCertificateModel &model);
    void updateView();
    void popupCertificateDetailWindow(const QString &detail);
    // The detail request failed: no window, and rows can be clicked again.
    void certificateDetailFailed();
    void createCertificateSigningRequestSuccess(bool success);
    // The signing request file could not be fetched or saved.
    void downloadCertificateSigningRequestFailed();
    // The device did not take the validation switch: it goes back.
    void validServerCertificateFailed(bool requested);
    void closeInstallCertificateWindow();
    void popupFailureInstallWindow(const QString &reason);
    void vertifyPassword();

    // --- user actions ---------------------------------------------------
    void validCertificate();
    void createNewCertificate();
    void installExistedCertificate();

    // --- window delegates -------------------------------------------------
    void watchCertificateDetailInformation(const QString &shownType) override;
    void deleteCertificate(QOVACertificateDetailWindow *window) override;
    void createCertificateWithParameters(const QJsonObject &subject) override;
    void downloadCertificate() override;
    void installCertificateWithFilepath(const QString &filePath, const QString &typeUrl) override;
    void verifyPassword(const QString &password) override;

    // --- parts, for the owner and tests -----------------------------------
    QString productID() const { return m_productID; }
    QOVALabel *validCertificateLabel() const { return m_validCertificateLabel; }
    ITSwitch *validSwitch() const { return m_validSwitch; }
    QOVALabel *validReminderLabel() const { return m_validReminderLabel; }
    QOVALabel *createLabel() const { return m_createLabel; }
    QOVAButton *createButton() const { return m_createButton; }
    QOVALabel *installLabel() const { return m_installLabel; }
    QOVAButton *installButton() const { return m_installButton; }
    QOVACertificateRecordView *recordView() const { return m_recordView; }
    QWidget *caTableView() const { return m_caTableView; }
    QList<QOVACaCell *> cells() const { return m_cells; }
    QOVACreateCertificateWindow *creatCAWindow() const { return m_creatCAWindow; }
    QOVAInstallCertificateWindow *installCAWindow() const { return m_installCAWindow; }
    std::shared_ptr<const CertInfo> infoModel() const { return m_infoModel; }
    QString certificateType() const { return m_certificateType; }
    QString deleteCertificateType() const { return m_deleteCertificateType; }
    bool isDetailPending() const { return m_detailPending; }

private:
    void setupCertificatesUI();
    void setupVaskoCertificatesUI();
    void reloadTable();
    void layoutBelowTable();
    void setReminder(bool on);
    static void setButtonEnabled(QOVAButton *button, bool enabled);

    QString m_productID;
    QOVALabel *m_validCertificateLabel = nullptr;
    ITSwitch *m_validSwitch = nullptr;
    QOVALabel *m_validReminderLabel = nullptr;
    QOVALabel *m_createLabel = nullptr;
    QOVAButton *m_createButton = nullptr;
    QOVACertificateRecordView *m_recordView = nullptr;
    QOVALabel *m_installLabel = nullptr;
    QOVAButton *m_installButton = nullptr;
    QWidget *m_caTableView = nullptr;
    QList<QOVACaCell *> m_cells;
    QPointer<QOVACreateCertificateWindow> m_creatCAWindow;
    QPointer<QOVAInstallCertificateWindow> m_installCAWindow;
    std::shared_ptr<const CertInfo> m_infoModel;
    QString m_certificateType;
    QString m_deleteCertificateType;
    bool m_detailPending = false;
    QPointer<QOVACertificateDetailWindow> m_detailWindow;
    QOVACertificatesViewDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateObject;
    bool m_delegateIsObject = false;
};
