// Live accumulation: the engine's frames from the simulated module, added one by one as they
// complete while they are recorded, give exactly what the analysis of the recorded log gives.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "analysis/AnalysisText.h"
#include "analysis/LogAnalysis.h"
#include "engine/SimulatorRig.h"
#include "log/DataLogFile.h"
#include "platform/Process.h"

namespace vekaton::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kDataBytes = 23;

// The simulated engine's layout: speed (4 and 5), manifold pressure, throttle, block learn and
// the closed-loop and running flags.
void DefineEngine(ParameterTable& table) {
    const auto analog = [&table](int position, const char* name, const char* formula) {
        table.At(position).Descriptions[0] = name;
        table.At(position).SetFormula(formula);
    };
    analog(1, "Coolant", "A*0.75-40");
    analog(3, "Throttle", "A/2.55");
    analog(4, "Engine speed", "A*256+B");
    table.At(4).ByteCount = 2;
    analog(6, "Manifold pressure", "A*0.4+10");
    analog(16, "Block learn", "A*1");
    table.At(18).IsDigital = true;
    table.At(18).Descriptions[0] = "Closed loop";
    table.At(18).Descriptions[3] = "Running";
}

AnalysisSetup BlockLearnTable() {
    AnalysisSetup setup;
    setup.kind = AnalysisKind::Table;
    setup.x = {4, -1};
    setup.y = {6, -1};
    setup.z = ValueRef{16, -1};
    setup.xEdges = BinEdges::FromList({600, 1000, 1500, 2000, 3000, 4000, 6000});
    setup.yEdges = BinEdges::FromList({20, 40, 60, 80, 100});
    setup.conditions = {*ParseCondition("18.3=1").condition, *ParseCondition("3>=15").condition};
    setup.settleSeconds = 1.5;
    return setup;
}

class LiveAccumulationTest : public ::testing::Test {
  protected:
    void TearDown() override { fs::remove(path_); }
    fs::path path_ =
        fs::temp_directory_path() /
        ("vekaton_live_analysis_" + std::to_string(platform::CurrentProcessId()) + ".Dat");
};

TEST_F(LiveAccumulationTest, LiveFramesGiveWhatTheirLogGives) {
    SimulatorConfig module;
    module.echo = true;
    module.dataBytes = kDataBytes;
    module.faultEvery[static_cast<int>(SimFault::WrongChecksum)] = 13;
    SimRig rig(module);
    DefineEngine(rig.table);
    LinkSettings settings =
        EngineRig::Settings(SyncMode::TalkListen, "$F4 $57 $01 $00 $B4", 3, kDataBytes, true, true);
    settings.sampleRate = 200;

    AccumulatorOptions options;
    options.keepCellFrames = true;
    const AnalysisSetup setup = BlockLearnTable();
    FrameAccumulator live(setup, *setup.xEdges, setup.yEdges, options);
    bool inLog = false;
    std::int64_t frame = 0;
    std::vector<FrameOutcome> outcomes;
    rig.view.onFrame = [&](const FrameSummary& summary) {
        if (inLog) {
            const auto timeUs = std::llround(summary.chartTime * 1e6);
            outcomes.push_back(live.Add(rig.decoder, summary.checksumGood, timeUs, frame++));
        }
        inLog = rig.engine.Recording();
    };
    rig.Start(settings);
    rig.RunFor(1000);
    ASSERT_FALSE(rig.engine.StartRecording(path_));
    inLog = true;
    rig.RunFor(60000);
    rig.engine.StopRecording();
    rig.RunFor(1000);
    ASSERT_FALSE(rig.engine.Recording());

    DataLogFile log;
    ASSERT_FALSE(log.Open(path_, RecordLayout::From(settings).Size()));
    ParameterTable table;
    DefineEngine(table);
    LogAnalysis analysis(log, RecordLayout::From(settings), table, nullptr, setup, options);
    ASSERT_TRUE(analysis.Run());
    const FrameAccumulator& fromLog = *analysis.Result();

    // Every kind of frame occurred, so the comparison means something.
    const FrameTally& tally = live.Tally();
    EXPECT_EQ(tally.read, log.RecordCount());
    EXPECT_GT(tally.used, 50);
    EXPECT_GT(tally.badChecksum, 5);
    EXPECT_GT(tally.filtered, 5);
    EXPECT_GT(tally.settling, 5);
    EXPECT_EQ(tally, fromLog.Tally());
    ASSERT_EQ(live.Grid().CellCount(), fromLog.Grid().CellCount());
    for (int cell = 0; cell < live.Grid().CellCount(); ++cell) {
        EXPECT_EQ(live.Grid().Cell(cell), fromLog.Grid().Cell(cell)) << "cell " << cell;
        EXPECT_EQ(live.Frames()->Of(cell), fromLog.Frames()->Of(cell)) << "cell " << cell;
    }
    EXPECT_EQ(CellTableText(live), CellTableText(fromLog));
    // The outcome of each frame names the cell it counted in.
    for (std::size_t f = 0; f < outcomes.size(); ++f) {
        if (outcomes[f].fate == FrameFate::Used) {
            const auto& frames = live.Frames()->Of(outcomes[f].cell);
            EXPECT_TRUE(
                std::binary_search(frames.begin(), frames.end(), static_cast<std::int64_t>(f)));
        }
    }
}

TEST_F(LiveAccumulationTest, ResetStartsAfresh) {
    AnalysisSetup setup = BlockLearnTable();
    setup.conditions.clear();
    setup.settleSeconds = 0.5;
    FrameAccumulator live(setup, *setup.xEdges, setup.yEdges);
    ParameterTable table;
    DefineEngine(table);
    FormulaFrontEnd formulas;
    Decoder decoder(table, formulas);
    std::vector<std::uint8_t> record(3 + kDataBytes + 1);
    record[3 + 3] = 0x04;  // 1024 rpm
    record[3 + 5] = 100;   // 50 kPa
    const RecordLayout layout{3, kDataBytes, false};
    FeedRecordBytes(decoder, record, layout);
    EXPECT_EQ(live.Add(decoder, true, 0, 0).fate, FrameFate::Settling);
    EXPECT_EQ(live.Add(decoder, true, 500000, 1).fate, FrameFate::Used);
    EXPECT_EQ(live.Tally().used, 1);
    live.Reset();
    EXPECT_EQ(live.Tally(), FrameTally{});
    EXPECT_EQ(live.Grid().Total(), 0);
    // The settling run starts again too.
    EXPECT_EQ(live.Add(decoder, true, 600000, 2).fate, FrameFate::Settling);
    const FrameOutcome outcome = live.Add(decoder, true, 1100000, 3);
    EXPECT_EQ(outcome.fate, FrameFate::Used);
    EXPECT_EQ(outcome.cell, 1 * 6 + 1);  // 1000 to 1500 rpm, 40 to 60 kPa
}

}  // namespace
}  // namespace vekaton::testing
