// The set-up page frame, the sign-in page and the completion page.

#include "SetupTestSupport.h"

#include "QOVAHalvexCompleteView.h"
#include "QOVAHalvexPageControlView.h"
#include "QOVAHalvexPageIndicatorView.h"
#include "QOVAHalvexPasswordView.h"
#include "QOVAHalvexSignInView.h"

#include "HyperlinkTextField.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"
#include "QOVAFont.h"
#include "TextFit.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFontMetricsF>
#include <QTextDocument>
#include <QUrl>

using namespace setuptest;

namespace {

struct Recorder : QOVAHalvexOOBBaseViewDelegate, QOVAHalvexSignInViewDelegate, QOVAHalvexCompleteViewDelegate {
    QStringList calls;
    void pageControlGoBack() override { calls << QStringLiteral("back"); }
    void pageControlSkip() override { calls << QStringLiteral("skip"); }
    void signInWithPassword(const QString &password) override { calls << QStringLiteral("signIn:") + password; }
    void finishOOBSetting() override { calls << QStringLiteral("finish"); }
};

// Receives what the desktop would be asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

} // namespace

TEST(SetupFrame, BarAndIndicatorStartHiddenAndBackAndSkipReachTheWizard)
{
    PageHost host;
    auto *page = new QOVAHalvexOOBBaseView(&host);
    Recorder wizard;
    host.showAndActivate();
    EXPECT_EQ(page->geometry(), QRect(0, 0, 820, 544));
    EXPECT_TRUE(page->pageControlView()->isHidden());
    EXPECT_TRUE(page->pageIndicatorView()->isHidden());
    EXPECT_EQ(page->titleLabel()->stringValue(), qtTrId("ZENTARO_HALVEX"));

    page->pageControlView()->show();
    // Without a wizard the clicks go nowhere.
    click(page->pageControlView()->previousButton());
    page->setBaseViewDelegate(&wizard);
    click(page->pageControlView()->previousButton());
    click(page->pageControlView()->skipButton());
    click(page->pageControlView()->nextButton());   // the frame has no Next of its own
    EXPECT_EQ(wizard.calls, QStringList({"back", "skip"}));

    // The bar 280 x 24, 133 above the bottom; the indicator 64 above it.
    EXPECT_EQ(page->pageControlView()->geometry(), QRect(270, 544 - 133 - 24, 280, 24));
    EXPECT_EQ(page->pageIndicatorView()->geometry().bottom() + 1, 544 - 64);
    EXPECT_EQ(page->titleLabel()->y(), 32);
}

TEST(SetupFrame, IndicatorShowsOneImagePerStepWithTheLabelsOverTheSteps)
{
    installTexts();
    QOVAHalvexPageIndicatorView indicator;
    for (int step : {0, 4}) {
        indicator.setCurrentStep(step);
        EXPECT_EQ(indicator.stepImageView()->imageName(), QStringLiteral("OOBIndicatorImage%1").arg(step + 1));
        EXPECT_TRUE(indicator.stepImageView()->hasImage());
    }
    indicator.setCurrentStep(5);   // out of range: unchanged
    EXPECT_EQ(indicator.currentStep(), 4);
    const QRect strip = indicator.stepImageView()->geometry();
    EXPECT_EQ(strip.size(), QSize(280, 16));
    QOVALabel *labels[] = {indicator.countryLabel(), indicator.deviceNameLabel(), indicator.wifiLabel(),
                           indicator.provisionLabel(), indicator.completeLabel()};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(labels[i]->geometry().center().x() + 0.5, strip.x() + 8 + 66 * i, 1.0) << i;
        EXPECT_GE(labels[i]->x(), 2);
        EXPECT_LE(labels[i]->geometry().right(), indicator.width() - 2);
    }
}

TEST(SetupSignIn, SignInNeedsAPasswordAndTheTickAndSendsOnlyThePassword)
{
    PageHost host;
    auto *page = new QOVAHalvexSignInView(&host);
    Recorder wizard;
    page->setDelegate(&wizard);
    host.showAndActivate();
    EXPECT_TRUE(page->pageControlView()->isHidden());
    EXPECT_TRUE(page->pageIndicatorView()->isHidden());
    EXPECT_EQ(page->userNameLabel()->stringValue(), QStringLiteral("   Admin"));

    struct Case {
        const char *password;
        bool ticked;
        bool enabled;
    };
    const Case cases[] = {{"", false, false}, {"", true, false}, {"x", false, false}, {"x", true, true},
                          {"secret", true, true}, {"", true, false}};
    for (const Case &c : cases) {
        if (page->agreementButton()->isChecked() != c.ticked)
            click(page->agreementButton());
        QOVATextField *field = page->passwordTextField()->securePwdTextField();
        field->selectAll();
        if (*c.password)
            QTest::keyClicks(field, QString::fromLatin1(c.password));
        else
            QTest::keyClick(field, Qt::Key_Backspace);
        EXPECT_EQ(page->signInButton()->disabled(), !c.enabled) << c.password << c.ticked;
    }
    QTest::keyClicks(page->passwordTextField()->securePwdTextField(), QStringLiteral("admin"));
    saveShot(&host, QStringLiteral("setup_sign_in"));
    click(page->signInButton());
    click(page->signInButton());   // not held back while a sign-in runs
    EXPECT_EQ(wizard.calls, QStringList({"signIn:admin", "signIn:admin"}));
    page->clearPassword();
    EXPECT_TRUE(page->passwordTextField()->passwordString().isEmpty());
    EXPECT_TRUE(page->signInButton()->disabled());
}

