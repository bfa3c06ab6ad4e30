#pragma once

#include <string>
#include <string_view>
#include <system_error>

// Windows' own error codes as std::error_code: the system's wording, and the portable conditions
// (std::errc) that the rest of the program compares against.
namespace vekaton::platform {

const std::error_category& WindowsCategory();
std::error_code WindowsError(unsigned long code);
std::error_code LastWindowsError();  // GetLastError()

// Windows speaks UTF-16; the program's texts are UTF-8.
std::string Utf8(std::wstring_view text);

}  // namespace vekaton::platform
