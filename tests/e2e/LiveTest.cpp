// vekaton-cli live against vekaton-sim on a pseudo-terminal, through the real serial port code.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <thread>

#include "E2eSupport.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

constexpr int kRowWaitMs = 20000;

class LiveTest : public ::testing::Test {
  protected:
    std::unique_ptr<SimProcess> StartSim(std::vector<std::string> args,
                                         const std::string& name = "sim") {
        auto sim = std::make_unique<SimProcess>(folder_.Path(), std::move(args), name);
        EXPECT_FALSE(sim->DevicePath().empty()) << sim->Errors();
        EXPECT_EQ(sim->DevicePath().rfind("/dev/pts/", 0), 0u) << sim->DevicePath();
        return sim;
    }

    void WriteSet(LinkSetUp setUp) {
        if (setUp.portName.value_or("").empty()) {
            setUp.portName = (folder_ / "ecm").string();
        }
        folder_.Write("Default.Ini", SettingsFile(setUp));
        folder_.Write("Default.cfg", EngineModelParameterFile());
    }

    std::unique_ptr<ChildProcess> StartLive(std::vector<std::string> args) {
        args.insert(args.begin(), {"live", "--dir", folder_.Path().string(), "-o", OutPath()});
        return std::make_unique<ChildProcess>(CliProgram(), args, folder_ / "cli.out",
                                              folder_ / "cli.err");
    }

    // Runs live to its end; returns its exit code (-1 when it had to be killed).
    int RunLive(std::vector<std::string> args, int timeoutMs = kRowWaitMs) {
        auto live = StartLive(std::move(args));
        const auto code = live->Wait(timeoutMs);
        return code.value_or(-1);
    }

    std::string OutPath() const { return (folder_ / "out.csv").string(); }
    std::string Errors() const { return folder_.Read("cli.err"); }

    // Every row must show the values of the frame the simulator made with the same frame
    // counter, decoded by the documented formulas.
    void ExpectRowsMatchSentFrames(const CsvTable& csv, const std::filesystem::path& sentLog,
                                   std::size_t headerSize, std::size_t dataBytes,
                                   std::size_t recordSize) {
        const auto sent = ReadLogRecords(sentLog, recordSize);
        ASSERT_FALSE(sent.empty());
        ASSERT_LT(sent.size(), 256u) << "the frame counter would wrap";
        const int counterColumn = csv.Column(kFrameCounterName);
        ASSERT_GE(counterColumn, 0);
        double lastTime = -1.0;
        for (std::size_t r = 0; r < csv.rows.size(); ++r) {
            const auto& row = csv.rows[r];
            EXPECT_EQ(row[0], std::to_string(r + 1));
            const double time = std::stod(row[1]);
            EXPECT_GE(time, lastTime);
            lastTime = time;
            const int counter = std::stoi(row[static_cast<std::size_t>(counterColumn)]);
            ASSERT_GE(counter, 0);
            ASSERT_LT(static_cast<std::size_t>(counter), sent.size()) << "row " << r + 1;
            const auto& record = sent[static_cast<std::size_t>(counter)];
            const std::vector<std::uint8_t> data(
                record.begin() + static_cast<std::ptrdiff_t>(headerSize),
                record.begin() + static_cast<std::ptrdiff_t>(headerSize + dataBytes));
            ASSERT_EQ(data[kFrameCounterPosition - 1], counter);
            for (const auto& [name, expected] : EngineModelValues(data)) {
                const int column = csv.Column(name);
                ASSERT_GE(column, 0) << name;
                const double shown = std::stod(row[static_cast<std::size_t>(column)]);
                EXPECT_NEAR(shown, expected, 1e-9 * std::max(1.0, std::fabs(expected)))
                    << name << " in row " << r + 1;
            }
        }
    }

    ScratchFolder folder_;
};

