#include "QOVAIPV4Window.h"

#include "QOVANetworkPopUp.h"
#include "QOVANetworkStyle.h"

#include "IPV4SettingModel.h"
#include "platform/TimeScale.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVATextField.h"

#include <QRegularExpression>
#include <QTimer>
#include <QVariantAnimation>
#include <QtMath>

#include <arpa/inet.h>

namespace {

// Rows: labels 128 x 15 at the left edge; fields 195 x 18, 19 right of the
// label; each row 16 below the label above (39 under a shown error line, 42
// under the gateway's).
constexpr double kIpv4LabelWidth = 128;
constexpr double kIpv4LabelHeight = 15;
constexpr double kIpv4FieldWidth = 195;
constexpr double kIpv4FieldHeight = 18;
constexpr double kIpv4Gap = 16;
constexpr double kIpv4GapUnderError = 39;
constexpr double kIpv4GapUnderGatewayError = 42;
constexpr double kIpv4MethodTop = 14 + 72 + 16;   // 16 below the header picture

QRect ipv4Rect(double x, double y, double w, double h)
{
    return QRect(qRound(x), qRound(y), qRound(w), qRound(h));
}

} // namespace

QOVAIPV4Window::QOVAIPV4Window(double width, double height, std::shared_ptr<const IPV4SettingModel> model)
    : QOVAWifiBaseWindow(width, height)
    , m_animationMs(platform::scaledMs(500))
{
    setTitleText(qtTrId("STRING_IPV4_NETWORK"));
    wifiImageView()->setImageName(QStringLiteral("ethernet"));
    layoutContent();
    // Filled on a later turn of the event loop, after the opener's show().
    QPointer<QOVAIPV4Window> self(this);
    QTimer::singleShot(0, this, [self, model] {
        if (self)
            self->setupUIControl(model);
    });
}

void QOVAIPV4Window::layoutContent()
{
    QWidget *content = contentView();
    m_subTitle = new QOVALabel(content);
    m_subTitle->setStringValue(qtTrId("STRING_IPV4_NETWORKSETTING_SUBTITLE"));
    m_subTitle->setFont(qovanet::systemFontOfSize(13));
    m_subTitle->setTextColor(colorWithString(QStringLiteral("252525"), 1.0));
    const QRect title = titleLabel()->geometry();
    m_subTitle->setGeometry(144, title.bottom() + 1 + 13, 256, 30);

    const QFont labelFont = fontWithSFProDisplay(13, QOVAFontRegular);
    m_methodLabel = qovanet::rowLabel(content, qtTrId("METHOD"), labelFont);
    m_methodPopup = new QOVAPopUpButton(content);
    qovanet::addItem(m_methodPopup, qtTrId("STRING_DHCP"), MethodDHCP);
    qovanet::addItem(m_methodPopup, qtTrId("STRING_STASTICS"), MethodStatic);
    m_methodPopup->selectItemAtIndex(0);
    connect(m_methodPopup, &QComboBox::activated, this, [this] { handleMethodBtn(); });

    const char *keys[RowCount] = {"STRING_IP_ADDRESS",   "STRING_SUBNET_MASK",  "STRING_GATEWAY",
                                  "STRING_DNS_ADDRESS1", "STRING_DNS_ADDRESS2", "STRING_SEARCH_DOMAINS"};
    const int tags[RowCount] = {TagIPAddress, TagSubnetMask, TagGateway, 0, 0, 0};
    for (int row = 0; row < RowCount; ++row) {
        m_rowLabels[row] = qovanet::rowLabel(content, qtTrId(keys[row]), labelFont);
        auto *field = new QOVATextField(content);
        field->setTag(tags[row]);
        connect(field, &QLineEdit::textEdited, this, [this, field] { controlTextDidChange(field); });
        m_fields[row] = field;
    }
    for (auto &error : m_errorLabels) {
        error = new QOVALabel(content);
        error->setStringValue(qtTrId("STRING_INVALIDDATA_INPUT"));
        error->setAlignment(QOVALabel::AlignLeft);
        error->setFont(qovanet::systemFontOfSize(13));
        error->setTextColor(colorWithString(QStringLiteral("d0021b"), 1.0));
        error->setMaximumNumberOfLines(1);
        error->hide();
    }
    for (int row : {RowIP, RowMask, RowGateway}) {
        m_rowLabels[row]->hide();
        m_fields[row]->hide();
    }

    m_cancelButton = new QOVAButton(content);
    m_cancelButton->setTextString(qtTrId("STRING_CANCEL"));
    m_joinButton = new QOVAButton(content);
    m_joinButton->setTextString(qtTrId("STRING_JOIN"));
    formatButton(m_cancelButton, true, false);
    formatButton(m_joinButton, true, true);
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { cancelConnect(); });
    connect(m_joinButton, &QOVAButton::clicked, this, [this] { joinNetwork(); });
    const double buttonWidth = qMax(67.0, qMax(m_cancelButton->textLength(), m_joinButton->textLength()));
    const double w = windowSize().width();
    const double h = windowSize().height();
    m_joinButton->setGeometry(ipv4Rect(w - 20.5 - buttonWidth, h - 19.5 - 19, buttonWidth, 19));
    m_cancelButton->setGeometry(ipv4Rect(w - 20.5 - buttonWidth - 15 - buttonWidth, h - 19.5 - 19, buttonWidth, 19));

    m_dnsTop = dnsTargetTop();
    placeRows(m_dnsTop);
}

