#pragma once

#include <string>
#include <string_view>

namespace vekaton {

// What the system says about a device the user was refused: read from the device file and the
// user's account by the shell, so that the advice itself stays plain text logic.
struct DeviceAccess {
    enum class Membership {
        Unknown,           // the user or the group could not be looked up
        NotMember,         // the account is not in the group that owns the device
        MemberNotInLogin,  // the account is in the group, but this login began before that
        Member,            // this login has the group
    };

    std::string ownerGroup;  // the group owning the device (its number when it has no name)
    bool ownerGroupIsRoot = false;
    std::string userName;
    Membership membership = Membership::Unknown;
    bool groupMayReadWrite = true;  // the device's mode lets its group read and write
};

// The group usual serial adapters belong to on Linux distributions.
inline constexpr std::string_view kUsualSerialGroup = "dialout";

// What to tell a user who may not open `device`: which group owns it, whether the user is in
// it, and the command that lets them in. Group changes count only from a new login, so the
// advice says so, and says it alone when the account was added after this login began.
std::string DeviceAccessAdvice(std::string_view device, const DeviceAccess& access);

}  // namespace vekaton
