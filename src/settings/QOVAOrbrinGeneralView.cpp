#include "QOVAOrbrinGeneralView.h"

#include "QOVASettingsStyle.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVATextField.h"
#include "log/log.h"

#include "setup/QOVANameRuleWindow.h"

#include <QStringDecoder>

using namespace settingsstyle;

namespace {
constexpr int kGeneralRowHeight = 36;
}

QOVAOrbrinGeneralView::QOVAOrbrinGeneralView(const QString &productID, QWidget *parent)
    : QOVADisplayBaseView(parent)
    , m_productID(productID)
{
    detailViewName()->setStringValue(qtTrId("STRING_GENERAL_SETTINGS"));
    layoutCommonRows();
    if (isOrbrin())
        layoutOrbrinRows();
    else if (isVasko())
        layoutVaskoRows();
    relayoutForMode();
    if (m_saveButton)
        m_saveButton->setDisabled(true);
}

// ------------------------------------------------------------------ widgets

QOVALabel *QOVAOrbrinGeneralView::deviceNameTitleLabel()
{
    if (!m_deviceNameTitleLabel)
        m_deviceNameTitleLabel = rowLabel(this, qtTrId("STRING_DEVICE_NAME"));
    return m_deviceNameTitleLabel;
}

QOVATextField *QOVAOrbrinGeneralView::deviceNameEditor()
{
    if (!m_deviceNameEditor) {
        m_deviceNameEditor = new QOVATextField(this);
        QPalette palette = m_deviceNameEditor->palette();
        palette.setColor(QPalette::Text, colorWithString(QStringLiteral("616161"), 1.0));
        m_deviceNameEditor->setPalette(palette);
        m_deviceNameEditor->setStringValue(QStringLiteral("Zentaro Halvex"));
        connect(m_deviceNameEditor, &QLineEdit::textEdited, this, [this] { controlTextDidChange(); });
        m_deviceNameEditor->show();
    }
    return m_deviceNameEditor;
}

QOVALabel *QOVAOrbrinGeneralView::ntpModeTitleLabel()
{
    if (!m_ntpModeTitleLabel)
        m_ntpModeTitleLabel = rowLabel(this, qtTrId("STRING_NTP_MODE"));
    return m_ntpModeTitleLabel;
}

QOVAPopUpButton *QOVAOrbrinGeneralView::ntpModeButton()
{
    if (!m_ntpModeButton) {
        m_ntpModeButton = new QOVAPopUpButton(this);
        m_ntpModeButton->addItemsWithTitles({qtTrId("STRING_AUTO"), qtTrId("STRING_MANUAL")});
        m_ntpModeButton->setFontWithString(QStringLiteral("2e2e2e"), 1, 13, QOVAFontRegular);
        connect(m_ntpModeButton, &QComboBox::activated, this, [this] { handlePopBtn(); });
        m_ntpModeButton->show();
    }
    return m_ntpModeButton;
}

QOVALabel *QOVAOrbrinGeneralView::ntpServerTitleLabel()
{
    if (!m_ntpServerTitleLabel) {
        m_ntpServerTitleLabel = rowLabel(this, qtTrId("STRING_NTP_SERVER"));
        m_ntpServerTitleLabel->hide();
    }
    return m_ntpServerTitleLabel;
}

QOVATextField *QOVAOrbrinGeneralView::ntpServerTextField()
{
    if (!m_ntpServerTextField) {
        m_ntpServerTextField = new QOVATextField(this);
        connect(m_ntpServerTextField, &QLineEdit::textEdited, this, [this] { controlTextDidChange(); });
        m_ntpServerTextField->hide();
    }
    return m_ntpServerTextField;
}

QOVALabel *QOVAOrbrinGeneralView::cameraVividLabel()
{
    if (!m_cameraVividLabel)
        m_cameraVividLabel = rowLabel(this, qtTrId("STRING_CAMERA_VIVID_MODE"));
    return m_cameraVividLabel;
}

ITSwitch *QOVAOrbrinGeneralView::cameraVividSwitch()
{
    if (!m_cameraVividSwitch) {
        m_cameraVividSwitch = rowSwitch(this);
        connect(m_cameraVividSwitch, &ITSwitch::triggered, this, [this] { switchCameraVividMode(); });
    }
    return m_cameraVividSwitch;
}

QOVALabel *QOVAOrbrinGeneralView::cameraVividStatusLabel()
{
    if (!m_cameraVividStatusLabel)
        m_cameraVividStatusLabel = rowLabel(this, qtTrId("STRING_OFF"));
    return m_cameraVividStatusLabel;
}

