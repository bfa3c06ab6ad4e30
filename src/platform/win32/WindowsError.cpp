#include "platform/win32/WindowsError.h"

#include "platform/win32/WindowsApi.h"

namespace vekaton::platform {

namespace {

class WindowsErrorCategory : public std::error_category {
  public:
    const char* name() const noexcept override { return "windows"; }

    // "Access is denied", as the system says it, without the closing full stop: messages go on
    // after it.
    std::string message(int code) const override {
        wchar_t* text = nullptr;
        const DWORD length = FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        std::string message;
        if (length > 0 && text != nullptr) {
            message = Utf8(std::wstring_view(text, length));
        }
        LocalFree(text);
        while (!message.empty() && (message.back() == '.' || message.back() == ' ' ||
                                    message.back() == '\r' || message.back() == '\n')) {
            message.pop_back();
        }
        return message.empty() ? "Windows error " + std::to_string(code) : message;
    }

    std::error_condition default_error_condition(int code) const noexcept override {
        switch (static_cast<DWORD>(code)) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_INVALID_DRIVE:
                return std::errc::no_such_file_or_directory;
            case ERROR_ACCESS_DENIED:
                return std::errc::permission_denied;
            case ERROR_FILE_EXISTS:
            case ERROR_ALREADY_EXISTS:
                return std::errc::file_exists;
            case ERROR_SHARING_VIOLATION:
            case ERROR_LOCK_VIOLATION:
                return std::errc::device_or_resource_busy;
            case ERROR_DISK_FULL:
            case ERROR_HANDLE_DISK_FULL:
                return std::errc::no_space_on_device;
            case ERROR_CANT_RESOLVE_FILENAME:
                return std::errc::too_many_symbolic_link_levels;
            case ERROR_DIRECTORY:
                return std::errc::not_a_directory;
            case ERROR_NOT_ENOUGH_MEMORY:
            case ERROR_OUTOFMEMORY:
                return std::errc::not_enough_memory;
            default:
                return {code, *this};
        }
    }
};

}  // namespace

const std::error_category& WindowsCategory() {
    static const WindowsErrorCategory category;
    return category;
}

std::error_code WindowsError(unsigned long code) {
    return {static_cast<int>(code), WindowsCategory()};
}

std::error_code LastWindowsError() {
    return WindowsError(GetLastError());
}

std::string Utf8(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int wide = static_cast<int>(text.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, out.data(), bytes, nullptr, nullptr);
    }
    return out;
}

}  // namespace vekaton::platform
