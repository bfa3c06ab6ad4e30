// `vekaton-cli table`, `histogram` and `scatter` through the real program: the output's layout
// and numbers, the summary, and the exit codes and messages of every kind of mistake.
#include <gtest/gtest.h>

#include "E2eSupport.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

struct ProgramRun {
    int code = -1;
    std::string out;
    std::string err;
};

class AnalysisCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LinkSetUp setUp;
        setUp.responseBytes = 1;
        setUp.dataBytes = 6;
        folder_.Write("Default.Ini", SettingsFile(setUp));
        folder_.Write("Default.cfg",
                      "1,1,0,Speed,A*25\r\n2,1,0,Load,A-50\r\n3,1,0,Trim,A/3\r\n"
                      "4,1,1,0,Closed loop\r\n4,1,1,1,Fan\r\n5,2,0,Word,A*256+B\r\nEND\r\n");
        // Speed, load, trim, flags; 100 ms apart.
        std::string log{100, 0};
        const auto add = [&log](int speed, int load, int trim, int flags, bool good = true) {
            const std::string record{'\xF4',
                                     static_cast<char>(speed),
                                     static_cast<char>(load),
                                     static_cast<char>(trim),
                                     static_cast<char>(flags),
                                     0,
                                     7};
            unsigned sum = 0;
            for (const char c : record) {
                sum += static_cast<unsigned char>(c);
            }
            log += record;
            log.push_back(static_cast<char>((256 - (sum & 0xFF) + (good ? 0 : 1)) & 0xFF));
        };
        add(40, 100, 1, 1);          // 1000 rpm, load 50, trim 1/3
        add(40, 100, 2, 1);          // the same cell, trim 2/3
        add(80, 60, 3, 1);           // 2000 rpm on an inner edge, load 10, trim 1
        add(80, 150, 30, 0);         // open loop: left out by the filter
        add(40, 100, 90, 1, false);  // bad checksum
        add(200, 100, 3, 1);         // 5000 rpm: out of range
        folder_.Write("run.Dat", log);
    }

    ProgramRun Cli(std::vector<std::string> args) {
        ChildProcess child(CliProgram(), args, folder_ / "cli.out", folder_ / "cli.err");
        ProgramRun run;
        run.code = child.Wait(30000).value_or(-1);
        run.out = folder_.Read("cli.out");
        run.err = folder_.Read("cli.err");
        return run;
    }
    // A table of the log with the set, followed by `more` arguments.
    ProgramRun Table(const std::vector<std::string>& more) {
        std::vector<std::string> args{"table", "--dir", Dir(), Log()};
        args.insert(args.end(), more.begin(), more.end());
        return Cli(args);
    }
    std::string Dir() const { return folder_.Path().string(); }
    std::string Log() const { return (folder_ / "run.Dat").string(); }
    std::string File(const std::string& name) const { return (folder_ / name).string(); }

    ScratchFolder folder_;
};

