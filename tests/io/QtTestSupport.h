#pragma once

#include <functional>

namespace vekaton::testing {

// Runs the Qt event loop until the condition holds or the deadline passes; returns the
// condition's last value. Deadlines only bound a wait, they never judge speed.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Runs the Qt event loop for the given time.
void ProcessEventsFor(int ms);

}  // namespace vekaton::testing
