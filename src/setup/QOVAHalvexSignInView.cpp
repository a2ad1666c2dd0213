#include "QOVAHalvexSignInView.h"

#include "HyperlinkTextField.h"
#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include "log/log.h"

#include <QCheckBox>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

namespace {

QOVALabel *signInTitle(QWidget *parent, const QString &text)
{
    auto *label = new QOVALabel(parent);
    label->setFont(fontWithSFProDisplay(10, 5));
    label->setTextColor(Qt::black);
    label->setStringValue(text);
    label->setToolTip(QString());
    return label;
}

// The notice is as wide as the password field.
constexpr int kNoticeWidth = 280;

// Whether the text from start on, length characters, lies on more than one
// line of the laid-out document.
bool spansLines(QTextDocument *document, int start, int length)
{
    if (length <= 0)
        return false;
    (void)document->size();   // lays the document out in its text width
    const QTextBlock first = document->findBlock(start);
    const QTextBlock last = document->findBlock(start + length - 1);
    if (first != last)
        return true;
    const QTextLayout *layout = first.layout();
    if (!layout)
        return false;
    const QTextLine a = layout->lineForTextPosition(start - first.position());
    const QTextLine b = layout->lineForTextPosition(start + length - 1 - first.position());
    return a.isValid() && b.isValid() && a.lineNumber() != b.lineNumber();
}

} // namespace

QOVAHalvexSignInView::QOVAHalvexSignInView(QWidget *parent)
    : QOVAHalvexOOBBaseView(parent)
{
    QOVA_LOG(INFO, UI, "Enter QOVAHalvexSignInView init");
    setupSignInView();
    QOVA_LOG(INFO, UI, "leave QOVAHalvexSignInView init");
}

QString QOVAHalvexSignInView::licenseAddress()
{
    return QStringLiteral("http://docs.zentaro.example/indexes/licenses");
}

void QOVAHalvexSignInView::setupSignInView()
{
    setSubTitleText(qtTrId("STRING_SIGN_IN"));

    m_userNameTitleLabel = signInTitle(this, qtTrId("STRING_USERNAME"));
    m_userNameLabel = new QOVALabel(this);
    m_userNameLabel->setFont(fontWithSFProDisplay(12, QOVAFontRegular));
    m_userNameLabel->setTextColor(colorWithString(QStringLiteral("bfbfbf"), 1.0));
    m_userNameLabel->setBackgroundColor(colorWithString(QStringLiteral("ececec"), 1.0));
    m_userNameLabel->setStringValue(QStringLiteral("   %1").arg(QStringLiteral("Admin")));
    m_userNameLabel->setToolTip(QString());
    m_userNameLabel->setStyleSheet(QStringLiteral("border: 1px solid rgba(0,0,0,64); border-radius: 3px;"));

    m_passwordTitleLabel = signInTitle(this, qtTrId("STRING_PASSWORD"));
    m_passwordTextField = new QOVASecureTextView(this);
    m_passwordTextField->setSecureDelegate(this);

    // The tip followed by the address, the address a link. An address
    // that would break over two lines (after its "http://") starts a line
    // of its own instead.
    m_descriptionLabel = new HyperlinkTextField(this);
    const QString tip = qtTrId("OOB_SIGN_IN_TIP");
    const QString address = licenseAddress();
    const QFont font = fontWithSFProDisplay(12, QOVAFontRegular);
    m_descriptionLabel->setFont(font);
    const auto notice = [&](bool ownLine) {
        return QStringLiteral("<span style=\"font-family:'%1'; font-size:12px; color:#000000;\">%2%4"
                              "<a href=\"%3\" style=\"color:#4487d7; text-decoration:none;\">%3</a></span>")
            .arg(font.family(), tip.toHtmlEscaped(), address.toHtmlEscaped(),
                 ownLine ? QStringLiteral("<br>") : QString());
    };
    QTextDocument *document = m_descriptionLabel->document();
    m_descriptionLabel->setHtml(notice(false));
    document->setTextWidth(kNoticeWidth);
    if (spansLines(document, tip.size(), address.size()))
        m_descriptionLabel->setHtml(notice(true));
    document->setTextWidth(kNoticeWidth);

    m_agreementLabel = new QOVALabel(this);
    m_agreementLabel->setFont(fontWithSFProDisplay(12, QOVAFontRegular));
    m_agreementLabel->setTextColor(Qt::black);
    m_agreementLabel->setStringValue(qtTrId("OOB_ACCEPT_EULA"));
    m_agreementLabel->setToolTip(QString());

    m_agreementButton = new QCheckBox(this);
    m_agreementButton->setFocusPolicy(Qt::NoFocus);
    connect(m_agreementButton, &QCheckBox::clicked, this, [this] { clickAgreementButton(); });

    m_signInButton = new QOVAButton(this);
    m_signInButton->setQovaButtonType(1);
    m_signInButton->setTextString(qtTrId("STRING_SIGN_IN"));
    formatButton(m_signInButton);
    m_signInButton->setDisabled(true);
    connect(m_signInButton, &QOVAButton::clicked, this, [this] { signIn(); });

    // Layout, from the page's top left.
    const int left = 260;
    QSize s = m_userNameTitleLabel->sizeHint();
    m_userNameTitleLabel->setGeometry(left, 143, s.width(), s.height());
    m_userNameLabel->setGeometry(left, m_userNameTitleLabel->geometry().bottom() + 1 + 9, 280, 20);
    s = m_passwordTitleLabel->sizeHint();
    m_passwordTitleLabel->setGeometry(left, m_userNameLabel->geometry().bottom() + 1 + 16, s.width(), s.height());
    m_passwordTextField->setGeometry(left, m_passwordTitleLabel->geometry().bottom() + 1 + 9, 280, 20);
    // The notice is as high as its plain text laid out 288 wide, or as its
    // laid-out text in its own width where that needs more lines.
    const QRectF measured = QFontMetricsF(font).boundingRect(QRectF(0, 0, 288, 10000), Qt::TextWordWrap,
                                                             tip + address);
    const int noticeHeight = std::max(qCeil(measured.height()), qCeil(document->size().height()));
    m_descriptionLabel->setGeometry(left, m_passwordTextField->geometry().bottom() + 1 + 26, kNoticeWidth,
                                    noticeHeight);
    m_agreementLabel->setGeometry(left, m_descriptionLabel->geometry().bottom() + 1 + 26, 258,
                                  m_agreementLabel->sizeHint().height());
    const QRect agreement = m_agreementLabel->geometry();
    m_agreementButton->setGeometry(left + 280 - 18, agreement.center().y() - 9 + 1, 18, 18);
    m_signInButton->setGeometry(left, agreement.bottom() + 1 + 23, 280, 24);
}

void QOVAHalvexSignInView::updateSignInButton()
{
    const bool ready = !m_passwordTextField->passwordString().isEmpty() && m_agreementButton->isChecked();
    m_signInButton->setDisabled(!ready);
}

void QOVAHalvexSignInView::clearPassword()
{
    m_passwordTextField->setPasswordString(QString());
    updateSignInButton();
}

void QOVAHalvexSignInView::signIn()
{
    if (auto *d = delegate())
        d->signInWithPassword(m_passwordTextField->passwordString());
}

void QOVAHalvexSignInView::clickAgreementButton()
{
    updateSignInButton();
}

void QOVAHalvexSignInView::secureTextViewTextChange(QOVASecureTextView *, QLineEdit *)
{
    updateSignInButton();
}
