// The sign-in, password and system restart pages on the real application,
// and the power confirmation window, against simulated devices.

#include "SettingsAppTestSupport.h"

#include "AppDelegate.h"
#include "QOVAButton.h"
#include "QOVALabel.h"
#include "QOVAMaskView.h"
#include "QOVASecureTextView.h"
#include "certificates/QOVACertificateFilePanels.h"
#include "settings/QOVAAdminSignIn.h"
#include "settings/QOVAConfigurationView.h"
#include "settings/QOVALogView.h"
#include "settings/QOVALogWindow.h"
#include "settings/QOVAPasswordSettingsView.h"
#include "settings/QOVAPowerConfirmationWindow.h"
#include "settings/QOVASystemRestartView.h"

#include <QCheckBox>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QLineEdit>

using namespace settingsapptest;

namespace {

// The field of the pair the user types in (the hidden one shows the text).
QLineEdit *editorOf(QOVASecureTextView *view)
{
    for (QLineEdit *edit : view->findChildren<QLineEdit *>()) {
        if (edit->isVisible())
            return edit;
    }
    return nullptr;
}

void typeInto(QOVASecureTextView *view, const QString &text)
{
    QLineEdit *edit = editorOf(view);
    ASSERT_TRUE(edit);
    edit->setFocus();
    QTest::keyClicks(edit, text);
}

// Answers the file panels as the test says, on a later turn of the loop.
class AnsweringPanels : public QOVACertificateFilePanels {
public:
    std::optional<QString> nextChoice;
    std::optional<QString> nextSave;
    QString proposedName;
    QStringList suffixes;

    void chooseFile(const QStringList &s, Completion done) override
    {
        suffixes = s;
        QTimer::singleShot(0, [done, answer = nextChoice] { done(answer); });
    }
    void saveFile(const QString &name, const QStringList &, Completion done) override
    {
        proposedName = name;
        QTimer::singleShot(0, [done, answer = nextSave] { done(answer); });
    }
};

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool enabledLook(QOVAButton *button)
{
    return button->borderColor() == QColor(0x02, 0x77, 0xbd) && button->qovaButtonType() == 1;
}

} // namespace

class AdministrationPagesTest : public SettingsAppFixture {
protected:
    void SetUp() override
    {
        SettingsAppFixture::SetUp();
        panels = std::make_shared<AnsweringPanels>();
        QOVACertificateFilePanels::setShared(panels);
    }
    void TearDown() override
    {
        QOVACertificateFilePanels::setShared(nullptr);
        SettingsAppFixture::TearDown();
    }
    std::shared_ptr<AnsweringPanels> panels;
};

