#pragma once

#include <ctime>

namespace vekaton::platform {

// The calendar time at `when` in this machine's time zone (the C library's own call for it is
// not the same on every system).
std::tm LocalTime(std::time_t when);

}  // namespace vekaton::platform
