// The window base every network dialog stands on, the IPv4 rows of the
// join windows and the choose-file row.

#include "NetworkTestSupport.h"

#include "QOVAAdvancedView.h"
#include "QOVAOOBChooseFileView.h"
#include "QOVAOpenPanel.h"
#include "QOVAWifiBaseWindow.h"

#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVATextField.h"
#include "TextFit.h"

#include <QTimer>

using namespace nettest;

namespace {

class CountingAdvancedDelegate : public QOVAAdvancedViewDelegate {
public:
    int picks = 0;
    int edits = 0;
    void handlePopupButton() override { ++picks; }
    void ipTextFieldChange() override { ++edits; }
};

// A panel that answers with the next scripted answer.
class ScriptedPanel : public QOVAOpenPanel {
public:
    QList<std::optional<QString>> answers;
    int asked = 0;
    void chooseFile(Completion done) override
    {
        ++asked;
        const std::optional<QString> answer = answers.isEmpty() ? std::nullopt : answers.takeFirst();
        QTimer::singleShot(0, [done, answer] { done(answer); });
    }
};

class FormRowsTest : public NetworkFixture {};

} // namespace

TEST_F(FormRowsTest, BaseWindowIsCentredDimsThePageAndEmptiesOnClose)
{
    QOVAWifiBaseWindow window(480, 300);
    window.show();
    // 170 from the content's left edge and 150 from its bottom edge.
    EXPECT_EQ(window.geometry(), QRect(content().x() + 170, content().y() + 150, 480, 300));
    EXPECT_TRUE(pageDimmed());
    EXPECT_EQ(window.titleLabel()->stringValue(), qtTrId("STRING_FIND_JOIN_WIFI_NETWORK"));
    EXPECT_EQ(window.wifiImageView()->geometry(), QRect(24, 14, 72, 72));
    shot(QStringLiteral("wifi_base_window"));

    window.adjustToSize(400, 200);
    EXPECT_EQ(window.geometry(), QRect(content().x() + 210, content().y() + 200, 400, 200));
    window.show();
    EXPECT_EQ(window.size(), QSize(480, 300));   // show keeps the size it was made with

    // Any dialog closing lifts the mask; a closed one keeps no visible view.
    QOVAWifiBaseWindow other(QRectF(10, 10, 300, 100));
    other.show();
    other.adjustToSize(300, 100);
    EXPECT_EQ(other.geometry(), QRect(content().x() + 260, content().y() + 250, 300, 100));
    other.orderOut();
    EXPECT_FALSE(pageDimmed());
    window.orderOut();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.titleLabel()->isVisibleTo(&window));
}

TEST_F(FormRowsTest, ButtonLooks)
{
    QOVAButton button;
    QOVAWifiBaseWindow::formatButton(&button, false, true);
    EXPECT_TRUE(button.disabled());
    EXPECT_DOUBLE_EQ(button.alphaValue(), 0.5);
    EXPECT_EQ(button.textColor(), QColor(0x25, 0x25, 0x25));
    QOVAWifiBaseWindow::formatButton(&button, true, true);
    EXPECT_FALSE(button.disabled());
    EXPECT_EQ(button.backgroundColor(), QColor(0x02, 0x77, 0xbd));
    EXPECT_EQ(button.textColor(), QColor(Qt::white));
}

TEST_F(FormRowsTest, AdvancedViewShowsAddressRowsForStaticOnlyAndReportsAddressEdits)
{
    QOVAAdvancedView view;
    CountingAdvancedDelegate counter;
    view.setAdvanceDelegate(&counter);
    view.show();
    EXPECT_EQ(view.size(), QSize(395, 177));
    EXPECT_TRUE(view.isDHCP());
    EXPECT_EQ(view.dhcpButton()->itemTitles(), (QStringList{"DHCP", qtTrId("STRING_STASTICS")}));
    const QList<QOVATextField *> fields = {view.ipTextField(), view.gatewayField(), view.maskTextField(),
                                           view.dnsTextField(), view.dns2TextField()};
    for (QOVATextField *field : fields)
        EXPECT_FALSE(field->isVisible());

    pick(view.dhcpButton(), qtTrId("STRING_STASTICS"));
    EXPECT_EQ(counter.picks, 1);
    for (QOVATextField *field : fields)
        EXPECT_TRUE(field->isVisible());
    EXPECT_EQ(view.gatewayField()->y() < view.maskTextField()->y(), true);   // gateway before mask
    EXPECT_EQ(view.dns2TextField()->geometry().bottom() + 1, 177);
    shelltest::shot(&view, QStringLiteral("ipv4_subform_static"));

    type(view.ipTextField(), "999.1.1.1");
    type(view.gatewayField(), "g");
    type(view.maskTextField(), "255");
    type(view.dnsTextField(), "1");
    EXPECT_EQ(counter.edits, 10);

    pick(view.dhcpButton(), QStringLiteral("DHCP"));
    EXPECT_FALSE(view.ipTextField()->isVisible());
    EXPECT_EQ(view.ipTextField()->text(), QStringLiteral("999.1.1.1"));
    EXPECT_EQ(view.size(), QSize(395, 177));

    pick(view.dhcpButton(), qtTrId("STRING_STASTICS"));
    view.selectDHCPToAuto();
    EXPECT_FALSE(view.ipTextField()->isVisible());
    EXPECT_FALSE(view.isDHCP());   // the pick stays for the window to change
    EXPECT_EQ(counter.picks, 4);
}

TEST_F(FormRowsTest, ChooseFileRowKeepsTheChosenPath)
{
    auto panel = std::make_shared<ScriptedPanel>();
    QOVAOpenPanel::setShared(panel);
    QOVAOOBChooseFileView row(qtTrId("STRING_CA_CERTIFICATE"));
    row.resize(420, 16);
    row.show();
    EXPECT_EQ(row.fileLabel()->stringValue(), qtTrId("STRING_NO_FILE_CHOSEN"));
    EXPECT_TRUE(row.filePath().isNull());
    EXPECT_EQ(row.chooseButton()->x(), 178 + 16);
    // The title stays off the bottom border of the 16-high button.
    EXPECT_TRUE(textfit::titleClearOfEnds(row.chooseButton(), 0));

    panel->answers = {QStringLiteral("/home/a/certs/ca.pem"), std::nullopt, QStringLiteral("/tmp/other.crt")};
    click(row.chooseButton());
    ASSERT_TRUE(waitUntil([&] { return !row.filePath().isNull(); }));
    EXPECT_EQ(row.filePath(), QStringLiteral("/home/a/certs/ca.pem"));
    EXPECT_EQ(row.fileLabel()->stringValue(), QStringLiteral("ca.pem"));
    EXPECT_EQ(row.fileLabel()->x(), row.chooseButton()->geometry().right() + 1 + 5);
    shelltest::shot(&row, QStringLiteral("choose_file_row"));

    click(row.chooseButton());   // cancelled
    shelltest::spin(20);
    EXPECT_EQ(row.filePath(), QStringLiteral("/home/a/certs/ca.pem"));
    click(row.chooseButton());
    ASSERT_TRUE(waitUntil([&] { return row.fileLabel()->stringValue() == QLatin1String("other.crt"); }));
    EXPECT_EQ(row.filePath(), QStringLiteral("/tmp/other.crt"));
    EXPECT_EQ(panel->asked, 3);
    QOVAOpenPanel::setShared(nullptr);
}
