#include "QOVAVaskoEAPView.h"

#include "QOVANetworkPopUp.h"
#include "QOVANetworkStyle.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVATextField.h"

#include <QtMath>

namespace {

// Labels 178 x 14 at the left edge, the method label 2 below the top, each
// further label 18 below the row above.
constexpr int kVaskoLabelWidth = 178;
constexpr int kVaskoLabelHeight = 14;
constexpr int kVaskoRowPitch = kVaskoLabelHeight + 18;
constexpr int kVaskoMethodTop = 2;

} // namespace

QOVAVaskoEAPView::QOVAVaskoEAPView(QWidget *parent)
    : QWidget(parent)
{
    resize(kVaskoLabelWidth + 13 + 206, int(kHeightPEAP));
    m_methodLabel = makeLabel(qtTrId("STRING_EAP_METHOD"));
    m_methodLabel->setGeometry(0, kVaskoMethodTop, kVaskoLabelWidth, kVaskoLabelHeight);
    m_methodButton = new QOVAPopUpButton(this);
    m_methodButton->setGeometry(kVaskoLabelWidth + 13, kVaskoMethodTop - 2, 206, 19);
    decoratePopupButton(m_methodButton, {QStringLiteral("PEAP"), QStringLiteral("TTLS"), QStringLiteral("PWD"),
                                         QStringLiteral("TLS"), QStringLiteral("FAST"), QStringLiteral("MD5")});
    connect(m_methodButton, &QComboBox::activated, this,
            [this](int index) { selectMethodItem(qovanet::tagAt(m_methodButton, index)); });
    for (Row row : {RowPhase2, RowCA, RowIdentity, RowAnonymous})
        makeRow(row);
    showRows({RowPhase2, RowCA, RowIdentity, RowAnonymous});
}

QOVALabel *QOVAVaskoEAPView::makeLabel(const QString &text)
{
    return qovanet::rowLabel(this, text, fontWithSFProDisplay(12, QOVAFontRegular));
}

void QOVAVaskoEAPView::makeRow(Row row)
{
    RowViews &views = m_rows[row];
    if (views.label)
        return;
    auto chooseRow = [this, &views](const char *key) {
        views.label = makeLabel(qtTrId(key));
        views.button = qovanet::chooseFileButton(this);
        connect(views.button, &QOVAButton::clicked, this, [this] { chooseCertifiate(); });
        views.fileLabel = qovanet::fileNameLabel(this);
    };
    switch (row) {
    case RowPhase2:
        m_authenLabel = views.label = makeLabel(qtTrId("STRING_PHASE2"));
        m_authenButton = new QOVAPopUpButton(this);
        decoratePopupButton(m_authenButton, {qtTrId("STRING_NONE"), QStringLiteral("MSCHAPV2"),
                                             QStringLiteral("GTC"), QStringLiteral("MD5")});
        qovanet::setWire(m_authenButton, 0, qovanet::wireNone());
        views.control = m_authenButton;
        break;
    case RowCA:
        chooseRow("STRING_CA_CERTIFICATE");
        break;
    case RowIdentity:
        m_identifyLabel = views.label = makeLabel(qtTrId("STRING_IDENTIFY"));
        m_identifyTextField = new QOVATextField(this);
        views.control = m_identifyTextField;
        break;
    case RowAnonymous:
        m_anonymousLabel = views.label = makeLabel(qtTrId("STRING_ANONYMOUS_IDENTIFY"));
        m_anonymousTextField = new QOVATextField(this);
        views.control = m_anonymousTextField;
        break;
    case RowUserCert:
        chooseRow("STRING_USER_CERTIFICATE");
        break;
    case RowPrivateKey:
        chooseRow("STRING_PRIVATE_KEY");
        break;
    case RowProvision:
        m_provisionLabel = views.label = makeLabel(qtTrId("STRING_AUTO_PAC_PROVISIONING"));
        m_provisionButton = new QOVAPopUpButton(this);
        decoratePopupButton(m_provisionButton, {qtTrId("STRING_NONE"), qtTrId("STRING_ANONYMOUS"),
                                                qtTrId("STRING_AUTHENTICATED"), qtTrId("STRING_BOTH")});
        views.control = m_provisionButton;
        break;
    case RowPacFile:
        chooseRow("STRING_PAC_FILE");
        break;
    case RowCount:
        break;
    }
    views.label->hide();
    for (QWidget *view : {views.control, static_cast<QWidget *>(views.button), static_cast<QWidget *>(views.fileLabel)})
        if (view)
            view->hide();
}

