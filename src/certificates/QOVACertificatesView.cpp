#include "QOVACertificatesView.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVACertificateFilePanels.h"
#include "QOVAColor.h"
#include "QOVADeviceModel.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "log/log.h"

#include <QPainter>
#include <QPlainTextEdit>

#include <algorithm>
#include <initializer_list>

namespace qovacert {
namespace {

struct CertificateType {
    const char *deviceValue;
    const char *shownText;
    const char *detailUrl;
};

// The texts are the device's own terms and are not translated.
const CertificateType kCertificateTypes[] = {
    {"provisionClient", "Provisioning,User", "provision_client_detail"},
    {"wifiCaCert", "Wi-Fi, CA", "wifi_server_detail"},
    {"wifiClientCert", "Wi-Fi, User", "wifi_client_detail"},
    {"provisionServerCa", "Provisioning,CA", "provision_server_detail"},
};

} // namespace

QString changeTypeFrom(const QString &deviceType)
{
    for (const CertificateType &type : kCertificateTypes) {
        if (deviceType == QLatin1String(type.deviceValue))
            return QLatin1String(type.shownText);
    }
    return QString();
}

QString detailUrlForText(const QString &shownText)
{
    for (const CertificateType &type : kCertificateTypes) {
        if (shownText == QLatin1String(type.shownText))
            return QLatin1String(type.detailUrl);
    }
    return QString();
}

QString deviceTypeForText(const QString &shownText)
{
    for (const CertificateType &type : kCertificateTypes) {
        if (shownText == QLatin1String(type.shownText))
            return QLatin1String(type.deviceValue);
    }
    return QString();
}

} // namespace qovacert

namespace {

// Columns of the table, shared by the header and the rows: left edge, width.
constexpr int kIssuedToLeft = 13, kIssuedToWidth = 173;
constexpr int kIssuedByWidth = 130;
constexpr int kExpirationWidth = 143;
constexpr int kTypeGap = 9, kTypeWidth = 71;
constexpr int kTableWidth = 548;
constexpr int kRowHeight = 32;
constexpr int kRowSpacing = 3;

QOVALabel *columnLabel(QWidget *parent, double size, const QColor &colour)
{
    auto *label = new QOVALabel(parent);
    label->setFont(fontWithSFProDisplay(size, QOVAFontRegular));
    label->setTextColor(colour);
    label->setMaximumNumberOfLines(1);
    label->setLineBreakMode(QOVALabel::ByTruncatingTail);
    return label;
}

void placeColumns(QOVALabel *to, QOVALabel *by, QOVALabel *expiration, QOVALabel *type, int centreY)
{
    to->setGeometry(kIssuedToLeft, centreY - 13 / 2, kIssuedToWidth, 13);
    const int byLeft = kIssuedToLeft + kIssuedToWidth;
    by->setGeometry(byLeft, centreY - 15 / 2, kIssuedByWidth, 15);
    const int expirationLeft = byLeft + kIssuedByWidth;
    expiration->setGeometry(expirationLeft, centreY - 15 / 2, kExpirationWidth, 15);
    type->setGeometry(expirationLeft + kExpirationWidth + kTypeGap, centreY - 15 / 2, kTypeWidth, 15);
}

QOVALabel *pageLabel(QWidget *parent, double size, int fontType, const char *colour, const QString &text)
{
    auto *label = new QOVALabel(parent);
    label->setFont(fontWithSFProDisplay(size, fontType));
    label->setTextColor(colorWithString(QLatin1String(colour), 1.0));
    label->setStringValue(text);
    label->show();
    return label;
}

} // namespace

// --- row ----------------------------------------------------------------

