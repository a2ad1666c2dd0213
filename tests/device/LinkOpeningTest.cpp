// Web links of the application when no browser can open them: Help in the
// menu, the status pages' reference links and the warning banner's link
// each say so in a failure toast that shows the address.
#include "DevicePageTestSupport.h"
#include "HyperlinkTextField.h"
#include "QOVALabel.h"
#include "QOVALinkOpener.h"
#include "QOVANotificationWindow.h"
#include "device/QOVAOrbrinStatusView.h"
#include "device/QOVAPirokStatusView.h"
#include "device/QOVAStatusWarningView.h"
#include "device/QOVAVaskoStatusView.h"

#include <QAction>
#include <QMenuBar>

using namespace devicetest;

namespace {

class LinkOpeningTest : public DevicePageFixture {
protected:
    void SetUp() override
    {
        DevicePageFixture::SetUp();
        QOVALinkOpener::setOpener([this](const QUrl &url) {
            asked.append(url);
            return browser;
        });
    }
    void TearDown() override
    {
        QOVALinkOpener::setOpener(nullptr);
        DevicePageFixture::TearDown();
    }

    // The failure toasts on screen, by their text.
    static QStringList failureToasts()
    {
        QStringList texts;
        for (QWidget *w : QApplication::allWidgets()) {
            auto *toast = qobject_cast<QOVANotificationWindow *>(w);
            if (toast && toast->isVisible() && toast->notificationType() == 1)
                texts.append(toast->contentString());
        }
        return texts;
    }

    // Takes the toasts of earlier clicks away, so each case sees its own.
    static void clearToasts()
    {
        for (QWidget *w : QApplication::allWidgets()) {
            if (auto *toast = qobject_cast<QOVANotificationWindow *>(w))
                toast->hide();
        }
    }

    // The visible label of the page shown that links somewhere.
    QOVALabel *referenceLink() const
    {
        for (QOVALabel *label : mainWindow()->findChildren<QOVALabel *>()) {
            if (label->isVisible() && !label->hyperlink().isEmpty())
                return label;
        }
        return nullptr;
    }

    void triggerHelp()
    {
        for (QAction *action : delegate()->mainWindow()->menuBar()->findChildren<QAction *>()) {
            if (action->text() == qtTrId("STRING_MENU_HELP_ITEM")) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no Help item in the menu";
    }

    void clickBannerLink()
    {
        auto *status = page() ? qobject_cast<QOVAStatusBaseView *>(page()->currentView()) : nullptr;
        ASSERT_TRUE(status);
        QOVAStatusWarningView *banner = status->warningView();
        ASSERT_TRUE(waitUntil([&] { return banner->isVisible(); }));
        const auto links = banner->tipLabel()->hyperlinkInfos();
        ASSERT_TRUE(links && !links->isEmpty()) << "the banner's text links nowhere";
        click(banner->tipLabel(), links->first().rect.center().toPoint());
    }

    QList<QUrl> asked;
    bool browser = false;
};

} // namespace

TEST_F(LinkOpeningTest, EveryLinkKindSaysWhenNoBrowserOpensItAndShowsTheAddress)
{
    enum class Kind { Help, Reference, Banner };
    struct Case {
        const char *name;
        sim::Family family;   // the device whose status page is open
        Kind kind;
        QString address;
    };
    const Case cases[] = {
        {"Help menu item", sim::Family::Orbrin, Kind::Help, AppDelegate::getAppHelpUrl().toString()},
        {"video bar reference link", sim::Family::Orbrin, Kind::Reference, QOVAOrbrinStatusView::supportAddress()},
        {"video bar warning banner", sim::Family::Orbrin, Kind::Banner, QOVAOrbrinStatusView::supportAddress()},
        {"network camera reference link", sim::Family::Vasko, Kind::Reference, QOVAVaskoStatusView::supportAddress()},
        {"small camera reference link", sim::Family::Pirok, Kind::Reference, QOVAPirokStatusView::supportAddress()},
    };
    int serial = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString sn = QStringLiteral("LINK%1").arg(++serial);
        SimHandle device = plugDevice(c.family, sn);
        if (device.state)
            device.state->setDeviceInfoField(QStringLiteral("show_alert"), QStringLiteral("true"));
        ASSERT_TRUE(openDevicePage(sn));
        asked.clear();
        clearToasts();
        switch (c.kind) {
        case Kind::Help:
            triggerHelp();
            break;
        case Kind::Reference:
            ASSERT_TRUE(waitUntil([&] { return referenceLink() != nullptr; }));
            click(referenceLink());
            break;
        case Kind::Banner:
            clickBannerLink();
            break;
        }
        EXPECT_EQ(asked, QList<QUrl>{QUrl(c.address)});
        const QString expected = QOVALinkOpener::failureText(QUrl(c.address));
        EXPECT_TRUE(expected.contains(c.address));
        EXPECT_TRUE(waitUntil([&] { return failureToasts().contains(expected); }))
            << failureToasts().join('|').toStdString();
        if (c.kind == Kind::Banner)
            shot(mainWindow(), QStringLiteral("link_without_browser"));
        unplug(sn);
    }
}

TEST_F(LinkOpeningTest, ALinkABrowserOpensShowsNoToast)
{
    browser = true;
    plugDevice(sim::Family::Orbrin, "LINKOK");
    ASSERT_TRUE(openDevicePage("LINKOK"));
    ASSERT_TRUE(waitUntil([&] { return referenceLink() != nullptr; }));
    click(referenceLink());
    triggerHelp();
    EXPECT_EQ(asked, (QList<QUrl>{QUrl(QOVAOrbrinStatusView::supportAddress()), AppDelegate::getAppHelpUrl()}));
    spin(50);
    EXPECT_TRUE(failureToasts().isEmpty());
}
