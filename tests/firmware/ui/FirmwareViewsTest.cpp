// The row cell, header, banner and sign-in window drawn from row records.
#include "FirmwarePageSupport.h"

#include "HyperlinkTextField.h"
#include "QOVAButton.h"
#include "QOVALabel.h"
#include "QOVATranslations.h"
#include "firmware/ui/QOVAFirmwareListHeader.h"
#include "firmware/ui/QOVAFirmwareStatusView.h"
#include "firmware/ui/QOVAUpgradeFailedTipView.h"
#include "firmware/ui/QOVAUpgradeTipView.h"

#include <QAbstractButton>
#include <QDir>
#include <QProgressBar>

namespace {

void installTexts()
{
    static const bool done = [] {
        QOVATranslations::installAll(QLocale(QLocale::English));
        return true;
    }();
    Q_UNUSED(done);
}

QOVAFirmwareModelRef makeRow(qint64 type, const QString &pid, qint64 state)
{
    auto r = QOVAFirmwareModel::make();
    r->type = type;
    r->productId = pid;
    r->productName = QStringLiteral("Product");
    r->deviceName = QStringLiteral("Room <b>1</b>");
    r->version = QStringLiteral("1.1.5");
    r->targetVersion = QStringLiteral("1.1.6");
    r->upgradeState = state;
    r->active = true;
    r->totalSize = 4 * 1024 * 1024;
    r->progress = 0.25;
    return r;
}

void save(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("ORVALINDE_SHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace

// What each state shows: size, bar, Update (shown, enabled, title), local
// update, Cancel, status mark, failure tip.
TEST(FirmwareCell, EachStateShowsItsElements)
{
    installTexts();
    struct Case {
        qint64 state;
        bool size, bar, update, updateEnabled;
        const char *title;
        bool local, cancel, status, failed;
    } cases[] = {
        {0, false, false, false, false, nullptr, true, false, true, false},
        {1, false, false, true, true, "STRING_UPDATE", true, false, false, false},
        {2, false, false, true, true, "STRING_UPDATE", true, false, false, false},
        {4, true, true, true, false, "STRING_DOWNLOADING", false, true, false, false},
        {6, true, true, true, false, "STRING_INSTALLING", false, false, false, false},
        {7, false, false, false, false, nullptr, true, false, true, false},
        {8, false, false, true, true, "STRING_UPDATE", true, false, false, true},
    };
    QOVAFirmwareUpgradeCell cell;
    cell.resize(820, 110);
    cell.show();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.state);
        const auto r = makeRow(2, QStringLiteral("6e17"), c.state);
        cell.updateWithModel(r);
        EXPECT_EQ(cell.remainingSizeLabel()->isVisible(), c.size);
        EXPECT_EQ(cell.updateProgressIndicator()->isVisible(), c.bar);
        EXPECT_EQ(cell.updateButton()->isVisible(), c.update);
        if (c.update) {
            EXPECT_EQ(!cell.updateButton()->disabled(), c.updateEnabled);
            EXPECT_EQ(cell.updateButton()->textString(), qtTrId(c.title));
        }
        EXPECT_EQ(cell.localUpdateButton()->isVisible(), c.local);
        EXPECT_EQ(cell.cancelButton()->isVisible(), c.cancel);
        EXPECT_EQ(cell.statusView()->isVisible(), c.status);
        EXPECT_EQ(cell.failedView()->isVisible(), c.failed);
        EXPECT_GE(cell.updateButton()->width(), 128);
        EXPECT_EQ(cell.updateButton()->geometry().right() + 1, 820 - 44);
        EXPECT_EQ(cell.deviceNameLabel()->stringValue(), QStringLiteral("Room <b>1</b>"));
        save(&cell, QStringLiteral("cell_state_%1").arg(c.state));
    }
}

TEST(FirmwareCell, VersionTextsNamesAndProgress)
{
    installTexts();
    const QString current = qtTrId("STRING_CURRENT_VERSION") + QStringLiteral(" : 1.1.5");
    const QString offered = qtTrId("STRING_NEW_VERSION") + QStringLiteral(" : 1.1.6");
    const QString both = current + QStringLiteral(" \n") + offered;
    struct Case {
        qint64 type;
        const char *pid;
        qint64 state;
        QString versions;
        bool productName;   // the name shown is the product's
    } cases[] = {
        {2, "6e17", 1, both, false},
        {2, "6e18", 1, offered, true},
        {4, "6e13", 2, offered, true},
        {1, "5c02", 2, both, true},
        {1, "5c01", 0, current, true},
        {2, "6e18", 8, offered, true},
        {4, "6e13", 8, both, true},
    };
    QOVAFirmwareUpgradeCell cell;
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(c.type).arg(QLatin1String(c.pid)).arg(c.state).toStdString());
        cell.updateWithModel(makeRow(c.type, QLatin1String(c.pid), c.state));
        EXPECT_EQ(cell.versionLabel()->stringValue(), c.versions);
        EXPECT_EQ(cell.deviceNameLabel()->stringValue(),
                  c.productName ? QStringLiteral("Product") : QStringLiteral("Room <b>1</b>"));
    }
    // A run-mode row without a name shows its product's.
    auto unnamed = makeRow(4, QStringLiteral("6e12"), 0);
    unnamed->deviceName.clear();
    cell.updateWithModel(unnamed);
    EXPECT_EQ(cell.deviceNameLabel()->stringValue(), QStringLiteral("Product"));
    // Without a date the row gets today's, and keeps it.
    EXPECT_TRUE(unnamed->updateDate.isValid());
    const QDateTime first = unnamed->updateDate;
    cell.updateWithModel(unnamed);
    EXPECT_EQ(unnamed->updateDate, first);

    // Installation at 100 % shows 99 % and leaves 0.99 in the row.
    auto installing = makeRow(1, QStringLiteral("5c01"), 6);
    installing->progress = 1.0;
    cell.updateWithModel(installing);
    EXPECT_EQ(cell.remainingSizeLabel()->stringValue(), QStringLiteral("99%"));
    EXPECT_DOUBLE_EQ(installing->progress, 0.99);
    // Download progress: sizes in MB.
    auto downloading = makeRow(1, QStringLiteral("5c01"), 4);
    cell.updateWithModel(downloading);
    downloading->progress = 0.5;
    cell.updateProgress(0.5);
    EXPECT_EQ(cell.remainingSizeLabel()->stringValue(),
              QStringLiteral("%1 2.00 MB, %2 4.00 MB").arg(qtTrId("STRING_DOWNLOAD"), qtTrId("STRING_TOTAL")));
    EXPECT_EQ(cell.updateProgressIndicator()->value(), 500);
}

