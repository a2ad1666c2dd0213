// The general settings page: which rows each family gets, how a reply fills
// the page, when Save may be pressed and what it hands to the delegate.

#include "PageTestSupport.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVAPopUpButton.h"
#include "QOVATextField.h"
#include "settings/QOVAOrbrinGeneralView.h"

#include <QPointer>

using namespace settingstest;

namespace {

struct RecordingGeneraDelegate : QOVAGeneraDelegate {
    int fetches = 0;
    QStringList saves;   // "name|country|mode|server[|vivid]"
    void getGeneralInformation() override { ++fetches; }
    void setGeneralInformationwitDeviceName(const QString &name, const QString &country, const QString &mode,
                                            const QString &server, bool vivid) override
    {
        saves << QStringList{name, country, mode, server, vivid ? "1" : "0"}.join('|');
    }
    void setGeneralInformationwitDeviceName(const QString &name, const QString &country, const QString &mode,
                                            const QString &server) override
    {
        saves << QStringList{name, country, mode, server}.join('|');
    }
};

struct GeneralPage : PageHost<QOVAOrbrinGeneralView> {
    RecordingGeneraDelegate delegate;
    explicit GeneralPage(const QString &productID)
        : PageHost(productID)
    {
        page->setDelegate(&delegate);
    }
    void chooseMode(const char *key)
    {
        choosePopUpItem(page->ntpModeButton(), qtTrId(key));
    }
    bool saveEnabled() { return !page->saveButton()->disabled(); }
};

} // namespace

TEST(GeneralView, EachFamilyGetsItsOwnRows)
{
    GeneralPage orbrin(QStringLiteral("6e17"));
    EXPECT_TRUE(orbrin.page->hasCameraVividSwitch());
    EXPECT_FALSE(orbrin.page->hasNameRuleButton());
    EXPECT_TRUE(orbrin.page->hasSaveButton());
    EXPECT_FALSE(orbrin.page->ntpServerTextField()->isVisible());
    orbrin.grab(QStringLiteral("settings_general_orbrin.png"));

    GeneralPage vasko(QStringLiteral("6e12"));
    EXPECT_FALSE(vasko.page->hasCameraVividSwitch());
    EXPECT_TRUE(vasko.page->hasNameRuleButton());
    EXPECT_TRUE(vasko.page->hasSaveButton());
    vasko.grab(QStringLiteral("settings_general_vasko.png"));

    GeneralPage other(QStringLiteral("5c01"));
    EXPECT_FALSE(other.page->hasSaveButton());
    EXPECT_FALSE(other.page->hasCameraVividSwitch());
    EXPECT_FALSE(other.page->hasNameRuleButton());
}

TEST(GeneralView, ShowingThePageAsksTheDelegate)
{
    GeneralPage general(QStringLiteral("6e17"));
    general.page->handleDisplayViewEvent();
    general.page->handleDisplayViewEvent();
    EXPECT_EQ(general.delegate.fetches, 2);
}

TEST(GeneralView, ReplyModeAndServerAreShownByTheTimeServerRules)
{
    struct Case {
        const char *mode;
        const char *server;
        const char *shownMode;    // key of the selected item
        const char *shownServer;  // the server field afterwards
    };
    const Case cases[] = {
        {"", "ignored", "STRING_AUTO", "before"},
        {"auto", "x", "STRING_AUTO", "before"},
        {"MANUAL", "time%2Eexample%2Eorg", "STRING_MANUAL", "time.example.org"},
        {"manual", "pool.example.org", "STRING_MANUAL", "pool.example.org"},
        {"Manual", "100%", "STRING_MANUAL", ""},
        {"Manual", "a%zzb", "STRING_MANUAL", ""},
        {"Manual", "%C3%A9t%C3%A9", "STRING_MANUAL", "\xc3\xa9t\xc3\xa9"},
        {"hourly", "x", "STRING_MANUAL", "before"},   // unknown: the previous choice stays
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        GeneralPage general(QStringLiteral("6e17"));
        general.chooseMode("STRING_MANUAL");
        general.page->ntpServerTextField()->setStringValue(QStringLiteral("before"));
        general.page->updateGeneralInformation(QStringLiteral("DE"), QStringLiteral("Room 4"),
                                               QString::fromUtf8(c.mode), QString::fromUtf8(c.server), true);
        EXPECT_EQ(general.page->ntpModeButton()->titleOfSelectedItem(), qtTrId(c.shownMode));
        EXPECT_EQ(general.page->ntpServerTextField()->stringValue(), QString::fromUtf8(c.shownServer));
        EXPECT_EQ(general.page->ntpServerTextField()->isVisible(), QLatin1String(c.shownMode) == "STRING_MANUAL");
        // Name and vivid mode are filled whatever the mode.
        EXPECT_EQ(general.page->deviceNameEditor()->stringValue(), QStringLiteral("Room 4"));
        EXPECT_TRUE(general.page->cameraVividSwitch()->checked());
        EXPECT_EQ(general.page->countryRegion(), QStringLiteral("DE"));
    }
}