double QOVAIPV4Window::dnsTargetTop() const
{
    const double ipTop = kIpv4MethodTop + kIpv4LabelHeight + kIpv4Gap;
    const double maskTop = ipTop + kIpv4LabelHeight + (m_errorShown[0] ? kIpv4GapUnderError : kIpv4Gap);
    const double gatewayTop = maskTop + kIpv4LabelHeight + (m_errorShown[1] ? kIpv4GapUnderError : kIpv4Gap);
    if (!m_dnsUnderGateway)
        return kIpv4MethodTop + kIpv4LabelHeight + kIpv4Gap;
    return gatewayTop + kIpv4LabelHeight + (m_errorShown[2] ? kIpv4GapUnderGatewayError : kIpv4Gap);
}

void QOVAIPV4Window::placeRows(double dnsTop)
{
    auto placeRow = [](QOVALabel *label, QWidget *control, double top, double controlX, double controlWidth) {
        label->setGeometry(ipv4Rect(0, top, kIpv4LabelWidth, kIpv4LabelHeight));
        control->setGeometry(ipv4Rect(controlX, top - (kIpv4FieldHeight - kIpv4LabelHeight) / 2, controlWidth, kIpv4FieldHeight));
    };
    placeRow(m_methodLabel, m_methodPopup, kIpv4MethodTop, kIpv4LabelWidth + 16, 200);
    const double fieldX = kIpv4LabelWidth + 19;
    double top = kIpv4MethodTop + kIpv4LabelHeight + kIpv4Gap;
    for (int row : {RowIP, RowMask, RowGateway}) {
        placeRow(m_rowLabels[row], m_fields[row], top, fieldX, kIpv4FieldWidth);
        const bool gateway = row == RowGateway;
        // Under its field, the gateway's under its label.
        const double errorTop = gateway ? top + kIpv4LabelHeight + 7
                                         : top - (kIpv4FieldHeight - kIpv4LabelHeight) / 2 + kIpv4FieldHeight + 7;
        m_errorLabels[row]->setGeometry(ipv4Rect(144, errorTop, kIpv4FieldWidth, kIpv4LabelHeight));
        top += kIpv4LabelHeight + (m_errorShown[row] ? kIpv4GapUnderError : kIpv4Gap);
    }
    top = dnsTop;
    for (int row : {RowDNS1, RowDNS2, RowDomain}) {
        placeRow(m_rowLabels[row], m_fields[row], top, fieldX, kIpv4FieldWidth);
        top += kIpv4LabelHeight + kIpv4Gap;
    }
}

