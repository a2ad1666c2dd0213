#include "QOVACertificateDetailWindow.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include <QPlainTextEdit>

#include <algorithm>

QOVACertificateDetailWindow::QOVACertificateDetailWindow(double width, double height)
    : QOVAWindow(width, height)
{
    layoutCertificateDetailView();
}

void QOVACertificateDetailWindow::layoutCertificateDetailView()
{
    const int w = int(windowSize().width());
    const int h = int(windowSize().height());

    m_titleLabel = new QOVALabel(this);
    m_titleLabel->setFont(fontWithSFProDisplay(14, QOVAFontBold));
    m_titleLabel->setTextColor(colorWithString(QStringLiteral("000000"), 0.85));
    m_titleLabel->setStringValue(qtTrId("STRING_CERTIFICATE_DETAILS"));
    m_titleLabel->setGeometry(20, 12, w - 40, 20);

    // The device's text is shown as it is: plain, never interpreted.
    m_detailTextView = new QPlainTextEdit(this);
    m_detailTextView->setObjectName(QStringLiteral("detailTextView"));
    m_detailTextView->setReadOnly(true);
    m_detailTextView->setFrameShape(QFrame::NoFrame);
    m_detailTextView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_detailTextView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_detailTextView->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont font = m_detailTextView->font();
    font.setPointSizeF(10);
    m_detailTextView->setFont(font);
    m_detailTextView->setGeometry(20, 44, 380, 230);

    m_deleteButton = new QOVAButton(this);
    m_deleteButton->setObjectName(QStringLiteral("deleteButton"));
    m_deleteButton->setTextString(qtTrId("STRING_DELETE"));
    formatButton(m_deleteButton, true, false);
    connect(m_deleteButton, &QOVAButton::clicked, this, [this] { deleteCertificate(); });

    m_closeButton = new QOVAButton(this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setTextString(qtTrId("STRING_CLOSE"));
    formatButton(m_closeButton, true, false);
    connect(m_closeButton, &QOVAButton::clicked, this, [this] { closeWindow(); });

    const int deleteWidth = int(std::max(67.0, m_deleteButton->textLength()));
    const int closeWidth = int(std::max(67.0, m_closeButton->textLength()));
    m_deleteButton->setGeometry(20, h - 20 - 19, deleteWidth, 19);
    m_closeButton->setGeometry(w - 20 - closeWidth, h - 20 - 19, closeWidth, 19);
}

void QOVACertificateDetailWindow::setDeleteDelegate(QOVACertificateDetailWindowDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateObject = dynamic_cast<QObject *>(delegate);
    m_delegateIsObject = m_delegateObject != nullptr;
}

QOVACertificateDetailWindowDelegate *QOVACertificateDetailWindow::deleteDelegate() const
{
    if (m_delegateIsObject && !m_delegateObject)
        return nullptr;
    return m_delegate;
}

void QOVACertificateDetailWindow::deleteCertificate()
{
    close();
    // One window deletes its certificate once.
    if (m_deleted)
        return;
    m_deleted = true;
    if (QOVACertificateDetailWindowDelegate *delegate = deleteDelegate())
        delegate->deleteCertificate(this);
    deleteLater();
}

void QOVACertificateDetailWindow::closeWindow()
{
    close();
    deleteLater();
}
