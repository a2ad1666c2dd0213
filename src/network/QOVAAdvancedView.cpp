#include "QOVAAdvancedView.h"

#include "QOVANetworkPopUp.h"
#include "QOVANetworkStyle.h"

#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVATextField.h"

namespace {
// Rows: labels 176 x 14 at the left edge, the first 2 below the top, each
// next one 18 below the one above.
constexpr int kAdvancedLabelWidth = 176;
constexpr int kAdvancedLabelHeight = 14;
constexpr int kAdvancedRowPitch = kAdvancedLabelHeight + 18;
int advancedLabelTop(int row) { return 2 + row * kAdvancedRowPitch; }
} // namespace

QOVAAdvancedView::QOVAAdvancedView(QWidget *parent)
    : QWidget(parent)
{
    resize(kWidth, kHeight);
    m_dhcpLabel = makeLabel(qtTrId("STRING_IPSETTINGS"), 0);
    m_dhcpButton = new QOVAPopUpButton(this);
    qovanet::addItem(m_dhcpButton, QStringLiteral("DHCP"), MethodDHCP);
    qovanet::addItem(m_dhcpButton, qtTrId("STRING_STASTICS"), MethodStatic);
    m_dhcpButton->selectItemAtIndex(0);
    // 206 x 19, 13 right of its label, centred on it.
    m_dhcpButton->setGeometry(kAdvancedLabelWidth + 13, advancedLabelTop(0) - 2, 206, 19);
    connect(m_dhcpButton, &QComboBox::activated, this, [this] { selectDHCPItem(); });

    const char *keys[] = {"STRING_IP_ADDRESS", "STRING_GATEWAY", "STRING_SUBNET_MASK", "STRING_DNS_ADDRESS1",
                          "STRING_DNS_ADDRESS2"};
    QOVATextField **fields[] = {&m_ipTextField, &m_gatewayField, &m_maskTextField, &m_dnsTextField,
                                &m_dns2TextField};
    for (int i = 0; i < 5; ++i) {
        m_addressViews << makeLabel(qtTrId(keys[i]), i + 1);
        *fields[i] = makeField(i + 1);
        m_addressViews << *fields[i];
    }
    for (QOVATextField *reported : {m_ipTextField, m_gatewayField}) {
        connect(reported, &QLineEdit::textEdited, this, [this] {
            if (QOVAAdvancedViewDelegate *delegate = m_delegate.get())
                delegate->ipTextFieldChange();
        });
    }
    setAddressRowsHidden(true);
}

QOVALabel *QOVAAdvancedView::makeLabel(const QString &text, int row)
{
    QOVALabel *label = qovanet::rowLabel(this, text, fontWithSFProDisplay(12, QOVAFontRegular));
    label->setGeometry(0, advancedLabelTop(row), kAdvancedLabelWidth, kAdvancedLabelHeight);
    return label;
}

QOVATextField *QOVAAdvancedView::makeField(int row)
{
    // 200 x 16, 16 right of its label, centred on it.
    auto *field = new QOVATextField(this);
    field->setGeometry(kAdvancedLabelWidth + 16, advancedLabelTop(row) - 1, 200, 16);
    return field;
}

void QOVAAdvancedView::setAddressRowsHidden(bool hidden)
{
    for (QWidget *view : m_addressViews)
        view->setVisible(!hidden);
}

bool QOVAAdvancedView::isDHCP() const
{
    return qovanet::selectedTag(m_dhcpButton) == MethodDHCP;
}

void QOVAAdvancedView::chooseDHCPItem()
{
    qovanet::selectTag(m_dhcpButton, MethodDHCP);
}

void QOVAAdvancedView::selectDHCPItem()
{
    setAddressRowsHidden(isDHCP());
    if (QOVAAdvancedViewDelegate *delegate = m_delegate.get())
        delegate->handlePopupButton();
}

void QOVAAdvancedView::selectDHCPToAuto()
{
    setAddressRowsHidden(true);
    if (QOVAAdvancedViewDelegate *delegate = m_delegate.get())
        delegate->handlePopupButton();
}
