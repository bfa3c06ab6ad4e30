#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <vector>

#include "log/DataLog.h"
#include "platform/Process.h"
#include "sim/EngineSimulator.h"

namespace vekaton {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kRequest{0xF4, 0x57, 0x01, 0x00, 0xB4};

unsigned Sum(const Bytes& bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), 0u) & 0xFFu;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

SimulatorConfig TalkListen(bool echo) {
    SimulatorConfig config;
    config.echo = echo;
    return config;
}

TEST(EngineSimulatorTest, AnswersACompleteRequestWithEchoHeaderDataAndChecksum) {
    EngineSimulator sim(TalkListen(true));
    // The request arrives in two pieces: each piece is echoed at once, the answer follows the
    // last one.
    EXPECT_EQ(sim.OnHostBytes(Slice(kRequest, 0, 2), 0), Slice(kRequest, 0, 2));
    const Bytes out = sim.OnHostBytes(Slice(kRequest, 2, 3), 10);
    ASSERT_EQ(out.size(), 3u + 3u + 63u + 1u);
    EXPECT_EQ(Slice(out, 0, 3), Slice(kRequest, 2, 3));
    const Bytes frame = Slice(out, 3, 67);
    EXPECT_EQ(Slice(frame, 0, 3), (Bytes{0xF4, 0x95, 0x01}));
    EXPECT_EQ(Sum(frame), 0u);
    EXPECT_EQ(frame, sim.LastFrame());
    EXPECT_EQ(sim.Stats().frames, 1u);
    const auto data = sim.LastData();
    EXPECT_EQ(Bytes(data.begin(), data.end()), Slice(frame, 3, 63));
}

TEST(EngineSimulatorTest, WithoutEchoOnlyRequestsAreAnsweredEvenAfterNoise) {
    EngineSimulator sim(TalkListen(false));
    EXPECT_TRUE(sim.OnHostBytes(Bytes{0xF4, 0x57, 0x02}, 0).empty());
    Bytes noisy{0x12, 0xF4};
    noisy.insert(noisy.end(), kRequest.begin(), kRequest.end());
    EXPECT_EQ(sim.OnHostBytes(noisy, 5).size(), 67u);
    EXPECT_TRUE(sim.Poll(1000).empty());  // talk/listen never streams
}

TEST(EngineSimulatorTest, AModuleThatStopsAnswersItsFramesThenNothingButTheEcho) {
    SimulatorConfig config = TalkListen(true);
    config.stopAfterFrames = 2;
    EngineSimulator sim(config);
    EXPECT_EQ(sim.OnHostBytes(kRequest, 0).size(), 5u + 67u);
    EXPECT_EQ(sim.OnHostBytes(kRequest, 10).size(), 5u + 67u);
    EXPECT_EQ(sim.OnHostBytes(kRequest, 20), kRequest) << "only the adapter's echo";
    EXPECT_EQ(sim.OnHostBytes(kRequest, 30), kRequest);
    EXPECT_EQ(sim.Stats().frames, 2u);

    config.mode = SyncMode::ListenOnly;
    config.stopAfterFrames = 0;
    EngineSimulator quiet(config);
    for (std::int64_t t = 0; t < 1000; t += 10) {
        EXPECT_TRUE(quiet.Poll(t).empty());
    }
    EXPECT_EQ(quiet.Stats().frames, 0u);
}

TEST(EngineSimulatorTest, ListenOnlyStreamsOneBurstPerInterval) {
    SimulatorConfig config;
    config.mode = SyncMode::ListenOnly;
    config.header = {0xF4, 0x92};
    config.dataBytes = 20;
    config.intervalMs = 200;
    EngineSimulator sim(config);
    EXPECT_TRUE(sim.OnHostBytes(kRequest, 0).empty());  // the module does not listen
    EXPECT_EQ(sim.Poll(1000).size(), 23u);
    EXPECT_EQ(sim.NextDueMs(), 1200);
    EXPECT_TRUE(sim.Poll(1199).empty());
    EXPECT_EQ(sim.Poll(1200).size(), 23u);
    // A late caller gets one burst, never two run together.
    EXPECT_EQ(sim.Poll(2000).size(), 23u);
    EXPECT_TRUE(sim.Poll(2000).empty());
    EXPECT_EQ(sim.NextDueMs(), 2200);
}

TEST(EngineSimulatorTest, Aldl160PacketsBeginWithTheStartString) {
    SimulatorConfig config;
    config.mode = SyncMode::Aldl160;
    config.request = {0x0A, 0x0D, 0x2A};
    config.dataBytes = 40;
    config.checksum = false;
    EngineSimulator sim(config);
    const Bytes packet = sim.Poll(0);
    ASSERT_EQ(packet.size(), 43u);
    EXPECT_EQ(Slice(packet, 0, 3), config.request);
    const auto data = sim.LastData();
    EXPECT_EQ(Bytes(data.begin(), data.end()), Slice(packet, 3, 40));
}

