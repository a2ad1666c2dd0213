#include "QOVAProvisionServerView.h"

#include "QOVAPageKeyMonitor.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVATextField.h"

#include "QOVADeviceModel.h"
#include "models/ProvisionModel.h"
#include "log/log.h"
#include "platform/TimeScale.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

namespace {

// Blanks (spaces and tabs, not line breaks) removed at both ends.
QString trimBlanks(const QString &text)
{
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && blank(text.at(start)))
        ++start;
    while (end > start && blank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

} // namespace

QOVAProvisionServerView::QOVAProvisionServerView(const QString &productID, QWidget *parent)
    : QOVADisplayBaseView(parent)
    , m_productID(productID)
{
    detailViewName()->setStringValue(qtTrId("STRING_PROVISIONING_SERVER"));
    setupProvisionUI();
    new QOVAPageKeyMonitor(this, [this](QKeyEvent *event) { return keyDown(event); });
}

QOVAProvisionPolicy QOVAProvisionServerView::policy() const
{
    return QOVAProvisionPolicy(m_productID, QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion());
}

QOVALabel *QOVAProvisionServerView::titleLabel(const QString &text)
{
    auto *label = new QOVALabel(this);
    label->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    label->setTextColor(Qt::black);
    label->setStringValue(text);
    label->setToolTip(QString());
    return label;
}

void QOVAProvisionServerView::paintEvent(QPaintEvent *event)
{
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
    }
    QOVADisplayBaseView::paintEvent(event);
}

void QOVAProvisionServerView::setupProvisionUI()
{
    const auto popUp = [this](const QStringList &titles) {
        auto *button = new QOVAPopUpButton(this);
        button->addItemsWithTitles(titles);
        button->setFontWithString(QStringLiteral("2e2e2e"), 1.0, 13, 1);
        return button;
    };
    m_provisoningModeLabel = titleLabel(qtTrId("STRING_PROVISIONING_MODE"));
    m_modeSelectButton = popUp(QOVAProvisionPolicy::deviceModeTitles());
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

    m_provisionSaveButton = new QOVAButton(this);
    m_provisionSaveButton->setTextString(qtTrId("STRING_SAVE"));
    m_provisionSaveButton->setTextFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_provisionSaveButton->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
    m_provisionSaveButton->setQovaButtonType(1);
    connect(m_provisionSaveButton, &QOVAButton::clicked, this, [this] { saveProvisionSetting(); });

    for (QWidget *w : std::initializer_list<QWidget *>{m_provisionServerTypeLabel, m_serverTypeSelectButton,
                                                       m_serverAddressLabel, m_serverAddressTextField,
                                                       m_userNameLabel, m_userNameTextField, m_passwordLabel,
                                                       m_passwordTextField})
        w->setHidden(true);
    handleModePopBtn();
}

void QOVAProvisionServerView::createDhcpRows()
{
    if (m_dhcpEditor)
        return;
    m_dhcpTitleLabel = titleLabel(qtTrId("STRING_DHCP_OPTION"));
    m_dhcpTitleLabel->setTextColor(colorWithString(QStringLiteral("2e2e2e"), 1.0));
    m_dhcpEditor = new QOVATextField(this);
    QPalette palette = m_dhcpEditor->palette();
    palette.setColor(QPalette::Text, colorWithString(QStringLiteral("616161"), 1.0));
    m_dhcpEditor->setPalette(palette);
    m_dhcpEditor->setStringValue(QStringLiteral("160"));
    connect(m_dhcpEditor, &QOVATextField::textEdited, this, [this] { checkButtonStatus(); });
    m_dhcpValueRangeNote = new QOVALabel(this);
    m_dhcpValueRangeNote->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_dhcpValueRangeNote->setStringValue(qtTrId("STRING_DHCP_RANGE"));
    m_dhcpValueRangeNote->setToolTip(QString());
    for (QWidget *w : std::initializer_list<QWidget *>{m_dhcpTitleLabel, m_dhcpEditor, m_dhcpValueRangeNote})
        w->show();
}

