// The set-up country page (the fixed list of names, the pick and Next) and
// the device name page of both families.

#include "SetupTestSupport.h"

#include "QOVAHalvexCountryView.h"
#include "QOVAHalvexDeviceNameView.h"
#include "QOVAHalvexPageControlView.h"
#include "QOVAHalvexPageIndicatorView.h"
#include "QOVANameRuleWindow.h"

#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVATextField.h"

#include <QFile>
#include <QHeaderView>
#include <QTableView>

using namespace setuptest;

namespace {

struct CountryRecorder : QOVAHalvexCountryViewDelegate {
    QStringList confirmed;
    void confirmSelectedCountry(const QString &country) override { confirmed << country; }
};

struct NameRecorder : QOVAHalvexDeviceNameViewDelegate {
    QStringList names;
    void changeDeviceName(const QString &name) override { names << name; }
};

void clickRow(QTableView *table, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    table->scrollTo(table->model()->index(row, 0));
    const QRect rect = table->visualRect(table->model()->index(row, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, rect.center());
}

} // namespace

TEST(SetupCountry, TheListIsTheFixedListOfNamesByteForByte)
{
    QFile fixture(QStringLiteral(ORVALINDE_SOURCE_DIR "/tests/setup/fixtures/countries.txt"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    const QByteArray expected = fixture.readAll();
    const QStringList &list = QOVAHalvexCountryView::countryList();
    EXPECT_EQ((list.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(), expected);
    ASSERT_EQ(list.size(), 256);
    const std::pair<int, const char *> spots[] = {
        {0, "Afghanistan"}, {32, "British Virgin Islands"}, {33, "British Indian Ocean Territory"},
        {66, "Easter Island"}, {67, "East Timor"}, {97, "Guinea"}, {98, "Guernsey"},
        {112, "Inmarsat (SNAC)"}, {148, "Man, Isle of"}, {170, "Netherlands Antillies"}, {255, "Zimbabwe"}};
    for (const auto &[row, name] : spots)
        EXPECT_EQ(list.at(row), QString::fromUtf8(name)) << row;

    installTexts();
    QOVAHalvexCountryView page;
    EXPECT_EQ(page.countryTableView()->model()->rowCount(), 256);
    EXPECT_EQ(page.countryTableView()->model()->index(14, 0).data().toString(),
              QStringLiteral("Australian Ext. Territories"));
}

TEST(SetupCountry, NextWaitsForAPickAndSendsTheListedName)
{
    PageHost host;
    auto *page = new QOVAHalvexCountryView(&host);
    CountryRecorder wizard;
    page->setOobCountryViewDelegate(&wizard);
    host.showAndActivate();
    EXPECT_TRUE(page->pageControlView()->isHidden());
    EXPECT_EQ(page->pageIndicatorView()->currentStep(), 0);
    EXPECT_EQ(page->countryTableView()->geometry(), QRect(270, 544 - 193 - 224, 280, 224));
    EXPECT_EQ(page->countryTableView()->rowHeight(0), 15);
    EXPECT_EQ(page->nextButton()->geometry(), QRect(270, 387, 280, 24));
    EXPECT_TRUE(page->nextButton()->disabled());
    saveShot(&host, QStringLiteral("setup_country"));

    clickRow(page->countryTableView(), 148);
    EXPECT_FALSE(page->nextButton()->disabled());
    click(page->nextButton());
    clickRow(page->countryTableView(), 112);
    click(page->nextButton());
    click(page->nextButton());   // each click sends again
    EXPECT_EQ(wizard.confirmed, QStringList({"Man, Isle of", "Inmarsat (SNAC)", "Inmarsat (SNAC)"}));
    saveShot(&host, QStringLiteral("setup_country_picked"));
}

TEST(SetupCountry, APickCannotBeTakenBack)
{
    PageHost host;
    auto *page = new QOVAHalvexCountryView(&host);
    CountryRecorder wizard;
    page->setOobCountryViewDelegate(&wizard);
    host.showAndActivate();
    QTableView *table = page->countryTableView();
    clickRow(table, 97);
    // A modifier click on the chosen row, and a selection cleared from
    // outside, leave the choice as it was.
    clickRow(table, 97, Qt::ControlModifier);
    EXPECT_EQ(table->selectionModel()->selectedRows().size(), 1);
    table->clearSelection();
    EXPECT_EQ(page->selectedCountry(), QStringLiteral("Guinea"));
    EXPECT_FALSE(page->nextButton()->disabled());
    click(page->nextButton());
    EXPECT_EQ(wizard.confirmed, QStringList({"Guinea"}));
}

TEST(SetupDeviceName, EachFamilyGetsItsFieldAndTheCameraItsNameRules)
{
    struct Case {
        const char *productId;
        bool ruleButton;
    };
    for (const Case c : {Case{"6e17", false}, Case{"6e12", true}}) {
        SCOPED_TRACE(c.productId);
        PageHost host;
        auto *page = new QOVAHalvexDeviceNameView(&host);
        auto item = std::make_shared<QOVADeviceListItem>();
        item->productId = QString::fromLatin1(c.productId);
        item->productDeviceName = QStringLiteral("Meeting Room 4");
        page->setSettingsModel(item);
        host.showAndActivate();
        EXPECT_EQ(page->userNameTextField()->stringValue(), QStringLiteral("Zentaro Halvex"));
        EXPECT_EQ(page->userNameTextField()->geometry(),
                  QRect(260, page->userNameLabel()->geometry().bottom() + 1 + 5, 280, 20));
        EXPECT_EQ(page->pageIndicatorView()->currentStep(), 1);
        EXPECT_TRUE(page->pageControlView()->isVisible());
        ASSERT_EQ(page->nameRuleButton() != nullptr, c.ruleButton);
        saveShot(&host, QStringLiteral("setup_device_name_%1").arg(QString::fromLatin1(c.productId)));
        if (!c.ruleButton)
            continue;
        EXPECT_TRUE(page->nameRuleButton()->isVisible());
        EXPECT_EQ(page->nameRuleButton()->y(), page->tipLabel()->geometry().bottom() + 1 + 5);
        EXPECT_EQ(page->nameRuleButton()->x(), page->tipLabel()->x() - 5);
        click(page->nameRuleButton());
        QList<QOVANameRuleWindow *> windows;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *rule = qobject_cast<QOVANameRuleWindow *>(w); rule && rule->isVisible())
                windows << rule;
        }
        ASSERT_EQ(windows.size(), 1);
        EXPECT_EQ(windows.first()->size(), QSize(420, 210));
        windows.first()->closeWindow();
    }
}

TEST(SetupDeviceName, NextSendsTheNameAsTypedAndNothingWhenEmpty)
{
    PageHost host;
    auto *page = new QOVAHalvexDeviceNameView(&host);
    NameRecorder wizard;
    page->setDeviceNameDelegate(&wizard);
    host.showAndActivate();
    QOVATextField *field = page->userNameTextField();
    const QStringList typed = {QString(), QStringLiteral("   "), QStringLiteral(" Room-1 ")};
    for (const QString &text : typed) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
        click(page->pageControlView()->nextButton());
    }
    EXPECT_EQ(wizard.names, QStringList({"   ", " Room-1 "}));
}
