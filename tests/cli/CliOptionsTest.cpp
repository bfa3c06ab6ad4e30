#include <gtest/gtest.h>

#include "cli/CliCommands.h"
#include "cli/SimOptions.h"

namespace vekaton::cli {
namespace {

using Args = std::vector<std::string>;

TEST(SimOptionsTest, DefaultsAnswerLikeTheCapturedModule) {
    const auto parsed = ParseSimOptions({});
    ASSERT_EQ(parsed.error, "");
    const SimulatorConfig& config = parsed.options.config;
    EXPECT_EQ(config.mode, SyncMode::TalkListen);
    EXPECT_EQ(config.request, (std::vector<std::uint8_t>{0xF4, 0x57, 0x01, 0x00, 0xB4}));
    EXPECT_EQ(config.header, (std::vector<std::uint8_t>{0xF4, 0x95, 0x01}));
    EXPECT_EQ(config.dataBytes, 63);
    EXPECT_TRUE(config.checksum);
    EXPECT_FALSE(config.echo);
    EXPECT_EQ(parsed.options.baudRate, 8192);
    EXPECT_FALSE(parsed.options.help);
    EXPECT_TRUE(parsed.options.linkPath.empty());
}

TEST(SimOptionsTest, EveryOptionInBothSpellings) {
    const auto parsed = ParseSimOptions({"--mode",
                                         "aldl160",
                                         "--request=$F0 $92",
                                         "--header",
                                         "",
                                         "--data-bytes=500",
                                         "--no-checksum",
                                         "--echo",
                                         "--interval",
                                         "250",
                                         "--fault",
                                         "bad-checksum:10",
                                         "--fault=silence",
                                         "--seed",
                                         "7",
                                         "--baud=0",
                                         "--replay",
                                         "a.Dat",
                                         "--sent-log=b.Dat",
                                         "--link",
                                         "/tmp/ecm"});
    ASSERT_EQ(parsed.error, "");
    const SimOptions& options = parsed.options;
    EXPECT_EQ(options.config.mode, SyncMode::Aldl160);
    EXPECT_EQ(options.config.request, (std::vector<std::uint8_t>{0xF0, 0x92}));
    EXPECT_TRUE(options.config.header.empty());
    EXPECT_EQ(options.config.dataBytes, 500);
    EXPECT_FALSE(options.config.checksum);
    EXPECT_TRUE(options.config.echo);
    EXPECT_EQ(options.config.intervalMs, 250);
    EXPECT_EQ(options.config.faultEvery[static_cast<int>(SimFault::WrongChecksum)], 10);
    EXPECT_EQ(options.config.faultEvery[static_cast<int>(SimFault::Silence)], 1);
    EXPECT_EQ(options.config.faultEvery[static_cast<int>(SimFault::DroppedByte)], 0);
    EXPECT_EQ(options.config.seed, 7u);
    EXPECT_EQ(options.baudRate, 0);
    EXPECT_EQ(options.replayPath, "a.Dat");
    EXPECT_EQ(options.sentLogPath, "b.Dat");
    EXPECT_EQ(options.linkPath, "/tmp/ecm");
}

TEST(SimOptionsTest, ModesByNameOrSettingsNumber) {
    SyncMode mode = SyncMode::TalkListen;
    EXPECT_TRUE(ParseSimMode("listen", mode));
    EXPECT_EQ(mode, SyncMode::ListenOnly);
    EXPECT_TRUE(ParseSimMode("2", mode));
    EXPECT_EQ(mode, SyncMode::TalkListen);
    EXPECT_TRUE(ParseSimMode("3", mode));
    EXPECT_EQ(mode, SyncMode::Aldl160);
    EXPECT_FALSE(ParseSimMode("Talk", mode));
    EXPECT_FALSE(ParseSimMode("4", mode));
    EXPECT_EQ(mode, SyncMode::Aldl160);
}

TEST(SimOptionsTest, MistakesAreNamed) {
    const auto error = [](const Args& args) { return ParseSimOptions(args).error; };
    EXPECT_NE(error({"--mode", "fast"}).find("--mode fast"), std::string::npos);
    EXPECT_NE(error({"--data-bytes", "501"}).find("0 to 500"), std::string::npos);
    EXPECT_NE(error({"--data-bytes", "x"}).find("--data-bytes x"), std::string::npos);
    EXPECT_NE(error({"--interval", "0"}).find("--interval"), std::string::npos);
    EXPECT_NE(error({"--fault", "smoke"}).find("unknown fault 'smoke'"), std::string::npos);
    EXPECT_NE(error({"--fault", "smoke"}).find("drop-byte"), std::string::npos);
    EXPECT_NE(error({"--fault", "silence:0"}).find("1 to 1000000"), std::string::npos);
    EXPECT_NE(error({"--fault", "silence:"}).find("1 to 1000000"), std::string::npos);
    EXPECT_NE(error({"--echo=yes"}).find("takes no value"), std::string::npos);
    EXPECT_NE(error({"--link"}).find("--link needs a value"), std::string::npos);
    EXPECT_NE(error({"--colour", "red"}).find("unknown option '--colour'"), std::string::npos);
    EXPECT_NE(error({"stray"}).find("unexpected argument 'stray'"), std::string::npos);
    std::string longRequest;
    for (int i = 0; i < 85; ++i) {
        longRequest += "$01 ";
    }
    EXPECT_NE(error({"--request", longRequest}).find("more than 84"), std::string::npos);
    EXPECT_EQ(error({"--help"}), "");
    EXPECT_TRUE(ParseSimOptions({"-h"}).options.help);
}

TEST(SimOptionsTest, ASetGivesTheLinkExceptWhatTheCommandLineSays) {
    auto parsed = ParseSimOptions({"--dir", "demo", "--data-bytes", "40", "--stop-after", "5"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.setDir, "demo");
    EXPECT_EQ(parsed.options.config.stopAfterFrames, 5);
    LinkSettings set;
    set.syncMode = SyncMode::ListenOnly;
    set.requestString = "$F4 $57";
    set.responseBytes = 2;
    set.dataBytes = 23;
    set.useCheckSum = false;
    set.requestEchoed = true;
    set.sampleRate = 150;
    set.baudRate = 9600;
    ApplySetLink(parsed.options, set);
    const SimulatorConfig& config = parsed.options.config;
    EXPECT_EQ(config.mode, SyncMode::ListenOnly);
    EXPECT_EQ(config.request, (std::vector<std::uint8_t>{0xF4, 0x57}));
    EXPECT_EQ(config.header, (std::vector<std::uint8_t>{0xF4, 0x95}));
    EXPECT_EQ(config.dataBytes, 40) << "given on the command line";
    EXPECT_FALSE(config.checksum);
    EXPECT_TRUE(config.echo);
    EXPECT_EQ(config.intervalMs, 150);
    EXPECT_EQ(parsed.options.baudRate, 9600);

    EXPECT_EQ(ParseSimOptions({}).options.config.stopAfterFrames, -1);
    EXPECT_NE(ParseSimOptions({"--set", "Demo"}).error.find("--set needs --dir"),
              std::string::npos);
    EXPECT_NE(ParseSimOptions({"--stop-after", "-1"}).error, "");
}

TEST(SimOptionsTest, UsageNamesEveryOption) {
    const std::string usage = SimUsage();
    for (const char* option :
         {"--mode", "--request", "--header", "--data-bytes", "--checksum", "--echo", "--interval",
          "--baud", "--fault", "--seed", "--replay", "--sent-log", "--link", "--help", "--dir",
          "--set", "--stop-after", "Examples:", "Exit codes:"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

TEST(LiveOptionsTest, AllOptions) {
    LiveOptions options;
    EXPECT_EQ(ParseLiveOptions({"--dir", "/sets", "--set=Truck", "--port", "/dev/ttyUSB0",
                                "--frames", "20", "--seconds=1.5", "-o", "out.csv"},
                               options),
              "");
    EXPECT_EQ(options.dir, "/sets");
    EXPECT_EQ(options.setName, "Truck");
    EXPECT_EQ(options.port, "/dev/ttyUSB0");
    EXPECT_EQ(options.frames, 20);
    EXPECT_EQ(options.seconds, 1.5);
    EXPECT_EQ(options.outputPath, "out.csv");
    EXPECT_FALSE(options.exact);
    EXPECT_FALSE(options.force);
    LiveOptions flags;
    EXPECT_EQ(ParseLiveOptions({"--exact", "--force"}, flags), "");
    EXPECT_TRUE(flags.exact);
    EXPECT_TRUE(flags.force);

    LiveOptions none;
    EXPECT_EQ(ParseLiveOptions({}, none), "");
    EXPECT_FALSE(none.frames.has_value());
    EXPECT_FALSE(none.seconds.has_value());
    EXPECT_TRUE(none.dir.empty());
}

TEST(LiveOptionsTest, LimitsMustBeSensible) {
    const auto error = [](const Args& args) {
        LiveOptions options;
        return ParseLiveOptions(args, options);
    };
    EXPECT_NE(error({"--frames", "0"}), "");
    EXPECT_NE(error({"--frames", "-3"}), "");
    EXPECT_NE(error({"--frames", "ten"}), "");
    EXPECT_NE(error({"--seconds", "-1"}), "");
    EXPECT_NE(error({"--seconds", "2s"}), "");
    EXPECT_NE(error({"--seconds", "nan"}), "");
    EXPECT_NE(error({"--seconds", "inf"}), "");
    EXPECT_NE(error({"--seconds", "9e99"}), "");
    EXPECT_NE(error({"--seconds"}), "");
    EXPECT_EQ(error({"--seconds", "0"}), "");
    EXPECT_NE(error({"extra"}).find("unexpected argument 'extra'"), std::string::npos);
    EXPECT_NE(error({"--verbose"}).find("unknown option '--verbose'"), std::string::npos);
}

TEST(DecodeOptionsTest, TakesOneLogAndTheSet) {
    DecodeOptions options;
    EXPECT_EQ(ParseDecodeOptions({"--dir", "d", "run.Dat", "--set", "Truck", "-o", "-"}, options),
              "");
    EXPECT_EQ(options.logPath, "run.Dat");
    EXPECT_EQ(options.dir, "d");
    EXPECT_EQ(options.setName, "Truck");
    EXPECT_EQ(options.outputPath, "-");

    DecodeOptions again;
    EXPECT_EQ(ParseDecodeOptions({"--dir", "d"}, again), "decode needs a data log");
    DecodeOptions twice;
    EXPECT_NE(ParseDecodeOptions({"a.Dat", "b.Dat"}, twice).find("unexpected argument 'b.Dat'"),
              std::string::npos);
    DecodeOptions missing;
    EXPECT_NE(ParseDecodeOptions({"a.Dat", "-o"}, missing).find("-o needs a value"),
              std::string::npos);
}

}  // namespace
}  // namespace vekaton::cli