TEST_F(AdministrationPagesTest, ConfigurationExportedFromTheDeviceImportsBack)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORCONF", "1.3.0.5");
    ASSERT_TRUE(openDevicePage("ORCONF"));
    openAdminEntry("STRING_CONFIGURATION");
    auto *view = waitForPage<QOVAConfigurationView>("configurationView");
    ASSERT_TRUE(view);
    settledShot("configuration_page");
    QTemporaryDir dir;

    // Export: the proposed name is the product name without blanks.
    const QString exported = dir.filePath("bar.xml");
    panels->nextSave = exported;
    click(view->exportLocalFileButton());
    ASSERT_TRUE(waitUntil([&] { return logText().contains(QStringLiteral("Export config file successfully")); }));
    EXPECT_EQ(panels->proposedName, QStringLiteral("ZentaroHalvexConfig.xml"));
    const QByteArray xml = contentsOf(exported);
    ASSERT_TRUE(xml.startsWith("<?xml"));
    // The file names the device as the application shows it.
    const QString shownName = page()->model()->productDeviceName;
    EXPECT_FALSE(shownName.isEmpty());
    EXPECT_TRUE(xml.contains("<device_name>" + shownName.toUtf8() + "</device_name>")) << xml.constData();

    // A folder, or a file that is not there, sends nothing.
    for (const QString &bad : {dir.path(), dir.filePath("missing.xml")}) {
        panels->nextChoice = bad;
        toasts.texts.clear();
        click(view->importConfigFileButton());
        ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_IMPORT_CONFIG_ERROR"); })) << qPrintable(bad);
    }
    EXPECT_EQ(count(bar, "config_file", "PUT"), 0);
    EXPECT_EQ(panels->suffixes, QStringList{QStringLiteral("xml")});

    // The exported file goes back whole; the device then hands out that file.
    QByteArray edited = xml;
    edited.replace("</config>", "  <note>kept</note>\n</config>");
    QFile out(dir.filePath("edited.xml"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(edited);
    out.close();
    panels->nextChoice = out.fileName();
    click(view->importConfigFileButton());
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_IMPORT_CONFIG_SUCCESSED"); }));
    panels->nextSave = dir.filePath("again.xml");
    click(view->exportLocalFileButton());
    ASSERT_TRUE(waitUntil([&] { return contentsOf(dir.filePath("again.xml")) == edited; }));

    // A cancelled panel does nothing; a refused export is toasted.
    panels->nextSave.reset();
    click(view->exportLocalFileButton());
    bar.state->failRequest("config_file", true, 500, "busy");
    panels->nextSave = dir.filePath("refused.xml");
    click(view->exportLocalFileButton());
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_EXPORT_CONFIG_ERROR"); }));
    EXPECT_FALSE(QFile::exists(dir.filePath("refused.xml")));
    EXPECT_EQ(count(bar, "config_file", "GET"), 3);
}

TEST_F(AdministrationPagesTest, SignInFollowsTheFieldAndSendsThePasswordAsTyped)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORSIGN", "1.3.0.5");
    bar.state->setAdminPassword("   ");
    ASSERT_TRUE(openDevicePage("ORSIGN"));
    clickTab("STRING_ADMIN_SETTINGS");
    auto *signIn = waitForPage<QOVAAdminSignIn>("adminSigninView");
    ASSERT_TRUE(signIn);
    QLineEdit *edit = editorOf(signIn->passwordTextField());
    ASSERT_TRUE(edit);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_TRUE(signIn->signInButton()->disabled());
    EXPECT_GE(signIn->signInButton()->width(), 88);
    settledShot("admin_sign_in_page");

    // Return with nothing typed asks nothing.
    QTest::keyClick(edit, Qt::Key_Return);
    spin(30);
    EXPECT_EQ(requestCount(bar, "login"), 0);
    QTest::keyClicks(edit, "x");
    EXPECT_FALSE(signIn->signInButton()->disabled());
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_TRUE(signIn->signInButton()->disabled());

    // Blanks are a password like any other, sent unchanged.
    QTest::keyClicks(edit, "   ");
    click(signIn->signInButton());
    ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String("orbrinGeneralView"); }));
    ASSERT_EQ(count(bar, "login", "PUT"), 1);
    EXPECT_EQ(bodies(bar, "login").first().value("password").toString(), QStringLiteral("   "));
}

