#include "platform/Files.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "platform/win32/WindowsApi.h"
#include "platform/win32/WindowsError.h"

namespace vekaton::platform {

namespace {

// Every handle of the program lets others read, write, rename and delete the file meanwhile, as
// a POSIX descriptor does: a log being recorded can be viewed, a file being read can be replaced.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE Native(const FileHandle& handle) {
    return handle.Get();
}

FileHandle Opened(HANDLE handle, std::error_code& error) {
    if (handle == INVALID_HANDLE_VALUE) {
        error = LastWindowsError();
        return {};
    }
    error.clear();
    return FileHandle(handle);
}

wchar_t UpperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// "CON", "nul.txt", "COM3": names Windows takes for its devices in every folder. Opening one
// would open the device, and a serial port acts on being opened.
bool IsDeviceName(const std::filesystem::path& path) {
    std::wstring stem = path.filename().native();
    stem = stem.substr(0, stem.find(L'.'));
    while (!stem.empty() && (stem.back() == L' ' || stem.back() == L':')) {
        stem.pop_back();
    }
    std::transform(stem.begin(), stem.end(), stem.begin(), UpperAscii);
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
        if (stem == device) {
            return true;
        }
    }
    return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) &&
           stem[3] >= L'1' && stem[3] <= L'9';
}

// Paths in the device namespace ("\\.\COM3", "\\.\pipe\x") and the reserved device names.
std::optional<FileKind> DeviceKind(const std::filesystem::path& path) {
    std::wstring text = path.native();
    std::transform(text.begin(), text.end(), text.begin(), UpperAscii);
    if (text.starts_with(L"\\\\.\\") || text.starts_with(L"//./")) {
        return text.substr(4).starts_with(L"PIPE") ? FileKind::Fifo : FileKind::CharacterDevice;
    }
    if (IsDeviceName(path)) {
        return FileKind::CharacterDevice;
    }
    return std::nullopt;
}

}  // namespace

std::error_code FileHandle::Close() {
    if (handle_ == kNoHandle) {
        return {};
    }
    const HANDLE handle = Release();
    return CloseHandle(handle) ? std::error_code() : LastWindowsError();
}

// The handle decides, as it follows links; opening it for its attributes alone neither reads nor
// locks the file.
FileKind KindOfPath(const std::filesystem::path& path, std::error_code& error) {
    error.clear();
    if (const auto device = DeviceKind(path)) {
        return *device;
    }
    const HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        error = WindowsError(code);
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
            return IsSymbolicLink(path) ? FileKind::BrokenLink : FileKind::Missing;
        }
        if (code == ERROR_CANT_RESOLVE_FILENAME) {
            return FileKind::LinkLoop;
        }
        // A file this user may not open is still listed in its folder.
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
            error.clear();
            return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::Folder
                                                                           : FileKind::Regular;
        }
        return FileKind::Other;
    }
    const FileHandle opened(handle);
    HandleFacts facts;
    error = Examine(opened, facts);
    return error ? FileKind::Other : facts.kind;
}

std::optional<PathIdentity> IdentityOfPath(const std::filesystem::path& path) {
    const HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    const FileHandle opened(handle);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(handle, &information)) {
        return std::nullopt;
    }
    HandleFacts facts;
    if (Examine(opened, facts)) {
        return std::nullopt;
    }
    return PathIdentity{
        information.dwVolumeSerialNumber,
        (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow, facts.kind};
}

bool IsSymbolicLink(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return false;
    }
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return found.dwReserved0 == IO_REPARSE_TAG_SYMLINK;
}