void QOVAIPV4Window::setupUIControl(std::shared_ptr<const IPV4SettingModel> model)
{
    const bool dhcp = model && qint64(model->dhcp) != 0;
    if (dhcp) {
        m_dhcpModel.domain = model->dns_domain;
        m_dhcpModel.dns1 = model->dns1;
        m_dhcpModel.dns2 = model->dns2;
        m_fields[RowDNS1]->setStringValue(m_dhcpModel.dns1);
        m_fields[RowDNS2]->setStringValue(m_dhcpModel.dns2);
        m_fields[RowDomain]->setStringValue(m_dhcpModel.domain);
        m_dnsUnderGateway = false;
    } else {
        if (model) {
            m_staticModel.dns1 = model->dns1;
            m_staticModel.dns2 = model->dns2;
            m_staticModel.subnetMask = model->mask;
            m_staticModel.domain = model->dns_domain;
            m_staticModel.gateway = model->gateway;
            m_staticModel.ipAddress = model->main_ip_address;
        }
        fillFields(m_staticModel);
        m_dnsUnderGateway = true;
    }
    // The device's current method first, the other second; the first selected.
    const int current = dhcp ? MethodDHCP : MethodStatic;
    const int other = dhcp ? MethodStatic : MethodDHCP;
    m_methodPopup->removeAllItems();
    qovanet::addItem(m_methodPopup, qtTrId(current == MethodDHCP ? "STRING_DHCP" : "STRING_STASTICS"), current);
    qovanet::addItem(m_methodPopup, qtTrId(other == MethodDHCP ? "STRING_DHCP" : "STRING_STASTICS"), other);
    m_methodPopup->selectItemAtIndex(0);
    m_dnsTop = dnsTargetTop();
    placeRows(m_dnsTop);
    hiddenUIControl(dhcp);
}

void QOVAIPV4Window::fillFields(const StaticModel &values)
{
    m_fields[RowIP]->setStringValue(values.ipAddress);
    m_fields[RowMask]->setStringValue(values.subnetMask);
    m_fields[RowGateway]->setStringValue(values.gateway);
    m_fields[RowDNS1]->setStringValue(values.dns1);
    m_fields[RowDNS2]->setStringValue(values.dns2);
    m_fields[RowDomain]->setStringValue(values.domain);
}

void QOVAIPV4Window::hiddenUIControl(bool hidden)
{
    for (int row : {RowIP, RowMask, RowGateway}) {
        m_rowLabels[row]->setVisible(!hidden);
        m_fields[row]->setVisible(!hidden);
    }
    for (int i = 0; i < 3; ++i)
        setErrorShown(i, false);
}

void QOVAIPV4Window::setErrorShown(int index, bool shown)
{
    m_errorShown[index] = shown;
    m_errorLabels[index]->setVisible(shown);
    // Rows beneath move down by the line, or back up.
    if (!m_animation || m_animation->state() != QAbstractAnimation::Running)
        m_dnsTop = dnsTargetTop();
    placeRows(m_dnsTop);
}

bool QOVAIPV4Window::isStaticSelected() const
{
    return qovanet::selectedTag(m_methodPopup) == MethodStatic;
}

void QOVAIPV4Window::moveDNSRows(std::function<void()> completion)
{
    if (m_animation)
        m_animation->stop();
    const double from = m_dnsTop;
    const double to = dnsTargetTop();
    if (m_animationMs <= 0) {
        m_dnsTop = to;
        placeRows(m_dnsTop);
        completion();
        return;
    }
    auto *animation = new QVariantAnimation(this);
    m_animation = animation;
    animation->setDuration(m_animationMs);
    animation->setStartValue(from);
    animation->setEndValue(to);
    connect(animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_dnsTop = value.toDouble();
        placeRows(m_dnsTop);
    });
    connect(animation, &QAbstractAnimation::finished, this, [this, to, completion] {
        m_dnsTop = to;
        placeRows(m_dnsTop);
        completion();
    });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void QOVAIPV4Window::handleMethodBtn()
{
    if (isStaticSelected()) {
        m_dnsUnderGateway = true;
        moveDNSRows([this] {
            hiddenUIControl(false);
            fillFields(m_staticModel);
            m_fields[RowIP]->selectCurrentTextView();
        });
    } else {
        m_dnsUnderGateway = false;
        moveDNSRows([this] {
            hiddenUIControl(true);
            m_fields[RowDNS1]->setStringValue(m_dhcpModel.dns1);
            m_fields[RowDNS2]->setStringValue(m_dhcpModel.dns2);
            m_fields[RowDomain]->setStringValue(m_dhcpModel.domain);
        });
    }
    checkButtonStatus();
}

