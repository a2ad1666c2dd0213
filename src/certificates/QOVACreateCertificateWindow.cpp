#include "QOVACreateCertificateWindow.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVATextField.h"

#include <QApplication>

#include <algorithm>

const char *const QOVACreateCertificateWindow::kSubjectKeys[FieldCount] = {
    "csr_info_provision_country",      "csr_info_provision_state", "csr_info_provision_locality",
    "csr_info_provision_organization", "csr_info_provision_unit",  "csr_info_provision_common_name",
};

namespace {

constexpr int kSubjectFieldHeight = 22;

const char *const kCreateLabelKeys[QOVACreateCertificateWindow::FieldCount] = {
    "STRING_COUNTRY",      "STRING_STATE_OR_PROVINCE", "STRING_CITY_OR_LOCALITY",
    "STRING_ORGANIZATION", "STRING_ORGANIZATION_UNIT", "STRING_COMMON_NAME",
};

QFont createSystemFont(double size)
{
    QFont font = QApplication::font();
    font.setPixelSize(qRound(size));
    return font;
}

} // namespace

QOVACreateCertificateWindow::QOVACreateCertificateWindow(double width, double height)
    : QOVAWindow(width, height)
{
    layoutCreateCertificateView();
}

QOVAButton *QOVACreateCertificateWindow::dialogButton(const char *key, bool enabled)
{
    auto *button = new QOVAButton(this);
    button->setObjectName(QLatin1String(key));
    button->setTextString(qtTrId(key));
    formatButton(button, enabled, false);
    return button;
}

void QOVACreateCertificateWindow::layoutCreateCertificateView()
{
    const int w = int(windowSize().width());
    const int h = int(windowSize().height());

    m_titleLabel = new QOVALabel(this);
    m_titleLabel->setFont(fontWithSFProDisplay(14, QOVAFontBold));
    m_titleLabel->setTextColor(colorWithString(QStringLiteral("000000"), 0.85));
    m_titleLabel->setStringValue(qtTrId("STRING_CREATE_CERTIFICATE_SIGNING_REQUEST"));
    m_titleLabel->setGeometry(34, 18, w - 68, 18);

    m_tipLabel = new QOVALabel(this);
    m_tipLabel->setFont(createSystemFont(13));
    m_tipLabel->setTextColor(colorWithString(QStringLiteral("212121"), 1.0));
    m_tipLabel->setStringValue(qtTrId("STRING_CREATE_CERTIFICATE_TIP"));
    const double tipHeight = std::max(16.0, m_tipLabel->textSize(w - 68).height());
    m_tipLabel->setGeometry(34, 18 + 18 + 10, w - 68, int(tipHeight));

    int top = m_tipLabel->geometry().bottom() + 1 + 24;
    for (int i = 0; i < FieldCount; ++i) {
        auto *label = new QOVALabel(this);
        label->setFont(createSystemFont(13));
        label->setTextColor(Qt::black);
        label->setAlignment(QOVALabel::AlignRight);
        label->setStringValue(qtTrId(kCreateLabelKeys[i]));
        label->setGeometry(16, top, 128, 16);
        auto *field = new QOVATextField(this);
        field->setObjectName(QLatin1String(kSubjectKeys[i]));
        // Centred on its label, and tall enough for the descenders of the
        // field's font (16 would cut them).
        field->setGeometry(16 + 128 + 16, top + (16 - kSubjectFieldHeight) / 2, 200, kSubjectFieldHeight);
        connect(field, &QLineEdit::textChanged, this, [this] { checkInputStatus(); });
        m_labels[i] = label;
        m_fields[i] = field;
        if (i + 1 < FieldCount)
            top += 16 + 16;
    }
    const int lastBottom = top + 16;

    m_createButton = dialogButton("STRING_CREATE", false);
    m_cancelButton = dialogButton("STRING_CANCEL", true);
    connect(m_createButton, &QOVAButton::clicked, this, [this] { createCertificate(); });
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { cancelCreate(); });
    const int createWidth = int(std::max(67.0, m_createButton->textLength()));
    const int cancelWidth = int(std::max(67.0, m_cancelButton->textLength()));
    // Half points round up to the nearer whole point of the pixel grid.
    const int buttonTop = std::max(lastBottom + 39, h - 21 - 19);
    m_createButton->setGeometry(w - 21 - createWidth, buttonTop, createWidth, 19);
    m_cancelButton->setGeometry(w - 21 - createWidth - 15 - cancelWidth, buttonTop, cancelWidth, 19);

    // Result views, hidden until an outcome arrives.
    m_resultImageView = new QOVAImageView(this);
    m_resultImageView->setImageScaling(QOVAImageView::ScaleAxesIndependently);
    m_resultImageView->hide();
    auto resultText = [this](const QString &text, const char *colour) {
        auto *label = new QOVALabel(this);
        label->setFont(createSystemFont(13));
        label->setTextColor(colorWithString(QLatin1String(colour), 1.0));
        label->setStringValue(text);
        label->hide();
        return label;
    };
    m_resultLabel = resultText(qtTrId("STRING_CREATE_CERTIFICATE_SUCCESS"), "2e2e2e");
    m_fileNameLabel = resultText(QStringLiteral("client.csr"), "2e2e2e");
    m_failedLabel = resultText(qtTrId("STRING_MANUAL_UPDATE_FAILED"), "252525");
    m_downloadButton = dialogButton("STRING_DOWNLOAD", true);
    m_downloadButton->hide();
    connect(m_downloadButton, &QOVAButton::clicked, this, [this] { downloadCertificate(); });
    m_closeButton = dialogButton("STRING_CLOSE", true);
    m_closeButton->hide();
    connect(m_closeButton, &QOVAButton::clicked, this, [this] { cancelCreate(); });
}