QOVACaCell::QOVACaCell(QWidget *parent)
    : QWidget(parent)
{
    const QColor text = colorWithString(QStringLiteral("212121"), 0.85);
    m_issuedToLabel = columnLabel(this, 11, colorWithString(QStringLiteral("0277bd"), 0.85));
    m_issuedByLabel = columnLabel(this, 11, text);
    m_expirationLabel = columnLabel(this, 11, text);
    m_typeLabel = columnLabel(this, 11, text);
    m_noneLabel = columnLabel(this, 11, colorWithString(QStringLiteral("cccccc"), 0.85));
    m_noneLabel->setAlignment(QOVALabel::AlignCenter);
    m_noneLabel->setStringValue(qtTrId("STRING_NO_RECORDS_FOUND"));
    m_noneLabel->hide();
    // Clear, over the first column: a click on its text asks for the details.
    m_deleteButton = new QOVAButton(this);
    m_deleteButton->setObjectName(QStringLiteral("caCellButton"));
    m_deleteButton->setBackgroundColor(Qt::transparent);
    m_deleteButton->setQovaButtonType(0);
    connect(m_deleteButton, &QOVAButton::clicked, this, [this] { deleteCertificate(); });
    resize(kTableWidth, kRowHeight);
}

void QOVACaCell::resizeEvent(QResizeEvent *)
{
    placeColumns(m_issuedToLabel, m_issuedByLabel, m_expirationLabel, m_typeLabel, height() / 2);
    m_deleteButton->setGeometry(m_issuedToLabel->geometry());
    m_noneLabel->setGeometry(0, height() / 2 - 13 / 2, width(), 13);
}

void QOVACaCell::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Qt::white);
}

void QOVACaCell::reLayoutCaCell(bool empty)
{
    m_noneLabel->setVisible(empty);
    for (QWidget *w : std::initializer_list<QWidget *>{m_issuedToLabel, m_issuedByLabel, m_expirationLabel,
                                                       m_typeLabel, m_deleteButton})
        w->setVisible(!empty);
}

void QOVACaCell::deleteCertificate()
{
    if (m_cellDelegate)
        m_cellDelegate->watchCertificateDetailInformation(m_typeLabel->stringValue());
}

// --- header ----------------------------------------------------------------

QOVACertificateRecordView::QOVACertificateRecordView(QWidget *parent)
    : QWidget(parent)
{
    resize(kTableWidth, kRowHeight);
    const QColor text = colorWithString(QStringLiteral("212121"), 0.85);
    const char *const keys[] = {"STRING_ISSUED_TO", "STRING_ISSUED_BY", "STRING_EXPIRATION_DATE", "STRING_TYPE"};
    QOVALabel *labels[4];
    for (int i = 0; i < 4; ++i) {
        labels[i] = columnLabel(this, 13, text);
        labels[i]->setStringValue(qtTrId(keys[i]));
    }
    placeColumns(labels[0], labels[1], labels[2], labels[3], kRowHeight / 2);
    labels[0]->setGeometry(labels[0]->geometry().adjusted(0, -1, 0, 1));
}