const std::vector<std::string> kCells = {"--x",       "1",           "--y",       "2",
                                         "--z",       "3",           "--x-edges", "1000,2000,3000",
                                         "--y-edges", "-1e1,50,1e2", "--where",   "4.0=1"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST_F(AnalysisCliTest, HeaderRowsNumbersAndSummary) {
    ProgramRun run = Table(kCells);
    ASSERT_EQ(run.code, 0) << run.err;
    // Lower edges across, Y bins downwards from the lowest, CR LF, empty cells empty.
    EXPECT_EQ(run.out, "Y\\X,1000,2000\r\n-10,,1\r\n50,0.5,\r\n");
    EXPECT_EQ(run.err,
              "vekaton-cli table: 6 frames read, 3 used; left out: 1 by checksum, 1 by filter, "
              "0 by settling, 1 out of range\n");

    // Ten significant digits, as decode writes numbers.
    run = Table(With(kCells, {"--stat", "sd"}));
    EXPECT_EQ(run.out, "Y\\X,1000,2000\r\n-10,,\r\n50,0.2357022604,\r\n");
    run = Table(With(kCells, {"--stat", "min"}));
    EXPECT_EQ(run.out, "Y\\X,1000,2000\r\n-10,,1\r\n50,0.3333333333,\r\n");
    run = Table(With(kCells, {"--stat", "count", "--min-count", "2"}));
    EXPECT_EQ(run.out, "Y\\X,1000,2000\r\n-10,,\r\n50,2,\r\n");
    run = Table(With(kCells, {"--stat", "max", "--settle", "0.1"}));
    EXPECT_EQ(run.out, "Y\\X,1000,2000\r\n-10,,1\r\n50,0.6666666667,\r\n");
    EXPECT_NE(run.err.find("2 by settling"), std::string::npos) << run.err;  // 0.0 s and 0.5 s
}

TEST_F(AnalysisCliTest, AutomaticEdgesAreNamedOnStandardError) {
    const ProgramRun run = Table({"--x", "1", "--y", "2", "--z", "3", "--where", "4.0=1"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find("\r\n")),
              "Y\\X,1000,1400,1800,2200,2600,3000,3400,3800,4200,4600");
    EXPECT_NE(run.err.find("automatic X edges 1000,1400,"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("automatic Y edges 10,14,18,"), std::string::npos) << run.err;
}

TEST_F(AnalysisCliTest, AutomaticEdgesSpanTheDisplayRangeOfTheSetsDetails) {
    // Speed has a display range; load has a unit only, so its edges still come from the values.
    folder_.Write("Default.details",
                  "[1]\r\nunit=rpm\r\nmin=0\r\nmax=5000\r\n\r\n"
                  "[2]\r\nunit=kPa\r\n");
    const ProgramRun run = Table({"--x", "1", "--y", "2", "--z", "3", "--where", "4.0=1"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find("\r\n")),
              "Y\\X,0,500,1000,1500,2000,2500,3000,3500,4000,4500");
    EXPECT_NE(run.err.find("automatic X edges 0,500,"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("automatic Y edges 10,14,18,"), std::string::npos) << run.err;
    // 5000 rpm is the range's closed top edge now: the frame is counted, not out of range.
    EXPECT_NE(run.err.find("0 out of range"), std::string::npos) << run.err;

    const ProgramRun histogram =
        Cli({"histogram", "--dir", Dir(), Log(), "--x", "1", "--where", "4.0=1"});
    ASSERT_EQ(histogram.code, 0) << histogram.err;
    EXPECT_EQ(histogram.out,
              "X,Count\r\n0,\r\n500,\r\n1000,2\r\n1500,\r\n2000,1\r\n2500,\r\n"
              "3000,\r\n3500,\r\n4000,\r\n4500,1\r\n");

    // Fewer bins over the same range; a count of none is wrong usage.
    const ProgramRun five =
        Cli({"histogram", "--dir", Dir(), Log(), "--x", "1", "--x-bins", "5", "--where", "4.0=1"});
    ASSERT_EQ(five.code, 0) << five.err;
    EXPECT_EQ(five.out, "X,Count\r\n0,\r\n1000,2\r\n2000,1\r\n3000,\r\n4000,1\r\n");
    EXPECT_EQ(Cli({"histogram", "--dir", Dir(), Log(), "--x", "1", "--x-bins", "0"}).code, 64);
    EXPECT_EQ(Cli({"histogram", "--dir", Dir(), Log(), "--x", "1", "--y-bins", "3"}).code, 64);
}

TEST_F(AnalysisCliTest, OutputFileIsWrittenWholeOrNotAtAll) {
    ProgramRun run = Table(With(kCells, {"-o", File("cells.csv")}));
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(folder_.Read("cells.csv"), "Y\\X,1000,2000\r\n-10,,1\r\n50,0.5,\r\n");

    // Errors of every kind leave no new file, and an old one as it was.
    folder_.Write("kept.csv", "old");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--x", "9", "--y", "2", "--z", "3"},
             {"--x", "1", "--y", "2", "--z", "3", "--where", "1>"},
         }) {
        for (const char* name : {"new.csv", "kept.csv"}) {
            run = Table(With(args, {"-o", File(name)}));
            EXPECT_EQ(run.code, 64) << run.err;
        }
    }
    run = Cli({"table", "--dir", Dir(), File("missing.Dat"), "--x", "1", "--y", "2", "--z", "3",
               "-o", File("new.csv")});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("missing.Dat"), std::string::npos) << run.err;
    EXPECT_FALSE(folder_.Exists("new.csv"));
    EXPECT_EQ(folder_.Read("kept.csv"), "old");
    // The log itself is never the output, nor a file of the set.
    run = Table(With(kCells, {"-o", Log()}));
    EXPECT_EQ(run.code, 64);
    run = Table(With(kCells, {"-o", File("Default.cfg")}));
    EXPECT_EQ(run.code, 64);
    EXPECT_NE(run.err.find("is a file of the configuration set"), std::string::npos) << run.err;
    EXPECT_NE(folder_.Read("run.Dat").size(), 0u);
}

TEST_F(AnalysisCliTest, MissingPositionsAreUsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--y", "2", "--z", "3"}, {"--x", "1", "--z", "3"}, {"--x", "1", "--y", "2"}}) {
        const ProgramRun run = Table(args);
        EXPECT_EQ(run.code, 64);
        EXPECT_NE(run.err.find("table needs --"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("usage: vekaton-cli table"), std::string::npos) << run.err;
    }
    const ProgramRun run = Cli({"table", Log(), "--x", "1", "--y", "2", "--z", "3"});
    EXPECT_EQ(run.code, 64);
    EXPECT_NE(run.err.find("table needs --dir DIR"), std::string::npos) << run.err;
}

