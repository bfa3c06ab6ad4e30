// vekaton-cli import-adx as a user runs it: the report, the set it writes and its exit codes,
// hostile files refused with nothing written, and the imported set polling vekaton-sim.
#include <gtest/gtest.h>

#include <fstream>

#include "E2eSupport.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kTimeLimitMs = 60000;
const fs::path kAdxData = fs::path(VEKATON_TEST_DATA_DIR) / "adx";

struct CliRun {
    std::optional<int> code;
    std::string out;
    std::string err;
};

CliRun RunCli(const ScratchFolder& folder, const std::vector<std::string>& args) {
    ChildProcess child(CliProgram(), args, folder / "cli.out", folder / "cli.err");
    CliRun run;
    run.code = child.Wait(kTimeLimitMs);
    run.out = folder.Read("cli.out");
    run.err = folder.Read("cli.err");
    return run;
}

std::vector<std::string> Lines(const std::string& text, const std::string& end) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = text.find(end, at);
        lines.push_back(text.substr(at, next - at));
        at = next == std::string::npos ? text.size() : next + end.size();
    }
    return lines;
}

TEST(ImportAdxTest, WritesTheSetAndPrintsTheReportItKeeps) {
    ScratchFolder folder;
    const fs::path set = folder / "car";
    const CliRun run =
        RunCli(folder, {"import-adx", (kAdxData / "typical.adx").string(), "--dir", set.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto printed = Lines(run.out, "\n");
    EXPECT_EQ(printed.size(), 25U);
    EXPECT_EQ(printed, Lines(ReadWholeFile(set / "typical-import.txt"), "\r\n"));
    EXPECT_EQ(printed[8], "Engine Speed: position 2, 2 bytes shown at position 3: A*256+B [RPM]");
    EXPECT_EQ(printed[17],
              "Not placed: skipped: it is not placed in the frame (packetoffset "
              "0xFFFFFFFF)");
    EXPECT_NE(run.err.find("wrote the set \"typical\""), std::string::npos) << run.err;
    EXPECT_EQ(ReadWholeFile(set / "Vekaton.ini"), "typical\r\n");
    EXPECT_NE(ReadWholeFile(set / "typical.ini").find("RequestString=$F4 $57 $01 $00 $B4"),
              std::string::npos);
    EXPECT_NE(ReadWholeFile(set / "typical.cfg").find("\r\n2,2,0,Engine Speed,A*256+B\r\n"),
              std::string::npos);

    // Once more under the same name: refused, the first set untouched.
    const std::string cfg = ReadWholeFile(set / "typical.cfg");
    const CliRun again =
        RunCli(folder, {"import-adx", (kAdxData / "typical.adx").string(), "--dir", set.string()});
    EXPECT_EQ(again.code, 1);
    EXPECT_NE(again.err.find("exists already"), std::string::npos) << again.err;
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(ReadWholeFile(set / "typical.cfg"), cfg);

    // Under a name of its own it goes in beside, and becomes the current set.
    const CliRun named = RunCli(folder, {"import-adx", "--set", "Second", "--dir", set.string(),
                                         (kAdxData / "typical.adx").string()});
    EXPECT_EQ(named.code, 0) << named.err;
    EXPECT_EQ(ReadWholeFile(set / "Vekaton.ini"), "Second\r\n");
}

TEST(ImportAdxTest, TheImportedSetPollsTheSimulatedModule) {
    ScratchFolder folder;
    const CliRun import = RunCli(folder, {"import-adx", (kAdxData / "typical.adx").string(),
                                          "--dir", folder.Path().string()});
    ASSERT_EQ(import.code, 0) << import.err;
    SimProcess sim(folder.Path(), {"--dir", folder.Path().string()});
    ASSERT_FALSE(sim.DevicePath().empty()) << sim.Errors();
    const CliRun live =
        RunCli(folder, {"live", "--dir", folder.Path().string(), "--port", sim.LinkPath(),
                        "--frames", "3", "-o", (folder / "out.csv").string()});
    ASSERT_EQ(live.code, 0) << live.err << sim.Errors();
    const CsvTable csv = ReadCsv(folder / "out.csv");
    // Headings carry the units the import kept in the details file.
    for (const char* column :
         {"Coolant Temp C [Deg C]", "Engine Speed [RPM]", "Spark Advance; deg [deg]",
          "Manifold Air Temp [Deg F]", "Loop Status", "A/C requested", "Gear"}) {
        EXPECT_GE(csv.Column(column), 0) << column;
    }
    ASSERT_EQ(csv.rows.size(), 3U);
    const int checksum = csv.Column("Checksum");
    ASSERT_GE(checksum, 0);
    for (const auto& row : csv.rows) {
        EXPECT_EQ(row[static_cast<std::size_t>(checksum)], "OK");
    }
}

TEST(ImportAdxTest, HostileFilesAreRefusedWithTheirLineAndColumnAndNothingWritten) {
    ScratchFolder folder;
    {
        std::ofstream huge(folder / "huge.adx", std::ios::binary);
        huge << "<ADXFORMAT>";
        const std::string filler(1 << 20, ' ');
        for (int i = 0; i < 17; ++i) {
            huge << filler;
        }
    }
    struct Case {
        fs::path file;
        std::string where;
    };
    const Case cases[] = {
        {kAdxData / "hostile" / "entity-bomb.adx",
         "line 2, column 1: the file declares a document"},
        {kAdxData / "hostile" / "external-entity.adx", "line 2, column 1: the file declares a"},
        {kAdxData / "hostile" / "undeclared-entity.adx", "line 3, column 57: the entity &secret;"},
        {kAdxData / "hostile" / "deep-nesting.adx", "line 34, column 8: elements nested more"},
        {folder / "huge.adx", "line 1, column 16777217: the file is larger than 16 MB"},
        {folder / "missing.adx", "missing.adx\" does not exist. Nothing"},
        {kAdxData, "adx\" is a folder, not a file. Nothing"},
    };
    for (const Case& c : cases) {
        const fs::path out = folder / "out";
        const CliRun run = RunCli(folder, {"import-adx", c.file.string(), "--dir", out.string()});
        EXPECT_EQ(run.code, 1) << c.file;
        EXPECT_NE(run.err.find(c.where), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("Nothing was written."), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fs::exists(out)) << c.file;
    }
}

TEST(ImportAdxTest, WrongUsageEndsWith64) {
    ScratchFolder folder;
    const std::string file = (kAdxData / "typical.adx").string();
    const std::vector<std::vector<std::string>> wrong = {
        {"import-adx"},
        {"import-adx", file},
        {"import-adx", "--dir", folder.Path().string()},
        {"import-adx", file, "--dir", folder.Path().string(), "--set", "my.car"},
        {"import-adx", file, "--dir", folder.Path().string(), "--set", "../up"},
        {"import-adx", file, "--dir", folder.Path().string(), "--frames", "3"},
        {"import-adx", file, file, "--dir", folder.Path().string()},
    };
    for (const auto& args : wrong) {
        const CliRun run = RunCli(folder, args);
        EXPECT_EQ(run.code, 64) << args.size();
        EXPECT_NE(run.err.find("usage: vekaton-cli import-adx FILE --dir DIR"), std::string::npos)
            << run.err;
    }
    EXPECT_FALSE(fs::exists(folder / "typical.cfg"));
}

}  // namespace
}  // namespace vekaton::testing