void QOVACertificateRecordView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), colorWithString(QStringLiteral("fbfbfb"), 1.0));
    p.setPen(colorWithString(QStringLiteral("cccccc"), 1.0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// --- page ----------------------------------------------------------------

QOVACertificatesView::QOVACertificatesView(const QString &productID, QWidget *parent)
    : QOVADisplayBaseView(parent)
    , m_productID(productID)
{
    detailViewName()->setStringValue(qtTrId("STRING_CERTIFICATES"));
    setupCertificatesUI();
    if (m_productID == QLatin1String("6e12")
        && QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion() != QLatin1String("V1.3"))
        setupVaskoCertificatesUI();
}

void QOVACertificatesView::setButtonEnabled(QOVAButton *button, bool enabled)
{
    const QColor blue = colorWithString(QStringLiteral("0277bd"), 1.0);
    if (enabled) {
        button->setBackgroundColor(Qt::white);
        button->setTextColor(blue);
        button->setQovaButtonType(1);
    } else {
        button->setBackgroundColor(colorWithString(QStringLiteral("ececec"), 1.0));
        button->setTextColor(colorWithString(QStringLiteral("d1d1d2"), 1.0));
        button->setQovaButtonType(0);
    }
}

void QOVACertificatesView::setupCertificatesUI()
{
    const int left = 36;
    const int top = splitLine()->geometry().bottom() + 1;

    m_validCertificateLabel = pageLabel(this, 13, QOVAFontRegular, "2e2e2e",
                                        qtTrId("STRING_VALIDATE_CERTIFICATE_FROM_SERVER"));
    m_validCertificateLabel->setMaximumNumberOfLines(1);
    m_validCertificateLabel->setLineBreakMode(QOVALabel::ByTruncatingTail);
    m_validCertificateLabel->setGeometry(left, top + 16, 172, 16);
    const int centre = m_validCertificateLabel->geometry().center().y();

    m_validSwitch = new ITSwitch(this);
    m_validSwitch->setObjectName(QStringLiteral("validSwitch"));
    m_validSwitch->setTintColor(colorWithString(QStringLiteral("0077bd"), 1.0));
    m_validSwitch->setGeometry(left + 172 + 15, centre - 9 + 1, 38, 18);
    m_validSwitch->show();
    connect(m_validSwitch, &ITSwitch::triggered, this, [this] { validCertificate(); });

    m_validReminderLabel = pageLabel(this, 14, QOVAFontRegular, "2e2e2e", qtTrId("STRING_OFF"));
    m_validReminderLabel->setGeometry(m_validSwitch->geometry().right() + 1 + 16, centre - 8 + 1, 80, 16);

    m_createLabel = pageLabel(this, 14, QOVAFontBoldItalic, "212121", qtTrId("STRING_CERTIFICATE_SIGNING_REQUEST"));
    m_createLabel->setGeometry(left, m_validCertificateLabel->geometry().bottom() + 1 + 40, 400, 18);

    m_createButton = new QOVAButton(this);
    m_createButton->setObjectName(QStringLiteral("createButton"));
    m_createButton->setTextString(qtTrId("STRING_CREATE"));
    setButtonEnabled(m_createButton, true);
    m_createButton->setGeometry(left, m_createLabel->geometry().bottom() + 1 + 21, 88, 24);
    m_createButton->show();
    connect(m_createButton, &QOVAButton::clicked, this, [this] { createNewCertificate(); });

    m_installLabel = pageLabel(this, 14, QOVAFontBoldItalic, "212121", qtTrId("STRING_INSTALLED_CERTIFICATES"));
    m_installLabel->setGeometry(left, m_createButton->geometry().bottom() + 1 + 82, 400, 18);

    m_recordView = new QOVACertificateRecordView(this);
    m_recordView->setGeometry(left, m_installLabel->geometry().bottom() + 1 + 8, kTableWidth, kRowHeight);
    m_recordView->show();

    m_caTableView = new QWidget(this);
    m_caTableView->setObjectName(QStringLiteral("caTableView"));
    m_caTableView->setAutoFillBackground(true);
    QPalette palette = m_caTableView->palette();
    palette.setColor(QPalette::Window, colorWithString(QStringLiteral("ededed"), 1.0));
    m_caTableView->setPalette(palette);
    m_caTableView->show();

    m_installButton = new QOVAButton(this);
    m_installButton->setObjectName(QStringLiteral("installButton"));
    m_installButton->setTextString(qtTrId("STRING_INSTALL"));
    setButtonEnabled(m_installButton, true);
    m_installButton->show();
    connect(m_installButton, &QOVAButton::clicked, this, [this] { installExistedCertificate(); });

    reloadTable();
}

void QOVACertificatesView::setupVaskoCertificatesUI()
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_createLabel, m_createButton, m_installLabel, m_installButton,
                                                       m_recordView, m_caTableView})
        w->hide();
}

void QOVACertificatesView::setCertificatesViewDelegate(QOVACertificatesViewDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateObject = dynamic_cast<QObject *>(delegate);
    m_delegateIsObject = m_delegateObject != nullptr;
}

QOVACertificatesViewDelegate *QOVACertificatesView::certificatesViewDelegate() const
{
    if (m_delegateIsObject && !m_delegateObject)
        return nullptr;
    return m_delegate;
}

void QOVACertificatesView::handleDisplayViewEvent()
{
    QOVADisplayBaseView::handleDisplayViewEvent();
    QOVACertificatesViewDelegate *delegate = certificatesViewDelegate();
    if (!delegate)
        return;
    if (QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion() == QLatin1String("V1.2"))
        delegate->getValidateCertificateInfo();
    else
        delegate->getInstalledCertificateInformation();
}

