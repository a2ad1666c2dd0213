#include "QOVAInstallCertificateWindow.h"

#include "QOVAButton.h"
#include "QOVACertificateFilePanels.h"
#include "QOVAColor.h"
#include "QOVADeviceModel.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVAMaskView.h"
#include "QOVAPopUpButton.h"
#include "QOVAProgressIndicator.h"
#include "QOVATextField.h"
#include "log/log.h"
#include "platform/TimeScale.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

struct InstallType {
    const char *key;
    const char *resource;
    bool p12;
};

// In the order the types are listed and matched.
const InstallType kInstallTypes[] = {
    {"STRING_CERTIFICATE_TYPE1", "wifi_ca_cert", false},
    {"STRING_CERTIFICATE_TYPE2", "wifi_client_cert", true},
    {"STRING_CERTIFICATE_TYPE3", "provision_server_ca", false},
    {"STRING_CERTIFICATE_TYPE4", "provision_pem", false},
};

QFont installSystemFont(double size)
{
    QFont font = QApplication::font();
    font.setPixelSize(qRound(size));
    return font;
}

QOVALabel *installLabel(QWidget *parent, const QString &text, const QColor &colour, bool right)
{
    auto *label = new QOVALabel(parent);
    label->setFont(installSystemFont(13));
    label->setTextColor(colour);
    label->setStringValue(text);
    if (right)
        label->setAlignment(QOVALabel::AlignRight);
    return label;
}

} // namespace

QOVAInstallCertificateWindow::QOVAInstallCertificateWindow(double width, double height)
    : QOVAWindow(width, height)
{
    m_busyTimer = new QTimer(this);
    m_busyTimer->setSingleShot(true);
    connect(m_busyTimer, &QTimer::timeout, this, [this] {
        // The device never answered: the window does not stay blocked.
        QOVA_LOG(INFO, UI, "Install Certificate timed out");
        showMaskView(false);
        layoutFailedView();
    });
    layoutInstallCertificateView();
}

QString QOVAInstallCertificateWindow::resourceForTitle(const QString &title)
{
    for (const InstallType &type : kInstallTypes) {
        if (qtTrId(type.key) == title)
            return QLatin1String(type.resource);
    }
    return QString();
}

QStringList QOVAInstallCertificateWindow::suffixesForTitle(const QString &title)
{
    for (const InstallType &type : kInstallTypes) {
        if (qtTrId(type.key) == title)
            return type.p12 ? QStringList{QStringLiteral("p12")}
                            : QStringList{QStringLiteral("crt"), QStringLiteral("pem")};
    }
    return {};
}

QOVAButton *QOVAInstallCertificateWindow::dialogButton(const char *key, bool enabled)
{
    auto *button = new QOVAButton(this);
    button->setTextString(qtTrId(key));
    formatButton(button, enabled, false);
    return button;
}

