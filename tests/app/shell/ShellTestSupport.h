#pragma once
// The shell tests run the real application delegate and device manager on a
// simulated bus of their own. ShellFixture starts the delegate as the
// application does (log into a temporary folder, a fake workspace without the
// conferencing client) and unplugs every device when the test ends.

#include "AppDelegate.h"
#include "QOVAMainWindow.h"
#include "sfb/QOVAWorkspace.h"
#include "QOVAMaskView.h"
#include "QOVASegmentItem.h"
#include "QOVAButton.h"

#include "sim/SimBus.h"
#include "sim/SimDeviceHost.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace shelltest {

// Turns the event loop until pred holds; false when it never did within a
// generous limit (not a measured time).
bool waitUntil(const std::function<bool()> &pred, int limitMs = 10000);
// Turns the event loop for a while (scaled periods are short in the tests).
void spin(int ms);

// The process's simulated bus, installed as the backend on first use.
std::shared_ptr<sim::SimBus> bus();

// A workspace that knows one application or none.
class FakeWorkspace : public QOVAWorkspace {
public:
    QString identifier;
    QList<QOVARunningApplication> running;
    QList<qint64> terminated;

    QString bundleIdentifierForApplication(const QString &) override { return identifier; }
    QList<QOVARunningApplication> runningApplicationsWithBundleIdentifier(const QString &id) override
    {
        return id == identifier ? running : QList<QOVARunningApplication>();
    }
    bool terminate(const QOVARunningApplication &app) override
    {
        terminated.append(app.processIdentifier);
        return true;
    }
};

// Answers the set-up question and the clock setting, and records the
// resources asked for (apart from the device page's status poll).
class DeviceAnswers : public sim::SimRequestHandler {
public:
    std::atomic<bool> oobPending{false};
    std::atomic<int> oobStatus{200};
    std::atomic<int> timeStatus{200};

    sim::SimReply handleRequest(sim::SimDeviceHost &host, const QJsonObject &head, const QByteArray &body,
                                int dataType) override;
    QStringList urls() const;
    void clear();

private:
    mutable std::mutex m_mutex;
    QStringList m_urls;
};

// Saves a picture of the widget under $ORVALINDE_SHOT_DIR when it is set.
void shot(QWidget *widget, const QString &name);

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Plugs a device and waits until the device list shows it.
    std::shared_ptr<sim::SimDevice> plug(sim::Family family, const QString &serial,
                                         sim::Mode mode = sim::Mode::Run,
                                         std::shared_ptr<DeviceAnswers> answers = {});
    void unplug(const QString &serial);
    int listed() const;

    AppDelegate *delegate() const { return m_delegate.get(); }
    std::shared_ptr<FakeWorkspace> workspace() const { return m_workspace; }

    // Launches the delegate as the application does.
    void launch();

    QTemporaryDir m_logDir;
    std::unique_ptr<AppDelegate> m_delegate;
    std::shared_ptr<FakeWorkspace> m_workspace = std::make_shared<FakeWorkspace>();
    bool m_terminated = false;
};

} // namespace shelltest
