#pragma once
// The set-up wizards on the real application: simulated devices whose set-up
// is pending, chosen from the device list, walked with real clicks and key
// presses. Request counts are read off what the simulated device received.

#include "device/DevicePageTestSupport.h"

#include "QOVAHalvexCompleteView.h"
#include "QOVAHalvexCountryView.h"
#include "QOVAHalvexDeviceNameView.h"
#include "QOVAHalvexOOBViewController.h"
#include "QOVAHalvexPageControlView.h"
#include "QOVAHalvexPasswordView.h"
#include "QOVAHalvexProvisionView.h"
#include "QOVAHalvexSignInView.h"
#include "QOVAHalvexWiFiView.h"
#include "QOVAOOBVaskoNetworkView.h"
#include "QOVAVaskoOOBViewController.h"

#include "QOVAButton.h"
#include "QOVANotificationWindow.h"
#include "QOVAPopUpButton.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"

#include <QCheckBox>
#include <QTableView>

namespace wizardtest {

using namespace devicetest;
using Step = QOVASetupWizardController::Step;

struct Sent {
    QString url;
    QString type;
    int msgId = 0;
    QJsonObject body;
};

inline QList<Sent> sentRequests(const SimHandle &handle)
{
    QList<Sent> out;
    for (const sim::SimReceivedRequest &request : handle.device->receivedRequests()) {
        const QJsonObject head = QJsonDocument::fromJson(request.head).object();
        out << Sent{head.value(QStringLiteral("url")).toString(), head.value(QStringLiteral("type")).toString(),
                    head.value(QStringLiteral("msg_id")).toString().toInt(),
                    QJsonDocument::fromJson(request.body).object()};
    }
    return out;
}

// How many requests with this message id and resource the device received.
inline int sent(const SimHandle &handle, int msgId, const QString &url)
{
    int n = 0;
    for (const Sent &s : sentRequests(handle))
        n += s.msgId == msgId && s.url == url;
    return n;
}

inline QList<QJsonObject> bodies(const SimHandle &handle, int msgId, const QString &url)
{
    QList<QJsonObject> out;
    for (const Sent &s : sentRequests(handle)) {
        if (s.msgId == msgId && s.url == url)
            out << s.body;
    }
    return out;
}

struct Toast {
    bool success;
    QString text;
};
inline QList<Toast> toasts()
{
    QList<Toast> list;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *toast = qobject_cast<QOVANotificationWindow *>(w);
        if (toast && toast->isVisible())
            list.append({toast->notificationType() == 0, toast->contentString()});
    }
    return list;
}
inline void closeToasts()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QOVANotificationWindow *>(w))
            w->deleteLater();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
inline bool toastShown(const char *key)
{
    for (const Toast &t : toasts()) {
        if (!t.success && t.text == qtTrId(key))
            return true;
    }
    return false;
}

inline void pick(QOVAPopUpButton *popup, const QString &title)
{
    const int index = popup->findText(title, Qt::MatchExactly);
    ASSERT_GE(index, 0) << qPrintable(title);
    popup->setCurrentIndex(index);
    emit popup->activated(index);
}

template <typename Window>
QList<Window *> shownWindows(QWidget *main)
{
    QList<Window *> out;
    for (Window *window : main->findChildren<Window *>()) {
        if (window->isVisible())
            out << window;
    }
    return out;
}

class WizardFixture : public DevicePageFixture {
protected:
    // Plugs a device whose set-up is pending.
    SimHandle plugPending(sim::Family family, const QString &serial, const QString &firmware)
    {
        SimHandle handle = plugDevice(family, serial, firmware);
        if (handle.state)
            handle.state->setNeedsOob(true);
        return handle;
    }

    QOVASetupWizardController *wizard() const
    {
        return qobject_cast<QOVASetupWizardController *>(delegate()->currentController());
    }