FileHandle OpenWithoutWaiting(const std::filesystem::path& path, Access access,
                              std::error_code& error) {
    DWORD rights = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    if (access == Access::Write) {
        rights = GENERIC_WRITE | FILE_READ_ATTRIBUTES;
        disposition = OPEN_ALWAYS;
    } else if (access == Access::Append) {
        rights = FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
        disposition = OPEN_ALWAYS;
    }
    return Opened(CreateFileW(path.c_str(), rights, kShareAll, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                  error);
}

FileHandle CreateNew(const std::filesystem::path& path, std::error_code& error) {
    return Opened(CreateFileW(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                  error);
}

std::error_code Examine(const FileHandle& handle, HandleFacts& facts) {
    SetLastError(NO_ERROR);
    switch (GetFileType(Native(handle))) {
        case FILE_TYPE_DISK: {
            BY_HANDLE_FILE_INFORMATION info{};
            if (!GetFileInformationByHandle(Native(handle), &info)) {
                return LastWindowsError();
            }
            facts.kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                             ? FileKind::Folder
                             : FileKind::Regular;
            facts.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
            return {};
        }
        case FILE_TYPE_CHAR:
            facts.kind = FileKind::CharacterDevice;
            break;
        case FILE_TYPE_PIPE:
            facts.kind = FileKind::Fifo;
            break;
        default:
            if (GetLastError() != NO_ERROR) {
                return LastWindowsError();
            }
            facts.kind = FileKind::Other;
            break;
    }
    facts.size = 0;
    return {};
}

void UseWaitingCalls(const FileHandle&) {
    // Windows opened the file for ordinary waiting calls already.
}

std::size_t Read(const FileHandle& handle, std::span<std::byte> out, std::error_code& error) {
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(out.size(), 1u << 30));
    if (!ReadFile(Native(handle), out.data(), wanted, &got, nullptr)) {
        const DWORD code = GetLastError();
        if (code == ERROR_HANDLE_EOF || code == ERROR_BROKEN_PIPE) {
            error.clear();
            return 0;
        }
        error = WindowsError(code);
        return 0;
    }
    error.clear();
    return got;
}

// A read at an offset moves a Windows handle's position; it is put back, so that ReadAt leaves
// Read where it was, as pread() does.
std::size_t ReadAt(const FileHandle& handle, std::uint64_t offset, std::span<std::byte> out,
                   std::error_code& error) {
    LARGE_INTEGER position{};
    const LARGE_INTEGER zero{};
    const bool known = SetFilePointerEx(Native(handle), zero, &position, FILE_CURRENT) != 0;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(out.size(), 1u << 30));
    const bool read = ReadFile(Native(handle), out.data(), wanted, &got, &at) != 0;
    const DWORD code = read ? NO_ERROR : GetLastError();
    if (known) {
        SetFilePointerEx(Native(handle), position, nullptr, FILE_BEGIN);
    }
    if (!read && code != ERROR_HANDLE_EOF) {
        error = WindowsError(code);
        return 0;
    }
    error.clear();
    return read ? got : 0;
}

std::error_code WriteAll(const FileHandle& handle, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(Native(handle), bytes.data(), chunk, &written, nullptr)) {
            return LastWindowsError();
        }
        bytes.remove_prefix(written);
    }
    return {};
}

// Sets the end without moving the handle's position, as ftruncate() does.
std::error_code Truncate(const FileHandle& handle) {
    FILE_END_OF_FILE_INFO end{};
    if (!SetFileInformationByHandle(Native(handle), FileEndOfFileInfo, &end, sizeof end)) {
        return LastWindowsError();
    }
    return {};
}

std::error_code SyncToDisk(const FileHandle& handle) {
    return FlushFileBuffers(Native(handle)) ? std::error_code() : LastWindowsError();
}

void CopyAccessRights(const std::filesystem::path&, const FileHandle&) {
    // A new file in the folder inherits the folder's access rules, as the old one did.
}

// The old file may be open elsewhere: while anyone holds it, even with delete sharing, Windows
// refuses to put another file in its place, and that refusal is the answer.
std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (!MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return LastWindowsError();
    }
    return {};
}

void SyncFolder(const std::filesystem::path&) {
    // Windows flushes no folder; MOVEFILE_WRITE_THROUGH has waited for the replace already.
}

// The C library takes a duplicate, so that on failure the caller still owns the original.
std::FILE* OpenStream(FileHandle& handle, const char* mode) {
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), Native(handle), GetCurrentProcess(), &copy, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        errno = EBADF;
        return nullptr;
    }
    int flags = 0;
    if (std::strchr(mode, 'a') != nullptr) {
        flags |= _O_APPEND;
    }
    if (mode[0] == 'r' && std::strchr(mode, '+') == nullptr) {
        flags |= _O_RDONLY;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(copy), flags);
    if (descriptor < 0) {
        const int saved = errno;
        CloseHandle(copy);
        errno = saved;
        return nullptr;
    }
    std::FILE* stream = _fdopen(descriptor, mode);
    if (stream == nullptr) {
        const int saved = errno;
        _close(descriptor);
        errno = saved;
        return nullptr;
    }
    handle.Close();
    return stream;
}

}  // namespace vekaton::platform
