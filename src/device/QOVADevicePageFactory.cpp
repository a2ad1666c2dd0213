#include "QOVADevicePageFactory.h"

#include "QOVADeviceInfoViewController.h"
#include "QOVAOrbrinStatusView.h"
#include "QOVAPirokStatusView.h"
#include "QOVAPlaceholderPageView.h"
#include "QOVAVaskoStatusView.h"
#include "camera/QOVACameraSettingsView.h"
#include "camera/QOVACameraTrackingView.h"
#include "camera/QOVAOSDView.h"
#include "certificates/QOVACertificatesView.h"
#include "settings/QOVAAdminSignIn.h"
#include "settings/QOVAAudioDiagnosticsView.h"
#include "settings/QOVAAudioMetersView.h"
#include "settings/QOVAAudioSettingsView.h"
#include "settings/QOVAConfigurationView.h"
#include "settings/QOVABLEFeatureView.h"
#include "settings/QOVABluetoothPairMode.h"
#include "settings/QOVAFactoryResetView.h"
#include "settings/QOVALabFeatureView.h"
#include "settings/QOVALogView.h"
#include "settings/QOVAMiscellaneousView.h"
#include "settings/QOVAOrbrinGeneralView.h"
#include "settings/QOVAPasswordSettingsView.h"
#include "settings/QOVASystemRestartView.h"
#include "setup/QOVAProvisionServerView.h"
#include "network/QOVANetworkView.h"
#include "network/QOVAWiFISettingsView.h"

namespace QOVADevicePageFactory {
namespace {

using Controller = QOVADeviceInfoViewController;
using Page = QOVADisplayBaseView;

// The status page of the family; it asks for the facts at once and then
// polls.
Page *buildStatusInfoView(Controller &c)
{
    QOVAStatusBaseView *page = nullptr;
    if (c.productId() == QLatin1String("6e17"))
        page = new QOVAOrbrinStatusView(c.model());
    else if (c.productId() == QLatin1String("6e12"))
        page = new QOVAVaskoStatusView(c.model());
    if (!page)
        return nullptr;
    page->setStatusViewDelegate(&c);
    page->requestDeviceInfo();
    return page;
}

// Rows in the order the pages are listed for the controller. Pages of areas
// still to come build the placeholder (no builder).
const Row kRows[] = {
    // Status
    {"statusInfoView", &buildStatusInfoView},
    {"pirokStatusView", [](Controller &c) -> Page * { return new QOVAPirokStatusView(c.model()); }},

    // Settings and maintenance
    {"orbrinGeneralView",
     [](Controller &c) -> Page * {
         auto *page = new QOVAOrbrinGeneralView(c.productId());
         page->setDelegate(&c);
         return page;
     }},
    {"bleFeatureView",
     [](Controller &c) -> Page * {
         auto *page = new QOVABLEFeatureView;
         page->setDelegate(&c);
         return page;
     }},
    {"bluetoothPairModeView",
     [](Controller &c) -> Page * {
         auto *page = new QOVABluetoothPairMode;
         page->setAutoPairDelegate(&c);
         return page;
     }},
    {"passwordSettingsView",
     [](Controller &c) -> Page * {
         auto *page = new QOVAPasswordSettingsView;
         page->setPasswordSettingDelegate(&c);
         return page;
     }},
    {"systemRestartView",
     [](Controller &c) -> Page * {
         auto *page = new QOVASystemRestartView;
         page->setDelegate(&c);
         return page;
     }},
    {"factoryResetView",
     [](Controller &c) -> Page * {
         auto *page = new QOVAFactoryResetView;
         page->setDelegate(&c);
         return page;
     }},
    {"configurationView",
     [](Controller &c) -> Page * {
         auto *page = new QOVAConfigurationView(c.model() ? c.model()->productName : QString());
         page->setConfigurationDelegate(&c);
         return page;
     }},
    {"miscellaneousView",
     [](Controller &c) -> Page * {
         auto *page = new QOVAMiscellaneousView;
         page->setMiscellaneousDelegate(&c);
         return page;
     }},
    {"labFeatureView",
     [](Controller &c) -> Page * {
         auto *page = new QOVALabFeatureView;
         page->setDelegate(&c);
         return page;
     }},
    {"adminSigninView",
     [](Controller &c) -> Page * {
         auto *page = new QOVAAdminSignIn;
         page->setLoginDelegate(&c);
         return page;
     }},
    {"logView",
     [](Controller &c) -> Page * {
         auto *page = new QOVALogView(c.productId(), c.model() ? c.model()->productName : QString());
         page->setLogDelegate(&c);
         return page;
     }},

    // Audio
    {"audioSettingsView",
     [](Controller &c) -> Page * {
         auto *page = new QOVAAudioSettingsView;
         page->setDelegate(&c);
         return page;
     }},
    {"audioDiagnosticsView",
     [](Controller &c) -> Page * {
         auto *page = new QOVAAudioDiagnosticsView(c.model() ? c.model()->productName : QString());
         page->setDelegate(&c);
         return page;
     }},
    {"audioMetersView", [](Controller &c) -> Page * { return new QOVAAudioMetersView(c.serialNumber()); }},

    // Network
    {"wifiSettignsView",
     [](Controller &c) -> Page * {
         auto *page = new QOVAWiFISettingsView;
         page->setDelegate(&c);
         return page;
     }},
    {"networkView",
     [](Controller &c) -> Page * {
         auto *page = new QOVANetworkView;
         page->setDelegate(&c);
         return page;
     }},

    // Camera
    {"cameraSettingsView",
     [](Controller &c) -> Page * {
         auto *page = new QOVACameraSettingsView(c.getUniqueID());
         page->setDelegate(&c);
         return page;
     }},
    {"cameraTrackingView",
     [](Controller &c) -> Page * {
         auto *page = new QOVACameraTrackingView(c.productId());
         page->setDelegate(&c);
         return page;
     }},
    {"osdView",
     [](Controller &c) -> Page * {
         auto *page = new QOVAOSDView(c.model() ? c.model()->productName : QString());
         page->setDelegate(&c);
         return page;
     }},

    // Certificates
    {"certificatesView",
     [](Controller &c) -> Page * {
         auto *page = new QOVACertificatesView(c.productId());
         page->setCertificatesViewDelegate(&c);
         return page;
     }},

    // Set-up and provisioning
    {"provisionServerView",
     [](Controller &c) -> Page * {
         auto *page = new QOVAProvisionServerView(c.productId());
         page->setDelegate(&c);
         return page;
     }},
};

} // namespace

const Row *rowForGetter(const QString &getter)
{
    for (const Row &row : kRows) {
        if (getter == QLatin1String(row.getter))
            return &row;
    }
    return nullptr;
}

QOVADisplayBaseView *build(const QString &getter, QOVADeviceInfoViewController &controller)
{
    const Row *row = rowForGetter(getter);
    if (!row)
        return nullptr;
    if (!row->build)
        return new QOVAPlaceholderPageView(getter);
    QOVADisplayBaseView *page = row->build(controller);
    if (page && page->objectName().isEmpty())
        page->setObjectName(getter);
    return page;
}

QStringList getters()
{
    QStringList out;
    for (const Row &row : kRows)
        out << QLatin1String(row.getter);
    return out;
}

} // namespace QOVADevicePageFactory