QOVAButton *QOVAOrbrinGeneralView::nameRuleButton()
{
    if (!m_nameRuleButton) {
        m_nameRuleButton = new QOVAButton(this);
        m_nameRuleButton->setTextString(qtTrId("STRING_NAME_RULE"));
        m_nameRuleButton->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
        m_nameRuleButton->setBackgroundColor(Qt::transparent);
        connect(m_nameRuleButton, &QOVAButton::clicked, this, [this] { checkNameRules(); });
        m_nameRuleButton->show();
    }
    return m_nameRuleButton;
}

QOVAButton *QOVAOrbrinGeneralView::saveButton()
{
    if (!m_saveButton) {
        m_saveButton = accentButton(this, qtTrId("STRING_SAVE"));
        connect(m_saveButton, &QOVAButton::clicked, this, [this] { clickSaveButton(); });
    }
    return m_saveButton;
}

// ------------------------------------------------------------------- layout

void QOVAOrbrinGeneralView::layoutCommonRows()
{
    deviceNameTitleLabel()->setGeometry(36, underSplitLine(this, 16), 150, kGeneralRowHeight);
    centreOn(deviceNameEditor(), m_deviceNameTitleLabel, 203, 198, 24);
    ntpModeTitleLabel()->setGeometry(36, m_deviceNameTitleLabel->geometry().bottom() + 1, 150, kGeneralRowHeight);
    centreOn(ntpModeButton(), m_ntpModeTitleLabel, 200, 205, 24);
    ntpServerTitleLabel();
    ntpServerTextField();
}

void QOVAOrbrinGeneralView::layoutOrbrinRows()
{
    cameraVividLabel();
    cameraVividSwitch();
    cameraVividStatusLabel();
    saveButton();
}

void QOVAOrbrinGeneralView::layoutVaskoRows()
{
    QOVAButton *rule = nameRuleButton();
    rule->setGeometry(195, m_deviceNameEditor->geometry().bottom() + 1 + 10, qCeil(rule->textLength()), 16);
    ntpModeTitleLabel()->setGeometry(36, rule->geometry().bottom() + 1 + 16, 150, kGeneralRowHeight);
    centreOn(ntpModeButton(), m_ntpModeTitleLabel, 200, 205, 24);
    saveButton();
}

void QOVAOrbrinGeneralView::relayoutForMode()
{
    const bool manual = !isAutoSelected();
    m_ntpServerTitleLabel->setGeometry(36, m_ntpModeTitleLabel->geometry().bottom() + 1, 150, kGeneralRowHeight);
    centreOn(m_ntpServerTextField, m_ntpServerTitleLabel, 202, 200, 24);
    // The row under the mode row follows the server row while it shows.
    const QWidget *above = manual ? static_cast<QWidget *>(m_ntpServerTitleLabel) : m_ntpModeTitleLabel;
    if (isOrbrin()) {
        m_cameraVividLabel->setGeometry(36, above->geometry().bottom() + 1, 150, kGeneralRowHeight);
        centreOn(m_cameraVividSwitch, m_cameraVividLabel, 200, 38, 18);
        centreLabelOn(m_cameraVividStatusLabel, m_cameraVividLabel, m_cameraVividSwitch->geometry().right() + 1 + 8);
        m_saveButton->setGeometry(36, m_cameraVividLabel->geometry().bottom() + 1 + 24, 88, 24);
    } else if (isVasko()) {
        m_saveButton->setGeometry(36, above->geometry().bottom() + 1 + 24, 88, 24);
    }
    m_ntpServerTitleLabel->setVisible(manual);
    m_ntpServerTextField->setVisible(manual);
}

// ----------------------------------------------------------------- behaviour

bool QOVAOrbrinGeneralView::isAutoSelected() const
{
    return m_ntpModeButton->titleOfSelectedItem() == qtTrId("STRING_AUTO");
}

void QOVAOrbrinGeneralView::handleDisplayViewEvent()
{
    if (QOVAGeneraDelegate *d = m_delegate.get())
        d->getGeneralInformation();
}

