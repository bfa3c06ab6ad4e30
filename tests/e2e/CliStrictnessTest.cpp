// vekaton-cli refuses what would give wrong rows or destroy a file, and its help and exit codes,
// through the real programs.
#include <gtest/gtest.h>

#include <filesystem>

#include "E2eSupport.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

struct ProgramRun {
    int code = -1;
    std::string out;
    std::string err;
};

class CliStrictnessTest : public ::testing::Test {
  protected:
    ProgramRun Program(const std::string& program, const std::vector<std::string>& args) {
        ChildProcess child(program, args, folder_ / "run.out", folder_ / "run.err");
        ProgramRun run;
        run.code = child.Wait(30000).value_or(-1);
        run.out = folder_.Read("run.out");
        run.err = folder_.Read("run.err");
        return run;
    }
    ProgramRun Cli(const std::vector<std::string>& args) { return Program(CliProgram(), args); }
    std::string Dir() const { return folder_.Path().string(); }
    std::string File(const std::string& name) const { return (folder_ / name).string(); }

    // A log of `records` records of 3 header bytes, 23 data bytes and a checksum, at 100 ms.
    void WriteLog(const std::string& name, int records) {
        std::string bytes{100, 0};
        for (int r = 0; r < records; ++r) {
            std::string record = "\xF4\x95\x01";
            for (int i = 0; i < 23; ++i) {
                record.push_back(static_cast<char>(r + i));
            }
            unsigned sum = 0;
            for (const char c : record) {
                sum += static_cast<unsigned char>(c);
            }
            record.push_back(static_cast<char>((256 - (sum & 0xFF)) & 0xFF));
            bytes += record;
        }
        folder_.Write(name, bytes);
    }
    // The settings file of the log's set, cut to its first `lines` lines.
    void WriteSettings(int lines, const std::string& dataBytes = "23") {
        LinkSetUp setUp;
        std::string text = SettingsFile(setUp);
        const std::string key = "# Bytes of Data=23";
        text.replace(text.find(key), key.size(), "# Bytes of Data=" + dataBytes);
        std::size_t end = 0;
        for (int n = 0; n < lines; ++n) {
            end = text.find("\r\n", end) + 2;
        }
        folder_.Write("Default.Ini", text.substr(0, end));
        folder_.Write("Default.cfg", EngineModelParameterFile());
    }

    ScratchFolder folder_;
};

