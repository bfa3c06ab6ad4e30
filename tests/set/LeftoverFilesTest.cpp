// Temporary files left by a save that was killed half-way are removed when the set is read, and
// only those: never another set's, never a live process's, never anything but regular files.
#include "set/LeftoverFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <csignal>

#include "files/SafeFile.h"
#include "files/ScratchFolder.h"

#ifndef _WIN32  // POSIX-only: fork() and symbolic links
#include <sys/wait.h>

#include "files/NonRegularFiles.h"
#endif

namespace vekaton {
namespace {

using Names = std::vector<std::string>;

#ifndef _WIN32  // POSIX-only: fork() and symbolic links
// The ID of a process that has ended.
long long DeadPid() {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(0);
    }
    ::waitpid(pid, nullptr, 0);
    return pid;
}

std::string Temp(const std::string& target, long long pid, const char* random = "0a1b2c3d") {
    return "." + target + ".tmp" + std::to_string(pid) + random;
}
#endif

TEST(LeftoverFiles, TemporaryNamesAreRecognisedExactly) {
    const auto name = ParseTemporaryName(".Demo.cfg.tmp123400ff00ff");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->target, "Demo.cfg");
    EXPECT_EQ(name->pid, 1234);
    EXPECT_EQ(ParseTemporaryName(".my.car.tmp.ini.tmp1deadbeef")->target, "my.car.tmp.ini");
    for (const char* other :
         {"Demo.cfg", ".Demo.cfg", "Demo.cfg.tmp123400ff00ff", ".Demo.cfg.tmp00ff00ff",
          ".Demo.cfg.tmp1234DEADBEEF", ".Demo.cfg.tmp12x400ff00ff", ".Demo.cfg.tmp00ff00f",
          ".tmp123400ff00ff", ""}) {
        EXPECT_FALSE(ParseTemporaryName(other)) << other;
    }
}

#ifndef _WIN32  // POSIX-only: fork() and symbolic links
TEST(LeftoverFiles, OnlyTheSetsOwnLeftoversOfEndedProcessesAreRemoved) {
    testing::ScratchFolder folder;
    const long long dead = DeadPid();
    const long long alive = ::getppid();
    folder.Write("Demo.cfg", "real");
    for (const std::string& name :
         {Temp("Demo.cfg", dead), Temp("demo.INI", dead), Temp("Demo_bak.dsf", dead),
          Temp("Demo.cfg.bad", dead), Temp("Vekaton.ini", dead), Temp("Demo.Gau", ::getpid())}) {
        folder.Write(name, "half-written");
    }
    // Kept: another set's, a running process's, a folder and a link of the same naming, and
    // files that only look alike.
    folder.Write(Temp("Other.cfg", dead), "x");
    folder.Write(Temp("Demo.cfg", alive), "a save in progress");
    std::filesystem::create_directory(folder / Temp("Demo.dsf", dead));
    std::filesystem::create_symlink("Demo.cfg", folder / Temp("Demo.ini", dead, "11111111"));
    folder.Write(".Demo.cfg.swp", "editor");

    const auto removed = RemoveLeftoverTemporaryFiles(folder.Path(), "Demo");
    EXPECT_EQ(removed.size(), 6u);
    Names expected{"Demo.cfg",
                   ".Demo.cfg.swp",
                   Temp("Demo.cfg", alive),
                   Temp("Demo.dsf", dead),
                   Temp("Demo.ini", dead, "11111111"),
                   Temp("Other.cfg", dead)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder.Names(), expected);
    EXPECT_EQ(folder.Read("Demo.cfg"), "real");
}

TEST(LeftoverFiles, WhatAKilledSaveLeavesIsRecognisedAndRemoved) {
    testing::ScratchFolder folder;
    folder.Write("Demo.cfg", "the set as saved before");
    const pid_t saver = ::fork();
    if (saver == 0) {
        // Slow enough to be caught in the middle: a large file written by the real helper.
        WriteFileAtomically(folder / "Demo.cfg", std::string(128 * 1024 * 1024, 'x'));
        ::_exit(0);
    }
    // Caught as soon as its temporary file shows, however busy the machine is.
    std::string leftover;
    bool ended = false;
    while (leftover.empty() && !ended) {
        for (const std::string& name : folder.Names()) {
            if (name.front() == '.') {
                leftover = name;
            }
        }
        ended = leftover.empty() && ::waitpid(saver, nullptr, WNOHANG) == saver;
        ::usleep(500);
    }
    if (!ended) {
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);
    }
    ASSERT_FALSE(leftover.empty()) << "the save ended before it could be stopped";
    const auto parsed = ParseTemporaryName(leftover);
    ASSERT_TRUE(parsed) << leftover;
    EXPECT_EQ(parsed->target, "Demo.cfg");
    EXPECT_EQ(parsed->pid, saver);

    EXPECT_EQ(RemoveLeftoverTemporaryFiles(folder.Path(), "Demo").size(), 1u);
    EXPECT_EQ(folder.Names(), Names{"Demo.cfg"});
    EXPECT_EQ(folder.Read("Demo.cfg"), "the set as saved before");
}
#endif

}  // namespace
}  // namespace vekaton