TEST(FirmwareCell, FailureTipsAndRemoteControlRows)
{
    installTexts();
    QOVAFirmwareUpgradeCell cell;
    // A network camera's failure: the in-call text as it is, else its tip.
    auto vasko = makeRow(4, QStringLiteral("6e12"), 8);
    vasko->updateError = QOVAError::errorCode(1, {{QOVAError::kLocalizedDescriptionKey, qtTrId("STRING_UPDATE_FAILED_INCALL")}});
    cell.updateWithModel(vasko);
    EXPECT_EQ(cell.failedView()->textLabel()->stringValue(), qtTrId("STRING_UPDATE_FAILED_INCALL"));
    vasko->updateError = QOVAError::errorCode(2, {{QOVAError::kLocalizedDescriptionKey, QStringLiteral("gone")}});
    cell.updateWithModel(vasko);
    EXPECT_EQ(cell.failedView()->textLabel()->stringValue(), qtTrId("STRING_VASKO_DFU_TIP"));
    // Other families show the error's own text.
    auto bar = makeRow(2, QStringLiteral("6e17"), 8);
    bar->updateError = QOVAError::errorCode(2, {{QOVAError::kLocalizedDescriptionKey, QStringLiteral("device left")}});
    cell.updateWithModel(bar);
    EXPECT_EQ(cell.failedView()->textLabel()->stringValue(), QStringLiteral("device left"));

    // A sleeping remote control with an offer: the wake-up tip, no Update.
    bar->upgradeState = 0;
    auto remote = makeRow(3, QString(), 1);
    remote->relativeDeviceModel = bar;
    bar->remoteControl = remote;
    remote->active = false;
    cell.updateWithModel(remote);
    EXPECT_FALSE(cell.localUpdateButton()->isVisible());
    EXPECT_TRUE(cell.updateButton()->disabled());
    EXPECT_EQ(cell.failedView()->textLabel()->stringValue(), qtTrId("STRING_PRESS_TO_WAKEUP_REMOTE"));
    // Awake: enabled, unless its video bar downloads; and the other way round.
    remote->active = true;
    cell.updateWithModel(remote);
    EXPECT_FALSE(cell.updateButton()->disabled());
    bar->upgradeState = 4;
    cell.updateWithModel(remote);
    EXPECT_TRUE(cell.updateButton()->disabled());
    bar->upgradeState = 1;
    remote->upgradeState = 6;
    cell.updateWithModel(bar);
    EXPECT_TRUE(cell.updateButton()->disabled());
    // A remote control reported as upgrading before any progress: no bar.
    remote->isRemoteUpdating = true;
    remote->progress = 0;
    cell.updateWithModel(remote);
    EXPECT_FALSE(cell.updateProgressIndicator()->isVisible());
    EXPECT_FALSE(cell.remainingSizeLabel()->isVisible());
}