void QOVAIPV4Window::checkButtonStatus()
{
    const bool enabled = !isStaticSelected() || !m_fields[RowIP]->stringValue().isEmpty();
    formatButton(m_joinButton, enabled, enabled);
}

void QOVAIPV4Window::controlTextDidChange(QOVATextField *field)
{
    checkButtonStatus();
    const int index = field->tag() == TagIPAddress ? 0 : field->tag() == TagSubnetMask ? 1
                                                      : field->tag() == TagGateway  ? 2
                                                                                    : -1;
    if (index >= 0 && m_errorShown[index])
        setErrorShown(index, false);
}

bool QOVAIPV4Window::isValidIPAddress(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    in_addr address{};
    if (inet_pton(AF_INET, utf8.constData(), &address) != 1)
        return false;
    // A text inet_pton takes ends in a plain decimal part.
    return text.section(QLatin1Char('.'), 3, 3).toInt() != 0;
}

bool QOVAIPV4Window::validateNetMask(const QString &text)
{
    static const QRegularExpression mask(QRegularExpression::anchoredPattern(QStringLiteral(
        "^(254|252|248|240|224|192|128)\\.0\\.0\\.0|255\\.(254|252|248|240|224|192|128|0)\\.0\\.0|"
        "255\\.255\\.(254|252|248|240|224|192|128|0)\\.0|255\\.255\\.255\\.(254|252|248|240|224|192|128|0)$")));
    return mask.match(text).hasMatch();
}

QJsonObject QOVAIPV4Window::ipv4Dictionary() const
{
    QJsonObject settings;
    if (isStaticSelected()) {
        settings.insert(QStringLiteral("main_ip_address"), m_fields[RowIP]->stringValue());
        settings.insert(QStringLiteral("mask"), m_fields[RowMask]->stringValue());
        settings.insert(QStringLiteral("gateway"), m_fields[RowGateway]->stringValue());
    }
    settings.insert(QStringLiteral("dns1"), m_fields[RowDNS1]->stringValue());
    settings.insert(QStringLiteral("dns2"), m_fields[RowDNS2]->stringValue());
    settings.insert(QStringLiteral("dns_domain"), m_fields[RowDomain]->stringValue());
    settings.insert(QStringLiteral("dhcp"), isStaticSelected() ? 0 : 1);
    return settings;
}

void QOVAIPV4Window::joinNetwork()
{
    if (isStaticSelected()) {
        if (!isValidIPAddress(m_fields[RowIP]->stringValue())) {
            setErrorShown(1, false);
            setErrorShown(2, false);
            setErrorShown(0, true);
            return;
        }
        if (!validateNetMask(m_fields[RowMask]->stringValue())) {
            setErrorShown(2, false);
            setErrorShown(1, true);
            return;
        }
        if (!isValidIPAddress(m_fields[RowGateway]->stringValue())) {
            setErrorShown(2, true);
            return;
        }
    }
    const QJsonObject settings = ipv4Dictionary();
    if (QOVAIPV4WindowDelegate *delegate = m_delegate.get())
        delegate->connectNetwork(settings);
    orderOut();
}

void QOVAIPV4Window::cancelConnect()
{
    orderOut();
    if (QOVAIPV4WindowDelegate *delegate = m_delegate.get())
        delegate->restartTimer();
}
