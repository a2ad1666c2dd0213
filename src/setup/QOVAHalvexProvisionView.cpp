#include "QOVAHalvexProvisionView.h"

#include "QOVAHalvexPageControlView.h"
#include "QOVAHalvexPageIndicatorView.h"
#include "QOVAPageKeyMonitor.h"

#include "QOVAButton.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVATextField.h"

#include "QOVADeviceModel.h"
#include "models/ProvisionModel.h"
#include "log/log.h"
#include "platform/TimeScale.h"

#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

QOVAHalvexProvisionView::QOVAHalvexProvisionView(const QString &productID, QWidget *parent)
    : QOVAHalvexOOBBaseView(parent)
    , m_productID(productID)
{
    setupOOBProvisionView();
    new QOVAPageKeyMonitor(this, [this](QKeyEvent *event) { return keyDown(event); });
}

QOVAProvisionPolicy QOVAHalvexProvisionView::policy() const
{
    return QOVAProvisionPolicy(m_productID, QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion());
}

QOVALabel *QOVAHalvexProvisionView::titleLabel(const QString &text)
{
    auto *label = new QOVALabel(this);
    label->setFont(fontWithSFProDisplay(10, 5));
    label->setTextColor(Qt::black);
    label->setStringValue(text);
    label->setToolTip(QString());
    return label;
}

void QOVAHalvexProvisionView::setupOOBProvisionView()
{
    setSubTitleText(qtTrId("OOB_PROVISIONING_SETTINGS"));
    pageControlView()->nextButton()->setTextString(qtTrId("BUTTON_ITEM_NEXT"));
    pageControlView()->setPageControlDelegate(this);
    pageControlView()->setHidden(false);
    pageIndicatorView()->setCurrentStep(3);
    pageIndicatorView()->setHidden(false);

    const auto popUp = [this](const QStringList &titles) {
        auto *button = new QOVAPopUpButton(this);
        button->addItemsWithTitles(titles);
        button->setFontWithString(QStringLiteral("616161"), 1.0, 13, 1);
        return button;
    };
    m_provisioningModeLabel = titleLabel(qtTrId("STRING_PROVISIONING_MODE"));
    m_modeSelectButton = popUp(policy().setupModeTitles());
    connect(m_modeSelectButton, &QOVAPopUpButton::activated, this, [this] { handleModePopBtn(); });

    m_provisionServerTypeLabel = titleLabel(qtTrId("STRING_SERVER_TYPE"));
    m_serverTypeSelectButton = popUp(QOVAProvisionPolicy::serverTypeTitles());
    m_serverAddressLabel = titleLabel(qtTrId("STRING_SERVER_ADDRESS"));
    m_serverAddressTextField = new QOVATextField(this);
    m_userNameLabel = titleLabel(qtTrId("STRING_USERNAME"));
    m_userNameTextField = new QOVATextField(this);
    m_userNameTextField->setPlaceholderText(qtTrId("STRING_DOMAIN_USERNAME"));
    m_passwordLabel = titleLabel(qtTrId("STRING_PASSWORD"));
    m_passwordTextField = new QOVASecureTextView(this);
    m_passwordTextField->setSecureDelegate(this);
    for (QOVATextField *field : {m_serverAddressTextField, m_userNameTextField})
        connect(field, &QOVATextField::textEdited, this, [this] { checkButtonStatus(); });
    for (QWidget *w : std::initializer_list<QWidget *>{m_provisionServerTypeLabel, m_serverTypeSelectButton,
                                                       m_serverAddressLabel, m_serverAddressTextField,
                                                       m_userNameLabel, m_userNameTextField, m_passwordLabel,
                                                       m_passwordTextField})
        w->setHidden(true);
    // The page starts in the first mode of its list, set up as that mode.
    handleModePopBtn();
}