TEST(FirmwareViews, HeaderBannerAndSignInTip)
{
    installTexts();
    QOVAFirmwareListHeader header;
    header.show();
    header.setDeviceCount(1, QStringLiteral("KRD mini"));
    EXPECT_EQ(header.titleLabel()->stringValue(), QStringLiteral("KRD mini"));
    EXPECT_FALSE(header.updateButton()->isVisible());
    header.setDeviceCount(3, QStringLiteral("KRD mini"));
    EXPECT_EQ(header.titleLabel()->stringValue(), QStringLiteral("KRD mini(3)"));
    EXPECT_TRUE(header.updateButton()->isVisible());
    EXPECT_GE(header.updateButton()->width(), 98);
    header.refreshStatus();   // no delegate: only the turn
    EXPECT_TRUE(header.refreshButton()->isSpinning());
    save(&header, QStringLiteral("header"));

    // The banner leaves the page when closed, with or without a delegate.
    QWidget page;
    page.resize(820, 600);
    auto *banner = new QOVAUpgradeTipView(&page);
    banner->setGeometry(0, 56, 820, banner->preferredHeight());
    page.show();
    save(&page, QStringLiteral("banner"));
    EXPECT_TRUE(banner->tipLabel()->hyperlinkInfos().has_value());
    banner->closeTipView();
    EXPECT_TRUE(page.findChildren<QOVAUpgradeTipView *>().isEmpty());

    QOVAFirmwareModel bar;
    bar.type = 2;
    bar.productName = QStringLiteral("Zentaro Halvex");
    bar.deviceName = QStringLiteral("Board room");
    const QString tips = qtTrId("STRING_UPGRADE_SIGN_IN_TIPS");
    EXPECT_EQ(QOVAUpgradeSignInWindow::tipText(bar), tips + QStringLiteral(" Zentaro Halvex - Board room."));
    bar.type = 3;
    EXPECT_EQ(QOVAUpgradeSignInWindow::tipText(bar), tips + QStringLiteral(" Zentaro Halvex."));
    bar.type = 4;
    bar.deviceName.clear();
    EXPECT_EQ(QOVAUpgradeSignInWindow::tipText(bar), tips + QStringLiteral(" Zentaro Halvex."));

    // A long failure text wraps inside its width.
    QOVAUpgradeFailedTipView tip;
    tip.resize(212, 110);
    tip.show();
    tip.showFailedString(QString(200, QLatin1Char('x')).replace(QLatin1String("xxxxxxxxx"), QLatin1String("xxxxxxxx ")));
    EXPECT_EQ(tip.textLabel()->width(), 188);
    EXPECT_GT(tip.textLabel()->textSize(188).height(), 20);
}
