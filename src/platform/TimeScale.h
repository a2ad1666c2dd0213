#pragma once
// Every period, delay and time-out keeps its real value by default. Tests
// scale them down (ORVALINDE_TIME_SCALE=0.01, or setTimeScale) so that no test
// waits for real seconds.

#include <chrono>

namespace platform {

double timeScale();
void setTimeScale(double factor);

// A duration in milliseconds, scaled; never below 0, at least 1 ms when the
// unscaled value was positive.
int scaledMs(double milliseconds);
std::chrono::milliseconds scaled(std::chrono::milliseconds duration);

} // namespace platform
