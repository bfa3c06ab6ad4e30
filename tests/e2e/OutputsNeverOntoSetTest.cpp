// vekaton-cli never writes its CSV or its recorded log onto a file of the set it reads, its
// backups, damaged-file and recovery copies, the set pointer, an input or its other output: it
// ends with exit 64 and says why, and every file stays byte for byte as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "E2eSupport.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kExitUsage = 64;

class OutputsNeverOntoSet : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(folder_ / "D");
        for (const char* name : {"Demo.cfg", "Demo.ini", "Demo.gau", "Demo.dsf", "Vekaton.Ini"}) {
            fs::copy_file(fs::path(VEKATON_SOURCE_DIR) / "demo" / name, folder_ / "D" / name);
        }
        folder_.Write("D/Demo_bak.dsf", "the layout before");
        folder_.Write("D/Demo.gau.bad", "a damaged gauge list");
        // A short log of the demo set's 27-byte records.
        folder_.Write("run.Dat", std::string("\xC8\x00", 2) + std::string(27 * 3, '\x10'));
        fs::create_directories(folder_ / "data" / "Vekaton" / "Vekaton" / "recovery");
        before_ = Contents();
    }

    // Every file under the scratch folder and its bytes.
    std::map<std::string, std::string> Contents() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder_.Path())) {
            if (entry.is_regular_file() && entry.path().filename() != "cli.out" &&
                entry.path().filename() != "cli.err") {
                files[entry.path().string()] = ReadWholeFile(entry.path());
            }
        }
        return files;
    }

    // vekaton-cli with the recovery copies under the scratch folder.
    int Cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"XDG_DATA_HOME=" + (folder_ / "data").string(), CliProgram()});
        ChildProcess child("/usr/bin/env", args, folder_ / "cli.out", folder_ / "cli.err");
        const int code = child.Wait(30000).value_or(-1);
        err_ = folder_.Read("cli.err");
        return code;
    }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

    ScratchFolder folder_;
    std::map<std::string, std::string> before_;
    std::string err_;
};

TEST_F(OutputsNeverOntoSet, LiveRecordsAndWritesNoSetFile) {
    for (const char* name : {"D/Demo.cfg", "D/demo.INI", "D/Demo.gau", "D/Vekaton.ini"}) {
        EXPECT_EQ(Cli({"live", "--dir", Path("D"), "--frames", "3", "--record", Path(name), "-o",
                       "/dev/null"}),
                  kExitUsage)
            << name;
        EXPECT_NE(err_.find("is a file of the configuration set"), std::string::npos) << err_;
        EXPECT_EQ(Cli({"live", "--dir", Path("D"), "--frames", "3", "-o", Path(name)}), kExitUsage)
            << name;
    }
    EXPECT_EQ(Contents(), before_);
}

TEST_F(OutputsNeverOntoSet, DecodeWritesNoSetFileWhateverPathLeadsThere) {
    fs::create_symlink(folder_ / "D" / "Demo.cfg", folder_ / "soft.csv");
    fs::create_hard_link(folder_ / "D" / "Demo.ini", folder_ / "hard.csv");
    // A link to a file of the set that does not exist yet: writing would create it.
    fs::create_symlink(folder_ / "D" / "Demo_bak.gau", folder_ / "dangling.csv");
    before_ = Contents();
    for (const std::string& output :
         {Path("D/Demo.dsf"), Path("D/Demo.gau"), Path("D/Demo_bak.dsf"), Path("D/Demo.gau.bad"),
          Path("D/Demo_bak.gau"), Path("D/Demo.details"), Path("D/Demo.dsf.bad"),
          Path("D/vekaton.INI"), Path("D/../D/Demo.dsf"), Path("soft.csv"), Path("hard.csv"),
          Path("dangling.csv"), Path("data/Vekaton/Vekaton/recovery/manifest"), Path("run.Dat")}) {
        EXPECT_EQ(Cli({"decode", "--dir", Path("D"), Path("run.Dat"), "-o", output}), kExitUsage)
            << output;
        EXPECT_NE(err_.find("nothing is written to it"), std::string::npos) << err_;
    }
    EXPECT_EQ(Contents(), before_) << "nothing written, nothing created";
    // Beside the set, any other name is written.
    EXPECT_EQ(Cli({"decode", "--dir", Path("D"), Path("run.Dat"), "-o", Path("D/rows.csv")}), 0)
        << err_;
}

TEST_F(OutputsNeverOntoSet, TheLogAndTheCsvAreNeverOneFile) {
    fs::create_directories(folder_ / "out" / "sub");
    fs::create_symlink(folder_ / "out" / "x.Dat", folder_ / "link.csv");
    for (const auto& [record, csv] : std::vector<std::pair<std::string, std::string>>{
             {Path("out/x.Dat"), Path("out/x.Dat")},
             {Path("out/x.Dat"), Path("out/sub/../x.Dat")},
             {Path("out/x.Dat"), Path("link.csv")}}) {
        EXPECT_EQ(Cli({"live", "--dir", Path("D"), "--frames", "3", "--record", record, "-o", csv}),
                  kExitUsage)
            << csv;
        EXPECT_NE(err_.find("are one file"), std::string::npos) << err_;
    }
    EXPECT_FALSE(fs::exists(folder_ / "out" / "x.Dat"));
}

}  // namespace
}  // namespace vekaton::testing
