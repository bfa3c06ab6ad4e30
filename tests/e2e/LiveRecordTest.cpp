// `vekaton-cli live --record` against vekaton-sim on a pseudo-terminal: in every link mode the
// log holds, for each frame the CSV shows, that frame's record as the window would write it.
#include <gtest/gtest.h>

#include <memory>

#include "E2eSupport.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

struct ModeSetUp {
    std::vector<std::string> simArgs;
    LinkSetUp setUp;
    std::size_t recordSize;  // what the log holds per frame
    std::size_t sentSize;    // what the simulator made per frame
};

std::vector<ModeSetUp> Modes() {
    ModeSetUp listen{{"--mode", "listen", "--data-bytes", "23", "--interval", "120"}, {}, 27, 27};
    listen.setUp.syncMode = 1;
    listen.setUp.syncTime = 50;
    ModeSetUp talk{{"--mode", "talk", "--data-bytes", "23", "--echo"}, {}, 27, 27};
    talk.setUp.echoed = true;
    // ResponseBytes 0: the record is still the request and the data bytes.
    ModeSetUp packets{{"--mode", "aldl160", "--request", "$F4 $92 $01", "--data-bytes", "23",
                       "--interval", "100"},
                      {},
                      26,
                      27};
    packets.setUp.syncMode = 3;
    packets.setUp.request = "$F4 $92 $01";
    packets.setUp.responseBytes = 0;
    return {listen, talk, packets};
}

class LiveRecordTest : public ::testing::TestWithParam<int> {};

TEST_P(LiveRecordTest, TheLogHoldsTheRecordOfEveryFrameShown) {
    ModeSetUp mode = Modes()[static_cast<std::size_t>(GetParam())];
    ScratchFolder folder;
    SimProcess sim(folder.Path(), mode.simArgs);
    ASSERT_FALSE(sim.DevicePath().empty()) << sim.Errors();
    mode.setUp.portName = sim.LinkPath();
    mode.setUp.sampleRate = 500;  // the talk/listen poll, and the log's interval bytes F4 01
    folder.Write("Default.Ini", SettingsFile(mode.setUp));
    folder.Write("Default.cfg", EngineModelParameterFile());

    const std::string log = (folder / "drive.Dat").string();
    ChildProcess live(CliProgram(),
                      {"live", "--dir", folder.Path().string(), "--frames", "5", "--seconds", "30",
                       "--record", log, "-o", (folder / "out.csv").string()},
                      folder / "cli.out", folder / "cli.err");
    const auto code = live.Wait(40000);
    ASSERT_TRUE(code.has_value());
    ASSERT_EQ(*code, 0) << folder.Read("cli.err");

    const std::string bytes = ReadWholeFile(log);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xF4);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0x01);
    EXPECT_EQ((bytes.size() - 2) % mode.recordSize, 0u) << bytes.size();
    const auto records = ReadLogRecords(log, mode.recordSize);
    const CsvTable csv = ReadCsv(folder / "out.csv");
    ASSERT_EQ(csv.rows.size(), 5u);
    ASSERT_EQ(records.size(), csv.rows.size()) << "one record per frame shown";
    const auto sent = ReadLogRecords(sim.SentLogPath(), mode.sentSize);
    const int counterColumn = csv.Column(kFrameCounterName);
    for (std::size_t r = 0; r < records.size(); ++r) {
        const int counter = std::stoi(csv.rows[r][static_cast<std::size_t>(counterColumn)]);
        ASSERT_LT(static_cast<std::size_t>(counter), sent.size());
        const auto& made = sent[static_cast<std::size_t>(counter)];
        EXPECT_EQ(records[r],
                  std::vector<std::uint8_t>(
                      made.begin(), made.begin() + static_cast<std::ptrdiff_t>(mode.recordSize)))
            << "record " << r;
        EXPECT_EQ(records[r][3 + kFrameCounterPosition - 1], counter);
    }
    // It says how the log ended.
    EXPECT_NE(folder.Read("cli.err").find("keeps its 5 whole frames"), std::string::npos)
        << folder.Read("cli.err");

    // And `decode` reads it back to the same values.
    ChildProcess decode(
        CliProgram(),
        {"decode", "--dir", folder.Path().string(), log, "-o", (folder / "decoded.csv").string()},
        folder / "dec.out", folder / "dec.err");
    ASSERT_EQ(decode.Wait(30000), 0) << folder.Read("dec.err");
    const CsvTable decoded = ReadCsv(folder / "decoded.csv");
    ASSERT_EQ(decoded.rows.size(), 5u);
    for (std::size_t r = 0; r < decoded.rows.size(); ++r) {
        // Same values; the time column counts the log's interval from 0.
        for (std::size_t c = 2; c < decoded.header.size(); ++c) {
            const int liveColumn = csv.Column(decoded.header[c]);
            ASSERT_GE(liveColumn, 0) << decoded.header[c];
            EXPECT_EQ(decoded.rows[r][c], csv.rows[r][static_cast<std::size_t>(liveColumn)])
                << decoded.header[c] << " row " << r;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryLinkMode, LiveRecordTest, ::testing::Values(0, 1, 2));

// A disk that fills up mid-run (here a file size limit of a block or two, which fails writes past
// it as a full disk does): the log is cut back to whole frames, the message counts what it holds,
// the run stops at once and the exit code says it failed.
TEST(LiveRecordFullDiskTest, TheLogKeepsWholeFramesAndTheRunFails) {
    ModeSetUp mode = Modes()[1];
    ScratchFolder folder;
    SimProcess sim(folder.Path(), mode.simArgs);
    ASSERT_FALSE(sim.DevicePath().empty()) << sim.Errors();
    mode.setUp.portName = sim.LinkPath();
    mode.setUp.sampleRate = 20;
    folder.Write("Default.Ini", SettingsFile(mode.setUp));
    folder.Write("Default.cfg", EngineModelParameterFile());

    const std::string log = (folder / "full.Dat").string();
    ChildProcess live("/bin/sh",
                      {"-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$@\"", CliProgram(), "live",
                       "--dir", folder.Path().string(), "--frames", "100000", "--seconds", "60",
                       "--record", log, "-o", "/dev/null"},
                      folder / "cli.out", folder / "cli.err");
    const auto code = live.Wait(40000);
    ASSERT_TRUE(code.has_value()) << "the run goes on after its log failed";
    const std::string errors = folder.Read("cli.err");
    EXPECT_EQ(*code, 1) << errors;

    // The shell's block size sets the limit: 512 or 1024 bytes, neither a whole number of frames.
    const std::size_t size = ReadWholeFile(log).size();
    EXPECT_TRUE(size == 2 + (512 - 2) / mode.recordSize * mode.recordSize ||
                size == 2 + (1024 - 2) / mode.recordSize * mode.recordSize)
        << "no part of a frame: " << size;
    const std::size_t whole = ReadLogRecords(log, mode.recordSize).size();
    EXPECT_NE(errors.find("Recording stopped; the log keeps its " + std::to_string(whole) +
                          " whole frames."),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("File too large"), std::string::npos)
        << "the system's reason: " << errors;
    EXPECT_NE(errors.find("the data log could not be written"), std::string::npos) << errors;
}

}  // namespace
}  // namespace vekaton::testing
