// What the family objects do without sending: the Pirok family, objects made
// for a device in DFU mode, the firmware entry, the zoom multiple, cancel.

#include "CatalogueSupport.h"

#include "QOVANotificationCenter.h"
#include "QOVASkarnfelDevice.h"
#include "QOVAUpgradeManager.h"
#include "PasswordEnableModel.h"
#include "QOVAError.h"

#include <gtest/gtest.h>

using namespace cataloguetest;

namespace {

// Calls every public operation once, each with callbacks that count.
int callEverything(QOVABaseUSBDevice &d)
{
    int calls = 0;
    auto s = [&calls](const QString &) { ++calls; };
    auto c = [&calls](const QOVAReplyObject &) { ++calls; };
    auto p = [&calls](double) { ++calls; };
    auto n = [&calls] { ++calls; };
    const QJsonObject dict{{"ssid", "x"}};
    auto setting = std::make_shared<QOVACameraSettingModel>();
    d.getUSBDeviceGeneralInformationWithBlock(c, s);
    d.setUSBDeviceGeneralInformationWithBlock("a", "b", "c", "d", true, s, s);
    d.setUSBDeviceGeneralInformationWithBlock("a", "b", "c", "d", s, s);
    d.getUSBDeviceDeviceInformationWithBlock(c, s);
    d.getUSBBloothInformationwithBlock(c, s);
    d.setUSBDeviceBloothEnable(true, true, true, s, s);
    d.setUSBDeviceBlueAutoPair(s, s);
    d.setUSBDeviceWifiEnable(true, s, s);
    d.getUSBWifiStatusWithBlock(c, s);
    d.getUSBWifiInformationListWithBlock(c, s);
    d.getUSBWifiConnetcedWithBlock(c, s);
    d.connectDeviceSpecficWifi(dict, s, s);
    d.disconnectDeviceSpecficWifi(dict, s, s);
    d.setDeviceWifiSecurityType(dict, s, s);
    d.getUSBDeviceConfigFile(c, s);
    d.setUSBDeviceConfigFileWithFilePath("/nonexistent", s, s);
    d.getUSBDeviceLog(c, s);
    d.getUSBDeviceCoredumpLog(c, s);
    d.usbUSBRemoteControlUpdate("x", "/nonexistent", p, s, s);
    d.setUSBDeviceProvisionInformation("a", "b", "c", "d", "e", s, s);
    d.getUSBDeviceProvisionServerInformation(c, s);
    d.setUSBDeviceDhcpOption(43, s, s);
    d.sendUSBDeviceOpsCmd("restart", s, s);
    d.loginUSBDeviceAdmin("", s, s);
    d.modifyAdminPassword("", "x", s, s);
    d.setSimpePasswordWithStatus(true, s, s);
    d.getSimplePasswordStatus(c, s);
    d.getUSBDevicePasswordEnableModel(c, s);
    d.getUSBDeviceOob(c, s);
    d.cancelUSBRequset(c, s);
    d.syncDesktopTimeToOrbrin(1, "UTC", s, s);
    d.setUSBAudioSetting(true, true, true, true, s, s);
    d.setUSBAudioOrbrinSetting(true, "90", true, true, s, s);
    d.getUSBAudioSetting(c, s);
    d.getUSBAudioOrbrinSetting(c, s);
    d.requestUSBDiagnosticRecord(true, n, c, s);
    d.setUSBDeviceIntergratedMicrophones(true, s, s);
    d.setUSBDeviceSetAudioStereo(true, s, s);
    d.getUSBDeviceAudioStereo(c, s);
    d.getUSBConversationMode(c, s);
    d.setUSBConversationMode(true, s, s);
    d.getUSBLectureMode(c, s);
    d.setUSBLectureMode(true, s, s);
    d.getUSBDeviceTrackingFrame(c, s);
    d.setUSBDeviceTrackingFrame("2", s, s);
    d.setUSBDeviceSmoothTracking(true, s, s);
    d.getUSBDeviceSmoothTracking(c, s);
    d.setUSBDeviceCameraPreset(1, "save", s, s);
    d.setUSBDeviceAutoTracking(true, true, "Slow", "Tight", s, s);
    d.getUSBDeviceAutoTracking(c, s);
    d.setUSBDeviceOsd(true, s, s);
    d.getUSBDeviceOsd(c, s);
    d.getUSBDeviceCameraExtensionFeature(c, s);
    d.setUSBDeviceCameraExtensionFeature(true, true, true, s, s);
    d.getUSBNetworkConnectionInformation(c, s);
    d.connectUSBNetwork(dict, s, s);
    d.enableVaskoNetwork(dict, s, s);
    d.getUSBDeviceMiscellaneousStatus(c, s);
    d.setUSBDeviceMiscellaneousStatus(true, true, s, s);
    d.setUSBCSRInfoProvision(dict, s, s);
    d.getUSBDeviceCsrProvisionFile(c, s);
    d.putUSBDeviceCertificateWithFilePath("/nonexistent", "wifi_ca_cert", s, s);
    d.deleteUSBDeviceCaCertificate("wifiCaCert", s, s);
    d.getInstalledCertificateinfo(c, s);
    d.getValidateCertificateinfo(c, s);
    d.getInstalledCertificateDetailInfo("wifi_server_detail", c, s);
    d.setUSBDeviceCertificatePassword("pw", s, s);
    d.setUSBDeviceCertificateServerValidate(true, s, s);
    d.setZoomAbs(true, s, s);
    d.setZoomAbs(true, 2.0, s, s);
    d.setPanTiltAbs(true, true, s, s);
    d.setPanTiltAbs(true, true, 1.5, s, s);
    d.getCameraSettingDataWithModel(setting, s, s);
    d.setCameraSettingDataWithModel(setting, false, s, s);
    d.updateUVCControls();
    settle();
    return calls;
}

// An upgrade manager that records what reaches it.
class RecordingUpgradeManager : public QOVAUpgradeManager {
public:
    void upgradeDevice(const QOVADeviceModelRef &model, const QString &path, QOVAProgressBlock,
                       QOVASuccessBlock success, QOVAUpgradeFailedBlock, QOVAUpgradeStatusBlock status) override
    {
        models.push_back(model);
        paths.push_back(path);
        if (status)
            status(13);
        if (success)
            success(QStringLiteral("Success"));
    }
    std::vector<QOVADeviceModelRef> models;
    QStringList paths;
};

struct ManagerSwap {
    ManagerSwap() : manager(std::make_shared<RecordingUpgradeManager>())
    {
        QOVAUpgradeManager::setSharedUpgradeManager(manager);
    }
    ~ManagerSwap() { QOVAUpgradeManager::setSharedUpgradeManager(nullptr); }
    std::shared_ptr<RecordingUpgradeManager> manager;
};

// Every family hands the firmware path and its model to the shared manager,
// whether or not it has channels.
void expectFirmwareReachesTheManager(QOVABaseUSBDevice &d, const QOVADeviceModelRef &model)
{
    ManagerSwap swap;
    int status = -1;
    QString success;
    d.upgradeDeviceFirmware("/tmp/fw.dfu", nullptr, [&](const QString &t) { success = t; }, nullptr,
                            [&](int s) { status = s; });
    ASSERT_EQ(swap.manager->paths, QStringList{"/tmp/fw.dfu"});
    EXPECT_EQ(swap.manager->models.front(), model);
    EXPECT_EQ(status, 13);
    EXPECT_EQ(success, QStringLiteral("Success"));
}

TEST(SupportMatrix, PirokSendsNothingButFirmware)
{
    auto model = std::make_shared<QOVADeviceModel>();
    model->setProductPID("5c01");
    QOVASkarnfelDevice device(model);
    EXPECT_FALSE(device.hidInterface());
    EXPECT_FALSE(device.uvcInterface());
    EXPECT_EQ(callEverything(device), 0);
    expectFirmwareReachesTheManager(device, model);
}

class DfuModeObject : public ::testing::TestWithParam<sim::Family> {};

TEST_P(DfuModeObject, HasNoChannelAndSendsNothing)
{
    // The device itself answers, but the object was made for DFU mode.
    SimulatedFamilyDevice sim(GetParam(), QString(), /*dfuModel=*/true);
    ASSERT_TRUE(sim.ready());
    EXPECT_EQ(callEverything(*sim.object), 0);
    EXPECT_TRUE(sim.device->receivedRequests().empty());
    expectFirmwareReachesTheManager(*sim.object, sim.model);
}

INSTANTIATE_TEST_SUITE_P(Families, DfuModeObject, ::testing::Values(sim::Family::Orbrin, sim::Family::Vasko));

TEST(SupportMatrix, DefaultUpgradeManagerFailsAtOnce)
{
    QOVAUpgradeManager::setSharedUpgradeManager(nullptr);
    std::optional<QOVAError> error;
    QOVAUpgradeManager::sharedUpgradeManager()->upgradeDevice(std::make_shared<QOVADeviceModel>(), "/tmp/x.dfu",
                                                              nullptr, nullptr,
                                                              [&](const QOVAError &e) { error = e; }, nullptr);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 0);
}

