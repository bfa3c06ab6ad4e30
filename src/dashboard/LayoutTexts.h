#pragma once

#include <string_view>

namespace vekaton::texts {

// The questions and messages of reading a damaged layout file.
inline constexpr std::string_view kLayoutReadError = "ERROR Reading DataStream at Pos:";
inline constexpr std::string_view kLayoutTryingToRead = ", Trying to Read: ";
inline constexpr std::string_view kTrySkippingFile = "Try Skipping File Information ?";
inline constexpr std::string_view kTrySkippingForm = "Try Skipping Form Information ?";
inline constexpr std::string_view kUnableToRecover = "Unable to Recover";

}  // namespace vekaton::texts
