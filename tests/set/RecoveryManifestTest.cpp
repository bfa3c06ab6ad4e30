// The recovery manifest holds any folder name as it is and can never be made to name another
// folder; copies go back only into the folder they were made for; and what killed writes of
// copies leave behind goes at the next start.
#include <gtest/gtest.h>
#ifndef _WIN32  // POSIX-only: fork() makes a process number that is surely dead
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "files/ScratchFolder.h"
#include "set/RecoveryManifest.h"
#include "set/RecoveryStore.h"

namespace vekaton {
namespace {

RecoverySnapshot Snapshot(const std::filesystem::path& setFolder) {
    RecoverySnapshot snapshot;
    snapshot.setFolder = setFolder.string();
    snapshot.setName = "Demo";
    snapshot.files = {{"Demo.ini", "ComPort=0\r\n"}, {"Demo.cfg", "END\r\n"}};
    return snapshot;
}

TEST(RecoveryManifest, AFolderNameThatLooksLikeFieldsStaysOneName) {
    RecoveryManifest manifest;
    manifest.generation = 7;
    manifest.folder = "/home/me/a\nFolder=/other/place\r\nFolderId=1:2\r\nEnd\r\n";
    manifest.folderDevice = 2049;
    manifest.folderInode = 131077;
    manifest.setName = "Set=\r\nx";
    manifest.files = {{"Demo.cfg", 994}, {"Demo.ini", 0}};
    const std::string text = FormatRecoveryManifest(manifest);
    EXPECT_EQ(ParseRecoveryManifest(text), manifest);

    // Any change that is not the writer's own is refused, never taken for another field.
    const std::string plain =
        "Vekaton recovery "
        "2\r\nGeneration=1\r\nFolder=6:/tmp/a\r\nFolderId=1:2\r\nSet=0:\r\nEnd\r\n";
    ASSERT_TRUE(ParseRecoveryManifest(plain));
    std::string problem;
    for (const std::string& damaged : std::vector<std::string>{
             std::string(
                 "Vekaton recovery 1\r\nGeneration=1\r\nFolder=/tmp/a\r\nFolder=/other\r\n"),
             "Vekaton recovery 2\r\nGeneration=1\r\nFolder=6:/tmp/a\r\nFolder=6:/other\r\n"
             "FolderId=1:2\r\nSet=0:\r\nEnd\r\n",
             "Vekaton recovery "
             "2\r\nGeneration=1\r\nFolder=7:/tmp/a\r\nFolderId=1:2\r\nSet=0:\r\nEnd\r\n",
             plain + "File=1,1:a\r\n", plain.substr(0, plain.size() - 2)}) {
        EXPECT_FALSE(ParseRecoveryManifest(damaged, &problem)) << damaged;
        EXPECT_FALSE(problem.empty());
    }
}

TEST(RecoveryManifest, CopiesAreRefusedForAFolderThatIsNoLongerTheOneTheyWereMadeFor) {
    testing::ScratchFolder scratch;
    const std::filesystem::path set = scratch / "set";
    std::filesystem::create_directory(set);
    RecoveryStore store(scratch / "recovery");
    ASSERT_FALSE(store.Save(Snapshot(set)));
    ASSERT_TRUE(store.Load());

    // The set's folder moved away and another one took its path.
    std::filesystem::rename(set, scratch / "moved");
    std::filesystem::create_directory(set);
    std::string problem;
    EXPECT_FALSE(store.Load(&problem));
    EXPECT_NE(problem.find("which is no longer that folder"), std::string::npos) << problem;

    EXPECT_TRUE(store.Save(Snapshot("relative/set")).has_value()) << "only a whole path is kept";
}

#ifndef _WIN32  // POSIX-only: fork()
long long DeadPid() {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(0);
    }
    ::waitpid(pid, nullptr, 0);
    return pid;
}

TEST(RecoveryManifest, TemporaryFilesOfKilledCopyWritesAreRemovedAndNothingElse) {
    testing::ScratchFolder folder;
    const std::string dead = std::to_string(DeadPid());
    const std::string alive = std::to_string(::getppid());
    for (const std::string& name :
         {".3-0.data.tmp" + dead + "0a1b2c3d", ".manifest.tmp" + dead + "deadbeef"}) {
        folder.Write(name, "half");
    }
    const std::string running = ".3-1.data.tmp" + alive + "0a1b2c3d";
    const std::string foreign = ".notes.txt.tmp" + dead + "0a1b2c3d";
    folder.Write(running, "being written");
    folder.Write(foreign, "not ours");
    folder.Write("3-0.data", "a copy");
    RecoveryStore store(folder.Path());
    EXPECT_EQ(store.RemoveLeftovers().size(), 2u);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{running, foreign, "3-0.data"}));
}

#endif

}  // namespace
}  // namespace vekaton
