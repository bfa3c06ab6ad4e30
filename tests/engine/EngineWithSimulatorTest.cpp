#include <gtest/gtest.h>

#include <cmath>

#include "engine/EngineTestRig.h"
#include "engine/SimulatorRig.h"
#include "sim/EngineModel.h"
#include "sim/EngineSimulator.h"

namespace vekaton::testing {
namespace {

LinkSettings TalkListenSettings() {
    LinkSettings s =
        EngineRig::Settings(SyncMode::TalkListen, "$F4 $57 $01 $00 $B4", 3, 63, true, true);
    s.sampleRate = 100;
    return s;
}

SimulatorConfig TalkListenModule() {
    SimulatorConfig config;
    config.echo = true;
    config.seed = 42;
    return config;
}

TEST(EngineWithSimulatorTest, TalkListenFramesArriveWholeAndDecodeToTheModulesValues) {
    SimRig rig(TalkListenModule());
    // Part of the documented layout, with its formulas.
    rig.table.At(1).SetFormula("A*0.75-40");
    rig.table.At(4).ByteCount = 2;
    rig.table.At(4).SetFormula("A*256+B");
    rig.table.At(8).SetFormula("A/10");
    rig.table.At(18).IsDigital = true;

    rig.Start(TalkListenSettings());
    rig.RunFor(5000);
    EXPECT_GE(rig.CompletedFrames(), 45);
    EXPECT_EQ(rig.view.BadFrames(), 0);
    EXPECT_EQ(rig.view.checksumLabelShows, 0);
    EXPECT_TRUE(rig.DataMatchesLastFrame());

    const auto data = rig.sim.LastData();
    EXPECT_DOUBLE_EQ(rig.table.At(1).Value, data[0] * 0.75 - 40);
    EXPECT_DOUBLE_EQ(rig.table.At(5).Value, data[3] * 256 + data[4]);
    EXPECT_DOUBLE_EQ(rig.table.At(4).Value, data[3]);  // the first byte shows raw
    EXPECT_DOUBLE_EQ(rig.table.At(8).Value, data[7] / 10.0);
    EXPECT_TRUE(rig.table.At(18).Bits[3]);  // engine running
    const double rpm = rig.table.At(5).Value;
    EXPECT_GT(rpm, 600);
    EXPECT_LT(rpm, 6500);
}

TEST(EngineWithSimulatorTest, TalkListenFaultsAreSeenForWhatTheyAre) {
    SimulatorConfig config = TalkListenModule();
    config.faultEvery[static_cast<int>(SimFault::WrongChecksum)] = 4;
    SimRig bad(config);
    bad.Start(TalkListenSettings());
    bad.RunFor(4000);
    const auto badSums = bad.sim.Stats().faults[static_cast<int>(SimFault::WrongChecksum)];
    EXPECT_GT(badSums, 5u);
    EXPECT_EQ(static_cast<std::uint64_t>(bad.view.BadFrames()), badSums);

    // A dropped byte or a silent module leaves a frame unfinished: it is simply missing.
    config = TalkListenModule();
    config.faultEvery[static_cast<int>(SimFault::DroppedByte)] = 5;
    config.faultEvery[static_cast<int>(SimFault::Silence)] = 7;
    SimRig gaps(config);
    gaps.Start(TalkListenSettings());
    gaps.RunFor(4000);
    const auto& stats = gaps.sim.Stats();
    const auto lost = stats.faults[static_cast<int>(SimFault::DroppedByte)] +
                      stats.faults[static_cast<int>(SimFault::Silence)];
    EXPECT_GT(lost, 5u);
    EXPECT_EQ(static_cast<std::uint64_t>(gaps.CompletedFrames()), stats.frames - lost);
    EXPECT_EQ(gaps.view.BadFrames(), 0);

    // Line noise before the answer shifts the frame: its end comes early and fails the test.
    config = TalkListenModule();
    config.faultEvery[static_cast<int>(SimFault::StrayBytes)] = 3;
    SimRig noise(config);
    noise.Start(TalkListenSettings());
    noise.RunFor(3000);
    EXPECT_EQ(static_cast<std::uint64_t>(noise.view.BadFrames()),
              noise.sim.Stats().faults[static_cast<int>(SimFault::StrayBytes)]);
}

SimulatorConfig ListenOnlyModule() {
    SimulatorConfig config;
    config.mode = SyncMode::ListenOnly;
    config.header = {0xF0, 0x95};
    config.dataBytes = 30;
    config.intervalMs = 100;
    return config;
}

LinkSettings ListenOnlySettings() {
    LinkSettings s = EngineRig::Settings(SyncMode::ListenOnly, "", 2, 30, true, false);
    s.syncTime = 40;
    return s;
}

TEST(EngineWithSimulatorTest, ListenOnlyBurstsAreFramesAndFaultyOnesSyncErrors) {
    SimRig clean(ListenOnlyModule());
    clean.Start(ListenOnlySettings());
    clean.RunFor(3000);
    EXPECT_GE(clean.CompletedFrames(), 29);
    EXPECT_EQ(clean.engine.SyncErrorCount(), 0);
    EXPECT_EQ(clean.view.BadFrames(), 0);
    EXPECT_TRUE(clean.DataMatchesLastFrame());

    SimulatorConfig config = ListenOnlyModule();
    config.faultEvery[static_cast<int>(SimFault::DroppedByte)] = 4;
    config.faultEvery[static_cast<int>(SimFault::StrayBytes)] = 9;  // never on the same frame
    SimRig faulty(config);
    faulty.Start(ListenOnlySettings());
    faulty.RunFor(3000);
    const auto& stats = faulty.sim.Stats();
    const auto wrongLength = stats.faults[static_cast<int>(SimFault::DroppedByte)] +
                             stats.faults[static_cast<int>(SimFault::StrayBytes)];
    EXPECT_GT(wrongLength, 8u);
    EXPECT_EQ(static_cast<std::uint64_t>(faulty.engine.SyncErrorCount()), wrongLength);
    // A burst with stray bytes in front still reaches the expected count, too early.
    EXPECT_EQ(static_cast<std::uint64_t>(faulty.view.BadFrames()),
              stats.faults[static_cast<int>(SimFault::StrayBytes)]);
}

TEST(EngineWithSimulatorTest, Aldl160PacketsDecodeAtPositionsOneToDataBytes) {
    SimulatorConfig config;
    config.mode = SyncMode::Aldl160;
    config.request = {0x0A, 0x0D, 0x2A};
    config.dataBytes = 40;
    config.checksum = false;
    config.intervalMs = 50;
    SimRig rig(config);
    rig.Start(EngineRig::Settings(SyncMode::Aldl160, "$0A $0D $2A", 3, 40, false, false));
    rig.RunFor(2000);
    EXPECT_GE(rig.CompletedFrames(), 39);
    EXPECT_TRUE(rig.DataMatchesLastFrame());
    EXPECT_EQ(rig.view.packets.back().first, 40);
}

}  // namespace
}  // namespace vekaton::testing
