// vekaton-cli live, run as an ordinary user, on a device node it may not open: the message says
// which group owns the device, whether the user is in it, and what to do. A FIFO stands in for
// the serial device; opening it is refused by the same permission check.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

#include "E2eSupport.h"
#include "files/ScratchFolder.h"
#include "support/UnprivilegedRun.h"

namespace vekaton::testing {
namespace {

constexpr int kExitFailed = 1;
constexpr int kWaitMs = 20000;

class PortPermissionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto user = FindUnprivilegedUser();
        if (!user) {
            GTEST_SKIP() << "needs root and setpriv to run the program as an ordinary user";
        }
        user_ = *user;
        folder_.Write("Default.Ini", SettingsFile(LinkSetUp{}));
        folder_.Write("Default.cfg", EngineModelParameterFile());
        ASSERT_EQ(chmod(folder_.Path().c_str(), 0755), 0);
    }

    // A device the account may not open, owned by root and the group gid. Its name is unique:
    // the serial port's lock file is named after it.
    std::string Device(gid_t gid, mode_t mode) {
        static std::atomic<int> counter{0};
        const std::string path =
            (folder_ / ("ttyVK" + std::to_string(getpid()) + "x" + std::to_string(++counter)))
                .string();
        EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
        EXPECT_EQ(chown(path.c_str(), 0, gid), 0);
        EXPECT_EQ(chmod(path.c_str(), mode), 0);
        return path;
    }

    // Runs live on the device as the account holding only the group loginGid; its errors.
    std::string LiveErrors(const std::string& device, gid_t loginGid) {
        const auto command = RunAsCommand(user_, loginGid, CliProgram(),
                                          {"live", "--dir", folder_.Path().string(), "--port",
                                           device, "--frames", "1", "-o", "/dev/null"});
        ChildProcess live(command.front(), {command.begin() + 1, command.end()},
                          folder_ / "cli.out", folder_ / "cli.err");
        EXPECT_TRUE(live.Started());
        EXPECT_EQ(live.Wait(kWaitMs), kExitFailed);
        return folder_.Read("cli.err");
    }

    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    UnprivilegedUser user_;
    ScratchFolder folder_;
};

TEST_F(PortPermissionTest, UserOutsideTheDevicesGroupIsToldToJoinItAndLogInAgain) {
    const auto other = GroupWithout(user_);
    if (!other) {
        GTEST_SKIP() << "no group without the account";
    }
    const std::string device = Device(other->first, 0660);
    const std::string errors = LiveErrors(device, user_.primaryGid);
    EXPECT_TRUE(Has(errors, "Invalid Com#")) << errors;
    EXPECT_TRUE(Has(errors, device + ": Permission denied")) << errors;
    EXPECT_TRUE(Has(errors, "belongs to the group \"" + other->second + "\"")) << errors;
    EXPECT_TRUE(Has(errors, "\"" + user_.name + "\" is not in it")) << errors;
    EXPECT_TRUE(Has(errors, "sudo usermod -aG " + other->second + " $USER")) << errors;
    EXPECT_TRUE(Has(errors, "log out and log in again")) << errors;
}

TEST_F(PortPermissionTest, MemberWhoseLoginPredatesTheGroupIsToldToLogInAgain) {
    const auto other = GroupWithout(user_);
    if (!other) {
        GTEST_SKIP() << "no group without the account";
    }
    // The account's own group owns the device, but this login holds another group only.
    const std::string device = Device(user_.primaryGid, 0660);
    const std::string errors = LiveErrors(device, other->first);
    EXPECT_TRUE(Has(errors, "belongs to the group \"" + user_.primaryGroup + "\"")) << errors;
    EXPECT_TRUE(Has(errors, "this login began before it was added")) << errors;
    EXPECT_FALSE(Has(errors, "usermod")) << errors;
}

TEST_F(PortPermissionTest, MemberRefusedByTheDevicesModeIsToldToAllowTheGroup) {
    const std::string device = Device(user_.primaryGid, 0600);
    const std::string errors = LiveErrors(device, user_.primaryGid);
    EXPECT_TRUE(Has(errors, "\"" + user_.name + "\" is in it")) << errors;
    EXPECT_TRUE(Has(errors, "sudo chmod g+rw " + device)) << errors;
}

}  // namespace
}  // namespace vekaton::testing
