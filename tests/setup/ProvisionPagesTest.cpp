// The two provisioning pages driven on their own: the set-up step and the
// device page, each with a recording delegate.

#include "SetupTestSupport.h"

#include "QOVAHalvexPageControlView.h"
#include "QOVAHalvexPageIndicatorView.h"
#include "QOVAHalvexProvisionView.h"
#include "QOVAProvisionServerView.h"

#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"

#include "models/ProvisionModel.h"

using namespace setuptest;

namespace {

std::shared_ptr<ProvisionModel> provision(const QString &mode, const QString &type = {},
                                          const QString &url = {}, const QString &user = {},
                                          std::optional<double> dhcp = std::nullopt)
{
    auto model = std::make_shared<ProvisionModel>();
    model->provision_mode = mode;
    if (!type.isNull())
        model->provision_server_type = type;
    if (!url.isNull())
        model->provision_server_url = url;
    if (!user.isNull())
        model->provision_username = user;
    model->provision_dhcp_opt = dhcp;
    return model;
}

// Both delegates: what the pages hand on, in order.
struct ProvisionRecorder : QOVAHalvexProvisionViewDelegate, QOVAProvisionDelegate {
    bool takesDhcpOption = true;
    QStringList calls;
    int asked = 0;
    void setProvisionWithUrl(const QString &url, const QString &name, const QString &password,
                             const QString &mode, const QString &type) override
    {
        calls << QStringList{QStringLiteral("34"), url, name, password, mode, type}.join(QLatin1Char('|'));
    }
    void requestProvisionSettings() override { ++asked; }
    bool respondsToSetDHCPOptionStartup() const override { return takesDhcpOption; }
    void setDHCPOptionStartup(const QString &option) override { calls << QStringLiteral("65|") + option; }
    void requestProvision() override { ++asked; }
    void setDhcpOption(const QString &option) override { calls << QStringLiteral("65|") + option; }
};

void retype(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

void pick(QOVAPopUpButton *popUp, const QString &title)
{
    const int index = popUp->itemTitles().indexOf(title);
    ASSERT_GE(index, 0) << qPrintable(title);
    popUp->setCurrentIndex(index);
    emit popUp->activated(index);
}

QString A() { return qtTrId("STRING_AUTO"); }
QString M() { return qtTrId("STRING_MANUAL"); }
QString D() { return qtTrId("STRING_DISABLE"); }

} // namespace

TEST(SetupProvision, VideoBarShowsTheDevicesManualSettingsOnceAtTheTop)
{
    VersionScope version(QStringLiteral("1.0"));
    PageHost host;
    ProvisionRecorder wizard;
    auto *page = new QOVAHalvexProvisionView(QStringLiteral("6e17"), &host);
    page->setDelegate(&wizard);
    host.showAndActivate();
    EXPECT_EQ(wizard.asked, 1);
    EXPECT_EQ(page->pageIndicatorView()->currentStep(), 3);
    EXPECT_EQ(page->modeSelectButton()->itemTitles(), QStringList({A(), D(), M()}));
    EXPECT_TRUE(page->serverAddressTextField()->isHidden());
    EXPECT_EQ(page->dhcpStartupEditor(), nullptr);

    // Repeated answers move the device's mode to the top; nothing doubles.
    for (int i = 0; i < 2; ++i)
        page->updateProvisionUI(provision("Manual", "ftps", "prov.example", "ops"));
    EXPECT_EQ(page->modeSelectButton()->itemTitles(), QStringList({M(), A(), D()}));
    EXPECT_EQ(page->modeSelectButton()->indexOfSelectedItem(), 0);
    EXPECT_EQ(page->serverTypeSelectButton()->itemTitles().first(), qtTrId("STRING_FTPS_SERVER"));
    EXPECT_EQ(page->serverTypeSelectButton()->itemTitles().size(), 3);
    EXPECT_TRUE(page->serverTypeSelectButton()->isVisible());
    EXPECT_EQ(page->serverAddressTextField()->stringValue(), QStringLiteral("prov.example"));
    EXPECT_EQ(page->userNameTextField()->stringValue(), QStringLiteral("ops"));
    EXPECT_TRUE(page->pageControlView()->nextButton()->disabled());

    // Rows: labels at 270, 11 high; controls centred, 9 below their label.
    EXPECT_EQ(page->provisioningModeLabel()->geometry().topLeft(),
              QPoint(270, page->subTitleLabel()->geometry().bottom() + 1 + 24));
    EXPECT_EQ(page->modeSelectButton()->geometry(),
              QRect(269, page->provisioningModeLabel()->geometry().bottom() + 1 + 9, 282, 20));
    EXPECT_EQ(page->serverAddressTextField()->width(), 278);
    EXPECT_EQ(page->passwordTextField()->geometry().bottom() + 1 + 0 <= page->pageControlView()->y(), true);

    QTest::keyClicks(page->passwordTextField()->securePwdTextField(), QStringLiteral("pw"));
    EXPECT_FALSE(page->pageControlView()->nextButton()->disabled());
    saveShot(&host, QStringLiteral("setup_provision_manual_6e17"));
    click(page->pageControlView()->nextButton());
    EXPECT_EQ(wizard.calls, QStringList({"34|prov.example|ops|pw|Manual|ftps"}));
}

TEST(SetupProvision, CameraOnV13SendsTheOptionAfterTheSettingsInAuto)
{
    VersionScope version(QStringLiteral("V1.3"));
    PageHost host;
    ProvisionRecorder wizard;
    auto *page = new QOVAHalvexProvisionView(QStringLiteral("6e12"), &host);
    page->setDelegate(&wizard);
    host.showAndActivate();
    EXPECT_EQ(page->modeSelectButton()->itemTitles(), QStringList({D(), M()}));
    page->updateProvisionUI(provision("Auto"));
    EXPECT_EQ(page->modeSelectButton()->itemTitles(), QStringList({A(), D(), M()}));
    ASSERT_NE(page->dhcpStartupEditor(), nullptr);
    EXPECT_TRUE(page->dhcpStartupEditor()->isVisible());
    EXPECT_EQ(page->dhcpStartupEditor()->stringValue(), QStringLiteral("160"));
    EXPECT_EQ(page->dhcpStartupEditor()->geometry().width(), 278);
    EXPECT_EQ(page->dhcpValueRangeNote()->y(), page->dhcpStartupEditor()->geometry().bottom() + 1 + 24);
    saveShot(&host, QStringLiteral("setup_provision_auto_v13"));

    QOVAButton *next = page->pageControlView()->nextButton();
    const std::pair<const char *, bool> typed[] = {{"", false}, {"15", false}, {"150", true}, {"1500", false},
                                                   {"207", true}};
    for (const auto &[text, enabled] : typed) {
        retype(page->dhcpStartupEditor(), QString::fromLatin1(text));
        EXPECT_EQ(next->disabled(), !enabled) << text;
    }
    click(next);
    ASSERT_TRUE(waitFor([&] { return wizard.calls.size() == 2; }));
    EXPECT_EQ(wizard.calls, QStringList({"34||||Auto|", "65|207"}));

    // A wizard that takes no option gets only the settings.
    wizard.calls.clear();
    wizard.takesDhcpOption = false;
    click(next);
    QTest::qWait(5);
    EXPECT_EQ(wizard.calls, QStringList({"34||||Auto|"}));

    // Manual hides the DHCP rows together and asks for all three credentials.
    pick(page->modeSelectButton(), M());
    EXPECT_FALSE(page->dhcpStartupTitleLabel()->isVisible());
    EXPECT_FALSE(page->dhcpStartupEditor()->isVisible());
    EXPECT_FALSE(page->dhcpValueRangeNote()->isVisible());
    EXPECT_FALSE(page->serverTypeSelectButton()->isVisible());
    retype(page->serverAddressTextField(), QStringLiteral("srv"));
    EXPECT_TRUE(next->disabled());
}

TEST(SetupProvision, UnreadableSettingsShowTheDisabledModeAndTabWalksTheManualFields)
{
    VersionScope version(QStringLiteral("V1.2"));
    PageHost host;
    ProvisionRecorder wizard;
    auto *page = new QOVAHalvexProvisionView(QStringLiteral("6e12"), &host);
    page->setDelegate(&wizard);
    host.showAndActivate();
    page->updateProvisionUI(nullptr);
    page->updateProvisionUI(provision("Bogus"));
    EXPECT_EQ(page->modeSelectButton()->itemTitles(), QStringList({D(), M()}));
    EXPECT_FALSE(page->pageControlView()->nextButton()->disabled());

    // Another product reporting a non-HTTPS manual server: blank fields.
    page->updateProvisionUI(provision("Manual", "cloud", "x.example", "u"));
    EXPECT_TRUE(page->serverAddressTextField()->stringValue().isEmpty());
    EXPECT_FALSE(page->serverTypeSelectButton()->isVisible());
    page->serverAddressTextField()->selectCurrentTextView();
    const auto tab = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); };
    tab();
    EXPECT_TRUE(page->userNameTextField()->isSelected());
    tab();
    EXPECT_TRUE(page->passwordTextField()->isSelected());
    tab();
    EXPECT_TRUE(page->serverAddressTextField()->isSelected());
}