void QOVAHalvexProvisionView::createDhcpRows()
{
    if (m_dhcpStartupEditor)
        return;
    m_dhcpStartupTitleLabel = titleLabel(qtTrId("STRING_DHCP_OPTION"));
    m_dhcpStartupEditor = new QOVATextField(this);
    m_dhcpStartupEditor->setStringValue(QStringLiteral("160"));
    connect(m_dhcpStartupEditor, &QOVATextField::textEdited, this, [this] { checkButtonStatus(); });
    m_dhcpValueRangeNote = new QOVALabel(this);
    m_dhcpValueRangeNote->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_dhcpValueRangeNote->setStringValue(qtTrId("STRING_DHCP_RANGE"));
    m_dhcpValueRangeNote->setToolTip(QString());
    for (QWidget *w : std::initializer_list<QWidget *>{m_dhcpStartupTitleLabel, m_dhcpStartupEditor,
                                                       m_dhcpValueRangeNote})
        w->show();
}

QString QOVAHalvexProvisionView::dhcpText() const
{
    return m_dhcpStartupEditor ? m_dhcpStartupEditor->stringValue() : QString();
}

void QOVAHalvexProvisionView::layoutRows()
{
    // Labels at 270 and 11 high; controls centred on the page, 9 below their
    // label and 20 high; 10 between a control and the next label.
    int y = subTitleLabel()->geometry().bottom() + 1 + 24;
    const auto row = [&](QWidget *label, QWidget *control, int width) {
        label->setGeometry(270, y, std::max(label->sizeHint().width(), 282), 11);
        y += 11 + 9;
        control->setGeometry((this->width() - width) / 2, y, width, 20);
        y += 20 + 10;
    };
    row(m_provisioningModeLabel, m_modeSelectButton, 282);
    if (m_dhcpStartupEditor && !m_dhcpStartupEditor->isHidden()) {
        row(m_dhcpStartupTitleLabel, m_dhcpStartupEditor, 278);
        const QSize note = m_dhcpValueRangeNote->sizeHint();
        m_dhcpValueRangeNote->setGeometry(270, m_dhcpStartupEditor->geometry().bottom() + 1 + 24, note.width(),
                                          note.height());
        return;
    }
    if (policy().hasServerType())
        row(m_provisionServerTypeLabel, m_serverTypeSelectButton, 282);
    row(m_serverAddressLabel, m_serverAddressTextField, 278);
    row(m_userNameLabel, m_userNameTextField, 278);
    row(m_passwordLabel, m_passwordTextField, 282);
}

void QOVAHalvexProvisionView::showEvent(QShowEvent *event)
{
    QOVAHalvexOOBBaseView::showEvent(event);
    if (auto *d = delegate())
        d->requestProvisionSettings();
}

void QOVAHalvexProvisionView::updateProvisionUI(const std::shared_ptr<const ProvisionModel> &model)
{
    QString title;
    if (!model || !model->provision_mode || model->provision_mode->isEmpty()) {
        QOVA_LOG(DEBUG, UI, "Should not Happen This Situation, It's a Orbrin BUG!");
        title = QOVAProvisionPolicy::disableTitle();
    } else {
        title = QOVAProvisionPolicy::titleForMode(*model->provision_mode);
        if (title.isEmpty()) {
            QOVA_LOG(DEBUG, UI, "Can't parse the Provision mode %s, It's a Orbrin BUG!",
                     qUtf8Printable(*model->provision_mode));
            title = QOVAProvisionPolicy::disableTitle();
        }
    }
    // The device's mode goes to the top of the list (moved there when it is
    // already listed) and is chosen.
    m_modeSelectButton->insertItemWithTitle(title, 0);
    m_modeSelectButton->selectItemAtIndex(0);
    m_modeSelectButton->setFontWithString(QStringLiteral("616161"), 1.0, 13, 1);
    if (model && QOVAProvisionPolicy::modeForTitle(title) == QOVAProvisionPolicy::Mode::Manual) {
        const QOVAProvisionPolicy::ManualFill fill = policy().manualFill(*model);
        if (policy().hasServerType() && !fill.serverTypeTitle.isEmpty()) {
            m_serverTypeSelectButton->insertItemWithTitle(fill.serverTypeTitle, 0);
            m_serverTypeSelectButton->selectItemAtIndex(0);
        }
        m_userNameTextField->setStringValue(fill.userName);
        m_serverAddressTextField->setStringValue(fill.address);
        m_passwordTextField->setPasswordString(QString());
    }
    handleModePopBtn();
}