// Records the multiple the camera channel would get.
class ZoomProbe : public QOVAOrbrinDevice {
public:
    using QOVAOrbrinDevice::QOVAOrbrinDevice;
    void setZoomAbs_UVC(bool, qint64 multiple, QOVASuccessBlock, QOVAFailureBlock) override
    {
        multiples.push_back(multiple);
    }
    using QOVAOrbrinDevice::setZoomAbs_UVC;
    std::vector<qint64> multiples;
};

TEST(SupportMatrix, ZoomMultipleIsTruncatedTowardZero)
{
    auto model = std::make_shared<QOVADeviceModel>();
    model->setDfuDevice(true);
    ZoomProbe device(model);
    for (double m : {2.9, -1.0, -0.5, 0.99, -2.7})
        device.setZoomAbs(true, m, nullptr, nullptr);
    EXPECT_EQ(device.multiples, (std::vector<qint64>{2, -1, 0, 0, -2}));
}

TEST(SupportMatrix, CancelSetsTheFlagBeforeItsRequest)
{
    SimulatedFamilyDevice sim(sim::Family::Orbrin);
    ASSERT_TRUE(sim.ready());
    auto *orbrin = dynamic_cast<QOVAOrbrinDevice *>(sim.object.get());
    ASSERT_TRUE(orbrin && orbrin->hidInterface());

    Outcome outcome;
    sim.object->cancelUSBRequset(outcome.completionBlock(), outcome.failureBlock());
    ASSERT_EQ(sim.device->receivedRequests().size(), 1u);
    // The flag stops the read of the very reply the cancel request gets.
    ASSERT_TRUE(waitUntil([&] { return outcome.calls > 0; }));
    EXPECT_EQ(outcome.failure, QOVAError::errorGetResponseFailure().localizedDescription());
    EXPECT_FALSE(orbrin->hidInterface()->isCancel());
}