TEST_F(AnalysisCliTest, UnknownPositionsAreNamed) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--x", "7", "--y", "2", "--z", "3"},
         "unknown position in --x: position 7 has no definition in the parameter file"},
        {{"--x", "1", "--y", "6", "--z", "3"},
         "unknown position in --y: position 6 is a later byte of the 2-byte value that starts "
         "at position 5"},
        {{"--x", "1", "--y", "2", "--z", "3.2"},
         "unknown position in --z: position 3.2: position 3 is not a flag byte"},
        {{"--x", "1", "--y", "2", "--z", "3", "--where", "4.5=1"},
         "unknown position in --where '4.5=1': position 4.5: bit 5 of position 4 has no "
         "definition"},
        {{"--x", "1", "--y", "2", "--z", "3", "--where", "2.0=1"},
         "unknown position in --where '2.0=1'"},
    };
    for (const auto& [args, message] : cases) {
        const ProgramRun run = Table(args);
        EXPECT_EQ(run.code, 64) << message;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(AnalysisCliTest, MalformedConditionsAndEdgeListsAreNamed) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--where", "1=>3"}, "--where: condition '1=>3': '>3' after = is not a number"},
        {{"--where", "speed>3"}, "'speed' is not a position"},
        {{"--where", "1"}, "condition '1' has no comparison"},
        {{"--x-edges", "5"}, "--x-edges: edge list '5' needs at least two edges"},
        {{"--y-edges", "0,1,1"}, "--y-edges: edge list '0,1,1': the edges must rise strictly"},
        {{"--x-edges", "0,x"}, "edge list '0,x': 'x' is not a number"},
        {{"--stat", "median"}, "--stat 'median': expected mean, count, min, max or sd"},
        {{"--settle", "soon"}, "--settle soon: expected a number of seconds"},
        {{"--min-count", "-1"}, "--min-count -1: expected a whole number"},
        {{"--z", "501"}, "--z '501': expected a position (1 to 500) or POS.BIT"},
        {{"--z", "3", "--z", "3"}, "--z is given twice"},
        {{"--z", "3", "--share"}, "unknown option '--share'"},
    };
    for (const auto& [more, message] : cases) {
        std::vector<std::string> args = {"--x", "1", "--y", "2"};
        if (more.front() != "--z") {
            args.insert(args.end(), {"--z", "3"});
        }
        const ProgramRun run = Table(With(args, more));
        EXPECT_EQ(run.code, 64) << message;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
}

TEST_F(AnalysisCliTest, HelpAndSetFailures) {
    for (const char* command : {"table", "histogram", "scatter"}) {
        const ProgramRun run = Cli({command, "--help"});
        EXPECT_EQ(run.code, 0) << command;
        EXPECT_EQ(run.out.rfind(std::string("usage: vekaton-cli ") + command, 0), 0u) << run.out;
    }
    ProgramRun run =
        Cli({"table", "--dir", File("nowhere"), Log(), "--x", "1", "--y", "2", "--z", "3"});
    EXPECT_EQ(run.code, 1);
    run =
        Cli({"table", "--dir", Dir(), "--set", "Other", Log(), "--x", "1", "--y", "2", "--z", "3"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("no settings file"), std::string::npos) << run.err;
}

TEST_F(AnalysisCliTest, HistogramAndScatter) {
    ProgramRun run =
        Cli({"histogram", "--dir", Dir(), Log(), "--x", "1", "--x-edges", "0,1000,2000,3000"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "X,Count\r\n0,\r\n1000,2\r\n2000,2\r\n");
    EXPECT_NE(run.err.find("vekaton-cli histogram: 6 frames read, 4 used"), std::string::npos)
        << run.err;
    run = Cli({"histogram", "--dir", Dir(), Log(), "--x", "1", "--x-edges", "0,1000,2000,3000",
               "--share", "--where", "4.0!=0"});
    EXPECT_EQ(run.out, "X,Share\r\n0,\r\n1000,0.6666666667\r\n2000,0.3333333333\r\n");
    run = Cli({"histogram", "--dir", Dir(), Log(), "--x", "1", "--y", "2"});
    EXPECT_EQ(run.code, 64);

    run = Cli({"scatter", "--dir", Dir(), Log(), "--x", "1", "--y", "2", "--z", "3", "--x-edges",
               "0,1500,3000", "--y-edges", "0,50,100"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "X,Y,Count,Z\r\n1500,0,1,1\r\n0,50,2,0.5\r\n1500,50,1,10\r\n");
    run = Cli({"scatter", "--dir", Dir(), Log(), "--x", "1", "--y", "2", "--x-edges", "0,1500,3000",
               "--y-edges", "0,50,100", "--min-count", "2"});
    EXPECT_EQ(run.out, "X,Y,Count\r\n0,50,2\r\n");
    run = Cli({"scatter", "--dir", Dir(), Log(), "--x", "1"});
    EXPECT_EQ(run.code, 64);
    EXPECT_NE(run.err.find("scatter needs --y POS"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vekaton::testing