TEST_F(LiveTest, TalkListenWithEchoedRequestDecodesEveryAnswer) {
    auto sim = StartSim({"--mode", "talk", "--data-bytes", "23", "--echo"});
    LinkSetUp setUp;
    setUp.echoed = true;
    WriteSet(setUp);
    ASSERT_EQ(RunLive({"--frames", "6", "--seconds", "20"}), 0) << Errors();

    const CsvTable csv = ReadCsv(OutPath());
    EXPECT_EQ(csv.header.front(), "Frame");
    EXPECT_EQ(csv.header[1], "Time");
    EXPECT_EQ(csv.header[2], "Coolant temperature");
    EXPECT_EQ(csv.header.back(), "Checksum");
    EXPECT_EQ(csv.malformedLines, 0);
    ASSERT_EQ(csv.rows.size(), 6u);
    for (const auto& row : csv.rows) {
        EXPECT_EQ(row.back(), "OK");
    }
    ExpectRowsMatchSentFrames(csv, sim->SentLogPath(), 3, 23, 27);
    // A running engine: speed and the frame counter are believable and move.
    const int speed = csv.Column("Engine speed");
    EXPECT_GT(std::stod(csv.rows[0][static_cast<std::size_t>(speed)]), 400.0);
    EXPECT_LT(std::stod(csv.rows[0][static_cast<std::size_t>(speed)]), 7000.0);
}

TEST_F(LiveTest, ListenOnlyTakesEveryBurstAsAFrame) {
    auto sim = StartSim({"--mode", "listen", "--data-bytes", "23", "--interval", "150"});
    LinkSetUp setUp;
    setUp.syncMode = 1;
    setUp.syncTime = 60;  // bytes of a burst come ~1 ms apart, bursts ~110 ms apart
    WriteSet(setUp);
    ASSERT_EQ(RunLive({"--frames", "5"}), 0) << Errors();

    const CsvTable csv = ReadCsv(OutPath());
    ASSERT_EQ(csv.rows.size(), 5u);
    EXPECT_EQ(csv.malformedLines, 0);
    for (const auto& row : csv.rows) {
        EXPECT_EQ(row.back(), "OK");
    }
    ExpectRowsMatchSentFrames(csv, sim->SentLogPath(), 3, 23, 27);
}

TEST_F(LiveTest, Aldl160InterfacePacketsStartWithTheRequest) {
    auto sim = StartSim({"--mode", "aldl160", "--request", "$F4 $92 $01", "--data-bytes", "23",
                         "--interval", "100"});
    LinkSetUp setUp;
    setUp.syncMode = 3;
    setUp.request = "$F4 $92 $01";
    setUp.responseBytes = 3;
    WriteSet(setUp);
    ASSERT_EQ(RunLive({"--frames", "5"}), 0) << Errors();

    const CsvTable csv = ReadCsv(OutPath());
    ASSERT_EQ(csv.rows.size(), 5u);
    // A packet ends by its size: there is no checksum test and so no column for it.
    EXPECT_EQ(csv.header.back(), "Converter clutch locked");
    ExpectRowsMatchSentFrames(csv, sim->SentLogPath(), 3, 23, 27);
}

TEST_F(LiveTest, BadChecksumsAreMarkedAndTheFramesStillDecoded) {
    auto sim = StartSim({"--data-bytes", "23", "--fault", "bad-checksum:3"});
    WriteSet({});
    ASSERT_EQ(RunLive({"--frames", "9"}), 0) << Errors();

    const CsvTable csv = ReadCsv(OutPath());
    ASSERT_EQ(csv.rows.size(), 9u);
    const int counterColumn = csv.Column(kFrameCounterName);
    int bad = 0;
    for (const auto& row : csv.rows) {
        // The simulator spoils frames 3, 6, 9, ... it makes: counters 2, 5, 8, ...
        const int counter = std::stoi(row[static_cast<std::size_t>(counterColumn)]);
        const bool spoilt = (counter + 1) % 3 == 0;
        EXPECT_EQ(row.back(), spoilt ? "BAD" : "OK") << "frame counter " << counter;
        bad += spoilt ? 1 : 0;
    }
    EXPECT_GE(bad, 3);
    ExpectRowsMatchSentFrames(csv, sim->SentLogPath(), 3, 23, 27);
}

TEST_F(LiveTest, AListenOnlyBurstShortOfAByteGivesNoRow) {
    auto sim = StartSim(
        {"--mode", "listen", "--data-bytes", "23", "--interval", "120", "--fault", "drop-byte:2"});
    LinkSetUp setUp;
    setUp.syncMode = 1;
    setUp.syncTime = 50;
    WriteSet(setUp);
    ASSERT_EQ(RunLive({"--frames", "4"}), 0) << Errors();

    const CsvTable csv = ReadCsv(OutPath());
    ASSERT_EQ(csv.rows.size(), 4u);
    const int counterColumn = csv.Column(kFrameCounterName);
    for (const auto& row : csv.rows) {
        // Frames 2, 4, ... (odd counters) lost a byte: they never reach the frame's length.
        EXPECT_EQ(std::stoi(row[static_cast<std::size_t>(counterColumn)]) % 2, 0);
        EXPECT_EQ(row.back(), "OK");
    }
    ExpectRowsMatchSentFrames(csv, sim->SentLogPath(), 3, 23, 27);
}