TEST(ProvisionServerPage, RepeatedVisitsKeepOneOfEachModeAndSaveWaitsForAChange)
{
    VersionScope version(QStringLiteral("V1.2"));
    PageHost host;
    ProvisionRecorder controller;
    auto *page = new QOVAProvisionServerView(QStringLiteral("6e12"), &host);
    page->setDelegate(&controller);
    host.showAndActivate();
    EXPECT_EQ(page->detailViewName()->stringValue(), qtTrId("STRING_PROVISIONING_SERVER"));
    for (int visit = 1; visit <= 2; ++visit) {
        page->handleDisplayViewEvent();
        EXPECT_EQ(controller.asked, visit);
        page->provisionModel(provision("Disable"));
        EXPECT_EQ(page->modeSelectButton()->itemTitles(), QStringList({D(), A(), M()}));
        EXPECT_TRUE(page->provisionSaveButton()->disabled());
    }
    // An unreadable answer changes nothing.
    page->provisionModel(provision("Bogus"));
    page->provisionModel(provision(QString()));
    EXPECT_EQ(page->modeSelectButton()->titleOfSelectedItem(), D());
    EXPECT_TRUE(page->provisionSaveButton()->disabled());

    // Layout: labels 150 x 36 at 36, 16 under the divider; Save under the
    // mode label in Disable.
    const QRect mode = page->provisoningModeLabel()->geometry();
    EXPECT_EQ(mode, QRect(36, page->splitLine()->geometry().bottom() + 1 + 16, 150, 36));
    EXPECT_EQ(page->modeSelectButton()->geometry().x(), 200);
    EXPECT_EQ(page->modeSelectButton()->width(), 290);
    EXPECT_EQ(page->provisionSaveButton()->geometry(), QRect(36, mode.bottom() + 1 + 24, 88, 24));

    pick(page->modeSelectButton(), M());
    EXPECT_TRUE(page->provisionSaveButton()->disabled());
    retype(page->serverAddressTextField(), QStringLiteral(" \thttps://prov.example/cfg \t"));
    retype(page->userNameTextField(), QStringLiteral(" dom\\ops "));
    QTest::keyClicks(page->passwordTextField()->securePwdTextField(), QStringLiteral("pw"));
    EXPECT_FALSE(page->provisionSaveButton()->disabled());
    EXPECT_EQ(page->provisionSaveButton()->y(), page->passwordLabel()->geometry().bottom() + 1 + 24);
    saveShot(&host, QStringLiteral("provision_server_manual_6e12"));
    click(page->provisionSaveButton());
    EXPECT_EQ(controller.calls, QStringList({"34|https://prov.example/cfg| dom\\ops |pw|Manual|https"}));
    page->clearPassword();
    EXPECT_TRUE(page->passwordTextField()->passwordString().isEmpty());
}

