// The set-up password page: the Confirm rule, the mismatch toast, Return and
// Tab only while the page is in front, and the simple-password box.

#include "SetupTestSupport.h"

#include "QOVAHalvexPasswordView.h"

#include "QOVALabel.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"

#include <QCheckBox>

using namespace setuptest;

namespace {

struct PasswordRecorder : QOVAHalvexPasswordViewDelegate {
    QStringList changes;
    int statusAsked = 0;
    QList<bool> simple;
    void modifyOldPassword(const QString &oldPassword, const QString &newPassword) override
    {
        changes << oldPassword + QLatin1Char('>') + newPassword;
    }
    void getSimplePasswordStatus() override { ++statusAsked; }
    void enableSimplePassword(bool enable) override { simple << enable; }
};

class PasswordPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        page = new QOVAHalvexPasswordView(&host);
        page->setDelegate(&wizard);
        host.showAndActivate();
    }
    void TearDown() override { closeToasts(); }
    void type(QOVASecureTextView *field, const QString &text)
    {
        field->securePwdTextField()->selectAll();
        QTest::keyClick(field->securePwdTextField(), Qt::Key_Backspace);
        QTest::keyClicks(field->securePwdTextField(), text);
    }
    void fill(const QString &current, const QString &change, const QString &confirm)
    {
        type(page->currentTextField(), current);
        type(page->changeTextField(), change);
        type(page->confirmTextField(), confirm);
    }
    void pressReturn() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

    PageHost host;
    QOVAHalvexPasswordView *page = nullptr;
    PasswordRecorder wizard;
};

} // namespace

TEST_F(PasswordPageTest, ConfirmNeedsAllThreeFieldsAndSendsCurrentAndConfirmed)
{
    EXPECT_EQ(wizard.statusAsked, 1);
    EXPECT_TRUE(page->currentTextField()->isSelected());
    EXPECT_TRUE(page->confirmButton()->disabled());
    fill(QStringLiteral("admin"), QStringLiteral("N3w"), QString());
    EXPECT_TRUE(page->confirmButton()->disabled());
    pressReturn();
    EXPECT_TRUE(wizard.changes.isEmpty());
    EXPECT_TRUE(toasts().isEmpty());

    type(page->confirmTextField(), QStringLiteral("N3w"));
    EXPECT_FALSE(page->confirmButton()->disabled());
    saveShot(&host, QStringLiteral("setup_password"));
    click(page->confirmButton());
    pressReturn();
    EXPECT_EQ(wizard.changes, QStringList({"admin>N3w", "admin>N3w"}));

    // Once the change went through nothing of it stays in the page.
    page->clearPasswords();
    for (QOVASecureTextView *field : {page->currentTextField(), page->changeTextField(), page->confirmTextField()})
        EXPECT_TRUE(field->passwordString().isEmpty());
    EXPECT_TRUE(page->confirmButton()->disabled());
}

TEST_F(PasswordPageTest, DifferentNewAndConfirmedPasswordsShowTheToastAndSendNothing)
{
    fill(QStringLiteral("admin"), QStringLiteral("abc"), QStringLiteral("abC"));
    click(page->confirmButton());
    ASSERT_EQ(toasts().size(), 1);
    EXPECT_FALSE(toasts().first().success);
    EXPECT_EQ(toasts().first().text, qtTrId("NOTIFICATION_TIP_CONFIRM_PWD_ERROR"));
    closeToasts();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    page->confirmTextField()->selectCurrentTextView();
    pressReturn();
    EXPECT_EQ(toasts().size(), 1);
    EXPECT_TRUE(wizard.changes.isEmpty());
    EXPECT_EQ(page->confirmTextField()->passwordString(), QStringLiteral("abC"));
}

TEST_F(PasswordPageTest, ReturnAndTabDoNothingWhileThePageIsHiddenOrCovered)
{
    fill(QStringLiteral("admin"), QStringLiteral("abc"), QStringLiteral("abc"));
    // A later page stacked on top of it, as the wizard does.
    auto *later = new QWidget(&host);
    later->setGeometry(0, 0, 820, 544);
    later->show();
    page->confirmTextField()->selectCurrentTextView();
    pressReturn();
    // And hidden, with the keyboard elsewhere.
    page->hide();
    auto *field = new QOVATextField(later);
    field->show();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(wizard.changes.isEmpty());

    delete later;
    page->show();
    page->confirmTextField()->selectCurrentTextView();
    pressReturn();
    EXPECT_EQ(wizard.changes, QStringList({"admin>abc"}));
}

TEST_F(PasswordPageTest, TabCyclesTheThreeFields)
{
    const auto tab = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); };
    ASSERT_TRUE(page->currentTextField()->isSelected());
    tab();
    EXPECT_TRUE(page->changeTextField()->isSelected());
    tab();
    EXPECT_TRUE(page->confirmTextField()->isSelected());
    tab();
    EXPECT_TRUE(page->currentTextField()->isSelected());
    // Nothing of the three focused: the new-password field.
    page->setFocus();
    page->clearFocus();
    host.setFocus();
    tab();
    EXPECT_TRUE(page->changeTextField()->isSelected());
}

TEST_F(PasswordPageTest, SimplePasswordBoxFollowsTheUserAndTheDevice)
{
    EXPECT_TRUE(page->tipLabel()->isVisible());
    click(page->simpleButton());
    EXPECT_FALSE(page->tipLabel()->isVisible());
    click(page->simpleButton());
    EXPECT_TRUE(page->tipLabel()->isVisible());
    EXPECT_EQ(wizard.simple, QList<bool>({true, false}));

    page->updateOOBSimplePasswordStatus(true);
    EXPECT_TRUE(page->simpleButton()->isChecked());
    EXPECT_FALSE(page->tipLabel()->isVisible());
    page->updateOOBSimplePasswordStatus(false);
    EXPECT_FALSE(page->simpleButton()->isChecked());
    EXPECT_TRUE(page->tipLabel()->isVisible());
    EXPECT_EQ(wizard.simple.size(), 2);   // the device's answer is not sent back
}