void QOVAVaskoEAPView::showRows(const QList<Row> &rows)
{
    for (int row = 0; row < RowCount; ++row) {
        const RowViews &views = m_rows[row];
        if (!views.label)
            continue;
        const int position = rows.indexOf(Row(row));
        const bool shown = position >= 0;
        for (QWidget *view : {static_cast<QWidget *>(views.label), views.control,
                              static_cast<QWidget *>(views.button), static_cast<QWidget *>(views.fileLabel)}) {
            if (view)
                view->setVisible(shown);
        }
        if (!shown)
            continue;
        const int top = kVaskoMethodTop + (position + 1) * kVaskoRowPitch;
        const int centre = top + kVaskoLabelHeight / 2;
        views.label->setGeometry(0, top, kVaskoLabelWidth, kVaskoLabelHeight);
        if (qobject_cast<QOVAPopUpButton *>(views.control))
            views.control->setGeometry(kVaskoLabelWidth + 13, centre - 10, 206, 19);
        else if (views.control)
            views.control->setGeometry(kVaskoLabelWidth + 16, centre - 8, 200, 16);
        if (views.button) {
            const int buttonWidth = qCeil(views.button->textLength() + 3);
            views.button->setGeometry(kVaskoLabelWidth + 13, centre - 8, buttonWidth, 16);
            const int fileX = kVaskoLabelWidth + 13 + buttonWidth + 5;
            views.fileLabel->setGeometry(fileX, centre - 7, qMax(0, width() - fileX), 14);
        }
    }
}

void QOVAVaskoEAPView::decoratePopupButton(QOVAPopUpButton *popup, const QStringList &names)
{
    popup->removeAllItems();
    for (int i = 0; i < names.size(); ++i)
        qovanet::addItem(popup, names.at(i), popup == m_methodButton ? i : -1);
    popup->selectItemAtIndex(0);
}

void QOVAVaskoEAPView::selectMethodItem(int tag)
{
    QList<Row> rows;
    quint64 height = 0;
    switch (tag) {
    case MethodPEAP:
    case MethodTTLS:
        rows = {RowPhase2, RowCA, RowIdentity, RowAnonymous};
        height = kHeightPEAP;
        break;
    case MethodPWD:
    case MethodMD5:
        rows = {RowIdentity};
        height = kHeightIdentityOnly;
        break;
    case MethodTLS:
        rows = {RowCA, RowIdentity, RowUserCert, RowPrivateKey};
        height = kHeightTLS;
        break;
    case MethodFAST:
        rows = {RowPhase2, RowProvision, RowPacFile, RowIdentity, RowAnonymous};
        height = kHeightFAST;
        break;
    default:
        return;
    }
    for (Row row : rows)
        makeRow(row);
    showRows(rows);
    if (QOVAEAPDelegate *delegate = m_delegate.get())
        delegate->updateEAPViewLayoutHeight(height, quint64(tag));
}

void QOVAVaskoEAPView::chooseCertifiate()
{
}

QString QOVAVaskoEAPView::identity() const
{
    return m_identifyTextField->stringValue();
}

QString QOVAVaskoEAPView::anonymousIdentity() const
{
    return m_anonymousTextField->stringValue();
}

QString QOVAVaskoEAPView::eapMethod() const
{
    return m_methodButton->titleOfSelectedItem();
}

int QOVAVaskoEAPView::eapMethodTag() const
{
    return qovanet::selectedTag(m_methodButton);
}

QString QOVAVaskoEAPView::phase2() const
{
    return qovanet::selectedWire(m_authenButton);
}
