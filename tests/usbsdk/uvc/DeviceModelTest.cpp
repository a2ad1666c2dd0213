// The device model as discovery fills it and the upgrader rewrites it from
// its own thread, and the record of the open device's version.

#include "QOVADeviceModel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(DeviceModel, StartsEmpty)
{
    QOVADeviceModel model;
    EXPECT_TRUE(model.productVID().isEmpty());
    EXPECT_TRUE(model.productPID().isEmpty());
    EXPECT_TRUE(model.productseriaNumber().isEmpty());
    EXPECT_TRUE(model.productVersion().isEmpty());
    EXPECT_EQ(model.interface(), nullptr);
    EXPECT_EQ(model.deviceRef(), nullptr);
    EXPECT_FALSE(model.isUpdate());
    EXPECT_FALSE(model.isDfuDevice());
}

TEST(DeviceModel, ProductIdRewrittenOnAnotherThreadReadsWhole)
{
    QOVADeviceModel model;
    model.setProductPID(QStringLiteral("6e17"));
    std::atomic<bool> stop{false};
    std::thread upgrader([&] {
        for (int i = 0; i < 20000; ++i)
            model.setProductPID(i % 2 ? QStringLiteral("6e18") : QStringLiteral("6e17"));
        stop = true;
    });
    int bad = 0;
    while (!stop) {
        const QString pid = model.productPID();
        if (pid != "6e17" && pid != "6e18")
            ++bad;
    }
    upgrader.join();
    EXPECT_EQ(bad, 0);
}

TEST(DeviceInfoSingleton, OneVersionRecordEmptyUntilAPageOpens)
{
    QOVADeviceInfoSingleton *shared = QOVADeviceInfoSingleton::sharedDevice();
    EXPECT_EQ(shared, QOVADeviceInfoSingleton::sharedDevice());
    EXPECT_TRUE(shared->currentDeviceVersion().isEmpty());
    shared->setCurrentDeviceVersion(QStringLiteral("1.4"));
    EXPECT_EQ(QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion(), "1.4");
}
