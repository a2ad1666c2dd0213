// The provisioning rules shared by both provisioning pages.

#include "SetupTestSupport.h"

#include "QOVAProvisionPolicy.h"

#include "models/ProvisionModel.h"

using namespace setuptest;
using ProvisionMode = QOVAProvisionPolicy::Mode;

namespace {

std::shared_ptr<ProvisionModel> reported(const char *mode, const char *type, const char *url = "srv.example",
                                          const char *user = "ops")
{
    auto model = std::make_shared<ProvisionModel>();
    if (mode)
        model->provision_mode = QString::fromLatin1(mode);
    if (type)
        model->provision_server_type = QString::fromLatin1(type);
    if (url)
        model->provision_server_url = QString::fromLatin1(url);
    if (user)
        model->provision_username = QString::fromLatin1(user);
    return model;
}

} // namespace

TEST(ProvisionPolicy, ModeListsAndGatesFollowProductAndFirmwareExactly)
{
    installTexts();
    const QString autoT = QOVAProvisionPolicy::autoTitle(), manualT = QOVAProvisionPolicy::manualTitle(),
                  disableT = QOVAProvisionPolicy::disableTitle();
    EXPECT_EQ(QOVAProvisionPolicy("6e17", "1.0").setupModeTitles(), QStringList({autoT, disableT, manualT}));
    EXPECT_EQ(QOVAProvisionPolicy("6e12", "V1.3").setupModeTitles(), QStringList({disableT, manualT}));
    EXPECT_EQ(QOVAProvisionPolicy::deviceModeTitles(), QStringList({autoT, manualT, disableT}));
    EXPECT_TRUE(QOVAProvisionPolicy("6e17", "").hasServerType());
    EXPECT_FALSE(QOVAProvisionPolicy("6E17", "").hasServerType());
    EXPECT_TRUE(QOVAProvisionPolicy("6e12", "V1.3").hasDhcpOption());
    for (const char *version : {"V1.2", "v1.3", "V1.3 ", "1.3", ""})
        EXPECT_FALSE(QOVAProvisionPolicy("6e12", version).hasDhcpOption()) << version;
    EXPECT_EQ(QOVAProvisionPolicy::modeForTitle(disableT), ProvisionMode::Disable);
    EXPECT_EQ(QOVAProvisionPolicy::modeForTitle(autoT), ProvisionMode::Auto);
    EXPECT_EQ(QOVAProvisionPolicy::modeForTitle(QStringLiteral("anything")), ProvisionMode::Manual);
}

TEST(ProvisionPolicy, ManualFillByProductAndServerType)
{
    installTexts();
    struct Case {
        const char *product;
        const char *type;
        const char *typeKey;   // title put on top of the type list, or none
        bool filled;           // address and user name taken from the device
    };
    const Case cases[] = {
        {"6e17", "ftps", "STRING_FTPS_SERVER", true},
        {"6e17", "https", "STRING_HTTPS_SERVER", true},
        {"6e17", "cloud", "STRING_ZENTARO_PROVISION_SERVER", true},
        {"6e17", "gopher", nullptr, true},
        {"6e17", nullptr, nullptr, true},
        {"6e12", "https", nullptr, true},
        {"6e12", "cloud", nullptr, false},
        {"6e12", "ftps", nullptr, false},
        {"6e12", nullptr, nullptr, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.product) + " " + (c.type ? c.type : "(none)"));
        const auto fill = QOVAProvisionPolicy(c.product, "V1.3").manualFill(*reported("Manual", c.type));
        EXPECT_EQ(fill.serverTypeTitle, c.typeKey ? qtTrId(c.typeKey) : QString());
        EXPECT_EQ(fill.address, c.filled ? QStringLiteral("srv.example") : QString());
        EXPECT_EQ(fill.userName, c.filled ? QStringLiteral("ops") : QString());
    }
    // Absent values come up empty.
    const auto fill = QOVAProvisionPolicy("6e17", "").manualFill(*reported("Manual", "https", nullptr, nullptr));
    EXPECT_TRUE(fill.address.isEmpty());
    EXPECT_TRUE(fill.userName.isEmpty());
}