TEST_F(AdministrationPagesTest, PasswordChangeNeedsTheSameNewPasswordTwiceAndTheNextSignInUsesIt)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORPASS", "1.3.0.5");
    bar.state->setAdminPassword("admin");
    ASSERT_TRUE(openDevicePage("ORPASS"));
    clickTab("STRING_ADMIN_SETTINGS");
    ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String("adminSigninView"); }));
    signIn("admin");
    ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String("orbrinGeneralView"); }));
    openAdminEntry("STRING_PASSWORD_SETTINGS");
    auto *view = waitForPage<QOVAPasswordSettingsView>("passwordSettingsView");
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return count(bar, "simple_password", "GET") == 1; }));
    EXPECT_TRUE(editorOf(view->currentPasswordTextField())->hasFocus());
    // Not allowed: the rule shows and Save sits under it.
    ASSERT_TRUE(waitUntil([&] { return view->tipLabel()->isVisible(); }));
    EXPECT_EQ(view->passwordSaveButton()->y(), view->tipLabel()->geometry().bottom() + 1 + 24);
    settledShot("password_settings_page");

    // Save waits for all three fields; Tab walks them in a ring.
    EXPECT_TRUE(view->passwordSaveButton()->disabled());
    QLineEdit *current = editorOf(view->currentPasswordTextField());
    typeInto(view->currentPasswordTextField(), "");
    QTest::keyClick(current, Qt::Key_Tab);
    EXPECT_TRUE(view->newPasswordTextField()->isSelected());
    QTest::keyClicks(QApplication::focusWidget(), "new-1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(view->confirmPasswordTextField()->isSelected());
    QTest::keyClicks(QApplication::focusWidget(), "new-2");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(view->currentPasswordTextField()->isSelected());
    EXPECT_TRUE(view->passwordSaveButton()->disabled());
    QTest::keyClick(current, Qt::Key_Return);   // a field is empty: nothing
    spin(30);
    EXPECT_EQ(count(bar, "admin", "PUT"), 0);

    // One character apart: the mismatch toast and no request.
    QTest::keyClicks(current, "admin");
    EXPECT_FALSE(view->passwordSaveButton()->disabled());
    click(view->passwordSaveButton());
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_TIP_CONFIRM_PWD_ERROR"); }));
    spin(30);
    EXPECT_EQ(count(bar, "admin", "PUT"), 0);

    // Return in another window of the application sends nothing.
    QLineEdit *confirm = editorOf(view->confirmPasswordTextField());
    confirm->selectAll();
    QTest::keyClicks(confirm, "new-1");
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == &other; }));
    QTest::keyClick(&other, Qt::Key_Return);
    spin(30);
    EXPECT_EQ(count(bar, "admin", "PUT"), 0);
    other.close();
    mainWindow()->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == mainWindow(); }));

    // Return on the page: the change, as typed.
    confirm->setFocus();
    QTest::keyClick(confirm, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_TIP_SAVE_SUCCESSED"); }));
    EXPECT_EQ(bar.state->adminPassword(), QStringLiteral("new-1"));
    const QJsonObject sent = bodies(bar, "admin").first();
    EXPECT_EQ(sent.value("old_password").toString(), QStringLiteral("admin"));
    EXPECT_EQ(sent.value("new_password").toString(), QStringLiteral("new-1"));
    EXPECT_FALSE(logText().contains(QStringLiteral("new-1")));

    // The wrong current password: the device's reason becomes its toast.
    QLineEdit *edit = editorOf(view->currentPasswordTextField());
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "stale");
    click(view->passwordSaveButton());
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_TIP_OLD_PWD_ERROR"); }));

    // The administrator group now asks for the new password.
    clickTab("STRING_STATUS");
    clickTab("STRING_ADMIN_SETTINGS");
    ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String("adminSigninView"); }));
    signIn("admin");
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_TIP_LOGIN_FAILED"); }));
    signIn("new-1");
    ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String("orbrinGeneralView"); }));
}

TEST_F(AdministrationPagesTest, SimplePasswordBoxIsOptimisticAndGoesBackWhenRefused)
{
    SimHandle bar = plugDevice(sim::Family::Vasko, "VSPASS", "V1.3.0");
    ASSERT_TRUE(openDevicePage("VSPASS"));
    openAdminEntry("STRING_PASSWORD_SETTINGS");
    auto *view = waitForPage<QOVAPasswordSettingsView>("passwordSettingsView");
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return logText().contains(QStringLiteral("Get Simple Password Status Success!")); }));
    EXPECT_TRUE(view->tipLabel()->isVisible());

    click(view->simpleButton());
    EXPECT_TRUE(view->simpleButton()->isChecked());
    EXPECT_FALSE(view->tipLabel()->isVisible());
    ASSERT_TRUE(waitUntil([&] { return count(bar, "simple_password", "PUT") == 1; }));
    EXPECT_TRUE(bodies(bar, "simple_password").first().value("simple_password").toBool());
    // The device's answer moves Save up under the box.
    EXPECT_TRUE(waitUntil(
        [&] { return view->passwordSaveButton()->y() == view->simpleButton()->geometry().bottom() + 1 + 24; }));

    bar.state->failRequest("simple_password", false, 500, "busy");
    click(view->simpleButton());
    ASSERT_TRUE(waitUntil([&] { return count(bar, "simple_password", "PUT") == 2; }));
    // Asked off, refused: the box goes back on and the rule stays hidden.
    ASSERT_TRUE(waitUntil([&] { return view->simpleButton()->isChecked(); }));
    EXPECT_FALSE(view->tipLabel()->isVisible());
}