void QOVAOrbrinGeneralView::checkButtonStatus()
{
    const QString title = m_ntpModeButton->titleOfSelectedItem();
    QOVA_LOG(INFO, UI, "The ntpModeButton selected title is %s", qUtf8Printable(title));
    if (!m_saveButton)
        return;
    const bool hasName = !m_deviceNameEditor->stringValue().isEmpty();
    if (!m_readFromDevice)
        m_saveButton->setDisabled(true);
    else if (title == qtTrId("STRING_AUTO"))
        m_saveButton->setDisabled(!hasName);
    else if (title == qtTrId("STRING_MANUAL"))
        m_saveButton->setDisabled(!(hasName && !m_ntpServerTextField->stringValue().isEmpty()));
}

void QOVAOrbrinGeneralView::generalInformationUnavailable()
{
    m_readFromDevice = false;
    if (m_saveButton)
        m_saveButton->setDisabled(true);
}

void QOVAOrbrinGeneralView::controlTextDidChange()
{
    checkButtonStatus();
}

void QOVAOrbrinGeneralView::clickSaveButton()
{
    const bool automatic = isAutoSelected();
    const QString mode = automatic ? QStringLiteral("auto") : QStringLiteral("manual");
    const QString server = automatic ? QString() : m_ntpServerTextField->stringValue();
    QOVAGeneraDelegate *d = m_delegate.get();
    if (!d)
        return;
    if (isOrbrin())
        d->setGeneralInformationwitDeviceName(m_deviceNameEditor->stringValue(), m_countryRegion, mode, server,
                                              m_cameraVividSwitch->checked());
    else if (isVasko())
        d->setGeneralInformationwitDeviceName(m_deviceNameEditor->stringValue(), m_countryRegion, mode, server);
}

void QOVAOrbrinGeneralView::handlePopBtn()
{
    qInfo("%s", qUtf8Printable(m_ntpModeButton->titleOfSelectedItem()));
    relayoutForMode();
    checkButtonStatus();
}

void QOVAOrbrinGeneralView::switchCameraVividMode()
{
    QOVA_LOG(INFO, UI, "switchCameraVividMode!");
    m_cameraVividStatusLabel->setStringValue(onOff(m_cameraVividSwitch->checked()));
    centreLabelOn(m_cameraVividStatusLabel, m_cameraVividLabel, m_cameraVividSwitch->geometry().right() + 1 + 8);
    checkButtonStatus();
}

void QOVAOrbrinGeneralView::checkNameRules()
{
    // Each press makes a new window; the previous one goes.
    if (m_nameRuleWindow)
        m_nameRuleWindow->deleteLater();
    auto *window = new QOVANameRuleWindow(420, 210);
    m_nameRuleWindow = window;
    window->show();
}

std::optional<QString> QOVAOrbrinGeneralView::percentDecoded(const QString &text)
{
    const QByteArray in = text.toUtf8();
    QByteArray out;
    out.reserve(in.size());
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            out.append(in[i]);
            continue;
        }
        if (i + 2 >= in.size())
            return std::nullopt;
        const int hi = hex(in[i + 1]);
        const int lo = hex(in[i + 2]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out.append(char(hi * 16 + lo));
        i += 2;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString decoded = decoder.decode(out);
    if (decoder.hasError())
        return std::nullopt;
    return decoded;
}

void QOVAOrbrinGeneralView::updateGeneralInformation(const QString &countryRegion, const QString &deviceName,
                                                     const QString &ntpMode, const QString &ntpServer,
                                                     bool cameraVividMode)
{
    m_readFromDevice = true;
    m_countryRegion = countryRegion;
    m_deviceNameEditor->setStringValue(deviceName);
    const std::optional<QString> server = percentDecoded(ntpServer);
    const QString mode = ntpMode.isEmpty() ? ntpMode : ntpMode.left(1).toUpper() + ntpMode.mid(1).toLower();
    if (mode.isEmpty() || mode == QLatin1String("Auto")) {
        m_ntpModeButton->selectItemWithTitle(qtTrId("STRING_AUTO"));
    } else if (mode == QLatin1String("Manual")) {
        m_ntpModeButton->selectItemWithTitle(qtTrId("STRING_MANUAL"));
        m_ntpServerTextField->setStringValue(server.value_or(QString()));
    } else {
        QOVA_LOG(ERROR, UI, "NTP Server Mode %s is unknown, this is Orbrin BUG!", qUtf8Printable(mode));
    }
    if (isOrbrin()) {
        m_cameraVividSwitch->setChecked(cameraVividMode);
        m_cameraVividStatusLabel->setStringValue(onOff(cameraVividMode));
    }
    handlePopBtn();
    if (m_saveButton)
        m_saveButton->setDisabled(true);
}
