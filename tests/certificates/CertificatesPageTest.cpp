// The certificates page and its windows on the real application, against
// simulated devices that keep the installed certificates.

#include "device/DevicePageTestSupport.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVALabel.h"
#include "QOVAMaskView.h"
#include "QOVANotificationWindow.h"
#include "QOVAPopUpButton.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"
#include "certificates/QOVACertificateFilePanels.h"
#include "certificates/QOVACertificatesView.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>

using namespace devicetest;

namespace {

using Certificate = sim::SimCatalogueRequestHandler::Certificate;

QString dataFile(const char *name)
{
    return QStringLiteral(CERTIFICATES_TEST_DATA "/") + QLatin1String(name);
}

// Answers the page's file panels as the test says, on a later turn of the
// event loop, and remembers what each was asked.
class ScriptedPanels : public QOVACertificateFilePanels {
public:
    std::optional<QString> nextChoice;
    std::optional<QString> nextSave;
    QStringList lastSuffixes;
    QString lastProposedName;
    int saveCount = 0;

    void chooseFile(const QStringList &suffixes, Completion done) override
    {
        lastSuffixes = suffixes;
        QTimer::singleShot(0, [done, answer = nextChoice] { done(answer); });
    }
    void saveFile(const QString &name, const QStringList &, Completion done) override
    {
        ++saveCount;
        lastProposedName = name;
        QTimer::singleShot(0, [done, answer = nextSave] { done(answer); });
    }
};

bool certificateToastShown(const QString &text)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *toast = qobject_cast<QOVANotificationWindow *>(w); toast && toast->isVisible()) {
            for (QOVALabel *label : toast->findChildren<QOVALabel *>()) {
                if (label->stringValue() == text)
                    return true;
            }
        }
    }
    return false;
}

QStringList installedTypes(const SimHandle &handle)
{
    QStringList types;
    for (const Certificate &c : handle.state->certificates())
        types << c.type;
    return types;
}

} // namespace

class CertificatesPageTest : public DevicePageFixture {
protected:
    void SetUp() override
    {
        DevicePageFixture::SetUp();
        m_panels = std::make_shared<ScriptedPanels>();
        QOVACertificateFilePanels::setShared(m_panels);
    }
    void TearDown() override
    {
        QOVACertificateFilePanels::setShared(nullptr);
        DevicePageFixture::TearDown();
    }

    // Opens the device page and its certificates entry; returns the page
    // once it is on screen.
    QOVACertificatesView *openCertificates(const QString &serial)
    {
        if (!openDevicePage(serial))
            return nullptr;
        clickTab("STRING_ADMIN_SETTINGS");
        if (!waitUntil([&] { return entryCell("STRING_CERTIFICATES") != nullptr; }))
            return nullptr;
        clickEntry("STRING_CERTIFICATES");
        if (!waitUntil([&] { return page()->currentGetter() == QLatin1String("certificatesView"); }))
            return nullptr;
        return qobject_cast<QOVACertificatesView *>(page()->currentView());
    }

    QOVACaCell *rowOfType(QOVACertificatesView *view, const QString &shown)
    {
        for (QOVACaCell *cell : view->cells()) {
            if (cell->typeLabel()->stringValue() == shown)
                return cell;
        }
        return nullptr;
    }

    QList<QOVACertificateDetailWindow *> openDetailWindows()
    {
        QList<QOVACertificateDetailWindow *> open;
        for (auto *w : mainWindow()->findChildren<QOVACertificateDetailWindow *>()) {
            if (w->isVisible())
                open << w;
        }
        return open;
    }

    void clickButton(QOVAButton *button)
    {
        ASSERT_TRUE(button && button->isVisible());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(button->window()));
        click(button);
    }

    // Opens the install window, picks the type and file and presses Install.
    QOVAInstallCertificateWindow *installFile(QOVACertificatesView *view, const char *typeKey, const QString &path)
    {
        click(view->installButton());
        QOVAInstallCertificateWindow *window = nullptr;
        if (!waitUntil([&] { return (window = view->installCAWindow()) && window->isVisible(); }))
            return nullptr;
        window->typeButton()->selectItemWithTitle(qtTrId(typeKey));
        m_panels->nextChoice = path;
        clickButton(window->chooseButton());
        waitUntil([&] { return window->filePath() == path; });
        clickButton(window->installButton());
        return window;
    }

    // Both clicks land before either is acted on (a button acts on the
    // next turn of the event loop), so no reply can come between them.
    void clickTwiceQuickly(QWidget *first, QWidget *second)
    {
        for (QWidget *target : {first, second}) {
            QWidget *window = target->window();
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                              target->mapTo(window, target->rect().center()));
        }
        QCoreApplication::processEvents();
    }

    std::shared_ptr<ScriptedPanels> m_panels;
};

