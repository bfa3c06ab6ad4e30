// Live accumulation: what adding one decoded frame to a cell table, a histogram or a scatter
// costs on top of decoding it (target: well under 5 us a frame).
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

#include "analysis/FrameAccumulator.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "log/RecordPlayback.h"

namespace {

using namespace vekaton;

void Define(ParameterTable& table) {
    const auto analog = [&table](int position, const char* name, const char* formula) {
        table.At(position).Descriptions[0] = name;
        table.At(position).SetFormula(formula);
    };
    analog(1, "Coolant", "A*0.75-40");
    analog(4, "Engine speed", "A*256+B");
    table.At(4).ByteCount = 2;
    analog(6, "Manifold pressure", "A*0.4+10");
    analog(9, "Spark advance", "A/2-10");
    analog(16, "Block learn", "A*1");
    table.At(18).IsDigital = true;
    table.At(18).Descriptions[0] = "Closed loop";
}

AnalysisSetup Setup(AnalysisKind kind) {
    AnalysisSetup setup;
    setup.kind = kind;
    setup.x = {4, -1};
    setup.y = ValueRef{6, -1};
    setup.z = ValueRef{16, -1};
    setup.conditions = {*ParseCondition("18.0=1").condition, *ParseCondition("1>=70").condition};
    setup.settleSeconds = 1;
    return setup;
}

// Frames of changing values, decoded beforehand into tables so that the loop times the
// accumulation alone; the decoder reads whichever table the frame's values are in.
void BM_LiveAccumulate(benchmark::State& state) {
    const auto kind = static_cast<AnalysisKind>(state.range(0));
    constexpr int kFrames = 64;
    std::vector<ParameterTable> tables(kFrames);  // too large for the stack
    std::vector<std::unique_ptr<FormulaFrontEnd>> formulas;
    std::vector<std::unique_ptr<Decoder>> decoders;
    const RecordLayout layout{3, 23, false};
    for (int f = 0; f < kFrames; ++f) {
        ParameterTable& table = tables[static_cast<std::size_t>(f)];
        Define(table);
        formulas.push_back(std::make_unique<FormulaFrontEnd>());
        decoders.push_back(std::make_unique<Decoder>(table, *formulas.back()));
        std::vector<std::uint8_t> record(layout.Size());
        const double t = f * 0.37;
        record[3 + 0] = static_cast<std::uint8_t>(180 + 5 * std::sin(t));
        const auto rpm = static_cast<int>(2500 + 2000 * std::sin(t * 1.3));
        record[3 + 3] = static_cast<std::uint8_t>(rpm >> 8);
        record[3 + 4] = static_cast<std::uint8_t>(rpm & 0xFF);
        record[3 + 5] = static_cast<std::uint8_t>(120 + 100 * std::cos(t));
        record[3 + 15] = static_cast<std::uint8_t>(128 + 10 * std::sin(t * 3));
        record[3 + 17] = f % 32 == 0 ? 0 : 1;
        FeedRecordBytes(*decoders.back(), record, layout);
    }
    AnalysisSetup setup = Setup(kind);
    AccumulatorOptions options;
    options.pointCapacity = 20000;
    options.keepCellFrames = kind == AnalysisKind::Table;
    FrameAccumulator live(setup, *BinEdges::Equal(0, 6000, 24), BinEdges::Equal(10, 110, 20),
                          options);
    std::int64_t frame = 0;
    for (auto _ : state) {
        const Decoder& decoder = *decoders[static_cast<std::size_t>(frame % kFrames)];
        benchmark::DoNotOptimize(live.Add(decoder, frame % 31 != 0, frame * 110000, frame));
        ++frame;
    }
    state.counters["used_share"] =
        static_cast<double>(live.Tally().used) / static_cast<double>(live.Tally().read);
}
BENCHMARK(BM_LiveAccumulate)
    ->Arg(static_cast<int>(AnalysisKind::Table))
    ->Arg(static_cast<int>(AnalysisKind::Histogram))
    ->Arg(static_cast<int>(AnalysisKind::Scatter))
    ->ArgName("kind");

}  // namespace

BENCHMARK_MAIN();
