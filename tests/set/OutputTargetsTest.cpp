// No output of a run lands on a file of the set it reads, whatever name, link or spelling leads
// there, nor on an input, the recovery copies or the other output.
#include "set/OutputTargets.h"

#include <gtest/gtest.h>

#include <fstream>

#include "files/ScratchFolder.h"

namespace vekaton {
namespace {

namespace fs = std::filesystem;

TEST(OutputTargets, TheSetsFilesAndTheirCopiesAreKnownByName) {
    const SetNames demo = NamesFromPointer("Demo");
    for (const char* name :
         {"Demo.cfg", "DEMO.INI", "demo.Gau", "Demo.dsf", "Demo.details", "Demo_bak.dsf",
          "Demo_bak.gau", "Demo.dsf.bad", "Demo_bak.gau.BAD", "Vekaton.Ini", "vekaton.ini.bad",
          ".Demo.cfg.tmp123400ff00ff", ".Vekaton.ini.tmp1deadbeef"}) {
        EXPECT_TRUE(IsSetFileName(demo, name)) << name;
    }
    for (const char* name : {"Demo.csv", "Demo.Dat", "Other.cfg", "Demo.cfg.csv", "Demo_old.dsf",
                             "Demo", ".Other.cfg.tmp123400ff00ff", "Vekaton.Ini.txt"}) {
        EXPECT_FALSE(IsSetFileName(demo, name)) << name;
    }
}

#ifndef _WIN32  // POSIX-only: symbolic links
TEST(OutputTargets, LinksSpellingsInputsRecoveryCopiesAndTheOtherOutputAreRefused) {
    testing::ScratchFolder scratch;
    const fs::path set = scratch / "set";
    fs::create_directories(set / "sub");
    fs::create_directories(scratch / "recovery");
    testing::ScratchFolder other;
    other.Write("drive.Dat", "log");
    for (const char* name : {"Demo.cfg", "Demo.ini", "Demo.gau"}) {
        std::ofstream(set / name) << "set file";
    }
    fs::create_symlink(set / "Demo.cfg", other / "soft.csv");
    fs::create_hard_link(set / "Demo.gau", other / "hard.csv");
    fs::create_directory_symlink(set, other / "setlink");
    fs::create_directory(other / "dir");

    ProtectedFiles files;
    files.setFolder = set;
    files.names = NamesFromPointer("Demo");
    files.inputs = {other / "drive.Dat"};
    files.folders = {scratch / "recovery"};
    const auto refused = [&files](const std::vector<std::string>& outputs) {
        return OutputTargetProblem(files, outputs).value_or("");
    };
    EXPECT_NE(refused({(set / "sub" / ".." / "demo.CFG").string()}).find("configuration set"),
              std::string::npos);
    EXPECT_NE(refused({(other / "setlink" / "Demo_bak.dsf").string()}).find("configuration set"),
              std::string::npos);
    EXPECT_NE(refused({(other / "soft.csv").string()}).find("configuration set"),
              std::string::npos);
    EXPECT_NE(refused({(other / "hard.csv").string()}).find("Demo.gau"), std::string::npos);
    EXPECT_NE(refused({(scratch / "recovery" / "1-0.data").string()}).find("unsaved changes"),
              std::string::npos);
    EXPECT_NE(refused({(other / "drive.Dat").string()}).find("which this run reads"),
              std::string::npos);
    const std::string log = (other / "new.Dat").string();
    EXPECT_NE(refused({log, (other / "dir" / ".." / "new.Dat").string()}).find("one file"),
              std::string::npos);
    EXPECT_NE(refused({(other / "hard.csv").string(), "-"}), "");

    EXPECT_FALSE(OutputTargetProblem(
        files, {"", "-", log, (other / "rows.csv").string(), (set / "rows.csv").string()}));
}

#endif

}  // namespace
}  // namespace vekaton