void QOVACreateCertificateWindow::setCreateWindowDelegate(QOVACreateCertificateWindowDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateObject = dynamic_cast<QObject *>(delegate);
    m_delegateIsObject = m_delegateObject != nullptr;
}

QOVACreateCertificateWindowDelegate *QOVACreateCertificateWindow::createWindowDelegate() const
{
    if (m_delegateIsObject && !m_delegateObject)
        return nullptr;
    return m_delegate;
}

void QOVACreateCertificateWindow::checkInputStatus()
{
    bool filled = true;
    for (QOVATextField *field : m_fields)
        filled = filled && !field->text().isEmpty();
    formatButton(m_createButton, filled, filled);
}

void QOVACreateCertificateWindow::createCertificate()
{
    if (m_isRequesting)
        return;
    QOVACreateCertificateWindowDelegate *delegate = createWindowDelegate();
    if (!delegate)
        return;
    QJsonObject subject;
    for (int i = 0; i < FieldCount; ++i)
        subject.insert(QLatin1String(kSubjectKeys[i]), m_fields[i]->text());
    m_isRequesting = true;
    delegate->createCertificateWithParameters(subject);
}

void QOVACreateCertificateWindow::cancelCreate()
{
    close();
}

void QOVACreateCertificateWindow::downloadCertificate()
{
    // Closed first: the save panel opens over the page, not over this window.
    close();
    if (m_isCreateSuccess) {
        if (QOVACreateCertificateWindowDelegate *delegate = createWindowDelegate())
            delegate->downloadCertificate();
    }
}

void QOVACreateCertificateWindow::hideTheInputs(bool hide)
{
    m_titleLabel->setHidden(hide);
    m_tipLabel->setHidden(hide);
    for (int i = 0; i < FieldCount; ++i) {
        m_labels[i]->setHidden(hide);
        m_fields[i]->setHidden(hide);
    }
    m_cancelButton->setHidden(hide);
    m_createButton->setHidden(hide);
}

void QOVACreateCertificateWindow::layoutCreateSuccessView()
{
    m_isCreateSuccess = true;
    m_isRequesting = false;
    hideTheInputs(true);
    adjustToSize(420, 160);
    m_resultImageView->setImageName(QStringLiteral("csr_success"));
    m_resultImageView->setGeometry(36, 24, 52, 53);
    m_resultImageView->show();
    m_resultLabel->setGeometry(36 + 52 + 28, 28, 280, 16);
    m_resultLabel->show();
    m_fileNameLabel->setGeometry(36 + 52 + 28, 28 + 16, 280, 16);
    m_fileNameLabel->show();
    const int width = int(std::max(87.0, m_downloadButton->textLength()));
    m_downloadButton->setGeometry(420 - 20 - width, 160 - 20 - 19, width, 19);
    m_downloadButton->show();
}

void QOVACreateCertificateWindow::layoutCreateFailedView()
{
    m_isCreateSuccess = false;
    m_isRequesting = false;
    hideTheInputs(true);
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