void QOVAInstallCertificateWindow::layoutInstallCertificateView()
{
    const int w = int(windowSize().width());
    const int h = int(windowSize().height());

    m_titleLabel = new QOVALabel(this);
    m_titleLabel->setFont(fontWithSFProDisplay(14, QOVAFontBold));
    m_titleLabel->setTextColor(colorWithString(QStringLiteral("000000"), 0.85));
    m_titleLabel->setStringValue(qtTrId("STRING_INSTALL_CERTIFICATE"));
    m_titleLabel->setGeometry(34, 18, 345, 18);

    m_errorLabel = installLabel(this, QString(), colorWithString(QStringLiteral("d0021b"), 1.0), false);
    m_errorLabel->setGeometry(34, 48, 352, 16);
    m_errorLabel->hide();

    m_typeLabel = installLabel(this, qtTrId("STRING_TYPE1"), Qt::black, true);
    m_typeLabel->setGeometry(16, 72, 128, 16);
    m_typeButton = new QOVAPopUpButton(this);
    m_typeButton->setObjectName(QStringLiteral("typeButton"));
    const bool serverOnly = QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion() == QLatin1String("V1.3");
    for (const InstallType &type : kInstallTypes) {
        if (serverOnly && (type.resource == QLatin1String("wifi_ca_cert")
                           || type.resource == QLatin1String("wifi_client_cert")))
            continue;
        m_typeButton->addItemWithTitle(qtTrId(type.key));
    }
    m_typeButton->selectItemAtIndex(0);
    m_typeButton->setFontWithString(QStringLiteral("2e2e2e"), 1, 13, QOVAFontRegular);
    m_typeButton->setGeometry(16 + 128 + 16, 72 + 8 - 10, 200, 20);
    connect(m_typeButton, &QComboBox::currentIndexChanged, this, [this] { typeChanged(); });

    m_certificateLabel = installLabel(this, qtTrId("STRING_CERTIFICATE"), Qt::black, true);
    m_certificateLabel->setGeometry(16, 72 + 16 + 16, 128, 16);
    m_chooseButton = new QOVAButton(this);
    m_chooseButton->setObjectName(QStringLiteral("chooseButton"));
    m_chooseButton->setTextString(qtTrId("STRING_CHOOSE_FILE"));
    m_chooseButton->setTextColor(colorWithString(QStringLiteral("616161"), 1.0));
    m_chooseButton->setBackgroundColor(Qt::white);
    m_chooseButton->setBorder(colorWithString(QStringLiteral("979797"), 1.0), 1);
    m_chooseButton->setCornerRadius(2);
    connect(m_chooseButton, &QOVAButton::clicked, this, [this] { openFileSelector(); });
    m_fileLabel = installLabel(this, qtTrId("STRING_NO_FILE_CHOSEN"), colorWithString(QStringLiteral("9b9b9b"), 1.0), false);
    m_fileLabel->setLineBreakMode(QOVALabel::ByTruncatingMiddle);
    m_fileLabel->setMaximumNumberOfLines(1);

    m_installButton = dialogButton("STRING_INSTALL", false);
    m_installButton->setObjectName(QStringLiteral("installButton"));
    connect(m_installButton, &QOVAButton::clicked, this, [this] { installCertificate(); });
    m_cancelButton = dialogButton("STRING_CANCEL", true);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { cancelInstall(); });
    const int installWidth = int(std::max(67.0, m_installButton->textLength()));
    const int cancelWidth = int(std::max(67.0, m_cancelButton->textLength()));
    m_installButton->setGeometry(w - 20 - installWidth, h - 20 - 19, installWidth, 19);
    m_cancelButton->setGeometry(w - 20 - installWidth - 14 - cancelWidth, h - 20 - 19, cancelWidth, 19);

    // Later views, hidden until used.
    m_passwordLabel = installLabel(this, qtTrId("STRING_PRIVATE_KEY_PASSWORD"), Qt::black, false);
    m_passwordLabel->hide();
    m_passwordTextfield = new QOVASecureTextView(this);
    m_passwordTextfield->setSecureDelegate(this);
    m_passwordTextfield->hide();
    m_nextButton = dialogButton("STRING_INSTALL", false);
    m_nextButton->setObjectName(QStringLiteral("nextButton"));
    m_nextButton->hide();
    connect(m_nextButton, &QOVAButton::clicked, this, [this] { nextStep(); });
    m_closeButton = dialogButton("STRING_CLOSE", true);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->hide();
    connect(m_closeButton, &QOVAButton::clicked, this, [this] { cancelInstall(); });
    m_resultImageView = new QOVAImageView(this);
    m_resultImageView->setImageScaling(QOVAImageView::ScaleAxesIndependently);
    m_resultImageView->hide();
    m_failedLabel = installLabel(this, qtTrId("STRING_MANUAL_UPDATE_FAILED"), colorWithString(QStringLiteral("252525"), 1.0), false);
    m_failedLabel->hide();

    m_maskView = new QOVAMaskView(this);
    m_maskView->setAlphaValue(0.3);
    m_maskView->hide();
    m_indicator = new QOVAProgressIndicator(this);
    m_indicator->hide();
    fileChosen(QString());
}

