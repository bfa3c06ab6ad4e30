#include "platform/Process.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace vekaton::platform {

std::int64_t CurrentProcessId() {
    return ::getpid();
}

// Signal 0 only asks whether the process exists; EPERM means it does, under another user.
bool ProcessIsAlive(std::int64_t pid) {
    if (pid <= 0 || pid > INT_MAX) {
        return false;  // kill() would take it for a process group, or for every process
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

std::string HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return name;
}

}  // namespace vekaton::platform