TEST(ProvisionServerPage, DeviceOptionIsShownAndSentAfterTheSettingsOnV13)
{
    VersionScope version(QStringLiteral("V1.3"));
    PageHost host;
    ProvisionRecorder controller;
    auto *page = new QOVAProvisionServerView(QStringLiteral("6e12"), &host);
    page->setDelegate(&controller);
    host.showAndActivate();
    page->provisionModel(provision("Auto", QString(), QString(), QString(), 150));
    ASSERT_NE(page->dhcpEditor(), nullptr);
    EXPECT_EQ(page->dhcpEditor()->stringValue(), QStringLiteral("150"));
    EXPECT_TRUE(page->dhcpEditor()->isVisible());
    EXPECT_TRUE(page->provisionSaveButton()->disabled());
    EXPECT_EQ(page->dhcpEditor()->geometry().size(), QSize(198, 24));
    EXPECT_EQ(page->dhcpTitleLabel()->y(), page->provisoningModeLabel()->geometry().bottom() + 1 + 16);
    saveShot(&host, QStringLiteral("provision_server_auto_v13"));

    pick(page->modeSelectButton(), A());
    EXPECT_FALSE(page->provisionSaveButton()->disabled());
    retype(page->dhcpEditor(), QStringLiteral("139"));
    EXPECT_TRUE(page->provisionSaveButton()->disabled());
    retype(page->dhcpEditor(), QStringLiteral("150"));
    click(page->provisionSaveButton());
    ASSERT_TRUE(waitFor([&] { return controller.calls.size() == 2; }));
    EXPECT_EQ(controller.calls, QStringList({"34||||Auto|", "65|150"}));

    // Disable hides the DHCP rows; no option is sent.
    pick(page->modeSelectButton(), D());
    EXPECT_FALSE(page->dhcpEditor()->isVisible());
    controller.calls.clear();
    click(page->provisionSaveButton());
    QTest::qWait(5);
    EXPECT_EQ(controller.calls, QStringList({"34||||Disable|"}));
}