TEST_F(AdministrationPagesTest, RestartSendsEveryClickAndARefusalIsToasted)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORBOOT", "1.3.0.5");
    ASSERT_TRUE(openDevicePage("ORBOOT"));
    openAdminEntry("STRING_SYSTEM_RESTART");
    auto *view = waitForPage<QOVASystemRestartView>("systemRestartView");
    ASSERT_TRUE(view);
    EXPECT_GE(view->restartButton()->width(), 88);
    EXPECT_EQ(view->restartButton()->y(), view->systemRestartInfo()->geometry().bottom() + 1 + 24);
    settledShot("system_restart_page");

    bar.state->failRequest("ops", false, 400, "busy");
    click(view->restartButton());
    click(view->restartButton());
    ASSERT_TRUE(waitUntil([&] { return count(bar, "ops", "PUT") == 2; }));
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_REQUEST_REJECTED"); }));
    EXPECT_TRUE(logText().contains(QStringLiteral("Restart system.")));

    // Accepted: the device restarts, leaves the bus and comes back.
    bar.state->clearRequestFailures();
    click(view->restartButton());
    ASSERT_TRUE(waitUntil([&] { return count(bar, "ops", "PUT") == 3; }));
    EXPECT_EQ(bodies(bar, "ops").last().value("action").toString(), QStringLiteral("restart"));
    ASSERT_TRUE(waitUntil([&] { return logText().contains(QStringLiteral("Enter into deviceRemovalResult")); }));
    ASSERT_TRUE(waitUntil([&] { return tileOf("ORBOOT") != nullptr; }));
}

TEST_F(AdministrationPagesTest, PowerConfirmationWindowDimsThePageUntilClosed)
{
    SimHandle cam = plugDevice(sim::Family::Vasko, "VSPOWER");
    ASSERT_TRUE(openDevicePage("VSPOWER"));
    auto *window = new QOVAPowerConfirmationWindow(420, 198);
    window->show();
    ASSERT_TRUE(waitUntil([&] { return window->isVisible(); }));
    EXPECT_EQ(window->size(), QSize(420, 198));
    EXPECT_TRUE(page()->maskView()->isVisible());
    EXPECT_GE(window->closeButton()->width(), 67);
    EXPECT_EQ(window->closeButton()->geometry().bottom() + 1, 198 - 20);
    shot(window, "power_confirmation_window");
    click(window->closeButton());
    ASSERT_TRUE(waitUntil([&] { return !window->isVisible(); }));
    EXPECT_FALSE(page()->maskView()->isVisible());
    delete window;
}

