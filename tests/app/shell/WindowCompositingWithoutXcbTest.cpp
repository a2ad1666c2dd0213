// The compositing question built without xcb, as a build that turns
// ORVALINDE_WITH_XCB off or finds no xcb makes it: it compiles and links
// without the library, never asks an X server, and so keeps the toasts'
// translucent corners on every display; tests can still choose the answer.

#include "WindowCompositing.h"

#include <gtest/gtest.h>

#ifdef ORVALINDE_HAVE_XCB
#error "this test builds WindowCompositing.cpp without xcb"
#endif

TEST(WindowCompositingWithoutXcb, EveryDisplayCountsAsTranslucent)
{
    EXPECT_TRUE(windowcompositing::translucentWindows());
    windowcompositing::setTranslucentWindowsForTesting(false);
    EXPECT_FALSE(windowcompositing::translucentWindows());
    windowcompositing::setTranslucentWindowsForTesting(std::nullopt);
    EXPECT_TRUE(windowcompositing::translucentWindows());
}