void QOVAHalvexProvisionView::handleModePopBtn()
{
    const QOVAProvisionPolicy rules = policy();
    const QOVAProvisionPolicy::Mode mode = QOVAProvisionPolicy::modeForTitle(m_modeSelectButton->titleOfSelectedItem());
    const bool manual = mode == QOVAProvisionPolicy::Mode::Manual;
    if (rules.hasDhcpOption()) {
        if (mode == QOVAProvisionPolicy::Mode::Auto)
            createDhcpRows();
        if (m_dhcpStartupEditor) {
            const bool hidden = mode != QOVAProvisionPolicy::Mode::Auto;
            for (QWidget *w : std::initializer_list<QWidget *>{m_dhcpStartupTitleLabel, m_dhcpStartupEditor,
                                                               m_dhcpValueRangeNote})
                w->setHidden(hidden);
        }
    }
    for (QWidget *w : std::initializer_list<QWidget *>{m_serverAddressLabel, m_serverAddressTextField,
                                                       m_userNameLabel, m_userNameTextField, m_passwordLabel,
                                                       m_passwordTextField})
        w->setHidden(!manual);
    m_provisionServerTypeLabel->setHidden(!manual || !rules.hasServerType());
    m_serverTypeSelectButton->setHidden(!manual || !rules.hasServerType());
    checkButtonStatus();
    layoutRows();
}

void QOVAHalvexProvisionView::checkButtonStatus()
{
    const bool enabled = policy().commitEnabled(
        QOVAProvisionPolicy::modeForTitle(m_modeSelectButton->titleOfSelectedItem()),
        m_serverAddressTextField->stringValue(), m_userNameTextField->stringValue(),
        m_passwordTextField->passwordString(), dhcpText());
    pageControlView()->nextButton()->setDisabled(!enabled);
}

void QOVAHalvexProvisionView::secureTextViewTextChange(QOVASecureTextView *, QLineEdit *)
{
    checkButtonStatus();
}

void QOVAHalvexProvisionView::clearPassword()
{
    m_passwordTextField->setPasswordString(QString());
    checkButtonStatus();
}

void QOVAHalvexProvisionView::pageControlGoNext(QOVAHalvexPageControlView *)
{
    if (pageControlView()->nextButton()->disabled())
        return;
    const QOVAProvisionPolicy::Values values = policy().valuesToSend(
        m_modeSelectButton->titleOfSelectedItem(), m_serverTypeSelectButton->titleOfSelectedItem(),
        m_serverAddressTextField->stringValue(), m_userNameTextField->stringValue(),
        m_passwordTextField->passwordString(), dhcpText());
    if (auto *d = delegate())
        d->setProvisionWithUrl(values.url, values.userName, values.password, values.mode, values.type);
    if (!values.dhcpOption)
        return;
    // The option follows the settings after a short pause (the device takes
    // the two writes in that order), without holding up the interface.
    const QString option = QString::number(*values.dhcpOption);
    QTimer::singleShot(platform::scaledMs(10), this, [this, option] {
        auto *d = delegate();
        if (d && d->respondsToSetDHCPOptionStartup())
            d->setDHCPOptionStartup(option);
    });
}

bool QOVAHalvexProvisionView::keyDown(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Tab
        || QOVAProvisionPolicy::modeForTitle(m_modeSelectButton->titleOfSelectedItem())
               != QOVAProvisionPolicy::Mode::Manual)
        return false;
    if (m_serverAddressTextField->isSelected())
        m_userNameTextField->selectCurrentTextView();
    else if (m_userNameTextField->isSelected())
        m_passwordTextField->selectCurrentTextView();
    else
        m_serverAddressTextField->selectCurrentTextView();
    return true;
}