TEST_F(AdministrationPagesTest, LogsAreSavedWhileTheCollectingWindowDimsThePage)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORLOGS", "1.3.0.5");
    ASSERT_TRUE(openDevicePage("ORLOGS"));
    clickTab("STRING_DIAGNOSTICS");
    ASSERT_TRUE(waitUntil([&] { return entryCell("STRING_LOGS") != nullptr; }));
    clickEntry("STRING_LOGS");
    auto *view = waitForPage<QOVALogView>("logView");
    ASSERT_TRUE(view);
    ASSERT_TRUE(view->coreLogDownloadButton());
    EXPECT_EQ(view->sysLogDownloadButton()->size(), QSize(88, 24));
    EXPECT_EQ(view->coreLogDownloadButton()->geometry().left(), 36);
    settledShot("log_page");
    QTemporaryDir dir;

    // A cancelled panel leaves the page as it was.
    click(view->sysLogDownloadButton());
    spin(30);
    EXPECT_FALSE(view->logWindow());
    EXPECT_TRUE(enabledLook(view->sysLogDownloadButton()));
    EXPECT_EQ(count(bar, "system_log", "GET"), 0);

    // A device that never answers: the window and the mask stay until the
    // request gives up, then the failure is toasted and the page is usable.
    sim::SimFaults silent;
    silent.noReply = true;
    bar.device->setFaults(silent);
    panels->nextSave = dir.filePath("silent.zip");
    click(view->sysLogDownloadButton());
    ASSERT_TRUE(waitUntil([&] { return view->logWindow() && view->logWindow()->isVisible(); }));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^ZentaroHalvexLog_\\d{14}\\.zip$"))
                    .match(panels->proposedName)
                    .hasMatch())
        << qPrintable(panels->proposedName);
    EXPECT_EQ(view->logWindow()->size(), QSize(420, 150));
    EXPECT_TRUE(page()->maskView()->isVisible());
    EXPECT_FALSE(enabledLook(view->sysLogDownloadButton()));
    EXPECT_FALSE(enabledLook(view->coreLogDownloadButton()));
    shot(view->logWindow(), "log_window");
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_COLLECT_LOG_ERROR"); }));
    EXPECT_FALSE(view->logWindow()->isVisible());
    EXPECT_FALSE(page()->maskView()->isVisible());
    EXPECT_TRUE(enabledLook(view->sysLogDownloadButton()));
    EXPECT_FALSE(QFile::exists(dir.filePath("silent.zip")));
    bar.device->setFaults({});

    // The log, under the name the user chose, whatever its extension.
    const QString log = dir.filePath("device log.tar");
    panels->nextSave = log;
    toasts.texts.clear();
    click(view->sysLogDownloadButton());
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_COLLECT_LOG_SUCCESSED"); }));
    EXPECT_EQ(contentsOf(log), sim::SimCatalogueRequestHandler::systemLogArchive(QStringLiteral("ORLOGS")));
    EXPECT_FALSE(view->logWindow()->isVisible());

    // Crash files: the device's bytes, or the warning when it kept none.
    const struct {
        std::optional<QByteArray> coredump;
        const char *toast;
    } crashes[] = {
        {QByteArray("core\0dump", 9), "NOTIFICATION_COLLECT_LOG_SUCCESSED"},
        {std::nullopt, "NOTIFICATION_COLLECT_LOG_WARNING"},
    };
    for (const auto &c : crashes) {
        SCOPED_TRACE(c.toast);
        bar.state->setCoredump(c.coredump);
        const QString crash = dir.filePath(QStringLiteral("crash%1.zip").arg(int(c.coredump.has_value())));
        panels->nextSave = crash;
        toasts.texts.clear();
        click(view->coreLogDownloadButton());
        ASSERT_TRUE(waitUntil([&] { return !toasts.texts.isEmpty(); }));
        EXPECT_EQ(toasts.texts, QStringList{qtTrId(c.toast)});
        EXPECT_TRUE(panels->proposedName.startsWith(QStringLiteral("ZentaroHalvexCrashFile_")));
        EXPECT_EQ(QFile::exists(crash), c.coredump.has_value());
        if (c.coredump) {
            EXPECT_EQ(contentsOf(crash), *c.coredump);
        }
        EXPECT_TRUE(enabledLook(view->coreLogDownloadButton()));
    }
    EXPECT_EQ(count(bar, "coredump_log", "GET"), 2);
}

TEST_F(AdministrationPagesTest, NetworkCameraLogPageHasNoCrashFiles)
{
    SimHandle cam = plugDevice(sim::Family::Vasko, "VSLOGS");
    ASSERT_TRUE(openDevicePage("VSLOGS"));
    clickTab("STRING_DIAGNOSTICS");
    ASSERT_TRUE(waitUntil([&] { return entryCell("STRING_LOGS") != nullptr; }));
    clickEntry("STRING_LOGS");
    auto *view = waitForPage<QOVALogView>("logView");
    ASSERT_TRUE(view);
    EXPECT_FALSE(view->coreLogDownloadButton());
    EXPECT_FALSE(view->coreDumpViewName());
    QTemporaryDir dir;
    const QString log = dir.filePath("VaskoLog.zip");
    panels->nextSave = log;
    click(view->sysLogDownloadButton());
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_COLLECT_LOG_SUCCESSED"); }));
    EXPECT_EQ(contentsOf(log), sim::SimCatalogueRequestHandler::systemLogArchive(QStringLiteral("VSLOGS")));
}