TEST(SupportMatrix, DeviceEventsReachTheNotificationCentre)
{
    SimulatedFamilyDevice sim(sim::Family::Orbrin);
    ASSERT_TRUE(sim.ready());
    QStringList seen;
    QObject context;
    auto &center = QOVANotificationCenter::defaultCenter();
    for (const char *name : {"QOVAWiFiEnableInformation", "QOVAWifiDisableInformation",
                             "QOVAWiFiConnectingInformation", "QOVAWiFiConnectedInformation",
                             "QOVARemoteControlPair"})
        center.addObserver(QString::fromLatin1(name), &context,
                           [&seen](const QOVANotification &n) { seen.append(n.name); });

    Outcome disable, enable, join, pair;
    sim.object->setUSBDeviceWifiEnable(false, disable.successBlock(), disable.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return seen.contains("QOVAWifiDisableInformation"); }));
    sim.object->setUSBDeviceWifiEnable(true, enable.successBlock(), enable.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return seen.contains("QOVAWiFiEnableInformation"); }));
    sim.object->connectDeviceSpecficWifi(QJsonObject{{"ssid", "Guest"}}, join.successBlock(), join.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return seen.contains("QOVAWiFiConnectedInformation"); }));
    EXPECT_TRUE(seen.contains("QOVAWiFiConnectingInformation"));
    sim.object->setUSBDeviceBlueAutoPair(pair.successBlock(), pair.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return seen.contains("QOVARemoteControlPair"); }));
    center.removeObserver(&context);
    EXPECT_EQ(disable.success, QStringLiteral("Success!"));
    EXPECT_EQ(join.success, QStringLiteral("Success!"));
}

} // namespace