TEST_F(LiveTest, APortThatCannotBeOpenedEndsAtOnceWithTheReason) {
    WriteSet({});
    EXPECT_EQ(RunLive({"--port", (folder_ / "no-such-device").string(), "--seconds", "30"}, 10000),
              1);
    EXPECT_NE(Errors().find("Invalid Com#"), std::string::npos) << Errors();
    EXPECT_NE(Errors().find("no-such-device"), std::string::npos) << Errors();
}

TEST_F(LiveTest, ASimulatorKilledMidFrameIsReportedWithoutAHang) {
    // 400 data bytes take about half a second at 8192 baud; bursts start a second apart.
    auto sim = StartSim({"--mode", "listen", "--data-bytes", "400", "--interval", "1000"});
    LinkSetUp setUp;
    setUp.syncMode = 1;
    setUp.syncTime = 100;
    setUp.dataBytes = 400;
    WriteSet(setUp);
    auto live = StartLive({"--seconds", "8"});

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(6);
    while (ReadCsv(OutPath()).rows.empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_FALSE(ReadCsv(OutPath()).rows.empty()) << Errors();
    // A burst just ended; the next one starts about 0.5 s from now and lasts 0.5 s.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    sim->Process().Signal(SIGKILL);
    // The device goes with the adapter. (A dangling link could otherwise lead the retries to a
    // pseudo-terminal that a later program is given under the same number.)
    std::filesystem::remove(sim->LinkPath());
    ASSERT_TRUE(sim->Process().Wait(5000).has_value());
    EXPECT_TRUE(live->Running()) << "live ended before its time: " << Errors();

    const auto code = live->Wait(15000);
    ASSERT_TRUE(code.has_value()) << "live hangs after the port was lost";
    EXPECT_EQ(*code, 0) << Errors();
    EXPECT_NE(Errors().find("port lost"), std::string::npos) << Errors();

    const CsvTable csv = ReadCsv(OutPath());
    EXPECT_EQ(csv.malformedLines, 0);
    ASSERT_FALSE(csv.rows.empty());
    ExpectRowsMatchSentFrames(csv, sim->SentLogPath(), 3, 400, 404);
    // The frame on the line when the simulator died was made but never completed.
    const int counterColumn = csv.Column(kFrameCounterName);
    const int lastCounter = std::stoi(csv.rows.back()[static_cast<std::size_t>(counterColumn)]);
    EXPECT_GT(ReadLogRecords(sim->SentLogPath(), 404).size(),
              static_cast<std::size_t>(lastCounter + 1));
}

TEST_F(LiveTest, ALostPortIsOpenedAgainWhenTheDeviceComesBack) {
    auto first = StartSim({"--data-bytes", "23"}, "first");
    WriteSet({});
    auto live = StartLive({"--seconds", "120"});

    const auto waitForRows = [this](std::size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (ReadCsv(OutPath()).rows.size() < count &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return ReadCsv(OutPath()).rows.size();
    };
    ASSERT_GE(waitForRows(3), 3u) << Errors();
    first->Process().Signal(SIGTERM);
    ASSERT_EQ(first->Process().Wait(5000), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(first->LinkPath())))
        << "a stopped simulator removes its link";
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const std::size_t before = ReadCsv(OutPath()).rows.size();

    auto second = StartSim({"--data-bytes", "23"}, "second");
    EXPECT_GE(waitForRows(before + 3), before + 3) << Errors();
    // Ctrl-C ends the run as a limit would: the output is whole and the exit clean.
    live->Signal(SIGINT);
    const auto code = live->Wait(10000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
    EXPECT_NE(Errors().find("port lost"), std::string::npos) << Errors();
    EXPECT_NE(Errors().find("is open again"), std::string::npos) << Errors();
    const CsvTable csv = ReadCsv(OutPath());
    EXPECT_EQ(csv.malformedLines, 0);
    EXPECT_GE(csv.rows.size(), before + 3);
    for (const auto& row : csv.rows) {
        EXPECT_EQ(row.back(), "OK");
    }
}

}  // namespace
}  // namespace vekaton::testing
