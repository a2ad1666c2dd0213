#include "QOVALabel.h"
#include "QOVAPasswordView.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"

#include "WidgetTestSupport.h"

#include <QApplication>
#include <QClipboard>

#include <memory>

namespace {

struct ChangeCounter : QObject, QOVASecureTextViewDelegate, QOVAPasswordViewDelegate {
    QList<QLineEdit *> secureViewChanges;
    QList<QLineEdit *> passwordViewChanges;
    void secureTextViewTextChange(QOVASecureTextView *, QLineEdit *field) override { secureViewChanges.append(field); }
    void securePasswordViewTextChange(QOVAPasswordView *, QLineEdit *field) override
    {
        passwordViewChanges.append(field);
    }
};

struct SecureViewFixture : ::testing::Test {
    TestWindow host;
    QOVASecureTextView *view = new QOVASecureTextView(&host.window);
    ChangeCounter counter;

    SecureViewFixture()
    {
        view->setGeometry(20, 20, 200, 24);
        view->setSecureDelegate(&counter);
        host.show();
        host.window.activateWindow();
    }
};

TEST_F(SecureViewFixture, FieldsLieOnTopOfEachOther)
{
    EXPECT_EQ(view->securePwdTextField()->geometry(), QRect(2, 0, 196, 24));
    EXPECT_EQ(view->pwdTextField()->geometry(), QRect(2, 0, 196, 24));
    EXPECT_TRUE(view->pwdTextField()->isHidden());
    EXPECT_EQ(view->securePwdTextField()->echoMode(), QLineEdit::Password);
}

TEST_F(SecureViewFixture, ShowAndHideKeepTheTextAndTheFocus)
{
    view->selectCurrentTextView();
    QTest::keyClicks(view->securePwdTextField(), QStringLiteral("abc"));
    EXPECT_EQ(view->passwordString(), QStringLiteral("abc"));
    EXPECT_TRUE(view->isSelected());

    view->setShowPassword(true);
    EXPECT_TRUE(view->pwdTextField()->isVisible());
    EXPECT_EQ(view->pwdTextField()->text(), QStringLiteral("abc"));
    EXPECT_EQ(QApplication::focusWidget(), view->pwdTextField());
    EXPECT_EQ(view->passwordString(), QStringLiteral("abc"));

    QTest::keyClicks(view->pwdTextField(), QStringLiteral("d"));
    EXPECT_EQ(view->passwordString(), QStringLiteral("abcd"));
    view->setShowPassword(false);
    EXPECT_TRUE(view->pwdTextField()->isHidden());
    EXPECT_EQ(view->securePwdTextField()->text(), QStringLiteral("abcd"));
    EXPECT_EQ(QApplication::focusWidget(), view->securePwdTextField());
    EXPECT_EQ(view->passwordString(), QStringLiteral("abcd"));
}

TEST_F(SecureViewFixture, ReportsEachTypedCharacterOnceAndNothingSetInCode)
{
    view->selectCurrentTextView();
    QTest::keyClicks(view->securePwdTextField(), QStringLiteral("abc"));
    ASSERT_EQ(counter.secureViewChanges.size(), 3);
    EXPECT_EQ(counter.secureViewChanges[0], view->securePwdTextField());

    view->setShowPassword(true);
    QTest::keyClick(view->pwdTextField(), Qt::Key_X);
    ASSERT_EQ(counter.secureViewChanges.size(), 4);
    EXPECT_EQ(counter.secureViewChanges[3], view->pwdTextField());
    QTest::keyClick(view->pwdTextField(), Qt::Key_Backspace);
    EXPECT_EQ(counter.secureViewChanges.size(), 5);

    view->setPasswordString(QStringLiteral("secret"));
    view->setShowPassword(false);
    EXPECT_EQ(counter.secureViewChanges.size(), 5);
    EXPECT_EQ(view->passwordString(), QStringLiteral("secret"));
}

TEST_F(SecureViewFixture, GoesOnWorkingAfterItsDelegateIsGone)
{
    auto gone = std::make_unique<ChangeCounter>();
    view->setSecureDelegate(gone.get());
    gone.reset();
    EXPECT_EQ(view->secureDelegate(), nullptr);
    view->selectCurrentTextView();
    QTest::keyClicks(view->securePwdTextField(), QStringLiteral("ok"));
    EXPECT_EQ(view->passwordString(), QStringLiteral("ok"));
}

TEST(QOVATextFieldEditing, CtrlKeysUndoCutCopyPaste)
{
    TestWindow host;
    auto *field = new QOVATextField(&host.window);
    field->setGeometry(10, 10, 200, 24);
    host.show();
    field->selectCurrentTextView();
    EXPECT_TRUE(field->isSelected());

    QTest::keyClicks(field, QStringLiteral("hello"));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("hello"));
    QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QString());
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("hellohello"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("hello"));

    field->setStringValue(QString());
    EXPECT_FALSE(field->stringValue().isNull());
}

TEST(QOVATextFieldEditing, SecureFieldKeepsItsTextOffTheClipboard)
{
    TestWindow host;
    auto *field = new QOVASecureTextField(&host.window);
    field->setGeometry(10, 10, 200, 24);
    host.show();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    field->selectCurrentTextView();
    QTest::keyClicks(field, QStringLiteral("secret"));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_EQ(field->text(), QStringLiteral("secret"));
}

TEST(QOVAPasswordViewRow, LaysOutCaptionAndFieldAndReportsChanges)
{
    TestWindow host;
    auto *row = new QOVAPasswordView(&host.window);
    row->move(10, 10);
    ChangeCounter counter;
    row->setSecureDelegate(&counter);
    host.show();

    EXPECT_EQ(row->size(), QSize(394, 21));
    EXPECT_EQ(row->passwordLabel()->geometry(), QRect(0, 2, 178, 14));
    EXPECT_EQ(row->passwordLabel()->alignment(), QOVALabel::AlignRight);
    EXPECT_EQ(row->securePwdTextField()->geometry(), QRect(194, 1, 200, 16));
    EXPECT_TRUE(row->pwdTextField()->isHidden());

    row->securePwdTextField()->setFocus();
    QTest::keyClicks(row->securePwdTextField(), QStringLiteral("pw"));
    EXPECT_EQ(counter.passwordViewChanges.size(), 2);
    EXPECT_EQ(row->passwordString(), QStringLiteral("pw"));
}

} // namespace
