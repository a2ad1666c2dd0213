// The conferencing-client check at launch, its warning window and the two
// choices, with a fake workspace.

#include "ShellTestSupport.h"

#include "QOVAIOManager.h"
#include "QOVANotificationCenter.h"
#include "sfb/QOVASFBStereoFile.h"
#include "sfb/QOVASFBWindow.h"

#include "QOVAButton.h"
#include "QOVALabel.h"

#include <QFile>
#include <QTest>

using namespace shelltest;

namespace {

class SFBWindowTest : public ShellFixture {
protected:
    QRect content() const { return AppDelegate::mainContentScreenRect(); }
    void clientRunning(int instances)
    {
        workspace()->identifier = QStringLiteral("/usr/bin/skypeforbusiness");
        for (int i = 0; i < instances; ++i)
            workspace()->running.append({4000 + i, workspace()->identifier});
    }
};

} // namespace

TEST_F(SFBWindowTest, NoWindowWhenTheClientIsMissingOrNotRunning)
{
    launch();
    EXPECT_FALSE(delegate()->sfbWindow());
    clientRunning(0);
    delegate()->checkSFBOpen();
    EXPECT_FALSE(delegate()->sfbWindow());
    EXPECT_TRUE(delegate()->runningApp().isEmpty());
}

TEST_F(SFBWindowTest, WarningIsCentredAboveThePageWithoutMask)
{
    clientRunning(1);
    launch();
    QOVASFBWindow *window = delegate()->sfbWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->parentWidget(), delegate()->mainWindow());
    EXPECT_EQ(window->geometry(), QRect(content().x() + 200, content().y() + 160, 420, 280));
    EXPECT_FALSE(delegate()->currentController()->maskView()->isVisible());
    EXPECT_EQ(window->closeButton1()->tag(), 101);
    EXPECT_EQ(window->closeButton2()->tag(), 100);
    EXPECT_GE(window->closeButton1()->width(), 296);
    EXPECT_EQ(window->informationLabel()->geometry().left(), 37);
    EXPECT_GE(window->informationLabel()->height(), 40);
    EXPECT_GE(window->informationLabel2()->height(), 48);
    EXPECT_EQ(window->closeButton2()->geometry().top(), window->closeButton1()->geometry().bottom() + 1 + 13);
    EXPECT_LE(window->closeButton2()->geometry().bottom(), window->height());
    shot(window, QStringLiteral("sfb_window"));
}

TEST_F(SFBWindowTest, LongTextsMakeTheWindowTallerByTheirOverflow)
{
    launch();
    auto *window = new QOVASFBWindow(420, 280);
    const QString longText = QStringLiteral("This paragraph runs on and on so that it needs many lines. ").repeated(6);
    window->informationLabel()->setStringValue(longText);
    window->informationLabel2()->setStringValue(longText + longText);
    const double h1 = QOVASFBWindow::caculateStringHeight(longText);
    const double h2 = QOVASFBWindow::caculateStringHeight(longText + longText);
    ASSERT_GT(h1, 40);
    ASSERT_GT(h2, h1);
    window->show();
    const int expected = int(std::ceil(280 + (h1 - 40) + (h2 - 48)));
    EXPECT_EQ(window->height(), expected);
    // It grows upwards from the centred base position.
    EXPECT_EQ(window->geometry().bottom() + 1, content().y() + 160 + 280);
    EXPECT_LE(window->closeButton2()->geometry().bottom(), window->height());
    EXPECT_DOUBLE_EQ(QOVASFBWindow::caculateStringHeight(QString()), 0.0);
    shot(window, QStringLiteral("sfb_window_long"));
    delete window;
}

TEST_F(SFBWindowTest, QuittingTheApplication)
{
    clientRunning(1);
    launch();
    QOVASFBWindow *window = delegate()->sfbWindow();
    ASSERT_TRUE(window);
    QTest::mouseClick(window->closeButton2(), Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return m_terminated; }));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(workspace()->terminated.isEmpty());
}

TEST_F(SFBWindowTest, QuittingTheClientReopensTheDevicesAfterAWait)
{
    clientRunning(2);
    launch();
    plug(sim::Family::Orbrin, QStringLiteral("OR80"));
    plug(sim::Family::Pirok, QStringLiteral("PK80"));

    int announced = 0;
    auto id = QOVANotificationCenter::defaultCenter().addObserver(
        QStringLiteral("QOVAIOHIDDeviceMatchInformation"), nullptr, [&](const QOVANotification &) { ++announced; });
    QOVASFBWindow *window = delegate()->sfbWindow();
    ASSERT_TRUE(window);
    window->closeSFB();
    // The wait is a timer: nothing was reopened when the choice returned.
    EXPECT_EQ(announced, 0);
    EXPECT_EQ(workspace()->terminated, (QList<qint64>{4000, 4001}));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(m_terminated);
    EXPECT_TRUE(waitUntil([&] { return announced >= 2; }));
    spin(50);
    EXPECT_EQ(listed(), 2);
    QOVANotificationCenter::defaultCenter().removeObserver(id);
}

TEST_F(SFBWindowTest, StereoSwitchWritesTheClientsFile)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    delegate()->setSFBStereoEnable(false);
    EXPECT_FALSE(QFile::exists(QOVASFBStereoFile::defaultPath()));
    delegate()->setSFBStereoEnable(true);
    QFile file(QOVASFBStereoFile::defaultPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                                            bytes.size() / 2);
    EXPECT_TRUE(text.contains(QStringLiteral("\"StereoConfiguration\"=dword:00000001")));
    qunsetenv("XDG_CONFIG_HOME");
}
