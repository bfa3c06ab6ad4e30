#pragma once

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

namespace vekaton::testing {

// An ordinary account to run a program as, so that tests running as root (which ignores file
// permissions) can watch what a user who may not open a device is told. Switching needs root
// and setpriv (util-linux); without them there is no such account and the test is skipped.
struct UnprivilegedUser {
    uid_t uid = 0;
    gid_t primaryGid = 0;
    std::string name;
    std::string primaryGroup;
};

inline constexpr const char* kSetpriv = "/usr/bin/setpriv";

inline std::optional<UnprivilegedUser> FindUnprivilegedUser() {
    if (geteuid() != 0 || access(kSetpriv, X_OK) != 0) {
        return std::nullopt;
    }
    const passwd* user = getpwnam("nobody");
    if (user == nullptr || user->pw_uid == 0) {
        return std::nullopt;
    }
    const group* primary = getgrgid(user->pw_gid);
    if (primary == nullptr) {
        return std::nullopt;
    }
    return UnprivilegedUser{user->pw_uid, user->pw_gid, user->pw_name, primary->gr_name};
}

// A group the account is not in (by the group database), with its name.
inline std::optional<std::pair<gid_t, std::string>> GroupWithout(const UnprivilegedUser& user) {
    for (const char* name : {"dialout", "uucp", "adm", "users"}) {
        const group* entry = getgrnam(name);
        if (entry == nullptr || entry->gr_gid == user.primaryGid || entry->gr_gid == 0) {
            continue;
        }
        bool member = false;
        for (char** m = entry->gr_mem; *m != nullptr; ++m) {
            member = member || user.name == *m;
        }
        if (!member) {
            return std::pair{entry->gr_gid, std::string(entry->gr_name)};
        }
    }
    return std::nullopt;
}

// The command line that runs program as the account, holding gid as its only group.
inline std::vector<std::string> RunAsCommand(const UnprivilegedUser& user, gid_t gid,
                                             const std::string& program,
                                             const std::vector<std::string>& args) {
    std::vector<std::string> command{kSetpriv,
                                     "--reuid=" + std::to_string(user.uid),
                                     "--regid=" + std::to_string(gid),
                                     "--clear-groups",
                                     "--",
                                     program};
    command.insert(command.end(), args.begin(), args.end());
    return command;
}

}  // namespace vekaton::testing
