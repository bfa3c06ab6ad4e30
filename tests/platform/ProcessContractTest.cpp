// Whether a process runs, as lock files and temporary file names ask it, on every operating
// system: the same file runs against each implementation.
#include "platform/Process.h"

#include <gtest/gtest.h>

#include <ctime>

#include "platform/LocalTime.h"
#include "support/ChildProcess.h"

namespace vekaton::platform {
namespace {

TEST(PlatformProcess, ThisProcessRunsAndHasAnId) {
    const std::int64_t self = CurrentProcessId();
    EXPECT_GT(self, 0);
    EXPECT_EQ(CurrentProcessId(), self);
    EXPECT_TRUE(ProcessIsAlive(self));
}

TEST(PlatformProcess, AnotherProcessRunsUntilItEnds) {
    testing::ChildProcess child;
    ASSERT_GT(child.Pid(), 0);
    EXPECT_NE(child.Pid(), CurrentProcessId());
    EXPECT_TRUE(ProcessIsAlive(child.Pid()));
    child.End();
    EXPECT_FALSE(ProcessIsAlive(child.Pid()));
}

// IDs that no process can have, as a damaged lock file or file name may carry.
TEST(PlatformProcess, ImpossibleIdsNameNoProcess) {
    for (const std::int64_t pid : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{-4096},
                                   std::int64_t{1} << 40, std::int64_t{0x7FFFFFFFFFFFFFFF}}) {
        EXPECT_FALSE(ProcessIsAlive(pid)) << pid;
    }
}

TEST(PlatformProcess, TheHostHasAName) {
    const std::string host = HostName();
    EXPECT_FALSE(host.empty());
    EXPECT_EQ(host.find_first_of("\r\n"), std::string::npos);  // it is one line of a lock file
    EXPECT_EQ(HostName(), host);
}

TEST(PlatformLocalTime, CalendarTimeGoesBackToTheSameMoment) {
    const std::time_t now = std::time(nullptr);
    std::tm local = LocalTime(now);
    EXPECT_GE(local.tm_year + 1900, 2024);
    EXPECT_GE(local.tm_mon, 0);
    EXPECT_LE(local.tm_mon, 11);
    EXPECT_GE(local.tm_mday, 1);
    EXPECT_LE(local.tm_mday, 31);
    EXPECT_EQ(std::mktime(&local), now);
}

}  // namespace
}  // namespace vekaton::platform
