#pragma once
// The firmware page tests run the real application delegate and device
// manager on the simulated bus, every device with its request catalogue and
// DFU side, and a real HTTPS update server (nginx on 127.0.0.1) whose
// authority the application trusts. A test puts offers and packages on the
// server, plugs devices and drives the page with clicks.

#include "ShellTestSupport.h"
#include "support/NginxServer.h"

#include "firmware/ui/QOVAFirmwareViewController.h"
#include "sim/catalogue/SimCatalogueRequestHandler.h"
#include "sim/SimFamily.h"
#include "sim/dfu/SimDfuHandler.h"

#include <QTemporaryDir>

class QOVAManualUpdateWindow;

namespace fwtest {

using namespace shelltest;

// The catalogue and DFU handlers of each plugged device, by serial number.
std::shared_ptr<sim::SimCatalogueRequestHandler> catalogueOf(const QString &serial);
std::shared_ptr<sim::SimDfuHandler> dfuOf(const QString &serial);
// The video bar of that serial number comes with a paired remote control.
void pairRemoteAtPlug(const QString &serial);

// A DFU package for the family that installs the version.
QByteArray package(sim::Family family, const QString &version, qsizetype payload = 64 * 1024);

// Clicks a widget in its middle.
void click(QWidget *widget);

class FirmwarePageFixture : public ShellFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Offers the version for the update-check kind (1 small camera,
    // 2 video bar, 3 remote control, 4 network camera) with a package under
    // location ("/files" or "/slow") and returns the package's path on the
    // server. A null version leaves the reply without one.
    QString offer(int kind, const QString &version, const QString &location = QStringLiteral("/files"),
                  const QByteArray &body = {});
    // Points the update check of the kind at any address, or answers it
    // from the local server with the reply given.
    void pointCheckAt(int kind, const QString &address);
    void answerCheck(int kind, const QJsonObject &reply);
    // Plugs a device with its catalogue and waits until the page has its row.
    std::shared_ptr<sim::SimDevice> plugRow(sim::Family family, const QString &serial,
                                            sim::Mode mode = sim::Mode::Run);
    void openPage();
    // Waits until the row is in the state.
    bool waitState(const QOVAFirmwareModelRef &row, qint64 state);
    QOVAFirmwareUpgradeCell *cell(const QOVAFirmwareModelRef &row) const;
    // The local-file update window open over the main window, if any.
    QOVAManualUpdateWindow *manualUpdateWindow() const;
    QOVAFirmwareViewController *page() const { return delegate()->firmwareController(); }
    QOVAFirmwareModelRef row(const QString &serial, qint64 type = 0) const { return page()->rowFor(serial, type); }

    bool m_skip = false;
    testsupport::NginxServer m_server;
    QTemporaryDir m_configDir;
    QJsonObject m_config;
};

} // namespace fwtest