QString QOVAProvisionServerView::dhcpText() const
{
    return m_dhcpEditor ? m_dhcpEditor->stringValue() : QString();
}

void QOVAProvisionServerView::layoutRows()
{
    // Labels 150 x 36 at the left, one under the other from 16 below the
    // divider; each control centred on its label's height.
    const int top = splitLine()->geometry().bottom() + 1 + 16;
    const auto placeControl = [](QWidget *control, const QRect &label, double x, double width, double height) {
        control->setGeometry(QRectF(x, label.center().y() + 0.5 - height / 2, width, height).toRect());
    };
    m_provisoningModeLabel->setGeometry(36, top, 150, 36);
    placeControl(m_modeSelectButton, m_provisoningModeLabel->geometry(), 200, 290, 20);
    const QRect mode = m_provisoningModeLabel->geometry();

    if (m_dhcpEditor && !m_dhcpEditor->isHidden()) {
        m_dhcpTitleLabel->setGeometry(36, mode.bottom() + 1 + 16, 150, 36);
        placeControl(m_dhcpEditor, m_dhcpTitleLabel->geometry(), 203, 198, 24);
        const QSize note = m_dhcpValueRangeNote->sizeHint();
        m_dhcpValueRangeNote->setGeometry(206, m_dhcpEditor->geometry().bottom() + 1 + 24, note.width(),
                                          note.height());
        m_provisionSaveButton->setGeometry(36, m_dhcpValueRangeNote->geometry().bottom() + 1 + 24, 88, 24);
        return;
    }
    if (m_serverAddressTextField->isHidden()) {
        m_provisionSaveButton->setGeometry(36, mode.bottom() + 1 + 24, 88, 24);
        return;
    }
    int y = mode.bottom() + 1;
    if (policy().hasServerType()) {
        m_provisionServerTypeLabel->setGeometry(36, y, 150, 36);
        placeControl(m_serverTypeSelectButton, m_provisionServerTypeLabel->geometry(), 200, 290, 20);
        y += 36;
    }
    m_serverAddressLabel->setGeometry(36, y, 150, 36);
    placeControl(m_serverAddressTextField, m_serverAddressLabel->geometry(), 202.5, 285, 20);
    y += 36;
    m_userNameLabel->setGeometry(36, y, 150, 36);
    placeControl(m_userNameTextField, m_userNameLabel->geometry(), 202.5, 285, 20);
    y += 36;
    m_passwordLabel->setGeometry(36, y, 150, 36);
    placeControl(m_passwordTextField, m_passwordLabel->geometry(), 200.5, 289, 20);
    y += 36;
    m_provisionSaveButton->setGeometry(36, y + 24, 88, 24);
}

void QOVAProvisionServerView::handleDisplayViewEvent()
{
    QOVADisplayBaseView::handleDisplayViewEvent();
    if (auto *d = delegate())
        d->requestProvision();
}

void QOVAProvisionServerView::provisionModel(const std::shared_ptr<const ProvisionModel> &model)
{
    if (!model || !model->provision_mode || model->provision_mode->isEmpty()) {
        QOVA_LOG(DEBUG, UI, "Should not Happen This Situation, It's a Orbrin BUG!");
        return;
    }
    const QString title = QOVAProvisionPolicy::titleForMode(*model->provision_mode);
    if (title.isEmpty()) {
        QOVA_LOG(DEBUG, UI, "Can't parse the Provision mode %s, It's a Orbrin BUG!",
                 qUtf8Printable(*model->provision_mode));
        return;
    }
    const QOVAProvisionPolicy rules = policy();
    const QOVAProvisionPolicy::Mode mode = QOVAProvisionPolicy::modeForTitle(title);
    if (mode == QOVAProvisionPolicy::Mode::Auto && rules.hasDhcpOption()) {
        createDhcpRows();
        // Without a value from the device the field keeps what it holds.
        if (model->provision_dhcp_opt)
            m_dhcpEditor->setStringValue(QString::number(qint64(*model->provision_dhcp_opt)));
    }
    m_modeSelectButton->insertItemWithTitle(title, 0);
    m_modeSelectButton->selectItemAtIndex(0);
    if (mode == QOVAProvisionPolicy::Mode::Manual) {
        const QOVAProvisionPolicy::ManualFill fill = rules.manualFill(*model);
        if (rules.hasServerType() && !fill.serverTypeTitle.isEmpty()) {
            m_serverTypeSelectButton->insertItemWithTitle(fill.serverTypeTitle, 0);
            m_serverTypeSelectButton->selectItemAtIndex(0);
        }
        m_userNameTextField->setStringValue(fill.userName);
        m_serverAddressTextField->setStringValue(fill.address);
        m_passwordTextField->setPasswordString(QString());
    }
    handleModePopBtn();
    // Nothing changed yet: Save waits for an edit or a pick.
    m_provisionSaveButton->setDisabled(true);
}

