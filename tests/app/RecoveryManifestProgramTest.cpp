// The real program's recovery copies: a folder name that holds a line feed and "Folder=" is
// restored into that folder and nowhere else, and the temporary files of copy writes killed
// half-way are removed at the next start.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ProgramRunner.h"
#include "QtApp.h"

namespace {

namespace fs = std::filesystem;
using vekaton::testing::ProgramRun;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WaitForManifest(const fs::path& recovery, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (fs::exists(recovery / "manifest")) {
            return true;
        }
        QThread::msleep(100);
    }
    return false;
}

class RecoveryManifestProgram : public ::testing::Test {
  protected:
    void SetUp() override { vekaton::testing::TestApp(); }
    fs::path Path(const QTemporaryDir& dir) const { return dir.path().toStdString(); }

    QTemporaryDir lockDir_;
    QTemporaryDir scratch_;
};

TEST_F(RecoveryManifestProgram, AFolderNameWithALineFeedAndFolderIsRestoredIntoItself) {
    const fs::path other = Path(scratch_) / "other place";
    fs::create_directories(other);
    const fs::path set = Path(scratch_) / ("set\nFolder=" + other.string());
    fs::create_directories(set);
    fs::path recovery;
    {
        ProgramRun run(lockDir_.path(), QString::fromStdString(set.string()),
                       ProgramRun::Options::WithTestHooks());
        ASSERT_TRUE(run.WaitForWindow()) << run.Errors().toStdString();
        recovery = run.RecoveryDir().toStdString();
        ASSERT_TRUE(run.Ask("add-label"));
        ASSERT_TRUE(WaitForManifest(recovery, 10000)) << "copies within seconds of the change";
        run.Process().kill();
    }
    ProgramRun again(lockDir_.path(), QString::fromStdString(set.string()));
    ASSERT_TRUE(again.WaitForWindow()) << again.Errors().toStdString();
    EXPECT_EQ(again.Terminate(), 0) << again.Errors().toStdString();
    EXPECT_NE(ReadFile(set / "Default.Gau").find("USERLABEL1"), std::string::npos)
        << again.Errors().toStdString();
    EXPECT_TRUE(fs::is_empty(other)) << "nothing was written into the other place";
}

TEST_F(RecoveryManifestProgram, CopiesGoIntoNoFolderButTheOneTheyWereMadeFor) {
    const fs::path set = Path(scratch_) / "set";
    fs::create_directories(set);
    {
        ProgramRun run(lockDir_.path(), QString::fromStdString(set.string()),
                       ProgramRun::Options::WithTestHooks());
        ASSERT_TRUE(run.WaitForWindow()) << run.Errors().toStdString();
        ASSERT_TRUE(run.Ask("add-label"));
        ASSERT_TRUE(WaitForManifest(run.RecoveryDir().toStdString(), 10000));
        run.Process().kill();
    }
    // Another folder now has the set's path.
    fs::rename(set, Path(scratch_) / "moved");
    fs::create_directories(set);
    ProgramRun again(lockDir_.path(), QString::fromStdString(set.string()));
    ASSERT_TRUE(again.WaitForWindow()) << again.Errors().toStdString();
    EXPECT_EQ(again.Terminate(), 0);
    const QString errors = again.Errors();
    EXPECT_TRUE(errors.contains("which is no longer that folder")) << errors.toStdString();
    EXPECT_EQ(ReadFile(set / "Default.Gau").find("USERLABEL1"), std::string::npos)
        << "nothing restored into a folder the copies were not made for";
}

TEST_F(RecoveryManifestProgram, TemporaryFilesOfKilledCopyWritesGoAtTheNextStart) {
    const pid_t gone = ::fork();
    if (gone == 0) {
        ::_exit(0);
    }
    ::waitpid(gone, nullptr, 0);
    const fs::path recovery = QDir(ProgramRun::DataHome(lockDir_.path()))
                                  .filePath("Vekaton/Vekaton/recovery")
                                  .toStdString();
    fs::create_directories(recovery);
    const std::vector<std::string> leftovers = {
        ".1-0.data.tmp" + std::to_string(gone) + "0a1b2c3d",
        ".manifest.tmp" + std::to_string(gone) + "deadbeef"};
    const std::string writing = ".2-0.data.tmp" + std::to_string(::getpid()) + "0a1b2c3d";
    for (const std::string& name : leftovers) {
        std::ofstream(recovery / name) << "half a copy";
    }
    std::ofstream(recovery / writing) << "a copy being written";

    ProgramRun run(lockDir_.path(), scratch_.path());
    ASSERT_TRUE(run.WaitForWindow()) << run.Errors().toStdString();
    for (const std::string& name : leftovers) {
        EXPECT_FALSE(fs::exists(recovery / name)) << name;
    }
    EXPECT_TRUE(fs::exists(recovery / writing)) << "a running process's write is left alone";
    EXPECT_EQ(run.Terminate(), 0);
}

}  // namespace