TEST_F(CliStrictnessTest, DecodeStopsWhenTheSettingsFileWasCutShort) {
    WriteLog("run.Dat", 1000);
    WriteSettings(5);
    ProgramRun run = Cli({"decode", "--dir", Dir(), File("run.Dat"), "-o", File("out.csv")});
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_NE(run.err.find("stopped at line 6"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("was not read whole"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--force"), std::string::npos) << run.err;
    EXPECT_FALSE(folder_.Exists("out.csv"));

    // --force goes on with the values read: 3 header bytes and no data count make records of
    // 3 bytes, and the user asked for them.
    run = Cli({"decode", "--force", "--dir", Dir(), File("run.Dat"), "-o", File("out.csv")});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("going on (--force)"), std::string::npos) << run.err;
    EXPECT_EQ(ReadCsv(folder_ / "out.csv").rows.size(), 9000u);

    // Cut after the checksum and echo flags: no error while reading (missing flags read as
    // FALSE), but still not whole.
    WriteSettings(8);
    run = Cli({"decode", "--dir", Dir(), File("run.Dat"), "-o", File("cut.csv")});
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_NE(run.err.find("it has 8 lines, where 9 or more are needed"), std::string::npos)
        << run.err;
    EXPECT_FALSE(folder_.Exists("cut.csv"));

    WriteSettings(9);  // nine lines are a whole file of the older kind
    run = Cli({"decode", "--dir", Dir(), File("run.Dat"), "-o", File("out.csv")});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadCsv(folder_ / "out.csv").rows.size(), 1000u);
}

TEST_F(CliStrictnessTest, DecodeStopsOnValuesOutOfRangeAndSaysSoTruly) {
    WriteLog("run.Dat", 1000);
    WriteSettings(13, "-5");
    const ProgramRun run = Cli({"decode", "--dir", Dir(), File("run.Dat")});
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_NE(run.err.find("holds values out of range"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("# Bytes of Data must be from 1 to 500, not -5."), std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("0 is kept"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(CliStrictnessTest, LiveStopsOnABrokenSettingsFileBeforeTouchingThePortOrTheOutput) {
    WriteSettings(5);
    folder_.Write("out.csv", "yesterday's rows\r\n");
    const ProgramRun run = Cli({"live", "--dir", Dir(), "--seconds", "5", "-o", File("out.csv")});
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_NE(run.err.find("was not read whole"), std::string::npos) << run.err;
    EXPECT_EQ(folder_.Read("out.csv"), "yesterday's rows\r\n");
}

TEST_F(CliStrictnessTest, DecodeNeverWritesOntoItsInput) {
    WriteLog("run.Dat", 50);
    WriteSettings(13);
    const std::string log = folder_.Read("run.Dat");
    std::filesystem::create_directory(folder_ / "sub");
    std::filesystem::create_symlink(folder_ / "run.Dat", folder_ / "link.Dat");
    for (const std::string& output :
         {File("run.Dat"), Dir() + "/./run.Dat", Dir() + "/sub/../run.Dat", File("link.Dat"),
          File("Default.Ini"), File("Default.cfg")}) {
        const ProgramRun run = Cli({"decode", "--dir", Dir(), File("run.Dat"), "-o", output});
        EXPECT_EQ(run.code, 64) << output;
        EXPECT_NE(run.err.find("nothing is written to it"), std::string::npos) << run.err;
    }
    EXPECT_EQ(folder_.Read("run.Dat"), log);
    EXPECT_NE(folder_.Read("Default.Ini").find("ComPort="), std::string::npos);
    // The same log through a link is still the same file.
    const ProgramRun viaLink =
        Cli({"decode", "--dir", Dir(), File("link.Dat"), "-o", File("run.Dat")});
    EXPECT_EQ(viaLink.code, 64);
    EXPECT_NE(viaLink.err.find("which this run reads"), std::string::npos) << viaLink.err;
    EXPECT_EQ(folder_.Read("run.Dat"), log);
}

TEST_F(CliStrictnessTest, LiveOpensItsOutputOnlyOnceThePortIsOpen) {
    WriteSettings(13);
    folder_.Write("out.csv", "yesterday's rows\r\n");
    const ProgramRun run = Cli({"live", "--dir", Dir(), "--port", File("no-such-device"),
                                "--seconds", "5", "-o", File("out.csv")});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("Invalid Com#"), std::string::npos) << run.err;
    EXPECT_EQ(folder_.Read("out.csv"), "yesterday's rows\r\n");
    // Nor onto the set it reads.
    const ProgramRun onto =
        Cli({"live", "--dir", Dir(), "--seconds", "1", "-o", File("Default.cfg")});
    EXPECT_EQ(onto.code, 64);
    EXPECT_NE(onto.err.find("is a file of the configuration set"), std::string::npos) << onto.err;
}

TEST_F(CliStrictnessTest, HelpAndExitCodesOfTheCommandLinePrograms) {
    ProgramRun run = Cli({"--help"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("Exit codes:"), std::string::npos);
    EXPECT_EQ(run.err, "");
    run = Cli({"live", "-h"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out.rfind("usage: vekaton-cli live", 0), 0u) << run.out;
    run = Cli({"eval", "help"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out.rfind("usage: vekaton-cli eval", 0), 0u) << run.out;
    run = Cli({});
    EXPECT_EQ(run.code, 64);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage:"), std::string::npos);
    EXPECT_EQ(Cli({"decode", "--bogus", "x.Dat"}).code, 64);
    run = Cli({"eval", "A/0", "A=5"});
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(run.err, "Parsing Error - \"A/0\", A=5, B=0\nCause: division by zero\n");

    run = Program(SimProgram(), {"--help"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("--dir DIR"), std::string::npos);
    EXPECT_NE(run.out.find("Exit codes:"), std::string::npos);
    EXPECT_EQ(Program(SimProgram(), {"--bogus"}).code, 64);
}

}  // namespace
}  // namespace vekaton::testing
