#include <gtest/gtest.h>

#include "common/DeviceAccessAdvice.h"

namespace vekaton {
namespace {

using Membership = DeviceAccess::Membership;

DeviceAccess Access(const std::string& group, Membership membership) {
    DeviceAccess access;
    access.ownerGroup = group;
    access.userName = "ana";
    access.membership = membership;
    return access;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(DeviceAccessAdviceTest, UserOutsideTheGroupIsToldTheGroupTheCommandAndTheNewLogin) {
    const std::string advice =
        DeviceAccessAdvice("/dev/ttyUSB0", Access("uucp", Membership::NotMember));
    EXPECT_TRUE(Has(advice, "belongs to the group \"uucp\"")) << advice;
    EXPECT_TRUE(Has(advice, "your user \"ana\" is not in it")) << advice;
    EXPECT_TRUE(Has(advice, "\n    sudo usermod -aG uucp $USER\n")) << advice;
    EXPECT_TRUE(Has(advice, "log out and log in again")) << advice;
}

TEST(DeviceAccessAdviceTest, MemberWhoseLoginPredatesTheGroupNeedsOnlyANewLogin) {
    const std::string advice =
        DeviceAccessAdvice("/dev/ttyUSB0", Access("dialout", Membership::MemberNotInLogin));
    EXPECT_TRUE(Has(advice, "Your user \"ana\" is in that group")) << advice;
    EXPECT_TRUE(Has(advice, "this login began before it was added")) << advice;
    EXPECT_TRUE(Has(advice, "log in again")) << advice;
    // Joining again would change nothing.
    EXPECT_FALSE(Has(advice, "usermod")) << advice;
}

TEST(DeviceAccessAdviceTest, MemberRefusedByTheModeOrBySomethingElse) {
    DeviceAccess access = Access("dialout", Membership::Member);
    access.groupMayReadWrite = false;
    const std::string byMode = DeviceAccessAdvice("/dev/ttyS1", access);
    EXPECT_TRUE(Has(byMode, "sudo chmod g+rw /dev/ttyS1")) << byMode;
    EXPECT_FALSE(Has(byMode, "usermod")) << byMode;

    access.groupMayReadWrite = true;
    const std::string other = DeviceAccessAdvice("/dev/ttyS1", access);
    EXPECT_TRUE(Has(other, "something else refuses access")) << other;
    EXPECT_TRUE(Has(other, "getfacl /dev/ttyS1")) << other;
    EXPECT_FALSE(Has(other, "usermod")) << other;
}

TEST(DeviceAccessAdviceTest, DeviceOfRootsGroupIsGivenToTheSerialGroupInstead) {
    DeviceAccess access = Access("root", Membership::NotMember);
    access.ownerGroupIsRoot = true;
    const std::string advice = DeviceAccessAdvice("/dev/ttyUSB0", access);
    EXPECT_TRUE(Has(advice, "only the administrator may open it")) << advice;
    EXPECT_TRUE(Has(advice, "sudo chgrp dialout /dev/ttyUSB0")) << advice;
    EXPECT_TRUE(Has(advice, "sudo usermod -aG dialout $USER")) << advice;
    EXPECT_FALSE(Has(advice, "usermod -aG root")) << advice;
}

TEST(DeviceAccessAdviceTest, UnknownFactsStillGiveTheUsualCure) {
    const std::string nothingKnown = DeviceAccessAdvice("/dev/ttyUSB0", DeviceAccess{});
    EXPECT_TRUE(Has(nothingKnown, "ls -l /dev/ttyUSB0")) << nothingKnown;
    EXPECT_TRUE(Has(nothingKnown, "sudo usermod -aG dialout $USER")) << nothingKnown;

    DeviceAccess groupOnly;
    groupOnly.ownerGroup = "plugdev";
    const std::string advice = DeviceAccessAdvice("/dev/ttyUSB0", groupOnly);
    EXPECT_TRUE(Has(advice, "sudo usermod -aG plugdev $USER")) << advice;
    EXPECT_TRUE(Has(advice, "log in again")) << advice;
}

TEST(DeviceAccessAdviceTest, NamesFromTheSystemAreQuotedSafely) {
    DeviceAccess access = Access("dial\nout", Membership::NotMember);
    access.userName = "a\x1b[2Jb";
    const std::string advice = DeviceAccessAdvice("/dev/tty\tX", access);
    EXPECT_FALSE(Has(advice, "\x1b")) << advice;
    EXPECT_FALSE(Has(advice, "dial\nout")) << advice;
    EXPECT_TRUE(Has(advice, "\"dial\\nout\"")) << advice;

    access.membership = Membership::Member;
    access.groupMayReadWrite = false;
    const std::string chmod = DeviceAccessAdvice("/dev/tty\tX", access);
    EXPECT_TRUE(Has(chmod, "chmod g+rw /dev/tty\\tX")) << chmod;
}

}  // namespace
}  // namespace vekaton