TEST_F(CertificatesPageTest, ListShowsTypesAndDeletesTheCertificateOfItsDetailWindow)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORCERT1", "1.3.0.5");
    bar.state->setCertificates({
        {"provisionClient", "Prov Issuer", "client-1", "2031-01-01", {}},
        {"wifiCaCert", "<b>Evil</b><img src=x>", "wifi-ca", "2032-02-02", {}},
        {"wifiClientCert", "Wifi Issuer", "wifi-user", "2033-03-03", {}},
        {"provisionServerCa", "Server Issuer", "server-ca", "2034-04-04", {}},
        {"somethingNew", "Other", "other", "2035-05-05", {}},
    });
    QOVACertificatesView *view = openCertificates("ORCERT1");
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return view->cells().size() == 5; }));
    shot(mainWindow(), "certificates_page");

    // Shown types and the device's texts, unchanged and uninterpreted.
    const QStringList shown = {"Provisioning,User", "Wi-Fi, CA", "Wi-Fi, User", "Provisioning,CA", ""};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(view->cells()[i]->typeLabel()->stringValue(), shown[i]) << i;
    EXPECT_EQ(view->cells()[1]->issuedByLabel()->stringValue(), QStringLiteral("<b>Evil</b><img src=x>"));

    // A type the page does not know asks nothing and offers no delete.
    click(view->cells()[4]->issuedToLabel());
    spin(30);
    EXPECT_EQ(receivedUrls(bar).filter(QStringLiteral("_detail")).size(), 0);
    EXPECT_FALSE(view->isDetailPending());

    struct Case {
        const char *shown;
        const char *detailUrl;
        const char *deviceType;
    };
    const Case cases[] = {
        {"Wi-Fi, CA", "wifi_server_detail", "wifiCaCert"},
        {"Provisioning,User", "provision_client_detail", "provisionClient"},
        {"Wi-Fi, User", "wifi_client_detail", "wifiClientCert"},
        {"Provisioning,CA", "provision_server_detail", "provisionServerCa"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.shown);
        QOVACaCell *row = rowOfType(view, QLatin1String(c.shown));
        ASSERT_TRUE(row);
        const int listReads = requestCount(bar, "cert_info");
        // Two quick clicks, the second on another row: one request, one window.
        QOVACaCell *other = view->cells().first() == row ? view->cells().last() : view->cells().first();
        // The device answers slowly (300 ms once scaled), so the second click
        // mostly lands while the first request is pending; when the reply
        // comes between the two, the open window refuses the second.
        ScopedReplyWait patient(300);
        sim::SimFaults slow;
        slow.replyDelayMs = 30000;
        bar.device->setFaults(slow);
        clickTwiceQuickly(row->issuedToLabel(), other->issuedToLabel());
        ASSERT_TRUE(waitUntil([&] { return openDetailWindows().size() == 1; }));
        bar.device->clearFaults();
        spin(30);
        EXPECT_EQ(openDetailWindows().size(), 1);
        EXPECT_EQ(requestCount(bar, c.detailUrl), 1);
        QOVACertificateDetailWindow *window = openDetailWindows().first();
        EXPECT_EQ(window->size(), QSize(420, 360));
        EXPECT_TRUE(window->detailTextView()->isReadOnly());
        EXPECT_TRUE(window->detailTextView()->toPlainText().contains(row->issuedByLabel()->stringValue()));
        if (QLatin1String(c.shown) == QLatin1String("Wi-Fi, CA"))
            shot(window, "certificate_detail");

        clickButton(window->deleteButton());
        ASSERT_TRUE(waitUntil([&] { return !installedTypes(bar).contains(QLatin1String(c.deviceType)); }));
        EXPECT_TRUE(openDetailWindows().isEmpty());
        ASSERT_TRUE(waitUntil([&] { return !rowOfType(view, QLatin1String(c.shown)); }));
        EXPECT_EQ(requestCount(bar, "cert_info"), listReads + 1);
    }
    EXPECT_EQ(installedTypes(bar), QStringList{QStringLiteral("somethingNew")});
}