void QOVAInstallCertificateWindow::setInstallWindowDelegate(QOVAInstallCertificateWindowDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateObject = dynamic_cast<QObject *>(delegate);
    m_delegateIsObject = m_delegateObject != nullptr;
}

QOVAInstallCertificateWindowDelegate *QOVAInstallCertificateWindow::installWindowDelegate() const
{
    if (m_delegateIsObject && !m_delegateObject)
        return nullptr;
    return m_delegate;
}

// Places the choose row after the file label's text changed.
void QOVAInstallCertificateWindow::fileChosen(const QString &path)
{
    m_filePath = path;
    m_fileLabel->setStringValue(path.isEmpty() ? qtTrId("STRING_NO_FILE_CHOSEN") : QFileInfo(path).fileName());
    // Grey while it stands in for a file; a chosen file's name is text.
    m_fileLabel->setTextColor(colorWithString(QLatin1String(path.isEmpty() ? "9b9b9b" : "2e2e2e"), 1.0));
    const QRect certificate = m_certificateLabel->geometry();
    // The title and four points more on either side, inside the outline.
    const int chooseWidth = int(std::ceil(m_chooseButton->textLength())) + 8;
    m_chooseButton->setGeometry(certificate.right() + 1 + 16, certificate.center().y() - 9 + 1, chooseWidth, 18);
    const int fileLeft = m_chooseButton->geometry().right() + 1 + 5;
    const int right = m_typeButton->geometry().right() + 1;
    m_fileLabel->setGeometry(fileLeft, certificate.top(), std::max(0, right - fileLeft), 16);
}

void QOVAInstallCertificateWindow::typeChanged()
{
    // A file chosen for another type is not sent under this one.
    fileChosen(QString());
    formatButton(m_installButton, false, false);
}

void QOVAInstallCertificateWindow::openFileSelector()
{
    const QStringList suffixes = suffixesForTitle(m_typeButton->titleOfSelectedItem());
    QPointer<QOVAInstallCertificateWindow> self(this);
    QOVACertificateFilePanels::shared().chooseFile(suffixes, [self](std::optional<QString> path) {
        if (!self)
            return;
        if (!path) {
            QOVA_LOG(INFO, UI, "Cancel the Choose File Button");
            formatButton(self->m_installButton, false, false);
            return;
        }
        // The type label stays beside its pop-up.
        self->fileChosen(*path);
        formatButton(self->m_installButton, true, true);
    });
}

void QOVAInstallCertificateWindow::installCertificate()
{
    if (isBusy() || m_filePath.isEmpty())
        return;
    const QString title = m_typeButton->titleOfSelectedItem();
    const QString url = resourceForTitle(title);
    const QStringList suffixes = suffixesForTitle(title);
    const QFileInfo file(m_filePath);
    // Checked here, before anything is sent: a file the type does not take,
    // or one too large for the device, ends in the failed view.
    if ((!suffixes.isEmpty() && !suffixes.contains(file.suffix().toLower())) || !file.isFile()
        || file.size() > kMaximumFileSize) {
        QOVA_LOG(INFO, UI, "Install Certificate refused: the file does not fit the type or is too large");
        layoutFailedView();
        return;
    }
    if (QOVAInstallCertificateWindowDelegate *delegate = installWindowDelegate())
        delegate->installCertificateWithFilepath(m_filePath, url);
    showMaskView(true);
}

void QOVAInstallCertificateWindow::showMaskView(bool show)
{
    m_maskView->setAlphaValue(0.3);
    if (show) {
        m_maskView->setGeometry(rect());
        m_maskView->show();
        m_maskView->raise();
        m_indicator->setGeometry(width() / 2 - 16, height() / 2 - 16, 32, 32);
        m_indicator->show();
        m_indicator->raise();
        m_indicator->startAnimation();
        m_busyTimer->start(platform::scaledMs(kBusyTimeLimitMs));
    } else {
        m_busyTimer->stop();
        m_indicator->stopAnimation();
        m_indicator->hide();
        m_maskView->hide();
    }
}

