#include "QOVAEAPView.h"

#include "QOVAEAPMethods.h"
#include "QOVANetworkPopUp.h"
#include "QOVANetworkStyle.h"

#include "CertInfo.h"

#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVATextField.h"

namespace {
constexpr int kEapLabelHeight = 14;
constexpr int kEapMethodTop = 2;
constexpr int kEapRowGap = 18;
constexpr int kEapPhase2Gap = 12;
constexpr int kEapPopupHeight = 19;
} // namespace

QOVAEAPView::QOVAEAPView(QWidget *parent)
    : QWidget(parent)
{
    const QFont font = fontWithSFProDisplay(12, QOVAFontRegular);
    m_methodLabel = qovanet::rowLabel(this, qtTrId("STRING_EAP_METHOD"), font);
    m_methodButton = new QOVAPopUpButton(this);
    const QStringList methods = qovanet::orbrinEapMethods();
    for (int tag = 0; tag < methods.size(); ++tag)
        qovanet::addItem(m_methodButton, methods.at(tag), tag);
    m_methodButton->selectItemAtIndex(0);
    connect(m_methodButton, &QComboBox::activated, this,
            [this](int index) { selectMethodItem(qovanet::tagAt(m_methodButton, index)); });

    m_authenLabel = qovanet::rowLabel(this, qtTrId("STRING_PHASE2"), font);
    m_authenButton = new QOVAPopUpButton(this);
    decorateAuthenticationButton();

    m_certificateLabel = qovanet::rowLabel(this, qtTrId("STRING_CA_CERTIFICATE"), font);
    m_certificateButton = new QOVAPopUpButton(this);
    qovanet::addItem(m_certificateButton, qtTrId("STRING_DONOT_VALIDATE"), CertificateDontValidate,
                     qovanet::wireDontValidate());
    m_certificateButton->selectItemAtIndex(0);

    m_identifyLabel = qovanet::rowLabel(this, qtTrId("STRING_IDENTIFY"), font);
    m_identifyTextField = new QOVATextField(this);
    connect(m_identifyTextField, &QLineEdit::textEdited, this, [this] {
        if (QOVAEAPViewDelegate *delegate = m_delegate.get())
            delegate->changeIdentify();
    });
    m_anonymousLabel = qovanet::rowLabel(this, qtTrId("STRING_ANONYMOUS_IDENTIFY"), font);
    m_anonymousTextField = new QOVATextField(this);
    relayout();
}

void QOVAEAPView::makeUserCertificateRow()
{
    if (m_userCertificateLabel)
        return;
    // The label keeps the label's own font.
    m_userCertificateLabel = new QOVALabel(this);
    m_userCertificateLabel->setStringValue(qtTrId("STRING_USER_CERTIFICATE"));
    m_userCertificateLabel->setTextColor(Qt::black);
    m_userCertificateLabel->setAlignment(QOVALabel::AlignRight);
    m_userCertificateLabel->setMaximumNumberOfLines(1);
    m_userCertificatePopupButton = new QOVAPopUpButton(this);
    qovanet::addItem(m_userCertificatePopupButton, qtTrId("STRING_DONOT_VALIDATE"), CertificateDontValidate,
                     qovanet::wireDontValidate());
    m_userCertificatePopupButton->selectItemAtIndex(0);
    m_userCertificateLabel->hide();
    m_userCertificatePopupButton->hide();
}

void QOVAEAPView::decorateAuthenticationButton()
{
    m_authenButton->removeAllItems();
    qovanet::addItem(m_authenButton, qtTrId("STRING_NONE"), 0, qovanet::wireNone());
    const QStringList names = qovanet::orbrinPhase2Methods(m_methodButton->titleOfSelectedItem());
    for (int i = 0; i < names.size(); ++i)
        qovanet::addItem(m_authenButton, names.at(i), i + 1);
    m_authenButton->selectItemAtIndex(0);
}

