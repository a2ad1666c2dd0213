// Two callers asking a device for the same thing at once (a page and the
// device list, say) share one request and both hear the answer.

#include "CatalogueSupport.h"

#include "QOVAPayloadModels.h"

#include <gtest/gtest.h>

using namespace cataloguetest;

namespace {

int sentWithUrl(const sim::SimDevice &device, const QString &url)
{
    int n = 0;
    for (const sim::SimReceivedRequest &r : device.receivedRequests()) {
        if (r.head.contains(("\"url\":\"" + url + "\"").toUtf8()))
            ++n;
    }
    return n;
}

} // namespace

TEST(ConcurrentGet, CallersOfOneRequestInFlightShareItsReplyOrFailure)
{
    SimulatedFamilyDevice vasko(sim::Family::Vasko);
    ASSERT_TRUE(vasko.ready());
    sim::SimFaults slow;
    slow.replyDelayMs = 30;  // both callers ask before the first reply lands
    vasko.device->setFaults(slow);

    Outcome list, page, info1, info2;
    vasko.object->getUSBDeviceOob(list.completionBlock(), list.failureBlock());
    vasko.object->getUSBDeviceOob(page.completionBlock(), page.failureBlock());
    vasko.object->getUSBDeviceDeviceInformationWithBlock(info1.completionBlock(), info1.failureBlock());
    vasko.object->getUSBDeviceDeviceInformationWithBlock(info2.completionBlock(), info2.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return list.calls && page.calls && info1.calls && info2.calls; }));
    settle();
    for (const Outcome *o : {&list, &page, &info1, &info2}) {
        EXPECT_EQ(o->calls, 1);
        EXPECT_FALSE(o->failure) << qPrintable(o->failure.value_or(QString()));
        EXPECT_TRUE(o->model());
    }
    EXPECT_TRUE(qova_model_cast<OOBModel>(page.model()));
    EXPECT_TRUE(qova_model_cast<DeviceInfoModel>(info2.model()));
    EXPECT_EQ(sentWithUrl(*vasko.device, "if_need_oob"), 1);
    EXPECT_EQ(sentWithUrl(*vasko.device, "device_info"), 1);

    // Once answered, the next ask is a request of its own; a refusal reaches
    // every caller waiting on it.
    sim::SimFaults refused = slow;
    refused.statusCode = 500;
    vasko.device->setFaults(refused);
    Outcome again1, again2;
    vasko.object->getUSBDeviceOob(again1.completionBlock(), again1.failureBlock());
    vasko.object->getUSBDeviceOob(again2.completionBlock(), again2.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return again1.calls && again2.calls; }));
    EXPECT_TRUE(again1.failure);
    EXPECT_TRUE(again2.failure);
    EXPECT_EQ(sentWithUrl(*vasko.device, "if_need_oob"), 2);
}