TEST(ProvisionPolicy, CommitRuleNeedsCredentialsInManualAndAValidDhcpOptionInAutoOnV13)
{
    const QOVAProvisionPolicy v13("6e12", "V1.3");
    const QOVAProvisionPolicy v12("6e12", "V1.2");
    struct Case {
        ProvisionMode mode;
        const char *address, *user, *password, *dhcp;
        bool onV13, onV12;
    };
    const Case cases[] = {
        {ProvisionMode::Manual, "a", "u", "p", "160", true, true},
        {ProvisionMode::Manual, "a", "", "", "160", false, false},   // a valid hidden option does not stand in
        {ProvisionMode::Manual, "a", "u", "", "", false, false},
        {ProvisionMode::Manual, "", "u", "p", "", false, false},
        {ProvisionMode::Auto, "", "", "", "160", true, true},
        {ProvisionMode::Auto, "", "", "", "", false, true},
        {ProvisionMode::Auto, "", "", "", "15", false, true},
        {ProvisionMode::Auto, "", "", "", "139", false, true},
        {ProvisionMode::Auto, "", "", "", "140", true, true},
        {ProvisionMode::Auto, "", "", "", "207", true, true},
        {ProvisionMode::Auto, "", "", "", "208", false, true},
        {ProvisionMode::Auto, "", "", "", "1500", false, true},
        {ProvisionMode::Auto, "", "", "", "150abc", false, true},
        {ProvisionMode::Auto, "", "", "", " 150", false, true},
        {ProvisionMode::Auto, "", "", "", "-150", false, true},
        {ProvisionMode::Disable, "", "", "", "", true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.address) + "|" + c.user + "|" + c.password + "|" + c.dhcp);
        const auto q = [](const char *s) { return QString::fromLatin1(s); };
        EXPECT_EQ(v13.commitEnabled(c.mode, q(c.address), q(c.user), q(c.password), q(c.dhcp)), c.onV13);
        EXPECT_EQ(v12.commitEnabled(c.mode, q(c.address), q(c.user), q(c.password), q(c.dhcp)), c.onV12);
    }
    EXPECT_EQ(QOVAProvisionPolicy::dhcpOption(QStringLiteral("0150")), 150);
    EXPECT_EQ(QOVAProvisionPolicy::dhcpOption(QStringLiteral("99999999999999999999")), std::nullopt);
}

TEST(ProvisionPolicy, ValuesSentPerModeTypeProductAndVersion)
{
    installTexts();
    struct Case {
        const char *product, *version, *modeKey, *typeKey;
        const char *mode, *type;
        std::optional<int> dhcp;
    };
    const Case cases[] = {
        {"6e17", "1.0", "STRING_MANUAL", "STRING_FTPS_SERVER", "Manual", "ftps", std::nullopt},
        {"6e17", "1.0", "STRING_MANUAL", "STRING_HTTPS_SERVER", "Manual", "https", std::nullopt},
        {"6e17", "1.0", "STRING_MANUAL", "STRING_ZENTARO_PROVISION_SERVER", "Manual", "cloud", std::nullopt},
        {"6e12", "V1.2", "STRING_MANUAL", "STRING_FTPS_SERVER", "Manual", "https", std::nullopt},
        {"6e12", "V1.3", "STRING_AUTO", "STRING_FTPS_SERVER", "Auto", "", 151},
        {"6e12", "V1.2", "STRING_AUTO", "STRING_FTPS_SERVER", "Auto", "", std::nullopt},
        {"6e12", "V1.3", "STRING_DISABLE", "STRING_HTTPS_SERVER", "Disable", "", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.product) + " " + c.version + " " + c.modeKey + " " + c.typeKey);
        const auto v = QOVAProvisionPolicy(c.product, c.version)
                           .valuesToSend(qtTrId(c.modeKey), qtTrId(c.typeKey), QStringLiteral(" a "),
                                         QStringLiteral(" u "), QStringLiteral("p"), QStringLiteral("151"));
        EXPECT_EQ(v.mode, QString::fromLatin1(c.mode));
        EXPECT_EQ(v.type, QString::fromLatin1(c.type));
        EXPECT_EQ(v.dhcpOption, c.dhcp);
        // Hidden fields are sent as they stand.
        EXPECT_EQ(v.url, QStringLiteral(" a "));
        EXPECT_EQ(v.userName, QStringLiteral(" u "));
        EXPECT_EQ(v.password, QStringLiteral("p"));
    }
}