void QOVAEAPView::relayout()
{
    struct Placed {
        QOVALabel *label;
        QWidget *control;
        int labelWidth;
    };
    QList<Placed> rows;
    const int tag = eapMethodTag();
    const bool peapLike = tag == MethodPEAP || tag == MethodTTLS;
    rows.append({m_methodLabel, m_methodButton, 180});
    if (peapLike)
        rows.append({m_authenLabel, m_authenButton, 178});
    if (tag != MethodPWD)
        rows.append({m_certificateLabel, m_certificateButton, 178});
    if (tag == MethodTLS) {
        makeUserCertificateRow();
        rows.append({m_userCertificateLabel, m_userCertificatePopupButton, 178});
    }
    rows.append({m_identifyLabel, m_identifyTextField, 180});
    if (peapLike)
        rows.append({m_anonymousLabel, m_anonymousTextField, 180});

    QList<QWidget *> all = {m_authenLabel, m_authenButton, m_certificateLabel, m_certificateButton,
                            m_anonymousLabel, m_anonymousTextField};
    if (m_userCertificateLabel)
        all << m_userCertificateLabel << m_userCertificatePopupButton;
    for (QWidget *view : all)
        view->hide();

    int top = kEapMethodTop;
    int bottom = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const Placed &row = rows.at(i);
        if (i > 0) {
            const bool phase2 = row.label == m_authenLabel;
            // Before the first method choice the row under the CA row hangs
            // from the CA pop-up rather than from its label.
            const bool underCAPopup = m_firstLayout && rows.at(i - 1).label == m_certificateLabel;
            const int above = underCAPopup ? bottom + (kEapPopupHeight - kEapLabelHeight + 1) / 2 : bottom;
            top = above + (phase2 ? kEapPhase2Gap : kEapRowGap);
        }
        row.label->setGeometry(0, top, row.labelWidth, kEapLabelHeight);
        const int centre = top + kEapLabelHeight / 2;
        if (qobject_cast<QOVAPopUpButton *>(row.control))
            row.control->setGeometry(row.labelWidth + 13, centre - kEapPopupHeight / 2, 206, kEapPopupHeight);
        else
            row.control->setGeometry(row.labelWidth + 16, centre - 8, 200, 16);
        row.label->show();
        row.control->show();
        bottom = top + kEapLabelHeight;
    }
    resize(180 + 13 + 206, bottom + 2);
}

void QOVAEAPView::selectMethodItem(int tag)
{
    if (tag < MethodPEAP || tag > MethodPWD)
        return;
    m_firstLayout = false;
    decorateAuthenticationButton();
    relayout();
    if (QOVAEAPViewDelegate *delegate = m_delegate.get())
        delegate->hiddenPasswordView(tag == MethodTLS);
}

void QOVAEAPView::updateEapViewCertificateInfo(const CertInfo &info)
{
    for (const auto &entry : info.info) {
        if (!entry)
            continue;
        if (entry->type == QLatin1String("wifiCaCert")) {
            qovanet::addItem(m_certificateButton, qtTrId("STRING_INSTALLED_CA_CERTIFICATE"), CertificateInstalled,
                             QString(), true);
        } else if (entry->type == QLatin1String("wifiClientCert")) {
            makeUserCertificateRow();
            qovanet::addItem(m_userCertificatePopupButton, qtTrId("STRING_INSTALLED_USER_CERTIFICATE"),
                             CertificateInstalled, QString(), true);
        }
    }
}

QString QOVAEAPView::eapMethod() const
{
    return m_methodButton->titleOfSelectedItem();
}

int QOVAEAPView::eapMethodTag() const
{
    return qovanet::selectedTag(m_methodButton);
}

QString QOVAEAPView::phase2() const
{
    return qovanet::selectedWire(m_authenButton);
}

QString QOVAEAPView::identity() const
{
    return m_identifyTextField->stringValue();
}

QString QOVAEAPView::anonymousIdentity() const
{
    return m_anonymousTextField->stringValue();
}

QString QOVAEAPView::caCert() const
{
    return qovanet::selectedTag(m_certificateButton) == CertificateInstalled ? qovanet::orbrinWifiCertificateName()
                                                                            : QString(QLatin1String(""));
}

QString QOVAEAPView::clientCert() const
{
    if (!m_userCertificatePopupButton)
        return QString(QLatin1String(""));
    return qovanet::selectedTag(m_userCertificatePopupButton) == CertificateInstalled
               ? qovanet::orbrinWifiCertificateName()
               : QString(QLatin1String(""));
}
