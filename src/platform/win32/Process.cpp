#include "platform/Process.h"

#include <iterator>

#include "platform/win32/WindowsApi.h"
#include "platform/win32/WindowsError.h"

namespace vekaton::platform {

std::int64_t CurrentProcessId() {
    return GetCurrentProcessId();
}

// A process that ended stays signalled for as long as anyone holds a handle to it, so its state,
// not its existence, decides. One of another user that may not be opened exists all the same.
bool ProcessIsAlive(std::int64_t pid) {
    if (pid <= 0 || pid > 0xFFFFFFFF) {
        return false;
    }
    const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                       static_cast<DWORD>(pid));
    if (process == nullptr) {
        return GetLastError() == ERROR_ACCESS_DENIED;
    }
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

std::string HostName() {
    wchar_t name[256] = {};
    DWORD size = static_cast<DWORD>(std::size(name));
    if (!GetComputerNameExW(ComputerNameDnsHostname, name, &size)) {
        return {};
    }
    return Utf8(std::wstring_view(name, size));
}

}  // namespace vekaton::platform
