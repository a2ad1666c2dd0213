#include "QOVAUpgradeSignInWindow.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include <QFontMetricsF>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSignInTextWidth = 359;
constexpr int kSignInTipHeight = 18;
constexpr int kSignInMaximumTipLines = 4;

} // namespace

// The prompt's height: the lines it wraps to, up to four, and never less
// than one line's box.
int QOVAUpgradeSignInWindow::tipHeight(const QString &tip)
{
    QOVALabel measure;
    measure.setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    measure.setStringValue(tip);
    const double lineHeight = QFontMetricsF(measure.font()).lineSpacing();
    const double height = std::min(measure.textSize(kSignInTextWidth).height(), kSignInMaximumTipLines * lineHeight);
    return std::max(kSignInTipHeight, int(std::ceil(height)));
}

// The window grows by what the prompt's lines past the first take.
QOVAUpgradeSignInWindow::QOVAUpgradeSignInWindow(const QSizeF &size, const QOVAFirmwareModelRef &model)
    : QOVAWindow(size.width(), size.height() + tipHeight(model ? tipText(*model) : QString()) - kSignInTipHeight)
    , m_model(model)
{
    const QFont font = fontWithSFProDisplay(13, QOVAFontRegular);
    m_tipLabel = new QOVALabel(this);
    m_tipLabel->setFont(font);
    m_tipLabel->setTextColor(Qt::black);
    // The whole prompt, wrapped: the device's name is what the user checks
    // before typing the password.
    m_tipLabel->setMaximumNumberOfLines(0);
    m_tipLabel->setLineBreakMode(QOVALabel::ByWordWrapping);
    m_tipLabel->setStringValue(model ? tipText(*model) : QString());
    const int tipBox = tipHeight(m_tipLabel->stringValue());
    m_tipLabel->setGeometry(41, 43, kSignInTextWidth, tipBox);

    m_notificationLabel = new QOVALabel(this);
    m_notificationLabel->setFont(font);
    m_notificationLabel->setTextColor(colorWithString(QStringLiteral("d0021b"), 1.0));
    m_notificationLabel->setMaximumNumberOfLines(2);
    m_notificationLabel->setGeometry(41, 43 + tipBox + 8, kSignInTextWidth, 28);

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

    const int w = qRound(windowSize().width());
    const int h = qRound(windowSize().height());
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
