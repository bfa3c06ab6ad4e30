// What vekaton-cli live says about a link that does not work, and frames it must not lose,
// against vekaton-sim on pseudo-terminals.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "E2eSupport.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

constexpr int kRunWaitMs = 40000;

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

class LiveWarningsTest : public ::testing::Test {
  protected:
    std::unique_ptr<SimProcess> StartSim(std::vector<std::string> args) {
        auto sim = std::make_unique<SimProcess>(folder_.Path(), std::move(args));
        EXPECT_FALSE(sim->DevicePath().empty()) << sim->Errors();
        return sim;
    }
    void WriteSet(LinkSetUp setUp, const std::string& name = "Default") {
        if (setUp.portName.value_or("").empty()) {
            setUp.portName = Link();
        }
        folder_.Write(name + ".Ini", SettingsFile(setUp));
        folder_.Write(name + ".cfg", EngineModelParameterFile());
    }
    int RunLive(std::vector<std::string> args) {
        args.insert(args.begin(), {"live", "--dir", folder_.Path().string(), "-o", OutPath()});
        ChildProcess live(CliProgram(), args, folder_ / "cli.out", folder_ / "cli.err");
        return live.Wait(kRunWaitMs).value_or(-1);
    }
    std::string Link() const { return (folder_ / "ecm").string(); }
    std::string OutPath() const { return (folder_ / "out.csv").string(); }
    std::string Errors() const { return folder_.Read("cli.err"); }

    // The frame counters of the rows, which must follow one another: no frame was lost.
    void ExpectConsecutiveGoodFrames(const CsvTable& csv) {
        const int counter = csv.Column(kFrameCounterName);
        ASSERT_GE(counter, 0);
        for (std::size_t r = 0; r < csv.rows.size(); ++r) {
            EXPECT_EQ(csv.rows[r].back(), "OK") << "row " << r + 1;
            if (r > 0) {
                const int before = std::stoi(csv.rows[r - 1][static_cast<std::size_t>(counter)]);
                const int now = std::stoi(csv.rows[r][static_cast<std::size_t>(counter)]);
                EXPECT_EQ(now, (before + 1) % 256) << "a frame was lost before row " << r + 1;
            }
        }
    }

    ScratchFolder folder_;
};

TEST_F(LiveWarningsTest, AModuleThatNeverAnswersIsNamedOnceAndTheRunEndsWithCode4) {
    auto sim = StartSim({"--data-bytes", "23", "--stop-after", "0"});
    WriteSet({});
    EXPECT_EQ(RunLive({"--seconds", "6"}), 4) << Errors();
    const std::string errors = Errors();
    EXPECT_EQ(Occurrences(errors, "warning: no frame from " + Link() + " in 2 seconds"), 1u)
        << errors;
    EXPECT_NE(errors.find("talk/listen mode"), std::string::npos) << errors;
    EXPECT_NE(errors.find("Nothing arrived on the port."), std::string::npos) << errors;
    EXPECT_NE(errors.find("ignition"), std::string::npos) << errors;
    EXPECT_NE(errors.find("0 frames received, 0 bad checksums, 0 sync errors"), std::string::npos)
        << errors;
    const CsvTable csv = ReadCsv(OutPath());
    EXPECT_EQ(csv.header.front(), "Frame");
    EXPECT_TRUE(csv.rows.empty());
}

TEST_F(LiveWarningsTest, AModuleThatStopsAnsweringIsNamedAndTheRowsStayWhole) {
    auto sim = StartSim({"--data-bytes", "23", "--echo", "--stop-after", "5"});
    LinkSetUp setUp;
    setUp.echoed = true;
    WriteSet(setUp);
    EXPECT_EQ(RunLive({"--seconds", "7"}), 0) << Errors();
    const std::string errors = Errors();
    EXPECT_EQ(Occurrences(errors, "warning: no frame from"), 1u) << errors;
    EXPECT_NE(errors.find("Only the echo of each request comes back"), std::string::npos) << errors;
    EXPECT_NE(errors.find("5 frames received, 0 bad checksums"), std::string::npos) << errors;
    const CsvTable csv = ReadCsv(OutPath());
    EXPECT_EQ(csv.rows.size(), 5u);
    EXPECT_EQ(csv.malformedLines, 0);
}

TEST_F(LiveWarningsTest, AWrongEchoSettingIsExplained) {
    auto sim = StartSim({"--data-bytes", "23"});  // the adapter does not echo
    LinkSetUp setUp;
    setUp.echoed = true;
    WriteSet(setUp);
    EXPECT_EQ(RunLive({"--seconds", "6"}), 4) << Errors();
    EXPECT_NE(Errors().find("per request, but none completed a frame. That is a frame "
                            "without the echo"),
              std::string::npos)
        << Errors();
}

TEST_F(LiveWarningsTest, FramesThatAllFailTheirChecksumNameTheLikelySettings) {
    // Every checksum is spoiled on purpose: a mismatched frame layout would fail most
    // checksums too, but one frame in 256 would pass by chance and break the run of five.
    auto sim = StartSim({"--data-bytes", "23", "--echo", "--fault", "bad-checksum"});
    LinkSetUp setUp;
    setUp.echoed = true;
    WriteSet(setUp);
    EXPECT_EQ(RunLive({"--frames", "8", "--seconds", "20"}), 0) << Errors();
    const std::string errors = Errors();
    EXPECT_EQ(Occurrences(errors, "5 frames in a row failed their checksum"), 1u) << errors;
    for (const char* name : {"DataBytes", "ResponseBytes=3", "RequestEchoed=TRUE"}) {
        EXPECT_NE(errors.find(name), std::string::npos) << name << "\n" << errors;
    }
    EXPECT_NE(errors.find("8 frames received, 8 bad checksums"), std::string::npos) << errors;
}

