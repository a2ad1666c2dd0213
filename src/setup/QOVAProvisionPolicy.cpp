#include "QOVAProvisionPolicy.h"

#include "models/ProvisionModel.h"

QOVAProvisionPolicy::QOVAProvisionPolicy(const QString &productID, const QString &firmwareVersion)
    : m_productID(productID)
    , m_firmwareVersion(firmwareVersion)
{
}

QString QOVAProvisionPolicy::autoTitle()
{
    return qtTrId("STRING_AUTO");
}

QString QOVAProvisionPolicy::manualTitle()
{
    return qtTrId("STRING_MANUAL");
}

QString QOVAProvisionPolicy::disableTitle()
{
    return qtTrId("STRING_DISABLE");
}

QStringList QOVAProvisionPolicy::setupModeTitles() const
{
    if (hasServerType())
        return {autoTitle(), disableTitle(), manualTitle()};
    return {disableTitle(), manualTitle()};
}

QStringList QOVAProvisionPolicy::deviceModeTitles()
{
    return {autoTitle(), manualTitle(), disableTitle()};
}

QStringList QOVAProvisionPolicy::serverTypeTitles()
{
    return {qtTrId("STRING_ZENTARO_PROVISION_SERVER"), qtTrId("STRING_HTTPS_SERVER"), qtTrId("STRING_FTPS_SERVER")};
}

QString QOVAProvisionPolicy::titleForMode(const QString &mode)
{
    if (mode == QLatin1String("Auto"))
        return autoTitle();
    if (mode == QLatin1String("Manual"))
        return manualTitle();
    if (mode == QLatin1String("Disable"))
        return disableTitle();
    return {};
}

QString QOVAProvisionPolicy::titleForServerType(const QString &type)
{
    if (type == QLatin1String("cloud"))
        return qtTrId("STRING_ZENTARO_PROVISION_SERVER");
    if (type == QLatin1String("https"))
        return qtTrId("STRING_HTTPS_SERVER");
    if (type == QLatin1String("ftps"))
        return qtTrId("STRING_FTPS_SERVER");
    return {};
}

QOVAProvisionPolicy::Mode QOVAProvisionPolicy::modeForTitle(const QString &title)
{
    if (title == disableTitle())
        return Mode::Disable;
    if (title == autoTitle())
        return Mode::Auto;
    return Mode::Manual;
}

QString QOVAProvisionPolicy::modeWord(Mode mode)
{
    switch (mode) {
    case Mode::Auto:
        return QStringLiteral("Auto");
    case Mode::Disable:
        return QStringLiteral("Disable");
    case Mode::Manual:
        break;
    }
    return QStringLiteral("Manual");
}

QOVAProvisionPolicy::ManualFill QOVAProvisionPolicy::manualFill(const ProvisionModel &model) const
{
    ManualFill fill;
    const QString type = model.provision_server_type.value_or(QString());
    fill.address = model.provision_server_url.value_or(QString());
    fill.userName = model.provision_username.value_or(QString());
    if (hasServerType()) {
        fill.serverTypeTitle = titleForServerType(type);
    } else if (type != QLatin1String("https")) {
        // Another product only knows an HTTPS server: settings made for
        // another kind of server are not offered again.
        fill.address.clear();
        fill.userName.clear();
    }
    return fill;
}

std::optional<int> QOVAProvisionPolicy::dhcpOption(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 140 || value > 207)
        return std::nullopt;
    return value;
}

bool QOVAProvisionPolicy::commitEnabled(Mode mode, const QString &address, const QString &userName,
                                        const QString &password, const QString &dhcpText) const
{
    switch (mode) {
    case Mode::Manual:
        return !address.isEmpty() && !userName.isEmpty() && !password.isEmpty();
    case Mode::Auto:
        return !hasDhcpOption() || dhcpOption(dhcpText).has_value();
    case Mode::Disable:
        break;
    }
    return true;
}

QOVAProvisionPolicy::Values QOVAProvisionPolicy::valuesToSend(const QString &modeTitle, const QString &typeTitle,
                                                              const QString &address, const QString &userName,
                                                              const QString &password,
                                                              const QString &dhcpText) const
{
    Values values;
    const Mode mode = modeForTitle(modeTitle);
    values.url = address;
    values.userName = userName;
    values.password = password;
    values.mode = modeWord(mode);
    if (mode == Mode::Manual) {
        if (!hasServerType())
            values.type = QStringLiteral("https");
        else if (typeTitle == qtTrId("STRING_FTPS_SERVER"))
            values.type = QStringLiteral("ftps");
        else if (typeTitle == qtTrId("STRING_HTTPS_SERVER"))
            values.type = QStringLiteral("https");
        else
            values.type = QStringLiteral("cloud");
    }
    if (mode == Mode::Auto && hasDhcpOption())
        values.dhcpOption = dhcpOption(dhcpText);
    return values;
}