void QOVACertificatesView::cancelDisplayViewEvent()
{
    QOVADisplayBaseView::cancelDisplayViewEvent();
}

void QOVACertificatesView::setReminder(bool on)
{
    m_validReminderLabel->setStringValue(qtTrId(on ? "STRING_ON" : "STRING_OFF"));
}

void QOVACertificatesView::updateInstalledCertificateView(const std::shared_ptr<const CertInfo> &model)
{
    if (QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion() == QLatin1String("V1.2"))
        return;
    if (!model)
        return;
    m_infoModel = model;
    m_validSwitch->setChecked(model->isServer_ca_validation());
    setReminder(model->isServer_ca_validation());
    reloadTable();
}

void QOVACertificatesView::updateValidateCertificate(const ValidateCertificateModel &model)
{
    m_validSwitch->setChecked(model.isServer_ca_validation());
    setReminder(model.isServer_ca_validation());
}

void QOVACertificatesView::updateView()
{
    if (QOVACertificatesViewDelegate *delegate = certificatesViewDelegate())
        delegate->getInstalledCertificateInformation();
}

void QOVACertificatesView::reloadTable()
{
    qDeleteAll(m_cells);
    m_cells.clear();
    const int entries = m_infoModel ? int(m_infoModel->info.size()) : 0;
    const int rows = std::max(1, entries);
    for (int row = 0; row < rows; ++row) {
        auto *cell = new QOVACaCell(m_caTableView);
        cell->setCellDelegate(this);
        cell->setGeometry(1, row * (kRowHeight + kRowSpacing), kTableWidth - 2, kRowHeight);
        if (entries == 0) {
            cell->reLayoutCaCell(true);
        } else {
            const CertInfoModel &entry = *m_infoModel->info.at(row);
            cell->reLayoutCaCell(false);
            cell->issuedToLabel()->setStringValue(entry.issueTo);
            cell->issuedByLabel()->setStringValue(entry.issuer);
            cell->expirationLabel()->setStringValue(entry.validDate);
            const QString shown = qovacert::changeTypeFrom(entry.type);
            cell->typeLabel()->setStringValue(shown);
            // A type the page does not know has no details and no delete.
            if (shown.isEmpty())
                cell->deleteButton()->setDisabled(true);
        }
        cell->show();
        m_cells << cell;
    }
    const int height = rows * kRowHeight + (rows - 1) * kRowSpacing;
    m_caTableView->setGeometry(m_recordView->geometry().left(), m_recordView->geometry().bottom() + 1, kTableWidth,
                               height);
    layoutBelowTable();
}

void QOVACertificatesView::layoutBelowTable()
{
    m_installButton->setGeometry(36, m_caTableView->geometry().bottom() + 1 + 16, 88, 24);
}

void QOVACertificatesView::validCertificate()
{
    QOVA_LOG(INFO, UI, "valid certificate Enable!");
    const bool on = m_validSwitch->checked();
    setReminder(on);
    if (QOVACertificatesViewDelegate *delegate = certificatesViewDelegate())
        delegate->validServerCertificate(on);
}

void QOVACertificatesView::validServerCertificateFailed(bool requested)
{
    // Only when the switch still shows what was asked: a later flip wins.
    if (m_validSwitch->checked() == requested) {
        m_validSwitch->setChecked(!requested);
        setReminder(!requested);
    }
    showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_SAVE_FAILED"));
}

void QOVACertificatesView::watchCertificateDetailInformation(const QString &shownType)
{
    // One detail request and one detail window at a time: the window that
    // opens belongs to the row clicked first, even when its reply lands
    // between the press and the release of a click on another row.
    if (m_detailPending || (m_detailWindow && m_detailWindow->isVisible()))
        return;
    const QString url = qovacert::detailUrlForText(shownType);
    if (url.isEmpty())
        return;
    m_deleteCertificateType = shownType;
    m_certificateType = url;
    QOVACertificatesViewDelegate *delegate = certificatesViewDelegate();
    if (!delegate)
        return;
    m_detailPending = true;
    delegate->getInstalledCertificateDetailInformation(m_certificateType);
}

