// A simulated device answers a request before it acts on it: a restart
// waits until the host has read the whole reply, however slow the host is.

#include "SimTestHost.h"

#include "sim/SimBus.h"
#include "sim/SimDevice.h"
#include "sim/catalogue/SimCatalogueRequestHandler.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace sim;
using namespace simtest;
using namespace std::chrono_literals;

TEST(SimAfterReplyTest, ARestartWaitsForTheHostToReadTheReply)
{
    auto bus = SimBus::create();
    auto device = bus->plug(Family::Orbrin, "OR1");
    ASSERT_TRUE(device);
    device->setRequestHandler(makeCatalogueRequestHandler(Family::Orbrin));
    const uint64_t connection = device->connection();

    const QByteArray head = QJsonDocument(QJsonObject{{"url", "ops"}, {"type", "PUT"}, {"msg_id", "18"}})
                                .toJson(QJsonDocument::Compact);
    const QByteArray body = R"({"action":"restart"})";
    for (const QByteArray &f : frameRequest(head, &body, 0))
        ASSERT_EQ(device->hidSetFeatureReport(connection, 0, reinterpret_cast<const uint8_t *>(f.constData()),
                                              size_t(f.size())),
                  0);

    // Well past the restart delay, with the reply unread, the device waits.
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(device->isConnection(connection));
    ASSERT_EQ(device->pendingReplyFrames(), 1u);

    uint8_t frame[257] = {};
    size_t actual = 0;
    ASSERT_EQ(device->hidGetFeatureReport(connection, 0, 6, frame, sizeof frame, &actual), 0);
    EXPECT_EQ(actual, sizeof frame);
    // Read: now it restarts, leaving this connection.
    EXPECT_TRUE(waitUntil([&] { return !device->isConnection(connection); }));
}
