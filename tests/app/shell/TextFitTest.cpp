// Text that must show whole where the user reads it, measured by its ink in
// the font it is drawn in: one case per window or page, each built at the
// size its page gives it, over the running application's main window.

#include "ShellTestSupport.h"
#include "TextFit.h"

#include "QOVAButton.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"
#include "certificates/QOVACertificateFilePanels.h"
#include "certificates/QOVACreateCertificateWindow.h"
#include "certificates/QOVAInstallCertificateWindow.h"
#include "device/QOVAStatusWarningView.h"
#include "firmware/ui/QOVAFirmwareModel.h"
#include "firmware/ui/QOVAUpgradeSignInWindow.h"
#include "settings/QOVAPasswordSettingsView.h"

#include <QTest>
#include <QTimer>

#include <functional>

using namespace shelltest;

namespace {

// Answers every open panel with one file.
class OneFilePanel : public QOVACertificateFilePanels {
public:
    explicit OneFilePanel(QString path) : m_path(std::move(path)) {}
    void chooseFile(const QStringList &, Completion done) override
    {
        QTimer::singleShot(0, [done, path = m_path] { done(path); });
    }
    void saveFile(const QString &, const QStringList &, Completion done) override { done(std::nullopt); }

private:
    QString m_path;
};

class TextFitTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        launch();
    }
    void TearDown() override
    {
        QOVACertificateFilePanels::setShared(nullptr);
        ShellFixture::TearDown();
    }
};

// The page's visible part: a settings page is placed 211 from the window's
// left edge, so 609 of it show; its text keeps 36 from either side.
const QRectF kPageText(36, 0, 609 - 36 - 36, 544);

// A name as long as users give their rooms.
const QString kLongDeviceName = QStringLiteral("Board room on the second floor, east wing");

} // namespace

TEST_F(TextFitTest, TextShowsWholeWhereTheUserReadsIt)
{
    struct Case {
        const char *name;
        std::function<void(QWidget *&shown)> check;
    };
    const Case cases[] = {
        {"signing-request fields keep descenders and clear the left border",
         [](QWidget *&shown) {
             auto *window = new QOVACreateCertificateWindow(420, 360);
             window->show();
             shown = window;
             for (const char *key : QOVACreateCertificateWindow::kSubjectKeys) {
                 auto *field = window->findChild<QOVATextField *>(QLatin1String(key));
                 ASSERT_TRUE(field);
                 field->setText(QStringLiteral("Gjpqy gjpqy"));
                 EXPECT_TRUE(textfit::fieldShowsWhole(field, 3));
             }
         }},
        {"install: Type stays beside its pop-up, Choose File is a button, the file name is text",
         [](QWidget *&shown) {
             QOVACertificateFilePanels::setShared(std::make_shared<OneFilePanel>(QStringLiteral("/tmp/ca-bundle.pem")));
             auto *window = new QOVAInstallCertificateWindow(420, 240);
             window->show();
             shown = window;
             const QColor placeholder = window->fileLabel()->displayColor();
             QTest::mouseClick(window->chooseButton(), Qt::LeftButton);
             ASSERT_TRUE(waitUntil([&] { return !window->filePath().isEmpty(); }));
             EXPECT_TRUE(textfit::inksApart(window->typeLabel(), window->certificateLabel()));
             EXPECT_LE(std::abs(window->typeLabel()->geometry().center().y()
                                - window->typeButton()->geometry().center().y()),
                       1);
             EXPECT_TRUE(textfit::labelShowsWhole(window->typeLabel()));
             EXPECT_TRUE(textfit::labelShowsWhole(window->fileLabel(), true));
             EXPECT_NE(window->fileLabel()->displayColor(), placeholder);
             // An outline around the title: its left edge is darker than the
             // face beside it.
             const QImage button = window->chooseButton()->grab().toImage();
             const int middle = button.height() / 2;
             EXPECT_LT(QColor(button.pixel(0, middle)).lightness() + 40, QColor(button.pixel(3, middle)).lightness());
             EXPECT_TRUE(textfit::titleClearOfEnds(window->chooseButton(), 4));
         }},
        {"update sign-in prompt shows whole, wrapped above the password row",
         [](QWidget *&shown) {
             auto model = std::make_shared<QOVAFirmwareModel>();
             model->type = 1;
             model->productName = QStringLiteral("Zentaro Halvex");
             model->deviceName = kLongDeviceName;
             auto *window = new QOVAUpgradeSignInWindow(QSizeF(420, 200), model);
             window->show();
             shown = window;
             window->showNotification(qtTrId("NOTIFICATION_TIP_LOGIN_FAILED"));
             QOVALabel *tip = window->tipLabel();
             EXPECT_TRUE(textfit::labelDrawsAllText(tip));
             EXPECT_TRUE(textfit::labelShowsWhole(tip));
             EXPECT_TRUE(textfit::labelShowsWhole(window->notificationLabel()));
             EXPECT_TRUE(textfit::inksApart(tip, window->notificationLabel()));
             EXPECT_TRUE(textfit::inksApart(window->notificationLabel(), window->passwordLabel()));
             EXPECT_LE(window->passwordTextField()->geometry().bottom(), window->signInButton()->geometry().top());
             EXPECT_LE(window->signInButton()->geometry().bottom(), window->height());
         }},
        {"password rule wraps inside the page's right margin",
         [](QWidget *&shown) {
             auto *page = new QOVAPasswordSettingsView;
             page->resize(619, 544);
             page->show();
             shown = page;
             page->updateSimplePasswordStatus(false);
             ASSERT_TRUE(page->tipLabel()->isVisible());
             EXPECT_TRUE(textfit::labelInside(page->tipLabel(), page, kPageText));
             EXPECT_TRUE(textfit::labelShowsWhole(page->tipLabel()));
             EXPECT_GE(page->passwordSaveButton()->geometry().top(), page->tipLabel()->geometry().bottom());
         }},
        {"status banner's close button draws its whole cross",
         [](QWidget *&shown) {
             auto *banner = new QOVAStatusWarningView;
             banner->setObjectName(QStringLiteral("banner"));
             banner->show();
             shown = banner;
             QOVAButton *close = banner->closeButton();
             EXPECT_TRUE(textfit::imageShowsWhole(close));
             // Within the part of the page that shows.
             EXPECT_LE(close->geometry().right() + 1, 609);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QWidget *shown = nullptr;
        c.check(shown);
        if (shown) {
            shot(shown, QStringLiteral("textfit_") + QString::fromLatin1(c.name).section(QLatin1Char(' '), 0, 1)
                            .replace(QLatin1Char(' '), QLatin1Char('_')).remove(QLatin1Char(':')).remove(QLatin1Char('\'')));
            shown->close();
            delete shown;
        }
    }
}
