#pragma once

#include <string>

namespace vekaton {

// The shortest decimal text that reads back to the same 64-bit float (4660, 0.5, -9,
// 3.141592653589793). Used for CSV output, the command line and messages.
std::string ShortestFloatText(double value);

}  // namespace vekaton
