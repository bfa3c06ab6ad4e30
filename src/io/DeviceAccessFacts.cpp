#include "io/DeviceAccessFacts.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>
#endif

namespace vekaton {

#if defined(Q_OS_UNIX)

namespace {

// Serial ports may be named without their folder ("ttyUSB0"), as QSerialPort allows.
QByteArray DevicePath(const QString& device) {
    const QString path = device.startsWith(QLatin1Char('/')) ? device : "/dev/" + device;
    return path.toLocal8Bit();
}

std::string GroupName(gid_t gid) {
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->gr_name;
    }
    return std::to_string(gid);
}

// The groups the account has in the group database (the primary one included).
std::vector<gid_t> AccountGroups(const char* user, gid_t primary) {
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    while (getgrouplist(user, primary, groups.data(), &count) < 0) {
        if (count <= static_cast<int>(groups.size())) {
            return {};  // the library refused without asking for more room
        }
        groups.resize(static_cast<std::size_t>(count));
    }
    groups.resize(static_cast<std::size_t>(count));
    return groups;
}

// The groups this process (this login) holds.
bool ProcessHasGroup(gid_t gid) {
    if (getegid() == gid) {
        return true;
    }
    const int count = getgroups(0, nullptr);
    if (count <= 0) {
        return false;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int read = getgroups(count, groups.data());
    return read > 0 && std::find(groups.begin(), groups.begin() + read, gid) != groups.end();
}

}  // namespace

DeviceAccess ReadDeviceAccess(const QString& device) {
    DeviceAccess access;
    struct stat status {};
    if (device.isEmpty() || ::stat(DevicePath(device).constData(), &status) != 0) {
        return access;
    }
    access.ownerGroup = GroupName(status.st_gid);
    access.ownerGroupIsRoot = status.st_gid == 0;
    access.groupMayReadWrite = (status.st_mode & S_IRGRP) != 0 && (status.st_mode & S_IWGRP) != 0;

    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* user = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &user) != 0 ||
        user == nullptr) {
        return access;
    }
    access.userName = user->pw_name;
    const std::vector<gid_t> groups = AccountGroups(user->pw_name, user->pw_gid);
    const bool inAccount = std::find(groups.begin(), groups.end(), status.st_gid) != groups.end();
    if (ProcessHasGroup(status.st_gid)) {
        access.membership = DeviceAccess::Membership::Member;
    } else if (inAccount) {
        access.membership = DeviceAccess::Membership::MemberNotInLogin;
    } else if (!groups.empty()) {
        access.membership = DeviceAccess::Membership::NotMember;
    }
    return access;
}

#else

DeviceAccess ReadDeviceAccess(const QString&) {
    return {};
}

#endif

}  // namespace vekaton