TEST_F(CertificatesPageTest, VersionGatesChooseTheRequestsAndTheRows)
{
    // A camera at V1.2: only the validation row; the state comes from request 62.
    SimHandle old = plugDevice(sim::Family::Vasko, "VSCERT12", "V1.2.4");
    old.state->setCertificates({{"wifiCaCert", "I", "T", "2030", {}}});
    QOVACertificatesView *view = openCertificates("VSCERT12");
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return requestCount(old, "server_ca_validation") == 1; }));
    spin(30);
    EXPECT_EQ(requestCount(old, "cert_info"), 0);
    EXPECT_TRUE(view->validSwitch()->isVisible());
    for (QWidget *w : std::initializer_list<QWidget *>{view->createButton(), view->installButton(), view->caTableView(),
                                                       view->recordView(), view->createLabel(), view->installLabel()})
        EXPECT_FALSE(w->isVisible());
    shot(mainWindow(), "certificates_page_v12");
    // A list reply under V1.2 changes nothing.
    auto reply = std::make_shared<CertInfo>();
    reply->server_ca_validation = true;
    view->updateInstalledCertificateView(reply);
    EXPECT_FALSE(view->validSwitch()->checked());
    EXPECT_FALSE(view->infoModel());

    // At V1.3 the whole page, filled from the list.
    SimHandle cam = plugDevice(sim::Family::Vasko, "VSCERT13", "V1.3.0");
    cam.state->setCertificates({{"provisionServerCa", "I", "T", "2030", {}}});
    QOVACertificatesView *full = openCertificates("VSCERT13");
    ASSERT_TRUE(full);
    ASSERT_TRUE(waitUntil([&] { return full->cells().size() == 1 && full->cells()[0]->typeLabel()->isVisible(); }));
    EXPECT_TRUE(full->installButton()->isVisible());
    EXPECT_TRUE(full->createButton()->isVisible());
    EXPECT_EQ(requestCount(cam, "server_ca_validation"), 0);
    // At V1.3 only the provisioning types can be installed.
    click(full->installButton());
    ASSERT_TRUE(waitUntil([&] { return full->installCAWindow() && full->installCAWindow()->isVisible(); }));
    EXPECT_EQ(full->installCAWindow()->typeButton()->itemTitles(),
              (QStringList{qtTrId("STRING_CERTIFICATE_TYPE3"), qtTrId("STRING_CERTIFICATE_TYPE4")}));
    full->installCAWindow()->cancelInstall();
}

TEST_F(CertificatesPageTest, ValidationSwitchWritesAndGoesBackWhenTheDeviceRefuses)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORCERT2", "1.3.0.5");
    QOVACertificatesView *view = openCertificates("ORCERT2");
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return requestCount(bar, "cert_info") == 1 && view->infoModel(); }));
    // No records yet: one row saying so, without columns.
    ASSERT_EQ(view->cells().size(), 1);
    EXPECT_TRUE(view->cells()[0]->noneLabel()->isVisible());
    EXPECT_FALSE(view->cells()[0]->deleteButton()->isVisible());

    click(view->validSwitch());
    EXPECT_EQ(view->validReminderLabel()->stringValue(), qtTrId("STRING_ON"));
    ASSERT_TRUE(waitUntil([&] { return bar.state->serverValidation(); }));

    sim::SimFaults faults;
    faults.statusCode = 400;
    bar.device->setFaults(faults);
    click(view->validSwitch());
    ASSERT_TRUE(waitUntil([&] { return certificateToastShown(qtTrId("NOTIFICATION_TIP_SAVE_FAILED")); }));
    EXPECT_TRUE(view->validSwitch()->checked());
    EXPECT_EQ(view->validReminderLabel()->stringValue(), qtTrId("STRING_ON"));
}

