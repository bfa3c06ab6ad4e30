// The help of vekaton-cli at every level, and the exit codes of wrong usage.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "cli/CliCommands.h"

namespace vekaton::cli {
namespace {

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

// RunCli writes to the standard streams; they are caught for the length of the run.
CliRun RunCliCaught(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());
    std::streambuf* oldErr = std::cerr.rdbuf(err.rdbuf());
    std::vector<std::string> argv0 = {"vekaton-cli"};
    std::vector<char*> argv;
    for (std::string& arg : argv0) {
        argv.push_back(arg.data());
    }
    CliRun run;
    run.code = RunCli(1, argv.data(), args);
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(CliHelpTest, HelpAtTheTopDescribesEverySubcommandOnStandardOutput) {
    for (const char* word : {"--help", "-h", "help"}) {
        const CliRun run = RunCliCaught({word});
        EXPECT_EQ(run.code, 0) << word;
        EXPECT_EQ(run.err, "") << word;
        for (const Subcommand& command : Subcommands()) {
            EXPECT_NE(run.out.find(command.usage), std::string::npos) << command.name;
            EXPECT_NE(run.out.find(command.help), std::string::npos) << command.name;
        }
        EXPECT_NE(run.out.find("Exit codes:"), std::string::npos);
        EXPECT_NE(run.out.find("64  wrong usage"), std::string::npos);
    }
    EXPECT_EQ(RunCliCaught({"--help"}).out, FullHelp());
}

TEST(CliHelpTest, EachSubcommandHasOptionsDefaultsExamplesAndExitCodes) {
    for (const Subcommand& command : Subcommands()) {
        const std::string help(command.help);
        EXPECT_NE(help.find("default"), std::string::npos) << command.name;
        EXPECT_NE(help.find("Example"), std::string::npos) << command.name;
        EXPECT_NE(help.find("Exit codes:"), std::string::npos) << command.name;
        EXPECT_NE(help.find("vekaton-cli " + std::string(command.name)), std::string::npos)
            << command.name << ": an example of its own";
        for (const std::string& lineEnd : {std::string("\n")}) {
            std::size_t start = 0;
            while (start < help.size()) {
                const std::size_t end = help.find(lineEnd, start);
                EXPECT_LE(end - start, 80u)
                    << command.name << ": " << help.substr(start, end - start);
                start = end + 1;
            }
        }
    }
    const std::string live(FindSubcommand("live")->help);
    for (const char* option : {"--dir", "--set", "--port", "--frames", "--seconds", "-o FILE",
                               "--exact", "--force", "4 no frame"}) {
        EXPECT_NE(live.find(option), std::string::npos) << option;
    }
    const std::string decode(FindSubcommand("decode")->help);
    for (const char* option : {"--dir", "--set", "LOG", "-o FILE", "--exact", "--force"}) {
        EXPECT_NE(decode.find(option), std::string::npos) << option;
    }
    EXPECT_NE(std::string(FindSubcommand("eval")->help).find("--width N"), std::string::npos);
}

TEST(CliHelpTest, HelpOfOneSubcommandAtAnyPlace) {
    for (const Subcommand& command : Subcommands()) {
        const std::string name(command.name);
        for (const std::vector<std::string>& args : {std::vector<std::string>{name, "--help"},
                                                     {name, "-h"},
                                                     {"help", name},
                                                     {"--help", name},
                                                     {name, "--dir", "x", "--help"}}) {
            const CliRun run = RunCliCaught(args);
            EXPECT_EQ(run.code, 0) << args.back();
            EXPECT_EQ(run.out, SubcommandHelp(command)) << name;
            EXPECT_EQ(run.err, "");
        }
    }
}

TEST(CliHelpTest, EvalHelpIsNotEvaluated) {
    for (const char* word : {"help", "HELP", "Help"}) {
        const CliRun run = RunCliCaught({"eval", word});
        EXPECT_EQ(run.code, 0) << word;
        EXPECT_EQ(run.out, SubcommandHelp(*FindSubcommand("eval")));
        EXPECT_EQ(run.err, "");
    }
    // After "--" everything is the formula: "-h" is then a formula that cannot be built.
    EXPECT_EQ(RunCliCaught({"eval", "--", "-h"}).code, 2);
    EXPECT_EQ(RunCliCaught({"eval", "A", "A=3"}).out, "3\n");
}

TEST(CliHelpTest, WrongUsageExits64WithTheUsageOnStandardError) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"frobnicate"},
                                                 {"--verbose"},
                                                 {"eval"},
                                                 {"live", "--frames", "0"},
                                                 {"decode"},
                                                 {"decode", "a.Dat", "b.Dat"},
                                                 {"live", "--bogus"}}) {
        const CliRun run = RunCliCaught(args);
        EXPECT_EQ(run.code, kExitUsage) << (args.empty() ? "(none)" : args.back());
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
    }
    EXPECT_NE(RunCliCaught({}).err.find(ShortUsage()), std::string::npos);
    EXPECT_NE(
        RunCliCaught({"live", "--bogus"}).err.find("vekaton-cli live: unknown option '--bogus'"),
        std::string::npos);
}

}  // namespace
}  // namespace vekaton::cli