TEST_F(LiveWarningsTest, FramesLostAgainAndAgainAreWarnedAbout) {
    auto sim = StartSim({"--data-bytes", "23", "--fault", "drop-byte:2"});
    WriteSet({});
    EXPECT_EQ(RunLive({"--frames", "8", "--seconds", "20"}), 0) << Errors();
    const std::string errors = Errors();
    EXPECT_NE(errors.find("frames lost so far"), std::string::npos) << errors;
    EXPECT_NE(errors.find("polls without a complete answer"), std::string::npos) << errors;
    EXPECT_NE(errors.find("8 frames received"), std::string::npos) << errors;
}

TEST_F(LiveWarningsTest, TalkListenPolledEveryMillisecondLosesNoFrame) {
    auto sim = StartSim({"--data-bytes", "23"});
    LinkSetUp setUp;
    setUp.sampleRate = 1;  // far quicker than the 33 ms an answer takes on the line
    WriteSet(setUp);
    ASSERT_EQ(RunLive({"--frames", "100", "--seconds", "30"}), 0) << Errors();
    const CsvTable csv = ReadCsv(OutPath());
    ASSERT_EQ(csv.rows.size(), 100u) << Errors();
    ExpectConsecutiveGoodFrames(csv);
    EXPECT_NE(Errors().find("100 frames received, 0 bad checksums, 0 sync errors, 0 polls "
                            "without a complete answer"),
              std::string::npos)
        << Errors();
}

TEST_F(LiveWarningsTest, ListenOnlyFramesCloserThanSyncTimeAreAllDecoded) {
    // Bursts of 27 bytes (33 ms) every 100 ms: the pauses are far shorter than SyncTime.
    auto sim = StartSim({"--mode", "listen", "--data-bytes", "23", "--interval", "100"});
    LinkSetUp setUp;
    setUp.syncMode = 1;
    setUp.syncTime = 500;
    WriteSet(setUp);
    ASSERT_EQ(RunLive({"--frames", "30", "--seconds", "20"}), 0) << Errors();
    const CsvTable csv = ReadCsv(OutPath());
    ASSERT_EQ(csv.rows.size(), 30u) << Errors();
    ExpectConsecutiveGoodFrames(csv);
}

TEST_F(LiveWarningsTest, TheSimulatorTakesItsLinkFromASet) {
    LinkSetUp setUp;
    setUp.echoed = true;
    setUp.responseBytes = 2;
    setUp.dataBytes = 30;
    WriteSet(setUp, "Truck");
    folder_.Write("Vekaton.Ini", "Truck\r\n");
    auto sim = StartSim({"--dir", folder_.Path().string()});
    ASSERT_EQ(RunLive({"--frames", "10", "--seconds", "20"}), 0) << Errors();
    const CsvTable csv = ReadCsv(OutPath());
    ASSERT_EQ(csv.rows.size(), 10u);
    for (const auto& row : csv.rows) {
        EXPECT_EQ(row.back(), "OK");
    }
    EXPECT_EQ(Errors().find("warning"), std::string::npos) << Errors();
    // The frames it made have the set's shape: 2 header bytes, 30 data bytes, a checksum.
    const std::string sent = ReadWholeFile(sim->SentLogPath());
    EXPECT_EQ((sent.size() - 2) % 33, 0u);
    EXPECT_GE((sent.size() - 2) / 33, 10u);
}

TEST_F(LiveWarningsTest, TheSimulatorTakesANamedSetAndRefusesAMissingOne) {
    LinkSetUp listen;
    listen.syncMode = 1;
    listen.syncTime = 40;
    WriteSet(listen, "Bench");
    auto sim = StartSim({"--dir", folder_.Path().string(), "--set", "Bench"});
    ASSERT_EQ(RunLive({"--set", "Bench", "--frames", "5", "--seconds", "20"}), 0) << Errors();
    EXPECT_EQ(ReadCsv(OutPath()).rows.size(), 5u);

    ChildProcess missing(SimProgram(), {"--dir", folder_.Path().string(), "--set", "Nothing"},
                         folder_ / "missing.out", folder_ / "missing.err");
    EXPECT_EQ(missing.Wait(10000), 1);
    EXPECT_NE(folder_.Read("missing.err").find("no settings file Nothing.ini"), std::string::npos)
        << folder_.Read("missing.err");
}

// The README's example, pasted as it stands: the simulator answers as the demo set expects.
TEST_F(LiveWarningsTest, TheReadmeExampleGivesGoodFrames) {
    const std::string demo = VEKATON_SOURCE_DIR "/demo";
    auto sim = StartSim({"--dir", demo});
    ChildProcess live(CliProgram(),
                      {"live", "--dir", demo, "--port", Link(), "--seconds", "3", "-o", OutPath()},
                      folder_ / "cli.out", folder_ / "cli.err");
    ASSERT_EQ(live.Wait(kRunWaitMs), 0) << Errors();
    const CsvTable csv = ReadCsv(OutPath());
    ASSERT_GE(csv.rows.size(), 5u) << Errors();
    for (const auto& row : csv.rows) {
        EXPECT_EQ(row.back(), "OK");
    }
    EXPECT_EQ(Errors().find("warning"), std::string::npos) << Errors();
}

}  // namespace
}  // namespace vekaton::testing