void QOVACertificatesView::certificateDetailFailed()
{
    m_detailPending = false;
}

void QOVACertificatesView::popupCertificateDetailWindow(const QString &detail)
{
    m_detailPending = false;
    auto *window = new QOVACertificateDetailWindow(420, 360);
    m_detailWindow = window;
    window->setDeleteDelegate(this);
    window->setCertificateType(qovacert::deviceTypeForText(m_deleteCertificateType));
    window->detailTextView()->setPlainText(detail);
    window->show();
}

void QOVACertificatesView::deleteCertificate(QOVACertificateDetailWindow *window)
{
    const QString caType = window ? window->certificateType() : QString();
    if (caType.isEmpty())
        return;
    if (QOVACertificatesViewDelegate *delegate = certificatesViewDelegate())
        delegate->deleteCertitificate(caType);
}

void QOVACertificatesView::createNewCertificate()
{
    if (m_creatCAWindow)
        m_creatCAWindow->deleteLater();
    m_creatCAWindow = new QOVACreateCertificateWindow(420, 360);
    m_creatCAWindow->setCreateWindowDelegate(this);
    m_creatCAWindow->show();
}

void QOVACertificatesView::createCertificateWithParameters(const QJsonObject &subject)
{
    if (QOVACertificatesViewDelegate *delegate = certificatesViewDelegate())
        delegate->createCerificateSigningRequest(subject);
}

void QOVACertificatesView::createCertificateSigningRequestSuccess(bool success)
{
    if (!m_creatCAWindow)
        return;
    if (success)
        m_creatCAWindow->layoutCreateSuccessView();
    else
        m_creatCAWindow->layoutCreateFailedView();
}

void QOVACertificatesView::downloadCertificate()
{
    QPointer<QOVACertificatesView> self(this);
    QOVACertificateFilePanels::shared().saveFile(
        QStringLiteral("client.csr"), {QStringLiteral("csr")}, [self](std::optional<QString> path) {
            if (!self || !path || path->isEmpty())
                return;
            if (QOVACertificatesViewDelegate *delegate = self->certificatesViewDelegate())
                delegate->downloadCertificateSigningRequestWithDownloadFilepath(*path);
        });
}

void QOVACertificatesView::downloadCertificateSigningRequestFailed()
{
    showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_SAVE_FAILED"));
}

void QOVACertificatesView::installExistedCertificate()
{
    if (m_installCAWindow)
        m_installCAWindow->deleteLater();
    m_installCAWindow = new QOVAInstallCertificateWindow(420, 240);
    m_installCAWindow->setInstallWindowDelegate(this);
    m_installCAWindow->show();
}

void QOVACertificatesView::installCertificateWithFilepath(const QString &filePath, const QString &typeUrl)
{
    if (QOVACertificatesViewDelegate *delegate = certificatesViewDelegate())
        delegate->installCertificateWithFilepath(filePath, typeUrl);
}

void QOVACertificatesView::verifyPassword(const QString &password)
{
    if (QOVACertificatesViewDelegate *delegate = certificatesViewDelegate())
        delegate->vertifyInputPrivateKey(password);
}

void QOVACertificatesView::closeInstallCertificateWindow()
{
    if (!m_installCAWindow)
        return;
    m_installCAWindow->showMaskView(false);
    m_installCAWindow->closeWindow();
}

void QOVACertificatesView::popupFailureInstallWindow(const QString &reason)
{
    if (!m_installCAWindow)
        return;
    m_installCAWindow->showMaskView(false);
    // "fail" (408), "Reject" (400), and every answer the device should not
    // give or no answer at all: the install did not happen, and the user is
    // told so rather than left looking at the form as if nothing was sent.
    if (reason == QLatin1String("needPassword"))
        m_installCAWindow->layoutPasswordView();
    else
        m_installCAWindow->layoutFailedView();
}

void QOVACertificatesView::vertifyPassword()
{
    if (m_installCAWindow)
        m_installCAWindow->layoutInvalidPasswordView();
}