TEST_F(CertificatesPageTest, SigningRequestIsCreatedOnceAndSavedWhole)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORCERT3", "1.3.0.5");
    QOVACertificatesView *view = openCertificates("ORCERT3");
    ASSERT_TRUE(view);
    click(view->createButton());
    QOVACreateCertificateWindow *window = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (window = view->creatCAWindow()) && window->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->size(), QSize(420, 360));

    // Create waits for all six fields; blanks count and are sent as typed.
    const QStringList texts = {"NO", " ", "Oslo", "Lab & Co", "QA", "bar-01"};
    for (int i = 0; i < QOVACreateCertificateWindow::FieldCount; ++i) {
        EXPECT_TRUE(window->createButton()->disabled()) << i;
        QTest::keyClicks(window->field(i), texts[i]);
    }
    EXPECT_FALSE(window->createButton()->disabled());
    shot(window, "csr_form");
    window->field(5)->clear();
    EXPECT_TRUE(window->createButton()->disabled());
    QTest::keyClicks(window->field(5), texts[5]);

    click(window->createButton());
    click(window->createButton());
    ASSERT_TRUE(waitUntil([&] { return window->isCreateSuccess(); }));
    EXPECT_EQ(requestCount(bar, "csr_info_provision"), 1);
    EXPECT_EQ(window->size(), QSize(420, 160));
    EXPECT_EQ(window->fileNameLabel()->stringValue(), QStringLiteral("client.csr"));
    shot(window, "csr_success");

    // The chosen file held something longer: it is replaced whole.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("client.csr"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(8192, 'x'));
    }
    m_panels->nextSave = path;
    clickButton(window->downloadButton());
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(waitUntil([&] { return logText().contains(QStringLiteral("Export config file successfully")); }));
    EXPECT_EQ(m_panels->lastProposedName, QStringLiteral("client.csr"));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    ASSERT_TRUE(bytes.startsWith("-----BEGIN CERTIFICATE REQUEST-----\n"));
    ASSERT_TRUE(bytes.endsWith("-----END CERTIFICATE REQUEST-----\n"));
    QByteArray body = bytes;
    body.replace("-----BEGIN CERTIFICATE REQUEST-----", "").replace("-----END CERTIFICATE REQUEST-----", "");
    body.replace("\n", "");
    const QJsonObject subject = QJsonDocument::fromJson(QByteArray::fromBase64(body)).object();
    for (int i = 0; i < QOVACreateCertificateWindow::FieldCount; ++i)
        EXPECT_EQ(subject.value(QLatin1String(QOVACreateCertificateWindow::kSubjectKeys[i])).toString(), texts[i]);

    // A cancelled save panel asks nothing; a path that cannot be written
    // tells the user.
    const int fetches = requestCount(bar, "csr_file_provision");
    click(view->createButton());
    QOVACreateCertificateWindow *second = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (second = view->creatCAWindow()) && second != window && second->isVisible(); }));
    for (int i = 0; i < QOVACreateCertificateWindow::FieldCount; ++i)
        QTest::keyClicks(second->field(i), texts[i]);
    click(second->createButton());
    ASSERT_TRUE(waitUntil([&] { return second->isCreateSuccess(); }));
    m_panels->nextSave.reset();
    clickButton(second->downloadButton());
    ASSERT_TRUE(waitUntil([&] { return m_panels->saveCount == 2; }));
    spin(30);
    EXPECT_EQ(requestCount(bar, "csr_file_provision"), fetches);

    click(view->createButton());
    QOVACreateCertificateWindow *third = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (third = view->creatCAWindow()) && third != second && third->isVisible(); }));
    for (int i = 0; i < QOVACreateCertificateWindow::FieldCount; ++i)
        QTest::keyClicks(third->field(i), texts[i]);
    click(third->createButton());
    ASSERT_TRUE(waitUntil([&] { return third->isCreateSuccess(); }));
    m_panels->nextSave = dir.filePath(QStringLiteral("missing/folder/client.csr"));
    clickButton(third->downloadButton());
    ASSERT_TRUE(waitUntil([&] { return certificateToastShown(qtTrId("NOTIFICATION_TIP_SAVE_FAILED")); }));
    EXPECT_TRUE(logText().contains(QStringLiteral("Export config file failed, reason is failed to write file to local.")));

    // The device refuses to hand the request over: told, and no file.
    click(view->createButton());
    QOVACreateCertificateWindow *fourth = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (fourth = view->creatCAWindow()) && fourth != third && fourth->isVisible(); }));
    for (int i = 0; i < QOVACreateCertificateWindow::FieldCount; ++i)
        QTest::keyClicks(fourth->field(i), texts[i]);
    click(fourth->createButton());
    ASSERT_TRUE(waitUntil([&] { return fourth->isCreateSuccess(); }));
    bar.state->failRequest("csr_file_provision", true, 500, "busy");
    const int logLines = logText().count(QStringLiteral("Download CSR Failured"));
    const QString refused = dir.filePath(QStringLiteral("refused.csr"));
    m_panels->nextSave = refused;
    ASSERT_TRUE(waitUntil([&] { return !certificateToastShown(qtTrId("NOTIFICATION_TIP_SAVE_FAILED")); }));
    clickButton(fourth->downloadButton());
    ASSERT_TRUE(waitUntil([&] { return certificateToastShown(qtTrId("NOTIFICATION_TIP_SAVE_FAILED")); }));
    EXPECT_GT(logText().count(QStringLiteral("Download CSR Failured")), logLines);
    EXPECT_FALSE(QFile::exists(refused));
}

