#pragma once
// Whether the display shows what lies behind a window's transparent pixels.
// Wayland and X11 with a compositing manager do; a bare X server (no
// compositing manager, as under Xvfb) fills them with black, so a window of
// rounded shape cuts its corners off with a window mask there. Built
// without xcb (ORVALINDE_WITH_XCB off, or no xcb found) the X server is not
// asked and windows count as translucent.

#include <optional>

namespace windowcompositing {

// Asked each time; a compositing manager can start or stop at any moment.
bool translucentWindows();

// Tests choose the answer (std::nullopt asks the display again).
void setTranslucentWindowsForTesting(std::optional<bool> translucent);

} // namespace windowcompositing