    // Chooses the device in the list; returns the wizard once it is shown.
    QOVASetupWizardController *openWizard(const QString &serial)
    {
        if (delegate()->currentController() != delegate()->deviceListController())
            delegate()->showDeviceController(delegate()->deviceListController());
        QOVACollectionViewItem *tile = tileOf(serial);
        EXPECT_TRUE(tile);
        if (!tile)
            return nullptr;
        click(tile);
        const bool shown = waitUntil([&] {
            QOVASetupWizardController *w = wizard();
            return w && w->model() && w->model()->serialNumber == serial;
        });
        EXPECT_TRUE(shown) << "no wizard for " << qPrintable(serial);
        return shown ? wizard() : nullptr;
    }

    // A picture of the main window once switches and spinners have come to
    // rest (their animations run in real time).
    void settledShot(const QString &name)
    {
        spin(400);
        shot(mainWindow(), name);
    }

    void clickAndSettle(QWidget *target)
    {
        click(target);
        spin(5);
    }

    void typeInto(QLineEdit *field, const QString &text)
    {
        mainWindow()->activateWindow();
        waitUntil([this] { return QApplication::activeWindow() == mainWindow(); });
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    bool waitTop(QOVASetupWizardController *w, Step step)
    {
        return waitUntil([&] { return w->topStep() == step; });
    }

    // The steps as a user takes them; each returns when the wizard moved on.
    void signIn(QOVASetupWizardController *w, const QString &password, bool expectMove = true)
    {
        QOVAHalvexSignInView *page = w->signInView();
        typeInto(page->passwordTextField()->securePwdTextField(), password);
        if (!page->agreementButton()->isChecked())
            click(page->agreementButton());
        clickAndSettle(page->signInButton());
        if (expectMove) {
            ASSERT_TRUE(waitTop(w, Step::Password));
        }
    }

    void changePassword(QOVASetupWizardController *w, const QString &oldPassword, const QString &newPassword,
                        bool expectMove = true)
    {
        QOVAHalvexPasswordView *page = w->passwordView();
        typeInto(page->currentTextField()->securePwdTextField(), oldPassword);
        typeInto(page->changeTextField()->securePwdTextField(), newPassword);
        typeInto(page->confirmTextField()->securePwdTextField(), newPassword);
        clickAndSettle(page->confirmButton());
        if (expectMove) {
            ASSERT_TRUE(waitTop(w, Step::Country));
        }
    }

    void chooseCountry(QOVASetupWizardController *w, int row)
    {
        QTableView *table = w->countryView()->countryTableView();
        table->scrollTo(table->model()->index(row, 0));
        const QRect rect = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
        clickAndSettle(w->countryView()->nextButton());
        ASSERT_TRUE(waitTop(w, Step::DeviceName));
    }

    void nameDevice(QOVASetupWizardController *w, const QString &name, bool expectMove = true)
    {
        QOVAHalvexDeviceNameView *page = w->deviceNameView();
        typeInto(page->userNameTextField(), name);
        clickAndSettle(page->pageControlView()->nextButton());
        if (expectMove) {
            ASSERT_TRUE(waitTop(w, Step::Network));
        }
    }

    void clickBar(QOVASetupWizardController *w, int which)
    {
        QOVAHalvexPageControlView *bar = w->topPage()->pageControlView();
        clickAndSettle(which < 0 ? bar->previousButton() : which == 0 ? bar->skipButton() : bar->nextButton());
    }
    void back(QOVASetupWizardController *w) { clickBar(w, -1); }
    void skip(QOVASetupWizardController *w) { clickBar(w, 0); }
    void next(QOVASetupWizardController *w) { clickBar(w, 1); }

    // Walks a fresh wizard to the device name page.
    void walkToName(QOVASetupWizardController *w)
    {
        signIn(w, QStringLiteral("admin"));
        changePassword(w, QStringLiteral("admin"), QStringLiteral("S3cret!"));
        chooseCountry(w, 80);
    }
};

} // namespace wizardtest