void QOVAProvisionServerView::handleModePopBtn()
{
    const QOVAProvisionPolicy rules = policy();
    const QOVAProvisionPolicy::Mode mode = QOVAProvisionPolicy::modeForTitle(m_modeSelectButton->titleOfSelectedItem());
    const bool manual = mode == QOVAProvisionPolicy::Mode::Manual;
    checkButtonStatus();
    for (QWidget *w : std::initializer_list<QWidget *>{m_serverAddressLabel, m_serverAddressTextField,
                                                       m_userNameLabel, m_userNameTextField, m_passwordLabel,
                                                       m_passwordTextField})
        w->setHidden(!manual);
    m_provisionServerTypeLabel->setHidden(!manual || !rules.hasServerType());
    m_serverTypeSelectButton->setHidden(!manual || !rules.hasServerType());
    if (rules.hasDhcpOption()) {
        if (mode == QOVAProvisionPolicy::Mode::Auto)
            createDhcpRows();
        if (m_dhcpEditor) {
            const bool hidden = mode != QOVAProvisionPolicy::Mode::Auto;
            for (QWidget *w : std::initializer_list<QWidget *>{m_dhcpTitleLabel, m_dhcpEditor, m_dhcpValueRangeNote})
                w->setHidden(hidden);
        }
    }
    layoutRows();
}

void QOVAProvisionServerView::checkButtonStatus()
{
    const bool enabled = policy().commitEnabled(
        QOVAProvisionPolicy::modeForTitle(m_modeSelectButton->titleOfSelectedItem()),
        m_serverAddressTextField->stringValue(), m_userNameTextField->stringValue(),
        m_passwordTextField->passwordString(), dhcpText());
    m_provisionSaveButton->setDisabled(!enabled);
}

void QOVAProvisionServerView::secureTextViewTextChange(QOVASecureTextView *, QLineEdit *)
{
    checkButtonStatus();
}

void QOVAProvisionServerView::clearPassword()
{
    m_passwordTextField->setPasswordString(QString());
}

void QOVAProvisionServerView::saveProvisionSetting()
{
    const QOVAProvisionPolicy::Values values = policy().valuesToSend(
        m_modeSelectButton->titleOfSelectedItem(), m_serverTypeSelectButton->titleOfSelectedItem(),
        trimBlanks(m_serverAddressTextField->stringValue()), m_userNameTextField->stringValue(),
        m_passwordTextField->passwordString(), dhcpText());
    if (auto *d = delegate())
        d->setProvisionWithUrl(values.url, values.userName, values.password, values.mode, values.type);
    if (!values.dhcpOption)
        return;
    // The option follows the settings after a short pause, without holding up
    // the interface.
    const QString option = QString::number(*values.dhcpOption);
    QTimer::singleShot(platform::scaledMs(10), this, [this, option] {
        if (auto *d = delegate())
            d->setDhcpOption(option);
    });
}

bool QOVAProvisionServerView::keyDown(QKeyEvent *event)
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
