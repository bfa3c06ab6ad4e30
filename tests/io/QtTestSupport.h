#pragma once

#include "support/QtWait.h"

namespace vekaton::testing {

// Runs the Qt event loop for the given time.
void ProcessEventsFor(int ms);

}  // namespace vekaton::testing
