// Whether a save's temporary file is a leftover is decided by whether the process that wrote it
// still runs, on every operating system.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "files/ScratchFolder.h"
#include "platform/Process.h"
#include "set/LeftoverFiles.h"
#include "support/ChildProcess.h"

namespace vekaton {
namespace {

std::string TempOf(const std::string& target, std::int64_t pid) {
    return "." + target + ".tmp" + std::to_string(pid) + "5a5a5a5a";
}

TEST(LeftoverProcesses, ASaveOfARunningProcessIsKeptAndOneOfAnEndedProcessRemoved) {
    testing::ScratchFolder folder;
    testing::ChildProcess saving;
    testing::ChildProcess ended;
    ASSERT_GT(saving.Pid(), 0);
    ASSERT_GT(ended.Pid(), 0);
    ended.End();
    folder.Write("Car.ini", "the settings");
    folder.Write(TempOf("Car.ini", saving.Pid()), "a save in progress");
    folder.Write(TempOf("Car.cfg", ended.Pid()), "half");
    folder.Write(TempOf("Car.gau", platform::CurrentProcessId()), "this one saves nothing now");

    const auto removed = RemoveLeftoverTemporaryFiles(folder.Path(), "Car");
    EXPECT_EQ(removed.size(), 2u);
    std::vector<std::string> kept{"Car.ini", TempOf("Car.ini", saving.Pid())};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(folder.Names(), kept);

    saving.End();  // its save never finished: now it is a leftover too
    EXPECT_EQ(RemoveLeftoverTemporaryFiles(folder.Path(), "Car").size(), 1u);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"Car.ini"});
}

}  // namespace
}  // namespace vekaton