TEST(GeneralView, SaveIsDisabledAfterAnUpdateUntilTheUserEdits)
{
    GeneralPage general(QStringLiteral("6e17"));
    general.page->updateGeneralInformation(QStringLiteral("FR"), QStringLiteral("Bar"), QStringLiteral("auto"),
                                           QString(), false);
    EXPECT_FALSE(general.saveEnabled());
    click(general.page->saveButton());
    EXPECT_TRUE(general.delegate.saves.isEmpty());

    general.page->deviceNameEditor()->setFocus();
    QTest::keyClick(general.page->deviceNameEditor(), Qt::Key_End);
    QTest::keyClicks(general.page->deviceNameEditor(), QStringLiteral(" 2"));
    EXPECT_TRUE(general.saveEnabled());

    // An emptied name disables Save; spaces count as a name.
    general.page->deviceNameEditor()->selectAll();
    QTest::keyClick(general.page->deviceNameEditor(), Qt::Key_Backspace);
    EXPECT_FALSE(general.saveEnabled());
    QTest::keyClicks(general.page->deviceNameEditor(), QStringLiteral("  "));
    EXPECT_TRUE(general.saveEnabled());

    // Flipping the vivid switch is an edit too.
    general.page->updateGeneralInformation(QStringLiteral("FR"), QStringLiteral("Bar"), QStringLiteral("auto"),
                                           QString(), false);
    click(general.page->cameraVividSwitch());
    EXPECT_TRUE(general.saveEnabled());
    click(general.page->saveButton());
    EXPECT_EQ(general.delegate.saves, QStringList{QStringLiteral("Bar|FR|auto||1")});
}

// Values the device never gave are not offered for saving: Save waits for a
// read, and a failed read takes it away again until the next one fills the
// page.
TEST(GeneralView, SaveWaitsForTheDevicesValues)
{
    GeneralPage general(QStringLiteral("6e17"));
    EXPECT_FALSE(general.saveEnabled());
    general.page->deviceNameEditor()->setFocus();
    QTest::keyClicks(general.page->deviceNameEditor(), QStringLiteral(" 2"));
    click(general.page->cameraVividSwitch());
    EXPECT_FALSE(general.saveEnabled());
    click(general.page->saveButton());
    EXPECT_TRUE(general.delegate.saves.isEmpty());

    general.page->updateGeneralInformation(QStringLiteral("FR"), QStringLiteral("Bar"), QStringLiteral("auto"),
                                           QString(), false);
    QTest::keyClicks(general.page->deviceNameEditor(), QStringLiteral("!"));
    EXPECT_TRUE(general.saveEnabled());

    general.page->generalInformationUnavailable();
    EXPECT_FALSE(general.saveEnabled());
    QTest::keyClicks(general.page->deviceNameEditor(), QStringLiteral("?"));
    EXPECT_FALSE(general.saveEnabled());
}

TEST(GeneralView, ManualModeNeedsAServerAndAutoSendsNone)
{
    GeneralPage general(QStringLiteral("6e17"));
    general.page->updateGeneralInformation(QStringLiteral("US"), QStringLiteral("Bar"), QStringLiteral("manual"),
                                           QString(), false);
    general.chooseMode("STRING_AUTO");
    general.chooseMode("STRING_MANUAL");
    EXPECT_FALSE(general.saveEnabled());
    general.page->ntpServerTextField()->setFocus();
    QTest::keyClicks(general.page->ntpServerTextField(), QStringLiteral("ntp%20x.example"));
    EXPECT_TRUE(general.saveEnabled());
    click(general.page->saveButton());

    // Back to Auto: the typed server stays in the hidden field and is not sent.
    general.chooseMode("STRING_AUTO");
    EXPECT_FALSE(general.page->ntpServerTextField()->isVisible());
    EXPECT_TRUE(general.saveEnabled());
    click(general.page->saveButton());
    EXPECT_EQ(general.delegate.saves,
              (QStringList{QStringLiteral("Bar|US|manual|ntp%20x.example|0"), QStringLiteral("Bar|US|auto||0")}));
}

TEST(GeneralView, TheNetworkCameraSavesWithoutVividMode)
{
    GeneralPage general(QStringLiteral("6e12"));
    general.page->updateGeneralInformation(QStringLiteral("JP"), QStringLiteral("Cam"), QStringLiteral("Manual"),
                                           QStringLiteral("10.0.0.1"), true);
    const int saveTopManual = general.page->saveButton()->y();
    general.page->deviceNameEditor()->setFocus();
    QTest::keyClicks(general.page->deviceNameEditor(), QStringLiteral("!"));
    click(general.page->saveButton());
    EXPECT_EQ(general.delegate.saves, QStringList{QStringLiteral("Cam!|JP|manual|10.0.0.1")});
    // Save follows the server row.
    general.chooseMode("STRING_AUTO");
    EXPECT_EQ(saveTopManual - general.page->saveButton()->y(), 36);
}

TEST(GeneralView, TheNameRuleButtonOpensTheRuleWindow)
{
    GeneralPage general(QStringLiteral("6e12"));
    click(general.page->nameRuleButton());
    QPointer<QWidget> first = general.page->nameRuleWindow();
    ASSERT_TRUE(first && first->isVisible());
    EXPECT_EQ(first->size(), QSize(420, 210));
    first->grab().save(QDir::temp().filePath(QStringLiteral("settings_name_rule.png")));
    click(general.page->nameRuleButton());
    EXPECT_NE(general.page->nameRuleWindow(), first.data());
}

TEST(GeneralView, PercentDecoding)
{
    EXPECT_EQ(QOVAOrbrinGeneralView::percentDecoded(QStringLiteral("a%2eb")), QStringLiteral("a.b"));
    EXPECT_EQ(QOVAOrbrinGeneralView::percentDecoded(QString()), QString());
    EXPECT_FALSE(QOVAOrbrinGeneralView::percentDecoded(QStringLiteral("%2")).has_value());
    EXPECT_FALSE(QOVAOrbrinGeneralView::percentDecoded(QStringLiteral("%FF")).has_value());
}
