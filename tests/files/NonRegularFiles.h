#pragma once

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>

namespace vekaton::testing {

// Files that are not regular files, as a synced folder, a copied home directory or an attacker
// may leave where the program expects its own.
inline bool MakeFifo(const std::filesystem::path& path) {
    return ::mkfifo(path.c_str(), 0644) == 0;
}

// A Unix socket's file stays after the socket is closed.
inline bool MakeSocketFile(const std::filesystem::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const bool made = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return made;
}

// A character device like /dev/null, made in a scratch folder so that nothing real is at risk
// should the code under test replace it. Needs root; false otherwise.
inline bool MakeNullDevice(const std::filesystem::path& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

// A sparse file of `size` bytes that takes no room on disk.
inline bool MakeSparseFile(const std::filesystem::path& path, off_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return ::truncate(path.c_str(), size) == 0;
}

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSpaceCanBeLimited = false;  // the sanitizer's shadow needs it all
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSpaceCanBeLimited = false;
#else
inline constexpr bool kAddressSpaceCanBeLimited = true;
#endif
#else
inline constexpr bool kAddressSpaceCanBeLimited = true;
#endif

// Runs `work` in a child process whose address space is limited to `bytes`, so that code that
// tries to read a huge file whole fails there instead of eating the machine. Returns the child's
// exit code (`work`'s result), or 128 + the signal that ended it.
inline int RunWithAddressSpaceLimit(rlim_t bytes, const std::function<int()>& work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (kAddressSpaceCanBeLimited) {
            const rlimit limit{bytes, bytes};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        int code = 125;
        try {
            code = work();
        } catch (...) {
            code = 126;  // std::bad_alloc, say
        }
        ::_exit(code);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace vekaton::testing