TEST(SetupSignIn, TheLicenceLinkOpensItsAddress)
{
    PageHost host;
    auto *page = new QOVAHalvexSignInView(&host);
    host.showAndActivate();
    UrlCatcher catcher;
    const auto infos = page->descriptionLabel()->hyperlinkInfos();
    ASSERT_TRUE(infos.has_value());
    ASSERT_EQ(infos->size(), 1);
    EXPECT_TRUE(page->descriptionLabel()->document()->toPlainText().endsWith(QOVAHalvexSignInView::licenseAddress()));
    QTest::mouseClick(page->descriptionLabel(), Qt::LeftButton, Qt::NoModifier,
                      infos->first().rect.center().toPoint());
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.first(), QUrl(QOVAHalvexSignInView::licenseAddress()));
    EXPECT_EQ(catcher.opened.first().path(), QStringLiteral("/indexes/licenses"));
}

// The set-up pages show their texts whole in the application's font: field
// titles are not cut at the top, the licence address stays on one line
// inside the notice, and a long product name as the title stays on one line
// inside the page with the whole name in its tool tip.
TEST(SetupTexts, PagesShowTheirTextsWhole)
{
    PageHost host;
    auto *signIn = new QOVAHalvexSignInView(&host);
    auto *password = new QOVAHalvexPasswordView(&host);
    for (QWidget *page : {static_cast<QWidget *>(signIn), static_cast<QWidget *>(password)}) {
        for (QOVALabel *label : page->findChildren<QOVALabel *>()) {
            if (label->isVisibleTo(page) && !label->stringValue().isEmpty()) {
                EXPECT_TRUE(textfit::labelShowsWhole(label));
            }
        }
    }

    HyperlinkTextField *notice = signIn->descriptionLabel();
    const auto infos = notice->hyperlinkInfos();
    ASSERT_TRUE(infos.has_value());
    const QString address = QOVAHalvexSignInView::licenseAddress();
    // The link's first line holds the whole address.
    EXPECT_NEAR(infos->first().rect.width(),
                QFontMetricsF(fontWithSFProDisplay(12, QOVAFontRegular)).horizontalAdvance(address), 1.0);
    EXPECT_LE(notice->document()->size().height(), notice->height() + 0.5);
    EXPECT_TRUE(notice->document()->toPlainText().endsWith(address));

    const QString name = QStringLiteral("Skarnfel Tolm USB with a product name far longer than any page is wide");
    signIn->setTitleText(name);
    QOVALabel *title = signIn->titleLabel();
    EXPECT_GE(title->x(), 0);
    EXPECT_LE(title->geometry().right(), signIn->width() - 1);
    EXPECT_TRUE(textfit::labelShowsWhole(title, true));
    EXPECT_EQ(title->toolTip(), name);
    // A title that fits has no tool tip, as before.
    signIn->setTitleText(QStringLiteral("Skarnfel Tolm USB"));
    EXPECT_TRUE(signIn->titleLabel()->toolTip().isEmpty());
}

TEST(SetupComplete, FinishAndBackButNoSkipOnTheLastStep)
{
    PageHost host;
    auto *page = new QOVAHalvexCompleteView(&host);
    host.showAndActivate();
    EXPECT_TRUE(page->pageControlView()->isVisible());
    EXPECT_FALSE(page->pageControlView()->skipButton()->isVisible());
    EXPECT_EQ(page->pageControlView()->nextButton()->textString(), qtTrId("BUTTON_ITEM_FINISH"));
    EXPECT_EQ(page->pageIndicatorView()->stepImageView()->imageName(), QStringLiteral("OOBIndicatorImage5"));
    EXPECT_EQ(page->finishImageView()->size(), QSize(76, 76));
    EXPECT_EQ(page->finishImageView()->y(), page->subTitleLabel()->geometry().bottom() + 1 + 52);
    EXPECT_EQ(page->finishTipLabel()->width(), 280);
    saveShot(&host, QStringLiteral("setup_complete"));

    click(page->pageControlView()->nextButton());   // no delegate: nothing
    Recorder wizard;
    page->setDelegate(&wizard);
    page->setBaseViewDelegate(&wizard);
    click(page->pageControlView()->nextButton());
    click(page->pageControlView()->previousButton());
    EXPECT_EQ(wizard.calls, QStringList({"finish", "back"}));
}

#include "FramePagesTest.moc"