TEST_F(CertificatesPageTest, SigningRequestRefusedShowsTheFailedView)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORCERT4", "1.3.0.5");
    QOVACertificatesView *view = openCertificates("ORCERT4");
    ASSERT_TRUE(view);
    click(view->createButton());
    QOVACreateCertificateWindow *window = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (window = view->creatCAWindow()) && window->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    for (int i = 0; i < QOVACreateCertificateWindow::FieldCount; ++i)
        QTest::keyClicks(window->field(i), QStringLiteral("x"));
    sim::SimFaults faults;
    faults.statusCode = 400;
    bar.device->setFaults(faults);
    click(window->createButton());
    ASSERT_TRUE(waitUntil([&] { return window->closeButton()->isVisible(); }));
    EXPECT_FALSE(window->isCreateSuccess());
    EXPECT_TRUE(window->failedLabel()->isVisible());
    EXPECT_EQ(window->size(), QSize(420, 160));
    shot(window, "csr_failed");
}

TEST_F(CertificatesPageTest, InstallsEachTypeAndTheProtectedClientCertificate)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORCERT5", "1.3.0.5");
    QOVACertificatesView *view = openCertificates("ORCERT5");
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return view->infoModel() != nullptr; }));

    struct Case {
        const char *typeKey;
        const char *url;
        const char *deviceType;
        const char *shown;
    };
    const Case cases[] = {
        {"STRING_CERTIFICATE_TYPE1", "wifi_ca_cert", "wifiCaCert", "Wi-Fi, CA"},
        {"STRING_CERTIFICATE_TYPE3", "provision_server_ca", "provisionServerCa", "Provisioning,CA"},
        {"STRING_CERTIFICATE_TYPE4", "provision_pem", "provisionClient", "Provisioning,User"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.url);
        QOVAInstallCertificateWindow *window = installFile(view, c.typeKey, dataFile("ca.pem"));
        ASSERT_TRUE(window);
        EXPECT_EQ(m_panels->lastSuffixes, (QStringList{"crt", "pem"}));
        ASSERT_TRUE(waitUntil([&] { return !window->isVisible(); }));
        EXPECT_EQ(requestCount(bar, c.url), 1);
        ASSERT_TRUE(waitUntil([&] { return rowOfType(view, QLatin1String(c.shown)) != nullptr; }));
        EXPECT_EQ(rowOfType(view, QLatin1String(c.shown))->issuedToLabel()->stringValue(),
                  QStringLiteral("Lab Root CA"));
        EXPECT_TRUE(installedTypes(bar).contains(QLatin1String(c.deviceType)));
    }

    // The protected client certificate: a wrong password first, then the right one.
    QOVAInstallCertificateWindow *window = installFile(view, "STRING_CERTIFICATE_TYPE2", dataFile("client.p12"));
    ASSERT_TRUE(window);
    EXPECT_EQ(m_panels->lastSuffixes, QStringList{"p12"});
    ASSERT_TRUE(waitUntil([&] { return window->isPasswordViewShown() && !window->maskView()->isVisible(); }));
    EXPECT_EQ(window->size(), QSize(420, 160));
    EXPECT_TRUE(window->nextButton()->disabled());
    shot(window, "install_password");
    QLineEdit *field = window->passwordTextfield()->securePwdTextField();
    QTest::keyClicks(field, QStringLiteral("wrong-one"));
    EXPECT_FALSE(window->nextButton()->disabled());
    clickButton(window->nextButton());
    ASSERT_TRUE(waitUntil([&] { return window->errorLabel()->isVisible(); }));
    EXPECT_EQ(window->size(), QSize(420, 180));
    EXPECT_TRUE(window->nextButton()->disabled());
    EXPECT_FALSE(installedTypes(bar).contains(QStringLiteral("wifiClientCert")));
    shot(window, "install_invalid_password");
    field->clear();
    QTest::keyClicks(field, QStringLiteral("p12-secret"));
    EXPECT_FALSE(window->nextButton()->disabled());
    clickButton(window->nextButton());
    ASSERT_TRUE(waitUntil([&] { return !window->isVisible(); }));
    EXPECT_TRUE(window->passwordTextfield()->passwordString().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return rowOfType(view, QStringLiteral("Wi-Fi, User")) != nullptr; }));
    EXPECT_EQ(rowOfType(view, QStringLiteral("Wi-Fi, User"))->issuedToLabel()->stringValue(),
              QStringLiteral("Bar Client"));
    shot(mainWindow(), "certificates_installed");

    // Neither password reaches the log.
    const QString log = logText();
    EXPECT_FALSE(log.contains(QStringLiteral("p12-secret")));
    EXPECT_FALSE(log.contains(QStringLiteral("wrong-one")));
}