bool QOVAInstallCertificateWindow::isBusy() const
{
    return m_maskView->isVisible() || m_busyTimer->isActive();
}

void QOVAInstallCertificateWindow::hideEverything()
{
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        child->hide();
}

void QOVAInstallCertificateWindow::layoutPasswordView()
{
    hideEverything();
    m_passwordShown = true;
    adjustToSize(420, 160);
    m_passwordLabel->setGeometry(40, 45, 136, 16);
    m_passwordLabel->show();
    m_passwordTextfield->setGeometry(40 + 136 + 14, 45, 180, 16);
    m_passwordTextfield->show();
    const int nextWidth = int(std::max(67.0, m_nextButton->textLength()));
    const int cancelWidth = int(std::max(67.0, m_cancelButton->textLength()));
    m_nextButton->setGeometry(420 - 20 - nextWidth, 160 - 20 - 20, nextWidth, 20);
    formatButton(m_nextButton, !m_passwordTextfield->passwordString().isEmpty(),
                 !m_passwordTextfield->passwordString().isEmpty());
    m_nextButton->show();
    m_cancelButton->setGeometry(420 - 20 - nextWidth - 14 - cancelWidth, 160 - 20 - 20, cancelWidth, 20);
    m_cancelButton->show();
    m_passwordTextfield->selectCurrentTextView();
}

void QOVAInstallCertificateWindow::layoutInvalidPasswordView()
{
    adjustToSize(420, 180);
    m_errorLabel->setGeometry(34, 22, 352, 16);
    m_errorLabel->setStringValue(qtTrId("NOTIFICATION_TIP_LOGIN_FAILED"));
    m_errorLabel->show();
    const int labelTop = 22 + 16 + 14;
    m_passwordLabel->setGeometry(40, labelTop, 136, 16);
    m_passwordTextfield->setGeometry(40 + 136 + 14, labelTop, 180, 16);
    const int nextWidth = m_nextButton->width();
    const int cancelWidth = m_cancelButton->width();
    m_nextButton->move(420 - 20 - nextWidth, 180 - 20 - 20);
    m_cancelButton->setGeometry(420 - 20 - nextWidth - 14 - cancelWidth, 180 - 20 - 20, cancelWidth, 20);
    formatButton(m_nextButton, false, false);
}

void QOVAInstallCertificateWindow::layoutFailedView()
{
    hideEverything();
    m_failedShown = true;
    adjustToSize(420, 160);
    m_resultImageView->setImageName(QStringLiteral("alert"));
    m_resultImageView->setGeometry(31, 19, 60, 60);
    m_resultImageView->show();
    m_failedLabel->setGeometry(31 + 60 + 24, 19 + 30 - 8, 280, 16);
    m_failedLabel->show();
    const int width = int(std::max(87.0, m_closeButton->textLength()));
    m_closeButton->setGeometry(420 - 20 - width, 160 - 20 - 19, width, 19);
    m_closeButton->show();
}

void QOVAInstallCertificateWindow::secureTextViewTextChange(QOVASecureTextView *, QLineEdit *)
{
    const bool filled = !m_passwordTextfield->passwordString().isEmpty();
    formatButton(m_nextButton, filled, filled);
}

void QOVAInstallCertificateWindow::nextStep()
{
    const QString password = m_passwordTextfield->passwordString();
    if (password.isEmpty())
        return;
    if (QOVAInstallCertificateWindowDelegate *delegate = installWindowDelegate())
        delegate->verifyPassword(password);
}

void QOVAInstallCertificateWindow::cancelInstall()
{
    m_busyTimer->stop();
    m_passwordTextfield->setPasswordString(QString());
    close();
}

void QOVAInstallCertificateWindow::closeWindow()
{
    cancelInstall();
}