TEST(EngineSimulatorTest, FaultsGoIntoEveryNthFrame) {
    SimulatorConfig config = TalkListen(false);
    config.faultEvery[static_cast<int>(SimFault::WrongChecksum)] = 2;
    config.faultEvery[static_cast<int>(SimFault::Silence)] = 5;
    EngineSimulator sim(config);
    for (int n = 1; n <= 10; ++n) {
        const Bytes frame = sim.OnHostBytes(kRequest, n * 100);
        if (n % 5 == 0) {
            EXPECT_TRUE(frame.empty()) << n;
            continue;
        }
        ASSERT_EQ(frame.size(), 67u) << n;
        EXPECT_EQ(Sum(frame) != 0, n % 2 == 0) << n;
        EXPECT_EQ(Sum(sim.LastFrame()), 0u);  // the frame as meant is always good
    }
    EXPECT_EQ(sim.Stats().frames, 10u);
    EXPECT_EQ(sim.Stats().faults[static_cast<int>(SimFault::Silence)], 2u);
    EXPECT_EQ(sim.Stats().faults[static_cast<int>(SimFault::WrongChecksum)], 4u);  // 2, 4, 6, 8
}

TEST(EngineSimulatorTest, InjectedFaultsChangeTheNextFrameOnly) {
    EngineSimulator sim(TalkListen(false));
    sim.InjectOnce(SimFault::DroppedByte);
    const Bytes dropped = sim.OnHostBytes(kRequest, 0);
    ASSERT_EQ(dropped.size(), 66u);
    Bytes expected = sim.LastFrame();
    expected.erase(expected.begin() + 3 + 31);
    EXPECT_EQ(dropped, expected);

    sim.InjectOnce(SimFault::StrayBytes);
    const Bytes stray = sim.OnHostBytes(kRequest, 100);
    ASSERT_EQ(stray.size(), 69u);
    EXPECT_EQ(Slice(stray, 0, 2), (Bytes{0x00, 0xFF}));
    EXPECT_EQ(Slice(stray, 2, 67), sim.LastFrame());

    EXPECT_EQ(sim.OnHostBytes(kRequest, 200).size(), 67u);

    // A wrong checksum needs a checksum; without one the fault has nothing to change.
    SimulatorConfig plain = TalkListen(false);
    plain.checksum = false;
    EngineSimulator noSum(plain);
    noSum.InjectOnce(SimFault::WrongChecksum);
    EXPECT_EQ(noSum.OnHostBytes(kRequest, 0), noSum.LastFrame());
    EXPECT_EQ(noSum.Stats().faults[static_cast<int>(SimFault::WrongChecksum)], 0u);
}

TEST(EngineSimulatorTest, FaultNamesRoundTrip) {
    for (int k = 0; k < kSimFaultKinds; ++k) {
        const auto fault = static_cast<SimFault>(k);
        EXPECT_EQ(SimFaultFromName(SimFaultName(fault)), fault);
    }
    EXPECT_FALSE(SimFaultFromName("meltdown"));
}

TEST(EngineSimulatorTest, ConsecutiveFramesCarryTheFrameCounter) {
    EngineSimulator sim(TalkListen(false));
    for (int n = 0; n < 300; ++n) {
        sim.OnHostBytes(kRequest, n * 100);
        ASSERT_EQ(sim.LastData()[22], n % 256);
    }
}

TEST(EngineSimulatorTest, ReplaysADataLogLoopingAtItsEnd) {
    const auto path =
        std::filesystem::temp_directory_path() /
        ("vekaton_sim_replay_" + std::to_string(platform::CurrentProcessId()) + ".Dat");
    SimulatorConfig config = TalkListen(false);
    config.header = {0xF4, 0x92};
    config.dataBytes = 4;
    {
        DataLogWriter writer;
        ASSERT_FALSE(writer.Create(path, 100));
        // Records: 2 header bytes, 4 data bytes, a checksum byte that is recomputed anyway.
        ASSERT_FALSE(writer.AppendRecord(Bytes{0xAA, 0x01, 1, 2, 3, 4, 0x99}));
        ASSERT_FALSE(writer.AppendRecord(Bytes{0xAA, 0x02, 5, 6, 7, 8, 0x99}));
    }
    EngineSimulator sim(config);
    ASSERT_FALSE(sim.ReplayLog(path));
    const Bytes first = sim.OnHostBytes(kRequest, 0);
    EXPECT_EQ(Slice(first, 0, 6), (Bytes{0xAA, 0x01, 1, 2, 3, 4}));
    EXPECT_EQ(Sum(first), 0u);
    EXPECT_EQ(Slice(sim.OnHostBytes(kRequest, 1), 0, 6), (Bytes{0xAA, 0x02, 5, 6, 7, 8}));
    EXPECT_EQ(Slice(sim.OnHostBytes(kRequest, 2), 0, 6), (Bytes{0xAA, 0x01, 1, 2, 3, 4}));

    // A log without one whole record cannot be replayed; the engine model stays in charge.
    {
        DataLogWriter writer;
        ASSERT_FALSE(writer.Create(path, 100));
        ASSERT_FALSE(writer.AppendRecord(Bytes{1, 2, 3}));
    }
    EngineSimulator other(config);
    EXPECT_TRUE(other.ReplayLog(path));
    EXPECT_TRUE(other.ReplayLog(path.string() + ".missing"));
    EXPECT_EQ(other.OnHostBytes(kRequest, 0).size(), 7u);
    std::filesystem::remove(path);
}

TEST(EngineSimulatorTest, OutOfRangeConfigurationIsHeldToSaneLimits) {
    SimulatorConfig config;
    config.mode = SyncMode::ListenOnly;
    config.dataBytes = 100000;
    config.intervalMs = -5;
    config.faultEvery = {-1, -1, -1, -1};
    EngineSimulator sim(config);
    EXPECT_EQ(sim.Poll(0).size(), 3u + static_cast<std::size_t>(kMaxDataBytes) + 1u);
    EXPECT_EQ(sim.NextDueMs(), 1);
}

}  // namespace
}  // namespace vekaton