TEST_F(CertificatesPageTest, InstallRefusesUnfitFilesAndEndsAStuckBusyState)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORCERT6", "1.3.0.5");
    QOVACertificatesView *view = openCertificates("ORCERT6");
    ASSERT_TRUE(view);
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.pem"));
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(QOVAInstallCertificateWindow::kMaximumFileSize + 1, 'A'));
    }
    // A file the type does not take, a file too large, and a file that
    // holds no certificate (the device refuses it).
    const std::pair<const char *, QString> refused[] = {
        {"STRING_CERTIFICATE_TYPE2", dataFile("ca.pem")},
        {"STRING_CERTIFICATE_TYPE1", big},
        {"STRING_CERTIFICATE_TYPE1", dataFile("broken.pem")},
    };
    int sent = 0;
    for (const auto &[typeKey, path] : refused) {
        SCOPED_TRACE(qPrintable(path));
        QOVAInstallCertificateWindow *window = installFile(view, typeKey, path);
        ASSERT_TRUE(window);
        ASSERT_TRUE(waitUntil([&] { return window->isFailedViewShown(); }));
        EXPECT_FALSE(window->maskView()->isVisible());
        EXPECT_TRUE(window->closeButton()->isVisible());
        EXPECT_EQ(window->size(), QSize(420, 160));
        if (path.endsWith(QLatin1String("broken.pem")))
            ++sent;
        EXPECT_EQ(requestCount(bar, "wifi_ca_cert") + requestCount(bar, "wifi_client_cert"), sent);
        clickButton(window->closeButton());
        ASSERT_TRUE(waitUntil([&] { return !window->isVisible(); }));
    }
    EXPECT_TRUE(installedTypes(bar).isEmpty());

    // Changing the type drops the chosen file.
    click(view->installButton());
    QOVAInstallCertificateWindow *window = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (window = view->installCAWindow()) && window->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->size(), QSize(420, 240));
    EXPECT_TRUE(window->installButton()->disabled());
    m_panels->nextChoice = dataFile("ca.pem");
    clickButton(window->chooseButton());
    ASSERT_TRUE(waitUntil([&] { return !window->installButton()->disabled(); }));
    shot(window, "install_window");
    window->typeButton()->selectItemWithTitle(qtTrId("STRING_CERTIFICATE_TYPE3"));
    EXPECT_TRUE(window->installButton()->disabled());
    EXPECT_TRUE(window->filePath().isEmpty());
    EXPECT_EQ(window->fileLabel()->stringValue(), qtTrId("STRING_NO_FILE_CHOSEN"));

    // A device that never answers: the busy state ends after its time limit.
    m_panels->nextChoice = dataFile("ca.pem");
    clickButton(window->chooseButton());
    ASSERT_TRUE(waitUntil([&] { return !window->installButton()->disabled(); }));
    sim::SimFaults faults;
    faults.noReply = true;
    bar.device->setFaults(faults);
    clickButton(window->installButton());
    EXPECT_TRUE(window->maskView()->isVisible());
    shot(window, "install_busy");
    ASSERT_TRUE(waitUntil([&] { return window->isFailedViewShown(); }));
    EXPECT_FALSE(window->maskView()->isVisible());
    bar.device->clearFaults();
    clickButton(window->closeButton());
    ASSERT_TRUE(waitUntil([&] { return !window->isVisible(); }));

    // An answer the device should not give ends the same way.
    const auto installedBefore = installedTypes(bar);
    const int sentBefore = requestCount(bar, "wifi_ca_cert");
    bar.state->failRequest("wifi_ca_cert", false, 500, "internal");
    window = installFile(view, "STRING_CERTIFICATE_TYPE1", dataFile("ca.pem"));
    ASSERT_TRUE(window);
    ASSERT_TRUE(waitUntil([&] { return window->isFailedViewShown(); }));
    EXPECT_FALSE(window->maskView()->isVisible());
    EXPECT_EQ(installedTypes(bar), installedBefore);
    EXPECT_EQ(requestCount(bar, "wifi_ca_cert"), sentBefore + 1);
}
