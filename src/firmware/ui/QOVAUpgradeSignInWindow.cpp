#include "QOVAUpgradeSignInWindow.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include <QKeyEvent>

#include <algorithm>
#include <cmath>

QOVAUpgradeSignInWindow::QOVAUpgradeSignInWindow(const QSizeF &size, const QOVAFirmwareModelRef &model)
    : QOVAWindow(size.width(), size.height())
    , m_model(model)
{
    const QFont font = fontWithSFProDisplay(13, QOVAFontRegular);
    m_tipLabel = new QOVALabel(this);
    m_tipLabel->setFont(font);
    m_tipLabel->setTextColor(Qt::black);
    m_tipLabel->setMaximumNumberOfLines(1);
    m_tipLabel->setLineBreakMode(QOVALabel::ByTruncatingTail);
    m_tipLabel->setStringValue(model ? tipText(*model) : QString());
    m_tipLabel->setGeometry(41, 43, 359, 18);

    m_notificationLabel = new QOVALabel(this);
    m_notificationLabel->setFont(font);
    m_notificationLabel->setTextColor(colorWithString(QStringLiteral("d0021b"), 1.0));
    m_notificationLabel->setMaximumNumberOfLines(2);
    m_notificationLabel->setGeometry(41, 43 + 18 + 8, 359, 28);

    m_passwordLabel = new QOVALabel(this);
    m_passwordLabel->setFont(font);
    m_passwordLabel->setTextColor(Qt::black);
    m_passwordLabel->setStringValue(qtTrId("STRING_PASSWORD"));
    const int passwordTop = m_notificationLabel->geometry().bottom() + 1 + 8;
    m_passwordLabel->setGeometry(41, passwordTop, 88, 18);

    m_passwordTextField = new QOVASecureTextView(this);
    m_passwordTextField->setSecureDelegate(this);
    m_passwordTextField->setGeometry(41 + 88 + 6, passwordTop + (18 - 16) / 2, 179, 16);

    m_signInButton = new QOVAButton(this);
    m_signInButton->setTextString(qtTrId("STRING_SIGN_IN"));
    m_cancelButton = new QOVAButton(this);
    m_cancelButton->setTextString(qtTrId("STRING_CANCEL"));
    formatButton(m_cancelButton, true, false);
    formatButton(m_signInButton, false, false);
    connect(m_signInButton, &QOVAButton::clicked, this, [this] { signInAdminUser(); });
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { orderOut(); });

    const int w = qRound(size.width());
    const int h = qRound(size.height());
    const int signInWidth = std::max(67, int(std::ceil(m_signInButton->textLength())));
    m_signInButton->setGeometry(w - 20 - signInWidth, h - 20 - 19, signInWidth, 19);
    const int cancelWidth = std::max(67, int(std::ceil(m_cancelButton->textLength())));
    m_cancelButton->setGeometry(m_signInButton->x() - 15 - cancelWidth, h - 20 - 19, cancelWidth, 19);
}

QString QOVAUpgradeSignInWindow::tipText(const QOVAFirmwareModel &model)
{
    if (model.type == 3 || model.deviceName.isEmpty())
        return QStringLiteral("%1 %2.").arg(qtTrId("STRING_UPGRADE_SIGN_IN_TIPS"), model.productName);
    return QStringLiteral("%1 %2 - %3.")
        .arg(qtTrId("STRING_UPGRADE_SIGN_IN_TIPS"), model.productName, model.deviceName);
}

void QOVAUpgradeSignInWindow::showNotification(const QString &text)
{
    m_notificationLabel->setStringValue(text);
}

void QOVAUpgradeSignInWindow::signInAdminUser()
{
    if (m_passwordTextField->passwordString().isEmpty())
        return;
    if (m_delegate)
        m_delegate->signInUsingPassword(m_passwordTextField->passwordString(), m_model);
}

void QOVAUpgradeSignInWindow::secureTextViewTextChange(QOVASecureTextView *, QLineEdit *)
{
    const bool filled = !m_passwordTextField->passwordString().isEmpty();
    formatButton(m_signInButton, filled, filled);
}

void QOVAUpgradeSignInWindow::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !m_passwordTextField->passwordString().isEmpty()) {
        signInAdminUser();
        event->accept();
        return;
    }
    QOVAWindow::keyPressEvent(event);
}
