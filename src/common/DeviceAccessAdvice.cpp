#include "common/DeviceAccessAdvice.h"

#include "common/MessageText.h"

namespace vekaton {

namespace {

std::string JoinCommand(std::string_view group) {
    return "    sudo usermod -aG " + QuoteText(group) + " $USER\n";
}

constexpr std::string_view kNewLogin =
    "then log out and log in again: a new group counts only from the next login.";

std::string Quoted(std::string_view text) {
    return "\"" + QuoteText(text) + "\"";
}

std::string UserText(const DeviceAccess& access, bool sentenceStart = false) {
    std::string text = sentenceStart ? "Your user" : "your user";
    if (!access.userName.empty()) {
        text += " " + Quoted(access.userName);
    }
    return text;
}

}  // namespace

std::string DeviceAccessAdvice(std::string_view device, const DeviceAccess& access) {
    const std::string shownDevice = QuotePath(std::string(device));
    if (access.ownerGroup.empty()) {
        // Nothing could be read about the device: name the usual group and how to check.
        return "Your user may not open this device. Add it to the group that owns the device "
               "(ls -l " +
               shownDevice + " shows it; usually " + std::string(kUsualSerialGroup) + "):\n" +
               JoinCommand(kUsualSerialGroup) + std::string(kNewLogin);
    }
    const std::string group = Quoted(access.ownerGroup);
    if (access.ownerGroupIsRoot) {
        // Joining root's group would be the wrong cure: the device needs a serial group.
        return "The device belongs to the group " + group +
               ", so only the administrator may open it. Serial adapters normally belong to " +
               "the group " + std::string(kUsualSerialGroup) +
               "; give this one to it (until it is plugged in again; a udev rule makes it "
               "lasting):\n    sudo chgrp " +
               std::string(kUsualSerialGroup) + " " + shownDevice + " && sudo chmod g+rw " +
               shownDevice + "\nand, if " + UserText(access) + " is not in that group:\n" +
               JoinCommand(kUsualSerialGroup) + std::string(kNewLogin);
    }
    switch (access.membership) {
        case DeviceAccess::Membership::NotMember:
            return "The device belongs to the group " + group + ", and " + UserText(access) +
                   " is not in it. Add it with\n" + JoinCommand(access.ownerGroup) +
                   std::string(kNewLogin);
        case DeviceAccess::Membership::MemberNotInLogin:
            return "The device belongs to the group " + group + ". " + UserText(access, true) +
                   " is in that group, but this login began before it was added, so it does "
                   "not count yet. Log out and log in again (or restart the computer).";
        case DeviceAccess::Membership::Member:
            if (!access.groupMayReadWrite) {
                return "The device belongs to the group " + group + ", and " + UserText(access) +
                       " is in it, but the device does not let that group read and write it. "
                       "Allow it with\n    sudo chmod g+rw " +
                       shownDevice;
            }
            return "The device belongs to the group " + group + ", " + UserText(access) +
                   " is in it and the group may use it, so something else refuses access: an "
                   "access control list (getfacl " +
                   shownDevice + "), a security module or a sandbox.";
        case DeviceAccess::Membership::Unknown:
            break;
    }
    return "The device belongs to the group " + group +
           ". If your user is not in it, add it "
           "with\n" +
           JoinCommand(access.ownerGroup) + std::string(kNewLogin);
}

}  // namespace vekaton
