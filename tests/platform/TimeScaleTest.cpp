#include "platform/TimeScale.h"

#include <gtest/gtest.h>

TEST(TimeScale, ScalesAndKeepsPositiveDurationsPositive)
{
    const double before = platform::timeScale();
    platform::setTimeScale(0.01);
    EXPECT_EQ(platform::scaledMs(60000), 600);
    EXPECT_EQ(platform::scaledMs(10), 1);   // never rounds a real wait to zero
    EXPECT_EQ(platform::scaledMs(0), 0);
    platform::setTimeScale(-1);              // ignored
    EXPECT_DOUBLE_EQ(platform::timeScale(), 0.01);
    platform::setTimeScale(before);
}
