#include "platform/linux/HidReportDescriptor.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using platform::linuxhid::primaryUsagePage;

TEST(HidReportDescriptor, PrimaryUsagePageIsTheFirstUsagePageItem)
{
    const struct {
        const char *name;
        std::vector<uint8_t> descriptor;
        std::optional<uint32_t> page;
    } cases[] = {
        {"vendor page, two data bytes",
         {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06, 0x05, 0x01}, 0xFF00},
        {"consumer page, one data byte", {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01}, 0x0C},
        {"four data bytes", {0x07, 0x34, 0x12, 0x00, 0x00}, 0x1234},
        {"after a usage and a long item",
         {0x09, 0x01, 0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x06, 0xA0, 0xFF}, 0xFFA0},
        {"usage page after other globals", {0x15, 0x00, 0x26, 0xFF, 0x00, 0x05, 0x0B}, 0x0B},
        {"none", {0x09, 0x01, 0xA1, 0x01, 0xC0}, std::nullopt},
        {"item cut short", {0x06, 0x00}, std::nullopt},
        {"long item cut short", {0xFE, 0x08, 0x10, 0x01}, std::nullopt},
        {"empty", {}, std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(primaryUsagePage(c.descriptor.data(), c.descriptor.size()), c.page);
    }
}
